// The main window driven like a user would: menus, toolbar, status bar, settings, the hardware
// window, file commands, and device sequences against the in-process simulated transducer.
// Sequences run in virtual time unless the test needs one to be still running.

#include <QAbstractButton>
#include <QAction>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>

#include <memory>
#include <vector>

#include "link/ui/hardware_window.h"
#include "platform/qt/qt_settings_store.h"
#include "shell/session.h"
#include "shell/ui/aux_windows.h"
#include "shell/ui/main_window.h"
#include "sim/simulated_port.h"
#include "sim/transducer.h"
#include "support/fakes.h"
#include "text/captions.h"

using namespace kalvo;

namespace {

// One main window with its own settings file, a simulated transducer, and its boxes and file
// dialogs answered here.
struct Rig final : MessagePresenter, FileDialogs {
    explicit Rig(sim::Options options = {}, bool realTime = false)
        : realTime(realTime), device(std::move(options)) {}
    frmMain& open() {
        // The device thread's clock, used only there: virtual time unless asked otherwise.
        std::unique_ptr<Clock> owned = realTime ? std::unique_ptr<Clock>(new SystemClock)
                                                : std::make_unique<test::FakeClock>();
        Clock* clock = owned.get();
        session = std::make_unique<Session>(store, '.');
        window = std::make_unique<frmMain>(
            *session,
            [this, clock](int, const std::atomic<bool>* cancel) {
                return std::make_unique<sim::SimulatedPort>(device, *clock, cancel);
            },
            std::move(owned));
        window->setMessagePresenter(this);
        window->setFileDialogs(this);
        return *window;
    }
    void show(QWidget*, const MessageText& message) override { boxes.push_back(message); }
    std::string openFile(QWidget*, const std::string& title,
                         const std::vector<std::string>& filters) override {
        return saveFile(nullptr, title, "-", filters);
    }
    std::string saveFile(QWidget*, const std::string& title, const std::string& presetName,
                         const std::vector<std::string>& filters) override {
        asked = QString::fromStdString(title + "|" + presetName);
        for (const auto& f : filters) asked += QString::fromStdString("|" + f);
        return nextFile;
    }

    QAction* action(const QString& name) const {
        QAction* a = window->findChild<QAction*>(name);
        if (a == nullptr) qFatal("no action %s", qPrintable(name));
        return a;
    }
    // The names among `names` whose action has the property.
    QStringList where(const QString& names, bool (QAction::*is)() const) const {
        QStringList out;
        for (const QString& n : names.split('|'))
            if ((action(n)->*is)()) out << n;
        return out;
    }
    QString panel(int n) const {
        return window->findChild<QLabel*>(QStringLiteral("sbStatusBar_%1").arg(n))->text();
    }
    QString panels() const { return panel(1) + '|' + panel(2) + '|' + panel(3); }
    void runToEnd(const char* command) {
        action(command)->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(!window->worker().busy(), 20000);
    }
    // The one box shown since the last call as "title|text", "!" first when critical.
    QString takeBox() {
        const auto shown = std::exchange(boxes, {});
        if (shown.size() != 1) return QStringLiteral("%1 boxes").arg(shown.size());
        return QString::fromStdString((shown[0].critical ? "!" : "") + shown[0].title + "|" +
                                      shown[0].text);
    }

