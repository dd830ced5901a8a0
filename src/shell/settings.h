// The persisted per-user settings of the main window.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "link/port_name.h"
#include "platform/settings_store.h"

namespace kalvo {

struct Settings {
    // Window geometry in twips (1/1440 inch).
    int MainLeft = 1000;
    int MainTop = 1000;
    int MainWidth = 7500;
    int MainHeight = 6500;
    int COM = 1;
    int RS = 232;
    std::string Adr = "0";
    bool Sprache = false;
    bool operator==(const Settings&) const = default;
};

// The main window's stored size is its outer one, frame included, but a window is sized by its
// inside. The frame is known only once the window manager has framed the window, and some add it
// only after the first show. So the window starts with the stored size as its inside, and when
// a frame first shows, its inside is set once to the stored size less the frame; the size
// stored at exit (inside + frame) is then the one restored, however late the frame came.
struct WindowSize {
    int width = 0;
    int height = 0;
    bool operator==(const WindowSize&) const = default;
};

class OuterSizeRestore {
  public:
    explicit OuterSizeRestore(WindowSize stored) : stored_(stored) {}
    // The inside to give the window before it is shown.
    WindowSize initialInner() const { return stored_; }
    // Called with the window's inside and outside whenever they may have changed: the inside to
    // set, once, when a frame first shows (outside larger than inside in either direction).
    // Nothing while no frame shows, and nothing at all when the inside is no longer the one
    // given (the window manager or the user sized the window meanwhile).
    std::optional<WindowSize> framed(WindowSize inner, WindowSize outer);
    bool done() const { return done_; }

  private:
    WindowSize stored_;
    bool done_ = false;
};

// The safety net around programming, kept under "Sichern" and "Pruefen" and written as soon
// as the user changes it.
struct ProgrammingSafety {
    bool Sichern = true;   // back up the unit's configuration before programming
    bool Pruefen = false;  // read the device copy back after programming and compare it
    bool operator==(const ProgrammingSafety&) const = default;
};
ProgrammingSafety loadProgrammingSafety(const SettingsStore& store);
void saveProgrammingSafety(SettingsStore& store, const ProgrammingSafety& safety);

// Missing or unreadable values take the defaults.
Settings loadSettings(const SettingsStore& store);
// Writes all eight keys; "Sprache" as "True"/"False".
void saveSettings(SettingsStore& store, const Settings& settings);

// The gateways last chosen from the port menu's "Netzwerk...", the latest first, under
// "Netz1".."Netz4" as tcp:// names; entries that do not read as one are left out.
inline constexpr std::size_t kRecentNetworkPorts = 4;
std::vector<NetworkPort> loadRecentNetworkPorts(const SettingsStore& store);
// Puts `port` first (once), keeps the first kRecentNetworkPorts and writes the list.
std::vector<NetworkPort> rememberNetworkPort(SettingsStore& store, const NetworkPort& port);

// The device behind COM n: "COMn" on Windows; elsewhere "/dev/ttyS<n-1>" unless the store
// holds an override under "ComPath<n>".
std::string portPathFor(int com, const SettingsStore& store, bool windows);

}  // namespace kalvo
