#include "shell/ui/main_window.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QDateTime>
#include <QDir>
#include <QKeySequence>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QProgressBar>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

#include "config/compare.h"
#include "config/param_flow.h"
#include "config/ui/param_dialog.h"
#include "device/programming.h"
#include "device/readback.h"
#include "link/hardware.h"
#include "link/transcript.h"
#include "link/ui/address_windows.h"
#include "link/ui/hardware_window.h"
#include "measure/poll.h"
#include "measure/ui/anzeilist.h"
#include "measure/ui/dig_auswahl.h"
#include "measure/ui/verlauf.h"
#include "print/datasheet.h"
#include "shell/messages.h"
#include "shell/ui/about_window.h"
#include "shell/ui/compare_window.h"
#include "shell/ui/help_window.h"
#include "shell/ui/network_window.h"
#include "shell/ui/progr_window.h"
#include "text/captions.h"
#include "text/compare_texts.h"
#include "text/messages.h"
#include "text/trend_texts.h"
#include "text/value_lists.h"
#include "widgets/apply_texts.h"
#include "widgets/aux_windows.h"
#include "widgets/qt_text.h"
#include "widgets/twips.h"

// The icons are compiled into this static library; make sure the linker keeps them.
static void initAssets() {
    Q_INIT_RESOURCE(assets);
}

