// Number texts come from project files, the device copy and typed input: the parsers must
// take any bytes, and what formatNumber writes must read back to the same number. The same
// bytes as typed or pasted text go through the key filters, and as typed addresses (the
// address change, the standard address, the stored setting) they must give an address a
// frame can carry, never a sign, a point or a blank. As a port's name (--port, the settings,
// the network window) they name a gateway whose name reads back the same, or give a message
// that reads back in German.
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
#include "link/address.h"
#include "link/port_name.h"

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

void checkAddress(std::string_view text) {
    const auto checked = kalvo::checkedAddress(text);
    if (checked && (*checked < 0 || *checked > kalvo::kHighestAddress)) std::abort();
    if (checked && *checked > 0 && *checked < kalvo::kLowestAddress) std::abort();

    const auto change = kalvo::addressChangeFor(text, text, false);
    if (change.has_value() != checked.has_value()) std::abort();
    if (change) {
        const std::string n = std::to_string(*checked);
        if (kalvo::addressChangeFrame(*change) != "-" + n + "-*" + n) std::abort();
    }

    const auto standard = kalvo::standardAddress(text);
    if (standard.has_value() != checked.has_value()) std::abort();
    if (standard) {
        if (standard->empty() || standard->find_first_not_of("0123456789") != std::string::npos)
            std::abort();
        if (standard->size() > 1 && (*standard)[0] == '0') std::abort();
    }
}

void checkPortName(std::string_view text) {
    for (const std::string& name : {std::string(text), "tcp://" + std::string(text)}) {
        const kalvo::ParsedPortName parsed = kalvo::parseNetworkPortName(name);
        if (parsed.network.has_value() != (parsed.fault == kalvo::PortNameFault::None))
            std::abort();
        if (parsed.network) {
            if (parsed.network->port < 1 || parsed.network->port > 65535) std::abort();
            if (kalvo::parseNetworkPortName(parsed.network->name()).network != parsed.network)
                std::abort();
        } else {
            const kalvo::Wording message = kalvo::portNameFaultMessage(parsed, name);
            if (kalvo::portErrorIn(message.english, kalvo::Language::German) != message.german)
                std::abort();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    checkFilters(text.substr(0, 64));
    checkAddress(text);
    checkPortName(text);

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
