#include "shell/ui/device_worker.h"

#include "platform/qt/qt_tcp_port.h"

namespace kalvo {

namespace {}  // namespace

// Turns the link's reports into events for the window thread.
class DeviceWorker::Observer final : public LinkObserver {
  public:
    explicit Observer(DeviceWorker& worker) : worker_(worker) {}
    void logLine(const std::string& utf8) override {
        worker_.post({DeviceEvent::Kind::Log, Stage::Hardware, utf8, 0, {}});
    }
    void progress(int value) override {
        worker_.post({DeviceEvent::Kind::Progress, Stage::Hardware, {}, value, {}});
    }
    void stage(Stage s) override { worker_.post({DeviceEvent::Kind::Stage, s, {}, 0, {}}); }
    void step(const Step& s) override {
        worker_.post({DeviceEvent::Kind::Step, Stage::Hardware, {}, 0, s});
    }
    void waiting(int seconds) override {
        worker_.post({DeviceEvent::Kind::Waiting, Stage::Hardware, {}, seconds, {}});
    }
    void measuredLine(const std::string& utf8) override {
        worker_.post({DeviceEvent::Kind::MeasuredLine, Stage::Measuring, utf8, 0, {}});
    }

  private:
    DeviceWorker& worker_;
};

DeviceWorker::DeviceWorker(PortFactory factory, std::unique_ptr<Clock> clock, int port,
                           QObject* parent)
    : QObject(parent),
      factory_(std::move(factory)),
      clock_(std::move(clock)),
      observer_(std::make_unique<Observer>(*this)),
      port_(port),
      workerPort_(port) {
    thread_.setObjectName(QStringLiteral("DeviceWorker"));
    context_ = new QObject;
    context_->moveToThread(&thread_);
    thread_.start();
}

DeviceWorker::~DeviceWorker() {
    shutdown();
    // Runs after the current job: the port is destroyed in the thread that created it.
    QMetaObject::invokeMethod(
        context_, [this] { serial_.reset(); }, Qt::BlockingQueuedConnection);
    thread_.quit();
    thread_.wait();
    delete context_;
}

void DeviceWorker::shutdown() {
    shutdown_ = true;
    cancel_ = true;
}

void DeviceWorker::post(DeviceEvent event) {
    // Queued to the window thread behind every event before it, and before the job's end.
    QMetaObject::invokeMethod(
        this,
        [this, event = std::move(event)] {
            if (onEvent_) onEvent_(event);
        },
        Qt::QueuedConnection);
}

bool DeviceWorker::startJob(std::function<void(Link&)> work, EventHandler onEvent,
                            std::function<void()> finish) {
    if (busy_ || shutdown_) return false;
    busy_ = true;
    cancel_ = false;
    onEvent_ = std::move(onEvent);
    emit busyChanged(true);
    QMetaObject::invokeMethod(
        context_,
        [this, work = std::move(work), finish = std::move(finish)] {
            runInWorker(work);
            // A job that failed inside left no result: `finish` hands on nothing then.
            QMetaObject::invokeMethod(
                this,
                [this, finish] {
                    busy_ = false;
                    onEvent_ = nullptr;
                    emit busyChanged(false);
                    finish();
                },
                Qt::QueuedConnection);
        },
        Qt::QueuedConnection);
    return true;
}

void DeviceWorker::runInWorker(const std::function<void(Link&)>& work) {
    try {
        if (!serial_) serial_ = makePort();
        if (!serial_) serial_ = std::make_unique<UnopenablePort>("no such port");
        Link link(*serial_, *clock_, observer_.get(), &cancel_);
        work(link);
    } catch (...) {
        // The sequence ends as a failure; the port may be in any state, so it is closed and
        // opened afresh by the next one.
        if (serial_) serial_->close();
    }
}

std::unique_ptr<SerialPort> DeviceWorker::makePort() {
    if (workerPort_ == kNamedPort) return makeNamedPort(workerName_, &cancel_);
    return factory_(workerPort_, &cancel_);
}

void DeviceWorker::selectNamedPort(std::string name) {
    selectPort(kNamedPort, std::move(name));
}

void DeviceWorker::selectPort(int port) {
    selectPort(port, {});
}

void DeviceWorker::selectPort(int port, std::string name) {
    if (busy_ || shutdown_) return;
    port_ = port;
    QMetaObject::invokeMethod(
        context_,
        [this, port, name = std::move(name)] {
            if (serial_) serial_->close();
            serial_.reset();
            workerPort_ = port;
            workerName_ = name;
            try {
                serial_ = makePort();
                if (serial_) serial_->open();  // a missing port stays closed without a message
            } catch (...) {
                serial_.reset();
            }
        },
        Qt::QueuedConnection);
}

}  // namespace kalvo
