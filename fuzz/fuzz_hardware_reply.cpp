// The hardware query's reply parser on arbitrary bytes: it must never read outside the text,
// and whatever it accepts must be a real TXR 3.0 variant.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "link/hardware.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const kalvo::HardwareParse r = kalvo::parseHardwareReply(text);
    if (r.info) {
        const kalvo::HardwareInfo& hw = *r.info;
        if (hw.analog < 1 || hw.analog > 4 || hw.binary < 1 || hw.binary > 13 ||
            !(hw.voltage > 0) || !(hw.current > 0) || !r.reason.empty())
            std::abort();
    } else if (r.reason.empty()) {
        std::abort();
    }
    return 0;
}