    QTemporaryDir dir;
    QtSettingsStore store{dir.filePath("k.ini").toStdString()};
    bool realTime;
    sim::Transducer device;
    std::unique_ptr<Session> session;  // made by open(), from the settings stored then
    AppContext& ctx() { return session->context(); }
    std::vector<MessageText> boxes;
    std::string nextFile;  // the file dialogs' answer
    QString asked;         // the last dialog: title|preset|filters..., preset "-" for Open
    std::unique_ptr<frmMain> window;
};

// The text a caption-table target ("frmMain.mnuFile1", "Meldung.lblM14", "Meldung",
// "frmMain.tbToolBar#3") shows; "?" when there is no such widget.
QString shown(frmMain& w, QString name) {
    QWidget* form = &w;
    if (name == "Meldung") return w.meldung()->windowTitle();
    if (name.startsWith("Meldung.")) form = w.meldung();
    name = name.section('.', -1);
    const auto buttons = w.findChild<QToolBar*>("tbToolBar")->actions();
    if (name.startsWith("tbToolBar#")) return buttons.at(name.mid(10).toInt() - 1)->toolTip();
    if (auto* m = form->findChild<QMenu*>(name)) return m->title();
    if (auto* a = form->findChild<QAction*>(name)) return a->text();
    if (auto* b = form->findChild<QAbstractButton*>(name)) return b->text();
    if (auto* l = form->findChild<QLabel*>(name)) return l->text();
    return QStringLiteral("?");
}

// "2A/5D 120/1.2": the variant and the classes of a record.
QString variant(const Record& r) {
    return QString::asprintf("%dA/%dD %g/%g", r.Anzahl_Analog, r.Anzahl_Binaer, r.Max_Spannung,
                             r.Max_Strom);
}

// A record for the simulator's default variant (2A/5D, 120 V / 1.2 A) with its default
// configuration, but classes left at the start-up values, as an edited record would be.
Record recordFor2A5D() {
    Record r = newProject(2, 5, 120, 1.2);
    r.Max_Spannung = 600;
    r.Max_Strom = 5;
    r.Grundwerte[1] = Cell("60");
    return r;
}

// The cells a device of the record's variant uses, as it would see them (a number and its
// text alike).
QStringList cellTexts(const Record& r) {
    QStringList out;
    auto add = [&out](const auto& cells) {
        for (const Cell& c : cells) out << QString::fromStdString(c.toText('.'));
    };
    add(r.Grundwerte);
    for (int i = 0; i < r.Anzahl_Analog; ++i) add(r.Analogwerte[i]);
    for (int i = 0; i < r.Anzahl_Binaer; ++i) add(r.Binaerwerte[i]);
    add(r.Schnittstellenwerte);
    return out;
}

const QString kDeviceCommands =
    "mnupara|mnuprogr|mnudaten|mnufile_0|mnufile_1|mnucom_1|mnucom_8|tbToolBar_Programmieren|"
    "tbToolBar_Daten auslesen|tbToolBar_Parametrieren|tbToolBar_Neu|tbToolBar_Öffnen";
const char* const kSettingKeys[] = {"MainLeft", "MainTop", "MainWidth", "MainHeight",
                                    "COM",      "RS",      "Adr",       "Sprache"};

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void startsWithDefaults();
    void captionsFollowTheLanguage();
    void portChoicesChangeTheirPanelAndStoredValue();
    void settingsRoundTrip();
    void minimizedCloseWritesNothing();
    void runningSequenceBlocksCommandsAndCloseIsPrompt();
    void programmingAndReadingBackTheSimulator();
    void failedSequencesLeaveTheRecordUnchanged();
    void hardwareChoice();
    void fileCommands();
};

