// kalvo-cli --transcript against txr-sim: each job appends its time-stamped transcript; a file
// that cannot be opened stops the command before anything goes out on the line.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "support/child_process.h"
#include "support/scratch_dir.h"

namespace kalvo::e2e {
namespace {

struct Programs {
    const std::string sim = test::programPath("KALVO_TXR_SIM", KALVO_TXR_SIM_BUILT);
    const std::string cli = test::programPath("KALVO_CLI", KALVO_CLI_BUILT);
    int run(std::vector<std::string> args) const {
        args.insert(args.begin(), cli);
        return test::runChild(args).exitCode;
    }
};

// The lines of a transcript without their time stamps, each checked to have one.
std::vector<std::string> events(const std::string& path) {
    static const std::regex stamped(R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3}Z\t(.*))");
    std::ifstream in(path);
    std::vector<std::string> out;
    std::smatch m;
    for (std::string line; std::getline(in, line); out.push_back(m[1]))
        EXPECT_TRUE(std::regex_match(line, m, stamped)) << line;
    return out;
}

class TranscriptAgainstSim : public ::testing::TestWithParam<bool> {};
INSTANTIATE_TEST_SUITE_P(Lines, TranscriptAgainstSim, ::testing::Bool(),
                         [](const auto& info) { return test::lineName(info.param); });

TEST_P(TranscriptAgainstSim, EachJobIsAppendedAndAFileThatCannotBeOpenedSendsNothing) {
    const Programs p;
    test::ScratchDir dir;
    test::useTestEnvironment(dir.file("config"));
    const std::string t = dir.file("t.txt");
    const std::string simLog = dir.file("sim.log");
    test::BackgroundChild server;
    const std::string port =
        server.start(test::onLine({p.sim, "--log", simLog, "--garble"}, GetParam())).value_or("");
    ASSERT_FALSE(port.empty());
    const test::ChildResult r =
        test::runChild({p.cli, "--lang", "en", "--port", port, "--transcript", dir.file("none/t"),
                        "transact", "-t"});
    EXPECT_EQ(r.exitCode, 5);
    EXPECT_NE(r.err.find("none/t\" cannot be opened. Nothing was sent."), std::string::npos)
        << r.err;
    // A command that does not talk to the unit writes nothing.
    EXPECT_EQ(p.run({"--transcript", t, "show", dir.file("none.cfg")}), 5);
    EXPECT_FALSE(std::filesystem::exists(t));
    EXPECT_EQ(std::filesystem::file_size(simLog), 0u);

    // The garbled echo fails the first job; the second goes to a unit that never answers.
    EXPECT_EQ(p.run({"--port", port, "--transcript", t, "transact", "-t"}), 2);
    server.stop();
    const std::string silent =
        server.start(test::onLine({p.sim, "--silent"}, GetParam())).value_or("");
    EXPECT_EQ(p.run({"--port", silent, "--transcript", t, "send", "-0-x"}), 0);
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
