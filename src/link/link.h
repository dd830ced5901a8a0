// The serial link as the device sequences use it: a port, a clock, a receive buffer and an
// observer for the progress window. Text goes out as Windows-1252 and every frame is
// "-" + address + command + LF + CR.
#pragma once

#include <atomic>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "link/step.h"
#include "platform/clock.h"
#include "platform/serial_port.h"

namespace kalvo {

class Transcript;

// What a running sequence is doing: the device is asked what it is, programmed, its copy read
// back, or its measured values polled.
enum class Stage { Hardware, Programming, ReadBack, Measuring };

// What the windows see of a running sequence. All calls come from the thread that runs it.
class LinkObserver {
  public:
    virtual ~LinkObserver() = default;
    virtual void logLine(const std::string& /*utf8*/) {}
    virtual void progress(int /*value 0..50*/) {}
    virtual void stage(Stage) {}
    // The step the sequence takes now, and while a pause of a second or more waits, the whole
    // seconds it still waits (counting down, then 0 when it ends).
    virtual void step(const Step&) {}
    virtual void waiting(int /*seconds*/) {}
    // One measured-value line as the device sent it (UTF-8, without its CR).
    virtual void measuredLine(const std::string& /*utf8*/) {}
};

inline constexpr char LF = '\n';
inline constexpr char CR = '\r';

// "-" + address + command, the frame text without its terminator.
std::string frameText(std::string_view address, std::string_view command);

class Link {
  public:
    Link(SerialPort& port, Clock& clock, LinkObserver* observer = nullptr,
         const std::atomic<bool>* cancel = nullptr);

    SerialPort& port() { return port_; }
    Clock& clock() { return clock_; }

    // Opens the port when it is closed; false when it cannot be opened.
    bool ensureOpen();
    // Sends UTF-8 text as Windows-1252 bytes; false when the port is closed or the link is
    // broken (a broken port is closed, so the next ensureOpen() opens it afresh).
    bool send(std::string_view utf8);
    // Sends bytes that are already Windows-1252.
    bool sendBytes(std::string_view bytes);
    // Blocking pause (no reading). It sleeps in slices of kCancelSlice and ends early when the
    // sequence is cancelled; callers check cancelled() afterwards.
    void pause(Millis d);
    static constexpr Millis kCancelSlice{50};

    // Received bytes are kept in a buffer: bytes beyond what a caller reads stay there for the
    // next read, exactly as if they were still waiting in the port.
    // One received byte (Windows-1252) if one is waiting, without blocking.
    std::optional<char> readByteNow();
    // Waits for the next received byte until the deadline. nullopt on time-out, broken link
    // or cancel; lost()/cancelled() tell which.
    std::optional<char> readByte(TimePoint deadline);
    // Discards everything received so far (the wake-up's flushing read, and the flush before
    // each request).
    void flushInput();
    // Bytes received and not yet read: readByte() takes these without asking the port.
    std::size_t buffered() const { return pending_.size() - pendingPos_; }
    // Whether received bytes are waiting now, in the buffer or in the port, without waiting
    // and without taking them.
    bool inputWaiting();

    // The port could not be opened, a write failed or the port vanished.
    bool lost() const { return lost_; }
    // Why the port was lost, as the system put it ("No such file or directory"); empty while
    // it was not, or when the system gave no words.
    const std::string& portError() const { return portError_; }

    // Whether `line` (Windows-1252, without its line end) is the text of a frame this link has
    // sent: a slow device's late echo of an earlier frame is no reply to a later request.
    // The last kRememberedFrames different frames count; a fresh open forgets them.
    bool sentEarlier(std::string_view line) const;
    static constexpr std::size_t kRememberedFrames = 32;
    // The user asked the running sequence to stop (the cancel flag, or the port reported it
    // when no flag was given).
    bool cancelled() const { return cancel_ != nullptr ? cancel_->load() : portCancelled_; }

    // Every byte sent and received, every pause, log line and stage also goes to the
    // transcript while one is set (it is not owned and must outlive its use here).
    void setTranscript(Transcript* transcript) { transcript_ = transcript; }
    Transcript* transcript() const { return transcript_; }

    void log(const std::string& utf8);
    static constexpr int kProgressMax = 50;
    // One step of the progress bar 0..50: at 50 it first drops to 1, then rises by 1, so long
    // sequences cycle 2..50.
    void progressStep();
    int progressValue() const { return progress_; }
    void stage(Stage s);
    void step(Step s);
    void measuredLine(const std::string& utf8);

  private:
    std::optional<char> takePending();
    // Waits on the port until the deadline and moves what arrived into the buffer; true when
    // the buffer holds a byte afterwards.
    bool fetch(TimePoint deadline);
    void markLost();
    void noteSent(std::string_view bytes);

    SerialPort& port_;
    Clock& clock_;
    LinkObserver* observer_;
    const std::atomic<bool>* cancel_;
    std::string pending_;
    std::size_t pendingPos_ = 0;
    bool lost_ = false;
    std::string portError_;
    std::string outgoing_;           // the frame being sent, up to its LF or CR
    std::vector<std::string> sent_;  // the frames sent, the latest last
    bool portCancelled_ = false;
    int progress_ = 0;
    Transcript* transcript_ = nullptr;
};

}  // namespace kalvo
