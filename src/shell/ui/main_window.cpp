#include "shell/ui/main_window.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QProgressBar>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>

#include "device/programming.h"
#include "device/readback.h"
#include "files/project_file.h"
#include "link/hardware.h"
#include "link/ui/hardware_window.h"
#include "shell/messages.h"
#include "shell/settings.h"
#include "shell/ui/apply_texts.h"
#include "shell/ui/aux_windows.h"
#include "text/captions.h"
#include "text/messages.h"
#include "text/value_lists.h"

// The icons are compiled into this static library; make sure the linker keeps them.
static void initAssets() {
    Q_INIT_RESOURCE(assets);
}

namespace kalvo {

namespace {

QString qs(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<int>(s.size()));
}

// Screen resolution the stored twips refer to when the screen reports none.
constexpr int kDefaultDpi = 96;

}  // namespace

frmMain::frmMain(AppContext& context, SettingsStore& store, PortFactory portFactory,
                 std::unique_ptr<Clock> clock, QWidget* parent)
    : QMainWindow(parent), ctx_(context), store_(store) {
    initAssets();
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Kalvo       TXR 3.0"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/kalvo.png")));

    // Start-up state of the program.
    ctx_.Wartezeit = 2000;
    ctx_.record.Max_Spannung = 600;
    ctx_.record.Max_Strom = 5;
    ctx_.param_bereit = true;
    ctx_.Ruecksetzmeldung_aus = true;
    ctx_.Grund_geaendert = false;
    for (int i : {3, 4, 6, 7}) ctx_.record.Grundwerte[i] = 0;

    const Settings settings = loadSettings(store_);
    worker_ =
        std::make_unique<DeviceWorker>(std::move(portFactory), std::move(clock), settings.COM);

    buildMenus();
    buildToolBar();
    buildStatusBar();

    // The multiple-document backdrop; the program's windows are top-level windows of their own.
    auto* central = new QMdiArea(this);
    central->setObjectName(QStringLiteral("central"));
    setCentralWidget(central);

    connect(worker_.get(), &DeviceWorker::logLine, this,
            [this](const QString& line) { progr()->addLine(line); });
    connect(worker_.get(), &DeviceWorker::progress, this,
            [this](int value) { progr()->setProgress(value); });
    connect(worker_.get(), &DeviceWorker::stageChanged, this,
            [this](int stage) { showProgrStage(static_cast<Stage>(stage)); });
    connect(worker_.get(), &DeviceWorker::busyChanged, this,
            [this](bool busy) { setDeviceCommandsEnabled(!busy); });

    loadWindowSettings();
}

frmMain::~frmMain() {
    if (worker_) worker_->cancel();
    worker_.reset();
}

void frmMain::setMessagePresenter(MessagePresenter* presenter) {
    messages_ = presenter != nullptr ? presenter : &defaultMessages_;
}

void frmMain::setFileDialogs(FileDialogs* dialogs) {
    files_ = dialogs != nullptr ? dialogs : &defaultFiles_;
}

// ---- building the window ---------------------------------------------------------------------

