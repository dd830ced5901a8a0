// The main window driven like a user would: menus, toolbar, status bar, settings, the hardware
// window, file commands, and device sequences against the in-process simulated transducer.

#include <QAction>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>

#include <memory>
#include <optional>
#include <vector>

#include "link/ui/hardware_window.h"
#include "platform/qt/qt_settings_store.h"
#include "shell/app_context.h"
#include "shell/ui/aux_windows.h"
#include "shell/ui/main_window.h"
#include "sim/simulated_port.h"
#include "sim/transducer.h"

using namespace kalvo;

namespace {

class CapturedMessages final : public MessagePresenter {
  public:
    void show(QWidget*, const MessageText& message) override { shown.push_back(message); }
    std::vector<MessageText> shown;
};

class ScriptedFiles final : public FileDialogs {
  public:
    std::string openFile(QWidget*, const std::string& title,
                         const std::vector<std::string>& filters) override {
        lastTitle = title;
        lastFilters = filters;
        return next;
    }
    std::string saveFile(QWidget*, const std::string& title, const std::string& presetName,
                         const std::vector<std::string>& filters) override {
        lastTitle = title;
        lastPreset = presetName;
        lastFilters = filters;
        return next;
    }
    std::string next;
    std::string lastTitle;
    std::string lastPreset;
    std::vector<std::string> lastFilters;
};

// One main window with its own settings file, a simulated transducer and captured boxes.
struct Rig {
    explicit Rig(sim::Options options = {}, const QString& iniName = QStringLiteral("k.ini"))
        : device(std::move(options)) {
        iniPath = dir.filePath(iniName).toStdString();
        store = std::make_unique<QtSettingsStore>(iniPath);
    }
    frmMain& open() {
        window = std::make_unique<frmMain>(
            context, *store, [this](int, const std::atomic<bool>* cancel) {
                return std::make_unique<sim::SimulatedPort>(device, simClock, cancel);
            });
        window->setMessagePresenter(&messages);
        window->setFileDialogs(&files);
        return *window;
    }
    QAction* action(const QString& name) const {
        QAction* a = window->findChild<QAction*>(name);
        if (a == nullptr) qWarning("no action %s", qPrintable(name));
        return a;
    }
    QString panel(int n) const {
        return window->findChild<QLabel*>(QStringLiteral("sbStatusBar_%1").arg(n))->text();
    }
    QString menuTitle(const QString& name) const {
        return window->findChild<QMenu*>(name)->title();
    }

    QTemporaryDir dir;
    std::string iniPath;
    std::unique_ptr<QtSettingsStore> store;
    SystemClock simClock;
    sim::Transducer device;
    AppContext context;
    CapturedMessages messages;
    ScriptedFiles files;
    std::unique_ptr<frmMain> window;
};

// A record for the simulator's default variant (2A/5D, 120 V / 1.2 A) with its default
// configuration, but classes left at the start-up values, as an edited record would be.
Record recordFor2A5D() {
    Record r = newProject(2, 5, 120, 1.2);
    r.setMaxSpannung(600);
    r.Max_Strom = 5;
    return r;
}

const QStringList kDeviceCommands = {"mnupara",
                                     "mnuprogr",
                                     "mnudaten",
                                     "mnufile_0",
                                     "mnufile_1",
                                     "mnucom_1",
                                     "mnucom_8",
                                     "tbToolBar_Programmieren",
                                     "tbToolBar_Daten auslesen",
                                     "tbToolBar_Parametrieren",
                                     "tbToolBar_Neu",
                                     "tbToolBar_Öffnen"};

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void startsWithDefaults();
    void languageSwitchRewritesMenusAndToolTips();
    void rs485ChangesOnlyPanelTwoAndStoredValue();
    void comChoiceUpdatesPanelAndStoredPort();
    void settingsRoundTrip();
    void minimizedCloseWritesNothing();
    void statusBarClickSizesProgr();
    void toolbarAndStatusBarToggles();
    void laterCommandsAreDisabled();
    void deviceCommandDisablesOthersWhileRunning();
    void programmingTheSimulatorFromTheWindow();
    void programmingWithoutConfigurationDoesNothing();
    void failedReadBackLeavesRecordUntouched();
    void newThenManualHardwareChoice();
    void automaticDetectionReadsTheSimulator();
    void failedDetectionKeepsHardwareUnknown();
    void programmingTheWrongTransducerIsRefused();
    void doubleClickAcceptsHardwareChoice();
    void openMalformedFileLeavesRecordUnchanged();
    void saveThenOpenRestoresRecord();
    void closingDuringSequenceIsPrompt();
};

