// Reading the device copy back: the field scan of the three data replies, the erased-area
// mark, and the read-back sequence against a scripted transducer.
#include <gtest/gtest.h>

#include <random>

#include "device/programming.h"
#include "device/readback.h"
#include "device_test_support.h"
#include "support/device_copy.h"
#include "support/link_rig.h"

namespace kalvo::test {
namespace {

const std::string kD1 = "-0-D1,:0:50:230:0:0:5:0:0:4:1:1000000000000000000000000000000000000";
// Four analog outputs of 13 fields; the last field ends the reply.
const std::string kD2 =
    "-0-D2,:0:0:V:0:150:300:0:-20:0:20:-24:24:0"
    ":1:0:A:0:2,5:5:0:4:12:20:0:24:1"
    ":0:1:kV:0:10000:20000:1:0:5:10:0:10:0"
    ":5:0:PF:0,5:0:0,5:0:4:12:20:0:24:9";
const std::string kD3 = "-0-D3,:2:0:0:V:230:0";
const std::string kD1one = "-0-D1,:0:50:230:0:0:5:0:0:1:1:0";
const std::string kD2one = "-0-D2,:0:0:V:0:150:300:0:-20:0:20:-24:24:0";

// `n` times the byte 255 of an erased data area, as the transaction hands it on: 'ÿ' in UTF-8.
std::string ffs(int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += "\xC3\xBF";
    return s;
}

Record before() {
    Record r = threeWire();
    r.Analogwerte[4][Analog::Quantity] = Cell(7);
    r.Binaerwerte[1][Binary::Limit] = Cell(123);
    return r;
}

TEST(ParseDataReplies, FillsTheRecordWithTheTextsFound) {
    // Interface digits count by character: a two-byte character is one position, a missing
    // or non-digit character counts 0.
    const std::string d1 =
        "-0-D1,:0:50:230:0:0:5:0:0:4:1:1\xC3\xBF"
        "1x1";
    const ReadBackResult r = parseDataReplies(before(), d1, kD2, kD3);
    ASSERT_EQ(r.outcome, Outcome::Ok) << r.reason.english;
    const Record& rec = r.record;
    EXPECT_EQ(rec.Grundwerte, (std::array<Cell, 8>{Cell("0"), Cell("50"), Cell("230"), Cell("0"),
                                                   Cell("0"), Cell("5"), Cell("0"), Cell("0")}));
    EXPECT_EQ(rec.Anzahl_Analog, 4);
    EXPECT_EQ(rec.Anzahl_Binaer, 1);
    for (int i = 0; i < kInterfaceCells; ++i)
        EXPECT_EQ(rec.Schnittstellenwerte[i], Cell(i == 0 || i == 2 || i == 4 ? 1 : 0)) << i;
    EXPECT_EQ(rec.Analogwerte[1][Analog::KneeInput], Cell("2,5"));
    EXPECT_EQ(rec.Analogwerte[2][Analog::RangeUnit], Cell("kV"));
    EXPECT_EQ(rec.Analogwerte[3][Analog::RangeStart], Cell("0,5"));
    EXPECT_EQ(rec.Analogwerte[3][Analog::Kinked], Cell("9"));  // closed by the end of the reply
    EXPECT_EQ(rec.Binaerwerte[0], (std::array<Cell, 6>{Cell("2"), Cell("0"), Cell("0"), Cell("V"),
                                                       Cell("230"), Cell("0")}));
    // Rows beyond the counts stay as they were.
    EXPECT_EQ(rec.Analogwerte[4][Analog::Quantity], Cell(7));
    EXPECT_EQ(rec.Binaerwerte[1][Binary::Limit], Cell(123));
}

TEST(ParseDataReplies, TooFewFieldsOrImpossibleCountsGiveNoRecord) {
    std::string d3of13 = "-0-D3,";  // thirteen binary outputs are the table's limit
    for (int i = 0; i < 13 * 6; ++i) d3of13 += ":0";
    const struct {
        const char* name;
        std::string d1, d2, d3;
        Outcome outcome = Outcome::BadReply;
    } cases[] = {
        {"nine fields in -D1", "-0-D1,:0:50:230:0:0:5:0:0:1", kD2one, kD3},
        {"-D1 ends on a colon", "-0-D1,:0:50:230:0:0:5:0:0:1:", kD2one, kD3},
        {"twelve fields in -D2", kD1one, "-0-D2,:0:0:V:0:150:300:0:-20:0:20:-24:24", kD3},
        {"one output of four in -D2", kD1, kD2one, kD3},
        {"five fields in -D3", kD1one, kD2one, "-0-D3,:2:0:0:V:230"},
        {"0 analog", "-0-D1,:0:50:230:0:0:5:0:0:0:1:0", kD2, kD3},
        {"5 analog", "-0-D1,:0:50:230:0:0:5:0:0:5:1:0", kD2, kD3},
        {"analog count 1,5", "-0-D1,:0:50:230:0:0:5:0:0:1,5:1:0", kD2, kD3},
        {"0 binary", "-0-D1,:0:50:230:0:0:5:0:0:4:0:0", kD2, kD3},
        {"14 binary", "-0-D1,:0:50:230:0:0:5:0:0:4:14:0", kD2, kD3},
        {"binary count y", "-0-D1,:0:50:230:0:0:5:0:0:4:y:0", kD2, kD3},
        {"13 binary", "-0-D1,:0:50:230:0:0:5:0:0:1:13:0", kD2, d3of13, Outcome::Ok},
    };
    for (const auto& c : cases)
        EXPECT_EQ(parseDataReplies(before(), c.d1, c.d2, c.d3).outcome, c.outcome) << c.name;
}

TEST(NeverProgrammed, TheTenthCharacterIsByte255) {
    const std::pair<std::string, bool> cases[] = {
        {"-0-D1,:0:\xC3\xBF", true},          {"-0-D1,:0:\xFF", true},  // handed over undecoded
        {"-0-D1,:0:\xC3\xBE", false},         {"", false},
        {"-0-D1,\xC3\xA9:0\xC3\xBF", true},  // counted in characters: the two-byte 'é' is one
        {"-0-D1,\xC3\xA9:0:\xC3\xBF", false},
    };
    for (const auto& [reply, erased] : cases) EXPECT_EQ(neverProgrammed(reply), erased) << reply;
}

// A device holding kD1, kD2 and kD3.
struct ReadBack : DeviceRig {
    ReadBack() { device.copies = {kD1.substr(6), kD2.substr(6), kD3.substr(6)}; }
    ReadBackResult run() { return readTransducer(link, before(), "0"); }
};

struct ReadBackRunTest : ::testing::Test, ReadBack {};

const Frames kReadFrames = {"\r", "-0-t", "", "-0-t", "-0-t", "-0-D1", "-0-D2", "-0-D3", "-0-*?"};

TEST_F(ReadBackRunTest, ReadsTheCopyAndTheClasses) {
    const ReadBackResult r = run();
    ASSERT_EQ(r.outcome, Outcome::Ok) << r.reason.english;
    EXPECT_EQ(port.frames(), kReadFrames);

    Record expected = parseDataReplies(before(), kD1, kD2, kD3).record;
    expected.Max_Spannung = 120;
    expected.Max_Strom = 1.2;
    EXPECT_EQ(r.record, expected);
    EXPECT_EQ(r.record.Anzahl_Analog, 4);  // from the copy, not from the hardware reply
    // 2000 after the wake-up, 1000 after the link test, Wartezeit before the query, 2000
    // after it and 150 x 12 reading it.
    EXPECT_EQ(clock.elapsedMs(), 2000 + 1000 + 2000 + 2000 + 1800);
    // Each data reply is logged right after its request, without its CR, closed by a colon.
    EXPECT_EQ(observer.lines, (std::vector<std::string>{"-0-t", "-0-t  OK", "-0-D1", kD1 + ":",
                                                        "-0-D2", kD2 + ":", "-0-D3", kD3 + ":"}));

    // An erased device: its "-D1" reply is shown, then the read ends.
    device.erased = true;
    observer.lines.clear();
    EXPECT_EQ(run().outcome, Outcome::NeverProgrammed);
    EXPECT_EQ(observer.lines,
              (std::vector<std::string>{"-0-t", "-0-t  OK", "-0-D1", "-0-D1," + ffs(24) + ":"}));
}

// For every record that programming accepts, the copy it stores reads back into the same
// record; records with codes and texts that cannot travel are refused instead.
TEST(DeviceCopy, WhatProgrammingAcceptsReadsBackTheSame) {
    std::mt19937 random(16);
    int accepted = 0, refused = 0;
    for (int n = 0; n < 400; ++n) {
        std::string bytes(1 + 2 * (n % 3 + 1), '\0');
        for (char& b : bytes) b = static_cast<char>(random());
        const Record record = recordFromBytes(bytes);
        const std::optional<Record> back = programAndReadBack(record, ',');
        ++(back ? accepted : refused);
        EXPECT_TRUE(!back || sameCopy(record, *back, ',')) << ::testing::PrintToString(bytes);
    }
    EXPECT_GT(accepted, 100);
    EXPECT_GT(refused, 50);
}

// A reply is taken before the next request: an unusable one ends the read at once, and the
// read is all or nothing. Whatever the device still says to the wake-up frames is flushed:
// unflushed, the link test would take it for its echo.
TEST_F(ReadBackRunTest, FailuresStopTheSequence) {
    const struct {
        const char* name;
        void (*setup)(FakeDevice&);
        Outcome outcome;
        std::size_t frames;       // how many of kReadFrames went out
        const char* reason = "";  // a part of the reason
    } cases[] = {
        {"answers to the wake-up",
         [](FakeDevice& d) {
             d.overrides["-0-t"] = "-0-?\r";
             d.onFrame = [&d, wakeUps = 0](const std::string& frame) mutable {
                 if (frame == "-0-t" && ++wakeUps == 3) d.overrides.erase("-0-t");
             };
         },
         Outcome::Ok, 9},
        {"nine fields in -D1", [](FakeDevice& d) { d.copies[0] = ":0:50:230:0:0:5:0:0:4"; },
         Outcome::BadReply, 6, "-D1"},
        {"short -D2", [](FakeDevice& d) { d.copies[1] = ":0:0:V:0:150:300"; }, Outcome::BadReply, 7,
         "-D2"},
        {"wrong link test echo", [](FakeDevice& d) { d.overrides["-0-t"] = "-0-T\r"; },
         Outcome::LinkFailure, 5},
        {"silent data request", [](FakeDevice& d) { d.overrides["-0-D2"] = ""; },
         Outcome::LinkFailure, 7},
        {"unfinished data line",
         [](FakeDevice& d) { d.overrides["-0-D3"] = "-0-D3,:2:0:0:V:230:0"; }, Outcome::LinkFailure,
         8},
        {"unusable hardware reply", [](FakeDevice& d) { d.hardware = "no marker here"; },
         Outcome::BadReply, 9, "Ana.:"},
        // Nothing at all in the 150 passes: the device is gone, not confused.
        {"no hardware reply", [](FakeDevice& d) { d.overrides["-0-*?"] = ""; },
         Outcome::LinkFailure, 9, "no reply to the hardware query"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ReadBack t;
        c.setup(t.device);
        const ReadBackResult r = t.run();
        EXPECT_EQ(r.outcome, c.outcome);
        EXPECT_EQ(t.port.frames(), Frames(kReadFrames.begin(), kReadFrames.begin() + c.frames));
        EXPECT_NE(r.reason.english.find(c.reason), std::string::npos) << r.reason.english;
        // Nothing of a failed read is handed on.
        EXPECT_EQ(r.record == Record{}, c.outcome != Outcome::Ok);
    }
}

}  // namespace
}  // namespace kalvo::test
