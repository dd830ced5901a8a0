// The programming run against a scripted transducer in virtual time: the frames in order,
// the pauses, the hardware checks and where a failure stops the run.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <tuple>

#include "device/programming.h"
#include "device_test_support.h"
#include "support/link_rig.h"

namespace kalvo::test {
namespace {

// Before the first command, split at the LF CR terminators: the two wake-up frames, the lone
// CR in front of the query, the lone CR in front of the link test.
const Frames kUpToQuery = {"", "-0-t", "", "-0-t", "\r-0-*?"};
const Frames kLeadIn = {"", "-0-t", "", "-0-t", "\r-0-*?", "\r-0-t"};

Frames withLeadIn(const Frames& commands) {
    Frames all = kLeadIn;
    for (const auto& c : commands) all.push_back("-0" + c);
    return all;
}

struct Bench : DeviceRig {
    ProgramResult run(const Record& r) { return programTransducer(link, r, "0", ','); }
};

struct ProgrammingRunTest : ::testing::Test, Bench {};

TEST_F(ProgrammingRunTest, FramesGoOutOneByOneInTheirPausesAndLeaveTheCopy) {
    device.hardware = hardwareReply("1", " 1", "400", "5");
    const ProgramResult r = run(singlePhase());

    ASSERT_EQ(r.outcome, Outcome::Ok) << r.reason.english;
    EXPECT_FALSE(r.nothingToDo);
    EXPECT_EQ(
        std::tuple(r.hardware.analog, r.hardware.binary, r.hardware.voltage, r.hardware.current),
        std::tuple(1, 1, 400.0, 5.0));
    EXPECT_EQ(port.frames(), withLeadIn(kSinglePhaseCommands));
    EXPECT_EQ(observer.stages,
              (decltype(observer.stages){{Stage::Hardware, 0}, {Stage::Programming, 0}}));
    EXPECT_EQ(observer.lines.back(), "-0" + kSinglePhaseCommands.back() + "  OK");
    EXPECT_EQ(device.copies[0], kSinglePhaseCommands[4].substr(4));
    // The device answers at once, so only the pauses take time: 2000 after the wake-up,
    // 2000 (Wartezeit) after the flush, 2000 after the query, 150 x 12 reading it, 2000
    // after the lone CR, 1000 after the link test, and 1000 between the two pieces of the
    // 72-character "-D1," frame.
    EXPECT_EQ(clock.elapsedMs(), 2000 + 2000 + 2000 + 1800 + 2000 + 1000 + 1000);
    // The step line says what goes on and counts the pauses of a second or more down.
    const std::string wake = "Messumformer wecken", query = "Hardware abfragen",
                      test = "Verbindung prüfen", command = "Befehl ";
    EXPECT_EQ(observer.shown, (std::vector<std::string>{wake,
                                                        wake + " ... 2 s",
                                                        wake + " ... 1 s",
                                                        wake + " ... 2 s",
                                                        wake + " ... 1 s",
                                                        query,
                                                        query + " ... 2 s",
                                                        query + " ... 1 s",
                                                        test,
                                                        test + " ... 2 s",
                                                        test + " ... 1 s",
                                                        test + " ... 1 s",
                                                        command + "1 von 7: Grundeinstellungen",
                                                        command + "2 von 7: Analogausgang 1",
                                                        command + "3 von 7: Binärausgang 1",
                                                        command + "4 von 7: Schnittstelle",
                                                        command + "5 von 7: Gerätekopie 1",
                                                        command + "5 von 7: Gerätekopie 1 ... 1 s",
                                                        command + "6 von 7: Gerätekopie 2",
                                                        command + "7 von 7: Gerätekopie 3"}));
    EXPECT_EQ(stepLine({Step::Kind::Command, 12, 12, "-M B10,on"}, 3, Language::English),
              "Command 12 of 12: Binary output 10 ... 3 s");
}

TEST_F(ProgrammingRunTest, NothingGoesOutWithoutConfigurationOrForAnUnsendableRecord) {
    const ProgramResult empty = run(startRecord());
    EXPECT_EQ(empty.outcome, Outcome::Ok);
    EXPECT_TRUE(empty.nothingToDo);
    EXPECT_EQ(port.openCount, 0);

    Record typeSeven = fourWireWithTransformers();
    typeSeven.Grundwerte[Basic::ConnectionType] = Cell("7");
    const ProgramResult seven = run(typeSeven);
    EXPECT_EQ(seven.outcome, Outcome::BadRecord);
    EXPECT_FALSE(seven.nothingToDo);
    EXPECT_EQ(seven.fault, RecordFault::Cell);
    EXPECT_EQ(seven.cell.field, Basic::ConnectionType);
    EXPECT_TRUE(port.writes().empty());
    EXPECT_EQ(clock.elapsedMs(), 0);
}

// Where the run stops, and the stale input it must flush on its way: unflushed, answers to
// the wake-up would push the description out of the query's reach, and the tail of a long
// description would pass for the link test's echo.
TEST_F(ProgrammingRunTest, FailuresStopTheRunAndStaleInputIsFlushed) {
    const std::string description = hardwareReply("1", " 1", "400", "5");  // 110 characters
    const auto answerWakeUps = [](Bench& t) {
        // Two descriptions of another unit: unflushed, the query reads only these 220
        // characters, and the last marker in its 150 has no fields behind it.
        t.device.overrides["-0-t"] = hardwareReply("4", " 9", "600", "1") + "\r";
        t.device.onFrame = [&t, wakeUps = 0](const std::string& frame) mutable {
            if (frame == "-0-t" && ++wakeUps == 3) t.device.overrides.erase("-0-t");
        };
    };
    const auto cancelAfterAnalog = [](Bench& t) {
        t.device.onFrame = [&t](const std::string& f) {
            if (f == "-0" + kSinglePhaseCommands[1]) t.stop = true;
        };
    };
    const Frames all = withLeadIn(kSinglePhaseCommands);
    const Frames upToB1 =
        withLeadIn({kSinglePhaseCommands[0], kSinglePhaseCommands[1], kSinglePhaseCommands[2]});
    const char* const noReply = "no reply to the hardware query";
    const struct {
        const char* name;
        std::function<void(Bench&)> setup;
        Outcome outcome;
        Frames frames;
        long long elapsedMs = -1;  // -1: not checked
        const char* reason = "";   // a part of the reason
    } cases[] = {
        {"answers to the wake-up", answerWakeUps, Outcome::Ok, all},
        // 40 characters past the 150 passes remain, with a line that starts like a reply.
        {"tail of a long description",
         [&](Bench& t) { t.device.hardware = description + std::string(76, ' ') + "-0-?"; },
         Outcome::Ok, all},
        {"unfit current class",
         [](Bench& t) { t.device.hardware = hardwareReply("1", " 1", "400", "0.5"); },
         Outcome::WrongTransducer, kUpToQuery, -1, "current class"},
        {"unreadable description", [](Bench& t) { t.device.hardware = "TXR 3.0 without marker"; },
         Outcome::BadReply, kUpToQuery, -1, "Ana.:"},
        {"silent query", [](Bench& t) { t.device.overrides["-0-*?"] = ""; }, Outcome::LinkFailure,
         kUpToQuery, -1, noReply},
        // 10800 ms to the system command, then 10000 ms for each reply phase.
        {"silent device", [](Bench& t) { t.device.overrides["-0-M B1,INP,5>"] = ""; },
         Outcome::LinkFailure, upToB1, 10800 + 20000},
        // The wake-up frames get the wrong echo too; they are flushed.
        {"wrong link test echo", [](Bench& t) { t.device.overrides["-0-t"] = "-0-T\r"; },
         Outcome::LinkFailure, kLeadIn},
        {"port lost while the query is read", [](Bench& t) { t.port.breakAfter(Millis{5000}); },
         Outcome::LinkFailure, kUpToQuery},
        {"port does not open", [](Bench& t) { t.port.failOpen = true; }, Outcome::LinkFailure,
         Frames{}, 0},
        {"cancelled after the analog command", cancelAfterAnalog, Outcome::Cancelled,
         withLeadIn({kSinglePhaseCommands[0], kSinglePhaseCommands[1]})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Bench t;
        t.device.hardware = description;
        c.setup(t);
        const ProgramResult r = t.run(singlePhase());
        EXPECT_EQ(r.outcome, c.outcome);
        EXPECT_NE(r.reason.english.find(c.reason), std::string::npos) << r.reason.english;
        EXPECT_EQ(t.port.frames(), c.frames);
        if (c.elapsedMs >= 0) {
            EXPECT_EQ(t.clock.elapsedMs(), c.elapsedMs);
        }
    }
}

}  // namespace
}  // namespace kalvo::test