void MainWindowTest::startsWithDefaults() {
    Rig rig;
    frmMain& w = rig.open();
    QCOMPARE(w.windowTitle(), QStringLiteral("Kalvo       TXR 3.0"));
    QCOMPARE(rig.panel(1), QStringLiteral("COM 1"));
    QCOMPARE(rig.panel(2), QStringLiteral("RS-232"));
    QCOMPARE(rig.panel(3), QStringLiteral("Adr. 0"));
    QVERIFY(!rig.panel(4).isEmpty());
    QVERIFY(rig.panel(5).contains(QLatin1Char(':')));
    QVERIFY(rig.action("mnucom_1")->isChecked());
    QVERIFY(rig.action("mnurs_232")->isChecked());
    QVERIFY(!rig.action("mnurs_485")->isChecked());
    for (const char* off : {"mnufile_3", "mnufile_4", "mnufile_7", "tbToolBar_Speichern"}) {
        QVERIFY2(!rig.action(off)->isEnabled(), off);
    }
    QVERIFY(rig.action("mnufile_2")->isSeparator());
    QVERIFY(rig.action("tr1")->isSeparator());
    QVERIFY(rig.action("mnuFileBar3")->isSeparator());
    QVERIFY(rig.action("mnuViewToolbar")->isChecked());
    QVERIFY(rig.action("mnuViewStatusBar")->isChecked());
    QVERIFY(!rig.action("mnueinstell")->isVisible());
    // 7500 x 6500 twips at 1000/1000 twips; 15 twips per pixel at 96 dpi.
    if (w.logicalDpiX() == 96) {
        QCOMPARE(w.size(), QSize(500, 433));
        QCOMPARE(w.pos(), QPoint(67, 67));
    }
    QCOMPARE(rig.context.record.Anzahl_Analog, 0);
    QCOMPARE(rig.context.record.Anzahl_Binaer, 0);
    QCOMPARE(rig.context.record.Max_Spannung, 600.0);
    QCOMPARE(rig.context.record.Max_Strom, 5.0);
    QCOMPARE(rig.context.Geraeteadresse, std::string("0"));
    QVERIFY(!rig.context.Sprache);
    // German captions after the load.
    QCOMPARE(rig.menuTitle("mnuFile1"), QStringLiteral("&Datei"));
    QCOMPARE(rig.action("mnufile_1")->text(), QStringLiteral("Ö&ffnen"));
}

