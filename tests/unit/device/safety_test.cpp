// The safety net around programming, in virtual time: the backup read between the link test
// and the first change, the read-back compared after the device copy, the bus addresses, and
// kalvo-cli programming a bus of simulated units one after another.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "device/programming.h"
#include "device_test_support.h"
#include "link/address.h"
#include "shell/cli.h"
#include "sim/bus.h"
#include "sim/simulated_port.h"
#include "support/record_builder.h"
#include "support/scratch_dir.h"

namespace kalvo::test {
namespace {

namespace fs = std::filesystem;

struct Log final : LinkObserver {
    void logLine(const std::string& line) override { lines.push_back(line); }
    bool has(const std::string& line) const {
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }
    std::vector<std::string> lines;
};

// A 1A/1D unit holding the three-wire configuration, programmed with the single-phase one.
struct Rig {
    Rig() {
        device.hardware = hardwareReply("1", " 1", "400", "5");
        for (std::size_t n = 0; n < 3; ++n) device.copies[n] = kThreeWireCommands[4 + n].substr(4);
        net.backupFolder = scratch.file("backups");
        net.localTime = [] {
            std::tm local{};  // 2026-12-07 09:15
            local.tm_year = 126, local.tm_mon = 11, local.tm_mday = 7;
            local.tm_hour = 9, local.tm_min = 15;
            return local;
        };
    }
    ProgramResult run() { return programTransducer(link, singlePhase(), "0", ',', net); }
    bool sent(const std::string& frame) const {
        const Frames f = port.frames();
        return std::find(f.begin(), f.end(), frame) != f.end();
    }

