#include "shell/settings.h"

#include <gtest/gtest.h>

#include "support/fakes.h"

namespace kalvo {
namespace {

using MemoryStore = test::MemorySettings;

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
