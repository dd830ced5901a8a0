// The persisted per-user settings of the main window.
#pragma once

#include <string>

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

// Missing or unreadable values take the defaults.
Settings loadSettings(const SettingsStore& store);
// Writes all eight keys; "Sprache" as "True"/"False".
void saveSettings(SettingsStore& store, const Settings& settings);

// The device behind COM n: "COMn" on Windows; elsewhere "/dev/ttyS<n-1>" unless the store
// holds an override under "ComPath<n>".
std::string portPathFor(int com, const SettingsStore& store, bool windows);

}  // namespace kalvo
