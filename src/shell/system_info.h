// Where the About box looks for the platform's system information program.
//
// On Windows the registry names it (see shell/ui/system_info_qt.cpp). Everywhere, and on
// Windows after the registry, the About box looks on the program search path for the known
// programs below, in this order, and starts the first one found; when none is found it says
// "Systeminformationsprogramm zur Zeit nicht verfügbar.".
#pragma once

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace kalvo {

// msinfo32 (Windows), then the system information programs of the Linux desktops: KDE's Info
// Center, HardInfo (and its successor), and the graphical front end of lshw.
std::span<const std::string_view> systemInfoCandidates();

// Finds a program by name on the search path: its full path, or nullopt.
using ExecutableLookup = std::function<std::optional<std::string>(std::string_view name)>;

// The first candidate that `lookup` finds.
std::optional<std::string> findSystemInfoProgram(const ExecutableLookup& lookup);

}  // namespace kalvo
