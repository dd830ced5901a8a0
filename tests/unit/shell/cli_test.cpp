// The command line as scripts see it: exit codes, output lines, and whole device sequences
// against the simulated transducer in virtual time.
#include "shell/cli.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "files/project_file.h"
#include "sim/simulated_port.h"
#include "sim/transducer.h"
#include "support/fake_device.h"
#include "support/scratch_dir.h"

namespace kalvo {
namespace {

using test::FakeClock;
using test::FakeDevice;
using test::ScriptedPort;

class Cli : public ::testing::Test {
  protected:
    // Runs a command line; the port is `scripted` (echoing by default) unless the
    // simulator is asked for.
    int run(std::vector<std::string> args) {
        out.str({});
        err.str({});
        CliEnvironment env;
        env.openPath = [this](const std::string& path) -> std::unique_ptr<SerialPort> {
            openedPath = path;
            auto port = std::make_unique<ScriptedPort>(clock);
            port->failOpen = failOpen;
            // Echoes each frame with CR, as the device does, or stays silent.
            FakeDevice& device = *devices.emplace_back(std::make_unique<FakeDevice>(*port));
            device.delay = Millis{5};
            device.answer = [this](const std::string& frame) {
                return echo ? frame + "\r" : std::string();
            };
            device.onFrame = [this](const std::string& frame) { sentFrames.push_back(frame); };
            return port;
        };
        env.simulator = [this]() -> std::unique_ptr<SerialPort> {
            return std::make_unique<sim::SimulatedPort>(transducer, clock);
        };
        env.clock = &clock;
        env.decimal = decimal;
        env.out = &out;
        env.err = &err;
        return runCli(args, env);
    }

    // A path in the test's scratch folder where no file is yet.
    std::string tempFile(const std::string& name) const { return scratch.file(name); }
    test::ScratchDir scratch;

    FakeClock clock;
    sim::Transducer transducer{sim::Options{}};
    std::ostringstream out, err;
    std::string openedPath;
    std::vector<std::unique_ptr<FakeDevice>> devices;  // one behind each port opened
    std::vector<std::string> sentFrames;               // frames written to the scripted port
    bool echo = true;
    bool failOpen = false;
    char decimal = '.';
};

TEST_F(Cli, UsageErrorsExitWithOne) {
    const std::vector<std::vector<std::string>> lines = {
        {},
        {"--bogus", "transact", "-t"},
        {"--port", "/dev/x", "--simulator", "transact", "-t"},
        {"--lang", "fr", "transact", "-t"},
        {"--port"},
        {"transact"},
        {"frobnicate"},
        {"show"},
        {"read", "--outptu", "x.cfg"}};
    for (const auto& line : lines) {
        EXPECT_EQ(run(line), kExitUsage) << ::testing::PrintToString(line);
        EXPECT_NE(err.str().find("usage:"), std::string::npos);
        EXPECT_TRUE(openedPath.empty());
    }
}

TEST_F(Cli, TransactSendsItsTextAndPrintsTheLogLines) {
    EXPECT_EQ(run({"--port", "/dev/ttyUSB0", "transact", "-t"}), kExitOk);
    EXPECT_EQ(openedPath, "/dev/ttyUSB0");
    EXPECT_EQ(out.str(), "-0-t\n-0-t  OK\n");
    EXPECT_EQ(err.str(), "");
    // Everything after the command word is its text, options included.
    EXPECT_EQ(run({"--port", "p", "--address", "07", "transact", "-S", "4U,1,1,50"}), kExitOk);
    EXPECT_EQ(run({"--port", "p", "transact", "--verbose"}), kExitOk);
    EXPECT_EQ(sentFrames, (std::vector<std::string>{"-0-t", "-7-S 4U,1,1,50", "-0--verbose"}));
}

TEST_F(Cli, LinkFailuresExitWithTwoAndSayWhy) {
    echo = false;  // a silent device costs both 10 s reply limits, in virtual time
    EXPECT_EQ(run({"--port", "p", "transact", "-t"}), kExitLink);
    EXPECT_EQ(clock.elapsedMs(), 20000);
    EXPECT_EQ(out.str(), "-0-t\nabbruch\nabbruch\n");
    EXPECT_NE(err.str().find("Überprüfen Sie die Datenverbindung und versuchen Sie es nochmals!"),
              std::string::npos);
    EXPECT_EQ(run({"--lang", "en", "--port", "p", "transact", "-t"}), kExitLink);
    EXPECT_NE(err.str().find("Check the dataconnection and try again!"), std::string::npos);

    failOpen = true;
    EXPECT_EQ(run({"--port", "/dev/nothing", "transact", "-t"}), kExitLink);
    EXPECT_NE(err.str().find("/dev/nothing"), std::string::npos);
}

TEST_F(Cli, IdentifyPrintsFourLinesWithAPoint) {
    decimal = ',';
    EXPECT_EQ(run({"--simulator", "identify"}), kExitOk);
    EXPECT_EQ(out.str(), "analog=2\nbinary=5\nvoltage=120\ncurrent=1.2\n");
}

TEST_F(Cli, ProgramThenReadBackGivesTheSameConfiguration) {
    // A project for the simulator's 2A/5D, 120 V / 1.2 A unit.
    Record r = newProject(2, 5, 120, 1.2);
    r.Grundwerte[2] = 57.735;
    r.Analogwerte[1][0] = 1;  // current I1
    r.Binaerwerte[0][0] = 1;
    r.Schnittstellenwerte[0] = r.Schnittstellenwerte[33] = 1;
    const std::string project = tempFile("programmed.cfg"), back = tempFile("readback.cfg");
    ASSERT_EQ(Projekt_speichern(r, project, '.'), FileError::None);

    EXPECT_EQ(run({"--simulator", "program", project}), kExitOk) << err.str();
    EXPECT_NE(out.str().find("Programmierung erfolgreich abgeschlossen!"), std::string::npos);
    EXPECT_NE(out.str().find("-0-M S,FF,E,U1,F  OK"), std::string::npos);
    EXPECT_EQ(run({"--simulator", "read", "--output", back}), kExitOk) << err.str();
    EXPECT_EQ(run({"show", project}), kExitOk);
    const std::string shown = out.str();
    EXPECT_EQ(run({"show", back}), kExitOk);
    EXPECT_EQ(out.str(), shown);
    EXPECT_NE(shown.find("variant: TXR 3.0 2A/5D"), std::string::npos);
    EXPECT_NE(shown.find("interface: 0 33"), std::string::npos);
}

TEST_F(Cli, BadProjectFilesAreBadInputNamingTheFile) {
    const std::string missing = tempFile("does-not-exist.cfg"), garbage = tempFile("garbage.cfg");
    std::ofstream(garbage, std::ios::binary) << "not a project";
    for (const std::string& file : {missing, garbage}) {
        EXPECT_EQ(run({"show", file}), kExitBadInput);
        EXPECT_EQ(run({"--port", "p", "program", file}), kExitBadInput);
        EXPECT_NE(err.str().find(file), std::string::npos) << err.str();
    }
    EXPECT_TRUE(openedPath.empty()) << "nothing may be sent for a bad file";
}

}  // namespace
}  // namespace kalvo
