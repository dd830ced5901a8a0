// `kalvo-cli watch` in virtual time: against a scripted device whose lines are worked out by
// hand, and against the simulated transducer.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "files/project_file.h"
#include "shell/cli.h"
#include "support/fakes.h"
#include "support/record_builder.h"
#include "support/scratch_dir.h"

namespace kalvo {
namespace {

using namespace std::chrono_literals;
using test::FakeClock;
using test::ScriptedPort;

// The device's cycle: marker, voltage, current, active power, frequency.
const std::vector<std::string> kCycle = {"\x0C", "  100.0 V    U1 /U", "  4.000 A    I1 /I",
                                         "   2500 W    P /P", "  50.00 Hz   F"};

std::vector<std::string> outputLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream s(text);
    for (std::string l; std::getline(s, l);) lines.push_back(l);
    return lines;
}

class CliWatch : public ::testing::Test {
  protected:
    int run(std::vector<std::string> args) {
        out.str({});
        err.str({});
        opened = false;
        CliEnvironment env;
        env.openPath = [this](const std::string&) -> std::unique_ptr<SerialPort> {
            opened = true;
            auto port = std::make_unique<ScriptedPort>(clock);
            if (breakAfter) port->breakAfter(*breakAfter);
            port->onWrite = [this](ScriptedPort& p, std::string_view bytes) {
                if (bytes.find("-r\n\r") == std::string_view::npos) return;
                ++requests;
                if (interruptAtRequest == requests) interrupt = true;
                if (answers-- <= 0) return;
                p.deliver(kCycle[next++ % kCycle.size()] + "\r", 30ms);
            };
            return port;
        };
        env.clock = &clock;
        env.out = &out;
        env.err = &err;
        env.interrupt = &interrupt;
        return runCli(args, env);
    }

    // A project with a 20 kV / 100 V voltage and a 100 A / 5 A current transformer.
    std::string transformerProject() const {
        const std::string path = scratch.file("transformers.cfg");
        EXPECT_EQ(Projekt_speichern(test::RecordBuilder().vt(20, 0.1).ct(100, 5), path, ','),
                  FileError::None);
        return path;
    }

