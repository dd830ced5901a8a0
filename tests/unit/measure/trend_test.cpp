// The trend model fed with device lines in virtual time. Every expected value is worked out by
// hand from the line layout (value field 1..7, unit from position 9) and the display's prefixes.
#include "measure/trend.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace kalvo {
namespace {

using std::chrono::seconds;
constexpr Transformers kNone{};

// A device line: the value field right-aligned in seven places, a blank, the unit, the name.
std::string deviceLine(const std::string& field, const std::string& unit, const std::string& name) {
    return std::string(7 - field.size(), ' ') + field + ' ' + unit +
           std::string(5 - unit.size(), ' ') + name;
}

struct Fed {
    TrendModel model;
    TimePoint now{};
    explicit Fed(std::size_t capacity = kTrendCapacity) : model(capacity) {}
    void feed(const std::string& line, const Transformers& t = kNone, seconds step = seconds(1)) {
        model.lineReceived(line, t, now);
        now += step;
    }
    std::vector<double> values(const std::string& name, std::chrono::minutes span) const {
        std::vector<double> out;
        for (const TrendPoint& p : model.points(name, span)) out.push_back(p.value);
        return out;
    }
};

TEST(Trend, RingBufferKeepsTheNewestInOrder) {
    const std::vector<std::pair<int, std::vector<int>>> cases = {
        {0, {}}, {2, {1, 2}}, {3, {1, 2, 3}}, {5, {3, 4, 5}}, {7, {5, 6, 7}}};
    for (const auto& [pushed, kept] : cases) {
        RingBuffer<int> ring(3);
        for (int n = 1; n <= pushed; ++n) ring.push(n);
        std::vector<int> got;
        for (std::size_t i = 0; i < ring.size(); ++i) got.push_back(ring[i]);
        EXPECT_EQ(got, kept) << pushed;
        EXPECT_EQ(ring.capacity(), 3U);
    }
    EXPECT_EQ(kTrendCapacity, 224416U);  // 3600 s / (28 characters x 11 bits / 19200 baud)
    TrendModel model;
    model.choose("U1 /U");
    EXPECT_EQ(model.memoryBytes(), 224416U * 8 + 3601 * 24);  // the points, the seconds in brief
}

TEST(Trend, OneUnitPerLineAcrossPrefixChanges) {
    const Transformers vt20{20, 0.1, 0, 0}, vt04{0.4, 0.1, 0, 0}, vt2000{2000, 0.1, 0, 0};
    struct Case {
        std::string field, unit, name;
        Transformers t;
        double value;  // in the unit of the line's first value
    };
    const std::vector<Case> cases = {
        {"999.0", "W", "P /P", kNone, 999},      // shown 999 W: the line is in W
        {"2500", "W", "P /P", kNone, 2500},      // shown 2.5 KW
        {"-1000.0", "W", "P /P", kNone, -1000},  // shown -1 KW
        {"100.0", "V", "U12 /U", vt20, 20},      // 20000 V shown 20 KV: the line is in KV
        {"100.0", "V", "U12 /U", vt04, 0.4},     // 400 V: a primary below 1 kV keeps V
        {"100.0", "V", "U12 /U", vt2000, 2000},  // 2 MV
        {"50.00", "Hz", "F", vt20, 50},          // not rewritten
    };
    Fed f;
    f.model.choose("P /P");
    f.model.choose("U12 /U");
    for (const Case& c : cases) {
        f.feed(deviceLine(c.field, c.unit, c.name), c.t);
        EXPECT_DOUBLE_EQ(f.model.stats(c.name)->latest, c.value) << c.field << ' ' << c.name;
    }
    EXPECT_EQ(f.model.line("U12 /U")->label(), "U12 /U  KV");
    EXPECT_EQ(f.model.line("F")->label(), "F  Hz");
    EXPECT_EQ(f.values("U12 /U", std::chrono::minutes(60)), (std::vector<double>{20, 0.4f, 2000}));
    const TrendStats p = *f.model.stats("P /P");
    EXPECT_EQ(p.values, 3);
    EXPECT_DOUBLE_EQ(p.minimum, -1000);
    EXPECT_DOUBLE_EQ(p.maximum, 2500);
    EXPECT_DOUBLE_EQ(p.mean, 833);  // 2499 / 3
}

TEST(Trend, ALineWithoutANumberIsAGap) {
    Fed f;
    f.model.choose("I1 /I");
    // The display writes 0 into the field of a current line without a number.
    for (const char* field : {"1.000", "-----", "", "3.000"})
        f.feed(deviceLine(field, "A", "I1 /I"));
    const std::vector<double> v = f.values("I1 /I", std::chrono::minutes(1));
    ASSERT_EQ(v.size(), 4U);
    EXPECT_TRUE(v[0] == 1 && std::isnan(v[1]) && std::isnan(v[2]) && v[3] == 3);
    const TrendStats s = *f.model.stats("I1 /I");
    EXPECT_EQ(std::vector<double>({double(s.values), double(s.gaps), s.minimum, s.maximum, s.mean}),
              (std::vector<double>{2, 2, 1, 3, 2}));
    f.feed(deviceLine("x", "A", "I1 /I"));
    EXPECT_TRUE(std::isnan(f.model.stats("I1 /I")->latest));
    f.feed(deviceLine("1.0", "V", "I1 /I"));  // a unit of another kind
    EXPECT_EQ(f.model.stats("I1 /I")->gaps, 4);
}

TEST(Trend, OfferedLinesAndTheChoice) {
    Fed f(2);
    const auto labels = [&] {
        std::vector<std::string> out;
        for (const TrendLine& l : f.model.offered()) out.push_back(l.label());
        return out;
    };
    f.feed(deviceLine("1.000", "A", "I1 /I"));  // before the first marker
    f.feed("\x0C");
    f.feed(deviceLine("100.0", "V", "U12 /U"), {20, 0.1, 0, 0});
    f.feed(deviceLine("0.985", "", "PF1"));
    EXPECT_EQ(labels(), (std::vector<std::string>{"I1 /I  A", "U12 /U  KV", "PF1"}));
    f.feed("\x0C");
    EXPECT_EQ(labels(), (std::vector<std::string>{"U12 /U  KV", "PF1"}));
    EXPECT_FALSE(f.model.choose(""));
    for (const char* name : {"a", "b", "c", "d"}) EXPECT_TRUE(f.model.choose(name));
    EXPECT_FALSE(f.model.choose("PF1"));
    f.model.unchoose("b");
    EXPECT_TRUE(f.model.choose("PF1"));
    EXPECT_FALSE(f.model.choose("PF1"));
    EXPECT_EQ(f.model.chosen(), (std::vector<std::string>{"a", "c", "d", "PF1"}));
}

TEST(Trend, SpansEndAtTheNewestPointOrWherePaused) {
    Fed f(8);
    f.model.choose("I1 /I");
    // Values 0..9 every 20 s: the eight newest stay, 2..9 at 40..180 s.
    for (int n = 0; n <= 9; ++n)
        f.feed(deviceLine(std::to_string(n), "A", "I1 /I"), kNone, seconds(20));
    EXPECT_EQ(f.values("I1 /I", std::chrono::minutes(1)), (std::vector<double>{6, 7, 8, 9}));
    EXPECT_EQ(f.values("I1 /I", std::chrono::minutes(5)).size(), 8U);
    f.model.pause();
    f.feed(deviceLine("10", "A", "I1 /I"), kNone, seconds(20));
    f.feed(deviceLine("11", "A", "I1 /I"), kNone, seconds(20));
    EXPECT_EQ(f.model.viewEnd(), seconds(180));
    EXPECT_EQ(f.values("I1 /I", std::chrono::minutes(1)), (std::vector<double>{6, 7, 8, 9}));
    f.model.resume();
    EXPECT_EQ(f.model.points("I1 /I", std::chrono::minutes(1)).front().ms, 160000U);
    EXPECT_EQ(f.values("I1 /I", std::chrono::minutes(1)), (std::vector<double>{8, 9, 10, 11}));
    EXPECT_EQ(f.model.stats("I1 /I")->values, 12);  // since the start, not only what is kept
}

TEST(Trend, ThinnedForThePlotInRunsBetweenGapsKeepingPeaks) {
    Fed f;
    f.model.choose("I1 /I");
    // One a second over 9 s in three columns of 3 s (and the last point's own column): a gap
    // ends a run, each column keeps its lowest and highest in time order.
    for (const char* field : {"1", "5", "2", "-----", "3", "3", "9", "0", "4", "4"})
        f.feed(deviceLine(field, "A", "I1 /I"));
    const auto runs = [&](int columns) {
        std::vector<std::vector<double>> got;
        for (const auto& run : f.model.runs("I1 /I", seconds(9), columns)) {
            got.emplace_back();
            for (const TrendPoint& p : run) got.back().push_back(p.value);
        }
        return got;
    };
    // From the seconds in brief (3 s a column), and from the points (a millisecond a column).
    EXPECT_EQ(runs(3), (std::vector<std::vector<double>>{{1, 5}, {3, 9, 0, 4}}));
    EXPECT_EQ(runs(9000), (std::vector<std::vector<double>>{{1, 5, 2}, {3, 3, 9, 0, 4, 4}}));
    // A poll that ended breaks the line: the next one's first value starts a run of its own.
    f.model.breakLines();
    f.feed(deviceLine("7", "A", "I1 /I"));
    EXPECT_EQ(f.model.runs("I1 /I", seconds(10), 10000).size(), 3U);
    // Beyond the stretches a plot keeps, the oldest are joined: the newest gap stays visible.
    for (int n = 0; n < 200; ++n) f.feed(deviceLine(n % 2 == 0 ? "1" : "-----", "A", "I1 /I"));
    const auto many = f.model.runs("I1 /I", seconds(150), 150000);
    EXPECT_EQ(many.size(), TrendModel::kMaxRuns);
    EXPECT_EQ(many.back().size(), 1U);
}

}  // namespace
}  // namespace kalvo
