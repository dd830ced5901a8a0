// A scripted serial port and an in-memory settings store for tests, in virtual time.
#pragma once

#include <atomic>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/clock.h"
#include "platform/serial_port.h"
#include "platform/settings_store.h"
#include "support/virtual_clock.h"

namespace kalvo::test {

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
    // When set, waits run in slices of kCancelSlice and end with Cancelled once it is true, as
    // the real ports do.
    const std::atomic<bool>* cancel = nullptr;
    static constexpr Millis kCancelSlice{50};

  private:
    bool brokenNow() const;
    FakeClock& clock_;
    bool open_ = false;
    std::deque<std::pair<TimePoint, char>> incoming_;
    std::vector<Write> writes_;
    TimePoint breakAt_ = TimePoint::max();
};

// Settings kept in memory: what a test stores is what the next reader sees.
class MemorySettings final : public SettingsStore {
  public:
    std::optional<std::string> get(std::string_view key) const override {
        const auto it = values.find(std::string(key));
        if (it == values.end()) return std::nullopt;
        return it->second;
    }
    void set(std::string_view key, std::string_view value) override {
        values[std::string(key)] = std::string(value);
    }
    std::map<std::string, std::string> values;
};

}  // namespace kalvo::test
