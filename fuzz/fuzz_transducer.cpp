// The simulated transducer's frame parser on arbitrary line bytes: whatever arrives, in
// whatever pieces, it must neither crash nor answer out of order, and its output must drain.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "sim/transducer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    kalvo::sim::Options options;
    options.wireTime = (data[0] & 1) != 0;
    options.garbleEcho = (data[0] & 2) != 0;
    options.fresh = (data[0] & 4) != 0;  // erased copies instead of the demo configuration
    kalvo::sim::Transducer device(options);
    const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    kalvo::TimePoint now{};
    // Feed in pieces whose lengths come from the input itself.
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        const std::size_t piece = 1 + static_cast<unsigned char>(bytes[pos]) % 17;
        device.receive(bytes.substr(pos, piece), now);
        pos += piece;
        now += std::chrono::milliseconds(3);
        (void)device.takeOutput(now);
    }
    // Everything queued becomes due eventually, in time order.
    kalvo::TimePoint last{};
    while (auto next = device.nextOutputAt()) {
        if (*next < last) std::abort();
        last = *next;
        if (device.takeOutput(*next).empty()) std::abort();
    }
    return 0;
}
