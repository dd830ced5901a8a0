// The main window's device commands against the in-process simulated transducer: programming,
// read-back and detection, what a running sequence blocks, and what failures leave behind.
#include <QElapsedTimer>
#include <QListWidget>

#include "gui_rig.h"
#include "link/ui/hardware_window.h"
#include "shell/ui/aux_windows.h"

using namespace kalvo;
using namespace kalvo::gui;

class DeviceCommandsTest : public QObject {
    Q_OBJECT
  private slots:
    void aRunningSequenceBlocksTheDeviceCommands();
    void closingDuringASilentWaitIsPrompt();
    void programmingShowsItsStagesAndTakesTheClasses();
    void readingBackRestoresTheRecord();
    void withoutConfigurationProgrammingDoesNothing();
    void aFailedDetectionLeavesTheHardwareUnknown();
    void aFailedReadBackLeavesTheRecord();
    void aWrongTransducerStoresNothing();
};

void DeviceCommandsTest::aRunningSequenceBlocksTheDeviceCommands() {
    sim::Options silent;
    silent.silent = true;
    Rig rig(silent, true);
    frmMain& w = rig.open();
    w.show();
    rig.action("mnudaten")->trigger();
    QVERIFY(w.worker().busy());
    QCOMPARE(rig.where(kDeviceCommands, &QAction::isEnabled), QStringList());
    Progr* progr = w.progr();
    QVERIFY(progr->isVisible());
    QCOMPARE(progr->windowTitle(), QStringLiteral("Daten Messumformer werden ausgelesen"));
    QCOMPARE(progr->findChild<QLabel*>("Image1")->property("picture").toInt(), 1);
    // The window keeps handling events: the log fills while the sequence waits.
    QTRY_VERIFY_WITH_TIMEOUT(progr->findChild<QListWidget*>("List1")->count() > 0, 5000);
    // A second start or a port change while busy is refused, even called directly.
    rig.ctx().record = recordFor2A5D();
    w.mnuprogr_Click();
    w.mnucom_Click(5);
    QCOMPARE(progr->windowTitle(), QStringLiteral("Daten Messumformer werden ausgelesen"));
    QCOMPARE(rig.panel(1), QStringLiteral("COM 1"));
    QVERIFY(w.worker().busy());
}

void DeviceCommandsTest::closingDuringASilentWaitIsPrompt() {
    sim::Options silent;
    silent.silent = true;
    Rig rig(silent, true);
    frmMain& w = rig.open();
    w.show();
    rig.action("mnudaten")->trigger();
    // Into the link test's 10 s wait for a reply that never comes.
    QTest::qWait(2300);
    QVERIFY(w.worker().busy());
    QElapsedTimer timer;
    timer.start();
    w.close();
    rig.window.reset();  // joins the device thread
    QVERIFY2(timer.elapsed() < 500, qPrintable(QString::number(timer.elapsed())));
    QVERIFY(rig.boxes.empty());
}

void DeviceCommandsTest::programmingShowsItsStagesAndTakesTheClasses() {
    Rig rig;
    frmMain& w = rig.open();
    w.show();
    rig.ctx().record = recordFor2A5D();
    const Record before = rig.ctx().record;
    // The progress window follows the sequence: the hardware query first, then programming.
    QStringList captions;
    QList<int> pictures;
    QLabel* picture = w.progr()->findChild<QLabel*>("Image1");
    QObject::connect(w.progr(), &QWidget::windowTitleChanged, [&](const QString& title) {
        captions << title;
        pictures << picture->property("picture").toInt();
    });
    rig.runToEnd("tbToolBar_Programmieren");
    QCOMPARE(captions,
             QStringList({"Hardware Daten werden ausgelesen", "Messumformer wird programmiert"}));
    QCOMPARE(pictures, QList<int>({1, 0}));
    QCOMPARE(rig.takeBox(),
             QStringLiteral("Information|Programmierung erfolgreich abgeschlossen!"));
    QVERIFY(!w.progr()->isVisible());
    QCOMPARE(rig.where(kDeviceCommands, &QAction::isEnabled), kDeviceCommands.split('|'));
    // The device's classes reach the record; the configuration itself is unchanged.
    QCOMPARE(variant(rig.ctx().record), QStringLiteral("2A/5D 120/1.2"));
    QCOMPARE(cellTexts(rig.ctx().record), cellTexts(before));
    QVERIFY(!rig.device.storedData(1).empty());
}

