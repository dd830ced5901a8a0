#include "shell/settings.h"

#include <gtest/gtest.h>

#include <map>

namespace kalvo {
namespace {

class MemoryStore final : public SettingsStore {
  public:
    std::optional<std::string> get(std::string_view key) const override {
        auto it = values.find(std::string(key));
        if (it == values.end()) return std::nullopt;
        return it->second;
    }
    void set(std::string_view key, std::string_view value) override {
        values[std::string(key)] = std::string(value);
    }
    std::map<std::string, std::string> values;
};

TEST(Settings, DefaultsRoundTripAndFallBackPerKey) {
    MemoryStore store;
    const Settings defaults = loadSettings(store);
    EXPECT_EQ(defaults, (Settings{1000, 1000, 7500, 6500, 1, 232, "0", false}));

    const Settings custom{15, -30, 9000, 7000, 3, 485, "12", true};
    saveSettings(store, custom);
    EXPECT_EQ(store.values.size(), 8u);
    EXPECT_EQ(store.values["Sprache"], "True");
    EXPECT_EQ(loadSettings(store), custom);
    saveSettings(store, defaults);
    EXPECT_EQ(store.values["Sprache"], "False");

    store.values = {{"COM", "x"}, {"MainWidth", ""}, {"Sprache", "maybe"}, {"MainTop", " 42 "}};
    const Settings s = loadSettings(store);
    EXPECT_EQ(s, (Settings{1000, 42, 7500, 6500, 1, 232, "0", false}));
}

TEST(Settings, ComNumbersMapToDevicePaths) {
    MemoryStore store;
    store.values["ComPath2"] = "/dev/ttyUSB0";
    EXPECT_EQ(portPathFor(1, store, false), "/dev/ttyS0");
    EXPECT_EQ(portPathFor(8, store, false), "/dev/ttyS7");
    EXPECT_EQ(portPathFor(2, store, false), "/dev/ttyUSB0");
    EXPECT_EQ(portPathFor(3, store, false), "/dev/ttyS2");
    EXPECT_EQ(portPathFor(2, store, true), "COM2");
}

}  // namespace
}  // namespace kalvo
