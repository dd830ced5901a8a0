#include "shell/settings.h"

#include <algorithm>
#include <cctype>
#include <charconv>

#include "link/address.h"

namespace kalvo {

namespace {

int readInt(const SettingsStore& store, std::string_view key, int fallback) {
    const auto text = store.get(key);
    if (!text) return fallback;
    std::string_view s = *text;
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    int value = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (ec != std::errc{} || end != s.data() + s.size()) return fallback;
    return value;
}

bool readBool(const SettingsStore& store, std::string_view key, bool fallback) {
    const auto text = store.get(key);
    if (!text) return fallback;
    std::string lower = *text;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    // Older stores wrote booleans as -1 / 0.
    if (lower == "true" || lower == "-1" || lower == "1") return true;
    if (lower == "false" || lower == "0") return false;
    return fallback;
}

}  // namespace

Settings loadSettings(const SettingsStore& store) {
    Settings s;
    s.MainLeft = readInt(store, "MainLeft", s.MainLeft);
    s.MainTop = readInt(store, "MainTop", s.MainTop);
    s.MainWidth = readInt(store, "MainWidth", s.MainWidth);
    s.MainHeight = readInt(store, "MainHeight", s.MainHeight);
    s.COM = readInt(store, "COM", s.COM);
    s.RS = readInt(store, "RS", s.RS);
    // Read the way the standard-address window makes an address ("12abc" is 12), so a hand-edited
    // or damaged value never goes into a frame as it stands.
    if (auto adr = store.get("Adr")) s.Adr = standardAddress(*adr).value_or(s.Adr);
    s.Sprache = readBool(store, "Sprache", s.Sprache);
    return s;
}

void saveSettings(SettingsStore& store, const Settings& s) {
    store.set("MainLeft", std::to_string(s.MainLeft));
    store.set("MainTop", std::to_string(s.MainTop));
    store.set("MainWidth", std::to_string(s.MainWidth));
    store.set("MainHeight", std::to_string(s.MainHeight));
    store.set("COM", std::to_string(s.COM));
    store.set("RS", std::to_string(s.RS));
    store.set("Adr", s.Adr);
    store.set("Sprache", s.Sprache ? "True" : "False");
}

ProgrammingSafety loadProgrammingSafety(const SettingsStore& store) {
    ProgrammingSafety s;
    s.Sichern = readBool(store, "Sichern", s.Sichern);
    s.Pruefen = readBool(store, "Pruefen", s.Pruefen);
    return s;
}

void saveProgrammingSafety(SettingsStore& store, const ProgrammingSafety& s) {
    store.set("Sichern", s.Sichern ? "True" : "False");
    store.set("Pruefen", s.Pruefen ? "True" : "False");
}

namespace {
std::string recentKey(std::size_t i) {
    return "Netz" + std::to_string(i + 1);
}
}  // namespace

std::vector<NetworkPort> loadRecentNetworkPorts(const SettingsStore& store) {
    std::vector<NetworkPort> ports;
    for (std::size_t i = 0; i < kRecentNetworkPorts; ++i) {
        const auto text = store.get(recentKey(i));
        if (!text) continue;
        if (auto port = parseNetworkPortName(*text).network) ports.push_back(std::move(*port));
    }
    return ports;
}

std::vector<NetworkPort> rememberNetworkPort(SettingsStore& store, const NetworkPort& port) {
    std::vector<NetworkPort> ports = loadRecentNetworkPorts(store);
    std::erase(ports, port);
    ports.insert(ports.begin(), port);
    if (ports.size() > kRecentNetworkPorts) ports.resize(kRecentNetworkPorts);
    for (std::size_t i = 0; i < ports.size(); ++i) store.set(recentKey(i), ports[i].name());
    return ports;
}

std::string portPathFor(int com, const SettingsStore& store, bool windows) {
    if (windows) return "COM" + std::to_string(com);
    if (auto path = store.get("ComPath" + std::to_string(com)); path && !path->empty()) {
        return *path;
    }
    return "/dev/ttyS" + std::to_string(com - 1);
}

std::optional<WindowSize> OuterSizeRestore::framed(WindowSize inner, WindowSize outer) {
    if (done_) return std::nullopt;
    const int frameWidth = outer.width - inner.width;
    const int frameHeight = outer.height - inner.height;
    if (frameWidth <= 0 && frameHeight <= 0) return std::nullopt;  // no frame yet
    done_ = true;
    if (inner != stored_) return std::nullopt;
    return WindowSize{std::max(1, stored_.width - std::max(0, frameWidth)),
                      std::max(1, stored_.height - std::max(0, frameHeight))};
}

}  // namespace kalvo
