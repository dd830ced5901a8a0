// Reading the device copy back: the field scan of the three data replies, the erased-area
// mark, and the read-back sequence against a scripted transducer.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "device/programming.h"
#include "device/readback.h"
#include "device_test_support.h"

namespace kalvo::test {
namespace {

using Frames = std::vector<std::string>;

const std::string kD1 = "-0-D1,:0:50:230:0:0:5:0:0:4:1:1000000000000000000000000000000000000";
// Four analog outputs of 13 fields; the last field ends the reply.
const std::string kD2 =
    "-0-D2,:0:0:V:0:150:300:0:-20:0:20:-24:24:0"
    ":1:0:A:0:2,5:5:0:4:12:20:0:24:1"
    ":0:1:kV:0:10000:20000:1:0:5:10:0:10:0"
    ":5:0:PF:0,5:0:0,5:0:4:12:20:0:24:9";
const std::string kD3 = "-0-D3,:2:0:0:V:230:0";

Record before() {
    Record r = threeWire();
    r.Analogwerte[4][0] = Cell(7);
    r.Binaerwerte[1][4] = Cell(123);
    return r;
}

// ---- the field scan ---------------------------------------------------------------------------

TEST(ParseDataReplies, FillsTheRecordWithTheTextsFound) {
    const ReadBackResult r = parseDataReplies(before(), kD1, kD2, kD3);
    ASSERT_EQ(r.outcome, Outcome::Ok) << r.reason;
    const Record& rec = r.record;

    const std::array<Cell, 8> g = {Cell("0"), Cell("50"), Cell("230"), Cell("0"),
                                   Cell("0"), Cell("5"),  Cell("0"),   Cell("0")};
    EXPECT_EQ(rec.Grundwerte, g);
    EXPECT_EQ(rec.Anzahl_Analog, 4);
    EXPECT_EQ(rec.Anzahl_Binaer, 1);
    EXPECT_EQ(rec.Schnittstellenwerte[0], Cell(1));
    for (int i = 1; i < kInterfaceCells; ++i) EXPECT_EQ(rec.Schnittstellenwerte[i], Cell(0)) << i;

    EXPECT_EQ(rec.Analogwerte[0][2], Cell("V"));
    EXPECT_EQ(rec.Analogwerte[1][4], Cell("2,5"));
    EXPECT_DOUBLE_EQ(rec.Analogwerte[1][4].toNumber(), 2.5);
    EXPECT_EQ(rec.Analogwerte[2][2], Cell("kV"));
    EXPECT_EQ(rec.Analogwerte[2][5], Cell("20000"));
    EXPECT_EQ(rec.Analogwerte[3][3], Cell("0,5"));
    EXPECT_EQ(rec.Analogwerte[3][12], Cell("9"));  // closed by the end of the reply

    const std::array<Cell, 6> b = {Cell("2"), Cell("0"),   Cell("0"),
                                   Cell("V"), Cell("230"), Cell("0")};
    EXPECT_EQ(rec.Binaerwerte[0], b);

    // Rows beyond the counts and the hardware classes stay as they were.
    EXPECT_EQ(rec.Analogwerte[4][0], Cell(7));
    EXPECT_EQ(rec.Binaerwerte[1][4], Cell(123));
    EXPECT_EQ(rec.Max_Spannung, before().Max_Spannung);
    EXPECT_EQ(rec.Max_Strom, before().Max_Strom);
}

TEST(ParseDataReplies, InterfaceDigitsCountByCharacter) {
    // A missing or non-digit character counts 0; a two-byte character is one position.
    const std::string d1 =
        "-0-D1,:0:50:230:0:0:5:0:0:1:1:1\xC3\xBF"
        "1x1";
    const std::string d2 = "-0-D2,:0:0:V:0:150:300:0:-20:0:20:-24:24:0";
    const ReadBackResult r = parseDataReplies(before(), d1, d2, kD3);
    ASSERT_EQ(r.outcome, Outcome::Ok) << r.reason;
    const auto& s = r.record.Schnittstellenwerte;
    EXPECT_EQ(s[0], Cell(1));
    EXPECT_EQ(s[1], Cell(0));
    EXPECT_EQ(s[2], Cell(1));
    EXPECT_EQ(s[3], Cell(0));
    EXPECT_EQ(s[4], Cell(1));
    for (int i = 5; i < kInterfaceCells; ++i) EXPECT_EQ(s[i], Cell(0)) << i;

    // No digits at all: every cell 0.
    const ReadBackResult none =
        parseDataReplies(before(), "-0-D1,:0:50:230:0:0:5:0:0:1:1", d2, kD3);
    ASSERT_EQ(none.outcome, Outcome::Ok) << none.reason;
    for (const Cell& c : none.record.Schnittstellenwerte) EXPECT_EQ(c, Cell(0));
}

TEST(ParseDataReplies, TooFewFieldsGiveNoRecord) {
    const std::string d2one = "-0-D2,:0:0:V:0:150:300:0:-20:0:20:-24:24:0";
    const std::string d1one = "-0-D1,:0:50:230:0:0:5:0:0:1:1:0";
    struct Case {
        const char* name;
        std::string d1, d2, d3;
    };
    const std::vector<Case> cases = {
        {"nine fields in -D1", "-0-D1,:0:50:230:0:0:5:0:0:1", d2one, kD3},
        {"no colon in -D1", "-0-D1", d2one, kD3},
        {"-D1 ends on a colon", "-0-D1,:0:50:230:0:0:5:0:0:1:", d2one, kD3},
        {"twelve fields in -D2", d1one, "-0-D2,:0:0:V:0:150:300:0:-20:0:20:-24:24", kD3},
        {"one output of four in -D2", kD1, d2one, kD3},
        {"empty -D2", d1one, "", kD3},
        {"five fields in -D3", d1one, d2one, "-0-D3,:2:0:0:V:230"},
        {"empty -D3", d1one, d2one, ""},
    };
    for (const auto& c : cases) {
        const ReadBackResult r = parseDataReplies(before(), c.d1, c.d2, c.d3);
        EXPECT_EQ(r.outcome, Outcome::BadReply) << c.name;
    }
}

TEST(ParseDataReplies, CountsNoVariantHasGiveNoRecord) {
    const std::string d2 = kD2;
    for (const std::string counts : {"0:1", "5:1", "x:1", ":1", "1,5:1", "4:0", "4:14", "4:y"}) {
        const std::string d1 = "-0-D1,:0:50:230:0:0:5:0:0:" + counts + ":0";
        EXPECT_EQ(parseDataReplies(before(), d1, d2, kD3).outcome, Outcome::BadReply) << counts;
    }
    // Thirteen binary outputs are the table's limit.
    std::string d3 = "-0-D3,";
    for (int i = 0; i < 13 * 6; ++i) d3 += ":0";
    const ReadBackResult r =
        parseDataReplies(before(), "-0-D1,:0:50:230:0:0:5:0:0:1:13:0", kD2, d3);
    EXPECT_EQ(r.outcome, Outcome::Ok) << r.reason;
    EXPECT_EQ(r.record.Anzahl_Binaer, 13);
}

// ---- the erased data area ---------------------------------------------------------------------

TEST(NeverProgrammed, TheTenthCharacterIsByte255) {
    EXPECT_TRUE(neverProgrammed("-0-D1,\xC3\xBF\xC3\xBF\xC3\xBF\xC3\xBF\xC3\xBF\r"));
    EXPECT_TRUE(neverProgrammed("-0-D1,:0:\xC3\xBF"));
    EXPECT_FALSE(neverProgrammed("-0-D1,:0:\xC3\xBE"));
    EXPECT_FALSE(neverProgrammed(kD1));
    EXPECT_FALSE(neverProgrammed("-0-D1,:0:"));
    EXPECT_FALSE(neverProgrammed(""));
    // Counted in characters: the two-byte 'é' is one.
    EXPECT_TRUE(neverProgrammed("-0-D1,\xC3\xA9:0\xC3\xBF"));
    EXPECT_FALSE(neverProgrammed("-0-D1,\xC3\xA9:0:\xC3\xBF"));
    // A reply handed over undecoded shows the raw byte.
    EXPECT_TRUE(neverProgrammed("-0-D1,:0:\xFF"));
}

// ---- the read-back sequence -------------------------------------------------------------------

struct ReadBackRunTest : ::testing::Test {
    FakeClock clock;
    ScriptedPort port{clock};
    FakeTransducer device{port};
    Link link{port, clock};

