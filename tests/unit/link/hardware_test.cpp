// Hardware identification: the wake-up frames, the "-*?" query in virtual time, the reply
// parser and the whole automatic detection.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "config/record.h"
#include "link/hardware.h"
#include "link_test_support.h"

namespace kalvo::test {
namespace {

using Fields = std::vector<std::pair<std::size_t, std::string>>;

// The fields of the worked example: 2 right behind the marker, 5 at p+12, 120 at p+69..p+71
// and 1.2 at p+93..p+95.
const Fields kExample = {{1, "2"}, {11, " 5"}, {69, "120"}, {93, "1.2"}};

// `before`, the marker, then the 95 characters p+1..p+95 (p the marker's last character):
// filler with the given texts placed at p+k.
std::string hardwareText(const std::string& before, const Fields& fields = kExample) {
    std::string text = before + "Ana.:  " + std::string(95, '_');
    const std::size_t p0 = before.size() + 6;  // 0-based index of p
    for (const auto& [k, s] : fields) text.replace(p0 + k, s.size(), s);
    return text;
}

// ---- the reply parser ------------------------------------------------------------------------

TEST(HardwareReply, FieldsAreReadBehindTheMarker) {
    HardwareParse r = parseHardwareReply(hardwareText("TXR 3.0 "));
    ASSERT_TRUE(r.info) << r.reason;
    EXPECT_EQ(r.info->analog, 2);
    EXPECT_EQ(r.info->binary, 5);
    EXPECT_DOUBLE_EQ(r.info->voltage, 120);
    EXPECT_DOUBLE_EQ(r.info->current, 1.2);

    Record rec;
    rec.setMaxSpannung(r.info->voltage);
    EXPECT_NEAR(rec.Max_Spannung_LN, 69.282, 0.0005);  // 120 / sqrt(3)
}

TEST(HardwareReply, TheLastMarkerWins) {
    const std::string first = hardwareText("A", {{1, "1"}, {11, " 1"}, {69, "600"}, {93, "5"}});
    HardwareParse r = parseHardwareReply(first + hardwareText("B"));
    ASSERT_TRUE(r.info) << r.reason;
    EXPECT_EQ(r.info->analog, 2);
    EXPECT_EQ(r.info->binary, 5);
    EXPECT_DOUBLE_EQ(r.info->voltage, 120);

    // A last marker too close to the end is not rescued by a complete earlier one.
    EXPECT_FALSE(parseHardwareReply(first + "Ana.:  1").info);
}

TEST(HardwareReply, WithoutTheMarkerThereIsNoInfo) {
    for (const std::string& text : {std::string(), std::string("Ana.: ") + std::string(120, '1'),
                                    hardwareText("x").replace(1, 7, "ana.:  ")}) {
        HardwareParse r = parseHardwareReply(text);
        EXPECT_FALSE(r.info) << text;
        EXPECT_FALSE(r.reason.empty());
    }
}

TEST(HardwareReply, TheReplyMustReachTheLastCharacterOfTheCurrentField) {
    const std::string full = hardwareText("TXR ");  // exactly p+95 characters
    EXPECT_TRUE(parseHardwareReply(full).info);
    HardwareParse cut = parseHardwareReply(full.substr(0, full.size() - 1));
    EXPECT_FALSE(cut.info);
    EXPECT_FALSE(cut.reason.empty());
}

TEST(HardwareReply, PositionsCountCharactersNotBytes) {
    std::string text = hardwareText("\xC2\xB0 ");            // a degree sign before the marker
    text.replace(text.find("Ana.:  ") + 30, 1, "\xC2\xB5");  // and a micro sign in the filler
    HardwareParse r = parseHardwareReply(text);
    ASSERT_TRUE(r.info) << r.reason;
    EXPECT_DOUBLE_EQ(r.info->voltage, 120);
    EXPECT_DOUBLE_EQ(r.info->current, 1.2);
}

TEST(HardwareReply, VariantsNoTxr30HasAreRejected) {
    struct Case {
        std::size_t at;
        std::string text;
    };
    const std::vector<Case> bad = {
        {1, "5"},     // five analog outputs
        {1, "_"},     // no analog count
        {0, "-1"},    // negative analog count (the marker's blank overwritten)
        {1, "."},     // "." only: no digit
        {11, "14"},   // fourteen binary outputs
        {11, " 0"},   // none
        {11, ".5"},   // half an output rounds to 0
        {69, "  0"},  // voltage class 0
        {69, "abc"},  // no voltage class
        {93, "0.0"},  // current class 0
        {93, "-1 "},  // negative current class
    };
    for (const Case& c : bad) {
        Fields f = kExample;
        f.push_back({c.at, c.text});
        HardwareParse r = parseHardwareReply(hardwareText("TXR ", f));
        EXPECT_FALSE(r.info) << "at p+" << c.at << " \"" << c.text << "\"";
        EXPECT_FALSE(r.reason.empty());
    }
}

TEST(HardwareReply, FieldsReadBlanksAndStopAtOtherCharacters) {
    struct Case {
        Fields extra;
        int analog, binary;
        double voltage, current;
    };
    const std::vector<Case> good = {
        {{{1, "4"}, {11, "13"}}, 4, 13, 120, 1.2},
        {{{11, "9_"}, {69, "6 0"}}, 2, 9, 60, 1.2},  // blanks between digits are ignored
        {{{11, "1."}, {93, "5A_"}}, 2, 1, 120, 5},   // a trailing point, a unit letter
        {{{69, "100"}, {93, "1__"}}, 2, 5, 100, 1},
    };
    for (const Case& c : good) {
        Fields f = kExample;
        f.insert(f.end(), c.extra.begin(), c.extra.end());
        HardwareParse r = parseHardwareReply(hardwareText("TXR ", f));
        ASSERT_TRUE(r.info) << r.reason;
        EXPECT_EQ(r.info->analog, c.analog);
        EXPECT_EQ(r.info->binary, c.binary);
        EXPECT_DOUBLE_EQ(r.info->voltage, c.voltage);
        EXPECT_DOUBLE_EQ(r.info->current, c.current);
    }
}

TEST(HardwareList, EveryEntryNamesItsOutputCounts) {
    EXPECT_EQ(kHardwareList[0], "TXR 3.0 auto");
    for (int i = 1; i <= 12; ++i) {
        int a = 0, d = 0;
        ASSERT_EQ(std::sscanf(std::string(kHardwareList[i]).c_str(), "TXR 3.0 %dA/%dD", &a, &d), 2);
        EXPECT_EQ(variantCounts(i), std::make_pair(a, d)) << kHardwareList[i];
    }
    EXPECT_EQ(variantCounts(7), std::make_pair(3, 5));  // "TXR 3.0 3A/5D"
    EXPECT_EQ(variantCounts(0), std::make_pair(0, 0));
    EXPECT_EQ(variantCounts(13), std::make_pair(0, 0));
    EXPECT_EQ(variantCounts(-1), std::make_pair(0, 0));
}

// ---- wake-up and query on the wire -----------------------------------------------------------

struct HardwareLinkTest : ::testing::Test {
    FakeClock clock;
    ScriptedPort port{clock};
    RecordingObserver observer;
    Link link{port, clock, &observer};