void MainWindowTest::languageSwitchRewritesMenusAndToolTips() {
    Rig rig;
    frmMain& w = rig.open();
    Meldung* notice = w.meldung();  // exists before the change: must follow it too
    rig.action("tbToolBar_Englisch")->trigger();
    QVERIFY(rig.context.Sprache);

    QCOMPARE(rig.menuTitle("mnuFile1"), QStringLiteral("File"));
    QCOMPARE(rig.menuTitle("mnubearb"), QStringLiteral("Edit"));
    QCOMPARE(rig.menuTitle("mnuView"), QStringLiteral("attitudes"));
    QCOMPARE(rig.menuTitle("mnumessen"), QStringLiteral("&measure"));
    const std::pair<const char*, const char*> english[] = {{"mnufile_0", "New"},
                                                           {"mnufile_1", "Open"},
                                                           {"mnufile_3", "Save"},
                                                           {"mnufile_4", "Save As"},
                                                           {"mnufile_7", "Print"},
                                                           {"mnufile_9", "E&xit"},
                                                           {"mnupara", "Configuration"},
                                                           {"mnuprogr", "programming"},
                                                           {"mnudaten", "read data"},
                                                           {"mnudirekt", "direct input"},
                                                           {"mnustand", "standard address"},
                                                           {"mnuadr", "change address"},
                                                           {"mnuViewToolbar", "Toolbar"},
                                                           {"mnuViewStatusBar", "StatusBar"},
                                                           {"mnumess", "&measure"}};
    for (const auto& [name, text] : english) {
        QCOMPARE(rig.action(name)->text(), QString::fromUtf8(text));
    }
    // Items no text routine touches keep their design captions.
    QCOMPARE(rig.menuTitle("mnucomm"), QStringLiteral("&Com"));
    QCOMPARE(rig.menuTitle("mnuss"), QStringLiteral("&RS-232 / RS-485"));
    QCOMPARE(rig.menuTitle("mnuHelp"), QStringLiteral("&?"));
    QCOMPARE(rig.action("mnuHelpAbout")->text(), QStringLiteral("Inf&o "));
    QCOMPARE(rig.action("mnucom_3")->text(), QStringLiteral("&COM3"));
    QCOMPARE(rig.action("mnueinstell")->text(), QStringLiteral("&Einstellungen"));

    const QList<QAction*> buttons = w.findChild<QToolBar*>("tbToolBar")->actions();
    QCOMPARE(buttons.size(), 14);
    const char* tipsEn[] = {"New",
                            "Open",
                            "Save",
                            nullptr,
                            "Print Configuration",
                            nullptr,
                            "Configuration",
                            "values measured indicate",
                            nullptr,
                            "read data",
                            "programming",
                            nullptr,
                            "German",
                            "English"};
    for (int i = 0; i < 14; ++i) {
        if (tipsEn[i] == nullptr) {
            QVERIFY2(buttons[i]->isSeparator(), qPrintable(QString::number(i + 1)));
        } else {
            QCOMPARE(buttons[i]->toolTip(), QString::fromUtf8(tipsEn[i]));
        }
    }
    QCOMPARE(notice->windowTitle(), QStringLiteral("Note!!"));
    QCOMPARE(notice->findChild<QLabel*>("lblM14")->text(), QStringLiteral("were put back,"));
    QCOMPARE(notice->findChild<QPushButton*>("Command1")->text(), QStringLiteral("continue"));

    rig.action("tbToolBar_Deutsch")->trigger();
    QVERIFY(!rig.context.Sprache);
    QCOMPARE(rig.menuTitle("mnuFile1"), QStringLiteral("&Datei"));
    QCOMPARE(rig.action("mnufile_9")->text(), QStringLiteral("&Beenden"));
    QCOMPARE(rig.action("mnuadr")->text(), QStringLiteral("&Adresse ändern"));
    const char* tipsDe[] = {"Neu",
                            "Öffnen",
                            "Speichern",
                            nullptr,
                            "Parametrierung Drucken",
                            nullptr,
                            "Parametrieren",
                            "Messwerte anzeigen",
                            nullptr,
                            "Daten auslesen",
                            "Programmieren",
                            nullptr,
                            "Deutsch",
                            "Englisch"};
    for (int i = 0; i < 14; ++i) {
        if (tipsDe[i] != nullptr) QCOMPARE(buttons[i]->toolTip(), QString::fromUtf8(tipsDe[i]));
    }
    QCOMPARE(notice->findChild<QLabel*>("lblM14")->text(),
             QStringLiteral("wurden zurückgesetzt,,"));
    QCOMPARE(notice->findChild<QLabel*>("lblM12")->text(),
             QStringLiteral("Die Grundeinstellungen wurden geändert !!"));
}

void MainWindowTest::rs485ChangesOnlyPanelTwoAndStoredValue() {
    Rig rig;
    rig.open();
    rig.action("mnurs_485")->trigger();
    QCOMPARE(rig.panel(1), QStringLiteral("COM 1"));
    QCOMPARE(rig.panel(2), QStringLiteral("RS-485"));
    QCOMPARE(rig.panel(3), QStringLiteral("Adr. 0"));
    QVERIFY(rig.action("mnurs_485")->isChecked());
    QVERIFY(!rig.action("mnurs_232")->isChecked());
    QVERIFY(rig.action("mnucom_1")->isChecked());
    rig.window->close();
    QCOMPARE(rig.store->get("RS"), std::optional<std::string>("485"));
    QCOMPARE(rig.store->get("COM"), std::optional<std::string>("1"));
    QCOMPARE(rig.store->get("Adr"), std::optional<std::string>("0"));
    QCOMPARE(rig.store->get("Sprache"), std::optional<std::string>("False"));
}

void MainWindowTest::comChoiceUpdatesPanelAndStoredPort() {
    Rig rig;
    rig.open();
    rig.action("mnucom_4")->trigger();
    QCOMPARE(rig.panel(1), QStringLiteral("COM 4"));
    QVERIFY(rig.action("mnucom_4")->isChecked());
    QVERIFY(!rig.action("mnucom_1")->isChecked());
    QCOMPARE(rig.panel(2), QStringLiteral("RS-232"));
    rig.window->close();
    QCOMPARE(rig.store->get("COM"), std::optional<std::string>("4"));
}

