// Time as the core sees it. Device sequences never call the system clock directly, so tests
// run them in virtual time: a silent device's 20 s of limits cost microseconds.
#pragma once

#include <chrono>
#include <ctime>
#include <string>

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

// The calendar time, for time stamps in files a person reads. Device sequences measure with a
// Clock; a record of one takes the wall time once and counts on with its Clock, so its stamps
// run in step with the sequence (and in virtual time under test).
using WallTime = std::chrono::system_clock::time_point;

class WallClock {
  public:
    virtual ~WallClock() = default;
    virtual WallTime now() const = 0;
};

class SystemWallClock final : public WallClock {
  public:
    WallTime now() const override;
};

// "2024-05-02T09:41:07.250Z": UTC in ISO 8601 with milliseconds.
std::string isoTimestamp(WallTime t);

// The calendar fields of the local time now, for names and stamps shown in local time.
std::tm localTimeNow();

}  // namespace kalvo
