// kalvo-cli against txr-sim on a pseudo-terminal, through the real serial port adapter.
// The programs come from the environment: KALVO_TXR_SIM and KALVO_CLI (set by CTest).
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "child_process.h"
#include "config/record.h"
#include "files/project_file.h"

namespace kalvo::e2e {
namespace {

namespace fs = std::filesystem;

std::string env(const char* name) {
    const char* v = std::getenv(name);
    return v ? v : "";
}

std::string simProgram() {
    return env("KALVO_TXR_SIM");
}
std::string cliProgram() {
    return env("KALVO_CLI");
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream s(text);
    for (std::string l; std::getline(s, l);) out.push_back(l);
    return out;
}

bool hasLine(const std::string& text, const std::string& line) {
    for (const auto& l : lines(text))
        if (l == line) return true;
    return false;
}

// A scratch folder per test, removed afterwards.
class TempDir {
  public:
    TempDir() {
        std::string pattern = (fs::temp_directory_path() / "kalvo-e2e-XXXXXX").string();
        path_ = mkdtemp(pattern.data()) ? pattern : "";
    }
    ~TempDir() {
        std::error_code ec;
        if (!path_.empty()) fs::remove_all(path_, ec);
    }
    std::string file(const std::string& name) const { return (fs::path(path_) / name).string(); }

  private:
    std::string path_;
};

class CliAgainstSim : public ::testing::Test {
  protected:
    void SetUp() override {
        if (simProgram().empty() || cliProgram().empty())
            GTEST_SKIP() << "KALVO_TXR_SIM and KALVO_CLI name the programs under test";
    }

    // Starts txr-sim with the given options; the pty path it printed.
    std::string startSim(std::vector<std::string> options = {}) {
        std::vector<std::string> argv{simProgram()};
        argv.insert(argv.end(), options.begin(), options.end());
        auto path = sim_.start(argv);
        EXPECT_TRUE(path) << "txr-sim printed no path";
        return path.value_or("");
    }

    ChildResult cli(std::vector<std::string> args) {
        std::vector<std::string> argv{cliProgram()};
        argv.insert(argv.end(), args.begin(), args.end());
        return runChild(argv, std::chrono::seconds(90));
    }