void frmMain::buildMenus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("menuBar"));
    auto menu = [&](QMenu* parentMenu, const char* name, const char* caption) {
        QMenu* m = parentMenu != nullptr ? parentMenu->addMenu(QString::fromUtf8(caption))
                                         : bar->addMenu(QString::fromUtf8(caption));
        m->setObjectName(QString::fromUtf8(name));
        m->menuAction()->setObjectName(QString::fromUtf8(name) + QStringLiteral("_menu"));
        return m;
    };
    auto item = [](QMenu* m, const QString& name, const char* caption) {
        QAction* a = m->addAction(QString::fromUtf8(caption));
        a->setObjectName(name);
        return a;
    };
    auto separator = [](QMenu* m, const QString& name) {
        QAction* a = m->addSeparator();
        a->setObjectName(name);
        return a;
    };
    auto file = [](int i) { return QStringLiteral("mnufile_%1").arg(i); };

    QMenu* mnuFile1 = menu(nullptr, "mnuFile1", "&Datei");
    const struct {
        int index;
        const char* caption;
    } files[] = {
        {0, "&Neu"}, {1, "Ö&ffnen..."},  {2, "-"}, {3, "&Speichern"}, {4, "Speichern &unter..."},
        {5, "-"},    {7, "Dru&cken..."}, {8, "-"}, {9, "&Beenden"}};
    for (const auto& f : files) {
        if (f.caption[0] == '-') {
            separator(mnuFile1, file(f.index));
            continue;
        }
        QAction* a = item(mnuFile1, file(f.index), f.caption);
        const int index = f.index;
        connect(a, &QAction::triggered, this, [this, index] { mnufile_Click(index); });
    }
    for (int i : {3, 4, 7}) findChild<QAction*>(file(i))->setEnabled(false);

    QMenu* mnubearb = menu(nullptr, "mnubearb", "&Bearbeiten");
    connect(item(mnubearb, QStringLiteral("mnupara"), "Para&metrieren"), &QAction::triggered, this,
            &frmMain::mnupara_Click);
    separator(mnubearb, QStringLiteral("tr1"));
    connect(item(mnubearb, QStringLiteral("mnuprogr"), "&Programmieren"), &QAction::triggered, this,
            &frmMain::mnuprogr_Click);
    separator(mnubearb, QStringLiteral("tr2"));
    connect(item(mnubearb, QStringLiteral("mnudaten"), "&Daten auslesen"), &QAction::triggered,
            this, &frmMain::mnudaten_Click);
    separator(mnubearb, QStringLiteral("tr3"));
    item(mnubearb, QStringLiteral("mnudirekt"), "Direkt&eingabe")->setEnabled(false);

    QMenu* mnuView = menu(nullptr, "mnuView", "&Einstellungen");
    QMenu* mnucomm = menu(mnuView, "mnucomm", "&Com");
    auto* comGroup = new QActionGroup(this);
    for (int n = 1; n <= 8; ++n) {
        QAction* a = mnucomm->addAction(QStringLiteral("&COM%1").arg(n));
        a->setObjectName(QStringLiteral("mnucom_%1").arg(n));
        a->setCheckable(true);
        comGroup->addAction(a);
        connect(a, &QAction::triggered, this, [this, n] { mnucom_Click(n); });
    }
    QMenu* mnuss = menu(mnuView, "mnuss", "&RS-232 / RS-485");
    auto* rsGroup = new QActionGroup(this);
    for (int rs : {232, 485}) {
        QAction* a = mnuss->addAction(QStringLiteral("&RS-%1").arg(rs));
        a->setObjectName(QStringLiteral("mnurs_%1").arg(rs));
        a->setCheckable(true);
        rsGroup->addAction(a);
        connect(a, &QAction::triggered, this, [this, rs] { mnurs_Click(rs); });
    }
    separator(mnuView, QStringLiteral("mnufilebar4"));
    item(mnuView, QStringLiteral("mnustand"), "Standard-A&dresse")->setEnabled(false);
    item(mnuView, QStringLiteral("mnuadr"), "&Adresse ändern")->setEnabled(false);
    separator(mnuView, QStringLiteral("mnuFileBar3"));
    QAction* viewToolbar = item(mnuView, QStringLiteral("mnuViewToolbar"), "&Symbolleiste");
    viewToolbar->setCheckable(true);
    viewToolbar->setChecked(true);
    connect(viewToolbar, &QAction::triggered, this,
            [this](bool checked) { tbToolBar_->setVisible(checked); });
    QAction* viewStatus = item(mnuView, QStringLiteral("mnuViewStatusBar"), "Status&leiste");
    viewStatus->setCheckable(true);
    viewStatus->setChecked(true);
    connect(viewStatus, &QAction::triggered, this,
            [this](bool checked) { statusBar()->setVisible(checked); });

    QMenu* mnumessen = menu(nullptr, "mnumessen", "&Messen");
    QAction* einstell = item(mnumessen, QStringLiteral("mnueinstell"), "&Einstellungen");
    einstell->setVisible(false);
    einstell->setEnabled(false);
    item(mnumessen, QStringLiteral("mnumess"), "&Messen")->setEnabled(false);

    QMenu* mnuHelp = menu(nullptr, "mnuHelp", "&?");
    item(mnuHelp, QStringLiteral("mnuHelpAbout"), "Inf&o ")->setEnabled(false);
}