    ReadBackRunTest() {
        device.hardware = hardwareText("2", " 5", "120", "1.2");
        device.copies = {kD1.substr(6), kD2.substr(6), kD3.substr(6)};
    }
    ReadBackResult run() { return readTransducer(link, before(), "0"); }
};

const Frames kReadFrames = {"\r", "-0-t", "", "-0-t", "-0-t", "-0-D1", "-0-D2", "-0-D3", "-0-*?"};

TEST_F(ReadBackRunTest, ReadsTheCopyAndTheClasses) {
    const ReadBackResult r = run();
    ASSERT_EQ(r.outcome, Outcome::Ok) << r.reason;
    EXPECT_EQ(port.frames(), kReadFrames);

    const ReadBackResult parsed = parseDataReplies(before(), kD1, kD2, kD3);
    Record expected = parsed.record;
    expected.setMaxSpannung(120);
    expected.Max_Strom = 1.2;
    EXPECT_EQ(r.record, expected);
    EXPECT_DOUBLE_EQ(r.record.Max_Spannung_LN, 120 / kSqrt3);
    // The output counts come from the copy, not from the hardware reply.
    EXPECT_EQ(r.record.Anzahl_Analog, 4);

    // 2000 after the wake-up, 1000 after the link test, Wartezeit before the query, 2000
    // after it and 150 x 12 reading it.
    EXPECT_EQ(clock.elapsedMs(), 2000 + 1000 + 2000 + 2000 + 1800);
}

TEST_F(ReadBackRunTest, AProgrammedRecordComesBackWhole) {
    device.hardware = hardwareText("2", " 5", "120", "5");
    const Record original = fourWireWithTransformers();
    ASSERT_EQ(programTransducer(link, original, "0", ',').outcome, Outcome::Ok);

    const ReadBackResult r = readTransducer(link, startRecord(), "0");
    ASSERT_EQ(r.outcome, Outcome::Ok) << r.reason;
    EXPECT_EQ(r.record.Anzahl_Analog, 2);
    EXPECT_EQ(r.record.Anzahl_Binaer, 5);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(r.record.Grundwerte[i].toText(','), original.Grundwerte[i].toText(',')) << i;
    }
    for (int j = 0; j < 2; ++j)
        for (int k = 0; k < kAnalogFields; ++k)
            EXPECT_EQ(r.record.Analogwerte[j][k].toText(','),
                      original.Analogwerte[j][k].toText(','));
    for (int j = 0; j < 5; ++j)
        for (int k = 0; k < kBinaryFields; ++k)
            EXPECT_EQ(r.record.Binaerwerte[j][k].toText(','),
                      original.Binaerwerte[j][k].toText(','));
    for (int i = 0; i < kInterfaceCells; ++i)
        EXPECT_TRUE(
            r.record.Schnittstellenwerte[i].equals(original.Schnittstellenwerte[i].toNumber()))
            << i;
    // And the same record programs the same commands again.
    EXPECT_EQ(programmingCommands(r.record, ','), programmingCommands(original, ','));
}

TEST_F(ReadBackRunTest, AnErasedDataAreaIsReportedAndNothingElseAsked) {
    device.erased = true;
    const ReadBackResult r = run();
    EXPECT_EQ(r.outcome, Outcome::NeverProgrammed);
    EXPECT_EQ(port.frames(), (Frames{"\r", "-0-t", "", "-0-t", "-0-t", "-0-D1"}));
}

TEST_F(ReadBackRunTest, ATooShortCopyAppliesNothingAndSkipsTheQuery) {
    device.copies[1] = ":0:0:V:0:150:300";
    const ReadBackResult r = run();
    EXPECT_EQ(r.outcome, Outcome::BadReply);
    EXPECT_EQ(port.frames(), (Frames{"\r", "-0-t", "", "-0-t", "-0-t", "-0-D1", "-0-D2", "-0-D3"}));
}

TEST_F(ReadBackRunTest, AWrongLinkTestEchoIsALinkFailure) {
    device.overrides["-0-t"] = "-0-T\r";
    const ReadBackResult r = run();
    EXPECT_EQ(r.outcome, Outcome::LinkFailure);
    EXPECT_EQ(port.frames(), (Frames{"\r", "-0-t", "", "-0-t", "-0-t"}));
}

TEST_F(ReadBackRunTest, ASilentDataRequestIsALinkFailure) {
    device.overrides["-0-D2"] = "";
    const ReadBackResult r = run();
    EXPECT_EQ(r.outcome, Outcome::LinkFailure);
    EXPECT_EQ(port.frames().back(), "-0-D2");
    EXPECT_EQ(clock.elapsedMs(), 2000 + 1000 + 20000);
}

TEST_F(ReadBackRunTest, AnUnfinishedDataLineIsALinkFailure) {
    device.overrides["-0-D3"] = "-0-D3,:2:0:0:V:230:0";  // no line end
    const ReadBackResult r = run();
    EXPECT_EQ(r.outcome, Outcome::LinkFailure);
    EXPECT_EQ(port.frames().back(), "-0-D3");
}

TEST_F(ReadBackRunTest, AnUnusableHardwareReplyAppliesNothing) {
    device.hardware = "no marker here";
    const ReadBackResult r = run();
    EXPECT_EQ(r.outcome, Outcome::BadReply);
    EXPECT_EQ(port.frames(), kReadFrames);
}

}  // namespace
}  // namespace kalvo::test