    ScratchDir scratch;
    FakeClock clock;
    ScriptedPort port{clock};
    FakeDevice device{port};
    Log log;
    Link link{port, clock, &log};
    SafetyNet net;
    const std::string file = scratch.file("backups/2026-12-07_0915_adr0_1A1D.cfg");
};

TEST(Backup, TheStoredCopyIsSavedBeforeTheFirstChange) {
    Rig t;
    const ProgramResult r = t.run();
    ASSERT_EQ(r.outcome, Outcome::Ok) << r.reason.english;
    Frames expected = {"", "-0-t", "", "-0-t", "\r-0-*?", "\r-0-t", "-0-D1", "-0-D2", "-0-D3"};
    for (const std::string& c : kSinglePhaseCommands) expected.push_back("-0" + c);
    EXPECT_EQ(t.port.frames(), expected);
    EXPECT_EQ(r.backupPath, t.file);
    EXPECT_TRUE(t.log.has("Sicherung gespeichert: " + t.file));
    // The unit's old configuration with its classes: what opening the backup restores.
    Record old = threeWire();
    old.Max_Strom = 5;
    const Decoded saved = Projekt_laden(t.file, startRecord());
    ASSERT_EQ(saved.error, FileError::None);
    EXPECT_EQ(compareRecords(old, saved.record, Language::German, ','),
              std::vector<RecordDifference>{});
    // A second backup in the same minute keeps the first.
    EXPECT_EQ(t.run().backupPath, t.scratch.file("backups/2026-12-07_0915_adr0_1A1D_2.cfg"));
}

// Nothing that changes the unit goes out unless its configuration is saved or it has none.
TEST(Backup, OnlyASavedCopyOrNoneAtAllLetsTheRunGoOn) {
    const struct {
        const char* name;
        std::function<void(Rig&)> setup;
        Outcome outcome;
        bool anythingSent;
    } cases[] = {
        {"never programmed", [](Rig& t) { t.device.erased = true; }, Outcome::Ok, true},
        {"no reply to -D2", [](Rig& t) { t.device.overrides["-0-D2"] = ""; }, Outcome::LinkFailure,
         true},
        {"a copy of no TXR 3.0", [](Rig& t) { t.device.copies[0] = ":2:60:400:0:0:1:0:0:7:1:0"; },
         Outcome::BadReply, true},
        {"folder is a file", [](Rig& t) { std::ofstream(t.net.backupFolder) << "x"; },
         Outcome::BadRecord, false},
        {"folder gone while the copy is read",
         [](Rig& t) {
             t.device.onFrame = [&t](const std::string& frame) {
                 if (frame != "-0-D3") return;
                 fs::remove_all(t.net.backupFolder);
                 std::ofstream(t.net.backupFolder) << "x";
             };
         },
         Outcome::BadRecord, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Rig t;
        c.setup(t);
        const ProgramResult r = t.run();
        const bool ok = c.outcome == Outcome::Ok;
        EXPECT_EQ(r.outcome, c.outcome);
        EXPECT_EQ(r.backupError != FileError::None, c.outcome == Outcome::BadRecord);
        EXPECT_EQ(!t.port.frames().empty(), c.anythingSent);
        EXPECT_EQ(t.sent("-0" + kSinglePhaseCommands.back()), ok);
        EXPECT_EQ(r.nothingBackedUp, ok);
        EXPECT_EQ(t.log.has("Keine Sicherung: der Messumformer wurde noch nie parametriert."), ok);
        EXPECT_FALSE(fs::exists(t.file));
    }
}

TEST(Verify, TheCopyReadBackMustBeTheOneSent) {
    const struct {
        const char* name;
        std::function<void(FakeDevice&)> afterD3;  // the unit's doing once the copy is stored
        Outcome outcome;
        std::size_t differences;
    } cases[] = {
        {"same copy", [](FakeDevice&) {}, Outcome::Ok, 0},
        {"another limit", [](FakeDevice& d) { d.copies[2] = ":2:9:0:V:6:0"; }, Outcome::BadReply,
         1},
        {"erased", [](FakeDevice& d) { d.erased = true; }, Outcome::NeverProgrammed, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Rig t;
        t.net.backupFolder.clear();
        t.net.verify = true;
        t.device.onFrame = [&](const std::string& frame) {
            if (frame == "-0-D1") c.afterD3(t.device);
        };
        const ProgramResult r = t.run();
        EXPECT_EQ(r.outcome, c.outcome) << r.reason.english;
        ASSERT_EQ(r.differences.size(), c.differences);
        // The read follows the device copy; an erased one ends it at once.
        const Frames tail = c.outcome == Outcome::NeverProgrammed
                                ? Frames{"-0" + kSinglePhaseCommands.back(), "-0-D1"}
                                : Frames{"-0-D1", "-0-D2", "-0-D3"};
        const Frames f = t.port.frames();
        EXPECT_EQ(Frames(f.end() - static_cast<std::ptrdiff_t>(tail.size()), f.end()), tail);
        if (c.differences == 1) {
            EXPECT_EQ(r.differences[0].page, "Binärausgang 1");
            EXPECT_TRUE(t.log.has(differenceLine(r.differences[0])));
        }
    }
}

TEST(AddressList, EntriesRangesAndFaults) {
    const struct {
        const char* text;
        std::vector<int> addresses;
        std::optional<std::string> bad;
        std::optional<int> twice;
    } cases[] = {
        {"1,3-5", {1, 3, 4, 5}, {}, {}},
        {"07,0,32", {7, 0, 32}, {}, {}},
        {"1,,x", {}, "", {}},
        {"40", {}, "40", {}},
        {"5-3", {}, "5-3", {}},
        {"1-2-3", {}, "1-2-3", {}},
        {"2,1-3", {}, {}, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const AddressList l = parseAddressList(c.text);
        EXPECT_EQ(l.addresses, c.addresses);
        EXPECT_EQ(l.badEntry, c.bad);
        EXPECT_EQ(l.twice, c.twice);
    }
}

// kalvo-cli against a bus of simulated units at 1 and 3 in virtual time.
struct BusCli : ::testing::Test {
    int run(std::vector<std::string> args, std::vector<std::string> global = {}) {
        CliEnvironment env;
        env.openPath = [this](const std::string&) -> std::unique_ptr<SerialPort> {
            ++opened;
            return std::make_unique<sim::SimulatedPort>(bus, clock);
        };
        env.clock = &clock;
        env.out = &out;
        env.err = &err;
        args.insert(args.begin(), {"--port", "bus", "program"});
        args.insert(args.begin(), global.begin(), global.end());
        args.push_back(project);
        return runCli(args, env);
    }
    std::string file(const std::string& name) { return scratch.file(name); }

    ScratchDir scratch;
    FakeClock clock;
    sim::Bus bus{sim::Options{}, {"1", "3"}};
    std::ostringstream out, err;
    int opened = 0;
    std::string project = file("p.cfg");
    void SetUp() override {
        ASSERT_EQ(Projekt_speichern(RecordBuilder().flags({0, 33}), project, '.'), FileError::None);
    }
};

TEST_F(BusCli, EveryUnitInTurnThenOneLineEachAndNothingSentOnARefusal) {
    EXPECT_EQ(run({"--addresses", "1-3", "--backup", file("b"), "--verify"}), kExitLink);
    // The summary closes the output: one line per address, in the list's order.
    const std::string text = out.str();
    const std::size_t one = text.find("\n1\tok\t"), two = text.find("\n2\tfailed\t"),
                      three = text.find("\n3\tok\t");
    EXPECT_TRUE(one < two && two < three && text.find('\n', three + 1) == text.size() - 1) << text;
    EXPECT_EQ(std::distance(fs::directory_iterator(file("b")), fs::directory_iterator()), 2);
    EXPECT_NE(text.find("_adr3_2A5D.cfg"), std::string::npos);

    const int before = opened;
    EXPECT_EQ(run({"--addresses", "1,,x"}), kExitUsage);
    EXPECT_EQ(run({"--addresses", "1,3"}, {"--address", "3"}), kExitUsage);
    EXPECT_EQ(run({"--backup", project}), kExitBadInput);  // a file, not a folder
    ASSERT_EQ(Projekt_speichern(RecordBuilder().analog(0, Analog::RangeEnd, 9999), project, '.'),
              FileError::None);
    EXPECT_EQ(run({"--addresses", "1,3", "--strict"}), kExitBadInput);
    EXPECT_EQ(opened, before);
}

TEST_F(BusCli, AUnitThatStoresAnotherCopyFailsTheVerify) {
    bus.units()[0].options().badCopy = true;
    EXPECT_EQ(run({"--addresses", "1", "--verify"}), kExitDifferent);
    EXPECT_NE(out.str().find("Schnittstelle\tI\taus\tein\n"), std::string::npos) << out.str();
}

}  // namespace
}  // namespace kalvo::test
