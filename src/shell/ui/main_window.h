// The main window `frmMain`: menus, toolbar, status bar, the persisted settings, and the
// commands that start device sequences and file operations.
//
// objectNames: every menu, item and separator carries its control name; items of a control
// array carry stem + "_" + index ("mnufile_3", "mnucom_1", "mnurs_485"). Toolbar buttons are
// the actions "tbToolBar_" + key ("tbToolBar_Neu", "tbToolBar_Daten auslesen"), the toolbar
// separators "tbToolBar_sep" + position. Status-bar panels are the labels "sbStatusBar_1" ..
// "sbStatusBar_5".
#pragma once

#include <QMainWindow>
#include <QPointer>

#include <memory>

#include "link/link.h"
#include "link/outcome.h"
#include "shell/app_context.h"
#include "shell/ui/device_worker.h"
#include "shell/ui/presenters.h"

class QAction;
class QLabel;
class QProgressBar;
class QTimer;
class QToolBar;

namespace kalvo {

class SettingsStore;
class Progr;
class Meldung;
class Überwachung;
class Hardware;

class frmMain : public QMainWindow {
    Q_OBJECT
  public:
    // Loads the settings from `store`, sets up the port (not opened) and the captions.
    // `portFactory` makes the port of a COM number inside the device thread.
    frmMain(AppContext& context, SettingsStore& store, PortFactory portFactory,
            std::unique_ptr<Clock> clock = std::make_unique<SystemClock>(),
            QWidget* parent = nullptr);
    ~frmMain() override;

    // Replace the platform boxes and dialogs (tests). Not owned; null restores the default.
    void setMessagePresenter(MessagePresenter* presenter);
    void setFileDialogs(FileDialogs* dialogs);

    AppContext& context() { return ctx_; }
    DeviceWorker& worker() { return *worker_; }

    // Windows, created on first use.
    Progr* progr();
    Hardware* hardware();
    Überwachung* ueberwachung();
    Meldung* meldung();

    // Commands (menu and toolbar).
    void mnufile_Click(int index);
    void mnupara_Click();
    void mnuprogr_Click();
    void mnudaten_Click();
    void mnucom_Click(int n);
    void mnurs_Click(int index);
    void setSprache(bool english);

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildMenus();
    void buildToolBar();
    void buildStatusBar();
    void loadWindowSettings();
    void saveWindowSettings();
    void updateClock();
    void setDeviceCommandsEnabled(bool enabled);
    void setFileEntryEnabled(int index, bool enabled);
    void hardwareChosen(int index);
    void refreshListing();
    void showOutcome(Outcome outcome);
    void showMessage(const MessageText& message);
    void Datei_Fortschritt();

    void showProgrStage(Stage stage);
    template <class R>
    void runSequence(Stage stage, std::function<R(Link&)> job, std::function<void(R)> done);

    int twipsToPixels(int twips) const;
    int pixelsToTwips(int pixels) const;

    AppContext& ctx_;
    SettingsStore& store_;
    std::unique_ptr<DeviceWorker> worker_;
    QtMessagePresenter defaultMessages_;
    QtFileDialogs defaultFiles_;
    MessagePresenter* messages_ = &defaultMessages_;
    FileDialogs* files_ = &defaultFiles_;

    QToolBar* tbToolBar_ = nullptr;
    QLabel* panels_[5] = {};
    QProgressBar* ProgressBar1_ = nullptr;
    QTimer* clockTimer_ = nullptr;
    QPointer<Progr> progr_;
    QPointer<Hardware> hardware_;
    QPointer<Überwachung> ueberwachung_;
    QPointer<Meldung> meldung_;
    bool closing_ = false;
};

}  // namespace kalvo
