// Rewriting measured-value lines to the primary side. Every expected line is worked out by
// hand from the line layout: value field at positions 1..7, unit from position 9.
#include "measure/measured_line.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "support/record_builder.h"

namespace kalvo {
namespace {

constexpr Transformers kNone{};

TEST(MeasuredLine, RatiosAndReferencePower) {
    struct Case {
        Transformers t;
        double u, i, p, reference;
    };
    const std::vector<Case> cases = {
        {kNone, 1, 1, 1, 0},
        {{20, 0.1, 0, 0}, 200, 1, 200, 200},        // only a voltage transformer
        {{0, 0, 100, 5}, 1, 20, 20, 100},           // only a current transformer
        {{20, 0.1, 100, 5}, 200, 20, 4000, 20000},  // both: 10 x 20 x 100
        {{20, 0, 0, 0}, 1, 1, 1, 200},              // secondary 0: no ratio, still a primary
        {{0, 0.1, 0, 5}, 1, 1, 1, 0},               // quotient 0
        {{-20, 0.1, 100, 5}, -200, 20, -4000, 0},   // no reference power with a negative VT
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.t.vtPrimary << "/" << c.t.vtSecondary << " "
                                          << c.t.ctPrimary << "/" << c.t.ctSecondary);
        EXPECT_DOUBLE_EQ(Anzeige_Faktor_U(c.t), c.u);
        EXPECT_DOUBLE_EQ(Anzeige_Faktor_I(c.t), c.i);
        EXPECT_DOUBLE_EQ(Anzeige_Faktor_P(c.t), c.p);
        EXPECT_DOUBLE_EQ(Bezugsleistung(c.t), c.reference);
    }
}

TEST(MeasuredLine, TransformerCellsComeFromTheRecordAsNumbersOrTexts) {
    // "0,1" as a file written on a German system holds it; a text without a number is 0.
    const Transformers t = displayTransformers(
        test::RecordBuilder().basic(Basic::VtPrimary, "20", Basic::VtSecondary, "0,1",
                                    Basic::CtPrimary, 100, Basic::CtSecondary, "x"));
    EXPECT_EQ(std::tuple(t.vtPrimary, t.vtSecondary, t.ctPrimary, t.ctSecondary),
              std::tuple(20.0, 0.1, 100.0, 0.0));
}

// Only positions 1..7 count; a field without a number has no value.
TEST(MeasuredLine, ValueFieldReading) {
    const std::vector<std::pair<std::string, double>> cases = {
        {"  230.5 V", 230.5}, {"    -12 A", -12}, {"+5", 5},      {".5", 0.5},
        {"\t 7", 7},          {"1 2", 1},         {"1.2.3", 1.2}, {"12345678", 1234567},
    };
    for (const auto& [line, value] : cases) EXPECT_EQ(valueFieldNumber(line), value) << line;
    for (const char* line : {"  ---  V", "-", ""}) EXPECT_FALSE(valueFieldNumber(line)) << line;
}

TEST(MeasuredLine, RoundingToFiveDecimals) {
    const std::vector<std::pair<double, double>> cases = {
        {0.123456789, 0.12346}, {2.000004, 2},
        {0.015625, 0.01563},    {-0.015625, -0.01563},  // halves away
        {1e20, 1e20},
    };
    for (const auto& [in, out] : cases) EXPECT_DOUBLE_EQ(roundedToFiveDecimals(in), out) << in;
}

// 0 < value < 1 gets a zero for every group; below 0 only active and reactive power keep it.
TEST(MeasuredLine, ValueTextAndLeadingZeroPerGroup) {
    const std::vector<std::tuple<double, Group, std::string>> cases = {
        {230, Group::U, " 230"},         {0, Group::P, " 0"},       {-3, Group::I, "-3"},
        {0.00001, Group::U, " 0.00001"}, {0.25, Group::U, " 0.25"}, {-0.25, Group::U, "-.25"},
        {-0.5, Group::S, "-.5"},         {0.5, Group::P, " 0.5"},   {-0.5, Group::P, "-0.5"},
        {-0.75, Group::Q, "-0.75"},
    };
    for (const auto& [value, group, text] : cases) EXPECT_EQ(Messwert_Text(value, group), text);
}

// Each line as received (without CR) and as shown.
TEST(MeasuredLine, LinesAreRewrittenToThePrimarySide) {
    const Transformers vt20kV{20, 0.1, 0, 0}, ct100A{0, 0, 100, 5}, ct1000A{0, 0, 1000, 5};
    const Transformers both{20, 0.1, 100, 5}, giga{100, 0.1, 1000, 1};
    const struct {
        Transformers t;
        std::string line, shown;
    } cases[] = {
        // Voltage: the prefix follows the primary voltage in kV (left-aligned without one).
        {kNone, "  230.5 V    U1 /U", " 230.5  V    U1 /U"},
        {vt20kV, "  100.0 V    U1 /U", " 20     KV   U1 /U"},
        {{0.999, 0.1, 0, 0}, "  100.0 V    U1 /U", " 999    V    U1 /U"},
        {{1, 0.1, 0, 0}, "  100.0 V    U1 /U", " 1      KV   U1 /U"},
        {{1000, 0.1, 0, 0}, "  100.0 V    U1 /U", " 1      MV   U1 /U"},
        {{1e6, 0.1, 0, 0}, "  100.0 V    U1 /U", " 1      GV   U1 /U"},
        {{0.123456789, 1, 0, 0}, "     -1 V    U1 /U", "-.12346 V    U1 /U"},  // five decimals
        {vt20kV, "  ---   V    U1 /U", " 0      KV   U1 /U"},  // no number counts as 0
        // Current has no prefix; the text is cut after the seventh character.
        {ct100A, "  4.000 A    I1 /I", " 80     A    I1 /I"},
        {{0, 0, 1234.56789, 1}, "      1 A    I1 /I", " 1234.5 A    I1 /I"},
        // Powers without transformers: kilo from 1000.
        {kNone, "    999 W    P /P", " 999    W    P /P"},
        {kNone, "   1000 W    P /P", " 1      KW   P /P"},
        {kNone, "  -0.50 W    P /P", "-0.5    W    P /P"},  // keeps its zero
        {kNone, "  -1500 var  Q /Q", "-1.5    Kvar Q /Q"},
        {kNone, "   1200 VA   S /S", " 1.2    KVA  S /S"},
        // With a transformer the reference power gives the prefix: CT 100 A is 100, kilo ...
        {ct100A, "  171.1 W    P /P", " 3.422  KW   P /P"},
        {{0.1, 0.1, 0, 0}, "   5000 W    P /P", " 5      KW   P /P"},     // 10 x 0,1 kV = 1
        {{0.0999, 0.1, 0, 0}, "   5000 W    P /P", " 4995   W    P /P"},  // and no kilo at all
        {ct1000A, "  100.0 W    P /P", " 0.02   MW   P /P"},
        {ct1000A, "  100.0 var  Q /Q", " 0.02   Mvar Q /Q"},
        {giga, "  100.0 W    P /P", " 0.1    GW   P /P"},  // 10 x 100 x 1000
        {giga, "  100.0 VA   S /S", " 0.1    GVA  S /S"},
        // Each tag in turn, reading the field again: 20 KV, then 20 x 20.
        {both, "  100.0 V /U /I", " 400    KV/U /I"},
        // Left as received: F or H anywhere, four characters with the CR, no tag.
        {both, "  50.00 Hz   F", "  50.00 Hz   F"},
        {both, "  0.950      PF1 /P", "  0.950      PF1 /P"},
        {both, "  100.0 V  H U1 /U", "  100.0 V  H U1 /U"},
        {both, "1/U", "1/U"},
        {both, "   18.2 \xB0    ph1", "   18.2 \xB0    ph1"},
        {both, "\x0C", "\x0C"},
        // Five characters are rewritten; a unit reaching past the end is cut there.
        {kNone, "12/U", " 12  "},
        {ct100A, "  100.0 /Q", " 2      Kva"},
    };
    for (const auto& c : cases) EXPECT_EQ(rewriteLine(c.line, c.t), c.shown) << c.line;
}

}  // namespace
}  // namespace kalvo