void MainWindowTest::settingsRoundTrip() {
    Rig rig;
    rig.store->set("MainLeft", "1500");
    rig.store->set("MainTop", "900");
    rig.store->set("MainWidth", "9000");
    rig.store->set("MainHeight", "7200");
    rig.store->set("COM", "3");
    rig.store->set("RS", "485");
    rig.store->set("Adr", "7");
    rig.store->set("Sprache", "True");
    frmMain& w = rig.open();
    QCOMPARE(rig.panel(1), QStringLiteral("COM 3"));
    QCOMPARE(rig.panel(2), QStringLiteral("RS-485"));
    QCOMPARE(rig.panel(3), QStringLiteral("Adr. 7"));
    QVERIFY(rig.action("mnucom_3")->isChecked());
    QVERIFY(rig.action("mnurs_485")->isChecked());
    QVERIFY(rig.context.Sprache);
    QCOMPARE(rig.context.Geraeteadresse, std::string("7"));
    QCOMPARE(rig.menuTitle("mnuFile1"), QStringLiteral("File"));
    if (w.logicalDpiX() == 96) QCOMPARE(w.size(), QSize(600, 480));

    // Closing writes all eight values back, the geometry as it is now.
    w.resize(w.width() + 30, w.height());
    const QSize closedSize = w.size();
    const int widthTwips = (w.width() * 1440 + w.logicalDpiX() / 2) / w.logicalDpiX();
    w.close();
    for (const char* key :
         {"MainLeft", "MainTop", "MainWidth", "MainHeight", "COM", "RS", "Adr", "Sprache"}) {
        QVERIFY2(rig.store->get(key).has_value(), key);
    }
    QCOMPARE(rig.store->get("MainWidth"), std::optional<std::string>(std::to_string(widthTwips)));
    QCOMPARE(rig.store->get("COM"), std::optional<std::string>("3"));
    QCOMPARE(rig.store->get("RS"), std::optional<std::string>("485"));
    QCOMPARE(rig.store->get("Adr"), std::optional<std::string>("7"));
    QCOMPARE(rig.store->get("Sprache"), std::optional<std::string>("True"));

    // The next start comes back the same way.
    rig.window.reset();
    AppContext second;
    frmMain again(second, *rig.store,
                  [](int, const std::atomic<bool>*) { return std::unique_ptr<SerialPort>(); });
    QCOMPARE(again.size(), closedSize);
    QVERIFY(second.Sprache);
}

void MainWindowTest::minimizedCloseWritesNothing() {
    Rig rig;
    frmMain& w = rig.open();
    w.showMinimized();
    QVERIFY(w.isMinimized());
    rig.action("mnurs_485")->trigger();
    rig.action("mnufile_9")->trigger();  // Beenden
    for (const char* key :
         {"MainLeft", "MainTop", "MainWidth", "MainHeight", "COM", "RS", "Adr", "Sprache"}) {
        QVERIFY2(!rig.store->get(key).has_value(), key);
    }
}

void MainWindowTest::statusBarClickSizesProgr() {
    Rig rig;
    frmMain& w = rig.open();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    Progr* progr = w.progr();
    progr->resize(100, 80);
    QVERIFY(!progr->isVisible());
    QTest::mouseClick(w.findChild<QLabel*>("sbStatusBar_4"), Qt::LeftButton);
    const int dpi = w.logicalDpiX();
    QCOMPARE(progr->size(), QSize((8550 * dpi + 720) / 1440, (6000 * dpi + 720) / 1440));
    QVERIFY(!progr->isVisible());
    progr->resize(100, 80);
    QTest::mouseClick(w.findChild<QLabel*>("sbStatusBar_1"), Qt::LeftButton);
    QCOMPARE(progr->width(), (8550 * dpi + 720) / 1440);
}

void MainWindowTest::toolbarAndStatusBarToggles() {
    Rig rig;
    frmMain& w = rig.open();
    w.show();
    auto* bar = w.findChild<QToolBar*>("tbToolBar");
    QVERIFY(bar->isVisible());
    rig.action("mnuViewToolbar")->trigger();
    QVERIFY(!rig.action("mnuViewToolbar")->isChecked());
    QVERIFY(!bar->isVisible());
    rig.action("mnuViewToolbar")->trigger();
    QVERIFY(bar->isVisible());
    rig.action("mnuViewStatusBar")->trigger();
    QVERIFY(!w.statusBar()->isVisible());
    rig.action("mnuViewStatusBar")->trigger();
    QVERIFY(w.statusBar()->isVisible());
}

