// Rewriting measured-value lines to the primary side. Every expected line is worked out by
// hand from the line layout: value field at positions 1..7, unit from position 9.
#include "measure/measured_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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
    Record r = newProject(2, 5, 120, 1.2);
    r.Grundwerte[Basic::VtPrimary] = Cell("20");
    r.Grundwerte[Basic::VtSecondary] = Cell("0,1");  // a file written on a German system
    r.Grundwerte[Basic::CtPrimary] = Cell(100);
    r.Grundwerte[Basic::CtSecondary] = Cell("x");  // no number: 0
    const Transformers t = displayTransformers(r);
    EXPECT_DOUBLE_EQ(t.vtPrimary, 20);
    EXPECT_DOUBLE_EQ(t.vtSecondary, 0.1);
    EXPECT_DOUBLE_EQ(t.ctPrimary, 100);
    EXPECT_DOUBLE_EQ(t.ctSecondary, 0);
}

TEST(MeasuredLine, ValueFieldReading) {
    struct Case {
        std::string line;
        std::optional<double> value;
    };
    const std::vector<Case> cases = {
        {"  230.5 V", 230.5},
        {"    -12 A", -12},
        {"+5", 5},
        {".5", 0.5},
        {"\t 7", 7},
        {"1 2", 1},
        {"1.2.3", 1.2},
        {"12345678", 1234567},       // only positions 1..7 count
        {"  ---  V", std::nullopt},  // a field without a number
        {"-", std::nullopt},
        {"", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(valueFieldNumber(c.line), c.value) << '"' << c.line << '"';
    }
}

TEST(MeasuredLine, RoundingToFiveDecimals) {
    const std::vector<std::pair<double, double>> cases = {
        {0.123456789, 0.12346}, {2.000004, 2},
        {0.015625, 0.01563},    {-0.015625, -0.01563},  // halves away
        {1e20, 1e20},
    };
    for (const auto& [in, out] : cases) EXPECT_DOUBLE_EQ(roundedToFiveDecimals(in), out) << in;
}

TEST(MeasuredLine, ValueTextAndLeadingZeroPerGroup) {
    struct Case {
        double value;
        Group group;
        std::string text;
    };
    const std::vector<Case> cases = {
        {230, Group::U, " 230"},
        {0, Group::P, " 0"},
        {-3, Group::I, "-3"},
        {0.00001, Group::U, " 0.00001"},
        // 0 < value < 1: the zero for voltage, current and apparent power ...
        {0.25, Group::U, " 0.25"},
        // ... but not below 0,
        {-0.25, Group::U, "-.25"},
        {-0.5, Group::S, "-.5"},
        // active and reactive power on both sides.
        {0.5, Group::P, " 0.5"},
        {-0.5, Group::P, "-0.5"},
        {-0.75, Group::Q, "-0.75"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Messwert_Text(c.value, c.group), c.text) << c.value;
    }
}

struct RewriteCase {
    const char* what;
    Transformers t;
    std::string line;  // as received, without CR
    std::string shown;
};

void check(const std::vector<RewriteCase>& cases) {
    for (const RewriteCase& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string shown = rewriteLine(c.line, c.t);
        EXPECT_EQ(shown, c.shown);
    }
}

TEST(MeasuredLine, VoltageLinesAndTheirPrefixes) {
    check({
        {"no transformer: value as sent, left-aligned", kNone, "  230.5 V    U1 /U",
         " 230.5  V    U1 /U"},
        {"20 kV / 100 V: 100 V is 20000 V, shown as 20 KV",
         {20, 0.1, 0, 0},
         "  100.0 V    U1 /U",
         " 20     KV   U1 /U"},
        {"primary 0,999 kV keeps the device's unit",
         {0.999, 0.1, 0, 0},
         "  100.0 V    U1 /U",
         " 999    V    U1 /U"},
        {"primary 1 kV: kilo", {1, 0.1, 0, 0}, "  100.0 V    U1 /U", " 1      KV   U1 /U"},
        {"primary 1000 kV: mega", {1000, 0.1, 0, 0}, "  100.0 V    U1 /U", " 1      MV   U1 /U"},
        {"primary 1 000 000 kV: giga",
         {1e6, 0.1, 0, 0},
         "  100.0 V    U1 /U",
         " 1      GV   U1 /U"},
        {"rounded to five decimals, no zero below 0",
         {0.123456789, 1, 0, 0},
         "     -1 V    U1 /U",
         "-.12346 V    U1 /U"},
        {"a field without a number counts as 0",
         {20, 0.1, 0, 0},
         "  ---   V    U1 /U",
         " 0      KV   U1 /U"},
    });
}

TEST(MeasuredLine, CurrentLinesScaleWithoutPrefix) {
    check({
        {"100 A / 5 A", {0, 0, 100, 5}, "  4.000 A    I1 /I", " 80     A    I1 /I"},
        {"negative between -1 and 0: no zero", kNone, " -0.250 A    I1 /I", "-.25    A    I1 /I"},
        {"cut after the seventh character",
         {0, 0, 1234.56789, 1},
         "      1 A    I1 /I",
         " 1234.5 A    I1 /I"},
    });
}

TEST(MeasuredLine, PowerLinesWithoutTransformersGetKiloFrom1000) {
    check({
        {"999 W stays", kNone, "    999 W    P /P", " 999    W    P /P"},
        {"1000 W is 1 KW", kNone, "   1000 W    P /P", " 1      KW   P /P"},
        {"negative active power keeps its zero", kNone, "  -0.50 W    P /P", "-0.5    W    P /P"},
        {"reactive, 4 unit characters", kNone, "  -1500 var  Q /Q", "-1.5    Kvar Q /Q"},
        {"apparent, 3 unit characters", kNone, "   1200 VA   S /S", " 1.2    KVA  S /S"},
    });
}

TEST(MeasuredLine, PowerLinesTakeTheirPrefixFromTheReferencePower) {
    check({
        {"CT 100 A: reference 100, kilo; 171.1 W x 20",
         {0, 0, 100, 5},
         "  171.1 W    P /P",
         " 3.422  KW   P /P"},
        {"VT 0,1 kV: reference exactly 1, kilo",
         {0.1, 0.1, 0, 0},
         "   5000 W    P /P",
         " 5      KW   P /P"},
        {"reference 0,999: no prefix, and no kilo either (a transformer is set)",
         {0.0999, 0.1, 0, 0},
         "   5000 W    P /P",
         " 4995   W    P /P"},
        {"CT 1000 A: reference 1000, mega",
         {0, 0, 1000, 5},
         "  100.0 W    P /P",
         " 0.02   MW   P /P"},
        {"reference 1 000 000: giga",
         {100, 0.1, 1000, 1},
         "  100.0 W    P /P",
         " 0.1    GW   P /P"},
        {"reactive, mega", {0, 0, 1000, 5}, "  100.0 var  Q /Q", " 0.02   Mvar Q /Q"},
        {"apparent, giga", {100, 0.1, 1000, 1}, "  100.0 VA   S /S", " 0.1    GVA  S /S"},
    });
}

TEST(MeasuredLine, LinesLeftAsReceivedAndTheLengthRule) {
    const Transformers both{20, 0.1, 100, 5};
    check({
        {"frequency", both, "  50.00 Hz   F", "  50.00 Hz   F"},
        {"power factor, even with a tag", both, "  0.950      PF1 /P", "  0.950      PF1 /P"},
        {"upper-case H anywhere", both, "  100.0 V  H U1 /U", "  100.0 V  H U1 /U"},
        {"four characters with the CR", both, "1/U", "1/U"},
        {"no tag: nothing to scale", both, "   18.2 \xB0    ph1", "   18.2 \xB0    ph1"},
        // Five characters with the CR are rewritten; the field's blanks take the CR's place.
        {"five characters with the CR", kNone, "12/U", " 12  "},
        // A unit reaching past the end is cut there (here over the CR).
        {"unit cut at the end of the line", {0, 0, 100, 5}, "  100.0 /Q", " 2      Kva"},
        {"the cycle marker", both, "\x0C", "\x0C"},
    });
}

TEST(MeasuredLine, EveryTaggedGroupInTurnReadingTheFieldAgain) {
    // "/U" first: 100 V x 200 = 20 KV; then "/I" reads the 20 and multiplies by 20.
    check({{"voltage, then current", {20, 0.1, 100, 5}, "  100.0 V /U /I", " 400    KV/U /I"}});
}

TEST(MeasuredLine, UnitOfAShownLine) {
    EXPECT_EQ(unitText(" 20     KV   U1 /U"), "KV");
    EXPECT_EQ(unitText("  0.950      PF1"), "");
    EXPECT_EQ(unitText("  50.00 Hz"), "Hz");
    EXPECT_EQ(unitText("  50.00 "), "");
}

}  // namespace
}  // namespace kalvo