void MainWindowTest::startsWithDefaults() {
    Rig rig;
    frmMain& w = rig.open();
    QCOMPARE(w.windowTitle(), QStringLiteral("Kalvo       TXR 3.0"));
    QCOMPARE(rig.panels(), QStringLiteral("COM 1|RS-232|Adr. 0"));
    QVERIFY(rig.panel(5).contains(QLatin1Char(':')));
    QCOMPARE(rig.where("mnucom_1|mnurs_232|mnurs_485|mnuViewToolbar|mnuViewStatusBar",
                       &QAction::isChecked),
             QStringList({"mnucom_1", "mnurs_232", "mnuViewToolbar", "mnuViewStatusBar"}));
    // Saving needs a record from a file or device; the rest are commands not offered yet.
    QCOMPARE(rig.where("mnufile_3|mnufile_4|mnufile_7|tbToolBar_Speichern|mnudirekt|mnustand|"
                       "mnuadr|mnumess|mnueinstell|mnuHelpAbout|tbToolBar_Messen|tbToolBar_Drucken",
                       &QAction::isEnabled),
             QStringList());
    QVERIFY(!rig.action("mnueinstell")->isVisible());
    // 7500 x 6500 twips at 1000/1000 twips; 15 twips per pixel at 96 dpi.
    if (w.logicalDpiX() == 96) QCOMPARE(w.geometry(), QRect(67, 67, 500, 433));
    QCOMPARE(variant(rig.ctx().record), QStringLiteral("0A/0D 600/5"));
    QCOMPARE(rig.ctx().Geraeteadresse, std::string("0"));
    QVERIFY(rig.ctx().language == Language::German);

    // A click on a panel gives the log window its design size (8550 x 6000 twips), unshown.
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const int dpi = w.logicalDpiX();
    for (const char* panel : {"sbStatusBar_4", "sbStatusBar_1"}) {
        w.progr()->resize(100, 80);
        QTest::mouseClick(w.findChild<QLabel*>(panel), Qt::LeftButton);
        QCOMPARE(w.progr()->size(), QSize((8550 * dpi + 720) / 1440, (6000 * dpi + 720) / 1440));
        QVERIFY(!w.progr()->isVisible());
    }
    // The view menu hides and shows the toolbar and the status bar.
    for (bool visible : {false, true}) {
        rig.action("mnuViewToolbar")->trigger();
        rig.action("mnuViewStatusBar")->trigger();
        QCOMPARE(w.findChild<QToolBar*>("tbToolBar")->isVisible(), visible);
        QCOMPARE(w.statusBar()->isVisible(), visible);
    }
}

void MainWindowTest::captionsFollowTheLanguage() {
    // Menu captions by name: German, then English. The last three are left alone by the texts.
    const QStringList names = QString(
                                  "mnuFile1|mnufile_0|mnufile_1|mnufile_3|mnufile_4|mnufile_7|"
                                  "mnufile_9|mnubearb|mnupara|mnuprogr|mnudaten|mnudirekt|"
                                  "mnuView|mnustand|mnuadr|mnuViewToolbar|mnuViewStatusBar|"
                                  "mnumessen|mnumess|mnucomm|mnuHelpAbout|mnuss")
                                  .split('|');
    const QString captions[] = {
        "&Datei|&Neu|Ö&ffnen|&Speichern|Speichern &unter...|Dru&cken...|&Beenden|&Bearbeiten|"
        "Para&metrieren|&Programmieren|&Daten auslesen|Direkt&eingabe|&Einstellungen|"
        "Standard-A&dresse|&Adresse ändern|&Symbolleiste|Status&leiste|&Messen|&Messen|&Com|"
        "Inf&o |&RS-232 / RS-485",
        "File|New|Open|Save|Save As|Print|E&xit|Edit|Configuration|programming|read data|"
        "direct input|attitudes|standard address|change address|Toolbar|StatusBar|&measure|"
        "&measure|&Com|Inf&o |&RS-232 / RS-485"};
    // Toolbar tool tips by position; empty for a separator.
    const QString tips[] = {
        "Neu|Öffnen|Speichern||Parametrierung Drucken||Parametrieren|Messwerte anzeigen||"
        "Daten auslesen|Programmieren||Deutsch|Englisch",
        "New|Open|Save||Print Configuration||Configuration|values measured indicate||read data|"
        "programming||German|English"};

    Rig rig;
    frmMain& w = rig.open();
    w.meldung();  // exists before the change: must follow it too
    const QList<QAction*> buttons = w.findChild<QToolBar*>("tbToolBar")->actions();
    for (bool english : {true, false, true}) {
        rig.action(english ? "tbToolBar_Englisch" : "tbToolBar_Deutsch")->trigger();
        QCOMPARE(rig.ctx().language, english ? Language::English : Language::German);
        QStringList shownCaptions;
        for (const QString& name : names) shownCaptions << shown(w, name);
        QCOMPARE(shownCaptions, captions[english].split('|'));
        QCOMPARE(shown(w, "Meldung.lblM14"),
                 english ? "were put back," : QString::fromUtf8("wurden zurückgesetzt,,"));
        QStringList shownTips;
        for (QAction* b : buttons) shownTips << (b->isSeparator() ? QString() : b->toolTip());
        QCOMPARE(shownTips, tips[english].split('|'));
        // Every row of the caption tables of the main window and its notice reaches its widget.
        int rows = 0;
        const Language language = english ? Language::English : Language::German;
        for (const auto& [form, table] : {std::pair{"frmMain", mainWindowCaptions()},
                                          std::pair{"Meldung", meldungCaptions()}}) {
            for (const Caption& row : table) {
                if (row.target.empty() || row.target.ends_with("@tip") ||
                    row.target.starts_with("tbToolBar"))
                    continue;
                const std::string_view text = row.text.in(language);
                QCOMPARE(shown(w, QString::fromUtf8(form) + "." +
                                      QString::fromUtf8(row.target.data(), row.target.size())),
                         QString::fromUtf8(text.data(), text.size()));
                ++rows;
            }
        }
        QVERIFY(rows >= 30);
    }
}

