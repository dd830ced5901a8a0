// A simulated TXR 3.0 as a byte-in, byte-out model. It knows nothing of ports or threads:
// bytes arrive with a time stamp, and output becomes due at a time.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/clock.h"

namespace kalvo::sim {

struct Options {
    int analog = 2;  // variant 2A/5D, class 120 V / 1.2 A by default
    int binary = 5;
    double voltage = 120;
    double current = 1.2;
    std::string address = "0";  // frames for another address get no reply
    bool silent = false;        // answers nothing at all
    bool garbleEcho = false;    // echoes with one character changed
    Millis replyDelay{0};       // extra delay before each reply starts
    bool wireTime = false;      // 19200 baud 8N2: 11 bits per character both ways
};

// 11 bits at 19200 baud.
inline constexpr std::chrono::nanoseconds kCharTime{11 * 1'000'000'000LL / 19200};

struct ReceivedFrame {
    TimePoint at;
    std::string text;  // Windows-1252 bytes without the LF CR terminator
};

class Transducer {
public:
    explicit Transducer(Options options);

    // Bytes from the line, all arrived by `now`.
    void receive(std::string_view bytes, TimePoint now);
    // When the next output byte is due; nullopt when nothing is queued.
    std::optional<TimePoint> nextOutputAt() const;
    // Every output byte due at or before `now`.
    std::string takeOutput(TimePoint now);

    const std::vector<ReceivedFrame>& frames() const { return frames_; }
    const Options& options() const { return options_; }
    Options& options() { return options_; }

    // The stored data copy as the "-D1" .. "-D3" replies return it (without the echo).
    const std::string& storedData(int n) const { return stored_[n - 1]; }
    // The text answered to "-*?" (CR/LF/TAB included as the device sends them).
    std::string hardwareReply() const;

private:
    void handleFrame(const std::string& frame, TimePoint at);
    void queueReply(std::string bytes, TimePoint at);

    Options options_;
    std::string line_;  // bytes of the frame being received
    std::vector<ReceivedFrame> frames_;
    std::deque<std::pair<TimePoint, char>> out_;
    std::string stored_[3];
};

}  // namespace kalvo::sim