void MainWindowTest::laterCommandsAreDisabled() {
    Rig rig;
    rig.open();
    for (const char* name :
         {"mnudirekt", "mnustand", "mnuadr", "mnumess", "mnueinstell", "mnuHelpAbout", "mnufile_7",
          "tbToolBar_Messen", "tbToolBar_Drucken"}) {
        QVERIFY2(!rig.action(name)->isEnabled(), name);
    }
}

void MainWindowTest::deviceCommandDisablesOthersWhileRunning() {
    sim::Options slow;
    slow.replyDelay = Millis{400};
    Rig rig(slow);
    frmMain& w = rig.open();
    w.show();
    rig.action("mnudaten")->trigger();
    QVERIFY(w.worker().busy());
    for (const QString& name : kDeviceCommands) {
        QVERIFY2(!rig.action(name)->isEnabled(), qPrintable(name));
    }
    Progr* progr = w.progr();
    QVERIFY(progr->isVisible());
    QCOMPARE(progr->windowTitle(), QStringLiteral("Daten Messumformer werden ausgelesen"));
    QCOMPARE(progr->findChild<QLabel*>("Image1")->property("picture").toInt(), 0);
    // The window keeps handling events: the log fills while the sequence waits.
    auto* log = progr->findChild<QListWidget*>("List1");
    QTRY_VERIFY_WITH_TIMEOUT(log->count() > 0, 20000);
    QVERIFY(w.worker().busy());
    // A second start while busy is refused, even called directly: the log stays.
    const int lines = log->count();
    rig.context.record = recordFor2A5D();
    w.mnuprogr_Click();
    w.mnucom_Click(5);
    QCOMPARE(progr->windowTitle(), QStringLiteral("Daten Messumformer werden ausgelesen"));
    QVERIFY(log->count() >= lines);
    QCOMPARE(rig.panel(1), QStringLiteral("COM 1"));
    QTRY_VERIFY_WITH_TIMEOUT(!w.worker().busy(), 60000);
    for (const QString& name : kDeviceCommands) {
        QVERIFY2(rig.action(name)->isEnabled(), qPrintable(name));
    }
    QVERIFY(!progr->isVisible());
}

void MainWindowTest::programmingTheSimulatorFromTheWindow() {
    Rig rig;
    frmMain& w = rig.open();
    w.show();
    rig.context.record = recordFor2A5D();
    const Record before = rig.context.record;
    rig.action("tbToolBar_Programmieren")->trigger();
    QVERIFY(w.progr()->isVisible());
    QCOMPARE(w.progr()->windowTitle(), QStringLiteral("Messumformer wird programmiert"));
    QTRY_VERIFY_WITH_TIMEOUT(!w.worker().busy(), 60000);

    QCOMPARE(rig.messages.shown.size(), std::size_t{1});
    const MessageText& done = rig.messages.shown.front();
    QCOMPARE(done.title, std::string("Information"));
    QCOMPARE(done.text, std::string("Programmierung erfolgreich abgeschlossen!"));
    QVERIFY(!done.critical);
    QVERIFY(!w.progr()->isVisible());
    // The device's classes reach the record; the configuration itself is unchanged.
    QCOMPARE(rig.context.record.Max_Spannung, 120.0);
    QCOMPARE(rig.context.record.Max_Strom, 1.2);
    QCOMPARE(rig.context.record.Grundwerte, before.Grundwerte);
    QCOMPARE(rig.context.record.Analogwerte, before.Analogwerte);
    // The device holds the data copy now.
    QVERIFY(!rig.device.storedData(1).empty());

    // Read back in English: the record comes back from the device.
    rig.action("tbToolBar_Englisch")->trigger();
    rig.context.record.Grundwerte[1] = Cell("60");
    rig.action("mnudaten")->trigger();
    QCOMPARE(w.progr()->windowTitle(), QStringLiteral("read data transducers "));
    QTRY_VERIFY_WITH_TIMEOUT(!w.worker().busy(), 60000);
    QCOMPARE(rig.messages.shown.size(), std::size_t{1});
    QCOMPARE(rig.context.record.Grundwerte[1].toNumber(), 50.0);
    QCOMPARE(rig.context.record.Anzahl_Analog, 2);
    QCOMPARE(rig.context.record.Anzahl_Binaer, 5);
}

