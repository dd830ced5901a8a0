// The real serial line through QSerialPort at 19200 baud, 8N2. Create it in the thread that
// uses it: QSerialPort is reentrant, not thread-safe.
#pragma once

#include <atomic>
#include <memory>
#include <string>

#include "platform/serial_port.h"

class QSerialPort;

namespace kalvo {

class QtSerialPort final : public SerialPort {
  public:
    // path: a device path ("/dev/ttyUSB0", a pty) or a Windows port name ("COM3").
    // cancel: when set to true, a running wait ends with WaitResult::Cancelled.
    explicit QtSerialPort(std::string path, const std::atomic<bool>* cancel = nullptr);
    ~QtSerialPort() override;

    bool open() override;
    bool isOpen() const override;
    void close() override;
    bool write(std::string_view bytes) override;
    std::string readAvailable() override;
    WaitResult waitForData(TimePoint deadline) override;
    std::string errorText() const override;

    const std::string& path() const { return path_; }

  private:
    bool brokenError() const;
    std::string path_;
    const std::atomic<bool>* cancel_;
    std::unique_ptr<QSerialPort> port_;
    bool broken_ = false;
};

}  // namespace kalvo
