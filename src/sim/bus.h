// Several simulated units on one line, as on an RS-485 bus: every unit hears every byte and
// only the unit addressed answers; an address no unit has gets no answer at all.
#pragma once

#include <string>
#include <vector>

#include "sim/transducer.h"

namespace kalvo::sim {

class Bus final : public LineEnd {
  public:
    // One unit per address, each with `options` otherwise.
    Bus(const Options& options, const std::vector<std::string>& addresses);

    void receive(std::string_view bytes, TimePoint now) override;
    std::optional<TimePoint> nextOutputAt() const override;
    std::string takeOutput(TimePoint now) override;

    std::vector<Transducer>& units() { return units_; }
    // Every frame on the line (each unit hears them all).
    const std::vector<ReceivedFrame>& frames() const { return units_.front().frames(); }

  private:
    std::vector<Transducer> units_;
};

}  // namespace kalvo::sim
