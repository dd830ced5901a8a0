// The measured-value poll against a scripted device, in virtual time.
#include "measure/poll.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "sim/simulated_port.h"
#include "sim/transducer.h"
#include "support/fakes.h"

namespace kalvo {
namespace {

using namespace std::chrono_literals;
using test::FakeClock;
using test::ScriptedPort;

class LineObserver final : public LinkObserver {
  public:
    void measuredLine(const std::string& line) override { lines.push_back(line); }
    void stage(Stage s) override { stages.push_back(s); }
    std::vector<std::string> lines;
    std::vector<Stage> stages;
};

// A device answering each "-r" frame with the next of `replies`, 20 ms later, then nothing.
struct Rig {
    explicit Rig(std::vector<std::string> replies) : replies_(std::move(replies)) {
        port.onWrite = [this](ScriptedPort& p, std::string_view bytes) {
            if (bytes.find("-r\n\r") != std::string_view::npos && next_ < replies_.size()) {
                p.deliver(replies_[next_++], 20ms);
            }
        };
    }
    PollResult poll(std::optional<Millis> limit, std::size_t stopAfter = 1000,
                    std::string address = "0") {
        return Messwerte_abfragen(link, address, PollOptions{limit},
                                  [this, stopAfter](const std::string& line) {
                                      sunk.push_back(line);
                                      return sunk.size() < stopAfter;
                                  });
    }
    FakeClock clock;
    ScriptedPort port{clock};
    LineObserver observer;
    std::atomic<bool> stop{false};
    Link link{port, clock, &observer, &stop};
    std::vector<std::string> sunk;