void MainWindowTest::programmingWithoutConfigurationDoesNothing() {
    Rig rig;
    frmMain& w = rig.open();
    rig.action("mnuprogr")->trigger();
    QVERIFY(!w.worker().busy());
    QVERIFY(rig.messages.shown.empty());
    QVERIFY(rig.device.frames().empty());
}

void MainWindowTest::failedReadBackLeavesRecordUntouched() {
    sim::Options garbled;
    garbled.garbleEcho = true;
    Rig rig(garbled);
    frmMain& w = rig.open();
    rig.context.record = recordFor2A5D();
    rig.context.record.Grundwerte[1] = Cell("60");
    const Record before = rig.context.record;
    rig.action("mnudaten")->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(!w.worker().busy(), 60000);
    QVERIFY(rig.context.record == before);
    QCOMPARE(rig.messages.shown.size(), std::size_t{1});
    QCOMPARE(rig.messages.shown[0].title, std::string("Aktion abgebrochen!"));
    QCOMPARE(rig.messages.shown[0].text,
             std::string("Überprüfen Sie die Datenverbindung und versuchen Sie es nochmals!"));
    QVERIFY(rig.messages.shown[0].critical);
    QVERIFY(!w.progr()->isVisible());
}

void MainWindowTest::newThenManualHardwareChoice() {
    Rig rig;
    frmMain& w = rig.open();
    w.show();
    rig.context.record.setMaxSpannung(120);
    rig.context.record.Max_Strom = 1.2;
    rig.context.Ruecksetzmeldung_aus = false;
    rig.action("mnufile_0")->trigger();
    QVERIFY(rig.context.Ruecksetzmeldung_aus);
    QCOMPARE(rig.context.record.Max_Spannung, 600.0);
    QCOMPARE(rig.context.record.Max_Strom, 5.0);
    Hardware* hw = w.hardware();
    QVERIFY(hw->isVisible());
    QCOMPARE(hw->windowTitle(), QStringLiteral("Hardware-Typ"));
    auto* list = hw->findChild<QListWidget*>("List1");
    QCOMPARE(list->count(), 13);
    QCOMPARE(list->currentRow(), 0);
    QCOMPARE(list->item(0)->text(), QStringLiteral("TXR 3.0 auto"));
    QCOMPARE(list->item(12)->text(), QStringLiteral("TXR 3.0 4A/9D"));

    // The classes a manual choice leaves alone: set them between New and OK.
    rig.context.record.setMaxSpannung(100);
    rig.context.record.Max_Strom = 1;
    list->setCurrentRow(7);
    QCOMPARE(list->currentItem()->text(), QStringLiteral("TXR 3.0 3A/5D"));
    hw->findChild<QPushButton*>("OK_Hardware_Type")->click();
    QVERIFY(!hw->isVisible());
    QVERIFY(!w.worker().busy());
    QCOMPARE(rig.context.record.Anzahl_Analog, 3);
    QCOMPARE(rig.context.record.Anzahl_Binaer, 5);
    QCOMPARE(rig.context.record.Max_Spannung, 100.0);
    QCOMPARE(rig.context.record.Max_Strom, 1.0);
    // The record holds the defaults of the new hardware.
    QCOMPARE(rig.context.record.Grundwerte[2].toNumber(), 50.0);
    QCOMPARE(rig.context.record.Grundwerte[5].toNumber(), 1.0);
    QVERIFY(!rig.action("mnufile_3")->isEnabled());
    QVERIFY(rig.device.frames().empty());

    // Hardware known: Parametrieren shows the record instead of asking again.
    rig.action("mnupara")->trigger();
    QVERIFY(!hw->isVisible());
    Überwachung* view = w.ueberwachung();
    QVERIFY(view->isVisible());
    QCOMPARE(view->findChild<QListWidget*>("List2_1")->count(), 8);
    QCOMPARE(view->findChild<QListWidget*>("List2_1")->item(1)->text(), QStringLiteral("50"));
    view->findChild<QPushButton*>("Command1")->click();
    QVERIFY(!view->isVisible());

    // Cancel leaves everything as it was.
    rig.action("mnufile_0")->trigger();
    QVERIFY(hw->isVisible());
    hw->findChild<QPushButton*>("Abbruch_Hardware_Type")->click();
    QVERIFY(!hw->isVisible());
    QCOMPARE(rig.context.record.Anzahl_Analog, 3);
}

