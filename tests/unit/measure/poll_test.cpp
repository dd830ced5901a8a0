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
    EXPECT_EQ(Sendetext("0"), "\n\r-0-r\n\r");
    EXPECT_EQ(Sendetext("12"), "\n\r-12-r\n\r");

    Rig rig({"\x0C\r", "  230.5 V    U1 /U\r", "   18.2 \xB0    ph1\r", "\r"});
    // Input from before the poll belongs to an earlier request and is dropped.
    rig.port.open();
    rig.port.deliver("stale half li");
    const PollResult r = rig.poll(std::nullopt, 4, "12");
    EXPECT_EQ(r.outcome, Outcome::Ok);
    EXPECT_EQ(r.lines, 4);
    const std::vector<std::string> expected = {"\x0C", "  230.5 V    U1 /U",
                                               "   18.2 \xC2\xB0    ph1", ""};
    EXPECT_EQ(rig.sunk, expected);
    EXPECT_EQ(rig.observer.lines, expected);
    EXPECT_EQ(rig.observer.stages, std::vector<Stage>{Stage::Measuring});
    // The next request goes out when the line before it is complete, not earlier.
    const auto& writes = rig.port.writes();
    ASSERT_EQ(writes.size(), 4u);
    for (std::size_t k = 0; k < writes.size(); ++k) {
        EXPECT_EQ(writes[k].bytes, "\n\r-12-r\n\r");
        EXPECT_EQ(writes[k].atMs, 20 * static_cast<long long>(k));
    }
}

TEST(Poll, WaitsAsLongAsItTakesWithoutALimit) {
    Rig rig({"a\r"});
    rig.port.onWrite = [](ScriptedPort& p, std::string_view) { p.deliver("slow\r", 3600s); };
    const PollResult r = rig.poll(std::nullopt, 1);
    EXPECT_EQ(r.outcome, Outcome::Ok);
    EXPECT_EQ(rig.clock.elapsedMs(), 3'600'000);
}

TEST(Poll, EndsOnTheLimitTheCancelFlagOrALostPort) {
    struct Case {
        const char* what;
        std::vector<std::string> replies;
        std::optional<Millis> limit;
        long long breakAtMs;  // -1: the port stays
        bool failOpen;
        Outcome outcome;
        long long endsAtMs;
        long long lines;
    };
    const std::vector<Case> cases = {
        {"silent device, 10 s limit", {}, 10s, -1, false, Outcome::LinkFailure, 10000, 0},
        // The limit counts from the last complete line.
        {"two lines, then silence", {"x\r", "y\r"}, 10s, -1, false, Outcome::LinkFailure, 10040, 2},
        {"bytes without a CR are no line",
         {"no end in sight"},
         2s,
         -1,
         false,
         Outcome::LinkFailure,
         2000,
         0},
        {"port vanishes while waiting", {}, std::nullopt, 300, false, Outcome::LinkFailure, 300, 0},
        {"port cannot be opened", {}, 10s, -1, true, Outcome::LinkFailure, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Rig rig(c.replies);
        rig.port.failOpen = c.failOpen;
        if (c.breakAtMs >= 0) rig.port.breakAfter(Millis{c.breakAtMs});
        const PollResult r = rig.poll(c.limit);
        EXPECT_EQ(r.outcome, c.outcome);
        EXPECT_FALSE(r.reason.empty());
        EXPECT_EQ(rig.clock.elapsedMs(), c.endsAtMs);
        EXPECT_EQ(r.lines, c.lines);
    }
}

// A clock that raises the cancel flag when it passes a time, as a STOP click would.
class StopAt final : public Clock {
  public:
    StopAt(TimePoint at, std::atomic<bool>& flag) : at_(at), flag_(flag) {}
    TimePoint now() const override { return now_; }
    void sleepUntil(TimePoint t) override {
        if (t > now_) now_ = t;
        if (now_ >= at_) flag_ = true;
    }

  private:
    TimePoint now_{};
    TimePoint at_;
    std::atomic<bool>& flag_;
};

TEST(Poll, AStopIsSeenWithinOneWaitSliceEvenOnAPortThatDoesNotWatchTheFlag) {
    for (const bool silent : {true, false}) {
        SCOPED_TRACE(silent ? "silent device" : "device with wire time");
        std::atomic<bool> stop{false};
        const TimePoint stopAt = TimePoint{} + 1234ms;
        StopAt clock(stopAt, stop);
        sim::Transducer device({.silent = silent, .wireTime = true});
        sim::SimulatedPort port(device, clock);  // no cancel flag of its own
        Link link(port, clock, nullptr, &stop);
        long long lines = 0;
        const PollResult r = Messwerte_abfragen(link, "0", {}, [&](const std::string&) {
            ++lines;
            return true;
        });
        EXPECT_EQ(r.outcome, Outcome::Cancelled);
        EXPECT_LE(clock.now() - stopAt, Link::kCancelSlice);
        EXPECT_EQ(r.lines, lines);
        if (!silent) {
            EXPECT_GT(lines, 20);  // about 60 lines a second on the wire
        }
    }
}

// A virtual clock that counts how often the poll and the port sleep: each is a wake-up.
class CountingClock final : public Clock {
  public:
    TimePoint now() const override { return now_; }
    void sleepUntil(TimePoint t) override {
        ++sleeps;
        if (t > now_) now_ = t;
    }
    long long sleeps = 0;

  private:
    TimePoint now_{};
};

TEST(Poll, AReplyOnTheWireWakesThePollAFewTimesNotOncePerCharacter) {
    CountingClock clock;
    sim::Transducer device({.wireTime = true});
    sim::SimulatedPort port(device, clock);
    Link link(port, clock);
    std::size_t characters = 0;
    const PollResult r = Messwerte_abfragen(link, "0", {}, [&](const std::string& line) {
        characters += line.size() + 1;
        return characters < 2000;
    });
    ASSERT_EQ(r.outcome, Outcome::Ok);
    // The fresh cycle's lines are 2 to 19 characters long, 0.57 ms each on the wire.
    EXPECT_GT(static_cast<double>(characters) / static_cast<double>(r.lines), 10);
    EXPECT_LT(static_cast<double>(clock.sleeps) / static_cast<double>(r.lines), 6);
}

// The real port gives up a write that a stop interrupts: that is a stop, not a failure.
TEST(Poll, AWriteCutShortByAStopIsAStop) {
    class StoppedWhileWriting final : public SerialPort {
      public:
        explicit StoppedWhileWriting(std::atomic<bool>& flag) : flag_(flag) {}
        bool open() override { return true; }
        bool isOpen() const override { return true; }
        void close() override {}
        bool write(std::string_view) override {
            flag_ = true;
            return false;
        }
        std::string readAvailable() override { return {}; }
        WaitResult waitForData(TimePoint) override { return WaitResult::TimedOut; }

      private:
        std::atomic<bool>& flag_;
    };
    std::atomic<bool> stop{false};
    FakeClock clock;
    StoppedWhileWriting port(stop);
    Link link(port, clock, nullptr, &stop);
    EXPECT_EQ(Messwerte_abfragen(link, "0").outcome, Outcome::Cancelled);
}

TEST(Poll, OverlongLinesAreCut) {
    Rig rig({std::string(5000, 'x') + "\r", "ok\r"});
    rig.poll(std::nullopt, 2);
    ASSERT_EQ(rig.sunk.size(), 2u);
    EXPECT_EQ(rig.sunk[0], std::string(kMaxMeasuredLine, 'x'));
    EXPECT_EQ(rig.sunk[1], "ok");
}

}  // namespace
}  // namespace kalvo
