// Virtual time and a scripted serial port for core tests.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/clock.h"
#include "platform/serial_port.h"

namespace kalvo::test {

// A clock that only moves when someone sleeps on it or a port waits on it.
class FakeClock final : public Clock {
  public:
    TimePoint now() const override { return now_; }
    void sleepUntil(TimePoint t) override {
        if (t > now_) now_ = t;
    }
    void advance(Millis d) { now_ += d; }
    // Milliseconds since the clock was created.
    long long elapsedMs() const {
        return std::chrono::duration_cast<Millis>(now_ - TimePoint{}).count();
    }

  private:
    TimePoint now_{};
};

// A port whose incoming bytes are scheduled in virtual time. Waiting advances the fake
// clock to the arrival of the next byte or to the deadline, so nothing ever really sleeps.
class ScriptedPort final : public SerialPort {
  public:
    explicit ScriptedPort(FakeClock& clock) : clock_(clock) {}

    struct Write {
        long long atMs;  // virtual time of the write
        std::string bytes;
    };

    // Called on every write; may schedule replies with deliver().
    std::function<void(ScriptedPort&, std::string_view bytes)> onWrite;

    // Bytes that arrive `after` from now.
    void deliver(std::string_view bytes, Millis after = Millis{0});
    // The port vanishes `after` from now (reads and waits report Broken from then on).
    void breakAfter(Millis after);

    bool open() override;
    bool isOpen() const override { return open_; }
    void close() override { open_ = false; }
    bool write(std::string_view bytes) override;
    std::string readAvailable() override;
    WaitResult waitForData(TimePoint deadline) override;

    const std::vector<Write>& writes() const { return writes_; }
    // Everything written, concatenated.
    std::string written() const;
    // The frames written, split at each LF CR terminator (terminator removed).
    std::vector<std::string> frames() const;

    bool failOpen = false;
    int openCount = 0;

  private:
    bool brokenNow() const;
    FakeClock& clock_;
    bool open_ = false;
    std::deque<std::pair<TimePoint, char>> incoming_;
    std::vector<Write> writes_;
    TimePoint breakAt_ = TimePoint::max();
};

}  // namespace kalvo::test
