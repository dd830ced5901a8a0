// The CSV record of measured values: the rows and the file written through.
#include "measure/csv_log.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/scratch_dir.h"

namespace kalvo {
namespace {

using namespace std::chrono;

// 2024-05-02 09:41:07.250 UTC: 19845 days after 1970-01-01.
const WallTime kWhen =
    WallTime{} + days(19845) + hours(9) + minutes(41) + seconds(7) + milliseconds(250);

TEST(CsvLog, Rows) {
    EXPECT_EQ(isoTimestamp(kWhen), "2024-05-02T09:41:07.250Z");
    EXPECT_EQ(isoTimestamp(WallTime{} + days(11016) + milliseconds(5)), "2000-02-29T00:00:00.005Z");
    struct Case {
        int lineNumber;
        std::string shown;
        std::string row;  // after the time stamp and its comma
    };
    const std::vector<Case> cases = {
        {0, " 20     KV   U1 /U", "0,20,KV, 20     KV   U1 /U"},
        {3, "-.25    A    I1 /I", "3,-0.25,A,-.25    A    I1 /I"},
        {12, "  0.950      PF1", "12,0.95,,  0.950      PF1"},
        {-1, "  ---   V", ",,V,  ---   V"},  // no number, before a marker
        {4, "   18.2 \xC2\xB0    ph1", "4,18.2,\xC2\xB0,   18.2 \xC2\xB0    ph1"},
        {5, "  1,5   V \"x\"", "5,1,V,\"  1,5   V \"\"x\"\"\""},  // quoted by the rules
    };
    for (const Case& c : cases) {
        EXPECT_EQ(csvRow(kWhen, c.lineNumber, c.shown), "2024-05-02T09:41:07.250Z," + c.row);
    }
    // The display shows 0 where the device sent no number: no value is recorded.
    EXPECT_EQ(csvRow(kWhen, 7, " 0      V    U1 /U", false),
              "2024-05-02T09:41:07.250Z,7,,V, 0      V    U1 /U");
}

// The file carries the name the user typed, on every system.
TEST(CsvLog, EveryRowIsInTheFileAsSoonAsItIsWritten) {
    const test::ScratchDir scratch;
    const std::filesystem::path dir = scratch.path();
    const std::string path = scratch.file("Anlage Süd.csv");
    std::ofstream(pathFromUtf8(path), std::ios::binary) << "an older record\n";
    auto log = CsvLog::create(path);
    ASSERT_TRUE(log);
    auto contents = [&] {
        std::stringstream s;
        s << std::ifstream(pathFromUtf8(path), std::ios::binary).rdbuf();
        return s.str();
    };
    // Until the first row is there, the file the user had stays as it was.
    EXPECT_EQ(contents(), "an older record\n");
    ASSERT_TRUE(log->write(kWhen, 0, " 20     KV   U1 /U"));
    EXPECT_EQ(
        contents(),
        "time,line,value,unit,text\r\n2024-05-02T09:41:07.250Z,0,20,KV, 20     KV   U1 /U\r\n");
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        names.push_back(utf8FromPath(entry.path().filename()));
    EXPECT_EQ(names, std::vector<std::string>{"Anlage Süd.csv"});

    EXPECT_FALSE(CsvLog::create((dir / "no-such-folder" / "x.csv").string()));
    std::filesystem::remove(dir / "new.csv");
    EXPECT_TRUE(CsvLog::create((dir / "new.csv").string()));
    EXPECT_FALSE(std::filesystem::exists(dir / "new.csv"));  // no empty file either
}

}  // namespace
}  // namespace kalvo
