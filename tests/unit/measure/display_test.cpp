// The display model fed line by line: which label shows what, when labels are cleared, and
// the lamp.
#include "measure/display.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kalvo {
namespace {

const std::string kMarker = "\x0C";

// "v<n>" padded like a short device line, so lines are told apart but not rewritten.
std::string line(int n) {
    return "  v" + std::to_string(n) + " xy";
}

std::vector<std::string> captions(const MeasuredValueDisplay& d) {
    std::vector<std::string> out;
    for (int k = 0; k < MeasuredValueDisplay::kLabels; ++k) out.push_back(d.caption(k));
    return out;
}

class Display : public ::testing::Test {
  protected:
    void feed(const std::string& text) { d.lineReceived(text, {}); }
    // A marker and `count` lines numbered from `first`.
    void cycle(int count, int first = 0) {
        feed(kMarker);
        for (int n = 0; n < count; ++n) feed(line(first + n));
    }
    MeasuredValueDisplay d;
};

TEST_F(Display, LinesBeforeTheFirstMarkerAreNotShown) {
    ASSERT_TRUE(d.startStop());
    // Even a label switched to a line number past the twenty stays empty.
    d.setLineNumber(5, 21);
    for (int n = 0; n < 30; ++n) feed(line(n));
    EXPECT_EQ(captions(d), std::vector<std::string>(20));
    EXPECT_FALSE(d.lampGreen());
    feed(kMarker);
    EXPECT_TRUE(d.lampGreen());
    feed(line(100));
    EXPECT_EQ(d.caption(0), line(100));  // the first line after the marker
    EXPECT_EQ(d.caption(1), "");
}

TEST_F(Display, AShortCycleClearsTheLabelsItDidNotReach) {
    d.startStop();
    cycle(20, 0);
    cycle(12, 100);
    // Labels 0..11 show the new cycle; 12..19 still the old one until the next marker.
    EXPECT_EQ(d.caption(11), line(111));
    EXPECT_EQ(d.caption(12), line(12));
    feed(kMarker);
    std::vector<std::string> expected(20);
    for (int k = 0; k < 12; ++k) expected[k] = line(100 + k);
    EXPECT_EQ(captions(d), expected);
    // A long cycle: lines 20 and on have no label of their own.
    for (int n = 0; n < 30; ++n) feed(line(200 + n));
    EXPECT_EQ(d.caption(19), line(219));
    EXPECT_EQ(d.Zeilen_Nr(), 30);
}

TEST_F(Display, RetaggedLabelsAndSeveralLabelsOnOneLine) {
    d.startStop();
    d.setLineNumber(3, 25);
    d.setLineNumber(15, 2);
    d.setLineNumber(16, 99);  // clamped to 34
    d.setLineNumber(17, -4);  // clamped to 0
    cycle(35, 0);
    EXPECT_EQ(d.caption(3), line(25));
    EXPECT_EQ(d.caption(15), line(2));
    EXPECT_EQ(d.caption(2), line(2));
    EXPECT_EQ(d.caption(16), line(34));
    EXPECT_EQ(d.caption(17), line(0));
    // A shorter cycle: label 3 (index below 12) is not cleared and keeps line 25's text.
    cycle(12, 100);
    feed(kMarker);
    EXPECT_EQ(d.caption(3), line(25));
    EXPECT_EQ(d.caption(15), "");  // index 15 is past the 12 lines: cleared
    // STOP and START give every label its own line again.
    d.startStop();
    d.startStop();
    for (int k = 0; k < 20; ++k) EXPECT_EQ(d.lineNumber(k), k);
}

TEST_F(Display, LampStartStopAndResize) {
    d.startStop();
    cycle(2);
    cycle(2);
    EXPECT_FALSE(d.lampGreen());  // toggled twice
    feed(kMarker);
    EXPECT_TRUE(d.lampGreen());
    EXPECT_FALSE(d.startStop());  // STOP: red, lines on their way are ignored
    EXPECT_FALSE(d.lampGreen());
    const auto before = captions(d);
    cycle(5, 50);
    EXPECT_EQ(captions(d), before);

    EXPECT_TRUE(d.startStop());
    cycle(3);
    feed(line(7));
    d.resized();  // mid-cycle: every label empty, nothing until the next marker
    EXPECT_EQ(captions(d), std::vector<std::string>(20));
    feed(line(8));
    EXPECT_EQ(d.caption(4), "");
    cycle(1, 9);
    EXPECT_EQ(d.caption(0), line(9));

    d.pollEnded();  // a vanished port ends polling like STOP
    EXPECT_FALSE(d.running());
    EXPECT_FALSE(d.lampGreen());
}

TEST_F(Display, LabelsShowRewrittenLinesAtTheDevicesPositions) {
    d.startStop();
    // The degree sign is one byte on the wire but two in UTF-8: positions stay the device's.
    d.lineReceived(kMarker, {});
    d.lineReceived("  10.0\xC2\xB0 V    U1 /U", Transformers{20, 0.1, 0, 0});
    EXPECT_EQ(d.caption(0), " 2      KV   U1 /U");
}

}  // namespace
}  // namespace kalvo