void DeviceCommandsTest::readingBackRestoresTheRecord() {
    Rig rig;
    frmMain& w = rig.open();
    w.show();
    rig.ctx().record = recordFor2A5D();
    const Record before = rig.ctx().record;
    rig.runToEnd("tbToolBar_Programmieren");
    rig.boxes.clear();

    // In English: the record comes back from the device.
    rig.action("tbToolBar_Englisch")->trigger();
    rig.ctx().record = startRecord();
    QStringList captions;
    QObject::connect(w.progr(), &QWidget::windowTitleChanged,
                     [&](const QString& title) { captions << title; });
    rig.runToEnd("mnudaten");
    QCOMPARE(captions, QStringList({"read data transducers ", "read Hardware data"}));
    QCOMPARE(rig.takeBox(), QStringLiteral("0 boxes"));
    QCOMPARE(variant(rig.ctx().record), QStringLiteral("2A/5D 120/1.2"));
    QCOMPARE(cellTexts(rig.ctx().record), cellTexts(before));
}

void DeviceCommandsTest::withoutConfigurationProgrammingDoesNothing() {
    Rig rig;
    frmMain& w = rig.open();
    rig.action("mnuprogr")->trigger();
    QVERIFY(!w.worker().busy());
    QVERIFY(rig.boxes.empty());
    QVERIFY(rig.device.frames().empty());
}

void DeviceCommandsTest::aFailedDetectionLeavesTheHardwareUnknown() {
    sim::Options garbled;
    garbled.garbleEcho = true;
    Rig rig(garbled);
    frmMain& w = rig.open();
    rig.action("tbToolBar_Englisch")->trigger();
    rig.action("tbToolBar_Parametrieren")->trigger();
    w.hardware()->findChild<QAbstractButton*>("OK_Hardware_Type")->click();
    QTRY_VERIFY_WITH_TIMEOUT(!w.worker().busy(), 20000);
    QCOMPARE(w.progr()->windowTitle(), QStringLiteral("read Hardware data"));
    QCOMPARE(rig.takeBox(),
             QStringLiteral("!Action cancelled!|Check the dataconnection and try again!"));
    QVERIFY(rig.ctx().record == startRecord());
    QVERIFY(!w.hardware()->isVisible() && !w.progr()->isVisible());
    QVERIFY(rig.action("mnupara")->isEnabled());
}

void DeviceCommandsTest::aFailedReadBackLeavesTheRecord() {
    sim::Options garbled;
    garbled.garbleEcho = true;
    Rig rig(garbled);
    frmMain& w = rig.open();
    rig.ctx().record = recordFor2A5D();
    const Record edited = rig.ctx().record;
    // The box comes over the log, which still shows what was sent; the log closes after it.
    QStringList logUnderTheBox;
    rig.whileBox = [&] {
        auto* list = w.progr()->findChild<QListWidget*>("List1");
        for (int i = 0; w.progr()->isVisible() && i < list->count(); ++i)
            logUnderTheBox << list->item(i)->text();
    };
    rig.runToEnd("mnudaten");
    QVERIFY(rig.ctx().record == edited);
    QCOMPARE(rig.takeBox(), QStringLiteral("!Aktion abgebrochen!|Überprüfen Sie die "
                                           "Datenverbindung und versuchen Sie es nochmals!"));
    QCOMPARE(logUnderTheBox.value(0), QStringLiteral("-0-t"));
    QVERIFY(!w.progr()->isVisible());
}

void DeviceCommandsTest::aWrongTransducerStoresNothing() {
    // A sound link to a 2A/5D, but the record is for a 3A unit: no classes, nothing stored.
    Rig rig;
    rig.open();
    rig.ctx().record = recordFor2A5D();
    rig.ctx().record.Anzahl_Analog = 3;
    const Record wrong = rig.ctx().record;
    rig.runToEnd("mnuprogr");
    QCOMPARE(rig.takeBox(), QStringLiteral("!Aktion abgebrochen!|falscher Messumformer!!"));
    QVERIFY(rig.ctx().record == wrong);
    QVERIFY(rig.device.storedData(1).empty());
}

QTEST_MAIN(DeviceCommandsTest)
#include "device_commands_test.moc"