void frmMain::buildToolBar() {
    tbToolBar_ = addToolBar(QStringLiteral("tbToolBar"));
    tbToolBar_->setObjectName(QStringLiteral("tbToolBar"));
    tbToolBar_->setMovable(false);
    tbToolBar_->setIconSize(QSize(24, 24));
    auto button = [this](const char* key, const char* icon, auto slot) {
        const QString k = QString::fromUtf8(key);
        QAction* a = tbToolBar_->addAction(
            QIcon(QStringLiteral(":/icons/%1.png").arg(QString::fromLatin1(icon))), k);
        a->setObjectName(QStringLiteral("tbToolBar_") + k);
        a->setProperty("key", k);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    auto separator = [this](int position) {
        tbToolBar_->addSeparator()->setObjectName(QStringLiteral("tbToolBar_sep%1").arg(position));
    };
    button("Neu", "new", [this] { mnufile_Click(0); });
    button("Öffnen", "open", [this] { mnufile_Click(1); });
    button("Speichern", "save", [this] { mnufile_Click(3); })->setEnabled(false);
    separator(4);
    button("Drucken", "print", [this] { mnufile_Click(7); })->setEnabled(false);
    separator(6);
    button("Parametrieren", "configure", [this] { mnupara_Click(); });
    button("Messen", "measure", [] {})->setEnabled(false);
    separator(9);
    button("Daten auslesen", "read", [this] { mnudaten_Click(); });
    button("Programmieren", "program", [this] { mnuprogr_Click(); });
    separator(12);
    button("Deutsch", "german", [this] { setSprache(false); });
    button("Englisch", "english", [this] { setSprache(true); });
}

void frmMain::buildStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("sbStatusBar"));
    bar->setSizeGripEnabled(true);
    ProgressBar1_ = new QProgressBar(bar);
    ProgressBar1_->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1_->setRange(0, 100);
    ProgressBar1_->setValue(1);
    ProgressBar1_->setMaximumWidth(120);
    ProgressBar1_->setTextVisible(false);
    ProgressBar1_->hide();
    for (int i = 0; i < 5; ++i) {
        auto* panel = new QLabel(bar);
        panel->setObjectName(QStringLiteral("sbStatusBar_%1").arg(i + 1));
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panel->setContentsMargins(4, 0, 4, 0);
        panel->installEventFilter(this);
        panels_[i] = panel;
        bar->addPermanentWidget(panel, i == 2 ? 1 : 0);
    }
    bar->addWidget(ProgressBar1_);
    clockTimer_ = new QTimer(this);
    clockTimer_->setSingleShot(true);
    connect(clockTimer_, &QTimer::timeout, this, &frmMain::updateClock);
    updateClock();
}

void frmMain::updateClock() {
    const QDateTime now = QDateTime::currentDateTime();
    panels_[3]->setText(now.date().toString(QStringLiteral("dd.MM.yyyy")));
    panels_[4]->setText(now.time().toString(QStringLiteral("hh:mm")));
    // Wake just after the next full minute.
    const int msToMinute = 60000 - (now.time().second() * 1000 + now.time().msec());
    clockTimer_->start(msToMinute + 20);
}

int frmMain::twipsToPixels(int twips) const {
    const int dpi = logicalDpiX() > 0 ? logicalDpiX() : kDefaultDpi;
    return (twips * dpi + 720) / 1440;
}

int frmMain::pixelsToTwips(int pixels) const {
    const int dpi = logicalDpiX() > 0 ? logicalDpiX() : kDefaultDpi;
    return (pixels * 1440 + dpi / 2) / dpi;
}