void MainWindowTest::portChoicesChangeTheirPanelAndStoredValue() {
    Rig rig;
    rig.open();
    rig.action("mnurs_485")->trigger();
    QCOMPARE(rig.panels(), QStringLiteral("COM 1|RS-485|Adr. 0"));
    rig.action("mnucom_4")->trigger();
    QCOMPARE(rig.panels(), QStringLiteral("COM 4|RS-485|Adr. 0"));
    QCOMPARE(rig.where("mnurs_232|mnurs_485|mnucom_1|mnucom_4", &QAction::isChecked),
             QStringList({"mnurs_485", "mnucom_4"}));
    rig.window->close();
    for (const auto& [key, value] : {std::pair{"RS", "485"}, {"COM", "4"}, {"Adr", "0"}})
        QCOMPARE(rig.store.get(key).value_or("-"), value);
    QCOMPARE(rig.store.get("Sprache").value_or("-"), "False");
}

void MainWindowTest::settingsRoundTrip() {
    Rig rig;
    const char* const values[] = {"1500", "900", "9000", "7200", "3", "485", "7", "True"};
    for (int k = 0; k < 8; ++k) rig.store.set(kSettingKeys[k], values[k]);
    frmMain& w = rig.open();
    QCOMPARE(rig.panels(), QStringLiteral("COM 3|RS-485|Adr. 7"));
    QCOMPARE(rig.where("mnucom_1|mnucom_3|mnurs_485", &QAction::isChecked),
             QStringList({"mnucom_3", "mnurs_485"}));
    QVERIFY(rig.ctx().language == Language::English);
    QCOMPARE(rig.ctx().Geraeteadresse, std::string("7"));
    QCOMPARE(w.findChild<QMenu*>("mnuFile1")->title(), QStringLiteral("File"));
    if (w.logicalDpiX() == 96) QCOMPARE(w.size(), QSize(600, 480));

    // Closing writes all eight values back, the geometry as it is now.
    w.resize(w.width() + 30, w.height());
    const QSize closedSize = w.size();
    const int widthTwips = (w.width() * 1440 + w.logicalDpiX() / 2) / w.logicalDpiX();
    for (const char* key : kSettingKeys) rig.store.set(key, "");
    w.close();
    for (int k = 0; k < 8; ++k) {
        const std::string want = k == 2 ? std::to_string(widthTwips) : values[k];
        QCOMPARE(rig.store.get(kSettingKeys[k]).value_or("-"), want);
    }
    // The next start comes back the same way.
    rig.window.reset();
    Session second(rig.store, '.');
    frmMain again(second,
                  [](int, const std::atomic<bool>*) { return std::unique_ptr<SerialPort>(); });
    QCOMPARE(again.size(), closedSize);
    QVERIFY(second.language() == Language::English);
}

void MainWindowTest::minimizedCloseWritesNothing() {
    Rig rig;
    frmMain& w = rig.open();
    w.showMinimized();
    QVERIFY(w.isMinimized());
    rig.action("mnurs_485")->trigger();
    rig.action("mnufile_9")->trigger();  // Beenden
    for (const char* key : kSettingKeys) QVERIFY2(!rig.store.get(key).has_value(), key);
}