    BackgroundChild sim_;
};

// A 4A/9D record for a 600 V / 5 A unit with a few cells away from the defaults.
Record record4A9D() {
    Record r = newProject(4, 9, 600, 5);
    r.Grundwerte[1] = Cell(60);
    r.Analogwerte[1][11] = Cell(20);
    r.Binaerwerte[0][0] = Cell(1);
    r.Schnittstellenwerte[0] = Cell(1);
    r.Schnittstellenwerte[5] = Cell(1);
    r.Schnittstellenwerte[33] = Cell(1);
    return r;
}

TEST_F(CliAgainstSim, LinkTestPrintsTheLogAndSucceeds) {
    const std::string port = startSim();
    ChildResult r = cli({"--port", port, "transact", "-t"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(hasLine(r.out, "-0-t")) << r.out;
    EXPECT_TRUE(hasLine(r.out, "-0-t  OK")) << r.out;

    // The port closes and opens again for the next run; the simulator keeps serving.
    r = cli({"--port", port, "transact", "-t"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(hasLine(r.out, "-0-t  OK")) << r.out;
    EXPECT_EQ(sim_.stop(), 0);  // SIGTERM ends it cleanly
}

TEST_F(CliAgainstSim, LinkTestWithWireTimeAndAddress) {
    const std::string port = startSim({"--wire-time", "--address", "12"});
    ChildResult r = cli({"--port", port, "--address", "12", "transact", "-t"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(hasLine(r.out, "-12-t  OK")) << r.out;
}

TEST_F(CliAgainstSim, WrongEchoIsALinkFailure) {
    const std::string port = startSim({"--garble"});
    ChildResult r = cli({"--port", port, "transact", "-t"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(hasLine(r.out, "-0-T  NICHT OK")) << r.out;
}

// Costs 20 s: both reply phases run to their limit.
TEST_F(CliAgainstSim, DeviceAtAnotherAddressIsALinkFailureAfterBothLimits) {
    const std::string port = startSim();
    ChildResult r = cli({"--port", port, "--address", "5", "transact", "-t"});
    EXPECT_EQ(r.exitCode, 2) << r.err;
    EXPECT_TRUE(hasLine(r.out, "-5-t")) << r.out;
    int aborts = 0;
    for (const auto& l : lines(r.out)) aborts += l == "abbruch";
    EXPECT_EQ(aborts, 2) << r.out;
    EXPECT_GE(r.wallSeconds, 19.9);
    EXPECT_LT(r.wallSeconds, 40);
}

TEST_F(CliAgainstSim, IdentifyReadsVariantAndClass) {
    const std::string port = startSim({"--variant", "3A/9D", "--class", "600/5"});
    ChildResult r = cli({"--port", port, "identify"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(hasLine(r.out, "analog=3")) << r.out;
    EXPECT_TRUE(hasLine(r.out, "binary=9")) << r.out;
    EXPECT_TRUE(hasLine(r.out, "voltage=600")) << r.out;
    EXPECT_TRUE(hasLine(r.out, "current=5")) << r.out;
}

TEST_F(CliAgainstSim, FreshUnitIsReportedAsNeverProgrammed) {
    const std::string port = startSim();
    ChildResult r = cli({"--port", port, "read"});
    EXPECT_EQ(r.exitCode, 4) << r.out << r.err;
}

TEST_F(CliAgainstSim, WrongVariantIsRefused) {
    TempDir dir;
    const std::string cfg = dir.file("four.cfg");
    ASSERT_EQ(Projekt_speichern(record4A9D(), cfg, '.'), FileError::None);
    const std::string port = startSim({"--variant", "2A/5D", "--class", "600/5"});
    ChildResult r = cli({"--port", port, "program", cfg});
    EXPECT_EQ(r.exitCode, 3) << r.out << r.err;
}

TEST_F(CliAgainstSim, ProgrammedConfigurationReadsBackUnchanged) {
    TempDir dir;
    const std::string cfg = dir.file("four.cfg");
    const std::string back = dir.file("back.cfg");
    const std::string log = dir.file("frames.log");
    ASSERT_EQ(Projekt_speichern(record4A9D(), cfg, '.'), FileError::None);
    const std::string port =
        startSim({"--variant", "4A/9D", "--class", "600/5", "--log", log, "--wire-time"});

    ChildResult p = cli({"--port", port, "program", cfg});
    ASSERT_EQ(p.exitCode, 0) << p.out << p.err;
    EXPECT_TRUE(hasLine(p.out, "-0-t  OK")) << p.out;
    ChildResult r = cli({"--port", port, "read", "--output", back});
    ASSERT_EQ(r.exitCode, 0) << r.out << r.err;

    ChildResult a = cli({"show", cfg});
    ChildResult b = cli({"show", back});
    ASSERT_EQ(a.exitCode, 0) << a.err;
    ASSERT_EQ(b.exitCode, 0) << b.err;
    EXPECT_EQ(a.out, b.out);
    EXPECT_NE(a.out.find("TXR 3.0 4A/9D"), std::string::npos) << a.out;

    // The simulator's log holds every frame of both runs, one per line.
    sim_.stop();
    std::ifstream in(log);
    std::stringstream all;
    all << in.rdbuf();
    const std::string text = all.str();
    for (const char* frame : {" -0-*?", " -0-S ", " -0-M A4,", " -0-M B9,", " -0-M S,FF,E,U1,U31,F",
                              " -0-D1,:", " -0-D2,:", " -0-D3,:", " -0-D3\n"})
        EXPECT_NE(text.find(frame), std::string::npos) << frame;
}

TEST_F(CliAgainstSim, SimulatorRejectsBadOptionsAndCleansUpItsLink) {
    ChildResult bad = runChild({simProgram(), "--variant", "5A/5D"});
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_NE(bad.err.find("usage"), std::string::npos);
    EXPECT_EQ(runChild({simProgram(), "--class", "230/5"}).exitCode, 1);
    EXPECT_EQ(runChild({simProgram(), "--bogus"}).exitCode, 1);
    EXPECT_EQ(runChild({simProgram(), "--delay"}).exitCode, 1);

    TempDir dir;
    const std::string link = dir.file("ttyTXR");
    const std::string port = startSim({"--link", link});
    struct stat st {};
    ASSERT_EQ(lstat(link.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(fs::read_symlink(link).string(), port);
    ChildResult r = cli({"--port", link, "transact", "-t"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(sim_.stop(), 0);
    EXPECT_NE(lstat(link.c_str(), &st), 0);  // removed on exit
}

}  // namespace
}  // namespace kalvo::e2e
