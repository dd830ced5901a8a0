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
#include "support/fakes.h"

using namespace kalvo;

namespace {

// A worker in real or virtual time over a port that nothing here talks to.
struct WorkerRig {
    explicit WorkerRig(bool realTime = false)
        : worker(std::make_unique<DeviceWorker>(
              [this](int, const std::atomic<bool>*) {
                  return std::make_unique<test::ScriptedPort>(portClock);
              },
              realTime ? std::unique_ptr<Clock>(new SystemClock)
                       : std::make_unique<test::FakeClock>(),
              1)) {}
    test::FakeClock portClock;
    std::unique_ptr<DeviceWorker> worker;
};

// A job that pauses for 20 s unless stopped, and reports whether it was.
bool longPause(Link& link) {
    link.pause(Millis{20000});
    return link.cancelled();
}

}  // namespace

class DeviceWorkerTest : public QObject {
    Q_OBJECT
  private slots:
    void eventsAndResultArriveOnTheWindowThreadInOrder() {
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

    // A running job refuses a second one; a stop ends its long pause within the 50 ms slices
    // (the limit leaves room for a loaded machine).
    void aRunningJobRefusesASecondAndAStopEndsItPromptly() {
        WorkerRig rig(true);
        QSignalSpy busy(rig.worker.get(), &DeviceWorker::busyChanged);
        std::optional<bool> cancelled;
        QVERIFY(rig.worker->start<bool>(longPause, nullptr,
                                        [&](std::optional<bool> c) { cancelled = c; }));
        bool secondRan = false;
        QVERIFY(!rig.worker->start<int>([&](Link&) { return secondRan = true; }, nullptr,
                                        [](std::optional<int>) {}));
        QTest::qWait(100);
        QElapsedTimer timer;
        timer.start();
        rig.worker->stop();
        QTRY_VERIFY_WITH_TIMEOUT(cancelled.has_value(), 5000);
        QVERIFY2(timer.elapsed() < 1000, qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(cancelled, std::optional<bool>(true));
        QVERIFY(!secondRan);
        QCOMPARE(busy.count(), 2);  // true, then false
    }

    void aThrowingJobEndsWithoutResultAndFreesTheWorker() {
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

    void destroyingTheWorkerMidJobReturnsPromptly() {
        WorkerRig rig(true);
        bool doneCalled = false;
        QVERIFY(rig.worker->start<bool>(longPause, nullptr,
                                        [&](std::optional<bool>) { doneCalled = true; }));
        QTest::qWait(50);
        QElapsedTimer timer;
        timer.start();
        rig.worker.reset();
        QVERIFY2(timer.elapsed() < 1000, qPrintable(QString::number(timer.elapsed())));
        QTest::qWait(50);
        QVERIFY(!doneCalled);  // the result of a job ended by destruction is dropped
    }

    void noJobStartsOnceShuttingDown() {
        WorkerRig rig;
        rig.worker->shutdown();
        bool ran = false;
        QVERIFY(!rig.worker->start<int>([&](Link&) { return ran = true; }, nullptr,
                                        [](std::optional<int>) {}));
        QTest::qWait(20);
        QVERIFY(!ran && !rig.worker->busy());
    }
};

QTEST_MAIN(DeviceWorkerTest)
#include "device_worker_test.moc"
