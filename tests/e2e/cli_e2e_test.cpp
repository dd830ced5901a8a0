// kalvo-cli against txr-sim on a pseudo-terminal, through the real serial port adapter and real
// processes. The programs come from the environment: KALVO_TXR_SIM and KALVO_CLI (set by CTest).
// Exit-code logic in detail is tested in virtual time by the unit tests; here each outcome once.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "config/record.h"
#include "files/project_file.h"
#include "support/child_process.h"
#include "support/record_builder.h"

namespace kalvo::e2e {
namespace {

namespace fs = std::filesystem;
using test::BackgroundChild;
using test::ChildResult;
using test::runChild;

bool hasLine(const std::string& text, const std::string& line) {
    std::istringstream s(text);
    for (std::string l; std::getline(s, l);)
        if (l == line) return true;
    return false;
}

class CliAgainstSim : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "kalvo-e2e-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir = pattern;
        test::useTestEnvironment(file("config"));
    }
    void TearDown() override {
        server.stop();
        std::error_code ec;
        if (!dir.empty()) fs::remove_all(dir, ec);
    }

    // Starts txr-sim with the given options; the pty path it printed.
    std::string startSim(std::vector<std::string> options = {}) {
        options.insert(options.begin(), sim);
        auto path = server.start(options);
        EXPECT_TRUE(path) << "txr-sim printed no path";
        return path.value_or("");
    }
    ChildResult cli(std::vector<std::string> args) {
        args.insert(args.begin(), cliPath);
        return runChild(args, std::chrono::seconds(90));
    }
    std::string file(const std::string& name) const { return (fs::path(dir) / name).string(); }
    // A project file for a 600 V / 5 A unit of the variant, a few cells off the defaults.
    std::string project(int analog, int binary) {
        const Record r = test::RecordBuilder(analog, binary, 600, 5)
                             .basic(Basic::NominalFrequency, 60)
                             .analog(1, Analog::LimitMax, 20)
                             .binary(0, Binary::Mode, ModeOnWhileOk)
                             .flags({0, 5, 33});
        const std::string path = file("project.cfg");
        EXPECT_EQ(Projekt_speichern(r, path, '.'), FileError::None);
        return path;
    }

    const std::string sim = test::programPath("KALVO_TXR_SIM", KALVO_TXR_SIM_BUILT);
    const std::string cliPath = test::programPath("KALVO_CLI", KALVO_CLI_BUILT);
    std::string dir;
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
        EXPECT_TRUE(hasLine(r.out, "-0-t") && hasLine(r.out, "-0-t  OK")) << r.out;
    }
    EXPECT_EQ(server.stop(), 0);  // SIGTERM ends it cleanly and removes the link
    EXPECT_NE(lstat(link.c_str(), &st), 0);

    for (const char* bad : {"--variant 5A/5D", "--class 230/5", "--bogus", "--delay"}) {
        std::istringstream words(bad);
        std::vector<std::string> argv{sim};
        for (std::string w; words >> w;) argv.push_back(w);
        EXPECT_EQ(runChild(argv).exitCode, 1) << bad;
    }
}

