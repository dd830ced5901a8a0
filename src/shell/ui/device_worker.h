// The one thread that talks to the transducer. It owns the serial port (created inside the
// thread: QSerialPort is not thread-safe) and runs one device sequence at a time; the result
// goes back to the window thread, log lines and progress steps arrive as queued signals.
#pragma once

#include <QObject>
#include <QString>
#include <QThread>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>

#include "link/link.h"
#include "platform/clock.h"
#include "platform/serial_port.h"

namespace kalvo {

// Creates the port for COM number `com`; runs in the worker thread. `cancel` is the flag the
// port's waits should watch.
using PortFactory =
    std::function<std::unique_ptr<SerialPort>(int com, const std::atomic<bool>* cancel)>;

class DeviceWorker : public QObject {
    Q_OBJECT
  public:
    DeviceWorker(PortFactory factory, std::unique_ptr<Clock> clock, int com,
                 QObject* parent = nullptr);
    // Cancels a running sequence, waits for it to end and closes the port.
    ~DeviceWorker() override;

    bool busy() const { return busy_; }
    int com() const { return com_; }

    // Runs `job` on the worker thread with a fresh Link over the port; then `done` runs on the
    // window thread with the job's result. False (and nothing runs) while another job is busy.
    template <class R>
    bool start(std::function<R(Link&)> job, std::function<void(R)> done) {
        auto result = std::make_shared<std::optional<R>>();
        return startJob([job = std::move(job), result](Link& link) { result->emplace(job(link)); },
                        [done = std::move(done), result] { done(std::move(**result)); });
    }

    // Closes the current port, switches to COM `com` and opens it. Open errors are ignored:
    // the next sequence tries again. Ignored while a job is busy.
    void selectPort(int com);

    // Asks the running sequence to stop as soon as it can.
    void cancel() { cancel_ = true; }

  signals:
    void logLine(const QString& line);
    void progress(int value);
    // The running sequence moved on to another stage (a LinkObserver::Stage value).
    void stageChanged(int stage);
    void busyChanged(bool busy);

  private:
    class Observer;
    bool startJob(std::function<void(Link&)> work, std::function<void()> finish);
    void runInWorker(const std::function<void(Link&)>& work);  // worker thread

    PortFactory factory_;
    std::unique_ptr<Clock> clock_;
    std::unique_ptr<Observer> observer_;
    std::atomic<bool> cancel_{false};
    QThread thread_;
    QObject* context_ = nullptr;  // lives in thread_
    bool busy_ = false;           // window thread only
    int com_;                     // window thread's view
    // Worker thread only:
    int workerCom_;
    std::unique_ptr<SerialPort> port_;
};

}  // namespace kalvo
