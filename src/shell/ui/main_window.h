// The main window `frmMain`: menus, toolbar and status bar bound to the session, and the
// commands that start device sequences and file operations. It holds no rules of its own: it
// asks the session what a command does and which commands are offered, and shows the answer.
//
// objectNames: every menu, item and separator carries its control name; items of a control
// array carry stem + "_" + index ("mnufile_3", "mnucom_1", "mnurs_485"). Toolbar buttons are
// the actions "tbToolBar_" + key ("tbToolBar_Neu", "tbToolBar_Daten auslesen"), the toolbar
// separators "tbToolBar_sep" + position. Status-bar panels are the labels "sbStatusBar_1" ..
// "sbStatusBar_5".
#pragma once

#include <QMainWindow>
#include <QPointer>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "link/address.h"
#include "print/ui/datasheet_actions.h"
#include "shell/product_info.h"
#include "shell/session.h"
#include "shell/ui/device_worker.h"
#include "widgets/presenters.h"
#include "widgets/qt_translations.h"

class QAction;
class QActionGroup;
class QLabel;
class QMenu;
class QProgressBar;
class QTimer;
class QToolBar;

namespace kalvo {

class Progr;
class Meldung;
class Ueberwachung;
class Hardware;
class param;
class Adresse;
class standartadr;
class Netzwerk;
class Direkt;
class Anzeilist;
class Dig_Auswahl;
class Vergleich;
class Verlauf;
class Handbuch;

// The window's actions, by what they do. A menu item and its toolbar button are two actions.
struct MainActions {
    QAction* neu = nullptr;              // mnufile_0
    QAction* oeffnen = nullptr;          // mnufile_1
    QAction* speichern = nullptr;        // mnufile_3
    QAction* speichernUnter = nullptr;   // mnufile_4
    QAction* alsPdf = nullptr;           // mnufile_6
    QAction* drucken = nullptr;          // mnufile_7
    QAction* beenden = nullptr;          // mnufile_9
    QAction* parametrieren = nullptr;    // mnupara
    QAction* programmieren = nullptr;    // mnuprogr
    QAction* datenAuslesen = nullptr;    // mnudaten
    QAction* vergleichen = nullptr;      // mnuvergleich
    QAction* direkteingabe = nullptr;    // mnudirekt
    std::array<QAction*, 8> com{};       // mnucom_1 .. mnucom_8
    QAction* netzwerk = nullptr;         // mnunetz: a gateway on the network
    QAction* rs232 = nullptr;            // mnurs_232
    QAction* rs485 = nullptr;            // mnurs_485
    QAction* standardAdresse = nullptr;  // mnustand
    QAction* adresseAendern = nullptr;   // mnuadr
    QAction* sichern = nullptr;          // mnusichern: back up before programming
    QAction* pruefen = nullptr;          // mnupruefen: verify after programming
    QAction* symbolleiste = nullptr;     // mnuViewToolbar
    QAction* statusleiste = nullptr;     // mnuViewStatusBar
    QAction* einstellungen = nullptr;    // mnueinstell (under "Messen")
    QAction* messen = nullptr;           // mnumess
    QAction* verlauf = nullptr;          // mnuverlauf: the trend
    QAction* handbuch = nullptr;         // mnuHelpGuide (F1)
    QAction* info = nullptr;             // mnuHelpAbout
    // Toolbar buttons.
    QAction* tbNeu = nullptr;
    QAction* tbOeffnen = nullptr;
    QAction* tbSpeichern = nullptr;
    QAction* tbDrucken = nullptr;
    QAction* tbParametrieren = nullptr;
    QAction* tbMessen = nullptr;
    QAction* tbVerlauf = nullptr;
    QAction* tbDatenAuslesen = nullptr;
    QAction* tbProgrammieren = nullptr;
    QAction* tbDeutsch = nullptr;
    QAction* tbEnglisch = nullptr;
};

class frmMain : public QMainWindow {
    Q_OBJECT
  public:
    // Sets up the menus, toolbar and status bar from the session's state (port not opened).
    // `portFactory` makes the port inside the device thread (see PortFactory).
    frmMain(Session& session, PortFactory portFactory,
            std::unique_ptr<Clock> clock = std::make_unique<SystemClock>(),
            QWidget* parent = nullptr);
    ~frmMain() override;

    // Where programming keeps its backups: "backups" in the user's application data folder.
    static QString backupFolder();

    // Replace the platform boxes and dialogs (tests). Not owned; null restores the default.
    void setMessagePresenter(MessagePresenter* presenter);
    void setFileDialogs(FileDialogs* dialogs);
    void setPrinterChooser(PrinterChooser* chooser);

    Session& session() { return session_; }
    DeviceWorker& worker() { return *worker_; }
    const MainActions& actions() const { return actions_; }

    // Windows, created on first use.
    Progr* progr();
    Hardware* hardware();
    Ueberwachung* ueberwachung();
    Meldung* meldung();
    Adresse* adresse();
    standartadr* standardAddressWindow();
    Netzwerk* netzwerk();
    Direkt* direkt();
    Anzeilist* anzeilist();
    Dig_Auswahl* digAuswahl();
    Vergleich* vergleich();
    Verlauf* verlauf();
    // The user guide's window, the guide loaded.
    Handbuch* handbuch();
    // The parameter dialog while it is open; null otherwise.
    param* parameterDialog() const;

