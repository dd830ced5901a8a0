#include "platform/qt/qt_tcp_port.h"

#include <QEventLoop>
#include <QTcpSocket>
#include <QTimer>
#include <algorithm>

#include "platform/qt/qt_serial_port.h"

namespace kalvo {

namespace {

// Waits happen in slices so a cancel request is seen within this time.
constexpr Millis kWaitSlice{80};

}  // namespace

QtTcpPort::QtTcpPort(NetworkPort target, const std::atomic<bool>* cancel, Millis connectLimit)
    : target_(std::move(target)), cancel_(cancel), connectLimit_(connectLimit) {}

QtTcpPort::~QtTcpPort() {
    close();
}

bool QtTcpPort::open() {
    if (isOpen()) return true;
    close();
    socket_ = std::make_unique<QTcpSocket>();
    // Frames are short and the device answers each one: send them at once, not batched.
    socket_->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    socket_->setSocketOption(QAbstractSocket::KeepAliveOption, 1);
    // The blocking connect cannot be cancelled and resolves names without a limit, so the
    // connect runs in an event loop of its own that a tick checks for the limit and a cancel.
    QEventLoop loop;
    QTimer tick;
    const auto deadline = std::chrono::steady_clock::now() + connectLimit_;
    bool late = false;
    bool cancelled = false;
    QObject::connect(&tick, &QTimer::timeout, &loop, [&] {
        late = std::chrono::steady_clock::now() >= deadline;
        cancelled = cancel_ && cancel_->load();
        if (late || cancelled) loop.quit();
    });
    QObject::connect(socket_.get(), &QAbstractSocket::connected, &loop, &QEventLoop::quit);
    QObject::connect(socket_.get(), &QAbstractSocket::errorOccurred, &loop, &QEventLoop::quit);
    tick.start(static_cast<int>(std::min(kWaitSlice, connectLimit_).count()));
    socket_->connectToHost(QString::fromStdString(target_.host),
                           static_cast<quint16>(target_.port));
    // A connect that failed or succeeded at once leaves nothing to wait for.
    const auto state = socket_->state();
    if (state == QAbstractSocket::HostLookupState || state == QAbstractSocket::ConnectingState) {
        loop.exec();
    }
    tick.stop();
    QObject::disconnect(socket_.get(), nullptr, &loop, nullptr);
    if (socket_->state() == QAbstractSocket::ConnectedState) {
        error_.clear();
        return true;
    }
    if (late) {
        error_ = cannotConnectText(target_, noAnswerReason());
    } else if (cancelled) {
        error_ = cannotConnectText(target_, cancelledReason());
    } else if (socket_->error() == QAbstractSocket::HostNotFoundError) {
        error_ = cannotConnectText(target_, hostNotFoundReason());
    } else {
        error_ = cannotConnectText(target_, socket_->errorString().toStdString());
    }
    socket_->abort();
    socket_.reset();
    return false;
}

bool QtTcpPort::isOpen() const {
    return socket_ && socket_->state() == QAbstractSocket::ConnectedState;
}

void QtTcpPort::close() {
    if (socket_) socket_->abort();
    socket_.reset();
}

// The connection is gone: the gateway closed it, or the network reported it broken.
bool QtTcpPort::lost() {
    if (isOpen()) return false;
    if (socket_ && error_.empty()) {
        error_ = connectionLostText(target_, socket_->errorString().toStdString());
    }
    return true;
}

bool QtTcpPort::write(std::string_view bytes) {
    const auto failed = [this] {
        lost();  // says why, when the connection is gone
        return false;
    };
    if (!isOpen()) return failed();
    const qint64 n = socket_->write(bytes.data(), static_cast<qint64>(bytes.size()));
    if (n != static_cast<qint64>(bytes.size())) return failed();
    // Push the bytes out now: the device sequences pause right after writing.
    while (socket_->bytesToWrite() > 0) {
        if (!socket_->waitForBytesWritten(static_cast<int>(kWaitSlice.count()))) {
            if (lost()) return false;
            if (cancel_ && cancel_->load()) return false;
        }
    }
    return true;
}

std::string QtTcpPort::readAvailable() {
    if (!socket_) return {};
    // Bytes reach the socket's buffer only inside its wait calls when no event loop runs: a
    // zero-length wait takes in everything the system holds, so a flushing read really empties
    // the line.
    if (isOpen()) socket_->waitForReadyRead(0);
    const QByteArray data = socket_->readAll();
    return std::string(data.constData(), static_cast<std::size_t>(data.size()));
}

WaitResult QtTcpPort::waitForData(TimePoint deadline) {
    if (!socket_) return WaitResult::Broken;
    if (socket_->bytesAvailable() > 0) return WaitResult::DataReady;
    for (;;) {
        if (lost()) return WaitResult::Broken;
        if (cancel_ && cancel_->load()) return WaitResult::Cancelled;
        const auto now = std::chrono::steady_clock::now();
        const auto left = std::max(Millis{0}, std::chrono::ceil<Millis>(deadline - now));
        // The socket sleeps in the system until bytes come, the gateway closes, or the slice
        // ends: no spinning.
        if (socket_->waitForReadyRead(static_cast<int>(std::min(left, kWaitSlice).count()))) {
            return WaitResult::DataReady;
        }
        if (socket_->bytesAvailable() > 0) return WaitResult::DataReady;
        if (!lost() && std::chrono::steady_clock::now() >= deadline) return WaitResult::TimedOut;
    }
}

std::string QtTcpPort::errorText() const {
    return error_;
}

std::unique_ptr<SerialPort> makeNamedPort(const std::string& name,
                                          const std::atomic<bool>* cancel) {
    if (!isNetworkPortName(name)) return std::make_unique<QtSerialPort>(name, cancel);
    const ParsedPortName parsed = parseNetworkPortName(name);
    if (!parsed.network) {
        return std::make_unique<UnopenablePort>(portNameFaultMessage(parsed, name).english);
    }
    return std::make_unique<QtTcpPort>(*parsed.network, cancel);
}

}  // namespace kalvo
