// The serial line to the transducer, as the core needs it. Bytes are single-byte
// Windows-1252 text exactly as they go over the wire; the Link converts from and to UTF-8.
#pragma once

#include <string>
#include <string_view>
#include <utility>

#include "platform/clock.h"

namespace kalvo {

enum class WaitResult {
    DataReady,  // at least one byte can be read now
    TimedOut,   // the deadline passed with nothing received
    Broken,     // the port vanished or failed (adapter unplugged, pty closed)
    Cancelled,  // the user asked the running sequence to stop
};

class SerialPort {
  public:
    virtual ~SerialPort() = default;
    // Opens at 19200 baud, no parity, 8 data bits, 2 stop bits, and drops stale input.
    // Returns true when the port is open afterwards (already open counts).
    virtual bool open() = 0;
    virtual bool isOpen() const = 0;
    virtual void close() = 0;
    // Queues bytes for sending. False means the link is broken.
    virtual bool write(std::string_view bytes) = 0;
    // Non-blocking: whatever has arrived so far (possibly nothing).
    virtual std::string readAvailable() = 0;
    // Waits until data is waiting or the deadline passes; returns at once when data is
    // already waiting. Implementations wait on the port, never spin.
    virtual WaitResult waitForData(TimePoint deadline) = 0;
    // A short description of the last failure, for logs; empty when none.
    virtual std::string errorText() const { return {}; }
};

// A port that never opens and says why: the stand-in for a name that names no port, or for a
// factory that could make none. Every sequence on it fails as a broken link.
class UnopenablePort final : public SerialPort {
  public:
    explicit UnopenablePort(std::string why) : why_(std::move(why)) {}
    bool open() override { return false; }
    bool isOpen() const override { return false; }
    void close() override {}
    bool write(std::string_view) override { return false; }
    std::string readAvailable() override { return {}; }
    WaitResult waitForData(TimePoint) override { return WaitResult::Broken; }
    std::string errorText() const override { return why_; }

  private:
    std::string why_;
};

}  // namespace kalvo
