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

    // The address is read as the standard address window makes it.
    store.values = {{"COM", "x"}, {"Sprache", "maybe"}, {"MainTop", " 42 "}, {"Adr", "07.5x"}};
    EXPECT_EQ(loadSettings(store), (Settings{1000, 42, 7500, 6500, 1, 232, "7", false}));
    store.values = {{"Sprache", "-1"}};  // true as older versions stored it
    EXPECT_TRUE(loadSettings(store).Sprache);
}

// Start after start with a window manager that frames the window only after the first show
// (or already at it): the size stored at exit stays the one stored before.
TEST(Settings, TheStoredOuterSizeSurvivesALateFrame) {
    // The frame, and whether the window manager adds it at the show already.
    const std::pair<WindowSize, bool> cases[] = {
        {{2, 25}, false}, {{0, 25}, false}, {{16, 39}, true}, {{0, 0}, false}};
    for (const auto& [frame, framedAtShow] : cases) {
        WindowSize stored{700, 560};
        for (int start = 0; start < 3; ++start) {
            OuterSizeRestore restore(stored);
            WindowSize inner = restore.initialInner();
            auto outer = [&](bool framed) {
                return framed ? WindowSize{inner.width + frame.width, inner.height + frame.height}
                              : inner;
            };
            for (bool framed : {framedAtShow, true, true}) {  // the show, then moves
                if (const auto set = restore.framed(inner, outer(framed))) inner = *set;
            }
            stored = outer(true);  // what the exit writes
        }
        EXPECT_EQ(stored, (WindowSize{700, 560})) << frame.width << "x" << frame.height;
    }
    // A window sized by someone else before the frame came keeps that size.
    OuterSizeRestore restore({700, 560});
    EXPECT_EQ(restore.framed({700, 560}, {700, 560}), std::nullopt);
    EXPECT_EQ(restore.framed({640, 480}, {642, 505}), std::nullopt);
    EXPECT_TRUE(restore.done());
}

TEST(Settings, ComNumbersMapToDevicePaths) {
    MemoryStore store;
    store.values["ComPath2"] = "/dev/ttyUSB0";
    EXPECT_EQ(portPathFor(1, store, false), "/dev/ttyS0");
    EXPECT_EQ(portPathFor(2, store, false), "/dev/ttyUSB0");
    EXPECT_EQ(portPathFor(2, store, true), "COM2");
}

// The last four gateways, the latest first, each once; a damaged entry is left out.
TEST(Settings, RecentGatewaysKeepTheLatestFour) {
    MemoryStore store;
    store.values["Netz2"] = "tcp://h:0";
    for (const int port : {1, 2, 3, 4, 5, 3}) rememberNetworkPort(store, {"h", port});
    std::string order;
    for (const NetworkPort& p : loadRecentNetworkPorts(store)) order += p.name() + " ";
    EXPECT_EQ(order, "tcp://h:3 tcp://h:5 tcp://h:4 tcp://h:2 ");
}

}  // namespace
}  // namespace kalvo
