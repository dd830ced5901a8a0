// The parameter dialog's checks run on project files from anywhere (kalvo-cli check, and
// kalvo-cli program before it sends): whatever a file holds, every page fills, stores and
// checks without failing, and each fault has its line. The same bytes as typed or pasted text
// go through the key filters.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "config/default_range.h"
#include "config/key_filter.h"
#include "config/param_flow.h"
#include "config/record.h"
#include "files/project_file.h"

namespace {

void checkFilters(std::string_view text) {
    for (const kalvo::KeyFilter filter : {kalvo::KeyFilter::Signed, kalvo::KeyFilter::Unsigned}) {
        // Whatever passes whole passes in every prefix, and parses as a number or is empty,
        // a lone minus or a lone separator.
        if (!kalvo::passesKeyByKey(filter, text)) continue;
        for (std::size_t n = 0; n < text.size(); ++n) {
            if (!kalvo::passesKeyByKey(filter, text.substr(0, n))) std::abort();
        }
        const double v = kalvo::fieldValue(text);
        if (filter == kalvo::KeyFilter::Unsigned && v < 0) std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    checkFilters(bytes.substr(0, 64));

    const kalvo::Decoded decoded = kalvo::decodeProject(bytes, kalvo::startRecord());
    if (decoded.error != kalvo::FileError::None) return 0;
    const kalvo::Record& r = decoded.record;

    const auto faults = kalvo::checkRecord(r, ',');
    const auto lines = kalvo::faultLines(r, kalvo::Language::English, '.');
    if (faults.size() != lines.size()) std::abort();
    for (const auto& f : faults) {
        if (f.stop < 1 || f.stop > 6 || f.page < 0 || f.page >= kalvo::pageCount(r)) std::abort();
    }
    // Leaving every page in turn, as the dialog does, never fails either.
    kalvo::Record copy = r;
    kalvo::DialogFlags flags;
    const kalvo::BasicPage basic = kalvo::P_in_index(copy, ',');
    for (int i = 0; i < kalvo::pageCount(copy); ++i) {
        auto page = kalvo::pageContent(copy, i, ',');
        if (!page) std::abort();
        kalvo::leavePage(copy, flags, i, basic, *page, ',');
    }
    for (int q = -1; q <= 10; ++q) {
        for (int place = -1; place <= 7; ++place) {
            kalvo::Vorgabebereich(r, q, place, kalvo::RangeMode::Binary);
        }
    }
    return 0;
}