    std::vector<std::pair<long long, std::string>> writes() const {
        std::vector<std::pair<long long, std::string>> out;
        for (const auto& w : port.writes()) out.emplace_back(w.atMs, w.bytes);
        return out;
    }
};

using Writes = std::vector<std::pair<long long, std::string>>;

TEST_F(HardwareLinkTest, WakeFramesPutTheLoneCarriageReturnFirstOrLast) {
    EXPECT_TRUE(sendWakeFrames(link, "0", true));
    EXPECT_EQ(port.written(), "\r\n\r-0-t\n\r\n\r-0-t\n\r");
    EXPECT_EQ(port.writes().size(), 3u);

    FakeClock clk;
    ScriptedPort p{clk};
    Link l{p, clk};
    EXPECT_TRUE(sendWakeFrames(l, "12", false));
    EXPECT_EQ(p.written(), "\n\r-12-t\n\r\n\r-12-t\n\r\r");
}

TEST_F(HardwareLinkTest, WakeFramesOnAPortThatCannotOpen) {
    port.failOpen = true;
    EXPECT_FALSE(sendWakeFrames(link, "0", true));
    EXPECT_TRUE(link.lost());
    EXPECT_TRUE(port.writes().empty());
}

TEST_F(HardwareLinkTest, TheQueryWaitsTwoSecondsThenReadsOneCharacterPerPass) {
    const std::string text = hardwareText("TXR 3.0 ");
    // The device sends the text with line ends and a tab inside it.
    const std::string sent =
        text.substr(0, 20) + "\r\n" + text.substr(20, 40) + "\t" + text.substr(60) + "\r\n";
    answerFrames(
        port, [&](const std::string&) { return sent; }, Millis{300});

    auto reply = queryHardware(link, "0");

    ASSERT_TRUE(reply);
    EXPECT_EQ(*reply, text);
    EXPECT_EQ(writes(), (Writes{{0, "-0-*?\n\r"}}));
    EXPECT_EQ(clock.elapsedMs(), 2000 + 150 * 12);
    EXPECT_TRUE(parseHardwareReply(*reply).info);
}

TEST_F(HardwareLinkTest, TheQueryReadsAtMostOneHundredFiftyCharacters) {
    std::string many;
    for (int i = 0; i < 200; ++i) many += static_cast<char>('a' + i % 26);
    port.deliver(many, Millis{10});
    port.open();

    auto reply = queryHardware(link, "0");

    ASSERT_TRUE(reply);
    EXPECT_EQ(*reply, many.substr(0, 150));
    EXPECT_EQ(link.readByteNow(), many[150]);  // the rest is still waiting
}

TEST_F(HardwareLinkTest, TheQueryDoesNotStopEarlyAndTakesOnlyWhatArrivesInTime) {
    // Passes read at 2012, 2024 ... 3800 ms. Text arriving at 3780 ms is read at 3788 and
    // 3800: two characters.
    port.deliver("ABC", Millis{3780});
    port.open();
    auto reply = queryHardware(link, "0");
    ASSERT_TRUE(reply);
    EXPECT_EQ(*reply, "AB");
    EXPECT_EQ(clock.elapsedMs(), 3800);
}

TEST_F(HardwareLinkTest, ALostPortEndsTheQuery) {
    port.open();
    port.breakAfter(Millis{2500});
    EXPECT_FALSE(queryHardware(link, "0"));
    EXPECT_TRUE(link.lost());
    EXPECT_EQ(clock.elapsedMs(), 2504);  // the first pass at or after 2500 ms: 2000 + 42 x 12
}

TEST_F(HardwareLinkTest, AClosedPortEndsTheQuery) {
    port.onWrite = [](ScriptedPort& p, std::string_view) { p.close(); };
    port.open();
    EXPECT_FALSE(queryHardware(link, "0"));
    EXPECT_EQ(clock.elapsedMs(), 2012);
}

// ---- the automatic detection -----------------------------------------------------------------

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

TEST_F(HardwareLinkTest, DetectionWakesFlushesTestsTheLinkAndQueries) {
    wakeableDevice(port, "\r\n" + hardwareText("TXR 3.0 ") + "\r\n");
    struct StageWatch final : LinkObserver {
        ScriptedPort* port;
        std::vector<std::size_t> writesAtStage;
        void stage(Stage s) override {
            if (s == Stage::Hardware) writesAtStage.push_back(port->writes().size());
        }
    } watch;
    watch.port = &port;
    Link l{port, clock, &watch};

    Identification id = Hardware_erkennung(l, "0");

    ASSERT_EQ(id.outcome, Outcome::Ok) << id.reason;
    EXPECT_EQ(id.info.analog, 2);
    EXPECT_EQ(id.info.binary, 5);
    EXPECT_DOUBLE_EQ(id.info.voltage, 120);
    EXPECT_DOUBLE_EQ(id.info.current, 1.2);
    EXPECT_EQ(watch.writesAtStage, std::vector<std::size_t>{0});
    // Wake-up at 0; link test after the 2000 ms pause; its echo comes 20 ms later and the
    // query follows at once.
    EXPECT_EQ(writes(), (Writes{{0, "\r"},
                                {0, "\n\r-0-t\n\r"},
                                {0, "\n\r-0-t\n\r"},
                                {2000, "-0-t\n\r"},
                                {2020, "-0-*?\n\r"}}));
    EXPECT_EQ(clock.elapsedMs(), 2020 + 2000 + 150 * 12);
}

TEST_F(HardwareLinkTest, DetectionLogsTheLinkTest) {
    wakeableDevice(port, hardwareText("TXR 3.0 "));
    Identification id = Hardware_erkennung(link, "0");
    EXPECT_EQ(id.outcome, Outcome::Ok);
    EXPECT_EQ(observer.lines, (std::vector<std::string>{"-0-t", "-0-t  OK"}));
    EXPECT_EQ(observer.stages, std::vector<LinkObserver::Stage>{LinkObserver::Stage::Hardware});
}

TEST_F(HardwareLinkTest, DetectionUsesTheDeviceAddress) {
    wakeableDevice(port, hardwareText("TXR 3.0 "), "7");
    Identification id = Hardware_erkennung(link, "7");
    EXPECT_EQ(id.outcome, Outcome::Ok);
    EXPECT_EQ(port.frames().back(), "-7-*?");
}

TEST_F(HardwareLinkTest, ASilentDeviceFailsTheLinkTestAfterTwentySeconds) {
    Identification id = Hardware_erkennung(link, "0");
    EXPECT_EQ(id.outcome, Outcome::LinkFailure);
    EXPECT_EQ(clock.elapsedMs(), 2000 + 20000);
    EXPECT_EQ(port.writes().size(), 4u);  // no query
    EXPECT_EQ(observer.lines, (std::vector<std::string>{"-0-t", "abbruch", "abbruch"}));
}

TEST_F(HardwareLinkTest, AWrongEchoFailsTheLinkTest) {
    answerFrames(port, [](const std::string&) { return std::string("-1-t\r"); });
    Identification id = Hardware_erkennung(link, "0");
    EXPECT_EQ(id.outcome, Outcome::LinkFailure);
    EXPECT_EQ(port.frames().back(), "-0-t");
}

TEST_F(HardwareLinkTest, AnUnusableReplyIsABadReply) {
    for (const std::string& hw :
         {std::string("TXR 3.0 no marker here\r\n"), hardwareText("TXR ", {{1, "7"}}),
          hardwareText("TXR ").substr(0, 80)}) {
        FakeClock clk;
        ScriptedPort p{clk};
        Link l{p, clk};
        wakeableDevice(p, hw);
        Identification id = Hardware_erkennung(l, "0");
        EXPECT_EQ(id.outcome, Outcome::BadReply) << hw;
        EXPECT_FALSE(id.reason.empty());
    }
}

TEST_F(HardwareLinkTest, APortThatCannotOpenFailsAtOnce) {
    port.failOpen = true;
    Identification id = Hardware_erkennung(link, "0");
    EXPECT_EQ(id.outcome, Outcome::LinkFailure);
    EXPECT_EQ(clock.elapsedMs(), 0);
    EXPECT_TRUE(port.writes().empty());
}

TEST_F(HardwareLinkTest, APortVanishingDuringTheQueryIsALinkFailure) {
    wakeableDevice(port, "");
    port.breakAfter(Millis{3000});
    Identification id = Hardware_erkennung(link, "0");
    EXPECT_EQ(id.outcome, Outcome::LinkFailure);
    EXPECT_LT(clock.elapsedMs(), 2020 + 2000 + 150 * 12);
}

TEST_F(HardwareLinkTest, ACancelledDetectionSaysSo) {
    std::atomic<bool> stop{false};
    Link l{port, clock, &observer, &stop};
    port.onWrite = [&stop](ScriptedPort&, std::string_view bytes) {
        if (bytes == "-0-t\n\r") stop = true;
    };
    Identification id = Hardware_erkennung(l, "0");
    EXPECT_EQ(id.outcome, Outcome::Cancelled);
    EXPECT_EQ(clock.elapsedMs(), 2000);
}

}  // namespace
}  // namespace kalvo::test
