// The device worker: jobs run on its thread one at a time, their events and results arrive on
// the window thread, a stop ends a running job promptly, and neither a throwing job nor
// destroying the worker mid-job leaves anything stuck.
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "shell/ui/device_worker.h"
#include "support/fake_device.h"

using namespace kalvo;

namespace {

// A worker over a scripted port that echoes every frame; real or virtual time.
struct WorkerRig {
    explicit WorkerRig(bool realTime = false) {
        std::unique_ptr<Clock> clock;
        if (realTime) {
            clock = std::make_unique<SystemClock>();
        } else {
            clock = std::make_unique<test::FakeClock>();
        }
        Clock* c = clock.get();
        worker = std::make_unique<DeviceWorker>(
            [this, c](int, const std::atomic<bool>* cancel) {
                auto port = std::make_unique<test::ScriptedPort>(*virtualPortClock(c));
                port->cancel = cancel;
                device = std::make_unique<test::FakeDevice>(*port);
                test::echoEverything(*device);
                return port;
            },
            std::move(clock), 1);
    }
    // The scripted port needs a FakeClock; in real time it gets one of its own that never
    // delivers anything on time, which is all the real-time tests need.
    test::FakeClock* virtualPortClock(Clock* c) {
        if (auto* fake = dynamic_cast<test::FakeClock*>(c)) return fake;
        return &spareClock;
    }

    test::FakeClock spareClock;
    std::unique_ptr<test::FakeDevice> device;
    std::unique_ptr<DeviceWorker> worker;
};

}  // namespace

class DeviceWorkerTest : public QObject {
    Q_OBJECT
  private slots:
    void eventsAndResultArriveOnTheWindowThreadInOrder();
    void aSecondJobIsRefusedWhileOneRuns();
    void stopEndsALongPausePromptly();
    void aThrowingJobEndsWithoutResultAndFreesTheWorker();
    void destroyingTheWorkerMidJobReturnsPromptly();
    void noJobStartsOnceShuttingDown();
};

void DeviceWorkerTest::eventsAndResultArriveOnTheWindowThreadInOrder() {
    WorkerRig rig;
    std::vector<std::string> seen;
    bool allOnWindowThread = true;
    std::optional<int> result;
    QVERIFY(rig.worker->start<int>(
        [](Link& link) {
            link.stage(Stage::ReadBack);
            link.log("first");
            link.progressStep();
            link.measuredLine("  230.0 V  U1 /U");
            return 42;
        },
        [&](const DeviceEvent& e) {
            allOnWindowThread &= QThread::currentThread() == qApp->thread();
            switch (e.kind) {
                case DeviceEvent::Kind::Stage:
                    seen.push_back(e.stage == Stage::ReadBack ? "stage" : "other stage");
                    break;
                case DeviceEvent::Kind::Log:
                    seen.push_back("log " + e.text);
                    break;
                case DeviceEvent::Kind::Progress:
                    seen.push_back("progress " + std::to_string(e.value));
                    break;
                case DeviceEvent::Kind::MeasuredLine:
                    seen.push_back("line " + e.text);
                    break;
            }
        },
        [&](std::optional<int> r) {
            allOnWindowThread &= QThread::currentThread() == qApp->thread();
            seen.push_back("done");
            result = r;
        }));
    QVERIFY(rig.worker->busy());
    QTRY_VERIFY(result.has_value());
    QCOMPARE(*result, 42);
    QVERIFY(allOnWindowThread);
    QCOMPARE(seen, (std::vector<std::string>{"stage", "log first", "progress 1",
                                             "line   230.0 V  U1 /U", "done"}));
    QVERIFY(!rig.worker->busy());
}

void DeviceWorkerTest::aSecondJobIsRefusedWhileOneRuns() {
    WorkerRig rig(true);
    QSignalSpy busy(rig.worker.get(), &DeviceWorker::busyChanged);
    bool firstDone = false;
    QVERIFY(rig.worker->start<int>(
        [](Link& link) {
            link.pause(Millis{20000});
            return 1;
        },
        nullptr, [&](std::optional<int>) { firstDone = true; }));
    bool secondRan = false;
    QVERIFY(!rig.worker->start<int>(
        [&](Link&) {
            secondRan = true;
            return 2;
        },
        nullptr, [](std::optional<int>) {}));
    rig.worker->stop();
    QTRY_VERIFY(firstDone);
    QVERIFY(!secondRan);
    QCOMPARE(busy.count(), 2);  // true, then false
}

void DeviceWorkerTest::stopEndsALongPausePromptly() {
    WorkerRig rig(true);
    bool done = false;
    QVERIFY(rig.worker->start<bool>(
        [](Link& link) {
            link.pause(Millis{20000});
            return link.cancelled();
        },
        nullptr, [&](std::optional<bool> cancelled) { done = cancelled.value_or(false); }));
    QTest::qWait(100);
    QElapsedTimer timer;
    timer.start();
    rig.worker->stop();
    QTRY_VERIFY_WITH_TIMEOUT(done, 5000);
    // The pause sleeps in slices of 50 ms; the limit leaves room for a loaded machine.
    QVERIFY2(timer.elapsed() < 1000, qPrintable(QString::number(timer.elapsed())));
}

void DeviceWorkerTest::aThrowingJobEndsWithoutResultAndFreesTheWorker() {
    WorkerRig rig;
    std::optional<std::optional<int>> first;
    QVERIFY(rig.worker->start<int>([](Link&) -> int { throw std::runtime_error("broken"); },
                                   nullptr, [&](std::optional<int> r) { first = r; }));
    QTRY_VERIFY(first.has_value());
    QVERIFY(!first->has_value());
    QVERIFY(!rig.worker->busy());
    std::optional<int> second;
    QVERIFY(rig.worker->start<int>([](Link&) { return 7; }, nullptr,
                                   [&](std::optional<int> r) { second = r; }));
    QTRY_VERIFY(second.has_value());
    QCOMPARE(*second, 7);
}

void DeviceWorkerTest::destroyingTheWorkerMidJobReturnsPromptly() {
    WorkerRig rig(true);
    bool doneCalled = false;
    QVERIFY(rig.worker->start<int>(
        [](Link& link) {
            link.pause(Millis{20000});
            return 1;
        },
        nullptr, [&](std::optional<int>) { doneCalled = true; }));
    QTest::qWait(50);
    QElapsedTimer timer;
    timer.start();
    rig.worker.reset();
    QVERIFY2(timer.elapsed() < 1000, qPrintable(QString::number(timer.elapsed())));
    QTest::qWait(50);
    QVERIFY(!doneCalled);  // the result of a job ended by destruction is dropped
}

void DeviceWorkerTest::noJobStartsOnceShuttingDown() {
    WorkerRig rig;
    rig.worker->shutdown();
    bool ran = false;
    QVERIFY(!rig.worker->start<int>(
        [&](Link&) {
            ran = true;
            return 0;
        },
        nullptr, [](std::optional<int>) {}));
    QTest::qWait(20);
    QVERIFY(!ran);
    QVERIFY(!rig.worker->busy());
}

QTEST_MAIN(DeviceWorkerTest)
#include "device_worker_test.moc"
