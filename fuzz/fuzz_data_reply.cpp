// The device's replies from arbitrary bytes. The hardware query's reply parser takes the whole
// input: it must never read outside the text, and whatever it accepts must be a real TXR 3.0
// variant. For the three data replies of a read-back the input is split at its first two LF
// bytes into the "-D1", "-D2" and "-D3" replies (a reply never holds an LF).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "config/record.h"
#include "device/readback.h"
#include "link/hardware.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view in(reinterpret_cast<const char*>(data), size);
    const kalvo::HardwareParse hw = kalvo::parseHardwareReply(in);
    if (hw.info) {
        const kalvo::HardwareInfo& i = *hw.info;
        if (i.analog < 1 || i.analog > 4 || i.binary < 1 || i.binary > 13 || !(i.voltage > 0) ||
            !(i.current > 0) || !hw.reason.empty())
            std::abort();
    } else if (hw.reason.empty()) {
        std::abort();
    }

    std::string_view parts[3];
    for (int i = 0; i < 2; ++i) {
        const std::size_t lf = std::min(in.find('\n'), in.size());
        parts[i] = in.substr(0, lf);
        in.remove_prefix(std::min(lf + 1, in.size()));
    }
    parts[2] = in;

    (void)kalvo::neverProgrammed(parts[0]);
    const kalvo::Record base{};
    const kalvo::ReadBackResult r = kalvo::parseDataReplies(base, parts[0], parts[1], parts[2]);
    if (r.outcome == kalvo::Outcome::Ok) {
        // A record accepted from the device has counts the tables can hold.
        if (r.record.Anzahl_Analog < 1 || r.record.Anzahl_Analog > kalvo::kAnalogRows - 1 ||
            r.record.Anzahl_Binaer < 1 || r.record.Anzahl_Binaer > kalvo::kBinaryRows) {
            __builtin_trap();
        }
    }
    return 0;
}
