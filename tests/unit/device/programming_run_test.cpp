// The programming run against a scripted transducer in virtual time: the frames in order,
// the pauses, the hardware checks and where a failure stops the run.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "device/programming.h"
#include "device_test_support.h"

namespace kalvo::test {
namespace {

using Frames = std::vector<std::string>;

class Observer final : public LinkObserver {
  public:
    void logLine(const std::string& line) override { lines.push_back(line); }
    void stage(Stage s) override { stages.push_back(s); }
    std::vector<std::string> lines;
    std::vector<Stage> stages;
};

// What goes over the wire before the first command, split at the LF CR terminators: the two
// wake-up frames, the lone CR in front of the query, the lone CR in front of the link test.
const Frames kLeadIn = {"", "-0-t", "", "-0-t", "\r-0-*?", "\r-0-t"};

Frames withLeadIn(const Frames& commands) {
    Frames all = kLeadIn;
    for (const auto& c : commands) all.push_back("-0" + c);
    return all;
}

struct ProgrammingRunTest : ::testing::Test {
    FakeClock clock;
    ScriptedPort port{clock};
    FakeTransducer device{port};
    Observer observer;
    std::atomic<bool> cancel{false};
    Link link{port, clock, &observer, &cancel};

    ProgramResult run(const Record& r, char decimal = ',') {
        return programTransducer(link, r, "0", decimal);
    }
};

// ---- whole runs -------------------------------------------------------------------------------

TEST_F(ProgrammingRunTest, FourWireWithTransformersGoesOutFrameByFrame) {
    device.hardware = hardwareText("2", " 5", "120", "5");
    const ProgramResult r = run(fourWireWithTransformers());

    EXPECT_EQ(r.outcome, Outcome::Ok) << r.reason;
    EXPECT_FALSE(r.nothingToDo);
    EXPECT_EQ(r.hardware.analog, 2);
    EXPECT_EQ(r.hardware.binary, 5);
    EXPECT_EQ(r.hardware.voltage, 120);
    EXPECT_EQ(r.hardware.current, 5);
    EXPECT_EQ(port.frames(),
              withLeadIn({
                  "-S 4U,1,1,50",
                  "-M A1,U1,0,50,100,mA,4,12,20,0,24,0",
                  "-M A2,P,-308.64,0,308.64,V,-10,0,10,-10.5,10.5,0",
                  "-M B1,off",
                  "-M B2,on",
                  "-M B3,U12,55>",
                  "-M B4,I3,4<",
                  "-M B5,F,50.5>",
                  "-M S,FF,E,U1,U31,P,PF1,ph,F,INP,I",
                  "-D1,:0:50:0:20:0,1:0:100:5:2:5:1000010001000000000000100000010001101",
                  "-D2,:0:0:kV:0:10000:20000:0:4:12:20:0:24:0"
                  ":2:0:MW:-1234588:0:1234588:1:-10:0:10:-10,5:10,5:1",
                  "-D3,:0:0:0:0:0:0:1:0:0:0:0:0:2:0:3:kV:11000:0:2:1:2:A:80:1:2:8:0:Hz:50,5:0",
              }));
    EXPECT_EQ(observer.stages,
              (std::vector<LinkObserver::Stage>{LinkObserver::Stage::Hardware,
                                                LinkObserver::Stage::Programming}));
    // Every command was logged with its echo result.
    EXPECT_EQ(observer.lines.back(),
              "-0-D3,:0:0:0:0:0:0:1:0:0:0:0:0:2:0:3:kV:11000:0:2:1:2:A:80:1:2:8:0:Hz:50,5:0  OK");
}

TEST_F(ProgrammingRunTest, ThreeWireGoesOutFrameByFrame) {
    device.hardware = hardwareText("1", " 1", "400", "1.2");
    const ProgramResult r = run(threeWire());

    EXPECT_EQ(r.outcome, Outcome::Ok) << r.reason;
    EXPECT_EQ(port.frames(),
              withLeadIn({
                  "-S 3U,1,1,60",
                  "-M A1,U23,0,240,480,mA,-20,0,20,-24,24,0",
                  "-M B1,PF,0.95<",
                  "-M S,FF,E",
                  "-D1,:2:60:400:0:0:1:0:0:1:1:0000000000000000000000000000000000000",
                  "-D2,:0:1:V:0:240:480:0:-20:0:20:-24:24:1",
                  "-D3,:2:5:0::0,95:1",
              }));
}

TEST_F(ProgrammingRunTest, SinglePhaseTakesExactlyItsPauses) {
    device.hardware = hardwareText("1", " 1", "400", "5");
    const ProgramResult r = run(singlePhase());

    EXPECT_EQ(r.outcome, Outcome::Ok) << r.reason;
    EXPECT_EQ(port.frames(), withLeadIn({
                                 "-S 1,1,1,16,666",
                                 "-M A1,PF1,-0.5,0,0.5,mA,4,12,20,0,24,0",
                                 "-M B1,INP,5>",
                                 "-M S,FF,E,U,I",
                                 "-D1,:4:16,666:230:0:0:5:0:0:1:1:"
                                 "0000000000000000000000000000000000011",
                                 "-D2,:5:0::0,5:0,75:0,5:0:4:12:20:0:24:0",
                                 "-D3,:2:9:0:V:5:0",
                             }));

    // The device answers at once, so only the pauses take time: 2000 after the wake-up,
    // 2000 (Wartezeit) after the flush, 2000 after the query, 150 x 12 reading it, 2000
    // after the lone CR, 1000 after the link test, and 1000 between the two pieces of the
    // 72-character "-D1," frame.
    const auto& w = port.writes();
    auto writtenAt = [&](const std::string& start) -> long long {
        for (const auto& x : w)
            if (x.bytes.rfind(start, 0) == 0) return x.atMs;
        return -1;
    };
    EXPECT_EQ(writtenAt("-0-*?"), 4000);
    EXPECT_EQ(writtenAt("\r"), 0);
    EXPECT_EQ(writtenAt("-0-t\n\r"), 9800);
    EXPECT_EQ(writtenAt("-0-S "), 10800);
    EXPECT_EQ(writtenAt("-0-D2,"), 11800);
    EXPECT_EQ(clock.elapsedMs(), 2000 + 2000 + 2000 + 1800 + 2000 + 1000 + 1000);
}

TEST_F(ProgrammingRunTest, TheDeviceCopyCanBeReadAsItWasSent) {
    device.hardware = hardwareText("2", " 5", "120", "5");
    ASSERT_EQ(run(fourWireWithTransformers()).outcome, Outcome::Ok);
    EXPECT_EQ(device.copies[0], ":0:50:0:20:0,1:0:100:5:2:5:1000010001000000000000100000010001101");
    EXPECT_EQ(device.copies[2],
              ":0:0:0:0:0:0:1:0:0:0:0:0:2:0:3:kV:11000:0:2:1:2:A:80:1:2:8:0:Hz:50,5:0");
}

// ---- nothing to send ----------------------------------------------------------------------

TEST_F(ProgrammingRunTest, WithoutConfigurationNothingHappens) {
    const ProgramResult r = run(startRecord());
    EXPECT_EQ(r.outcome, Outcome::Ok);
    EXPECT_TRUE(r.nothingToDo);
    EXPECT_EQ(port.openCount, 0);
    EXPECT_TRUE(port.writes().empty());
    EXPECT_EQ(clock.elapsedMs(), 0);
}

TEST_F(ProgrammingRunTest, ARecordThatCannotBeSentIsRefusedBeforeAnythingGoesOut) {
    Record noVariant = threeWire();
    noVariant.Anzahl_Analog = 0;
    Record noSecondary = fourWireWithTransformers();
    noSecondary.Grundwerte[4] = Cell(0);
    for (const Record& r : {noVariant, noSecondary}) {
        const ProgramResult result = run(r);
        EXPECT_EQ(result.outcome, Outcome::WrongTransducer);
        EXPECT_FALSE(result.nothingToDo);
        EXPECT_TRUE(port.writes().empty());
    }
}

// ---- the hardware checks --------------------------------------------------------------------

struct HardwareCase {
    const char* name;
    Record record;
    std::string hardware;
    bool fits;
};

TEST_F(ProgrammingRunTest, AMismatchingDeviceGetsNothingButTheQuery) {
    Record fourWire230 = threeWire();
    fourWire230.Grundwerte = {Cell(0), Cell(50), Cell(230), Cell(0),
                              Cell(0), Cell(1),  Cell(0),   Cell(0)};
    Record fourWire240 = fourWire230;
    fourWire240.Grundwerte[2] = Cell(240);
    Record threeWireVt = threeWire();
    threeWireVt.Grundwerte = {Cell(2),     Cell(50), Cell(0), Cell(20),
                              Cell("0,1"), Cell(1),  Cell(0), Cell(0)};

    const std::vector<HardwareCase> cases = {
        {"230 V four-wire on 400 V", fourWire230, hardwareText("1", " 1", "400", "5"), true},
        {"240 V four-wire on 400 V", fourWire240, hardwareText("1", " 1", "400", "5"), false},
        {"100 V transformer on 100 V", threeWireVt, hardwareText("1", " 1", "100", "1"), true},
        {"100 V transformer on 99 V", threeWireVt, hardwareText("1", " 1", " 99", "1"), false},
        {"1 A on 1.2 A", threeWire(), hardwareText("1", " 1", "400", "1.2"), true},
        {"1 A on 1 A", threeWire(), hardwareText("1", " 1", "400", "1"), true},
        {"1 A on 0.5 A", threeWire(), hardwareText("1", " 1", "400", "0.5"), false},
        {"1A/1D record on 2A/1D", threeWire(), hardwareText("2", " 1", "400", "5"), false},
        {"1A/1D record on 1A/5D", threeWire(), hardwareText("1", " 5", "400", "5"), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeClock clk;
        ScriptedPort p{clk};
        FakeTransducer dev{p};
        dev.hardware = c.hardware;
        Link l{p, clk};
        const ProgramResult r = programTransducer(l, c.record, "0", ',');
        if (c.fits) {
            EXPECT_EQ(r.outcome, Outcome::Ok) << r.reason;
        } else {
            EXPECT_EQ(r.outcome, Outcome::WrongTransducer);
            EXPECT_FALSE(r.reason.empty());
            EXPECT_EQ(p.frames(), (Frames{"", "-0-t", "", "-0-t", "\r-0-*?"}));
        }
    }
}

TEST_F(ProgrammingRunTest, AnUnusableHardwareReplyEndsTheRunAfterTheQuery) {
    for (const std::string& reply :
         {std::string("TXR 3.0 without marker"), hardwareText("0", " 5", "120", "5"),
          std::string("Ana.:  2")}) {
        FakeClock clk;
        ScriptedPort p{clk};
        FakeTransducer dev{p};
        dev.hardware = reply;
        Link l{p, clk};
        const ProgramResult r = programTransducer(l, threeWire(), "0", ',');
        EXPECT_EQ(r.outcome, Outcome::BadReply) << reply;
        EXPECT_EQ(p.frames(), (Frames{"", "-0-t", "", "-0-t", "\r-0-*?"}));
    }
}

// ---- failures stop the run ----------------------------------------------------------------

TEST_F(ProgrammingRunTest, TheFirstWrongEchoStopsTheRun) {
    device.hardware = hardwareText("2", " 5", "120", "5");
    device.overrides["-0-M B3,U12,55>"] = "-0-M B3,U12,56>\r";
    const ProgramResult r = run(fourWireWithTransformers());

    EXPECT_EQ(r.outcome, Outcome::LinkFailure);
    const Frames frames = port.frames();
    ASSERT_FALSE(frames.empty());
    EXPECT_EQ(frames.back(), "-0-M B3,U12,55>");
    EXPECT_EQ(frames.size(), kLeadIn.size() + 6);
    EXPECT_EQ(observer.lines.back(), "-0-M B3,U12,56>  NICHT OK");
}

TEST_F(ProgrammingRunTest, ASilentDeviceStopsTheRunAfterBothReplyLimits) {
    device.hardware = hardwareText("1", " 1", "400", "5");
    device.overrides["-0-M B1,INP,5>"] = "";
    const ProgramResult r = run(singlePhase());

    EXPECT_EQ(r.outcome, Outcome::LinkFailure);
    EXPECT_EQ(port.frames().back(), "-0-M B1,INP,5>");
    // 10800 ms to the system command, then 10000 ms for each reply phase.
    EXPECT_EQ(clock.elapsedMs(), 10800 + 20000);
}

TEST_F(ProgrammingRunTest, AFailedLinkTestSendsNoCommand) {
    device.hardware = hardwareText("1", " 1", "400", "5");
    // The wake-up frames get no echo either; only the query is answered.
    device.overrides["-0-t"] = "";
    const ProgramResult r = run(singlePhase());
    EXPECT_EQ(r.outcome, Outcome::LinkFailure);
    EXPECT_EQ(port.frames(), kLeadIn);
}

TEST_F(ProgrammingRunTest, ALostPortDuringTheQueryIsALinkFailure) {
    device.hardware = hardwareText("1", " 1", "400", "5");
    port.breakAfter(Millis{5000});  // while the reply is read
    const ProgramResult r = run(singlePhase());
    EXPECT_EQ(r.outcome, Outcome::LinkFailure);
    EXPECT_EQ(port.frames(), (Frames{"", "-0-t", "", "-0-t", "\r-0-*?"}));
}

TEST_F(ProgrammingRunTest, APortThatDoesNotOpenIsALinkFailure) {
    port.failOpen = true;
    const ProgramResult r = run(singlePhase());
    EXPECT_EQ(r.outcome, Outcome::LinkFailure);
    EXPECT_TRUE(port.writes().empty());
}

TEST_F(ProgrammingRunTest, CancellingStopsBeforeTheNextCommand) {
    device.hardware = hardwareText("2", " 5", "120", "5");
    device.onFrame = [this](const std::string& frame) {
        if (frame == "-0-M A2,P,-308.64,0,308.64,V,-10,0,10,-10.5,10.5,0") cancel = true;
    };
    const ProgramResult r = run(fourWireWithTransformers());
    EXPECT_EQ(r.outcome, Outcome::Cancelled);
    EXPECT_EQ(port.frames().back(), "-0-M A2,P,-308.64,0,308.64,V,-10,0,10,-10.5,10.5,0");
}

}  // namespace
}  // namespace kalvo::test
