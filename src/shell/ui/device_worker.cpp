#include "shell/ui/device_worker.h"

namespace kalvo {

class DeviceWorker::Observer final : public LinkObserver {
  public:
    explicit Observer(DeviceWorker& worker) : worker_(worker) {}
    // Signals of an object living in the window thread, emitted from the worker thread:
    // Qt queues them to the receivers.
    void logLine(const std::string& utf8) override {
        emit worker_.logLine(QString::fromStdString(utf8));
    }
    void progress(int value) override { emit worker_.progress(value); }
    void stage(Stage s) override { emit worker_.stageChanged(static_cast<int>(s)); }

  private:
    DeviceWorker& worker_;
};

DeviceWorker::DeviceWorker(PortFactory factory, std::unique_ptr<Clock> clock, int com,
                           QObject* parent)
    : QObject(parent),
      factory_(std::move(factory)),
      clock_(std::move(clock)),
      observer_(std::make_unique<Observer>(*this)),
      com_(com),
      workerCom_(com) {
    thread_.setObjectName(QStringLiteral("DeviceWorker"));
    context_ = new QObject;
    context_->moveToThread(&thread_);
    thread_.start();
}

DeviceWorker::~DeviceWorker() {
    cancel_ = true;
    // Runs after the current job: the port is destroyed in the thread that created it.
    QMetaObject::invokeMethod(
        context_, [this] { port_.reset(); }, Qt::BlockingQueuedConnection);
    thread_.quit();
    thread_.wait();
    delete context_;
}

bool DeviceWorker::startJob(std::function<void(Link&)> work, std::function<void()> finish) {
    if (busy_) return false;
    busy_ = true;
    cancel_ = false;
    emit busyChanged(true);
    QMetaObject::invokeMethod(
        context_,
        [this, work = std::move(work), finish = std::move(finish)] {
            runInWorker(work);
            QMetaObject::invokeMethod(
                this,
                [this, finish] {
                    busy_ = false;
                    emit busyChanged(false);
                    finish();
                },
                Qt::QueuedConnection);
        },
        Qt::QueuedConnection);
    return true;
}

void DeviceWorker::runInWorker(const std::function<void(Link&)>& work) {
    if (!port_) port_ = factory_(workerCom_, &cancel_);
    Link link(*port_, *clock_, observer_.get(), &cancel_);
    work(link);
}

void DeviceWorker::selectPort(int com) {
    if (busy_) return;
    com_ = com;
    QMetaObject::invokeMethod(
        context_,
        [this, com] {
            if (port_) port_->close();
            port_.reset();
            workerCom_ = com;
            port_ = factory_(com, &cancel_);
            if (port_) port_->open();  // a missing port stays closed without a message
        },
        Qt::QueuedConnection);
}

}  // namespace kalvo
