// The application's rules, without windows: what a new project, a hardware choice, a loaded or
// saved file and the result of a device sequence do to the program's state, which message the
// user gets, and which commands are offered. The main window binds its actions to a session and
// shows what it says; tests drive a session the way a user does.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "config/param_flow.h"
#include "device/programming.h"
#include "device/readback.h"
#include "link/hardware.h"
#include "platform/settings_store.h"
#include "shell/app_context.h"
#include "shell/settings.h"
#include "text/messages.h"

namespace kalvo {

// The commands whose availability depends on the state.
struct EnabledCommands {
    bool save = false;    // Save (menu and toolbar)
    bool saveAs = false;  // Save As
    bool print = false;   // Print (menu and toolbar) and Save as PDF
    bool device = true;   // everything that starts a device sequence or changes the port; off
                          // while a sequence runs
    bool operator==(const EnabledCommands&) const = default;
};

// What a command did: whether it took effect, and the box to show, if any.
struct Applied {
    bool ok = false;
    std::optional<MessageText> message;
};

class Session {
  public:
    // Reads the settings (address, language, port, interface type, window geometry) from `store`.
    Session(SettingsStore& store, char decimal, std::string programFolder = {});
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    AppContext& context() { return ctx_; }
    const AppContext& context() const { return ctx_; }
    // The parameter dialog's own state, kept between its openings.
    DialogFlags& dialogFlags() { return dialogFlags_; }
    const DialogFlags& dialogFlags() const { return dialogFlags_; }
    const Record& record() const { return ctx_.record; }
    Language language() const { return ctx_.language; }
    EnabledCommands commands() const;

    // ---- language ----
    // The toolbar's choice: this run's language and the one stored at exit.
    void chooseLanguage(Language language);
    // A command-line choice: this run only; the stored language stays.
    void useLanguageForThisRun(Language language);

    // ---- port, interface type, address ----
    // A port named on the command line ("Simulator", a device path) is used instead of the COM
    // port until a COM port is chosen from the menu.
    void usePortForThisRun(std::string description);
    void selectCom(int n);
    void selectRs(int rs);
    void setStandardAddress(std::string address);
    // A gateway chosen from the port menu's "Netzwerk...": used instead of the COM port until a
    // COM port is chosen; it heads the stored list of recent gateways.
    void selectNetwork(const NetworkPort& port);
    const std::optional<NetworkPort>& networkPort() const { return network_; }
    std::vector<NetworkPort> recentNetworkPorts() const;
    // The port the device sequences use: 0 for the one named on the command line,
    // kNetworkPortInUse for networkPort(), else COM n.
    static constexpr int kNetworkPortInUse = -1;
    int portInUse() const;
    int com() const { return settings_.COM; }
    int rs() const { return settings_.RS; }
    // Status-bar texts: "COM 1" (or the named port, "tcp://10.0.0.20:4001"), "RS-232", "Adr. 0".
    std::string portText() const;
    std::string rsText() const;
    std::string addressText() const;

    // ---- project ----
    // "New": the reset notice is suppressed, Save / Save As / Print are withdrawn and the
    // classes go back to 600 V / 5 A until the hardware is chosen.
    void newProject();
    // A manual choice from the hardware list (1..12): that variant with the classes the record
    // has, every table at its defaults.
    void chooseHardware(int listIndex);
    bool hardwareKnown() const;
    // The parameter dialog closed with OK or stored its pages: Save, Save As and Print.
    void parameterDialogAccepted();
    // Loads a project file; on failure the record stays and the box names the file.
    Applied openProject(const std::string& path);
    // Saves the record; the box when it failed. A file name without a suffix gets ".cfg".
    Applied saveProject(const std::string& path);
    // The project file last opened or saved; empty for a project not yet in a file.
    const std::string& projectPath() const { return projectPath_; }
    // Whether the configuration changed since it was last opened, saved, read from the unit or
    // programmed; a new project's defaults (after "Neu", a hardware choice or a detection) are
    // nothing to lose. "Neu", "Öffnen" and "Beenden" ask whether to save while it holds.
    // Whether saving now would write another file than the configuration was last opened,
    // saved, read or programmed as. A value the dialog stored as a number and the same value
    // read as text ("50") are the same: the file holds them alike.
    bool unsavedChanges() const;
    // How the parameter dialog names the opened file in its caption: its path relative to the
    // program's folder when it lies inside it, else the whole path.
    std::string projectCaptionName() const;

    // ---- results of device sequences (applied on the window thread) ----
    void setJobRunning(bool running);
    bool jobRunning() const { return jobRunning_; }
    // Automatic detection: on success a new project for the device's variant and classes.
    Applied applyIdentification(const Identification& result);
    // Programming: on success the device's classes reach the record and the success box.
    Applied applyProgramming(const ProgramResult& result);
    // Read-back: on success the record read from the device replaces the record.
    Applied applyReadBack(ReadBackResult result);
    // A sequence that ended without a result (it failed inside): the link-failure box.
    Applied jobFailed() const;

    // ---- the safety net around programming (stored at once) ----
    const ProgrammingSafety& programmingSafety() const { return safety_; }
    void setProgrammingSafety(const ProgrammingSafety& safety);

    // ---- settings ----
    // Writes all eight settings: the window geometry in twips as given, the port, interface
    // type, address and the stored language.
    void saveSettings(int leftTwips, int topTwips, int widthTwips, int heightTwips);
    const Settings& storedSettings() const { return settings_; }

    // ---- listeners ----
    // Called after every change of the state the windows show. The subscription ends when the
    // returned object is destroyed.
    class Subscription;
    [[nodiscard]] std::unique_ptr<Subscription> subscribe(std::function<void()> listener);

  private:
    void changed();
    // The record as it is now counts as kept (in a file, in the unit, or nothing to lose).
    void markClean() { clean_ = ctx_.record; }

    SettingsStore& store_;
    AppContext ctx_;
    DialogFlags dialogFlags_;
    Settings settings_;
    ProgrammingSafety safety_;
    bool storedEnglish_ = false;
    std::optional<std::string> portOverride_;
    std::optional<NetworkPort> network_;
    std::string projectPath_;
    Record clean_ = ctx_.record;
    bool save_ = false;
    bool saveAs_ = false;
    bool print_ = false;
    bool jobRunning_ = false;
    struct Listeners;
    std::shared_ptr<Listeners> listeners_;
};

class Session::Subscription {
  public:
    ~Subscription();
    Subscription(const Subscription&) = delete;
    Subscription& operator=(const Subscription&) = delete;

  private:
    friend class Session;
    Subscription(std::weak_ptr<Listeners> owner, int id) : owner_(std::move(owner)), id_(id) {}
    std::weak_ptr<Listeners> owner_;
    int id_;
};

}  // namespace kalvo
