// kalvo-cli against txr-sim on a pseudo-terminal, through the real serial port adapter, or on
// TCP at the loopback through the network adapter, and real processes. The programs come from the
// environment: KALVO_TXR_SIM and KALVO_CLI (set by CTest). What the command line does is tested in
// virtual time by the unit tests; here only what needs the real port, the real processes and their
// signals.
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

// The same cases with txr-sim on a pseudo-terminal and on TCP.
class CliOnEitherLine : public CliAgainstSim, public ::testing::WithParamInterface<bool> {
  protected:
    std::string startSim(std::vector<std::string> options = {}) {
        return CliAgainstSim::startSim(test::onLine(std::move(options), GetParam()));
    }
};
INSTANTIATE_TEST_SUITE_P(Lines, CliOnEitherLine, ::testing::Bool(),
                         [](const auto& info) { return test::lineName(info.param); });

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
TEST_P(CliOnEitherLine, AVanishedPortIsALinkFailureAtOnce) {
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

TEST_P(CliOnEitherLine, ProgrammedConfigurationReadsBackUnchanged) {
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
TEST_P(CliOnEitherLine, WatchEndsOnCtrlC) {
    const std::string port = startSim({"--wire-time"});
    BackgroundChild watch;
    ASSERT_TRUE(watch.start({cliPath, "--port", port, "watch"}));  // a first line came
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(watch.stop(SIGINT), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
}

// The commands the other cases leave out, one after the other on one unit.
TEST_P(CliOnEitherLine, IdentifyAddressSendAndTransact) {
    const std::string port = startSim();
    const struct {
        std::vector<std::string> args;
        std::string out;
    } cases[] = {
        {{"identify"}, "analog=2\nbinary=5\nvoltage=120\ncurrent=1.2\n"},
        {{"set-address", "--verify", "0", "7"}, "-0-*7\n-7-t\n-7-t  OK\n"},
        {{"--address", "7", "transact", "-t"}, "-7-t\n-7-t  OK\n"},
        {{"send", "-7-t"}, "-7-t\n"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args{"--port", port};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const ChildResult r = cli(args);
        EXPECT_EQ(r.exitCode, 0) << c.args[0] << r.err;
        EXPECT_EQ(r.out, c.out) << c.args[0];
    }
}

// The simulator ends while a unit is programmed and while it is watched: a link failure within
// a second, not a success and not a wait for the time limits.
TEST_P(CliOnEitherLine, TheLineEndingDuringProgrammingOrWatchIsALinkFailure) {
    const std::string cfg = file("project.cfg");
    ASSERT_EQ(Projekt_speichern(test::RecordBuilder(2, 5, 120, 1.2), cfg, '.'), FileError::None);
    for (const std::vector<std::string>& command :
         {std::vector<std::string>{"program", cfg}, std::vector<std::string>{"watch"}}) {
        std::vector<std::string> args{"--lang", "en", "--port", startSim({"--wire-time"})};
        args.insert(args.end(), command.begin(), command.end());
        std::thread unplug([this] {
            std::this_thread::sleep_for(std::chrono::milliseconds(3000));
            server.stop();
        });
        const ChildResult r = cli(args);
        unplug.join();
        EXPECT_EQ(r.exitCode, 2) << command[0] << r.out << r.err;
        // Unplugged at 3 s: well before the reply limits would end it (10 s and more), with room
        // for a pause under way and for a loaded machine running sanitizer builds.
        EXPECT_LT(r.wallSeconds, 6) << command[0];
        EXPECT_NE(r.err.find("Check the dataconnection and try again!"), std::string::npos);
    }
}

// A gateway that cannot be reached and tcp:// texts that name none: the reason, exit 2, at once.
TEST_F(CliAgainstSim, GatewayFaultsSayWhyAndAreLinkFailures) {
    const std::string gone = startSim({"--tcp", "127.0.0.1:0"});  // nobody listens there after
    server.stop();
    const std::string peer = gone.substr(6);
    const struct {
        std::string lang, port, said;
    } cases[] = {
        {"en", gone, "kalvo-cli: Cannot connect to " + peer + ": Connection refused\n"},
        {"de", gone, "kalvo-cli: Verbindung zu " + peer + " nicht möglich: Connection refused\n"},
        {"en", "tcp://kalvo-e2e.invalid:4001",
         "kalvo-cli: Cannot connect to kalvo-e2e.invalid:4001: host name not found\n"},
        {"en", "tcp://127.0.0.1:70000",
         "kalvo-cli: Port number 70000 in \"tcp://127.0.0.1:70000\" is not between 1 and 65535\n"},
        {"de", "tcp://127.0.0.1",
         "kalvo-cli: \"tcp://127.0.0.1\" ist keine Netzwerk-Schnittstelle; erwartet wird "
         "tcp://RECHNER:PORT, z. B. tcp://10.0.0.20:4001\n"},
    };
    for (const auto& c : cases) {
        const ChildResult r = cli({"--lang", c.lang, "--port", c.port, "identify"});
        EXPECT_EQ(r.exitCode, 2) << c.port;
        EXPECT_EQ(r.err.substr(0, r.err.find('\n') + 1), c.said);
        EXPECT_LT(r.wallSeconds, 6) << c.port;
    }
}

}  // namespace
}  // namespace kalvo::e2e
