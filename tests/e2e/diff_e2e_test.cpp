// kalvo-cli diff against txr-sim: the unit's stored copy against a file, two files, and each
// exit code once (link, never programmed, bad file).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/record.h"
#include "files/project_file.h"
#include "support/child_process.h"
#include "support/scratch_dir.h"

namespace kalvo::e2e {
namespace {

class DiffAgainstSim : public ::testing::TestWithParam<bool> {};
INSTANTIATE_TEST_SUITE_P(Lines, DiffAgainstSim, ::testing::Bool(),
                         [](const auto& info) { return test::lineName(info.param); });

TEST_P(DiffAgainstSim, UnitAgainstFileAndFileAgainstFile) {
    const test::ScratchDir dir;
    test::useTestEnvironment(dir.file("config"));
    const std::string cli = test::programPath("KALVO_CLI", KALVO_CLI_BUILT);
    const std::string sim = test::programPath("KALVO_TXR_SIM", KALVO_TXR_SIM_BUILT);
    const auto run = [&](std::vector<std::string> args) {
        args.insert(args.begin(), cli);
        return test::runChild(args, std::chrono::seconds(90));
    };
    test::BackgroundChild server;
    const std::string port = server.start(test::onLine({sim}, GetParam())).value_or("");  // 2A/5D

    const std::string same = dir.file("same.cfg");
    const std::string other = dir.file("other.cfg");
    ASSERT_EQ(run({"--port", port, "read", "--output", same}).exitCode, 0);
    Decoded changed = Projekt_laden(same, startRecord());
    changed.record.Anzahl_Binaer = 4;
    changed.record.Analogwerte[1][Analog::RangeEnd] = "140.0";  // the demo's P: 150 W
    ASSERT_EQ(Projekt_speichern(changed.record, other, '.'), FileError::None);
    const std::string lines =
        "Grundeinstellungen\tBinärausgänge\t4\t5\n"
        "Analogausgang 2\tMeßbereich bis\t140 W\t150 W\n"
        "Binärausgang 5\tAusgang\t\tkein Signal\n";

    const struct {
        std::vector<std::string> args;
        int exitCode;
        std::string out;
    } cases[] = {
        {{"--port", port, "diff", same}, 0, ""},
        {{"--port", port, "diff", "--lang", "de", other}, 6, lines},
        {{"diff", "--lang", "de", other, same}, 6, lines},
        {{"--port", port, "diff", dir.file("none.cfg")}, 5, ""},
        {{"--port", dir.file("no-port"), "diff", same}, 2, ""},
    };
    for (const auto& c : cases) {
        const test::ChildResult r = run(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.args.back() << r.err;
        EXPECT_EQ(r.out, c.out);
    }

    server.stop();
    const std::string fresh = server.start(test::onLine({sim, "--fresh"}, GetParam())).value_or("");
    EXPECT_EQ(run({"--port", fresh, "diff", same}).exitCode, 4);
}

}  // namespace
}  // namespace kalvo::e2e
