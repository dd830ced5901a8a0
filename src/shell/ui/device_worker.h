// The one thread that talks to the transducer. It owns the serial port (created inside the
// thread: QSerialPort is not thread-safe) and runs one device sequence at a time. What a running
// sequence reports reaches the window thread as typed events; its result arrives there too.
#pragma once

#include <QObject>
#include <QThread>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "link/link.h"
#include "platform/clock.h"
#include "platform/serial_port.h"

namespace kalvo {

// Creates the port to use: `port` 0 is the one named on the command line (a device path or the
// simulator), 1..8 the COM ports. Runs in the worker thread. `cancel` is the flag the port's
// waits should watch.
using PortFactory =
    std::function<std::unique_ptr<SerialPort>(int port, const std::atomic<bool>* cancel)>;

// One thing a running sequence reports.
struct DeviceEvent {
    enum class Kind { Stage, Log, Progress, MeasuredLine, Step, Waiting };
    Kind kind = Kind::Log;
    Stage stage = Stage::Hardware;  // Kind::Stage
    std::string text;               // Kind::Log and Kind::MeasuredLine, UTF-8
    int value = 0;                  // Kind::Progress, 0..50; Kind::Waiting, seconds left
    Step step;                      // Kind::Step
};

class DeviceWorker : public QObject {
    Q_OBJECT
  public:
    using EventHandler = std::function<void(const DeviceEvent&)>;

    DeviceWorker(PortFactory factory, std::unique_ptr<Clock> clock, int port,
                 QObject* parent = nullptr);
    // Stops a running sequence, waits for it to end and closes the port. Its result is dropped.
    ~DeviceWorker() override;

    bool busy() const { return busy_; }
    int port() const { return port_; }

    // Runs `job` on the worker thread with a Link over the port. Every event it reports is given
    // to `onEvent` on the window thread, in order; then `done` runs there with the result, or
    // with nothing when the job failed inside (threw). False, and nothing runs, while another job
    // is busy or once the worker is shutting down.
    template <class R>
    bool start(std::function<R(Link&)> job, EventHandler onEvent,
               std::function<void(std::optional<R>)> done) {
        auto result = std::make_shared<std::optional<R>>();
        return startJob([job = std::move(job), result](Link& link) { result->emplace(job(link)); },
                        std::move(onEvent),
                        [done = std::move(done), result] { done(std::move(*result)); });
    }

    // Asks the running sequence to stop: every pause and wait ends within 100 ms.
    void stop() { cancel_ = true; }
    // Stops the running sequence and refuses every job from now on (the window is closing).
    void shutdown();
    bool shuttingDown() const { return shutdown_; }

    // Closes the current port and switches to another (see PortFactory), opening it; open
    // errors are ignored: the next sequence tries again. Ignored while a job is busy.
    void selectPort(int port);
    // The same for a port given by name (a gateway's "tcp://HOST:PORT", a device path); port()
    // is kNamedPort then.
    static constexpr int kNamedPort = -1;
    void selectNamedPort(std::string name);

  signals:
    void busyChanged(bool busy);

  private:
    class Observer;
    bool startJob(std::function<void(Link&)> work, EventHandler onEvent,
                  std::function<void()> finish);
    void selectPort(int port, std::string name);
    std::unique_ptr<SerialPort> makePort();                    // worker thread
    void post(DeviceEvent event);                              // any thread
    void runInWorker(const std::function<void(Link&)>& work);  // worker thread

    PortFactory factory_;
    std::unique_ptr<Clock> clock_;
    std::unique_ptr<Observer> observer_;
    std::atomic<bool> cancel_{false};
    QThread thread_;
    QObject* context_ = nullptr;  // lives in thread_
    // Window thread only:
    bool busy_ = false;
    bool shutdown_ = false;
    int port_;
    EventHandler onEvent_;
    // Worker thread only:
    int workerPort_;
    std::string workerName_;  // the port's name when workerPort_ is kNamedPort
    std::unique_ptr<SerialPort> serial_;
};

}  // namespace kalvo
