// The command line as scripts see it: exit codes, output lines, and whole device sequences
// against the simulated transducer in virtual time.
#include "shell/cli.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <sstream>

#include "files/project_file.h"
#include "sim/simulated_port.h"
#include "sim/transducer.h"
#include "support/fake_device.h"
#include "support/record_builder.h"
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
            if (deviceSetup) deviceSetup(device);
            return port;
        };
        env.simulator = [this]() -> std::unique_ptr<SerialPort> {
            return std::make_unique<sim::SimulatedPort>(transducer, clock);
        };
        env.freshSimulator = [this]() -> std::unique_ptr<SerialPort> {
            return std::make_unique<sim::SimulatedPort>(freshUnit, clock);
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
    sim::Transducer freshUnit{sim::Options{.fresh = true}};
    std::ostringstream out, err;
    std::string openedPath;
    std::vector<std::unique_ptr<FakeDevice>> devices;  // one behind each port opened
    std::vector<std::string> sentFrames;               // frames written to the scripted port
    bool echo = true;
    bool failOpen = false;
    // Changes the scripted device behind each port opened (e.g. a full transducer instead of
    // the echo).
    std::function<void(FakeDevice&)> deviceSetup;
    char decimal = '.';
};

// Every command's usage errors, one row per way of getting it wrong: nothing is opened.
TEST_F(Cli, UsageErrorsExitWithOne) {
    const std::string cfg = tempFile("a.cfg");
    ASSERT_EQ(Projekt_speichern(newProject(2, 5, 120, 1.2), cfg, '.'), FileError::None);
    const std::vector<std::vector<std::string>> lines = {
        {},
        {"--bogus", "transact", "-t"},
        {"--port", "/dev/x", "--simulator", "transact", "-t"},
        {"--lang", "fr", "transact", "-t"},
        {"--port"},
        {"transact"},
        {"frobnicate"},
        {"show"},
        {"read", "--outptu", "x.cfg"},
        {"--fresh", "--port", "p", "read"},
        {"--port", "p", "set-address", "5"},
        {"--port", "p", "set-address", "1", "2", "3"},
        {"--port", "p", "send"},
        {"check"},
        {"check", cfg, cfg},
        {"check", "--strict", cfg},
        {"--port", "p", "watch", "--lines"},
        {"--port", "p", "watch", "--lines", "0"},
        {"--port", "p", "watch", "--lines", "3x"},
        {"--port", "p", "watch", "extra"},
        {"--port", "p", "watch", "--lines", "1", "--cycles", "1"},
        {"datasheet", cfg},
        {"datasheet", "--pdf", "/tmp/out.pdf"},
        {"datasheet", cfg, "--pdf"},
        {"datasheet", cfg, "--pdf", ""},
        {"datasheet", cfg, cfg, "--pdf", "/tmp/out.pdf"},
        {"datasheet", cfg, "--pdf", "/tmp/out.pdf", "--png"}};
    for (const auto& line : lines) {
        EXPECT_EQ(run(line), kExitUsage) << ::testing::PrintToString(line);
        EXPECT_NE(err.str().find("kalvo-cli --help"), std::string::npos);
        EXPECT_TRUE(openedPath.empty());
    }
}

// GNU style: to stdout, exit 0, nothing opened.
TEST_F(Cli, HelpAndVersionGoToStdout) {
    for (const char* option : {"--help", "--version"}) {
        EXPECT_EQ(run({option, "read"}), kExitOk);
        EXPECT_EQ(err.str(), "");
        EXPECT_TRUE(openedPath.empty());
    }
    EXPECT_EQ(out.str().rfind("kalvo-cli (Kalvo Multi) ", 0), 0u) << out.str();
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
    const Record r = test::RecordBuilder()
                         .basic(Basic::NominalVoltage, 57.735)
                         .analog(1, Analog::Quantity, Current)  // I1
                         .binary(0, Binary::Mode, ModeOnWhileOk)
                         .flags({0, 33});
    const std::string project = tempFile("programmed.cfg");
    ASSERT_EQ(Projekt_speichern(r, project, '.'), FileError::None);

    // Its ranges break the defaults: sent only when forced.
    EXPECT_EQ(run({"--simulator", "program", "--force", project}), kExitOk) << err.str();
    EXPECT_NE(out.str().find("-0-M S,FF,E,U1,F  OK"), std::string::npos);
    EXPECT_EQ(run({"--simulator", "read"}), kExitOk) << err.str();
    const std::string back = out.str();
    EXPECT_EQ(run({"show", project}), kExitOk);
    const std::string shown = out.str();
    EXPECT_EQ(back, shown);
    EXPECT_NE(shown.find("variant: TXR 3.0 2A/5D"), std::string::npos);
    EXPECT_NE(shown.find("interface: 0 33"), std::string::npos);
}

TEST_F(Cli, BadProjectFilesAreBadInputNamingTheFile) {
    const std::string missing = tempFile("does-not-exist.cfg"), garbage = tempFile("garbage.cfg");
    std::ofstream(garbage, std::ios::binary) << "not a project";
    for (const std::string& file : {missing, garbage}) {
        for (const char* command : {"show", "check", "program"}) {
            EXPECT_EQ(run({"--port", "p", command, file}), kExitBadInput);
            EXPECT_NE(err.str().find(file), std::string::npos) << err.str();
        }
    }
    EXPECT_TRUE(openedPath.empty()) << "nothing may be sent for a bad file";
}