void MainWindowTest::runningSequenceBlocksCommandsAndCloseIsPrompt() {
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

    QElapsedTimer timer;
    timer.start();
    w.close();
    rig.window.reset();  // joins the device thread
    QVERIFY2(timer.elapsed() < 5000, qPrintable(QString::number(timer.elapsed())));
    QVERIFY(rig.boxes.empty());
}

void MainWindowTest::programmingAndReadingBackTheSimulator() {
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

    // Read back in English: the record comes back from the device.
    rig.action("tbToolBar_Englisch")->trigger();
    rig.ctx().record = startRecord();
    captions.clear();
    rig.runToEnd("mnudaten");
    QCOMPARE(captions, QStringList({"read data transducers ", "read Hardware data"}));
    QCOMPARE(rig.takeBox(), QStringLiteral("0 boxes"));
    QCOMPARE(variant(rig.ctx().record), QStringLiteral("2A/5D 120/1.2"));
    QCOMPARE(cellTexts(rig.ctx().record), cellTexts(before));
}

void MainWindowTest::failedSequencesLeaveTheRecordUnchanged() {
    sim::Options garbled;
    garbled.garbleEcho = true;
    Rig rig(garbled);
    frmMain& w = rig.open();

    // Without a configuration, Programmieren does nothing at all.
    rig.action("mnuprogr")->trigger();
    QVERIFY(!w.worker().busy() && rig.boxes.empty() && rig.device.frames().empty());

    // Hardware detection over a broken link, in English: the hardware stays unknown.
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

    // A failed read-back.
    rig.action("tbToolBar_Deutsch")->trigger();
    rig.ctx().record = recordFor2A5D();
    const Record edited = rig.ctx().record;
    rig.runToEnd("mnudaten");
    QVERIFY(rig.ctx().record == edited);
    QCOMPARE(rig.takeBox(), QStringLiteral("!Aktion abgebrochen!|Überprüfen Sie die "
                                           "Datenverbindung und versuchen Sie es nochmals!"));

    // A sound link to a 2A/5D, but the record is for a 3A unit: no classes, nothing stored.
    rig.device.options().garbleEcho = false;
    rig.ctx().record.Anzahl_Analog = 3;
    const Record wrong = rig.ctx().record;
    rig.runToEnd("mnuprogr");
    QCOMPARE(rig.takeBox(), QStringLiteral("!Aktion abgebrochen!|falscher Messumformer!!"));
    QVERIFY(rig.ctx().record == wrong);
    QVERIFY(rig.device.storedData(1).empty());
}

void MainWindowTest::hardwareChoice() {
    Rig rig;
    frmMain& w = rig.open();
    w.show();
    Hardware* hw = w.hardware();
    auto* list = hw->findChild<QListWidget*>("List1");
    auto click = [hw](const char* button) { hw->findChild<QAbstractButton*>(button)->click(); };
    Record& r = rig.ctx().record;

    // New resets the classes and asks for the hardware, "auto" first.
    r.Max_Spannung = 120;
    r.Max_Strom = 1.2;
    rig.action("mnufile_0")->trigger();
    QVERIFY(rig.ctx().Ruecksetzmeldung_aus);
    QCOMPARE(variant(r), QStringLiteral("0A/0D 600/5"));
    QVERIFY(hw->isVisible());
    QCOMPARE(list->count(), 13);
    QCOMPARE(list->currentItem()->text(), QStringLiteral("TXR 3.0 auto"));

    // A manual choice takes that hardware's defaults and leaves the classes alone.
    r.Max_Spannung = 100;
    r.Max_Strom = 1;
    list->setCurrentRow(7);
    QCOMPARE(list->currentItem()->text(), QStringLiteral("TXR 3.0 3A/5D"));
    click("OK_Hardware_Type");
    QVERIFY(!hw->isVisible() && !w.worker().busy());
    QCOMPARE(variant(r), QStringLiteral("3A/5D 100/1"));
    QVERIFY(r.Grundwerte[2].toNumber() == 50.0 && r.Grundwerte[5].toNumber() == 1.0);
    QVERIFY(rig.device.frames().empty());

    // Hardware known: Parametrieren shows the record instead of asking again.
    rig.action("mnupara")->trigger();
    QVERIFY(!hw->isVisible() && w.ueberwachung()->isVisible());
    QCOMPARE(w.ueberwachung()->findChild<QListWidget*>("List2_1")->item(1)->text(), "50");

    // Cancel leaves the variant as it was.
    rig.action("mnufile_0")->trigger();
    click("Abbruch_Hardware_Type");
    QVERIFY(!hw->isVisible());
    QCOMPARE(variant(r), QStringLiteral("3A/5D 600/5"));

    // No selection means automatic detection: the simulator's variant and classes.
    rig.action("mnufile_0")->trigger();
    list->clearSelection();
    click("OK_Hardware_Type");
    QCOMPARE(w.progr()->windowTitle(), QStringLiteral("Hardware Daten werden ausgelesen"));
    QCOMPARE(w.progr()->findChild<QLabel*>("Image1")->property("picture").toInt(), 1);
    QTRY_VERIFY_WITH_TIMEOUT(!w.worker().busy(), 20000);
    QCOMPARE(rig.takeBox(), QStringLiteral("0 boxes"));
    QCOMPARE(variant(r), QStringLiteral("2A/5D 120/1.2"));
    QVERIFY(std::abs(r.Max_Spannung_LN() - 69.282) < 0.001);
    QCOMPARE(r.Grundwerte[2].toNumber(), 60.0);
}

