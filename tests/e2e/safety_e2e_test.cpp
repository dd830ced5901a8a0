// kalvo-cli programming a bus of txr-sim units with backup and verify, through the real serial
// port adapter: an absent unit fails and the others are programmed, each backed up under its
// address. What the verify finds, and the refusals, are tested in virtual time (safety_test).
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "files/project_file.h"
#include "support/child_process.h"
#include "support/record_builder.h"

namespace kalvo::e2e {
namespace {

namespace fs = std::filesystem;

class SafetyAgainstSim : public ::testing::TestWithParam<bool> {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "kalvo-e2e-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir = pattern;
        test::useTestEnvironment(dir + "/config");
        project = dir + "/project.cfg";
        ASSERT_EQ(Projekt_speichern(test::RecordBuilder().flags({0, 33}), project, '.'),
                  FileError::None);
    }
    void TearDown() override {
        server.stop();
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
    test::ChildResult program(const std::vector<std::string>& simOptions,
                              std::vector<std::string> options) {
        std::vector<std::string> argv{test::programPath("KALVO_TXR_SIM", KALVO_TXR_SIM_BUILT)};
        argv.insert(argv.end(), simOptions.begin(), simOptions.end());
        const std::string port = server.start(test::onLine(argv, GetParam())).value_or("");
        EXPECT_FALSE(port.empty()) << "txr-sim printed no path";
        options.insert(options.begin(), {test::programPath("KALVO_CLI", KALVO_CLI_BUILT), "--lang",
                                         "en", "--port", port, "program"});
        options.push_back(project);
        return test::runChild(options, std::chrono::seconds(150));
    }

    std::string dir;
    std::string project;
    test::BackgroundChild server;
};

INSTANTIATE_TEST_SUITE_P(Lines, SafetyAgainstSim, ::testing::Bool(),
                         [](const auto& info) { return test::lineName(info.param); });

TEST_P(SafetyAgainstSim, ABusWithAnAbsentUnitIsProgrammedUnitByUnit) {
    const std::string backups = dir + "/backups";
    const test::ChildResult r =
        program({"--address", "1,3"}, {"--addresses", "1-3", "--backup", backups, "--verify"});
    EXPECT_EQ(r.exitCode, 2) << r.out << r.err;
    std::vector<std::string> lines;
    std::istringstream text(r.out);
    for (std::string l; std::getline(text, l);) lines.push_back(l);
    ASSERT_GE(lines.size(), 3u) << r.out;
    const std::vector<std::string> summary(lines.end() - 3, lines.end());
    EXPECT_EQ(summary[0].substr(0, 5), "1\tok\t") << summary[0];
    EXPECT_EQ(summary[1].substr(0, 9), "2\tfailed\t") << summary[1];
    EXPECT_EQ(summary[2].substr(0, 5), "3\tok\t") << summary[2];
    int files = 0;
    for (const auto& e : fs::directory_iterator(backups)) {
        const std::string name = e.path().filename().string();
        EXPECT_TRUE(name.find("_adr1_2A5D.cfg") != std::string::npos ||
                    name.find("_adr3_2A5D.cfg") != std::string::npos)
            << name;
        EXPECT_NE(r.out.find("Backup saved: " + e.path().string()), std::string::npos) << r.out;
        ++files;
    }
    EXPECT_EQ(files, 2);
}

}  // namespace
}  // namespace kalvo::e2e