// The built-in simulator is a programmed unit with the demo configuration, which reads back
// and passes every check; with --fresh it was never programmed.
TEST_F(Cli, TheSimulatorHoldsTheDemoConfigurationUnlessFresh) {
    EXPECT_EQ(run({"--simulator", "read"}), kExitOk) << err.str();
    std::ifstream demo(std::string(KALVO_SOURCE_DIR) + "/tests/data/shell/demo_read.txt");
    EXPECT_EQ(out.str(), (std::stringstream() << demo.rdbuf()).str());

    const std::string saved = tempFile("demo.cfg");
    EXPECT_EQ(run({"--simulator", "read", "--output", saved}), kExitOk) << err.str();
    for (const char d : {',', '.'}) {
        decimal = d;
        EXPECT_EQ(run({"check", saved}), kExitOk) << out.str();
        EXPECT_EQ(out.str(), "");
    }

    EXPECT_EQ(run({"--simulator", "--fresh", "read"}), kExitNeverProgrammed);
    EXPECT_EQ(err.str(),  // the reason below the message in the same language
              "Aktion abgebrochen! Der Messumformer wurde noch nie parametriert.\n"
              "kalvo-cli: der Datenbereich des Messumformers ist gelöscht\n");
    EXPECT_EQ(out.str(), "");
}

// A transducer behind the scripted port: the FakeDevice's own behaviour with a stored copy
// for a 1A/1D unit, its hardware reply given by `hardware` (nullopt: no answer at all).
std::function<void(FakeDevice&)> transducerWith(std::optional<std::string> hardware) {
    return [hardware](FakeDevice& d) {
        d.answer = nullptr;
        d.copies = {":2:50:100:0:0:1:0:0:1:1:0001110000000000000000000000000000000",
                    ":0:0:V:0:50:100:0:4:12:20:0:24:0", ":1:0:0:0:0:0"};
        if (hardware) {
            d.hardware = *hardware;
        } else {
            d.overrides["-0-*?"] = "";
        }
    };
}

// No reply at all to the hardware query is a link failure (2); a reply that came without a
// usable description a bad reply (5). The same in all three commands that query.
TEST_F(Cli, NoReplyInTimeIsALinkFailure) {
    Record r = newProject(1, 1, 120, 1.2);
    const std::string project = tempFile("p.cfg");
    ASSERT_EQ(Projekt_speichern(r, project, '.'), FileError::None);
    for (const std::vector<std::string>& command :
         {std::vector<std::string>{"identify"}, {"program", project}, {"read"}}) {
        SCOPED_TRACE(command[0]);
        std::vector<std::string> line = {"--lang", "en", "--port", "p"};
        line.insert(line.end(), command.begin(), command.end());

        deviceSetup = transducerWith(std::nullopt);
        EXPECT_EQ(run(line), kExitLink);
        EXPECT_NE(err.str().find("Check the dataconnection and try again!"), std::string::npos);
        EXPECT_NE(err.str().find("kalvo-cli: no reply to the hardware query\n"), std::string::npos)
            << err.str();

        // A unit that answers everything 2.5 s late: its late echoes of earlier frames are
        // no replies, and its description does not arrive whole within the query's time.
        transducer.options().replyDelay = Millis{2500};
        std::vector<std::string> slow = {"--simulator"};
        slow.insert(slow.end(), command.begin(), command.end());
        EXPECT_EQ(run(slow), kExitLink) << err.str();
        transducer.options().replyDelay = Millis{0};

        deviceSetup = transducerWith("TXR 3.0");
        EXPECT_EQ(run(line), kExitBadInput);
        EXPECT_NE(err.str().find("no \"Ana.:  \" in the hardware reply"), std::string::npos)
            << err.str();
        EXPECT_EQ(err.str().find("no reply"), std::string::npos) << err.str();
    }
}

// The first line of a file written by "read --output" is the file's full path, also when the
// name was given relative to the working folder.
TEST_F(Cli, ReadWritesTheFullPathOfTheFileIntoIt) {
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(scratch.path());
    deviceSetup = transducerWith(test::hardwareReply("1", " 1", "120", "1.2"));
    EXPECT_EQ(run({"--port", "p", "read", "--output", "rel.cfg"}), kExitOk) << err.str();
    const std::filesystem::path file = std::filesystem::current_path() / "rel.cfg";
    std::ifstream in(file, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), {}};
    std::filesystem::current_path(before);
    ASSERT_GT(bytes.size(), 4u);
    EXPECT_EQ(bytes.substr(4, bytes.find("\r\n") - 4), file.string());
}

// A configuration that cannot be sent at all is refused before the port is touched, with its
// own message naming what is wrong, not as a wrong transducer.
TEST_F(Cli, AConfigurationThatCannotBeSentIsBadInputWithItsOwnMessage) {
    const std::string project = tempFile("unsendable.cfg");  // a VT without secondary
    ASSERT_EQ(Projekt_speichern(test::RecordBuilder(1, 1).vt(20, 0), project, '.'),
              FileError::None);

    EXPECT_EQ(run({"--port", "p", "program", project}), kExitBadInput);
    EXPECT_NE(err.str().find("kann nicht programmiert werden: Der Spannungswandler hat kein"),
              std::string::npos)
        << err.str();
    EXPECT_TRUE(openedPath.empty()) << "nothing may be sent";
    EXPECT_EQ(out.str(), "");

    // A sendable 1A/1D project for the simulator's 2A/5D unit: a wrong transducer, exit 3.
    const std::string other = tempFile("1a1d.cfg");
    ASSERT_EQ(Projekt_speichern(test::RecordBuilder(1, 1), other, '.'), FileError::None);
    EXPECT_EQ(run({"--simulator", "--lang", "en", "program", other}), kExitWrongTransducer);
    EXPECT_NE(err.str().find("wrong transducer!!"), std::string::npos) << err.str();
}

}  // namespace
}  // namespace kalvo
