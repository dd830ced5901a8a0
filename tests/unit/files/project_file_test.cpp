#include "files/project_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/posix_only.h"
#include "support/record_builder.h"
#include "support/scratch_dir.h"

namespace kalvo {
namespace {

namespace fs = std::filesystem;

// A 1A/1D record for 600 V / 1.2 A with a few cells the dialog would have stored as numbers.
Record oneByOne() {
    return test::RecordBuilder(1, 1, 600, 1.2)
        .basic(Basic::NominalFrequency, 16.666)
        .analog(0, Analog::RangeEnd, 600 / kSqrt3)
        .flags({0, 1, 2});
}

// The text of oneByOne() saved on a German system, counted by hand: 232 characters.
const std::string kOneByOneText =
    "C:\\Projekte\\\xDC"
    "bung.cfg\r\n"
    "\r\n[Typ]\r\n1\r\n1\r\n600\r\n1,2\r\n"
    "\r\n[P]\r\n0\r\n16,666\r\n300\r\n0\r\n0\r\n1,2\r\n0\r\n0\r\n"
    "\r\n[A0]\r\n0\r\n0\r\nV\r\n0\r\n150\r\n346,410161513775\r\n0\r\n-20\r\n0\r\n20\r\n-"
    "24\r\n24\r\n0\r\n"
    "\r\n[B0]\r\n0\r\n0\r\n0\r\nV\r\n300\r\n0\r\n"
    "\r\n[DIG]\r\n1110000000000000000000000000000000000";

std::string header(std::size_t characters) {
    return std::string("\x08\x00", 2) + static_cast<char>(characters & 0xFF) +
           static_cast<char>(characters >> 8);
}

// A record someone has been working on, to see that failed loads leave it alone.
Record workedOn() {
    Record r = oneByOne();
    r.Anzahl_Analog = 3;
    r.Grundwerte[Basic::ConnectionType] = 2;
    return r;
}

TEST(ProjectFileWrite, ExactBytesSeparatorsPathLineEndsAndOverlongText) {
    const Encoded e = encodeProject(oneByOne(), "C:\\Projekte\\Übung.cfg", ',');
    ASSERT_EQ(e.error, FileError::None);
    EXPECT_EQ(e.bytes, header(232) + kOneByOneText);

    const std::string point = encodeProject(oneByOne(), "a.cfg", '.').bytes;
    EXPECT_NE(point.find("\r\n1.2\r\n\r\n[P]\r\n0\r\n16.666\r\n"), std::string::npos);
    // A line end in the path would shift every line after it.
    EXPECT_EQ(encodeProject(oneByOne(), "a\nb\r.cfg", '.').bytes.substr(4, 10), "a?b?.cfg\r\n");
    // A path of 300 characters instead of 21: the count's high byte is 1.
    EXPECT_EQ(encodeProject(oneByOne(), std::string(300, 'x'), ',').bytes.substr(0, 4),
              header(511));
    EXPECT_EQ(encodeProject(oneByOne(), std::string(65535, 'x'), ',').error, FileError::TooLong);
}

TEST(ProjectFileRead, RestoresEveryCellAsTextAndTheVariantAsNumbers) {
    const Decoded d = decodeProject(header(232) + kOneByOneText, workedOn());
    ASSERT_EQ(d.error, FileError::None) << d.detail.english;
    const Record& r = d.record;
    EXPECT_TRUE(r.Anzahl_Analog == 1 && r.Anzahl_Binaer == 1 && r.Max_Spannung == 600);
    EXPECT_EQ(r.Max_Strom, 1.2);  // "1,2" is not cut to 1
    EXPECT_EQ(r.Grundwerte[Basic::NominalFrequency], Cell("16,666"));
    EXPECT_EQ(r.Analogwerte[0][Analog::OutputStart], Cell("-20"));
    EXPECT_EQ(r.Binaerwerte[0][Binary::Limit], Cell("300"));
    EXPECT_EQ(r.Schnittstellenwerte[2], Cell("1"));
    EXPECT_EQ(r.Analogwerte[2][Analog::OutputStart], Cell(-20));  // beyond the counts: defaults
}

TEST(ProjectFileRead, HeaderBytesThatLookLikeLineEndsOrKeys) {
    const std::string afterPath = kOneByOneText.substr(21);
    // 0x0A0D: both count bytes are line ends. 0x5B0D: CR, then '[' before a path beginning
    // with T must not start a "[Typ]".
    for (const auto& [count, start] : {std::pair{0x0A0Du, "C:\\"}, std::pair{0x5B0Du, "Typ"}}) {
        const std::string text = start + std::string(count - afterPath.size() - 3, 'p') + afterPath;
        const Decoded d = decodeProject(header(text.size()) + text, startRecord());
        ASSERT_EQ(d.error, FileError::None) << d.detail.english;
        EXPECT_EQ(d.record.Grundwerte[Basic::NominalFrequency], Cell("16,666")) << count;
        EXPECT_EQ(d.record.Max_Strom, 1.2) << count;
    }
}

TEST(ProjectFileRead, MissingPartsKeepDefaults) {
    // No [DIG] section, a [P] section cut short by the end of the file, LF-only line ends.
    const std::string text = "x\n\n[Typ]\n2\n5\n100\n1\n\n[P]\n3\n60";
    const Decoded d = decodeProject(header(text.size()) + text, workedOn());
    ASSERT_EQ(d.error, FileError::None) << d.detail.english;
    for (const auto& s : d.record.Schnittstellenwerte) EXPECT_EQ(s, Cell(0));
    EXPECT_EQ(d.record.Grundwerte[Basic::NominalFrequency], Cell("60"));
    EXPECT_EQ(d.record.Grundwerte[Basic::NominalVoltage], Cell(300.0));  // not the last line read
    EXPECT_EQ(d.record.Max_Spannung, 100);

    // A short [DIG] line gives empty texts for the missing characters.
    const std::string dig = "x\r\n[Typ]\r\n1\r\n1\r\n600\r\n5\r\n[DIG]\r\n10\xB0";
    const Decoded e = decodeProject(header(dig.size()) + dig, startRecord());
    ASSERT_EQ(e.error, FileError::None) << e.detail.english;
    EXPECT_EQ(e.record.Schnittstellenwerte[2], Cell("°"));
    EXPECT_EQ(e.record.Schnittstellenwerte[3], Cell(""));
}

TEST(ProjectFileRead, RowIndexIsTheDigitsAfterTheLetter) {
    std::string text =
        "x\r\n[Typ]\r\n4\r\n13\r\n600\r\n5\r\n[B10]\r\n2\r\n1\r\n0\r\nA\r\n4,5\r\n1\r\n"
        "[A7]\r\n";
    for (int i = 0; i < 13; ++i) text += "9\r\n";
    text += "[A]\r\n";
    for (int i = 0; i < 13; ++i) text += "8\r\n";
    text += "[P]\r\n3";
    const Decoded d = decodeProject(header(text.size()) + text, startRecord());
    ASSERT_EQ(d.error, FileError::None) << d.detail.english;
    EXPECT_EQ(d.record.Binaerwerte[10][Binary::Limit], Cell("4,5"));
    EXPECT_EQ(d.record.Binaerwerte[1][Binary::Mode], Cell("0"));              // untouched default
    for (const auto& row : d.record.Analogwerte) EXPECT_EQ(row[0], Cell(0));  // [A7], [A] skipped
    EXPECT_EQ(d.record.Grundwerte[Basic::ConnectionType], Cell("3"));
}

TEST(ProjectFileRead, MalformedFilesApplyNothing) {
    const Record base = workedOn();
    const std::string cases[] = {
        header(5) + "hello",
        "\x89PNG\r\n\x1a\n",
        header(20) + "x\r\n[Typ]\r\n7\r\n1\r\n600\r\n5",    // no TXR 3.0 has 7 analog outputs
        header(20) + "x\r\n[Typ]\r\n1\r\n1,5\r\n600\r\n5",  // nor 1.5 binary outputs
        header(20) + "x\r\n[Typ]\r\n1\r\n1\r\n600\r\n0",    // nor current class 0
    };
    for (const std::string& bytes : cases) {
        const Decoded d = decodeProject(bytes, base);
        EXPECT_EQ(d.error, FileError::Malformed) << bytes;
        EXPECT_FALSE(d.detail.empty()) << bytes;
        EXPECT_EQ(d.record, base) << bytes;
    }
    // Without [Typ] the caller's variant must be a known one.
    EXPECT_EQ(decodeProject(header(8) + "x\r\n[P]\r\n1", startRecord()).error,
              FileError::Malformed);
    // A [Typ] cut short keeps the rest of the caller's variant, so the result is valid.
    const Decoded cut = decodeProject(header(20) + "x\r\n[Typ]\r\n2", base);
    EXPECT_EQ(cut.error, FileError::None);
    EXPECT_EQ(cut.record.Anzahl_Analog, 2);
    EXPECT_EQ(cut.record.Max_Strom, 1.2);
}

class ProjectFileDisk : public testing::Test {
  protected:
    void TearDown() override { fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add); }
    static std::string read(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    // Every entry of the folder, whatever it is.
    std::vector<std::string> entries() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir)) {
            names.push_back(utf8FromPath(entry.path().filename()));
        }
        std::sort(names.begin(), names.end());
        return names;
    }
    // The first line of a saved file: the path it was saved under.
    static std::string pathLineOf(const fs::path& file) {
        const std::string bytes = read(file);
        return bytes.substr(4, bytes.find("\r\n") - 4);
    }
    test::ScratchDir scratch;
    const fs::path dir = scratch.path();
};