TEST_F(CliAgainstSim, VanishedOrMissingPortIsALinkFailure) {
    // The device side goes away while the program waits for the echo: the wait ends at once,
    // not after the 20 s of time limits.
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

    r = cli({"--port", file("no-such-port"), "transact", "-t"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("no-such-port"), std::string::npos);
}

// A new user's first try: the built-in simulator and txr-sim of another variant hold a demo
// configuration that reads back and passes every check of the parameter dialog.
TEST_F(CliAgainstSim, TheDemoConfigurationReadsBackAndChecksClean) {
    ChildResult r = cli({"--simulator", "read", "--output", file("demo.cfg")});
    ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
    const std::string port = startSim({"--variant", "4A/9D", "--class", "600/5"});
    r = cli({"--port", port, "read", "--output", file("sim.cfg")});
    ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
    for (const std::string& cfg : {file("demo.cfg"), file("sim.cfg")}) {
        ChildResult c = cli({"check", cfg});
        EXPECT_EQ(c.exitCode, 0) << c.out << c.err;
        EXPECT_EQ(c.out, "") << cfg;
    }
}

TEST_F(CliAgainstSim, ProgrammedConfigurationReadsBackUnchanged) {
    const std::string cfg = project(4, 9);
    const std::string back = file("back.cfg");
    const std::string log = file("frames.log");
    const std::string port =
        startSim({"--variant", "4A/9D", "--class", "600/5", "--log", log, "--wire-time"});
    ChildResult p = cli({"--port", port, "program", cfg});
    ASSERT_EQ(p.exitCode, 0) << p.out << p.err;
    ChildResult r = cli({"--port", port, "read", "--output", back});
    ASSERT_EQ(r.exitCode, 0) << r.out << r.err;

    ChildResult a = cli({"show", cfg});
    ChildResult b = cli({"show", back});
    ASSERT_EQ(a.exitCode + b.exitCode, 0) << a.err << b.err;
    EXPECT_EQ(a.out, b.out);
    EXPECT_NE(a.out.find("TXR 3.0 4A/9D"), std::string::npos) << a.out;

    // The simulator's log holds the frames of both runs, one per line.
    server.stop();
    std::stringstream text;
    text << std::ifstream(log).rdbuf();
    EXPECT_NE(text.str().find(" -0-D3\n"), std::string::npos) << text.str();
}

TEST_F(CliAgainstSim, SetAddressThenOnlyTheNewAddressAnswers) {
    const std::string port = startSim({"--variant", "3A/9D", "--class", "600/5"});
    ChildResult r = cli({"--port", port, "set-address", "--verify", "0", "5"});
    ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
    EXPECT_TRUE(hasLine(r.out, "-5-t  OK")) << r.out;

    r = cli({"--port", port, "--address", "5", "identify"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "analog=3\nbinary=9\nvoltage=600\ncurrent=5\n");
    r = cli({"--port", port, "--address", "0", "identify"});
    EXPECT_EQ(r.exitCode, 2) << r.out << r.err;
}

// Programs an interface list (U1 U23 I2 Q PF F) into the simulator, then watches two cycles
// with the ratios of the same project (20 kV / 100 V, 100 A / 1 A) into a CSV file; Ctrl-C
// then ends a watch at once with exit 0.
TEST_F(CliAgainstSim, WatchShowsTheProgrammedSelectionAndEndsOnCtrlC) {
    const Record rec = test::RecordBuilder().vt(20, 0.1).ct(100, 1).flags({0, 4, 7, 13, 21, 33});
    const std::string cfg = file("watch.cfg");
    ASSERT_EQ(Projekt_speichern(rec, cfg, '.'), FileError::None);

    const std::string port = startSim({"--wire-time"});
    ChildResult p = cli({"--port", port, "program", cfg});
    ASSERT_EQ(p.exitCode, 0) << p.out << p.err;
    const std::string csv = file("values.csv");
    ChildResult w = cli({"--port", port, "watch", "--config", cfg, "--cycles", "2", "--csv", csv});
    ASSERT_EQ(w.exitCode, 0) << w.out << w.err;
    std::vector<std::string> lines;
    std::istringstream text(w.out);
    for (std::string l; std::getline(text, l);) lines.push_back(l);
    ASSERT_EQ(lines.size(), 14u) << w.out;
    // U1 is 63.5 V x 200 on the primary side.
    EXPECT_EQ(lines[1].substr(8, 2), "KV") << lines[1];
    EXPECT_NEAR(std::stod(lines[1].substr(0, 7)), 12.7, 0.3) << lines[1];
    EXPECT_EQ(lines[13].substr(lines[13].size() - 1), "F") << lines[13];
    std::ifstream in(csv);
    std::vector<std::string> rows;
    for (std::string row; std::getline(in, row);) rows.push_back(row);
    ASSERT_EQ(rows.size(), 13u);
    EXPECT_NE(rows[12].find("Z,5,"), std::string::npos) << rows[12];

    BackgroundChild watch;
    ASSERT_TRUE(watch.start({cliPath, "--port", port, "watch"}));  // a first line came
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(watch.stop(SIGINT), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
}

}  // namespace
}  // namespace kalvo::e2e
