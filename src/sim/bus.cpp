#include "sim/bus.h"

namespace kalvo::sim {

Bus::Bus(const Options& options, const std::vector<std::string>& addresses) {
    units_.reserve(addresses.size());
    for (const std::string& address : addresses) {
        Options o = options;
        o.address = address;
        units_.emplace_back(o);
    }
    if (units_.empty()) units_.emplace_back(options);
}

void Bus::receive(std::string_view bytes, TimePoint now) {
    for (Transducer& unit : units_) unit.receive(bytes, now);
}

std::optional<TimePoint> Bus::nextOutputAt() const {
    std::optional<TimePoint> next;
    for (const Transducer& unit : units_) {
        const auto at = unit.nextOutputAt();
        if (at && (!next || *at < *next)) next = at;
    }
    return next;
}

std::string Bus::takeOutput(TimePoint now) {
    // Only the unit addressed talks, so the replies do not overlap; should two talk at once,
    // the earlier one's bytes come first.
    std::string bytes;
    for (auto next = nextOutputAt(); next && *next <= now; next = nextOutputAt()) {
        for (Transducer& unit : units_) {
            if (unit.nextOutputAt() == next) {
                bytes += unit.takeOutput(now);
                break;
            }
        }
    }
    return bytes;
}

}  // namespace kalvo::sim
