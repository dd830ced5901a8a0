// The device worker: jobs run on its thread one at a time, their events and results arrive on
// the window thread, a stop ends a running job promptly, and neither a throwing job nor
// destroying the worker mid-job leaves anything stuck. The main window's device commands
// against the in-process simulated transducer: the hardware choice and detection, what a running
// sequence blocks and shows, the stages of programming, and what failures leave behind. What
// the results do to the record is the session's (its unit test); here, the window's path.
#include <QElapsedTimer>
#include <QListWidget>
#include <QProgressBar>
#include <QRadioButton>
#include <QSignalSpy>

#include <stdexcept>

#include "config/ui/param_dialog.h"
#include "gui_rig.h"
#include "link/ui/hardware_window.h"
#include "shell/ui/aux_windows.h"
#include "shell/ui/device_worker.h"
#include "text/value_lists.h"

using namespace kalvo;
using namespace kalvo::gui;

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

class DeviceCommandsTest : public QObject {
    Q_OBJECT
  private slots:
    // A new project asks for the hardware with "auto" first; a manual choice keeps the classes
    // and sends nothing (the session test pins the defaults that come with it); known hardware
    // is not asked again; Cancel, Esc and Return; no selection detects the device.
    void theHardwareWindowAsksOnlyWhileTheHardwareIsUnknown() {
        Rig rig;
        frmMain& w = rig.open(true);
        Record& r = rig.ctx().record;
        r.Max_Spannung = 120;
        r.Max_Strom = 1.2;
        rig.action("mnufile_0")->trigger();  // a new project: the classes start afresh
        QCOMPARE(variant(r), QStringLiteral("0A/0D 600/5"));
        Hardware* hw = w.hardware();
        QVERIFY(hw->isVisible());
        auto* list = child<QListWidget>(hw, "List1");
        QCOMPARE(list->count(), int(kHardwareList.size()));  // the list is the core's
        for (int i = 0; i < list->count(); ++i)
            QCOMPARE(list->item(i)->text(), QString::fromUtf8(kHardwareList[std::size_t(i)]));
        QCOMPARE(list->currentItem()->text(), QStringLiteral("TXR 3.0 auto"));
        r.Max_Spannung = 100;
        r.Max_Strom = 1;
        list->setCurrentRow(7);  // TXR 3.0 3A/5D
        click(hw, "OK_Hardware_Type");
        QVERIFY(!hw->isVisible() && !w.worker().busy());
        QCOMPARE(variant(r), QStringLiteral("3A/5D 100/1"));
        QVERIFY(rig.device.frames().empty());
        w.parameterDialog()->close();
        rig.action("mnupara")->trigger();
        QVERIFY(!hw->isVisible());
        QVERIFY(w.parameterDialog() != nullptr && w.parameterDialog()->isVisible());

        rig.action("mnufile_0")->trigger();
        click(hw, "Abbruch_Hardware_Type");
        QVERIFY(!hw->isVisible());
        QCOMPARE(variant(r), QStringLiteral("3A/5D 600/5"));
        rig.action("mnufile_0")->trigger();
        QVERIFY(QTest::qWaitForWindowExposed(hw));
        QTest::keyClick(hw, Qt::Key_Escape);
        QVERIFY(!hw->isVisible() && !w.worker().busy());
        QCOMPARE(variant(r), QStringLiteral("3A/5D 600/5"));
        rig.action("mnufile_0")->trigger();
        QVERIFY(QTest::qWaitForWindowExposed(hw));
        list->setCurrentRow(1);  // TXR 3.0 1A/1D
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Return);
        QVERIFY(!hw->isVisible());
        QCOMPARE(variant(r), QStringLiteral("1A/1D 600/5"));

