// kalvo-cli against txr-sim on a pseudo-terminal, through the real serial port adapter and real
// processes. The programs come from the environment: KALVO_TXR_SIM and KALVO_CLI (set by CTest).
// What the command line does is tested in virtual time by the unit tests; here only what needs
// the real port, the real processes and their signals.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "files/project_file.h"
#include "support/child_process.h"
#include "support/record_builder.h"
#include "support/scratch_dir.h"

namespace kalvo::e2e {
namespace {

namespace fs = std::filesystem;
using test::BackgroundChild;
using test::ChildResult;

class CliAgainstSim : public ::testing::Test {
  protected:
    void SetUp() override { test::useTestEnvironment(file("config")); }

    // Starts txr-sim with the given options; the pty path it printed.
    std::string startSim(std::vector<std::string> options = {}) {
        options.insert(options.begin(), sim);
        auto path = server.start(options);
        EXPECT_TRUE(path) << "txr-sim printed no path";
        return path.value_or("");
    }
    ChildResult cli(std::vector<std::string> args) {
        args.insert(args.begin(), cliPath);
        return test::runChild(args, std::chrono::seconds(90));
    }
    std::string file(const std::string& name) const { return scratch.file(name); }

    const std::string sim = test::programPath("KALVO_TXR_SIM", KALVO_TXR_SIM_BUILT);
    const std::string cliPath = test::programPath("KALVO_CLI", KALVO_CLI_BUILT);
    test::ScratchDir scratch;
    BackgroundChild server;
};

TEST_F(CliAgainstSim, LinkTestThroughTheAdapterAndTheSimulatorsLink) {
    const std::string link = file("ttyTXR");
    const std::string port = startSim({"--link", link});
    struct stat st {};
    ASSERT_EQ(lstat(link.c_str(), &st), 0);
    EXPECT_EQ(fs::read_symlink(link).string(), port);
    // Twice: the port closes and opens again; the simulator keeps serving.
    for (const std::string& path : {port, link}) {
        ChildResult r = cli({"--port", path, "transact", "-t"});
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(r.out, "-0-t\n-0-t  OK\n");
    }
    EXPECT_EQ(server.stop(), 0);  // SIGTERM ends it cleanly and removes the link
    EXPECT_NE(lstat(link.c_str(), &st), 0);

    for (const char* bad : {"--variant 5A/5D", "--class 230/5", "--bogus", "--delay"}) {
        std::istringstream words(bad);
        std::vector<std::string> argv{sim};
        for (std::string w; words >> w;) argv.push_back(w);
        EXPECT_EQ(test::runChild(argv).exitCode, 1) << bad;
    }
}

// The device side goes away while the program waits for the echo: the wait ends at once, not
// after the 20 s of time limits.
TEST_F(CliAgainstSim, AVanishedPortIsALinkFailureAtOnce) {
    const std::string port = startSim({"--silent"});
    std::thread unplug([this] {
        std::this_thread::sleep_for(std::chrono::seconds(1));
        server.stop();
    });
    ChildResult r = cli({"--lang", "en", "--port", port, "transact", "-t"});
    unplug.join();
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_LT(r.wallSeconds, 5) << "a vanished port must end the exchange promptly";
    EXPECT_NE(r.err.find("Check the dataconnection and try again!"), std::string::npos);
}

TEST_F(CliAgainstSim, ProgrammedConfigurationReadsBackUnchanged) {
    const Record rec = test::RecordBuilder(4, 9, 600, 5)
                           .basic(Basic::NominalFrequency, 60)
                           .analog(1, Analog::LimitMax, 20)
                           .binary(0, Binary::Mode, ModeOnWhileOk)
                           .flags({0, 5, 33});
    const std::string cfg = file("project.cfg"), log = file("frames.log");
    ASSERT_EQ(Projekt_speichern(rec, cfg, '.'), FileError::None);
    const std::string port =
        startSim({"--variant", "4A/9D", "--class", "600/5", "--log", log, "--wire-time"});
    ChildResult p = cli({"--port", port, "program", cfg});
    ASSERT_EQ(p.exitCode, 0) << p.out << p.err;
    ChildResult back = cli({"--port", port, "read"});
    ChildResult shown = cli({"show", cfg});
    ASSERT_EQ(back.exitCode + shown.exitCode, 0) << back.err << shown.err;
    EXPECT_EQ(back.out, shown.out);
    EXPECT_NE(shown.out.find("TXR 3.0 4A/9D"), std::string::npos) << shown.out;

    // The simulator's log holds the frames of both runs, one per line.
    server.stop();
    std::stringstream text;
    text << std::ifstream(log).rdbuf();
    EXPECT_NE(text.str().find(" -0-D3\n"), std::string::npos) << text.str();
}

// Ctrl-C ends a watch at once with exit 0.
TEST_F(CliAgainstSim, WatchEndsOnCtrlC) {
    const std::string port = startSim({"--wire-time"});
    BackgroundChild watch;
    ASSERT_TRUE(watch.start({cliPath, "--port", port, "watch"}));  // a first line came
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(watch.stop(SIGINT), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
}

}  // namespace
}  // namespace kalvo::e2e
