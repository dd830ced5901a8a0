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
        Record r = newProject(analog, binary, 600, 5);
        r.Grundwerte[Basic::NominalFrequency] = Cell(60);
        r.Analogwerte[1][Analog::LimitMax] = Cell(20);
        r.Binaerwerte[0][Binary::Mode] = Cell(ModeOnWhileOk);
        for (int i : {0, 5, 33}) r.Schnittstellenwerte[i] = Cell(1);
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

TEST_F(CliAgainstSim, WrongEchoLostOrMissingPortAreLinkFailures) {
    ChildResult r = cli({"--port", startSim({"--garble"}), "transact", "-t"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(hasLine(r.out, "-0-T  NICHT OK")) << r.out;
    server.stop();

    // The device side goes away while the program waits for the echo: the wait ends at once,
    // not after the 20 s of time limits.
    const std::string port = startSim({"--silent"});
    std::thread unplug([this] {
        std::this_thread::sleep_for(std::chrono::seconds(1));
        server.stop();
    });
    r = cli({"--lang", "en", "--port", port, "transact", "-t"});
    unplug.join();
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_LT(r.wallSeconds, 5) << "a vanished port must end the exchange promptly";
    EXPECT_NE(r.err.find("Check the dataconnection and try again!"), std::string::npos);

    r = cli({"--port", file("no-such-port"), "transact", "-t"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_NE(r.err.find("no-such-port"), std::string::npos);
}

TEST_F(CliAgainstSim, IdentifyReadsVariantAndClass) {
    ChildResult r =
        cli({"--port", startSim({"--variant", "3A/9D", "--class", "600/5"}), "identify"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "analog=3\nbinary=9\nvoltage=600\ncurrent=5\n");
}

TEST_F(CliAgainstSim, FreshUnitIsReportedAsNeverProgrammed) {
    ChildResult r = cli({"--port", startSim({"--fresh"}), "read", "--output", file("never.cfg")});
    EXPECT_EQ(r.exitCode, 4) << r.out << r.err;
    EXPECT_NE(r.err.find("Der Messumformer wurde noch nie parametriert."), std::string::npos);
    EXPECT_FALSE(fs::exists(file("never.cfg")));

    r = cli({"--simulator", "--fresh", "read"});
    EXPECT_EQ(r.exitCode, 4) << r.out << r.err;
}

// A new user's first try: the built-in simulator and txr-sim hold a demo configuration that
// reads back into a file (named by its full path inside, though given relative to the working
// folder) and passes every check of the parameter dialog.
TEST_F(CliAgainstSim, TheDemoConfigurationReadsBackAndChecksClean) {
    const fs::path before = fs::current_path();
    fs::current_path(dir);
    ChildResult r = cli({"--simulator", "read", "--output", "demo.cfg"});
    fs::current_path(before);
    ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
    const fs::path demo = fs::path(dir) / "demo.cfg";
    const Decoded loaded = Projekt_laden(demo.string(), startRecord());
    ASSERT_EQ(loaded.error, FileError::None) << loaded.detail.english;
    EXPECT_EQ(loaded.record.Anzahl_Analog, 2);
    EXPECT_EQ(loaded.record.Anzahl_Binaer, 5);
    std::ifstream in(demo, std::ios::binary);
    std::string firstLine;
    std::getline(in, firstLine);
    EXPECT_EQ(firstLine.substr(4), fs::canonical(dir).string() + "/demo.cfg\r");

    for (const char* lang : {"de", "en"}) {
        ChildResult c = cli({"check", "--lang", lang, demo.string()});
        EXPECT_EQ(c.exitCode, 0) << c.out << c.err;
        EXPECT_EQ(c.out, "") << lang;
    }

    // txr-sim's unit of another variant holds the demo for its own outputs.
    const std::string port = startSim({"--variant", "4A/9D", "--class", "600/5"});
    r = cli({"--port", port, "read", "--output", file("sim.cfg")});
    ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
    ChildResult c = cli({"check", file("sim.cfg")});
    EXPECT_EQ(c.exitCode, 0) << c.out << c.err;
    r = cli({"show", file("sim.cfg")});
    EXPECT_NE(r.out.find("variant: TXR 3.0 4A/9D"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("analog 4: U23 (V)"), std::string::npos) << r.out;
}

TEST_F(CliAgainstSim, WrongVariantIsRefused) {
    const std::string cfg = project(4, 9);
    const std::string port = startSim({"--variant", "2A/5D", "--class", "600/5"});
    ChildResult r = cli({"--port", port, "--lang", "en", "program", cfg});
    EXPECT_EQ(r.exitCode, 3) << r.out << r.err;
    EXPECT_NE(r.err.find("wrong transducer!!"), std::string::npos) << r.err;
}

TEST_F(CliAgainstSim, ProgrammedConfigurationReadsBackUnchanged) {
    const std::string cfg = project(4, 9);
    const std::string back = file("back.cfg");
    const std::string log = file("frames.log");
    const std::string port =
        startSim({"--variant", "4A/9D", "--class", "600/5", "--log", log, "--wire-time"});
    ChildResult p = cli({"--port", port, "program", cfg});
    ASSERT_EQ(p.exitCode, 0) << p.out << p.err;
    EXPECT_TRUE(hasLine(p.out, "-0-t  OK")) << p.out;
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
    for (const char* frame : {" -0-M A4,", " -0-D1,:", " -0-D3\n"})
        EXPECT_NE(text.str().find(frame), std::string::npos) << frame;
}

TEST_F(CliAgainstSim, SetAddressThenOnlyTheNewAddressAnswers) {
    const std::string port = startSim();
    ChildResult r = cli({"--port", port, "set-address", "--verify", "0", "5"});
    ASSERT_EQ(r.exitCode, 0) << r.out << r.err;
    EXPECT_TRUE(hasLine(r.out, "-0-*5") && hasLine(r.out, "-5-t  OK")) << r.out;

    r = cli({"--port", port, "--address", "5", "identify"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(hasLine(r.out, "analog=2")) << r.out;
    r = cli({"--port", port, "--address", "0", "identify"});
    EXPECT_EQ(r.exitCode, 2) << r.out << r.err;
}

// Programs an interface list into the simulator, then watches two cycles with the ratios
// of the same project: 20 kV / 100 V and 100 A / 1 A on a 120 V / 1.2 A unit.
TEST_F(CliAgainstSim, WatchShowsTheProgrammedSelectionOnThePrimarySide) {
    Record r = newProject(2, 5, 120, 1.2);
    r.Grundwerte[Basic::NominalVoltage] = Cell(0);
    r.Grundwerte[Basic::VtPrimary] = Cell(20);
    r.Grundwerte[Basic::VtSecondary] = Cell(0.1);
    r.Grundwerte[Basic::NominalCurrent] = Cell(0);
    r.Grundwerte[Basic::CtPrimary] = Cell(100);
    r.Grundwerte[Basic::CtSecondary] = Cell(1);
    for (int i : {0, 4, 7, 13, 21, 33}) r.Schnittstellenwerte[i] = Cell(1);  // U1 U23 I2 Q PF F
    const std::string cfg = file("watch.cfg");
    ASSERT_EQ(Projekt_speichern(r, cfg, '.'), FileError::None);

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
    // Unit at positions 9.., the rest of the line, and the range the value must lie in:
    // U1 63.5 V x 200, U23 110 V x 200, I2 0.96 A x 100, Q 3 x 63.5 V x 0.96 A x 0.31 x 20000
    // (mega, as the reference power is 10 x 20 x 100), the factor and the frequency as sent.
    struct Expected {
        std::string unit, tail;
        double low, high;
    };
    const std::vector<Expected> cycle = {{"KV", "U1 /U", 12.4, 12.9}, {"KV", "U23 /U", 21.5, 22.5},
                                         {"A", "I2 /I", 90, 102},     {"Mvar", "Q /Q", 0.95, 1.3},
                                         {"", "PF", 0.94, 0.96},      {"Hz", "F", 49.9, 50.1}};
    for (std::size_t start : {0u, 7u}) {
        EXPECT_EQ(lines[start], "");
        for (std::size_t k = 0; k < cycle.size(); ++k) {
            const std::string& line = lines[start + 1 + k];
            const Expected& e = cycle[k];
            SCOPED_TRACE(line);
            ASSERT_GE(line.size(), 8 + e.unit.size());
            EXPECT_EQ(line.substr(8, e.unit.size()), e.unit);
            EXPECT_EQ(line.substr(line.size() - e.tail.size()), e.tail);
            const double v = std::stod(line.substr(0, 7));
            EXPECT_GE(v, e.low);
            EXPECT_LE(v, e.high);
        }
    }
    // The CSV holds the twelve value lines, numbered 0..5 in each cycle.
    std::ifstream in(csv);
    std::vector<std::string> rows;
    for (std::string row; std::getline(in, row);) rows.push_back(row);
    ASSERT_EQ(rows.size(), 13u);
    EXPECT_NE(rows[1].find("Z,0,"), std::string::npos) << rows[1];
    EXPECT_NE(rows[12].find("Z,5,"), std::string::npos) << rows[12];
    EXPECT_NE(rows[12].find(",Hz,"), std::string::npos) << rows[12];
}

// Ctrl-C ends a watch at once with exit 0; a simulator that goes away ends it with 2.
TEST_F(CliAgainstSim, WatchEndsOnCtrlCOrWhenThePortVanishes) {
    const std::string port = startSim({"--wire-time"});
    BackgroundChild watch;
    // The first line printed is the empty line of the first cycle marker.
    ASSERT_EQ(watch.start({cliPath, "--port", port, "watch"}), std::string());
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(watch.stop(SIGINT), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));

    std::thread unplug([this] {
        std::this_thread::sleep_for(std::chrono::seconds(1));
        server.stop();
    });
    ChildResult r = cli({"--lang", "en", "--port", port, "watch"});
    unplug.join();
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_LT(r.wallSeconds, 5) << "a vanished port must end the watch promptly";
    EXPECT_NE(r.err.find("Check the dataconnection and try again!"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace kalvo::e2e
