// The command/reply transaction: framing, pieces, both reply phases and their limits, in
// virtual time.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "link/transaction.h"
#include "support/link_rig.h"

namespace kalvo::test {
namespace {

using Lines = std::vector<std::string>;
using Writes = std::vector<std::pair<long long, std::string>>;

// A command of exactly n characters: "-0-D2," followed by digits.
std::string commandOfLength(std::size_t n) {
    std::string c = "-0-D2,";
    for (std::size_t i = c.size(); i < n; ++i) c += static_cast<char>('0' + i % 10);
    return c;
}

TEST(Transaction, LongCommandsGoOutInPiecesOfSixtyWithOneSecondPauses) {
    const std::vector<std::pair<std::size_t, std::vector<std::size_t>>> cases = {
        {60, {60}}, {61, {60, 1}}, {120, {60, 60}}, {121, {60, 60, 1}}, {200, {60, 60, 80}}};
    for (const auto& [length, pieces] : cases) {
        SCOPED_TRACE("length " + std::to_string(length));
        Rig r;
        echoFrames(r.port);
        const std::string cmd = commandOfLength(length);
        Transaction t = seriell(r.link, cmd, 0);

        ASSERT_EQ(r.port.writes().size(), pieces.size());
        std::size_t at = 0;
        for (std::size_t i = 0; i < pieces.size(); ++i) {
            // Only the last piece carries LF CR, in that order.
            const std::string end = i + 1 == pieces.size() ? "\n\r" : "";
            EXPECT_EQ(r.port.writes()[i].bytes, cmd.substr(at, pieces[i]) + end);
            EXPECT_EQ(r.port.writes()[i].atMs, 1000 * static_cast<long long>(i));
            at += pieces[i];
        }
        EXPECT_TRUE(t.Befehl_ok);
        EXPECT_EQ(r.observer.steps.size(), pieces.size() + 2);  // per piece, per phase
    }
    // 59 characters and a degree sign: 60 characters (61 bytes of UTF-8) stay one piece, sent
    // as single bytes; the echo comes back in UTF-8.
    Rig r;
    echoFrames(r.port);
    const std::string cmd = commandOfLength(59) + "\xC2\xB0";
    EXPECT_EQ(seriell(r.link, cmd, 0).Antwort, cmd + "\r");
    EXPECT_EQ(r.writes(), (Writes{{0, commandOfLength(59) + "\xB0\n\r"}}));
}

TEST(Transaction, RepliesPhasesAndLimits) {
    // nur_senden 0 sends "-0-t" and checks the echo; 1 sends "-0-D1" and takes any reply.
    struct Case {
        int nurSenden;
        std::vector<std::pair<std::string, long long>> arrivals;  // text, ms after sending
        bool ok, abbruch;
        std::string antwort;
        long long elapsedMs;
        Lines lines;
    };
    const Lines ok = {"-0-t", "-0-t  OK"}, notOk = {"-0-t", "-0-T  NICHT OK"};
    const std::string noise("\n\0xy", 4);  // a leftover LF and line noise
    const std::vector<Case> cases = {
        {0, {{"-0-t\r", 20}}, true, false, "-0-t\r", 20, ok},
        {0, {{noise, 5}, {"-0-t\r", 20}}, true, false, "-0-t\r", 20, ok},
        {0, {{"-0-t\n", 20}}, true, false, "-0-t\n", 20, ok},
        {0, {{"-0-T\r", 20}}, false, false, "-0-T\r", 20, notOk},
        // Silent: two full phases.
        {0, {}, false, true, "", 20000, {"-0-t", "abbruch", "abbruch"}},
        {1, {}, false, true, "", 20000, {"-0-D1", "abbruch", "abbruch"}},
        // After a silent first phase the second collects whatever arrives.
        {0, {{"-0-t\r", 15000}}, true, false, "-0-t\r", 15000, {"-0-t", "abbruch", "-0-t  OK"}},
        {0, {{"xy\r", 12000}}, false, false, "xy\r", 12000, {"-0-t", "abbruch", "xy  NICHT OK"}},
        // The second phase has its own 10 s from the reply start.
        {0, {{"-", 9000}, {"0-t\r", 18500}}, true, false, "-0-t\r", 18500, ok},
        // A partial reply at the limit is compared without its last character, and a reply
        // whose line never ended is never a matching echo.
        {0, {{"-0-", 100}}, false, true, "-0-", 10100, {"-0-t", "abbruch", "-0  NICHT OK"}},
        {0, {{"-0-tX", 100}}, false, true, "-0-tX", 10100, {"-0-t", "abbruch", "-0-t  NICHT OK"}},
        // Data replies are not compared.
        {1, {{"-0-D1:0:50:230\r", 20}}, false, false, "-0-D1:0:50:230\r", 20, {"-0-D1"}},
        // What waits when the command goes out belongs to an earlier frame: flushed. A late
        // echo of the frame "-0-x" sent before is no reply; nothing else in time is none.
        {0, {{"-0-t\r", 0}, {"-0-T\r", 20}}, false, false, "-0-T\r", 20, notOk},
        {0, {{"-0-x\r", 20}, {"-0-t\r", 40}}, true, false, "-0-t\r", 40, ok},
        {1, {{"-0-x\r", 20}, {"-0-D1:0\r", 40}}, false, false, "-0-D1:0\r", 40, {"-0-D1"}},
        {1, {{"-0-x\r", 20}}, false, true, "", 10020, {"-0-D1", "abbruch"}},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE("case " + std::to_string(i));
        const Case& c = cases[i];
        Rig r;
        ASSERT_TRUE(r.link.ensureOpen() && r.link.send("-0-x\n\r"));
        for (const auto& [text, ms] : c.arrivals) r.port.deliver(text, Millis{ms});
        Transaction t = seriell(r.link, c.nurSenden == 0 ? "-0-t" : "-0-D1", c.nurSenden);

        EXPECT_EQ(t.Befehl_ok, c.ok);
        EXPECT_EQ(t.Abbruch, c.abbruch);
        EXPECT_FALSE(t.lost);
        EXPECT_EQ(t.Antwort, c.antwort);
        EXPECT_EQ(r.clock.elapsedMs(), c.elapsedMs);
        EXPECT_EQ(r.observer.lines, c.lines);
        EXPECT_EQ(r.observer.steps, (std::vector<int>{1, 2, 3}));
    }
}

TEST(Transaction, TheLineFeedAfterCarriageReturnStaysWaiting) {
    Rig r;
    echoFrames(r.port, "\r\n");
    EXPECT_EQ(seriell(r.link, "-0-t", 0).Antwort, "-0-t\r");
    EXPECT_EQ(r.link.readByteNow(), '\n');
    EXPECT_EQ(r.link.readByteNow(), std::nullopt);
}

TEST(Transaction, ProgressClimbsToFiftyThenCyclesFromTwo) {
    Rig r;
    echoFrames(r.port);
    for (int i = 0; i < 16; ++i) seriell(r.link, "-0-t", 0);  // 16 x 3 steps
    r.observer.steps.clear();
    seriell(r.link, "-0-t", 0);
    EXPECT_EQ(r.observer.steps, (std::vector<int>{49, 50, 2}));
    seriell(r.link, "-0-t", 0);
    EXPECT_EQ(r.link.progressValue(), 5);
}

TEST(Transaction, ABrokenPortEndsTheExchangeAtOnce) {
    struct Case {
        const char* name;
        long long breakMs;  // -1: the port cannot be opened at all
        std::string early;  // arrives 100 ms after sending
        std::size_t length;
        long long elapsedMs;
        std::size_t writes;
    };
    const std::vector<Case> cases = {
        {"cannot be opened", -1, "", 4, 0, 0},
        {"vanishes while waiting for the reply start", 3000, "", 4, 3000, 1},
        {"vanishes in the middle of the reply", 500, "-0", 4, 500, 1},
        {"vanishes between pieces", 500, "", 61, 1000, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Rig r;
        r.port.failOpen = c.breakMs < 0;
        if (c.breakMs > 0) r.port.breakAfter(Millis{c.breakMs});
        r.port.deliver(c.early, Millis{100});
        Transaction t = seriell(r.link, commandOfLength(c.length), 0);

        EXPECT_TRUE(t.lost);
        EXPECT_TRUE(t.Abbruch);
        EXPECT_FALSE(t.Befehl_ok);
        EXPECT_TRUE(r.link.lost());
        EXPECT_EQ(r.clock.elapsedMs(), c.elapsedMs);
        EXPECT_EQ(r.port.writes().size(), c.writes);
        EXPECT_FALSE(r.port.isOpen());  // closed, so the next run opens it afresh
        // No limit was reached, so no "abbruch".
        EXPECT_EQ(std::count(r.observer.lines.begin(), r.observer.lines.end(), "abbruch"), 0);
    }
}

}  // namespace
}  // namespace kalvo::test