namespace kalvo {

namespace {

// The progress window's design size, set by a click on the status bar.
constexpr int kProgrWidthTwips = 8550;
constexpr int kProgrHeightTwips = 6000;

}  // namespace

frmMain::frmMain(Session& session, PortFactory portFactory, std::unique_ptr<Clock> clock,
                 QWidget* parent)
    : QMainWindow(parent), session_(session), product_(installedProductInfo()) {
    initAssets();
    setObjectName(QStringLiteral("frmMain"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/kalvo.png")));

    worker_ = std::make_unique<DeviceWorker>(std::move(portFactory), std::move(clock),
                                             session_.portInUse());
    deviceCommands_ = new QActionGroup(this);
    deviceCommands_->setExclusionPolicy(QActionGroup::ExclusionPolicy::None);

    buildMenus();
    buildToolBar();
    buildStatusBar();

    // The multiple-document backdrop; the program's windows are top-level windows of their own.
    auto* central = new QMdiArea(this);
    central->setObjectName(QStringLiteral("central"));
    setCentralWidget(central);

    connect(worker_.get(), &DeviceWorker::busyChanged, this,
            [this](bool busy) { session_.setJobRunning(busy); });
    subscription_ = session_.subscribe([this] { sessionChanged(); });

    restoreGeometry();
    applyLanguage();
    sessionChanged();
}

frmMain::~frmMain() {
    subscription_.reset();
    if (worker_) worker_->shutdown();
    worker_.reset();
}

QString frmMain::backupFolder() {
    QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    // Never no backup for want of a data folder: the home folder has room for one.
    if (data.isEmpty()) data = QDir::homePath() + QStringLiteral("/Kalvo_Multi");
    return QDir(data).filePath(QStringLiteral("backups"));
}

void frmMain::setMessagePresenter(MessagePresenter* presenter) {
    messages_ = presenter != nullptr ? presenter : &defaultMessages_;
}

void frmMain::setFileDialogs(FileDialogs* dialogs) {
    files_ = dialogs != nullptr ? dialogs : &defaultFiles_;
}

void frmMain::setPrinterChooser(PrinterChooser* chooser) {
    printer_ = chooser != nullptr ? chooser : &defaultPrinter_;
}

// ---- building the window ---------------------------------------------------------------------

void frmMain::buildMenus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("menuBar"));
    auto menu = [&](QMenu* parentMenu, const QString& name) {
        QMenu* m = parentMenu != nullptr ? parentMenu->addMenu(QString()) : bar->addMenu(QString());
        m->setObjectName(name);
        m->menuAction()->setObjectName(name + QStringLiteral("_menu"));
        return m;
    };
    auto item = [](QMenu* m, const QString& name) {
        QAction* a = m->addAction(QString());
        a->setObjectName(name);
        return a;
    };
    auto separator = [](QMenu* m, const QString& name) { m->addSeparator()->setObjectName(name); };
    auto on = [this](QAction* a, auto slot) {
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    MainActions& a = actions_;

    QMenu* mnuFile1 = menu(nullptr, QStringLiteral("mnuFile1"));
    a.neu = on(item(mnuFile1, QStringLiteral("mnufile_0")), [this] { mnufile_Click(0); });
    a.oeffnen = on(item(mnuFile1, QStringLiteral("mnufile_1")), [this] { mnufile_Click(1); });
    separator(mnuFile1, QStringLiteral("mnufile_2"));
    a.speichern = on(item(mnuFile1, QStringLiteral("mnufile_3")), [this] { mnufile_Click(3); });
    a.speichernUnter =
        on(item(mnuFile1, QStringLiteral("mnufile_4")), [this] { mnufile_Click(4); });
    separator(mnuFile1, QStringLiteral("mnufile_5"));
    a.alsPdf = on(item(mnuFile1, QStringLiteral("mnufile_6")), [this] { mnufile_Click(6); });
    a.drucken = on(item(mnuFile1, QStringLiteral("mnufile_7")), [this] { mnufile_Click(7); });
    separator(mnuFile1, QStringLiteral("mnufile_8"));
    a.beenden = on(item(mnuFile1, QStringLiteral("mnufile_9")), [this] { mnufile_Click(9); });
    // The keys every desktop program has, as the platform binds them; where it binds none (Save
    // As and Quit outside GNOME and KDE), the keys those desktops use.
    const auto keys = [](QAction* action, QKeySequence::StandardKey key, const char* fallback) {
        const QList<QKeySequence> bound = QKeySequence::keyBindings(key);
        action->setShortcuts(bound.isEmpty()
                                 ? QList<QKeySequence>{QKeySequence(QString::fromLatin1(fallback))}
                                 : bound);
    };
    keys(a.neu, QKeySequence::New, "Ctrl+N");
    keys(a.oeffnen, QKeySequence::Open, "Ctrl+O");
    keys(a.speichern, QKeySequence::Save, "Ctrl+S");
    keys(a.speichernUnter, QKeySequence::SaveAs, "Ctrl+Shift+S");
    keys(a.drucken, QKeySequence::Print, "Ctrl+P");
    keys(a.beenden, QKeySequence::Quit, "Ctrl+Q");

    QMenu* mnubearb = menu(nullptr, QStringLiteral("mnubearb"));
    a.parametrieren = on(item(mnubearb, QStringLiteral("mnupara")), [this] { mnupara_Click(); });
    separator(mnubearb, QStringLiteral("tr1"));
    a.programmieren = on(item(mnubearb, QStringLiteral("mnuprogr")), [this] { mnuprogr_Click(); });
    separator(mnubearb, QStringLiteral("tr2"));
    a.datenAuslesen = on(item(mnubearb, QStringLiteral("mnudaten")), [this] { mnudaten_Click(); });
    a.vergleichen =
        on(item(mnubearb, QStringLiteral("mnuvergleich")), [this] { mnuvergleich_Click(); });
    separator(mnubearb, QStringLiteral("tr3"));
    a.direkteingabe = on(item(mnubearb, QStringLiteral("mnudirekt")), [this] {
        direkt()->show();
        direkt()->raise();
    });

    QMenu* mnuView = menu(nullptr, QStringLiteral("mnuView"));
    QMenu* mnucomm = menu(mnuView, QStringLiteral("mnucomm"));
    for (int n = 1; n <= 8; ++n) {
        QAction* com = item(mnucomm, QStringLiteral("mnucom_%1").arg(n));
        com->setCheckable(true);
        on(com, [this, n] { mnucom_Click(n); });
        a.com[static_cast<std::size_t>(n - 1)] = com;
    }
    separator(mnucomm, QStringLiteral("mnunetzbar"));
    a.netzwerk = on(item(mnucomm, QStringLiteral("mnunetz")), [this] {
        netzwerk()->setRecent(session_.recentNetworkPorts());
        netzwerk()->show();
        netzwerk()->raise();
    });
    a.netzwerk->setCheckable(true);
    QMenu* mnuss = menu(mnuView, QStringLiteral("mnuss"));
    auto* rsGroup = new QActionGroup(this);
    a.rs232 = on(item(mnuss, QStringLiteral("mnurs_232")), [this] { mnurs_Click(232); });
    a.rs485 = on(item(mnuss, QStringLiteral("mnurs_485")), [this] { mnurs_Click(485); });
    for (QAction* rs : {a.rs232, a.rs485}) {
        rs->setCheckable(true);
        rsGroup->addAction(rs);
    }
    separator(mnuView, QStringLiteral("mnufilebar4"));
    a.standardAdresse = on(item(mnuView, QStringLiteral("mnustand")), [this] {
        standardAddressWindow()->setCurrentAddress(
            QString::fromStdString(session_.context().Geraeteadresse));
        standardAddressWindow()->show();
        standardAddressWindow()->raise();
    });
    a.adresseAendern = on(item(mnuView, QStringLiteral("mnuadr")), [this] {
        adresse()->show();
        adresse()->raise();
    });
    separator(mnuView, QStringLiteral("mnuFileBar5"));
    a.sichern = item(mnuView, QStringLiteral("mnusichern"));
    a.pruefen = item(mnuView, QStringLiteral("mnupruefen"));
    for (QAction* safety : {a.sichern, a.pruefen}) safety->setCheckable(true);
    on(a.sichern, [this](bool checked) {
        ProgrammingSafety s = session_.programmingSafety();
        s.Sichern = checked;
        session_.setProgrammingSafety(s);
    });
    on(a.pruefen, [this](bool checked) {
        ProgrammingSafety s = session_.programmingSafety();
        s.Pruefen = checked;
        session_.setProgrammingSafety(s);
    });
    separator(mnuView, QStringLiteral("mnuFileBar3"));
    a.symbolleiste = item(mnuView, QStringLiteral("mnuViewToolbar"));
    a.statusleiste = item(mnuView, QStringLiteral("mnuViewStatusBar"));
    for (QAction* view : {a.symbolleiste, a.statusleiste}) {
        view->setCheckable(true);
        view->setChecked(true);
    }
    on(a.symbolleiste, [this](bool checked) { tbToolBar_->setVisible(checked); });
    on(a.statusleiste, [this](bool checked) { statusBar()->setVisible(checked); });

    QMenu* mnumessen = menu(nullptr, QStringLiteral("mnumessen"));
    // The interface selection is offered here as well as on the parameter dialog's last page
    // (the menu once hid this entry, leaving the dialog as the only way to choose the values).
    a.einstellungen = on(item(mnumessen, QStringLiteral("mnueinstell")), [this] {
        digAuswahl()->show();
        digAuswahl()->raise();
        digAuswahl()->activateWindow();
    });
    a.messen = on(item(mnumessen, QStringLiteral("mnumess")), [this] {
        anzeilist()->show();
        if (polling_) anzeilist()->pollStarted();
        anzeilist()->raise();
        anzeilist()->activateWindow();
    });
    a.verlauf = on(item(mnumessen, QStringLiteral("mnuverlauf")), [this] {
        verlauf()->show();
        if (polling_) verlauf()->pollStarted();
        verlauf()->raise();
        verlauf()->activateWindow();
    });

    QMenu* mnuHelp = menu(nullptr, QStringLiteral("mnuHelp"));
    a.handbuch = on(item(mnuHelp, QStringLiteral("mnuHelpGuide")), [this] {
        handbuch()->show();
        handbuch()->raise();
        handbuch()->activateWindow();
    });
    keys(a.handbuch, QKeySequence::HelpContents, "F1");
    a.info = on(item(mnuHelp, QStringLiteral("mnuHelpAbout")), [this] { mnuHelpAbout_Click(); });
}

void frmMain::buildToolBar() {
    tbToolBar_ = addToolBar(QString());
    tbToolBar_->setObjectName(QStringLiteral("tbToolBar"));
    tbToolBar_->setMovable(false);
    tbToolBar_->setFloatable(false);
    tbToolBar_->setIconSize(QSize(24, 24));
    auto button = [this](const char* key, const char* icon) {
        QAction* b = tbToolBar_->addAction(
            QIcon(QStringLiteral(":/icons/%1.png").arg(QString::fromLatin1(icon))), QString());
        b->setObjectName(QStringLiteral("tbToolBar_") + QString::fromUtf8(key));
        return b;
    };
    auto separator = [this](int position) {
        tbToolBar_->addSeparator()->setObjectName(QStringLiteral("tbToolBar_sep%1").arg(position));
    };
    auto same = [this](QAction* b, QAction* menuItem) {
        connect(b, &QAction::triggered, menuItem, &QAction::trigger);
    };
    MainActions& a = actions_;
    a.tbNeu = button("Neu", "new");
    a.tbOeffnen = button("Öffnen", "open");
    a.tbSpeichern = button("Speichern", "save");
    separator(4);
    a.tbDrucken = button("Drucken", "print");
    separator(6);
    a.tbParametrieren = button("Parametrieren", "configure");
    a.tbMessen = button("Messen", "measure");
    a.tbVerlauf = button("Verlauf", "trend");
    separator(9);
    a.tbDatenAuslesen = button("Daten auslesen", "read");
    a.tbProgrammieren = button("Programmieren", "program");
    separator(12);
    a.tbDeutsch = button("Deutsch", "german");
    a.tbEnglisch = button("Englisch", "english");
    connect(a.tbNeu, &QAction::triggered, this, [this] { mnufile_Click(0); });
    connect(a.tbOeffnen, &QAction::triggered, this, [this] { mnufile_Click(1); });
    connect(a.tbSpeichern, &QAction::triggered, this, [this] { mnufile_Click(3); });
    connect(a.tbDrucken, &QAction::triggered, this, [this] { mnufile_Click(7); });
    connect(a.tbParametrieren, &QAction::triggered, this, [this] { mnupara_Click(); });
    same(a.tbMessen, a.messen);
    same(a.tbVerlauf, a.verlauf);
    connect(a.tbDatenAuslesen, &QAction::triggered, this, [this] { mnudaten_Click(); });
    connect(a.tbProgrammieren, &QAction::triggered, this, [this] { mnuprogr_Click(); });
    connect(a.tbDeutsch, &QAction::triggered, this, [this] { chooseLanguage(Language::German); });
    connect(a.tbEnglisch, &QAction::triggered, this, [this] { chooseLanguage(Language::English); });

    // The device commands: one group, off while a sequence runs.
    for (QAction* device :
         {a.neu, a.oeffnen, a.parametrieren, a.programmieren, a.datenAuslesen, a.tbNeu, a.tbOeffnen,
          a.tbParametrieren, a.tbDatenAuslesen, a.tbProgrammieren}) {
        deviceCommands_->addAction(device);
    }
    deviceCommands_->addAction(a.vergleichen);
    for (QAction* com : a.com) deviceCommands_->addAction(com);
    deviceCommands_->addAction(a.netzwerk);
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
    for (std::size_t i = 0; i < panels_.size(); ++i) {
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

QMenu* frmMain::createPopupMenu() {
    auto* popup = new QMenu(this);
    popup->addAction(actions_.symbolleiste);
    popup->addAction(actions_.statusleiste);
    return popup;
}

void frmMain::updateClock() {
    const QDateTime now = QDateTime::currentDateTime();
    panels_[3]->setText(now.date().toString(QStringLiteral("dd.MM.yyyy")));
    panels_[4]->setText(now.time().toString(QStringLiteral("hh:mm")));
    // Wake just after the next full minute.
    const int msToMinute = 60000 - (now.time().second() * 1000 + now.time().msec());
    clockTimer_->start(msToMinute + 20);
}

// The stored geometry is the window's outer one, frame included. The frame is unknown until the
// window manager has framed the shown window, which may be some time after the show: the size
// is set as the inner size first and corrected once the frame is known.
void frmMain::restoreGeometry() {
    const Settings& s = session_.storedSettings();
    move(twipsToPixels(*this, s.MainLeft), twipsToPixels(*this, s.MainTop));
    outerSize_ =
        OuterSizeRestore({twipsToPixels(*this, s.MainWidth), twipsToPixels(*this, s.MainHeight)});
    const WindowSize inner = outerSize_.initialInner();
    resize(inner.width, inner.height);
}

bool frmMain::event(QEvent* event) {
    const bool handled = QMainWindow::event(event);
    switch (event->type()) {
        case QEvent::Show:
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::WindowActivate:
            fitToStoredSize();
            break;
        default:
            break;
    }
    return handled;
}

void frmMain::fitToStoredSize() {
    if (outerSize_.done() || !isVisible()) return;
    const QSize outer = frameGeometry().size();
    if (const auto inner =
            outerSize_.framed({width(), height()}, {outer.width(), outer.height()})) {
        resize(inner->width, inner->height);
    }
}

void frmMain::sessionChanged() {
    const EnabledCommands c = session_.commands();
    actions_.speichern->setEnabled(c.save);
    actions_.tbSpeichern->setEnabled(c.save);
    actions_.speichernUnter->setEnabled(c.saveAs);
    for (QAction* sheet : {actions_.drucken, actions_.tbDrucken, actions_.alsPdf}) {
        sheet->setEnabled(c.print);
    }
    deviceCommands_->setEnabled(c.device);
    if (!adresse_.isNull()) adresse_->setBusy(!c.device);
    if (!direkt_.isNull()) direkt_->setBusy(!c.device);

    const int port = session_.portInUse();
    for (int n = 1; n <= 8; ++n)
        actions_.com[static_cast<std::size_t>(n - 1)]->setChecked(n == port);
    actions_.netzwerk->setChecked(port == Session::kNetworkPortInUse);
    actions_.sichern->setChecked(session_.programmingSafety().Sichern);
    actions_.pruefen->setChecked(session_.programmingSafety().Pruefen);
    actions_.rs232->setChecked(session_.rs() == 232);
    actions_.rs485->setChecked(session_.rs() == 485);
    panels_[0]->setText(qs(session_.portText()));
    panels_[1]->setText(qs(session_.rsText()));
    panels_[2]->setText(qs(session_.addressText()));
}

// Every window that exists speaks the session's language.
void frmMain::applyLanguage() {
    const Language language = session_.language();
    // Qt's own dialogs and buttons first, so that everything opened from here on agrees.
    qtTranslations_.use(language);
    applyCaptions(this, mainWindowCaptions(), language);
    tbToolBar_->setWindowTitle(actions_.symbolleiste->text().remove(QLatin1Char('&')));
    if (!progr_.isNull()) {
        applyCaptions(progr_, progrCaptions(), language);
        showProgrStep();
    }
    if (!meldung_.isNull()) applyCaptions(meldung_, meldungCaptions(), language);
    if (!ueberwachung_.isNull()) ueberwachung_->setLanguage(language);
    if (!hardware_.isNull()) applyCaptions(hardware_, hardwareCaptions(), language);
    if (!param_.isNull()) param_->setLanguage(language);
    if (!adresse_.isNull()) adresse_->setLanguage(language);
    if (!standartadr_.isNull()) standartadr_->setLanguage(language);
    if (!netzwerk_.isNull()) netzwerk_->setLanguage(language);
    if (!direkt_.isNull()) direkt_->setLanguage(language);
    if (!anzeilist_.isNull()) anzeilist_->setLanguage(language);
    if (!vergleich_.isNull()) vergleich_->setLanguage(language);
    if (!verlauf_.isNull()) verlauf_->setLanguage(language);
    if (!handbuch_.isNull()) handbuch_->setLanguage(language);
}

// ---- windows ---------------------------------------------------------------------------------

template <class W, class SetUp, class... Args>
W* frmMain::childWindow(QPointer<W>& window, SetUp setUp, Args&&... args) {
    if (window.isNull()) {
        window = new W(this, std::forward<Args>(args)...);
        setUp(*window);
    }
    return window;
}

Progr* frmMain::progr() {
    return childWindow(progr_, [this](Progr& w) {
        applyCaptions(&w, progrCaptions(), session_.language());
        connect(&w, &Progr::saveTranscriptRequested, this, &frmMain::saveProgrTranscript);
    });
}

Hardware* frmMain::hardware() {
    return childWindow(hardware_, [this](Hardware& w) {
        w.setWindowModality(Qt::ApplicationModal);
        applyCaptions(&w, hardwareCaptions(), session_.language());
        connect(&w, &Hardware::chosen, this, &frmMain::hardwareChosen);
    });
}

Ueberwachung* frmMain::ueberwachung() {
    return childWindow(
        ueberwachung_,
        [this](Ueberwachung& w) { w.listing(session_.record(), session_.context().decimal); },
        session_.language());
}

Meldung* frmMain::meldung() {
    return childWindow(meldung_, [this](Meldung& w) {
        applyCaptions(&w, meldungCaptions(), session_.language());
    });
}

Adresse* frmMain::adresse() {
    return childWindow(adresse_, [this](Adresse& w) {
        w.setLanguage(session_.language());
        w.setBusy(worker_->busy());
        connect(&w, &Adresse::changeRequested, this, &frmMain::runAddressChange);
        connect(&w, &Adresse::standardAddressChosen, this, [this](const QString& address) {
            session_.setStandardAddress(address.toStdString());
        });
    });
}

standartadr* frmMain::standardAddressWindow() {
    return childWindow(standartadr_, [this](standartadr& w) {
        w.setLanguage(session_.language());
        connect(&w, &standartadr::addressChosen, this, [this](const QString& address) {
            session_.setStandardAddress(address.toStdString());
        });
    });
}

Netzwerk* frmMain::netzwerk() {
    return childWindow(netzwerk_, [this](Netzwerk& w) {
        w.setLanguage(session_.language());
        connect(&w, &Netzwerk::networkChosen, this, &frmMain::mnunetz_Chosen);
    });
}

Direkt* frmMain::direkt() {
    return childWindow(direkt_, [this](Direkt& w) {
        w.setLanguage(session_.language());
        w.setBusy(worker_->busy());
        connect(&w, &Direkt::sendRequested, this,
                [this](const QString& text) { runDirectInput(text.toStdString()); });
    });
}

Anzeilist* frmMain::anzeilist() {
    return childWindow(
        anzeilist_,
        [this](Anzeilist& w) {
            connect(&w, &Anzeilist::startRequested, this, &frmMain::startPoll);
            connect(&w, &Anzeilist::stopRequested, this, [this] { worker_->stop(); });
            connect(&w, &Anzeilist::leftWhilePolling, this, &frmMain::pollWindowLeft);
        },
        session_.record(), session_.language());
}

Dig_Auswahl* frmMain::digAuswahl() {
    return childWindow(
        digAuswahl_,
        [this](Dig_Auswahl& w) {
            connect(&w, &Dig_Auswahl::stored, this, &frmMain::refreshListing);
        },
        session_.context().record);
}

Vergleich* frmMain::vergleich() {
    return childWindow(
        vergleich_, [](Vergleich&) {}, session_.language());
}

Verlauf* frmMain::verlauf() {
    return childWindow(
        verlauf_,
        [this](Verlauf& w) {
            connect(&w, &Verlauf::startRequested, this, &frmMain::startPoll);
            connect(&w, &Verlauf::stopRequested, this, [this] { worker_->stop(); });
            connect(&w, &Verlauf::leftWhilePolling, this, &frmMain::pollWindowLeft);
            connect(&w, &Verlauf::pictureRequested, this, &frmMain::saveTrendPicture);
            connect(&w, &Verlauf::recordingRequested, this, &frmMain::startTrendRecording);
            connect(&w, &Verlauf::recordingFailed, this, [this](const QString& path) {
                showMessage(fileErrorMessage(FileError::CannotWrite, path.toStdString(), true,
                                             session_.language()));
            });
        },
        session_.record(), session_.language(), session_.context().decimal);
}

Handbuch* frmMain::handbuch() {
    return childWindow(
        handbuch_, [](Handbuch& w) { w.load(installedGuideFile()); }, session_.language());
}

void frmMain::startPoll() {
    // Both windows take part in the one poll.
    const auto allEnded = [this] {
        if (!anzeilist_.isNull()) anzeilist_->pollEnded();
        if (!verlauf_.isNull()) verlauf_->pollEnded();
    };
    // Every window that is open shows the one poll, whichever started it.
    const auto allStarted = [this] {
        if (!anzeilist_.isNull() && anzeilist_->isVisible()) anzeilist_->pollStarted();
        if (!verlauf_.isNull() && verlauf_->isVisible()) verlauf_->pollStarted();
    };
    if (polling_) {
        allStarted();
        return;
    }
    const std::string address = session_.context().Geraeteadresse;
    polling_ = worker_->start<PollResult>(
        [address](Link& link) { return Messwerte_abfragen(link, address); },
        [this](const DeviceEvent& e) {
            if (e.kind != DeviceEvent::Kind::MeasuredLine) return;
            if (!anzeilist_.isNull()) anzeilist_->lineReceived(e.text);
            if (!verlauf_.isNull()) verlauf_->lineReceived(e.text);
        },
        [this, allEnded](std::optional<PollResult> result) {
            polling_ = false;
            allEnded();
            if (!result) {
                showMessage(session_.jobFailed().message);
            } else if (result->outcome == Outcome::LinkFailure) {
                showMessage(messageFor(result->outcome, session_.language()));
            }
        });
    if (polling_) {
        allStarted();
    } else {
        allEnded();  // another sequence holds the port: the windows show START again
    }
}

void frmMain::pollWindowLeft() {
    const bool valuesShow =
        !anzeilist_.isNull() && anzeilist_->isVisible() && anzeilist_->polling();
    const bool trendShows = !verlauf_.isNull() && verlauf_->isVisible() && verlauf_->polling();
    if (!valuesShow && !trendShows) worker_->stop();
}

void frmMain::saveTrendPicture() {
    if (verlauf_.isNull()) return;
    const Language language = session_.language();
    const std::string stamp =
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd_HHmm")).toStdString();
    const std::string path =
        files_->saveFile(verlauf_, std::string(kTrendPictureTitle.in(language)),
                         fillIn(kTrendPicturePreset.in(language), stamp),
                         {std::string(kTrendPictureFilter.in(language)), std::string(kFilterAll)});
    if (path.empty()) return;
    if (!verlauf_->savePicture(QString::fromStdString(path))) {
        showMessage(fileErrorMessage(FileError::CannotWrite, path, true, language));
    }
}

void frmMain::startTrendRecording() {
    if (verlauf_.isNull()) return;
    const Language language = session_.language();
    const std::string stamp =
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd_HHmm")).toStdString();
    const std::string path =
        files_->saveFile(verlauf_, std::string(kTrendRecordTitle.in(language)),
                         fillIn(kTrendRecordPreset.in(language), stamp),
                         {std::string(kTrendRecordFilter.in(language)), std::string(kFilterAll)});
    if (path.empty()) return;
    if (!verlauf_->startRecording(path)) {
        showMessage(fileErrorMessage(FileError::CannotWrite, path, true, language));
    }
}

param* frmMain::parameterDialog() const {
    return param_;
}

void frmMain::openParameterDialog(const std::string& captionFile) {
    // The dialog is shown anew on the record: one that is open goes first.
    if (!param_.isNull()) {
        param_->listing();
        delete param_.data();
    }
    AppContext& ctx = session_.context();
    param_ = new param(ctx.record, session_.dialogFlags(), ctx.decimal, ctx.language,
                       QString::fromStdString(ctx.programFolder), this);
    // It blocks the main window while it is open, nothing else: the log, the record view and
    // the notice stay usable.
    param_->setWindowModality(Qt::WindowModal);
    connect(param_, &param::stored, this, [this] {
        session_.parameterDialogAccepted();
        refreshListing();
    });
    if (!captionFile.empty()) param_->setCaptionFile(QString::fromStdString(captionFile));
    param_->show();
    param_->raise();
}

Language frmMain::sheetLanguage() const {
    return param_.isNull() ? session_.language() : param_->language();
}

void frmMain::refreshListing() {
    if (!ueberwachung_.isNull()) {
        ueberwachung_->listing(session_.record(), session_.context().decimal);
    }
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress &&
        std::find(panels_.begin(), panels_.end(), watched) != panels_.end()) {
        progr()->resize(twipsToPixels(*this, kProgrWidthTwips),
                        twipsToPixels(*this, kProgrHeightTwips));
    }
    return QMainWindow::eventFilter(watched, event);
}

// ---- commands --------------------------------------------------------------------------------

void frmMain::chooseLanguage(Language language) {
    session_.chooseLanguage(language);
    applyLanguage();
}

void frmMain::mnucom_Click(int n) {
    if (worker_->busy()) return;  // the port belongs to the running sequence
    session_.selectCom(n);
    worker_->selectPort(n);
}

void frmMain::mnunetz_Chosen(const NetworkPort& port) {
    if (worker_->busy()) return;  // the port belongs to the running sequence
    session_.selectNetwork(port);
    worker_->selectNamedPort(port.name());
}

void frmMain::mnurs_Click(int rs) {
    session_.selectRs(rs);
}

void frmMain::mnuHelpAbout_Click() {
    auto* about = new frmAbout(product_, session_.language(), this);
    about->setAttribute(Qt::WA_DeleteOnClose);
    about->setMessagePresenter(messages_);
    about->setWindowModality(Qt::ApplicationModal);
    about->show();
}

void frmMain::showMessage(const std::optional<MessageText>& message) {
    if (closing_ || !message) return;
    messages_->show(this, *message);
}

// The progress window's caption and picture follow the sequence: the picture of the hardware
// query while the device is asked what it is and during a read-back, the programming picture
// while it is programmed.
void frmMain::showProgrStage(Stage stage) {
    Progr* p = progr();
    p->setPicture(stage == Stage::Programming ? 0 : 1);
    p->setWindowTitle(qs(progrCaption(stage, session_.language())));
}

void frmMain::showProgrStep() {
    if (!stepShown_) return;
    progr()->setStepLine(qs(stepLine(step_, secondsLeft_, session_.language())));
}

void frmMain::saveProgrTranscript() {
    if (progr_.isNull() || progr_->transcript().empty()) return;
    const Language language = session_.language();
    const std::string started =
        progr_->transcriptStarted().toString(QStringLiteral("yyyy-MM-dd_HHmm")).toStdString();
    const std::string path =
        files_->saveFile(progr_, std::string(kTranscriptSaveTitle.in(language)),
                         fillIn(kTranscriptPreset.in(language), started),
                         {std::string(kTranscriptFilter.in(language)), std::string(kFilterAll)});
    if (path.empty()) return;
    if (!saveTranscript(path, progr_->transcript())) {
        showMessage(fileErrorMessage(FileError::CannotWrite, path, true, language));
    }
}

// The transcript's last line: how the job ended and why, in the user's language.
template <class R>
std::string transcriptReason(const R& result, Language language) {
    std::string reason;
    if constexpr (requires { result.reason.in(language); }) reason = result.reason.in(language);
    if constexpr (requires { result.portError; }) {
        if (!result.portError.empty()) {
            reason += (reason.empty() ? "" : " ") + ("(" + result.portError + ")");
        }
    }
    return reason;
}

template <class R>
void frmMain::runSequence(Stage stage, std::function<R(Link&)> job, std::function<void(R)> done) {
    if (worker_->busy() || worker_->shuttingDown()) return;
    const std::string what =
        "kalvo, " + session_.portText() + ", " + session_.rsText() + ", " + session_.addressText();
    // The job keeps its transcript on the worker thread; each finished line is queued to this
    // window behind the job's other events, so the log window holds it before `done` runs.
    job = [this, job = std::move(job), what, language = session_.language()](Link& link) {
        Transcript transcript(
            SystemWallClock().now(), link.clock(), [this](const std::string& line) {
                QMetaObject::invokeMethod(
                    this, [this, line] { progr()->addTranscriptLine(line); }, Qt::QueuedConnection);
            });
        link.setTranscript(&transcript);
        transcript.begin(what);
        R result = job(link);
        transcript.ended(result.outcome, transcriptReason(result, language));
        link.setTranscript(nullptr);
        return result;
    };
    Progr* p = progr();
    p->reset();
    stepShown_ = false;
    showProgrStage(stage);
    p->show();
    p->raise();
    setCursor(Qt::WaitCursor);
    p->setCursor(Qt::WaitCursor);
    auto onEvent = [this](const DeviceEvent& e) {
        switch (e.kind) {
            case DeviceEvent::Kind::Stage:
                showProgrStage(e.stage);
                break;
            case DeviceEvent::Kind::Log:
                progr()->addLine(qs(e.text));
                break;
            case DeviceEvent::Kind::Progress:
                progr()->setProgress(e.value);
                break;
            case DeviceEvent::Kind::Step:
                step_ = e.step;
                stepShown_ = true;
                secondsLeft_ = 0;
                showProgrStep();
                break;
            case DeviceEvent::Kind::Waiting:
                secondsLeft_ = e.value;
                showProgrStep();
                break;
            case DeviceEvent::Kind::MeasuredLine:
                break;
        }
    };
    // The result's box comes while the log still shows what was sent. The log stays open after
    // it, so that its transcript can be saved, until the user closes it.
    worker_->start<R>(std::move(job), std::move(onEvent),
                      [this, done = std::move(done)](std::optional<R> result) {
                          unsetCursor();
                          if (!progr_.isNull()) progr_->unsetCursor();
                          if (result) {
                              done(std::move(*result));
                          } else {
                              showMessage(session_.jobFailed().message);
                          }
                      });
}

void frmMain::mnupara_Click() {
    if (worker_->busy()) return;
    if (!session_.hardwareKnown()) {
        hardware()->show();
        hardware()->raise();
        return;
    }
    if (param_.isNull()) {
        openParameterDialog();
    } else {
        param_->show();
        param_->raise();
    }
}

void frmMain::hardwareChosen(int index) {
    if (index >= 1 && index < static_cast<int>(kHardwareList.size())) {
        session_.chooseHardware(index);
        refreshListing();
        openParameterDialog();
        return;
    }
    const std::string address = session_.context().Geraeteadresse;
    runSequence<Identification>(
        Stage::Hardware, [address](Link& link) { return Hardware_erkennung(link, address); },
        [this](Identification id) {
            const Applied applied = session_.applyIdentification(id);
            showMessage(applied.message);
            refreshListing();
            if (applied.ok) openParameterDialog();
        });
}

bool frmMain::faultsAccepted() {
    const AppContext& ctx = session_.context();
    const std::string list = faultList(ctx.record, ctx.language, ctx.decimal);
    if (list.empty()) return true;
    MessageText question;
    question.title = std::string(kProgramWithFaultsTitle.in(ctx.language));
    question.text = fillIn(kProgramWithFaults.in(ctx.language), list);
    return messages_->ask(this, question);
}

void frmMain::mnuprogr_Click() {
    if (!session_.record().hasConfiguration()) return;
    if (worker_->busy()) return;
    // A record that cannot be sent is not offered: the box says which field is in the way.
    const AppContext& ctx = session_.context();
    const auto sendable = [&] {
        const RecordCheck check = checkRecordSendable(ctx.record, ctx.decimal);
        if (!check.sendable())
            showMessage(recordFaultMessage(check.fault, ctx.language, check.cell));
        return check.sendable();
    };
    // Judged before the page on screen is stored too: the page shows a stored cell as it
    // understands it (a connection type 1.5 as 2), and storing it must not turn a record the
    // device cannot take into one that goes out.
    if (!sendable()) return;
    // The edit on screen is the one that is sent.
    if (!param_.isNull() && param_->isVisible()) {
        const Record before = ctx.record;
        param_->OK_Parametrieren_Click();
        // A changed basic page resets every output to its defaults, and the notice says so: the
        // user looks at those outputs before anything is sent, nothing goes out unseen.
        const bool outputsReset = ctx.record.Grundwerte != before.Grundwerte &&
                                  (ctx.record.Analogwerte != before.Analogwerte ||
                                   ctx.record.Binaerwerte != before.Binaerwerte);
        if (outputsReset || !sendable()) return;
    }
    if (!faultsAccepted()) return;
    const Record snapshot = session_.record();
    const std::string address = session_.context().Geraeteadresse;
    const char decimal = session_.context().decimal;
    SafetyNet net;
    net.verify = session_.programmingSafety().Pruefen;
    net.language = session_.language();
    if (session_.programmingSafety().Sichern) net.backupFolder = backupFolder().toStdString();
    runSequence<ProgramResult>(
        Stage::Hardware,  // the device is asked what it is first
        [snapshot, address, decimal, net](Link& link) {
            return programTransducer(link, snapshot, address, decimal, net);
        },
        [this](ProgramResult result) {
            const Applied applied = session_.applyProgramming(result);
            refreshListing();
            showMessage(applied.message);
            // What the unit stored against what was sent, as "Mit Gerät vergleichen" lists it.
            if (!result.differences.empty()) {
                Vergleich* w = vergleich();
                w->showDifferences(result.differences);
                w->show();
                w->raise();
            }
        });
}

void frmMain::mnudaten_Click() {
    const Record snapshot = session_.record();
    const std::string address = session_.context().Geraeteadresse;
    runSequence<ReadBackResult>(
        Stage::ReadBack,
        [snapshot, address](Link& link) { return readTransducer(link, snapshot, address); },
        [this](ReadBackResult result) {
            const Applied applied = session_.applyReadBack(std::move(result));
            refreshListing();
            showMessage(applied.message);
            if (applied.ok) openParameterDialog();
        });
}

// Compares with the record as stored: a page being edited in the parameter dialog counts once
// it is stored (storing it here could reset the outputs, and a comparison changes nothing).
// The unit's copy is read on the worker like "Daten auslesen" but applied to nothing.
void frmMain::mnuvergleich_Click() {
    if (!session_.record().hasConfiguration()) {
        // Nothing to compare with: say so rather than ignore the click.
        const Language language = session_.language();
        showMessage(MessageText{std::string(kCompareNothingTitle.in(language)),
                                std::string(kCompareNothing.in(language)), false});
        return;
    }
    const Record snapshot = session_.record();
    const std::string address = session_.context().Geraeteadresse;
    runSequence<ReadBackResult>(
        Stage::ReadBack,
        [snapshot, address](Link& link) { return readTransducer(link, snapshot, address); },
        [this, snapshot](ReadBackResult result) {
            const Language language = session_.language();
            if (result.outcome != Outcome::Ok) {
                showMessage(messageFor(result.outcome, result.portError, language));
                return;
            }
            Vergleich* w = vergleich();
            w->showDifferences(
                compareRecords(snapshot, result.record, language, session_.context().decimal));
            w->show();
            w->raise();
        });
}

void frmMain::runAddressChange(const AddressChange& change) {
    worker_->start<AddressChangeResult>(
        [change](Link& link) { return changeAddress(link, change); }, nullptr,
        [this](std::optional<AddressChangeResult> result) {
            if (adresse_.isNull()) return;
            if (!result) {
                showMessage(session_.jobFailed().message);
                return;
            }
            adresse_->showResult(*result);
        });
}

void frmMain::runDirectInput(const std::string& text) {
    worker_->start<Outcome>([text](Link& link) { return sendDirect(link, text); }, nullptr,
                            [this](std::optional<Outcome> outcome) {
                                if (direkt_.isNull()) return;
                                direkt_->showResult(outcome.value_or(Outcome::LinkFailure));
                            });
}

void frmMain::printSheet() {
    const AppContext& ctx = session_.context();
    printDatasheet(this, ctx.record, sheetOptionsNow(sheetLanguage(), ctx.decimal), *printer_,
                   *messages_);
}

void frmMain::saveSheetAsPdf() {
    const AppContext& ctx = session_.context();
    saveDatasheetPdf(this, ctx.record, sheetOptionsNow(sheetLanguage(), ctx.decimal),
                     session_.projectPath(), *files_, *messages_);
}

void frmMain::Datei_Fortschritt() {
    if (ProgressBar1_->value() == 100) ProgressBar1_->setValue(1);
    ProgressBar1_->setValue(ProgressBar1_->value() + 1);
}

void frmMain::mnufile_Click(int index) {
    switch (index) {
        case 0: {
            if (worker_->busy() || !changesLetGo()) return;
            session_.newProject();
            if (!digAuswahl_.isNull()) digAuswahl_->clearAll();
            hardware()->select(0);
            hardware()->show();
            hardware()->raise();
            return;
        }
        case 1: {
            if (worker_->busy() || !changesLetGo()) return;
            const std::string path =
                files_->openFile(this, std::string(kOpenTitle),
                                 {std::string(kOpenFilterCfg), std::string(kFilterAll)});
            if (!path.empty()) openProjectFile(path);
            return;
        }
        case 3:
        case 4:
            saveProject(index == 4);
            return;
        case 6:
            saveSheetAsPdf();
            return;
        case 7:
            printSheet();
            return;
        case 9:
            close();
            return;
        default:
            return;  // 2, 5 and 8 are separators
    }
}

void frmMain::openProjectFile(const std::string& path) {
    ProgressBar1_->setValue(1);
    ProgressBar1_->show();
    const Applied loaded = session_.openProject(path);
    Datei_Fortschritt();
    ProgressBar1_->hide();
    ProgressBar1_->setValue(1);
    showMessage(loaded.message);
    if (loaded.ok) {
        refreshListing();
        openParameterDialog(session_.projectCaptionName());
    }
}

bool frmMain::saveProject(bool saveAs) {
    std::string path = saveAs ? std::string() : session_.projectPath();
    if (path.empty()) {
        path = files_->saveFile(this, std::string(saveAs ? kSaveAsTitle : kSaveTitle),
                                saveAs ? std::string() : std::string(kSavePreset),
                                {std::string(kSaveFilterCfg), std::string(kFilterAll)});
        if (path.empty()) return false;
    }
    const Applied saved = session_.saveProject(path);
    showMessage(saved.message);
    return saved.ok;
}

bool frmMain::changesLetGo() {
    if (!session_.unsavedChanges()) return true;
    const Language language = session_.language();
    const MessageText question{std::string(kUnsavedTitle.in(language)),
                               std::string(kUnsaved.in(language)), false};
    switch (messages_->askSave(this, question)) {
        case SaveChoice::Save:
            return saveProject(false);
        case SaveChoice::Discard:
            return true;
        case SaveChoice::Cancel:
            return false;
    }
    return false;
}

void frmMain::closeEvent(QCloseEvent* event) {
    if (!closing_ && !changesLetGo()) {
        event->ignore();
        return;
    }
    closing_ = true;
    if (!isMinimized()) {
        const QRect outer = frameGeometry();
        session_.saveSettings(pixelsToTwips(*this, outer.x()), pixelsToTwips(*this, outer.y()),
                              pixelsToTwips(*this, outer.width()),
                              pixelsToTwips(*this, outer.height()));
    }
    // A running sequence ends at its next pause or wait, and no new one starts; the worker
    // closes the port.
    worker_->shutdown();
    // Unload the other windows, last created first.
    const QList<QWidget*> windows = findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
    for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
        if ((*it)->isWindow()) (*it)->close();
    }
    event->accept();
}

}  // namespace kalvo