void MainWindowTest::automaticDetectionReadsTheSimulator() {
    Rig rig;
    frmMain& w = rig.open();
    w.show();
    rig.action("mnupara")->trigger();  // hardware unknown: the selection window
    Hardware* hw = w.hardware();
    QVERIFY(hw->isVisible());
    hw->findChild<QListWidget*>("List1")->clearSelection();
    hw->findChild<QPushButton*>("OK_Hardware_Type")->click();  // no selection = auto
    QVERIFY(w.worker().busy());
    QCOMPARE(w.progr()->windowTitle(), QStringLiteral("Hardware Daten werden ausgelesen"));
    QCOMPARE(w.progr()->findChild<QLabel*>("Image1")->property("picture").toInt(), 1);
    QTRY_VERIFY_WITH_TIMEOUT(!w.worker().busy(), 60000);
    QVERIFY(rig.messages.shown.empty());
    QCOMPARE(rig.context.record.Anzahl_Analog, 2);
    QCOMPARE(rig.context.record.Anzahl_Binaer, 5);
    QCOMPARE(rig.context.record.Max_Spannung, 120.0);
    QCOMPARE(rig.context.record.Max_Strom, 1.2);
    QVERIFY(std::abs(rig.context.record.Max_Spannung_LN - 69.282) < 0.001);
    QCOMPARE(rig.context.record.Grundwerte[2].toNumber(), 60.0);
}

void MainWindowTest::failedDetectionKeepsHardwareUnknown() {
    sim::Options garbled;
    garbled.garbleEcho = true;
    Rig rig(garbled);
    frmMain& w = rig.open();
    rig.action("tbToolBar_Englisch")->trigger();
    rig.action("tbToolBar_Parametrieren")->trigger();
    w.hardware()->findChild<QPushButton*>("OK_Hardware_Type")->click();
    QCOMPARE(w.progr()->windowTitle(), QStringLiteral("read Hardware data"));
    QTRY_VERIFY_WITH_TIMEOUT(!w.worker().busy(), 60000);
    QCOMPARE(rig.messages.shown.size(), std::size_t{1});
    QCOMPARE(rig.messages.shown[0].title, std::string("Action cancelled!"));
    QCOMPARE(rig.messages.shown[0].text, std::string("Check the dataconnection and try again!"));
    QCOMPARE(rig.context.record.Anzahl_Analog, 0);
    QCOMPARE(rig.context.record.Anzahl_Binaer, 0);
    QVERIFY(!w.hardware()->isVisible());
    QVERIFY(!w.progr()->isVisible());
    QVERIFY(rig.action("mnupara")->isEnabled());
}

void MainWindowTest::programmingTheWrongTransducerIsRefused() {
    Rig rig;  // the simulator is a 2A/5D
    frmMain& w = rig.open();
    Record r = recordFor2A5D();
    r.Anzahl_Analog = 3;
    rig.context.record = r;
    rig.action("mnuprogr")->trigger();
    QTRY_VERIFY_WITH_TIMEOUT(!w.worker().busy(), 60000);
    QCOMPARE(rig.messages.shown.size(), std::size_t{1});
    QCOMPARE(rig.messages.shown[0].title, std::string("Aktion abgebrochen!"));
    QCOMPARE(rig.messages.shown[0].text, std::string("falscher Messumformer!!"));
    QVERIFY(rig.context.record == r);  // no classes applied
    QVERIFY(rig.device.storedData(1).empty());
}

void MainWindowTest::doubleClickAcceptsHardwareChoice() {
    Rig rig;
    frmMain& w = rig.open();
    rig.action("mnufile_0")->trigger();
    auto* list = w.hardware()->findChild<QListWidget*>("List1");
    list->setCurrentRow(12);
    emit list->itemDoubleClicked(list->item(12));
    QVERIFY(!w.hardware()->isVisible());
    QCOMPARE(rig.context.record.Anzahl_Analog, 4);
    QCOMPARE(rig.context.record.Anzahl_Binaer, 9);
}