        rig.action("mnufile_0")->trigger();
        list->clearSelection();
        click(hw, "OK_Hardware_Type");
        QCOMPARE(w.progr()->windowTitle(), QStringLiteral("Hardware Daten werden ausgelesen"));
        QCOMPARE(child<QLabel>(w.progr(), "Image1")->property("picture").toInt(), 1);
        QTRY_VERIFY_WITH_TIMEOUT(!w.worker().busy(), 20000);
        QCOMPARE(rig.takeBox(), QStringLiteral("0 boxes"));
        QCOMPARE(variant(r), QStringLiteral("2A/5D 120/1.2"));
        QVERIFY(w.parameterDialog() != nullptr && w.parameterDialog()->isVisible());
    }

    void aRunningSequenceBlocksTheDeviceCommandsAndClosingIsPrompt() {
        sim::Options silent;
        silent.silent = true;
        Rig rig(silent, true);
        frmMain& w = rig.open(true);
        Progr* progr = w.progr();
        progr->addLine("left over");
        rig.action("mnudaten")->trigger();
        QVERIFY(w.worker().busy());
        QCOMPARE(rig.where(kDeviceCommands, &QAction::isEnabled), QStringList());
        QVERIFY(progr->isVisible());
        QCOMPARE(progr->windowTitle(), QStringLiteral("Daten Messumformer werden ausgelesen"));
        QCOMPARE(child<QLabel>(progr, "Image1")->property("picture").toInt(), 1);
        // The window keeps handling events: a fresh log fills while the sequence waits.
        auto* log = child<QListWidget>(progr, "List1");
        QTRY_VERIFY_WITH_TIMEOUT(log->count() > 0, 5000);
        QCOMPARE(log->item(0)->text(), "-0-t");
        // A second start or a port change while busy is refused, even called directly.
        rig.ctx().record = recordFor2A5D();
        w.mnuprogr_Click();
        w.mnucom_Click(5);
        QCOMPARE(progr->windowTitle(), QStringLiteral("Daten Messumformer werden ausgelesen"));
        QCOMPARE(rig.panel(1), QStringLiteral("COM 1"));
        // Closing in the link test's 10 s wait for a reply that never comes is prompt.
        QTest::qWait(2300);
        QVERIFY(w.worker().busy());
        QElapsedTimer timer;
        timer.start();
        w.close();
        rig.window.reset();  // joins the device thread
        QVERIFY2(timer.elapsed() < 500, qPrintable(QString::number(timer.elapsed())));
        QVERIFY(rig.boxes.empty());
    }

    void theLogsOkHidesItAndEmptiesIt() {
        Rig rig;
        Progr* p = rig.open().progr();
        p->addLine("-0-t");
        p->setProgress(12);
        p->show();
        click(p, "Command1");
        QVERIFY(!p->isVisible());
        QCOMPARE(child<QListWidget>(p, "List1")->count(), 0);
        QCOMPARE(child<QProgressBar>(p, "ProgressBar1")->value(), 0);
    }

    void programmingSendsTheEditOnScreenShowsItsStagesAndTakesTheClasses() {
        Rig rig;
        frmMain& w = rig.open(true);
        // Without a configuration there is nothing to program.
        rig.action("mnuprogr")->trigger();
        QVERIFY(!w.worker().busy() && rig.boxes.empty() && rig.device.frames().empty());

        rig.ctx().record = recordFor2A5D();
        Record expected = rig.ctx().record;
        expected.Grundwerte[Basic::NominalFrequency] = Cell(50);
        // The record says 60 Hz; 50 Hz is chosen on the basic page, which is not left:
        // programming must send the 50 on screen.
        w.mnupara_Click();
        child<QRadioButton>(w.parameterDialog(), "Nennfrquenz_Option_1")->click();
        // The progress window follows the sequence: the hardware query first, then programming.
        QStringList captions;
        QList<int> pictures;
        QLabel* picture = child<QLabel>(w.progr(), "Image1");
        QObject::connect(w.progr(), &QWidget::windowTitleChanged, [&](const QString& title) {
            captions << title;
            pictures << picture->property("picture").toInt();
        });
        rig.runToEnd("tbToolBar_Programmieren");
        QCOMPARE(captions, QStringList({"Hardware Daten werden ausgelesen",
                                        "Messumformer wird programmiert"}));
        QCOMPARE(pictures, QList<int>({1, 0}));
        QCOMPARE(rig.takeBox(),
                 QStringLiteral("Information|Programmierung erfolgreich abgeschlossen!"));
        QVERIFY(!w.progr()->isVisible());
        QCOMPARE(rig.where(kDeviceCommands, &QAction::isEnabled), kDeviceCommands.split('|'));
        QCOMPARE(QString::fromStdString(rig.device.storedData(1)).section(':', 2, 2), "50");
        // The device's classes reach the record; the configuration itself is what was sent.
        QCOMPARE(variant(rig.ctx().record), QStringLiteral("2A/5D 120/1.2"));
        QCOMPARE(cellTexts(rig.ctx().record), cellTexts(expected));
    }

    void aFailedSequenceShowsItsBoxOverTheLogAndChangesNothing() {
        // Detection from the hardware window's "auto", and read-back; in English.
        for (const bool detection : {true, false}) {
            sim::Options garbled;
            garbled.garbleEcho = true;
            Rig rig(garbled);
            frmMain& w = rig.open();
            rig.action("tbToolBar_Englisch")->trigger();
            if (!detection) rig.ctx().record = recordFor2A5D();
            const Record before = rig.ctx().record;
            // The box comes over the log, which still shows what was sent; the log closes
            // after it.
            QStringList logUnderTheBox;
            rig.whileBox = [&] {
                auto* list = child<QListWidget>(w.progr(), "List1");
                for (int i = 0; w.progr()->isVisible() && i < list->count(); ++i)
                    logUnderTheBox << list->item(i)->text();
            };
            if (detection) {
                rig.action("tbToolBar_Parametrieren")->trigger();
                click(w.hardware(), "OK_Hardware_Type");
                QTRY_VERIFY_WITH_TIMEOUT(!w.worker().busy(), 20000);
            } else {
                rig.runToEnd("mnudaten");
            }
            QCOMPARE(w.progr()->windowTitle(),
                     detection ? "read Hardware data" : "read data transducers ");
            QCOMPARE(rig.takeBox(),
                     QStringLiteral("!Action cancelled!|Check the dataconnection and try again!"));
            QVERIFY(!logUnderTheBox.isEmpty());
            QVERIFY(rig.ctx().record == before);
            QVERIFY(!w.hardware()->isVisible() && !w.progr()->isVisible());
            QVERIFY(rig.action("mnupara")->isEnabled());
        }
    }

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

    // A running job refuses a second one; destroying the worker ends it within the 50 ms
    // slices of its pause and drops its result (the limit leaves room for a loaded machine).
    // A stop from the window: the live values' test.
    void aRunningJobRefusesASecondAndDestroyingTheWorkerEndsItPromptly() {
        WorkerRig rig(true);
        std::optional<bool> cancelled;
        QVERIFY(rig.worker->start<bool>(longPause, nullptr,
                                        [&](std::optional<bool> c) { cancelled = c; }));
        bool secondRan = false;
        QVERIFY(!rig.worker->start<int>([&](Link&) { return secondRan = true; }, nullptr,
                                        [](std::optional<int>) {}));
        QTest::qWait(100);
        QElapsedTimer timer;
        timer.start();
        rig.worker.reset();
        QVERIFY2(timer.elapsed() < 1000, qPrintable(QString::number(timer.elapsed())));
        QTest::qWait(50);
        QVERIFY(!cancelled.has_value() && !secondRan);
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

QTEST_MAIN(DeviceCommandsTest)
#include "device_commands_test.moc"