// A name as the user typed it is the file's name on disk, on every system.
TEST_F(ProjectFileDisk, RoundTripInBothSeparators) {
    const std::string path = scratch.file("Anlage Süd.cfg");
    for (const char decimal : {',', '.'}) {
        ASSERT_EQ(Projekt_speichern(oneByOne(), path, decimal), FileError::None);
        const Decoded d = Projekt_laden(path, startRecord());
        ASSERT_EQ(d.error, FileError::None) << d.detail.english;
        EXPECT_EQ(d.record.Grundwerte[Basic::NominalFrequency].toNumber(), 16.666) << decimal;
        EXPECT_EQ(entries(), std::vector<std::string>{"Anlage Süd.cfg"});  // and no temporary
    }
    EXPECT_EQ(Projekt_laden((dir / "missing.cfg").string(), workedOn()).error,
              FileError::CannotOpen);
    EXPECT_EQ(Projekt_laden(dir.string(), workedOn()).record, workedOn());
}

TEST_F(ProjectFileDisk, FailedSaveLeavesTheOldFileWhole) {
    const fs::path target = dir / "old.cfg";
    ASSERT_EQ(Projekt_speichern(oneByOne(), target.string(), ','), FileError::None);
    const std::string before = read(target);

    Record tooLong = oneByOne();
    tooLong.Grundwerte[Basic::ConnectionType] = std::string(66000, 'y');
    EXPECT_EQ(Projekt_speichern(tooLong, target.string(), ','), FileError::TooLong);
    EXPECT_EQ(read(target), before);
    fs::create_directory(dir / "sub.cfg");  // the rename fails
    EXPECT_EQ(Projekt_speichern(oneByOne(), (dir / "sub.cfg").string(), ','),
              FileError::CannotWrite);
    EXPECT_EQ(read(target), before);
    EXPECT_EQ(entries(), (std::vector<std::string>{"old.cfg", "sub.cfg"}));
}