void frmMain::loadWindowSettings() {
    const Settings s = loadSettings(store_);
    move(twipsToPixels(s.MainLeft), twipsToPixels(s.MainTop));
    resize(twipsToPixels(s.MainWidth), twipsToPixels(s.MainHeight));
    ctx_.Geraeteadresse = s.Adr;
    ctx_.Sprache = s.Sprache;
    panels_[0]->setText(QStringLiteral("COM %1").arg(s.COM));
    if (auto* a = findChild<QAction*>(QStringLiteral("mnucom_%1").arg(s.COM))) a->setChecked(true);
    panels_[1]->setText(QStringLiteral("RS-%1").arg(s.RS));
    if (auto* a = findChild<QAction*>(QStringLiteral("mnurs_%1").arg(s.RS))) a->setChecked(true);
    panels_[2]->setText(QStringLiteral("Adr. ") + QString::fromStdString(ctx_.Geraeteadresse));
    // The program's folder holds the wiring pictures the printout reads.
    QDir::setCurrent(QCoreApplication::applicationDirPath());
    ctx_.record.Anzahl_Analog = 0;
    ctx_.record.Anzahl_Binaer = 0;
    applyCaptions(this, mainWindowCaptions(), languageOf(ctx_.Sprache));
}

void frmMain::saveWindowSettings() {
    Settings s;
    const QPoint p = pos();
    s.MainLeft = pixelsToTwips(p.x());
    s.MainTop = pixelsToTwips(p.y());
    s.MainWidth = pixelsToTwips(width());
    s.MainHeight = pixelsToTwips(height());
    s.COM = worker_->com();
    s.RS = panels_[1]->text().right(3).toInt();
    s.Adr = ctx_.Geraeteadresse;
    s.Sprache = ctx_.Sprache;
    saveSettings(store_, s);
}

// ---- windows ---------------------------------------------------------------------------------

Progr* frmMain::progr() {
    if (progr_.isNull()) progr_ = new Progr(this);
    return progr_;
}

Hardware* frmMain::hardware() {
    if (hardware_.isNull()) {
        hardware_ = new Hardware(this);
        hardware_->setWindowModality(Qt::ApplicationModal);
        connect(hardware_, &Hardware::chosen, this, &frmMain::hardwareChosen);
    }
    return hardware_;
}

Überwachung* frmMain::ueberwachung() {
    if (ueberwachung_.isNull()) {
        ueberwachung_ = new Überwachung(this);
        ueberwachung_->listing(ctx_.record, ctx_.decimal);
    }
    return ueberwachung_;
}

Meldung* frmMain::meldung() {
    if (meldung_.isNull()) {
        meldung_ = new Meldung(this);
        applyCaptions(meldung_, meldungCaptions(), languageOf(ctx_.Sprache));
    }
    return meldung_;
}

