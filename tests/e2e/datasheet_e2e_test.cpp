// `kalvo-cli datasheet` as a script runs it: the built program writes a real PDF (left in
// datasheet/ in the build's e2e folder to be looked at), whose text poppler's pdftotext reads
// back in reading order.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "config/record.h"
#include "files/project_file.h"
#include "support/child_process.h"
#include "support/record_builder.h"
#include "support/scratch_dir.h"

namespace kalvo::e2e {
namespace {

namespace fs = std::filesystem;
using test::ChildResult;
using test::runChild;

// A program on the PATH, or "".
std::string onPath(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::istringstream dirs(path ? path : "");
    for (std::string dir; std::getline(dirs, dir, ':');) {
        const fs::path p = fs::path(dir) / name;
        if (!dir.empty() && access(p.c_str(), X_OK) == 0) return p.string();
    }
    return "";
}

// The lines of a text with every run of blanks made one blank, empty lines (and with
// `comments` lines starting with '#') dropped.
std::vector<std::string> lines(const std::string& text, bool comments = false) {
    std::vector<std::string> out;
    std::istringstream s(std::regex_replace(text, std::regex("[ \t\f]+"), " "));
    for (std::string l; std::getline(s, l);) {
        if (!l.empty() && l.front() == ' ') l.erase(0, 1);
        if (!l.empty() && l.back() == ' ') l.pop_back();
        if (!l.empty() && !(comments && l.front() == '#')) out.push_back(l);
    }
    return out;
}

std::string readFile(const fs::path& path) {
    return (std::stringstream() << std::ifstream(path).rdbuf()).str();
}

class DatasheetPdf : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(pdftotext.empty()) << "pdftotext is missing: run tools/setup.sh";
        test::useTestEnvironment((dir / "config").string());
        fs::create_directories(outDir);
    }

    // A 2A/5D project for a 600 V / 5 A unit with transformers, a kV and an MW range, and
    // binary outputs in all three modes. Saved with a comma, as on a German system.
    std::string project2A5D() {
        const Record r =
            test::RecordBuilder(2, 5, 600, 5)
                .connection(ThreeWireUnbalanced)
                .basic(Basic::NominalFrequency, 60)
                .vt(20, 0.1)
                .ct(100, 5)
                .analog(0, Analog::RangeUnit, "kV", Analog::KneeInput, 10000, Analog::RangeEnd,
                        20000, Analog::OutputStart, 4, Analog::KneeOutput, 12, Analog::LimitMin,
                        3.8, Analog::LimitMax, 20.5)
                .analog(1, Analog::Quantity, ActivePower, Analog::RangeUnit, "MW",
                        Analog::RangeStart, -1.5e6, Analog::KneeInput, 0, Analog::RangeEnd, 1.5e6,
                        Analog::OutputUnit, 1, Analog::OutputStart, 0, Analog::KneeOutput, 5,
                        Analog::OutputEnd, 10, Analog::LimitMin, 0, Analog::LimitMax, 10.5)
                .binary(1, Binary::Mode, ModeOnWhileOk)
                .binary(2, Binary::Mode, ModeLimit, Binary::Quantity, Current, Binary::Place, 2,
                        Binary::Unit, "A", Binary::Limit, 80, Binary::Direction, 1)
                .binary(3, Binary::Mode, ModeLimit, Binary::Quantity, Frequency, Binary::Unit, "Hz",
                        Binary::Limit, 61.5);
        const std::string path = (dir / "anlage.cfg").string();
        EXPECT_EQ(Projekt_speichern(r, path, ','), FileError::None);
        return path;
    }

    ChildResult run(std::vector<std::string> args) {
        args.insert(args.begin(), cli);
        return runChild(args, std::chrono::seconds(60));
    }

    const std::string cli = test::programPath("KALVO_CLI", KALVO_CLI_BUILT);
    const std::string pdftotext = onPath("pdftotext");
    test::ScratchDir scratch;
    const fs::path dir = scratch.path();
    const fs::path outDir = KALVO_E2E_OUT;
};

TEST_F(DatasheetPdf, TwoAnalogFiveBinaryProjectReadsBackInOrder) {
    const fs::path pdf = outDir / "datasheet_2a5d.pdf";
    fs::remove(pdf);
    const ChildResult r = run({"datasheet", project2A5D(), "--pdf", pdf.string()});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err.find("Anschlussbild"), std::string::npos) << r.err;  // the picture is there

    const std::vector<std::string> got =
        lines(runChild({pdftotext, "-layout", pdf.string(), "-"}).out);
    ASSERT_FALSE(got.empty());
    EXPECT_EQ(got.front().rfind("Daten Multimeßumformer ", 0), 0u) << got.front();
    const std::vector<std::string> rest(got.begin() + 1, got.end());
    EXPECT_EQ(rest, lines(readFile(KALVO_E2E_DATA "/datasheet_2a5d.txt"), true));

    // One A4 page with the wiring picture on it.
    const ChildResult images = runChild({onPath("pdfimages"), "-list", pdf.string()});
    const std::vector<std::string> imageLines = lines(images.out);
    ASSERT_EQ(imageLines.size(), 3u) << images.out;  // two heading lines, one image
    // At its own size (400 x 280 pixels at 96 dpi), kept lossless: JPEG would blur the lines.
    EXPECT_EQ(imageLines[2].rfind("1 0 image 400 280 rgb 3 8 image no ", 0), 0u) << images.out;
    EXPECT_NE(imageLines[2].find(" 96 96 "), std::string::npos) << images.out;
    const ChildResult info = runChild({onPath("pdfinfo"), pdf.string()});
    const std::vector<std::string> infoLines = lines(info.out);
    EXPECT_NE(std::find(infoLines.begin(), infoLines.end(), "Pages: 1"), infoLines.end())
        << info.out;
    EXPECT_NE(info.out.find("(A4)"), std::string::npos) << info.out;
}

// What only the real writer can get wrong: a PDF in a missing folder leaves nothing
// behind, and with no font at all Qt would write a PDF without text; the program refuses it.
TEST_F(DatasheetPdf, FailuresExitWithFiveAndLeaveNoFile) {
    const std::string project = project2A5D();
    const fs::path pdf = dir / "sheet.pdf";
    ChildResult r = run({"datasheet", project, "--pdf", (dir / "missing" / "x.pdf").string()});
    EXPECT_EQ(r.exitCode, 5);
    EXPECT_NE(r.err.find("konnte nicht geschrieben werden. ("), std::string::npos) << r.err;

    const fs::path fonts = dir / "no-fonts.conf";
    std::ofstream(fonts) << "<?xml version=\"1.0\"?><fontconfig><dir>"
                         << (dir / "no-fonts").string() << "</dir><cachedir>"
                         << (dir / "fc-cache").string() << "</cachedir></fontconfig>\n";
    r = runChild({onPath("env"), "FONTCONFIG_FILE=" + fonts.string(), cli, "--lang", "en",
                  "datasheet", project, "--pdf", pdf.string()});
    EXPECT_EQ(r.exitCode, 5);
    EXPECT_NE(r.err.find("No font found for the data sheet"), std::string::npos) << r.err;
    EXPECT_FALSE(fs::exists(pdf));
    EXPECT_FALSE(fs::exists(dir / "missing"));
}

}  // namespace
}  // namespace kalvo::e2e
