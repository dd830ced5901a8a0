// Hardware identification: the wake-up frames, the "-*?" query in virtual time, the reply
// parser and the whole automatic detection.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "link/hardware.h"
#include "support/link_rig.h"
#include "text/value_lists.h"

namespace kalvo::test {
namespace {

using Fields = std::vector<std::pair<std::size_t, std::string>>;
using Writes = std::vector<std::pair<long long, std::string>>;

// `before`, the marker, then the 95 characters p+1..p+95 (p the marker's last character) of
// the worked example (2 right behind the marker, 5 at p+12, 120 at p+69..p+71 and 1.2 at
// p+93..p+95), with `extra` placed over them at p+k.
std::string hardwareText(const std::string& before, const Fields& extra = {}) {
    std::string text = before + hardwareReply("2", " 5", "120", "1.2").substr(8);
    for (const auto& [k, s] : extra) text.replace(before.size() + 6 + k, s.size(), s);
    return text;
}

auto fields(const HardwareInfo& i) {
    return std::tuple(i.analog, i.binary, i.voltage, i.current);
}

TEST(HardwareReply, FieldsAreReadBehindTheLastMarker) {
    struct Case {
        std::string text;
        HardwareInfo expected;
    };
    const Fields other = {{1, "1"}, {11, " 1"}, {69, "600"}, {93, "5  "}};
    const std::vector<Case> cases = {
        {hardwareText("TXR 3.0 "), {2, 5, 120, 1.2}},  // the worked example
        {hardwareText("", {{1, "4"}, {11, "13"}}), {4, 13, 120, 1.2}},
        {hardwareText("", {{11, "9_"}, {69, "6 0"}}), {2, 9, 60, 1.2}},    // inner blanks ignored
        {hardwareText("A", other) + hardwareText("B"), {2, 5, 120, 1.2}},  // last marker
        {[] {  // positions count characters: a degree sign before, a micro sign in the filler
             std::string t = hardwareText("\xC2\xB0 ");
             return t.replace(t.find("Ana.:  ") + 30, 1, "\xC2\xB5");
         }(),
         {2, 5, 120, 1.2}},
    };
    for (const Case& c : cases) {
        HardwareParse r = parseHardwareReply(c.text);
        SCOPED_TRACE(c.text);
        ASSERT_TRUE(r.info) << r.reason.english;
        EXPECT_EQ(fields(*r.info), fields(c.expected));
    }
}

TEST(HardwareReply, UnusableRepliesGiveTheirReason) {
    const std::string full = hardwareText("TXR ");  // exactly p+95 characters
    const std::string tooShort = "too short";
    const std::string analog = "analog output count";
    const std::string binary = "binary output count";
    const std::vector<std::pair<std::string, std::string>> bad = {
        {"Ana.: " + std::string(120, '1'), "no \"Ana.:  \""},  // one blank short of the marker
        {full.substr(0, full.size() - 1), tooShort},           // too short for the current field
        // The last marker is too close to the end; no earlier one is reused.
        {full + "Ana.:  1", tooShort},
        {hardwareText("", {{1, "5"}}), analog},  // five analog outputs
        // The analog field is p (the marker's last blank) and p+1: a minus sign there leaves
        // no digit, 0 outputs. (A negative count cannot be written into it at all.)
        {hardwareText("", {{1, "-"}}), analog},
        {hardwareText("", {{11, "14"}}), binary},  // fourteen binary outputs
        {hardwareText("", {{11, ".5"}}), binary},  // half an output rounds to 0
        {hardwareText("", {{69, "  0"}}), "voltage class"},
        {hardwareText("", {{93, "0.0"}}), "current class"},
    };
    for (const auto& [text, reason] : bad) {
        HardwareParse r = parseHardwareReply(text);
        EXPECT_FALSE(r.info) << text;
        EXPECT_NE(r.reason.english.find(reason), std::string::npos) << text << "\n"
                                                                    << r.reason.english;
    }
}

TEST(HardwareList, EveryEntryNamesItsOutputCounts) {
    EXPECT_EQ(kHardwareList[0], "TXR 3.0 auto");
    for (int i = 1; i <= 12; ++i) {
        int a = 0, d = 0;
        ASSERT_EQ(std::sscanf(std::string(kHardwareList[i]).c_str(), "TXR 3.0 %dA/%dD", &a, &d), 2);
        EXPECT_EQ(variantCounts(i), std::make_pair(a, d)) << kHardwareList[i];
    }
    for (int i : {-1, 0, 13}) EXPECT_EQ(variantCounts(i), std::make_pair(0, 0));
}

TEST(HardwareQuery, WaitsTwoSecondsThenReadsOneCharacterIn150PassesOf12Ms) {
    struct Case {
        const char* name;
        std::string arriving;
        long long atMs, breakMs;  // breakMs 0: the port stays; -1: the port closes on the write
        std::optional<std::string> reply;
        bool answered, cutOff;
        std::optional<char> left;  // what the link still holds afterwards
        long long elapsedMs;
    };
    const std::string text = hardwareText("TXR 3.0 ");
    const std::string sent =
        text.substr(0, 20) + "\r\n" + text.substr(20, 40) + "\t" + text.substr(60) + "\r\n";
    std::string many;
    for (int i = 0; i < 200; ++i) many += static_cast<char>('a' + i % 26);
    const long long all = 2000 + 150 * 12;
    const std::vector<Case> cases = {
        {"CR, LF and TAB are dropped", sent, 300, 0, text, true, false, std::nullopt, all},
        {"150 characters at most", many, 10, 0, many.substr(0, 150), true, true, many[150], all},
        // The passes read at 2012, 2024 ... 3800 ms: no early end, no late characters.
        {"late text", "ABC", 3780, 0, "AB", true, true, 'C', all},
        {"port lost", "", 0, 2500, std::nullopt, false, false, std::nullopt, 2000 + 42 * 12},
        {"port closed", "", 0, -1, std::nullopt, false, false, std::nullopt, 2012},
        // Input waiting before the query belongs to an earlier frame; so does a late echo of
        // the "-0-t" sent before (the query's own echo is an answer).
        {"waiting input is dropped", "old\r\n", 0, 0, "", false, false, std::nullopt, all},
        {"late echo", "-0-t\r\n", 300, 0, "-0-t", false, false, std::nullopt, all},
        {"own echo", "-0-*?\r\n", 300, 0, "-0-*?", true, false, std::nullopt, all},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Rig r;
        ASSERT_TRUE(r.link.ensureOpen() && r.link.send("\n\r-0-t\n\r"));
        if (!c.arriving.empty()) r.port.deliver(c.arriving, Millis{c.atMs});
        if (c.breakMs > 0) r.port.breakAfter(Millis{c.breakMs});
        if (c.breakMs < 0) r.port.onWrite = [](ScriptedPort& p, std::string_view) { p.close(); };

        const std::optional<HardwareQuery> q = queryHardware(r.link, "0");
        EXPECT_EQ(q.has_value(), c.reply.has_value());
        EXPECT_EQ(r.writes().back(), std::make_pair(0LL, std::string("-0-*?\n\r")));
        EXPECT_EQ(r.clock.elapsedMs(), c.elapsedMs);
        if (q && c.reply) {
            EXPECT_EQ(q->text, *c.reply);
            EXPECT_EQ(q->answered, c.answered);
            EXPECT_EQ(q->cutOff, c.cutOff);
            EXPECT_EQ(r.link.readByteNow(), c.left);
        }
    }
}

// A device that answers the two wake-up "-t" frames with noise (their LF CR prefix garbles
// them), later "-t" frames with their echo and "-*?" with `hardware`.
void wakeableDevice(ScriptedPort& port, std::string hardware, std::string address = "0") {
    auto wakes = std::make_shared<int>(0);
    answerFrames(port, [=](const std::string& frame) -> std::string {
        if (frame == "-" + address + "-t") return ++*wakes <= 2 ? "-0-?\r\n" : frame + "\r\n";
        if (frame == "-" + address + "-*?") return hardware;
        return "";
    });
}

TEST(HardwareErkennung, WakesFlushesTestsTheLinkAndQueries) {
    Rig r;
    r.observer.port = &r.port;
    wakeableDevice(r.port, "\r\n" + hardwareText("TXR 3.0 ") + "\r\n", "7");

    Identification id = Hardware_erkennung(r.link, "7");

    ASSERT_EQ(id.outcome, Outcome::Ok) << id.reason.english;
    EXPECT_EQ(fields(id.info), fields({2, 5, 120, 1.2}));
    // Wake-up at 0; the link test after the 2000 ms pause; its echo comes 20 ms later and the
    // query follows at once.
    EXPECT_EQ(r.writes(), (Writes{{0, "\r"},
                                  {0, "\n\r-7-t\n\r"},
                                  {0, "\n\r-7-t\n\r"},
                                  {2000, "-7-t\n\r"},
                                  {2020, "-7-*?\n\r"}}));
    EXPECT_EQ(r.clock.elapsedMs(), 2020 + 2000 + 150 * 12);
    EXPECT_EQ(r.observer.lines, (std::vector<std::string>{"-7-t", "-7-t  OK"}));
    ASSERT_EQ(r.observer.stages.size(), 1u);  // announced before anything is sent
    EXPECT_EQ(r.observer.stages[0], std::make_pair(Stage::Hardware, std::size_t{0}));
}

TEST(HardwareErkennung, Failures) {
    struct Case {
        const char* name;
        std::function<void(Rig&)> setup;
        Outcome outcome;
        long long elapsedMs;
    };
    auto cancelAtLinkTest = [](Rig& r) {
        r.port.onWrite = [&r](ScriptedPort&, std::string_view b) { r.stop = b == "-0-t\n\r"; };
    };
    auto slowUnit = [](Rig& r) {
        answerFrames(
            r.port,
            [](const std::string& f) {
                return f + "\r\n" + (f == "-0-*?" ? hardwareText("TXR ") + "\r\n" : "");
            },
            Millis{3000});
    };
    auto vanishInQuery = [](Rig& r) {
        wakeableDevice(r.port, "");
        r.port.breakAfter(Millis{3000});
    };
    const std::vector<Case> cases = {
        // No query follows a failed link test: that would take 3800 ms more.
        {"silent device", [](Rig&) {}, Outcome::LinkFailure, 2000 + 20000},
        {"wrong echo", [](Rig& r) { echoFrames(r.port, "X\r"); }, Outcome::LinkFailure, 2020},
        {"port cannot open", [](Rig& r) { r.port.failOpen = true; }, Outcome::LinkFailure, 0},
        // The echo's leftover LF is flushed before the query; the first pass finds the port gone.
        {"port vanishes in the query", vanishInQuery, Outcome::LinkFailure, 4020 + 12},
        {"unusable reply", [](Rig& r) { wakeableDevice(r.port, "no marker\r\n"); },
         Outcome::BadReply, 4020 + 150 * 12},
        // No reply in the 150 passes: the device is gone, a link failure.
        {"no reply to the query", [](Rig& r) { wakeableDevice(r.port, ""); }, Outcome::LinkFailure,
         4020 + 150 * 12},
        // Every answer 3 s late: the wake-up's echo passes the link test, the test's own echo
        // comes during the query, and the description is still arriving when the passes end.
        {"a unit too slow for the query", slowUnit, Outcome::LinkFailure, 3000 + 2000 + 150 * 12},
        {"cancelled", cancelAtLinkTest, Outcome::Cancelled, 2000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Rig r;
        c.setup(r);
        Identification id = Hardware_erkennung(r.link, "0");
        EXPECT_EQ(id.outcome, c.outcome);
        EXPECT_FALSE(id.reason.empty());
        EXPECT_EQ(id.reason == kNoHardwareReply, std::string(c.name) == "no reply to the query")
            << id.reason.english;
        EXPECT_EQ(r.clock.elapsedMs(), c.elapsedMs);
    }
}

}  // namespace
}  // namespace kalvo::test
