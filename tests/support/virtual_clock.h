// Virtual time: a clock that moves only when someone sleeps on it or a port waits on it, so a
// silent device's 20 s of time limits cost microseconds. Header-only, for tests and benchmarks.
#pragma once

#include <functional>

#include "platform/clock.h"

namespace kalvo::test {

class FakeClock final : public Clock {
  public:
    TimePoint now() const override { return now_; }
    void sleepUntil(TimePoint t) override {
        if (onSleep) onSleep(t);
        if (t > now_) now_ = t;
    }
    void advance(Millis d) { now_ += d; }
    // Milliseconds since the clock was created.
    long long elapsedMs() const {
        return std::chrono::duration_cast<Millis>(now_ - TimePoint{}).count();
    }
    double seconds() const { return std::chrono::duration<double>(now_ - TimePoint{}).count(); }

    // Called before every sleep with its end (tests use it to act at a point in virtual time).
    std::function<void(TimePoint until)> onSleep;

  private:
    TimePoint now_{};
};

}  // namespace kalvo::test