    test::ScratchDir scratch;
    FakeClock clock;
    std::ostringstream out, err;
    std::atomic<bool> interrupt{false};
    bool opened = false;
    std::optional<Millis> breakAfter;
    std::size_t next = 0;     // the device's position in its cycle
    int answers = 1'000'000;  // requests it answers, then it falls silent
    int requests = 0;
    int interruptAtRequest = -1;  // Ctrl-C while this request is on its way
};

// Without a project file there are no transformers: watts from 1000 on become kilowatts.
const std::vector<std::string> kPlain = {"", " 100    V    U1 /U", " 4      A    I1 /I",
                                         " 2.5    KW   P /P", "  50.00 Hz   F"};
// 20 kV / 100 V and 100 A / 5 A: x200 with kilo for volts, x20 for amperes, x4000 with mega
// for watts (reference power 10 x 20 x 100).
const std::vector<std::string> kScaled = {"", " 20     KV   U1 /U", " 80     A    I1 /I",
                                          " 10     MW   P /P", "  50.00 Hz   F"};

TEST_F(CliWatch, PrintsEachLineAsRewrittenUntilTheCountIsReached) {
    ASSERT_EQ(run({"--port", "p", "watch", "--config", transformerProject(), "--cycles", "2"}),
              kExitOk)
        << err.str();
    std::vector<std::string> twice = kScaled;
    twice.insert(twice.end(), kScaled.begin(), kScaled.end());
    EXPECT_EQ(outputLines(out.str()), twice);
    EXPECT_EQ(requests, 11);  // the third cycle's marker completes the second cycle
    EXPECT_EQ(err.str(), "");

    next = 0;
    ASSERT_EQ(run({"--port", "p", "watch", "--lines", "3"}), kExitOk);
    EXPECT_EQ(out.str(), "\n" + kPlain[1] + "\n" + kPlain[2] + "\n");

    // Joining a device in mid-cycle: the lines before the first marker are printed too, but
    // the cycle they end is not counted.
    next = 3;
    ASSERT_EQ(run({"--port", "p", "watch", "--cycles", "1"}), kExitOk);
    EXPECT_EQ(outputLines(out.str()), (std::vector<std::string>{kPlain[3], kPlain[4], "", kPlain[1],
                                                                kPlain[2], kPlain[3], kPlain[4]}));
}

TEST_F(CliWatch, CsvRecordsEveryValueLineWithItsNumberInTheCycle) {
    const std::string csv = scratch.file("values.csv");
    next = 4;  // starts with the frequency line, before any marker
    ASSERT_EQ(run({"--port", "p", "watch", "--csv", csv, "--lines", "4"}), kExitOk);
    const std::string rows =
        (std::stringstream() << std::ifstream(csv, std::ios::binary).rdbuf()).str();
    // Each value with a UTC time stamp in milliseconds (2026-12-07T00:24:51.582Z).
    const std::string stamp = "\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\\.\\d{3}Z";
    EXPECT_TRUE(std::regex_match(
        rows, std::regex("time,line,value,unit,text\r\n" + stamp + ",,50,Hz,  50\\.00 Hz   F\r\n" +
                         stamp + ",0,100,V, 100    V    U1 /U\r\n" + stamp +
                         ",1,4,A, 4      A    I1 /I\r\n")))
        << rows;
}

TEST_F(CliWatch, CtrlCEndsWithZeroAfterTheLinesShownSoFar) {
    interruptAtRequest = 6;
    ASSERT_EQ(run({"--port", "p", "watch"}), kExitOk) << err.str();
    EXPECT_EQ(outputLines(out.str()),
              (std::vector<std::string>{"", kPlain[1], kPlain[2], kPlain[3], kPlain[4]}));
    EXPECT_EQ(err.str(), "");
    // Seen without waiting for the reply on its way.
    EXPECT_LT(clock.elapsedMs(), 6 * 30);
}

TEST_F(CliWatch, NoLineForTenSecondsOrALostPortIsALinkFailure) {
    answers = 3;
    EXPECT_EQ(run({"--port", "p", "watch"}), kExitLink);
    EXPECT_EQ(outputLines(out.str()), (std::vector<std::string>{"", kPlain[1], kPlain[2]}));
    EXPECT_EQ(clock.elapsedMs(), 3 * 30 + 10000);
    EXPECT_NE(err.str().find("Überprüfen Sie die Datenverbindung und versuchen Sie es nochmals!"),
              std::string::npos);
    EXPECT_NE(err.str().find("kalvo-cli: kein Messwert seit 10 s\n"), std::string::npos)
        << err.str();

    const long long start = clock.elapsedMs();
    answers = 1'000'000;
    breakAfter = 100ms;
    EXPECT_EQ(run({"--port", "p", "watch"}), kExitLink);
    EXPECT_EQ(clock.elapsedMs() - start, 100);
    EXPECT_NE(err.str().find("kalvo-cli: die Schnittstelle ist verschwunden\n"), std::string::npos);

    // A record the user already has stays as it was when no value ever comes.
    breakAfter.reset();
    answers = 0;
    const std::string csv = scratch.file("kept.csv");
    std::ofstream(csv) << "earlier values\n";
    EXPECT_EQ(run({"--port", "p", "watch", "--csv", csv}), kExitLink);
    EXPECT_EQ((std::stringstream() << std::ifstream(csv).rdbuf()).str(), "earlier values\n");
}

TEST_F(CliWatch, BadFilesAreRefusedBeforeThePortIsOpened) {
    EXPECT_EQ(run({"--port", "p", "watch", "--config", scratch.file("missing.cfg")}),
              kExitBadInput);
    EXPECT_NE(err.str().find("missing.cfg"), std::string::npos);
    EXPECT_EQ(run({"--port", "p", "watch", "--csv", scratch.file("none") + "/x/values.csv"}),
              kExitBadInput);
    EXPECT_NE(err.str().find("values.csv"), std::string::npos);
    EXPECT_FALSE(opened);
    if (std::filesystem::exists("/dev/full")) {  // a disk that is always full
        EXPECT_EQ(run({"--lang", "en", "--port", "p", "watch", "--csv", "/dev/full"}),
                  kExitBadInput);
        EXPECT_EQ(err.str(), "File error: The file \"/dev/full\" could not be written.\n");
    }
}

}  // namespace
}  // namespace kalvo
