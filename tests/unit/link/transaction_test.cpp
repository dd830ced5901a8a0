// The command/reply transaction: framing, pieces, both reply phases and their limits, in
// virtual time.
#include <gtest/gtest.h>

#include <atomic>
#include <optional>
#include <string>
#include <vector>

#include "link/transaction.h"
#include "link_test_support.h"

namespace kalvo::test {
namespace {

using Lines = std::vector<std::string>;

struct TransactionTest : ::testing::Test {
    FakeClock clock;
    ScriptedPort port{clock};
    RecordingObserver observer;
    Link link{port, clock, &observer};

    // A command of exactly n characters: "-0-D2," followed by digits.
    static std::string commandOfLength(std::size_t n) {
        std::string c = "-0-D2,";
        for (std::size_t i = c.size(); i < n; ++i) c += static_cast<char>('0' + i % 10);
        return c;
    }
};

// ---- framing and pieces ----------------------------------------------------------------------

TEST_F(TransactionTest, ShortCommandGoesOutAsOneFrameAndItsEchoCountsAsOk) {
    echoFrames(port);
    Transaction t = seriell(link, "-0-t", 0);

    ASSERT_EQ(port.writes().size(), 1u);
    EXPECT_EQ(port.writes()[0].bytes, "-0-t\n\r");  // LF first, then CR
    EXPECT_EQ(port.writes()[0].atMs, 0);
    EXPECT_TRUE(t.Befehl_ok);
    EXPECT_FALSE(t.Abbruch);
    EXPECT_FALSE(t.lost);
    EXPECT_EQ(t.Antwort, "-0-t\r");
    EXPECT_EQ(observer.lines, (Lines{"-0-t", "-0-t  OK"}));
    EXPECT_EQ(observer.steps, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(port.openCount, 1);
}

TEST_F(TransactionTest, LongCommandsGoOutInPiecesOfSixtyWithOneSecondPauses) {
    struct Case {
        std::size_t length;
        std::vector<std::size_t> pieceLengths;  // without the LF CR of the last piece
    };
    // 60 in one piece; 61 as 60 + 1; 120 as 60 + 60; 121 as 60 + 60 + 1; past 180 the third
    // piece carries all the rest.
    const std::vector<Case> cases = {
        {60, {60}}, {61, {60, 1}}, {120, {60, 60}}, {121, {60, 60, 1}}, {200, {60, 60, 80}}};
    for (const Case& c : cases) {
        SCOPED_TRACE("length " + std::to_string(c.length));
        FakeClock clk;
        ScriptedPort p{clk};
        RecordingObserver obs;
        Link l{p, clk, &obs};
        echoFrames(p);
        const std::string cmd = commandOfLength(c.length);

        Transaction t = seriell(l, cmd, 0);

        ASSERT_EQ(p.writes().size(), c.pieceLengths.size());
        std::size_t at = 0;
        for (std::size_t i = 0; i < c.pieceLengths.size(); ++i) {
            const bool last = i + 1 == c.pieceLengths.size();
            std::string expected = cmd.substr(at, c.pieceLengths[i]);
            if (last) expected += "\n\r";
            EXPECT_EQ(p.writes()[i].bytes, expected) << "piece " << i;
            EXPECT_EQ(p.writes()[i].atMs, 1000 * static_cast<long long>(i)) << "piece " << i;
            at += c.pieceLengths[i];
        }
        EXPECT_TRUE(t.Befehl_ok);
        // One step per piece plus one at the end of each reply phase.
        EXPECT_EQ(obs.steps.size(), c.pieceLengths.size() + 2);
    }
}

TEST_F(TransactionTest, CharactersAreCountedAndSentAsSingleBytes) {
    // 59 characters and a degree sign: 60 characters (61 bytes of UTF-8) stay one piece.
    std::string cmd = commandOfLength(59) + "\xC2\xB0";
    echoFrames(port);
    Transaction t = seriell(link, cmd, 0);

    ASSERT_EQ(port.writes().size(), 1u);
    EXPECT_EQ(port.writes()[0].bytes, commandOfLength(59) + "\xB0\n\r");
    EXPECT_TRUE(t.Befehl_ok);
    EXPECT_EQ(t.Antwort, cmd + "\r");  // back in UTF-8
    EXPECT_EQ(observer.lines.back(), cmd + "  OK");
}

// ---- the reply -------------------------------------------------------------------------------

TEST_F(TransactionTest, EverythingBeforeTheReplyStartIsSkipped) {
    port.deliver(std::string("\n\0xy", 4), Millis{5});
    echoFrames(port);
    Transaction t = seriell(link, "-0-t", 0);

    EXPECT_TRUE(t.Befehl_ok);
    EXPECT_EQ(t.Antwort, "-0-t\r");
}

TEST_F(TransactionTest, ALineFeedEndsTheReplyAsWellAsACarriageReturn) {
    echoFrames(port, "\n");
    Transaction t = seriell(link, "-0-t", 0);

    EXPECT_TRUE(t.Befehl_ok);
    EXPECT_EQ(t.Antwort, "-0-t\n");
}

TEST_F(TransactionTest, TheLineFeedAfterCarriageReturnStaysWaiting) {
    echoFrames(port, "\r\n");
    Transaction t = seriell(link, "-0-t", 0);
    EXPECT_EQ(t.Antwort, "-0-t\r");
    EXPECT_EQ(link.readByteNow(), '\n');
    EXPECT_EQ(link.readByteNow(), std::nullopt);
}

TEST_F(TransactionTest, TheNextTransactionSkipsTheLeftoverLineFeed) {
    echoFrames(port, "\r\n");
    Transaction first = seriell(link, "-0-t", 0);
    EXPECT_TRUE(first.Befehl_ok);

    port.onWrite = nullptr;
    port.deliver("-0-D1:0:50:230\r", Millis{30});
    Transaction second = seriell(link, "-0-D1", 1);
    EXPECT_EQ(second.Antwort, "-0-D1:0:50:230\r");
    EXPECT_FALSE(second.Abbruch);
}

TEST_F(TransactionTest, AnEchoDifferingOnlyInLetterCaseIsNotOk) {
    answerFrames(port, [](const std::string&) { return std::string("-0-T\r"); });
    Transaction t = seriell(link, "-0-t", 0);

    EXPECT_FALSE(t.Befehl_ok);
    EXPECT_FALSE(t.Abbruch);
    EXPECT_EQ(t.Antwort, "-0-T\r");
    EXPECT_EQ(observer.lines, (Lines{"-0-t", "-0-T  NICHT OK"}));
}

TEST_F(TransactionTest, DataRepliesAreNotComparedAndLeaveBefehlOkFalse) {
    answerFrames(port, [](const std::string& f) { return f + ":0:50:230:0\r"; });
    Transaction t = seriell(link, "-0-D1", 1);

    EXPECT_FALSE(t.Befehl_ok);
    EXPECT_FALSE(t.Abbruch);
    EXPECT_EQ(t.Antwort, "-0-D1:0:50:230:0\r");
    EXPECT_EQ(observer.lines, (Lines{"-0-D1"}));
    EXPECT_EQ(observer.steps.size(), 3u);
}

// ---- limits ----------------------------------------------------------------------------------

TEST_F(TransactionTest, ASilentDeviceCostsTwoFullPhases) {
    Transaction t = seriell(link, "-0-t", 0);

    EXPECT_EQ(clock.elapsedMs(), 20000);
    EXPECT_TRUE(t.Abbruch);
    EXPECT_FALSE(t.Befehl_ok);
    EXPECT_FALSE(t.lost);
    EXPECT_EQ(t.Antwort, "");
    EXPECT_EQ(observer.lines, (Lines{"-0-t", "abbruch", "abbruch"}));
    EXPECT_EQ(observer.steps.size(), 3u);
}

TEST_F(TransactionTest, SilentDataCommandReportsAbbruch) {
    Transaction t = seriell(link, "-0-D3", 1);
    EXPECT_TRUE(t.Abbruch);
    EXPECT_EQ(t.Antwort, "");
    EXPECT_EQ(observer.lines, (Lines{"-0-D3", "abbruch", "abbruch"}));
}

TEST_F(TransactionTest, AfterASilentFirstPhaseTheSecondCollectsWhateverArrives) {
    // Nothing within 10 s; at 15 s a complete echo: phase 2 (10 s..20 s) takes it whole.
    port.deliver("-0-t\r", Millis{15000});
    Transaction t = seriell(link, "-0-t", 0);

    EXPECT_TRUE(t.Befehl_ok);
    EXPECT_FALSE(t.Abbruch);
    EXPECT_EQ(clock.elapsedMs(), 15000);
    EXPECT_EQ(observer.lines, (Lines{"-0-t", "abbruch", "-0-t  OK"}));
}

TEST_F(TransactionTest, AfterASilentFirstPhaseTextWithoutReplyStartIsCollectedToo) {
    port.deliver("xy\r", Millis{12000});
    Transaction t = seriell(link, "-0-t", 0);

    EXPECT_FALSE(t.Befehl_ok);
    EXPECT_FALSE(t.Abbruch);
    EXPECT_EQ(t.Antwort, "xy\r");
    EXPECT_EQ(observer.lines, (Lines{"-0-t", "abbruch", "xy  NICHT OK"}));
}

TEST_F(TransactionTest, TheSecondPhaseHasItsOwnTenSeconds) {
    // Reply start at 9 s, line end at 18.5 s: within 10 s of the start, though 18.5 s after
    // sending.
    port.deliver("-", Millis{9000});
    port.deliver("0-t\r", Millis{18500});
    Transaction t = seriell(link, "-0-t", 0);

    EXPECT_TRUE(t.Befehl_ok);
    EXPECT_FALSE(t.Abbruch);
    EXPECT_EQ(clock.elapsedMs(), 18500);
    EXPECT_EQ(observer.lines, (Lines{"-0-t", "-0-t  OK"}));
}

TEST_F(TransactionTest, APartialReplyAtTheLimitIsComparedWithoutItsLastCharacter) {
    port.deliver("-0-", Millis{100});
    Transaction t = seriell(link, "-0-t", 0);

    EXPECT_TRUE(t.Abbruch);
    EXPECT_FALSE(t.Befehl_ok);
    EXPECT_EQ(t.Antwort, "-0-");
    EXPECT_EQ(clock.elapsedMs(), 10100);
    EXPECT_EQ(observer.lines, (Lines{"-0-t", "abbruch", "-0  NICHT OK"}));
}

TEST_F(TransactionTest, AnUnendedReplyIsNeverAMatchingEcho) {
    // Without its last character the text equals the command, but the line never ended.
    port.deliver("-0-tX", Millis{100});
    Transaction t = seriell(link, "-0-t", 0);

    EXPECT_TRUE(t.Abbruch);
    EXPECT_FALSE(t.Befehl_ok);
    EXPECT_EQ(observer.lines, (Lines{"-0-t", "abbruch", "-0-t  NICHT OK"}));
}

// ---- progress --------------------------------------------------------------------------------

TEST_F(TransactionTest, ProgressClimbsToFiftyThenCyclesFromTwo) {
    echoFrames(port);
    // 16 transactions of three steps bring the bar to 48.
    for (int i = 0; i < 16; ++i) seriell(link, "-0-t", 0);
    EXPECT_EQ(link.progressValue(), 48);
    observer.steps.clear();
    seriell(link, "-0-t", 0);
    EXPECT_EQ(observer.steps, (std::vector<int>{49, 50, 2}));
    seriell(link, "-0-t", 0);
    EXPECT_EQ(link.progressValue(), 5);
}

// ---- a broken link ends at once --------------------------------------------------------------

TEST_F(TransactionTest, APortThatCannotBeOpenedIsALostLink) {
    port.failOpen = true;
    Transaction t = seriell(link, "-0-t", 0);

    EXPECT_TRUE(t.lost);
    EXPECT_TRUE(t.Abbruch);
    EXPECT_FALSE(t.Befehl_ok);
    EXPECT_TRUE(port.writes().empty());
    EXPECT_EQ(clock.elapsedMs(), 0);
    EXPECT_TRUE(link.lost());
}

TEST_F(TransactionTest, APortVanishingWhileWaitingEndsTheExchangeAtOnce) {
    // In phase 1.
    port.breakAfter(Millis{3000});
    Transaction t = seriell(link, "-0-t", 0);
    EXPECT_TRUE(t.lost);
    EXPECT_TRUE(t.Abbruch);
    EXPECT_FALSE(t.Befehl_ok);
    EXPECT_EQ(clock.elapsedMs(), 3000);
    EXPECT_EQ(observer.lines, (Lines{"-0-t"}));  // no "abbruch": no limit was reached
    EXPECT_FALSE(port.isOpen());                 // closed, so the next run opens it afresh
}

TEST_F(TransactionTest, APortVanishingInTheMiddleOfTheReplyEndsTheExchangeAtOnce) {
    port.deliver("-0", Millis{100});
    port.breakAfter(Millis{500});
    Transaction t = seriell(link, "-0-t", 0);
    EXPECT_TRUE(t.lost);
    EXPECT_FALSE(t.Befehl_ok);
    EXPECT_EQ(clock.elapsedMs(), 500);
}

TEST_F(TransactionTest, AWriteFailureBetweenPiecesEndsTheExchange) {
    port.breakAfter(Millis{500});
    Transaction t = seriell(link, commandOfLength(61), 0);
    EXPECT_TRUE(t.lost);
    EXPECT_EQ(port.writes().size(), 1u);
    EXPECT_EQ(clock.elapsedMs(), 1000);
}

TEST_F(TransactionTest, ACancelEndsTheExchangeAtOnce) {
    std::atomic<bool> stop{false};
    Link cancellable{port, clock, &observer, &stop};
    port.onWrite = [&stop](ScriptedPort&, std::string_view) { stop = true; };
    Transaction t = seriell(cancellable, "-0-t", 0);

    EXPECT_TRUE(t.cancelled);
    EXPECT_FALSE(t.lost);
    EXPECT_FALSE(t.Befehl_ok);
    EXPECT_EQ(clock.elapsedMs(), 0);
}

}  // namespace
}  // namespace kalvo::test
