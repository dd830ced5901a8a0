#include "platform/qt/qt_serial_port.h"

#include <QSerialPort>
#include <algorithm>

namespace kalvo {

namespace {
// Waits happen in slices so a cancel request is seen within this time.
constexpr Millis kWaitSlice{80};
}  // namespace

QtSerialPort::QtSerialPort(std::string path, const std::atomic<bool>* cancel)
    : path_(std::move(path)), cancel_(cancel) {}

QtSerialPort::~QtSerialPort() {
    close();
}

bool QtSerialPort::open() {
    if (isOpen()) return true;
    port_ = std::make_unique<QSerialPort>();
    port_->setPortName(QString::fromStdString(path_));
    if (!port_->open(QIODevice::ReadWrite)) return false;
    // 19200,N,8,2
    port_->setBaudRate(QSerialPort::Baud19200);
    port_->setParity(QSerialPort::NoParity);
    port_->setDataBits(QSerialPort::Data8);
    port_->setStopBits(QSerialPort::TwoStop);
    port_->setFlowControl(QSerialPort::NoFlowControl);
    // Qt 6.4 does not flush input that arrived before the port was opened.
    port_->clear();
    port_->clearError();
    broken_ = false;
    return true;
}

bool QtSerialPort::isOpen() const {
    return port_ && port_->isOpen();
}

void QtSerialPort::close() {
    if (port_ && port_->isOpen()) port_->close();
    port_.reset();
}

bool QtSerialPort::brokenError() const {
    if (!port_) return true;
    const auto e = port_->error();
    return e != QSerialPort::NoError && e != QSerialPort::TimeoutError;
}

bool QtSerialPort::write(std::string_view bytes) {
    if (!isOpen() || broken_) return false;
    const qint64 n = port_->write(bytes.data(), static_cast<qint64>(bytes.size()));
    if (n != static_cast<qint64>(bytes.size())) {
        broken_ = true;
        return false;
    }
    // Push the bytes out now: the device sequences pause right after writing.
    while (port_->bytesToWrite() > 0) {
        if (!port_->waitForBytesWritten(static_cast<int>(kWaitSlice.count()))) {
            if (brokenError()) {
                broken_ = true;
                return false;
            }
            if (cancel_ && cancel_->load()) return false;
        }
    }
    return true;
}

std::string QtSerialPort::readAvailable() {
    if (!isOpen()) return {};
    // Bytes reach Qt's buffer only inside its wait calls; a write's wait may have pulled in
    // just the start of a reply. A zero-length wait takes in everything the system holds, so
    // a flushing read really empties the line.
    if (!port_->waitForReadyRead(0) && port_->error() == QSerialPort::TimeoutError) {
        port_->clearError();
    }
    const QByteArray data = port_->readAll();
    return std::string(data.constData(), static_cast<std::size_t>(data.size()));
}

WaitResult QtSerialPort::waitForData(TimePoint deadline) {
    if (!isOpen() || broken_) return WaitResult::Broken;
    if (port_->bytesAvailable() > 0) return WaitResult::DataReady;
    // Without an event loop in this thread, bytes reach Qt's buffer only inside
    // waitForReadyRead, so even a deadline that has passed gets one zero-length wait.
    for (;;) {
        if (cancel_ && cancel_->load()) return WaitResult::Cancelled;
        const auto now = std::chrono::steady_clock::now();
        const auto left = std::max(Millis{0}, std::chrono::ceil<Millis>(deadline - now));
        const int slice = static_cast<int>(std::min(left, kWaitSlice).count());
        if (port_->waitForReadyRead(slice)) return WaitResult::DataReady;
        // A false return whose error is not a time-out means the link is gone: Qt 6.4
        // reports a vanished pty or USB adapter as ReadError at once; newer Qt sets no error
        // at all, so an early return with no error before the slice ran out counts as well.
        const auto e = port_->error();
        const bool fullSlice = std::chrono::steady_clock::now() - now >= Millis{slice} - Millis{2};
        if (e == QSerialPort::TimeoutError || (e == QSerialPort::NoError && fullSlice)) {
            port_->clearError();
            if (port_->bytesAvailable() > 0) return WaitResult::DataReady;
            if (std::chrono::steady_clock::now() >= deadline) return WaitResult::TimedOut;
            continue;
        }
        broken_ = true;
        return WaitResult::Broken;
    }
}

std::string QtSerialPort::errorText() const {
    if (!port_) return "port not open";
    return port_->errorString().toStdString();
}

}  // namespace kalvo
