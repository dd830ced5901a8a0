// Time as the core sees it. Device sequences never call the system clock directly, so tests
// run them in virtual time: a silent device's 20 s of limits cost microseconds.
#pragma once

#include <chrono>

namespace kalvo {

using Millis = std::chrono::milliseconds;
using TimePoint = std::chrono::steady_clock::time_point;

class Clock {
  public:
    virtual ~Clock() = default;
    virtual TimePoint now() const = 0;
    // Blocks until t (returns at once when t has passed). Never spins.
    virtual void sleepUntil(TimePoint t) = 0;
    void sleepFor(Millis d) { sleepUntil(now() + d); }
};

// The real clock: steady_clock and the operating system's sleep.
class SystemClock final : public Clock {
  public:
    TimePoint now() const override;
    void sleepUntil(TimePoint t) override;
};

}  // namespace kalvo