    // Commands (menu and toolbar).
    void mnufile_Click(int index);
    void mnupara_Click();
    void mnuprogr_Click();
    void mnudaten_Click();
    // Reads the unit and shows what differs from the configuration in the tool.
    void mnuvergleich_Click();
    void mnucom_Click(int n);
    // A gateway chosen in `Netzwerk`: the port from now on (not while a sequence runs).
    void mnunetz_Chosen(const NetworkPort& port);
    void mnurs_Click(int rs);
    void mnuHelpAbout_Click();
    void chooseLanguage(Language language);
    // Opens a project file as "Öffnen" does after its dialog (the command line's FILE.cfg).
    void openProjectFile(const std::string& path);

    // The right-click menu of the menu bar and toolbar: the view menu's two items themselves,
    // so the check marks and the bars never disagree.
    QMenu* createPopupMenu() override;

  protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildMenus();
    void buildToolBar();
    void buildStatusBar();
    void restoreGeometry();
    // Sets the inner size once the frame is known, so that the outer size is the stored one.
    void fitToStoredSize();
    void updateClock();
    void sessionChanged();
    void applyLanguage();
    void hardwareChosen(int index);
    // Shows the parameter dialog anew on the record (after a new project, a file, a read-back),
    // with `captionFile` after its caption when a file was opened.
    void openParameterDialog(const std::string& captionFile = {});
    // The language the dialog shows now (it may be the dialect), else the program's.
    Language sheetLanguage() const;
    // Whether the record may be programmed: the page checks' faults are listed and the user
    // asked to go on (default No).
    bool faultsAccepted();
    void printSheet();
    void saveSheetAsPdf();
    void runAddressChange(const AddressChange& change);
    void runDirectInput(const std::string& text);
    // The live values' poll as a device job: every line to the values window and the trend,
    // until stopped. There is one poll: a window that asks while it runs takes part in it.
    void startPoll();
    // A window that showed the poll was closed: the poll ends unless the other still shows it.
    void pollWindowLeft();
    // "Bild speichern..." and "Aufzeichnen..." of the trend: the file dialogs and their boxes.
    void saveTrendPicture();
    void startTrendRecording();
    void refreshListing();
    void showMessage(const std::optional<MessageText>& message);
    void Datei_Fortschritt();
    // Saves the project: to its file without asking (Save of an opened or saved project), else
    // to the file the user names; true when it was written.
    bool saveProject(bool saveAs);
    // Before "Neu", "Öffnen" and closing: changes that are in no file and no unit are saved or
    // dropped as the user answers; false when the user stays (Cancel, or the save failed).
    bool changesLetGo();

    void showProgrStage(Stage stage);
    // The progress window's step line from the running sequence's last step and wait.
    void showProgrStep();
    // "Protokoll speichern..." in the progress window: the transcript so far, to a file the
    // user names, written whole or not at all.
    void saveProgrTranscript();
    // Runs a device sequence on the worker with the progress window showing `stage`; `done` gets
    // the result on this thread, then its box shows; the window keeps the log and the transcript
    // until the user closes it. When the job failed inside, the link-failure box is shown
    // instead.
    template <class R>
    void runSequence(Stage stage, std::function<R(Link&)> job, std::function<void(R)> done);
    // A child window, made on first use as W(this, args...) and set up once by `setUp`; one
    // that was deleted is made anew.
    template <class W, class SetUp, class... Args>
    W* childWindow(QPointer<W>& window, SetUp setUp, Args&&... args);

    Session& session_;
    std::unique_ptr<Session::Subscription> subscription_;
    std::unique_ptr<DeviceWorker> worker_;
    QtMessagePresenter defaultMessages_;
    QtFileDialogs defaultFiles_;
    QtPrinterChooser defaultPrinter_;
    MessagePresenter* messages_ = &defaultMessages_;
    FileDialogs* files_ = &defaultFiles_;
    PrinterChooser* printer_ = &defaultPrinter_;
    ProductInfo product_;

    MainActions actions_;
    // The commands that start a device sequence or change the port: disabled together while a
    // sequence runs. A new device command joins with one addAction.
    QActionGroup* deviceCommands_ = nullptr;
    QToolBar* tbToolBar_ = nullptr;
    std::array<QLabel*, 5> panels_{};
    QProgressBar* ProgressBar1_ = nullptr;
    QTimer* clockTimer_ = nullptr;
    QPointer<Progr> progr_;
    QPointer<Hardware> hardware_;
    QPointer<Ueberwachung> ueberwachung_;
    QPointer<Meldung> meldung_;
    QPointer<param> param_;
    QPointer<Adresse> adresse_;
    QPointer<standartadr> standartadr_;
    QPointer<Netzwerk> netzwerk_;
    QPointer<Direkt> direkt_;
    QPointer<Anzeilist> anzeilist_;
    QPointer<Dig_Auswahl> digAuswahl_;
    QPointer<Vergleich> vergleich_;
    QPointer<Verlauf> verlauf_;
    bool polling_ = false;  // the poll job runs
    QPointer<Handbuch> handbuch_;
    QtTranslations qtTranslations_;
    bool closing_ = false;
    Step step_;  // the running (or last) sequence's step
    bool stepShown_ = false;
    int secondsLeft_ = 0;  // of its pause
    OuterSizeRestore outerSize_{WindowSize{}};
};

}  // namespace kalvo
