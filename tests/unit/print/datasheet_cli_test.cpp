// `kalvo-cli datasheet` as scripts see it: exit codes, messages, the language of the names, and
// that a failed PDF is reported, with a PDF output that lays the sheet out on a recording canvas.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "files/project_file.h"
#include "recording_canvas.h"
#include "shell/cli.h"
#include "support/fakes.h"
#include "support/scratch_dir.h"

namespace kalvo {
namespace {

class FakePdf final : public PdfOutput {
  public:
    PdfResult write(const std::string& path, const std::function<void(Canvas&)>& layout) override {
        paths.push_back(path);
        canvas.placed.clear();
        layout(canvas);
        return result;
    }
    std::vector<std::string> paths;
    test::RecordingCanvas canvas;
    PdfResult result;
};

class DatasheetCli : public ::testing::Test {
  protected:
    void SetUp() override {
        project = scratch.file("anlage.cfg");
        Record r = newProject(2, 5, 600, 5);
        r.Grundwerte[Basic::ConnectionType] = ThreeWireBalanced;
        ASSERT_EQ(Projekt_speichern(r, project, ','), FileError::None);
        pdf.canvas.pictures["/opt/kalvo/s3g.sb"] = {6000, 4200};
    }

    int run(std::vector<std::string> args) {
        out.str({});
        err.str({});
        CliEnvironment env;
        env.clock = &clock;
        env.decimal = ',';
        env.out = &out;
        env.err = &err;
        env.pdf = &pdf;
        env.programFolder = "/opt/kalvo";
        return runCli(args, env);
    }
    bool printed(const std::string& text) const {
        const auto t = pdf.canvas.texts();
        return std::find(t.begin(), t.end(), text) != t.end();
    }

    test::FakeClock clock;
    FakePdf pdf;
    test::ScratchDir scratch;
    std::string project;
    std::ostringstream out, err;
};

TEST_F(DatasheetCli, WritesTheSheetInTheChosenLanguage) {
    EXPECT_EQ(run({"datasheet", project, "--pdf", "/tmp/out.pdf"}), kExitOk);
    EXPECT_EQ(pdf.paths, std::vector<std::string>{"/tmp/out.pdf"});
    EXPECT_TRUE(printed("Dreileiter gleicher Belastung"));
    EXPECT_EQ(pdf.canvas.placed.back(), test::picture(1000, 6710, "/opt/kalvo/s3g.sb"));
    EXPECT_EQ(out.str() + err.str(), "");
    // --lang after the command word, or before it as for every command.
    EXPECT_EQ(run({"datasheet", "--lang", "en", project, "--pdf", "/tmp/out.pdf"}), kExitOk);
    EXPECT_TRUE(printed("Three wire balanced"));
    EXPECT_EQ(run({"--lang", "en", "datasheet", "--pdf", "/tmp/out.pdf", project}), kExitOk);
    EXPECT_TRUE(printed("Three wire balanced"));
}

TEST_F(DatasheetCli, AMissingPictureIsSaidButTheSheetIsWritten) {
    pdf.canvas.pictures.clear();
    EXPECT_EQ(run({"datasheet", project, "--pdf", "/tmp/out.pdf"}), kExitOk);
    EXPECT_TRUE(printed("Anschlussbelegung:"));
    EXPECT_NE(err.str().find("/opt/kalvo/s3g.sb"), std::string::npos);
}

TEST_F(DatasheetCli, FailuresExitWithFiveAndSayWhy) {
    const std::string missing = scratch.file("nichts.cfg");
    EXPECT_EQ(run({"datasheet", missing, "--pdf", "/tmp/out.pdf"}), kExitBadInput);
    EXPECT_NE(err.str().find("\"" + missing + "\" konnte nicht geöffnet werden"), std::string::npos)
        << err.str();
    EXPECT_TRUE(pdf.paths.empty());

    pdf.result = {PdfResult::Error::CannotWrite, "Permission denied"};
    EXPECT_EQ(run({"datasheet", project, "--pdf", "/root/x.pdf"}), kExitBadInput);
    EXPECT_EQ(err.str(),
              "Dateifehler: Die Datei \"/root/x.pdf\" konnte nicht geschrieben werden. "
              "(Permission denied)\n");
}

TEST_F(DatasheetCli, TheProjectFileItselfIsNeverTheOutput) {
    // The same file under other names: a hard link, a path through a linked folder.
    namespace fs = std::filesystem;
    fs::create_hard_link(project, scratch.file("hart.cfg"));
    std::vector<std::string> outputs = {project, scratch.file("hart.cfg")};
    std::error_code noLink;  // on Windows only an administrator may link a folder
    fs::create_directory_symlink(scratch.path(), scratch.file("ordner"), noLink);
    if (!noLink) outputs.push_back(scratch.file("ordner") + "/anlage.cfg");
    for (const std::string& output : outputs) {
        EXPECT_EQ(run({"datasheet", project, "--pdf", output}), kExitBadInput) << output;
        EXPECT_EQ(err.str(), "Dateifehler: Die Datei \"" + output +
                                 "\" ist die Projektdatei, aus der das Datenblatt entsteht: sie "
                                 "wird nicht überschrieben.\n");
    }
    EXPECT_TRUE(pdf.paths.empty());
    // Another file of the same name elsewhere is no project file.
    EXPECT_EQ(run({"datasheet", project, "--pdf", "anlage.cfg"}), kExitOk);
}

}  // namespace
}  // namespace kalvo