  private:
    std::vector<std::string> replies_;
    std::size_t next_ = 0;
};

TEST(Poll, OneRequestPerLineEachLineToObserverAndSink) {
    // A line ends only at CR: an LF inside it is part of it. Overlong lines are cut.
    Rig rig({"\x0C\r", "  230.5 V    U1 /U\r", "   18.2 \xB0\n   ph1\r", "\r",
             std::string(5000, 'x') + "\r"});
    // Input from before the poll belongs to an earlier request and is dropped.
    rig.port.open();
    rig.port.deliver("stale half li");
    const PollResult r = rig.poll(std::nullopt, 5, "12");
    EXPECT_EQ(r.outcome, Outcome::Ok);
    EXPECT_EQ(r.lines, 5);
    const std::vector<std::string> expected = {"\x0C", "  230.5 V    U1 /U",
                                               "   18.2 \xC2\xB0\n   ph1", "",
                                               std::string(kMaxMeasuredLine, 'x')};
    EXPECT_EQ(rig.sunk, expected);
    EXPECT_EQ(rig.observer.lines, expected);
    EXPECT_EQ(rig.observer.stages, std::vector<Stage>{Stage::Measuring});
    // The next request goes out when the line before it is complete, not earlier.
    const auto& writes = rig.port.writes();
    ASSERT_EQ(writes.size(), 5u);
    for (std::size_t k = 0; k < writes.size(); ++k) {
        EXPECT_EQ(writes[k].bytes, "\n\r-12-r\n\r");
        EXPECT_EQ(writes[k].atMs, 20 * static_cast<long long>(k));
    }
}

TEST(Poll, OnceACycleIsKnownEachReplyCostsAboutOneWakeUp) {
    // A paced device: each reply starts 2 ms after its request, a character a millisecond.
    const std::vector<std::string> cycle = {"\x0C\r", "  230.5 V    U1 /U\r",
                                            "  0.962 A    I1 /I\r", "  50.00 Hz   F\r"};
    Rig rig({});
    std::size_t next = 0;
    rig.port.onWrite = [&](ScriptedPort& p, std::string_view) {
        const std::string& reply = cycle[next++ % cycle.size()];
        for (std::size_t i = 0; i < reply.size(); ++i)
            p.deliver(reply.substr(i, 1), Millis(2 + static_cast<long long>(i)));
    };
    int sleeps = 0;
    rig.clock.onSleep = [&](TimePoint t) { sleeps += t > rig.clock.now() ? 1 : 0; };
    const auto run = [&](std::size_t lines) {
        sleeps = 0;
        const long long start = rig.clock.elapsedMs();
        rig.sunk.clear();
        rig.poll(std::nullopt, lines);
        return std::pair{sleeps, rig.clock.elapsedMs() - start};
    };
    run(40);  // ten cycles to learn them
    const auto [wakeUps, ms] = run(400);
    // Without a forecast: the first character, then a look every 5 ms of a reply of up to 19
    // characters, five wake-ups a line. A reply of n characters ends n + 1 ms after its
    // request: 3 + 20 + 20 + 16 = 59 ms a cycle, and the poll may take 5 % longer.
    EXPECT_LE(wakeUps, 400 * 13 / 10);
    EXPECT_LE(ms, 100 * 59 * 105 / 100);
}

TEST(Poll, EndsOnTheLimitTheCancelFlagOrALostPort) {
    // The ending is always a link failure with a reason; the limit counts from the last line.
    struct Case {
        const char* what;
        std::vector<std::string> replies;
        std::optional<Millis> limit;
        long long breakAtMs;  // -1: the port stays
        bool failOpen;
        long long endsAtMs, lines;
    };
    const Case cases[] = {
        {"silent device, 10 s limit", {}, 10s, -1, false, 10000, 0},
        {"two lines, then silence", {"x\r", "y\r"}, 10s, -1, false, 10040, 2},
        {"bytes without a CR are no line", {"no end in sight"}, 2s, -1, false, 2000, 0},
        {"port vanishes while waiting", {}, std::nullopt, 300, false, 300, 0},
        {"port cannot be opened", {}, 10s, -1, true, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Rig rig(c.replies);
        rig.port.failOpen = c.failOpen;
        if (c.breakAtMs >= 0) rig.port.breakAfter(Millis{c.breakAtMs});
        const PollResult r = rig.poll(c.limit);
        EXPECT_EQ(r.outcome, Outcome::LinkFailure);
        EXPECT_FALSE(r.reason.empty());
        EXPECT_EQ(rig.clock.elapsedMs(), c.endsAtMs);
        EXPECT_EQ(r.lines, c.lines);
    }
    // Without a limit it waits as long as it takes.
    Rig slow({});
    slow.port.onWrite = [](ScriptedPort& p, std::string_view) { p.deliver("slow\r", 3600s); };
    EXPECT_EQ(slow.poll(std::nullopt, 1).outcome, Outcome::Ok);
    EXPECT_EQ(slow.clock.elapsedMs(), 3'600'000);
}

// A stop (raised by the clock as it passes 1234 ms) is seen within one wait slice. On the wire
// a line of the fresh cycle (2 to 19 characters, 0.57 ms each) wakes the poll a few times, not
// once per character.
TEST(Poll, AStopIsSeenWithinOneWaitSliceEvenOnAPortThatDoesNotWatchTheFlag) {
    for (const bool silent : {true, false}) {
        SCOPED_TRACE(silent ? "silent device" : "device with wire time");
        std::atomic<bool> stop{false};
        const TimePoint stopAt = TimePoint{} + 1234ms;
        FakeClock clock;
        long long lines = 0, sleeps = 0;  // each sleep of the poll or the port is a wake-up
        clock.onSleep = [&](TimePoint t) {
            ++sleeps;
            stop = stop || t >= stopAt || clock.now() >= stopAt;
        };
        sim::Transducer device({.silent = silent, .wireTime = true});
        sim::SimulatedPort port(device, clock);  // no cancel flag of its own
        Link link(port, clock, nullptr, &stop);
        const PollResult r =
            Messwerte_abfragen(link, "0", {}, [&](const std::string&) { return ++lines > 0; });
        EXPECT_EQ(r.outcome, Outcome::Cancelled);
        EXPECT_LE(clock.now() - stopAt, Link::kCancelSlice);
        EXPECT_EQ(r.lines, lines);
        EXPECT_TRUE(silent || (lines > 20 && sleeps < 6 * lines)) << lines << " " << sleeps;
    }
}

// The real port gives up a write that a stop interrupts: that is a stop, not a failure.
TEST(Poll, AWriteCutShortByAStopIsAStop) {
    struct StoppedWhileWriting final : SerialPort {
        std::atomic<bool> flag{false};
        bool open() override { return true; }
        bool isOpen() const override { return true; }
        void close() override {}
        bool write(std::string_view) override { return !(flag = true); }
        std::string readAvailable() override { return {}; }
        WaitResult waitForData(TimePoint) override { return WaitResult::TimedOut; }
    } port;
    FakeClock clock;
    Link link(port, clock, nullptr, &port.flag);
    EXPECT_EQ(Messwerte_abfragen(link, "0").outcome, Outcome::Cancelled);
}

}  // namespace
}  // namespace kalvo