// A write that fails half-way (a full disk; here a file size limit) leaves the old file as it
// was and no temporary file behind.
TEST_F(ProjectFileDisk, WriteFailingHalfWayLeavesTheOldFileWhole) {
    const fs::path target = dir / "old.cfg";
    ASSERT_EQ(Projekt_speichern(oneByOne(), target.string(), ','), FileError::None);
    const std::string before = read(target);
    FileError error = FileError::None;
    {
        const test::FileSizeLimit limit(64);
        if (limit.unavailable != nullptr) GTEST_SKIP() << limit.unavailable;
        error = Projekt_speichern(workedOn(), target.string(), ',');
    }
    EXPECT_EQ(error, FileError::CannotWrite);
    EXPECT_EQ(read(target), before);
    EXPECT_EQ(entries(), std::vector<std::string>{"old.cfg"});
}

// The first line names the file as it was saved: its full path, whatever the caller passed.
TEST_F(ProjectFileDisk, ThePathLineIsTheFullPathOfTheFile) {
    const fs::path before = fs::current_path();
    fs::create_directory(dir / "sub");
    fs::current_path(dir);
    const fs::path here = fs::current_path();  // the folder as the system names it
    const struct {
        std::string given;
        fs::path file;
    } cases[] = {
        {"./sub/../dot.cfg", here / "dot.cfg"},
        {(here / "abs.cfg").string(), here / "abs.cfg"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Projekt_speichern(oneByOne(), c.given, ','), FileError::None) << c.given;
        EXPECT_EQ(pathLineOf(c.file), c.file.string()) << c.given;
    }
    fs::current_path(before);
}

// A project file is at most 65539 bytes; anything beyond 1 MiB is not read at all.
TEST_F(ProjectFileDisk, FilesAboveOneMebibyteAreNotRead) {
    // A valid project padded with ignored lines after its last section.
    std::string text = kOneByOneText + "\r\n";
    const std::size_t limit = 1u << 20;
    text += std::string(limit - 4 - text.size(), 'x');
    const std::string bytes = header(232) + text;
    ASSERT_EQ(bytes.size(), limit);

    const fs::path file = dir / "big.cfg";
    std::ofstream(file, std::ios::binary) << bytes;
    EXPECT_EQ(Projekt_laden(file.string(), workedOn()).error, FileError::None);

    std::ofstream(file, std::ios::binary | std::ios::app) << 'x';
    ASSERT_EQ(fs::file_size(file), limit + 1);
    const Decoded over = Projekt_laden(file.string(), workedOn());
    EXPECT_TRUE(over.error == FileError::Malformed && over.record == workedOn());
}

}  // namespace
}  // namespace kalvo
