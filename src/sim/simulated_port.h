// A SerialPort whose other end is a simulated transducer (or several on one bus). Used by `kalvo
// --simulator` with the system clock and by tests with a virtual clock. Waiting sleeps on the clock
// until the model's next output is due or the deadline passes; it never spins. Confined to the one
// thread that runs device sequences.
#pragma once

#include <atomic>
#include <string>
#include <string_view>

#include "platform/clock.h"
#include "platform/serial_port.h"
#include "sim/transducer.h"

namespace kalvo::sim {

class SimulatedPort final : public SerialPort {
  public:
    // cancel: when set to true, a running wait ends with WaitResult::Cancelled (checked every
    // 50 ms of clock time).
    SimulatedPort(LineEnd& transducer, Clock& clock, const std::atomic<bool>* cancel = nullptr);

    bool open() override;
    bool isOpen() const override { return open_; }
    void close() override;
    bool write(std::string_view bytes) override;
    std::string readAvailable() override;
    WaitResult waitForData(TimePoint deadline) override;
    std::string errorText() const override;

    // Makes the next open() fail and every call report a broken link until cleared, as an
    // unplugged adapter does.
    void setUnplugged(bool unplugged);

  private:
    // Moves every output byte due by now into the receive buffer.
    void collect();

    LineEnd& transducer_;
    Clock& clock_;
    const std::atomic<bool>* cancel_;
    bool open_ = false;
    bool unplugged_ = false;
    std::string received_;
};

}  // namespace kalvo::sim