void MainWindowTest::openMalformedFileLeavesRecordUnchanged() {
    Rig rig;
    frmMain& w = rig.open();
    rig.context.record = recordFor2A5D();
    const Record before = rig.context.record;
    const QString path = rig.dir.filePath("broken.cfg");
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("\x08\x00\x30\x00[Typ]\r\n7\r\nnot a number\r\n", 30);
    }
    rig.files.next = path.toStdString();
    rig.action("mnufile_1")->trigger();
    QCOMPARE(rig.files.lastTitle, std::string("Projekt Laden "));
    QCOMPARE(rig.files.lastFilters,
             (std::vector<std::string>{"Konfigurationsdateien (*.cfg)", "Alle Dateien (*.*)"}));
    QVERIFY(rig.context.record == before);
    QCOMPARE(rig.messages.shown.size(), std::size_t{1});
    QVERIFY(rig.messages.shown[0].critical);
    QVERIFY(QString::fromStdString(rig.messages.shown[0].text).contains(path));
    QVERIFY(!rig.action("mnufile_3")->isEnabled());
    QVERIFY(!w.findChild<QProgressBar*>("ProgressBar1")->isVisible());

    // A file that does not exist: same, in English.
    rig.action("tbToolBar_Englisch")->trigger();
    rig.files.next = rig.dir.filePath("missing.cfg").toStdString();
    rig.action("mnufile_1")->trigger();
    QVERIFY(rig.context.record == before);
    QCOMPARE(rig.messages.shown.size(), std::size_t{2});
    QVERIFY(QString::fromStdString(rig.messages.shown[1].text).contains("missing.cfg"));
    QVERIFY(QString::fromStdString(rig.messages.shown[1].text).contains("could not"));

    // Cancelled dialog: nothing happens.
    rig.files.next.clear();
    rig.action("mnufile_1")->trigger();
    QCOMPARE(rig.messages.shown.size(), std::size_t{2});
}

void MainWindowTest::saveThenOpenRestoresRecord() {
    Rig rig;
    frmMain& w = rig.open();
    Q_UNUSED(w);
    rig.context.record = recordFor2A5D();
    rig.context.record.Grundwerte[1] = Cell("60");
    const QString path = rig.dir.filePath("project.cfg");
    rig.files.next = path.toStdString();
    rig.window->mnufile_Click(3);
    QCOMPARE(rig.files.lastTitle, std::string("Speichern von Projekt"));
    QCOMPARE(rig.files.lastPreset, std::string("kalvo.cfg"));
    QCOMPARE(rig.files.lastFilters,
             (std::vector<std::string>{"Konfigurationsdadateien (*.cfg)", "Alle Dateien (*.*)"}));
    QVERIFY(rig.messages.shown.empty());
    QVERIFY(QFile::exists(path));
    rig.window->mnufile_Click(4);
    QCOMPARE(rig.files.lastTitle, std::string("Speichern von Projekt unter"));
    QCOMPARE(rig.files.lastPreset, std::string());

    rig.context.record = startRecord();
    rig.action("mnufile_1")->trigger();
    QVERIFY(rig.messages.shown.empty());
    QCOMPARE(rig.context.record.Anzahl_Analog, 2);
    QCOMPARE(rig.context.record.Anzahl_Binaer, 5);
    QCOMPARE(rig.context.record.Grundwerte[1].toNumber(), 60.0);
    QVERIFY(!rig.context.Ruecksetzmeldung_aus);
    QVERIFY(rig.action("mnufile_3")->isEnabled());
    QVERIFY(rig.action("mnufile_4")->isEnabled());
    QVERIFY(rig.action("tbToolBar_Speichern")->isEnabled());

    // Saving into a folder that does not exist reports it and names the file.
    rig.files.next = rig.dir.filePath("no/such/dir/x.cfg").toStdString();
    rig.window->mnufile_Click(4);
    QCOMPARE(rig.messages.shown.size(), std::size_t{1});
    QVERIFY(QString::fromStdString(rig.messages.shown[0].text).contains("x.cfg"));
}

void MainWindowTest::closingDuringSequenceIsPrompt() {
    sim::Options silent;
    silent.silent = true;
    Rig rig(silent);
    frmMain& w = rig.open();
    w.show();
    rig.action("mnudaten")->trigger();
    QVERIFY(w.worker().busy());
    QTest::qWait(300);
    QElapsedTimer timer;
    timer.start();
    w.close();
    rig.window.reset();  // joins the device thread
    QVERIFY2(timer.elapsed() < 5000, qPrintable(QString::number(timer.elapsed())));
    QVERIFY(rig.messages.shown.empty());
}

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