void MainWindowTest::fileCommands() {
    Rig rig;
    frmMain& w = rig.open();
    rig.ctx().record = recordFor2A5D();
    const Record edited = rig.ctx().record;

    // A malformed file (the box names it), then a cancelled dialog: the record stays.
    const QString broken = rig.dir.filePath("broken.cfg");
    {
        QFile f(broken);
        QVERIFY(f.open(QIODevice::WriteOnly));
        static const char bytes[] = "\x08\x00\x30\x00[Typ]\r\n7\r\nnot a number\r\n";
        f.write(bytes, sizeof bytes - 1);
    }
    rig.nextFile = broken.toStdString();
    rig.action("mnufile_1")->trigger();
    QCOMPARE(rig.asked, "Projekt Laden |-|Konfigurationsdateien (*.cfg)|Alle Dateien (*.*)");
    const QString box = rig.takeBox();
    QVERIFY2(box.startsWith('!') && box.contains(broken), qPrintable(box));
    QVERIFY(!rig.action("mnufile_3")->isEnabled());
    rig.nextFile.clear();
    rig.action("mnufile_1")->trigger();
    QCOMPARE(rig.takeBox(), QStringLiteral("0 boxes"));
    QVERIFY(rig.ctx().record == edited);

    // Save, Save As, then Open restores the record and offers saving.
    const QString path = rig.dir.filePath("project.cfg");
    rig.nextFile = path.toStdString();
    w.mnufile_Click(3);
    QCOMPARE(rig.asked, QStringLiteral("Speichern von Projekt|kalvo.cfg|"
                                       "Konfigurationsdadateien (*.cfg)|Alle Dateien (*.*)"));
    QVERIFY(rig.boxes.empty() && QFile::exists(path));
    w.mnufile_Click(4);
    QVERIFY(rig.asked.startsWith("Speichern von Projekt unter||"));
    rig.ctx().record = startRecord();
    rig.action("mnufile_1")->trigger();
    QCOMPARE(rig.takeBox(), QStringLiteral("0 boxes"));
    QCOMPARE(variant(rig.ctx().record), QStringLiteral("2A/5D 600/5"));
    QCOMPARE(cellTexts(rig.ctx().record), cellTexts(edited));
    QVERIFY(!rig.ctx().Ruecksetzmeldung_aus);
    QCOMPARE(rig.where("mnufile_3|mnufile_4|tbToolBar_Speichern", &QAction::isEnabled).size(), 3);

    // Saving into a folder that does not exist reports it and names the file.
    rig.nextFile = rig.dir.filePath("no/such/dir/x.cfg").toStdString();
    w.mnufile_Click(4);
    QVERIFY(rig.takeBox().contains("x.cfg"));
}

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
