// kalvo-cli --transcript against txr-sim: each job appends its time-stamped transcript; a file
// that cannot be opened stops the command before anything goes out on the line.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "support/child_process.h"

namespace kalvo::e2e {
namespace {

namespace fs = std::filesystem;

class TranscriptAgainstSim : public ::testing::Test {
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
    std::string file(const std::string& name) const { return (fs::path(dir) / name).string(); }
    // txr-sim logging the frames it receives; the pty path.
    std::string startSim(std::vector<std::string> options = {}) {
        options.insert(options.begin(), {sim, "--log", file("sim.log")});
        return server.start(options).value_or("");
    }
    test::ChildResult cli(std::vector<std::string> args) {
        args.insert(args.begin(), cliPath);
        return test::runChild(args, std::chrono::seconds(60));
    }
    // The lines of a file, without their time stamps, each checked to begin with one.
    std::vector<std::string> events(const std::string& path) {
        std::ifstream in(path);
        static const std::regex stamped(R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3}Z\t(.*))");
        std::vector<std::string> out;
        std::smatch m;
        for (std::string line; std::getline(in, line);) {
            EXPECT_TRUE(std::regex_match(line, m, stamped)) << line;
            out.push_back(m[1]);
        }
        return out;
    }

    const std::string sim = test::programPath("KALVO_TXR_SIM", KALVO_TXR_SIM_BUILT);
    const std::string cliPath = test::programPath("KALVO_CLI", KALVO_CLI_BUILT);
    std::string dir;
    test::BackgroundChild server;
};

TEST_F(TranscriptAgainstSim, EachJobIsAppendedAndAFileThatCannotBeOpenedSendsNothing) {
    const std::string port = startSim({"--garble"});
    ASSERT_FALSE(port.empty());
    const std::string t = file("t.txt");
    test::ChildResult r =
        cli({"--lang", "en", "--port", port, "--transcript", file("none/t.txt"), "transact", "-t"});
    EXPECT_EQ(r.exitCode, 5);
    EXPECT_NE(r.err.find("none/t.txt\" cannot be opened. Nothing was sent."), std::string::npos)
        << r.err;
    // A command that does not talk to the unit writes nothing.
    EXPECT_EQ(cli({"--transcript", t, "show", file("none.cfg")}).exitCode, 5);
    EXPECT_FALSE(fs::exists(t));
    EXPECT_EQ(fs::file_size(file("sim.log")), 0u);

    // The garbled echo fails the first job; the second goes to a unit that never answers.
    EXPECT_EQ(cli({"--port", port, "--transcript", t, "transact", "-t"}).exitCode, 2);
    server.stop();
    const std::string silent = startSim({"--silent"});
    EXPECT_EQ(cli({"--port", silent, "--transcript", t, "send", "-0-x"}).exitCode, 0);
    const std::vector<std::string> expected = {
        "start\tkalvo-cli --port " + port + " --transcript " + t + " transact -t",
        "log\t-0-t",
        "send\t-0-t<LF><CR>",
        "recv\t-0-T<CR>",
        "log\t-0-T  NICHT OK",
        "end\tlink failure",
        "start\tkalvo-cli --port " + silent + " --transcript " + t + " send -0-x",
        "log\t-0-x",
        "send\t-0-x<LF><CR>",
        "end\tok"};
    EXPECT_EQ(events(t), expected);
}

}  // namespace
}  // namespace kalvo::e2e