void frmMain::refreshListing() {
    if (!ueberwachung_.isNull()) ueberwachung_->listing(ctx_.record, ctx_.decimal);
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        for (QLabel* panel : panels_) {
            if (watched == panel) {
                progr()->resize(twipsToPixels(8550), twipsToPixels(6000));
                break;
            }
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

// ---- commands --------------------------------------------------------------------------------

void frmMain::setSprache(bool english) {
    ctx_.Sprache = english;
    applyCaptions(this, mainWindowCaptions(), languageOf(english));
    if (!meldung_.isNull()) applyCaptions(meldung_, meldungCaptions(), languageOf(english));
}

void frmMain::mnucom_Click(int n) {
    if (worker_->busy()) return;  // the port belongs to the running sequence
    for (int i = 1; i <= 8; ++i) {
        findChild<QAction*>(QStringLiteral("mnucom_%1").arg(i))->setChecked(i == n);
    }
    worker_->selectPort(n);
    panels_[0]->setText(QStringLiteral("COM %1").arg(n));
}

void frmMain::mnurs_Click(int index) {
    for (int rs : {232, 485}) {
        findChild<QAction*>(QStringLiteral("mnurs_%1").arg(rs))->setChecked(rs == index);
    }
    panels_[1]->setText(QStringLiteral("RS-%1").arg(index));
}

void frmMain::setFileEntryEnabled(int index, bool enabled) {
    findChild<QAction*>(QStringLiteral("mnufile_%1").arg(index))->setEnabled(enabled);
    if (index == 3) findChild<QAction*>(QStringLiteral("tbToolBar_Speichern"))->setEnabled(enabled);
}

void frmMain::setDeviceCommandsEnabled(bool enabled) {
    for (const char* name : {"mnupara", "mnuprogr", "mnudaten", "mnufile_0", "mnufile_1",
                             "tbToolBar_Neu", "tbToolBar_Öffnen", "tbToolBar_Parametrieren",
                             "tbToolBar_Daten auslesen", "tbToolBar_Programmieren"}) {
        findChild<QAction*>(QString::fromUtf8(name))->setEnabled(enabled);
    }
    for (int n = 1; n <= 8; ++n) {
        findChild<QAction*>(QStringLiteral("mnucom_%1").arg(n))->setEnabled(enabled);
    }
}

void frmMain::showMessage(const MessageText& message) {
    if (closing_) return;
    messages_->show(this, message);
}

void frmMain::showOutcome(Outcome outcome) {
    if (auto message = messageFor(outcome, languageOf(ctx_.Sprache))) showMessage(*message);
}

// The progress window's caption and picture follow the sequence: the picture of the hardware
// query while the device is asked what it is and during a read-back, the programming picture
// while it is programmed.
void frmMain::showProgrStage(Stage stage) {
    Progr* p = progr();
    p->setPicture(stage == Stage::Programming ? 0 : 1);
    p->setWindowTitle(qs(progrCaption(stage, languageOf(ctx_.Sprache))));
}

template <class R>
void frmMain::runSequence(Stage stage, std::function<R(Link&)> job, std::function<void(R)> done) {
    if (worker_->busy()) return;
    Progr* p = progr();
    p->reset();
    showProgrStage(stage);
    p->show();
    p->raise();
    setCursor(Qt::WaitCursor);
    p->setCursor(Qt::WaitCursor);
    worker_->start<R>(std::move(job), [this, done = std::move(done)](R result) {
        unsetCursor();
        if (!progr_.isNull()) {
            progr_->unsetCursor();
            progr_->hide();
            progr_->reset();
        }
        done(std::move(result));
    });
}

void frmMain::mnupara_Click() {
    if (worker_->busy()) return;
    if (ctx_.record.Anzahl_Analog == 0 || ctx_.record.Anzahl_Binaer == 0) {
        hardware()->show();
        hardware()->raise();
        return;
    }
    // The record as it stands, read-only, until the parameter dialog takes this place.
    Überwachung* view = ueberwachung();
    view->listing(ctx_.record, ctx_.decimal);
    view->show();
    view->raise();
}

void frmMain::hardwareChosen(int index) {
    if (index >= 1 && index < static_cast<int>(kHardwareList.size())) {
        // A manual choice keeps the classes the record had.
        const auto [analog, binary] = variantCounts(index);
        ctx_.record = newProject(analog, binary, ctx_.record.Max_Spannung, ctx_.record.Max_Strom);
        refreshListing();
        return;
    }
    const std::string address = ctx_.Geraeteadresse;
    runSequence<Identification>(
        Stage::Hardware, [address](Link& link) { return Hardware_erkennung(link, address); },
        [this](Identification id) {
            if (id.outcome != Outcome::Ok) {
                showOutcome(id.outcome);
                return;
            }
            ctx_.record =
                newProject(id.info.analog, id.info.binary, id.info.voltage, id.info.current);
            refreshListing();
        });
}

void frmMain::mnuprogr_Click() {
    if (!ctx_.record.hasConfiguration()) return;
    const Record snapshot = ctx_.record;
    const std::string address = ctx_.Geraeteadresse;
    const char decimal = ctx_.decimal;
    runSequence<ProgramResult>(
        Stage::Hardware,  // the device is asked what it is first
        [snapshot, address, decimal](Link& link) {
            return programTransducer(link, snapshot, address, decimal);
        },
        [this](ProgramResult result) {
            if (result.outcome != Outcome::Ok) {
                showOutcome(result.outcome);
                return;
            }
            ctx_.record.Max_Spannung = result.hardware.voltage;
            ctx_.record.Max_Strom = result.hardware.current;
            refreshListing();
            showMessage(programmingDone(languageOf(ctx_.Sprache)));
        });
}

void frmMain::mnudaten_Click() {
    const Record snapshot = ctx_.record;
    const std::string address = ctx_.Geraeteadresse;
    runSequence<ReadBackResult>(
        Stage::ReadBack,
        [snapshot, address](Link& link) { return readTransducer(link, snapshot, address); },
        [this](ReadBackResult result) {
            if (result.outcome != Outcome::Ok) {
                showOutcome(result.outcome);
                return;
            }
            ctx_.record = std::move(result.record);
            refreshListing();
        });
}

void frmMain::Datei_Fortschritt() {
    if (ProgressBar1_->value() == 100) ProgressBar1_->setValue(1);
    ProgressBar1_->setValue(ProgressBar1_->value() + 1);
}

void frmMain::mnufile_Click(int index) {
    switch (index) {
        case 0: {
            if (worker_->busy()) return;
            ctx_.Ruecksetzmeldung_aus = true;
            for (int i : {3, 4, 7}) setFileEntryEnabled(i, false);
            ctx_.record.Max_Spannung = 600;
            ctx_.record.Max_Strom = 5;
            hardware()->select(0);
            hardware()->show();
            hardware()->raise();
            return;
        }
        case 1: {
            if (worker_->busy()) return;
            const std::string path =
                files_->openFile(this, std::string(kOpenTitle),
                                 {std::string(kOpenFilterCfg), std::string(kFilterAll)});
            if (path.empty()) return;
            ProgressBar1_->setValue(1);
            ProgressBar1_->show();
            Decoded loaded = Projekt_laden(path, ctx_.record);
            Datei_Fortschritt();
            ProgressBar1_->hide();
            ProgressBar1_->setValue(1);
            if (loaded.error != FileError::None) {
                if (auto m =
                        fileErrorMessage(loaded.error, path, false, languageOf(ctx_.Sprache))) {
                    showMessage(*m);
                }
                return;
            }
            ctx_.record = std::move(loaded.record);
            ctx_.Ruecksetzmeldung_aus = false;
            setFileEntryEnabled(3, true);
            setFileEntryEnabled(4, true);
            refreshListing();
            return;
        }
        case 3:
        case 4: {
            const bool saveAs = index == 4;
            const std::string path =
                files_->saveFile(this, std::string(saveAs ? kSaveAsTitle : kSaveTitle),
                                 saveAs ? std::string() : std::string(kSavePreset),
                                 {std::string(kSaveFilterCfg), std::string(kFilterAll)});
            if (path.empty()) return;
            const FileError error = Projekt_speichern(ctx_.record, path, ctx_.decimal);
            if (auto m = fileErrorMessage(error, path, true, languageOf(ctx_.Sprache)))
                showMessage(*m);
            return;
        }
        case 9:
            close();
            return;
        default:
            return;  // 7 printing comes with the data sheet; 2, 5, 8 are separators
    }
}

void frmMain::closeEvent(QCloseEvent* event) {
    closing_ = true;
    if (!isMinimized()) saveWindowSettings();
    // A running sequence ends at its next wait; the worker closes the port.
    worker_->cancel();
    // Unload the other windows, last created first.
    const QList<QWidget*> windows = findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
    for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
        if ((*it)->isWindow()) (*it)->close();
    }
    event->accept();
}

}  // namespace kalvo
