// Typed addresses (the address change, the standard address, the stored setting): any text
// must give an address a frame can carry, never a sign, a point or a blank.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "link/address.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);

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
    return 0;
}
