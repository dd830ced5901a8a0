// A simulated TXR 3.0 as a byte-in, byte-out model. It knows nothing of ports or threads:
// bytes arrive with a time stamp, and output becomes due at a time.
//
// What it answers (A = its address, every reply line ends with CR):
//   any frame "-A<command>"    its own text back (the echo)
//   "-A-D1," "-A-D2," ...      echo; the text after the comma is stored as data copy 1..3
//                              (with Options::badCopy copy 1 with its last digit flipped)
//   "-A-D1" "-A-D2" "-A-D3"    "-A-Dn," + the stored copy: the last one written, else the
//                              demo configuration the unit starts with; a fresh unit's
//                              copy (never written) is "-A-Dn," followed by 0xFF bytes
//   "-A-*?"                    echo, then the hardware description (hardwareReply())
//   "-A-*N"                    echo, then the unit answers to address N from then on
//   "-A-r"                     one measured-value line per request (no echo), one per
//                              value of the last "-M S,FF,E" list (a fresh unit: U1, I1,
//                              P, F); a cycle starts with a line holding only a form feed
// Frames end at LF or CR; empty frames (the LF CR terminator's second half, the wake-up's
// lone CR) are ignored. Frames for another address are recorded but get no reply.
#pragma once

#include <array>
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
    // A never-programmed unit: an erased data area and the device's own measured-value list.
    // Otherwise the unit starts programmed with the demo configuration (demoCopies()).
    bool fresh = false;
    // Echoes the device copy "-D1," as sent but stores it with its last interface digit
    // flipped: the fault a read-back after programming catches.
    bool badCopy = false;
};

// The demo configuration a unit that is not fresh holds from the start, as programming
// stores it after "-D1,", "-D2," and "-D3,": a three-wire network of 100 V and 1 A at 50 Hz
// without transformers, which every input class takes; as many analog outputs as the
// variant has of U12 0..100 V to 4..20 mA, P -150..150 W to -10..10 V, F 45..55 Hz to
// 4..20 mA and U23 0..100 V to 0..20 mA; binary outputs U12 below 80 V, I1 above 1 A,
// F above 51 Hz, on while the device is OK, the rest off; on the interface U12, U23, U31,
// I1, I2, I3, P and F. Every value is a whole number, so the copy reads the same whatever
// decimal separator the reader's system uses. Counts beyond the tables are cut to 4 and 13.
std::array<std::string, 3> demoCopies(int analog, int binary);
// The interface codes of the demo configuration, in the order "-M S,FF,E" sends them.
std::vector<std::string> demoInterfaceCodes();

// 11 bits at 19200 baud.
inline constexpr std::chrono::nanoseconds kCharTime{11 * 1'000'000'000LL / 19200};

// Bytes of the erased-data filler in a never-written data reply.
inline constexpr std::size_t kErasedLength = 24;

// The device side of a simulated line: bytes arrive with a time stamp, output becomes due at
// a time. One unit, or several on one bus.
class LineEnd {
  public:
    virtual ~LineEnd() = default;
    // Bytes from the line, all arrived by `now`.
    virtual void receive(std::string_view bytes, TimePoint now) = 0;
    // When the next output byte is due; nullopt when nothing is queued.
    virtual std::optional<TimePoint> nextOutputAt() const = 0;
    // Every output byte due at or before `now`.
    virtual std::string takeOutput(TimePoint now) = 0;
};

struct ReceivedFrame {
    TimePoint at;      // when its terminator had arrived
    std::string text;  // Windows-1252 bytes without the LF CR terminator
};

class Transducer final : public LineEnd {
  public:
    explicit Transducer(Options options);

    // With wire time the bytes are put on the line at `now`, each character arriving one
    // character time after the previous one.
    void receive(std::string_view bytes, TimePoint now) override;
    std::optional<TimePoint> nextOutputAt() const override;
    std::string takeOutput(TimePoint now) override;

    const std::vector<ReceivedFrame>& frames() const { return frames_; }
    const Options& options() const { return options_; }
    Options& options() { return options_; }

    // The data copy n (1..3) as a program last sent it after "-Dn,"; empty while none was
    // written (the demo copy a unit starts with does not count).
    const std::string& storedData(int n) const { return stored_[n - 1]; }
    // The copy the unit answers "-Dn" with (after "-Dn,"): the copy written last, else the
    // demo copy; empty for a fresh unit that was never written (it answers 0xFF bytes).
    const std::string& dataCopy(int n) const {
        return written_[n - 1] ? stored_[n - 1] : demo_[n - 1];
    }
    // The text answered to "-*?" after its echo (CR/LF/TAB included as the device sends them).
    std::string hardwareReply() const;

  private:
    void handleFrame(const std::string& frame, TimePoint at);
    void queueReply(std::string bytes, TimePoint at);
    bool addressedToMe(std::string_view address) const;
    std::string garbled(std::string echo) const;
    struct Readings;
    Readings readingsAt(TimePoint at) const;
    std::string measuredLine(TimePoint at);

    Options options_;
    std::string line_;  // bytes of the frame being received
    std::vector<ReceivedFrame> frames_;
    std::deque<std::pair<TimePoint, char>> out_;
    std::array<std::string, 3> stored_;
    std::array<bool, 3> written_{};
    bool programmedAtStart_ = false;   // not fresh: the demo copies answer until overwritten
    std::array<std::string, 3> demo_;  // the copies the unit starts with; empty when fresh
    TimePoint inputFreeAt_{};          // with wire time: when the last received character arrived
    TimePoint outputFreeAt_{};         // when the last queued output character leaves the line
    std::vector<std::string> interfaceList_;  // value codes of the last "-M S,FF,E"
    bool listProgrammed_ = false;             // a fresh unit offers U1, I1, P, F
    std::size_t measuredIndex_ = 0;           // next line of the "-r" cycle; 0 = cycle marker
};

}  // namespace kalvo::sim
