// The three data replies of a read-back, from arbitrary bytes: the input is split at its
// first two LF bytes into the "-D1", "-D2" and "-D3" replies (a reply never holds an LF).
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "config/record.h"
#include "device/readback.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view in(reinterpret_cast<const char*>(data), size);
    std::string_view parts[3];
    for (int i = 0; i < 2; ++i) {
        const std::size_t lf = in.find('\n');
        if (lf == std::string_view::npos) {
            parts[i] = in;
            in = {};
        } else {
            parts[i] = in.substr(0, lf);
            in.remove_prefix(lf + 1);
        }
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
