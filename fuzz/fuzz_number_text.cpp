// Number texts come from project files, the device copy and typed input: the parsers must
// take any bytes, and what formatNumber writes must read back to the same number. The same
// bytes as typed or pasted text go through the key filters.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "config/cell.h"
#include "config/key_filter.h"
#include "config/number_text.h"
#include "config/pages.h"

namespace {

void checkFormat(double value) {
    for (const char decimal : {'.', ','}) {
        const std::string text = kalvo::formatNumber(value, decimal);
        if (text.find_first_of("eE") != std::string::npos) std::abort();
        const auto back = kalvo::parseNumber(text);
        if (!back) std::abort();
        if (!std::isfinite(value)) {
            if (*back != 0) std::abort();
            continue;
        }
        // 15 significant digits: within 1e-14 of the value, relative.
        if (std::fabs(*back - value) > std::fabs(value) * 1e-14) std::abort();
        if (kalvo::Cell(value).toText(decimal) != text) std::abort();
        if (!kalvo::Cell(text).equals(*back)) std::abort();
    }
}

void checkFilters(std::string_view text) {
    for (const kalvo::KeyFilter filter : {kalvo::KeyFilter::Signed, kalvo::KeyFilter::Unsigned}) {
        // Whatever passes whole passes in every prefix, and an unsigned field never reads
        // negative.
        if (!kalvo::passesKeyByKey(filter, text)) continue;
        for (std::size_t n = 0; n < text.size(); ++n) {
            if (!kalvo::passesKeyByKey(filter, text.substr(0, n))) std::abort();
        }
        if (filter == kalvo::KeyFilter::Unsigned && kalvo::fieldValue(text) < 0) std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    checkFilters(text.substr(0, 64));

    const double leading = kalvo::leadingNumber(text);
    if (std::isnan(leading)) std::abort();
    const auto parsed = kalvo::parseNumber(text);
    if (parsed && std::isnan(*parsed)) std::abort();

    const kalvo::Cell cell{std::string(text)};
    if (cell.toText(',') != text) std::abort();
    if (cell.toNumber() != parsed.value_or(0)) std::abort();

    checkFormat(leading);
    if (parsed) checkFormat(*parsed);
    if (size >= sizeof(double)) {
        double raw = 0;
        std::memcpy(&raw, data, sizeof raw);
        checkFormat(raw);
    }
    return 0;
}
