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

TEST(Settings, FirstStartTakesTheDefaults) {
    MemoryStore store;
    const Settings s = loadSettings(store);
    EXPECT_EQ(s.MainLeft, 1000);
    EXPECT_EQ(s.MainTop, 1000);
    EXPECT_EQ(s.MainWidth, 7500);
    EXPECT_EQ(s.MainHeight, 6500);
    EXPECT_EQ(s.COM, 1);
    EXPECT_EQ(s.RS, 232);
    EXPECT_EQ(s.Adr, "0");
    EXPECT_FALSE(s.Sprache);
}

TEST(Settings, RoundTripWritesAllEightKeysWithTrueFalse) {
    MemoryStore store;
    Settings s;
    s.MainLeft = 15;
    s.MainTop = -30;
    s.MainWidth = 9000;
    s.MainHeight = 7000;
    s.COM = 3;
    s.RS = 485;
    s.Adr = "12";
    s.Sprache = true;
    saveSettings(store, s);
    EXPECT_EQ(store.values.size(), 8u);
    EXPECT_EQ(store.values["Sprache"], "True");
    EXPECT_EQ(store.values["RS"], "485");
    EXPECT_EQ(loadSettings(store), s);

    s.Sprache = false;
    saveSettings(store, s);
    EXPECT_EQ(store.values["Sprache"], "False");
    EXPECT_FALSE(loadSettings(store).Sprache);
}

TEST(Settings, UnreadableValuesFallBackPerKey) {
    MemoryStore store;
    store.values = {{"COM", "x"}, {"MainWidth", ""}, {"Sprache", "maybe"}, {"MainTop", " 42 "}};
    const Settings s = loadSettings(store);
    EXPECT_EQ(s.COM, 1);
    EXPECT_EQ(s.MainWidth, 7500);
    EXPECT_FALSE(s.Sprache);
    EXPECT_EQ(s.MainTop, 42);
}

TEST(Settings, ComNumbersMapToDevicePaths) {
    MemoryStore store;
    EXPECT_EQ(portPathFor(1, store, false), "/dev/ttyS0");
    EXPECT_EQ(portPathFor(8, store, false), "/dev/ttyS7");
    EXPECT_EQ(portPathFor(4, store, true), "COM4");
    store.values["ComPath2"] = "/dev/ttyUSB0";
    EXPECT_EQ(portPathFor(2, store, false), "/dev/ttyUSB0");
    EXPECT_EQ(portPathFor(2, store, true), "COM2");
    EXPECT_EQ(portPathFor(3, store, false), "/dev/ttyS2");
}

}  // namespace
}  // namespace kalvo
