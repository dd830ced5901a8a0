// A serial device server on the plant network, reached over raw TCP through QTcpSocket: the
// gateway passes bytes unchanged to its RS-485 line, so the device sequences run over it as
// over a local port. Create it in the thread that uses it, like the serial adapter.
#pragma once

#include <atomic>
#include <memory>
#include <string>

#include "link/port_name.h"
#include "platform/serial_port.h"

class QTcpSocket;

namespace kalvo {

class QtTcpPort final : public SerialPort {
  public:
    // The time a connect may take, name lookup included.
    static constexpr Millis kConnectLimit{5000};

    // cancel: when set to true, a running connect or wait ends (the wait with Cancelled).
    explicit QtTcpPort(NetworkPort target, const std::atomic<bool>* cancel = nullptr,
                       Millis connectLimit = kConnectLimit);
    ~QtTcpPort() override;

    bool open() override;
    bool isOpen() const override;
    void close() override;
    bool write(std::string_view bytes) override;
    std::string readAvailable() override;
    WaitResult waitForData(TimePoint deadline) override;
    // "Cannot connect to HOST:PORT: reason" or "Connection to HOST:PORT lost: reason" (see
    // portErrorIn for the user's language).
    std::string errorText() const override;

  private:
    bool lost();
    NetworkPort target_;
    const std::atomic<bool>* cancel_;
    Millis connectLimit_;
    std::unique_ptr<QTcpSocket> socket_;
    std::string error_;
};

// The port a --port text names: a network port for "tcp://HOST:PORT", else the serial line at
// that device path. A faulty tcp:// text gives a port that never opens and says why.
std::unique_ptr<SerialPort> makeNamedPort(const std::string& name,
                                          const std::atomic<bool>* cancel = nullptr);

}  // namespace kalvo
