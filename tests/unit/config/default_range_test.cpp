// Default ranges (Vorgabebereich) for every connection type and quantity group, with and
// without transformers, their rounding, and how the pages show them. Expected values are
// worked out by hand from the basic settings.
#include "config/default_range.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace kalvo {
namespace {

// A record with the basic settings given (voltage V, or a voltage transformer's primary kV;
// current A, or a current transformer's primary A).
Record basic(int type, double volts, double amps, double vtPrimaryKv = 0, double ctPrimary = 0) {
    Record r = newProject(4, 9, 600, 5);
    r.Grundwerte[Basic::ConnectionType] = type;
    r.Grundwerte[Basic::NominalVoltage] = volts;
    r.Grundwerte[Basic::VtPrimary] = vtPrimaryKv;
    r.Grundwerte[Basic::VtSecondary] = vtPrimaryKv != 0 ? 0.1 : 0.0;
    r.Grundwerte[Basic::NominalCurrent] = amps;
    r.Grundwerte[Basic::CtPrimary] = ctPrimary;
    r.Grundwerte[Basic::CtSecondary] = ctPrimary != 0 ? 5.0 : 0.0;
    return r;
}

TEST(Vorgabebereich, TheDevicesTableRowByRow) {
    // 230 V, 5 A four-wire: U 230, U_LL 230 x root 3 = 398.3716857, P 3 x 230 x 5 = 3450.
    // 400 V three-wire: U = 400 / root 3 = 230.940109 in single precision; P = 3464.1016388
    // -> 3464.102 -> in kW 3.464 -> 3464; P / 3 = 1154.700546 -> 1154.701 -> 1155. The 100 %
    // value passes through 4 decimals: 1154.7005, whose half goes to the even 1154.700.
    // 230 V, 5 A single-phase: P = U x I = 1150.
    const Record records[] = {basic(0, 230, 5), basic(1, 230, 5), basic(2, 400, 5),
                              basic(3, 400, 5), basic(4, 230, 5)};
    enum Span { U, ULL, P, P3, I };
    struct End {
        double bis, nenn;
    };
    const End ends[5][5] = {
        // by connection type and span; {0, 0} where no code uses it
        {{230, 230}, {398.372, 398.372}, {3450, 3450}, {1150, 1150}, {5, 5}},
        {{230, 230}, {0, 0}, {3450, 3450}, {0, 0}, {5, 5}},
        {{230.94, 230.94}, {400, 400}, {3464, 3464.102}, {1155, 1154.7}, {5, 5}},
        {{230.94, 230.94}, {400, 400}, {3464, 3464.102}, {1155, 1154.7}, {5, 5}},
        {{230, 230}, {0, 0}, {1150, 1150}, {0, 0}, {5, 5}},
    };
    // The device's table row by row: the quantity codes (1000 x connection type + 10 x
    // quantity + place), where their range ends, and whether it starts at minus the end.
    const struct Row {
        Span span;
        bool symmetric;
        std::vector<int> codes;
    } table[] = {
        {U, false, {0, 1, 2, 6, 1000, 4000}},
        {ULL, false, {3, 4, 5, 2000, 2001, 2002, 3000, 3001, 3002}},
        {P, true, {20, 1020, 2020, 3020, 4020}},
        {P3, true, {21, 22, 23, 2021, 2022, 2023}},
        {P, true, {30, 1030, 2030, 3030, 4030}},
        {P3, true, {31, 32, 33, 2031, 2032, 2033}},
        {P, false, {40, 1040, 2040, 3040, 4040}},
        {P3, false, {41, 42, 43, 2041, 2042, 2043}},
        {I, false, {10, 11, 12, 13, 1010, 2010, 2011, 2012, 2013, 3010, 4010}},
    };
    for (int type = 0; type < 5; ++type) {
        for (int quantityAndPlace = 0; quantityAndPlace < 50; ++quantityAndPlace) {
            const int code = 1000 * type + quantityAndPlace;
            DefaultRange expected;  // any other code: no range
            for (const Row& row : table) {
                if (std::find(row.codes.begin(), row.codes.end(), code) != row.codes.end()) {
                    const End e = ends[type][row.span];
                    expected = {row.symmetric ? -e.bis : 0, e.bis, e.nenn};
                }
            }
            EXPECT_EQ(Vorgabebereich(records[type], quantityAndPlace / 10, quantityAndPlace % 10,
                                     RangeMode::Analog),
                      expected)
                << code;
        }
    }
    // The binary page allows 120 %, rounded as above.
    const struct {
        int type, quantity, place;
        DefaultRange binary;
    } binary[] = {
        {0, 0, 3, {0, 478.046, 398.372}},
        {0, 2, 0, {-4140, 4140, 3450}},
        {2, 2, 0, {-4157, 4157, 3464.102}},
        {2, 2, 2, {-1386, 1386, 1154.7}},
        {4, 1, 0, {0, 6, 5}},
    };
    for (const auto& c : binary) {
        EXPECT_EQ(Vorgabebereich(records[c.type], c.quantity, c.place, RangeMode::Binary), c.binary)
            << c.type << c.quantity << c.place;
    }
}

TEST(Vorgabebereich, Transformers) {
    // 20 kV primary on four-wire: U_LL 20000, U = 20000 / root 3 = 11547.005859375 in single
    // precision -> 11547.006 -> 11.547 kV -> 11547.
    const Record vt = basic(0, 0, 5, 20);
    EXPECT_EQ(Vorgabebereich(vt, 0, 3, RangeMode::Analog), (DefaultRange{0, 20000, 20000}));
    EXPECT_EQ(Vorgabebereich(vt, 0, 0, RangeMode::Analog), (DefaultRange{0, 11547, 11547.006}));
    // P = 3 x 11547.005859375 x 5 = 173205.0879 -> 173205.088 -> 173.205 kW.
    EXPECT_EQ(Vorgabebereich(vt, 2, 0, RangeMode::Analog),
              (DefaultRange{-173205, 173205, 173205.088}));
    // On three-wire the primary is the line voltage already.
    EXPECT_EQ(Vorgabebereich(basic(2, 0, 5, 20), 0, 0, RangeMode::Analog),
              (DefaultRange{0, 20000, 20000}));
    // Current transformer: its primary is the current.
    const Record ct = basic(0, 230, 0, 0, 100);
    EXPECT_EQ(Vorgabebereich(ct, 1, 0, RangeMode::Analog), (DefaultRange{0, 100, 100}));
    EXPECT_EQ(Vorgabebereich(ct, 2, 0, RangeMode::Analog), (DefaultRange{-69000, 69000, 69000}));
    EXPECT_EQ(Vorgabebereich(ct, 2, 0, RangeMode::Binary), (DefaultRange{-82800, 82800, 69000}));
}

TEST(Vorgabebereich, RoundsInMegaAndGigaUnits) {
    // 110 kV / 1000 A: U = 63508.53125 (single); P = 190525593.75 -> 190.526 MW.
    EXPECT_EQ(Vorgabebereich(basic(0, 0, 0, 110, 1000), 2, 0, RangeMode::Analog),
              (DefaultRange{-190526000, 190526000, 190525593.75}));
    // 400 kV / 3000 A: U = 230940.109375; P = 2078460984.375 -> 2.078 GW.
    EXPECT_EQ(Vorgabebereich(basic(0, 0, 0, 400, 3000), 4, 0, RangeMode::Analog),
              (DefaultRange{0, 2078000000, 2078460984.375}));
}

TEST(Vorgabebereich, SinglePrecisionAndTiesToEven) {
    // 100.0625 and 100.1875 are exact: the halves go to the even neighbour.
    EXPECT_EQ(Vorgabebereich(basic(4, 100.0625, 5), 0, 0, RangeMode::Analog).bis, 100.062);
    EXPECT_EQ(Vorgabebereich(basic(4, 100.1875, 5), 0, 0, RangeMode::Analog).bis, 100.188);
    // 100.0005 is 100.00050354 in single precision, which rounds up (the double just above
    // 100.0005 would give the tie 100000.5 and round down to 100).
    EXPECT_EQ(Vorgabebereich(basic(4, 100.0005, 5), 0, 0, RangeMode::Analog).bis, 100.001);
    EXPECT_EQ(roundHalfEven(-0.0625, 3), -0.062);
    EXPECT_EQ(roundHalfEven(1e300, 3), 1e300);
}

TEST(Vorgabebereich, QuantitiesWithRangesOfTheirOwn) {
    Record r = basic(0, 230, 5);
    for (const RangeMode mode : {RangeMode::Analog, RangeMode::Binary}) {
        EXPECT_EQ(Vorgabebereich(r, 5, 0, mode), (DefaultRange{0, 1, 1}));
        EXPECT_EQ(Vorgabebereich(r, 6, 2, mode), (DefaultRange{-1, 1, 0}));
        EXPECT_EQ(Vorgabebereich(r, 7, 1, mode), (DefaultRange{-180, 180, 0}));
        EXPECT_EQ(Vorgabebereich(r, 8, 0, mode), (DefaultRange{40, 60, 50}));
        EXPECT_EQ(Vorgabebereich(r, 9, 0, mode), (DefaultRange{-10, 10, 10}));
    }
    r.Grundwerte[Basic::NominalFrequency] = 16.666;  // 13.3328 .. 19.9992
    EXPECT_EQ(Vorgabebereich(r, 8, 0, RangeMode::Analog), (DefaultRange{13.333, 19.999, 16.666}));
    r.Grundwerte[Basic::NominalFrequency] = "60";
    EXPECT_EQ(Vorgabebereich(r, 8, 0, RangeMode::Binary), (DefaultRange{48, 72, 60}));
    // Without a connection type nothing has a range.
    r.Grundwerte[Basic::ConnectionType] = 7;
    EXPECT_EQ(Vorgabebereich(r, 7, 0, RangeMode::Analog), (DefaultRange{}));
}

TEST(RangeTexts, PrefixFactorAndChoice) {
    // The first character of the unit: a capital K or a small m is no prefix.
    const std::pair<const char*, double> factors[] = {
        {"GW", 1e9}, {"MVA", 1e6}, {"kvar", 1000}, {"K", 1}, {"V", 1}, {"", 1}, {"mA", 1}};
    for (const auto& [unit, factor] : factors) EXPECT_EQ(prefixFactor(unit), factor) << unit;
    const std::pair<double, const char*> prefixes[] = {
        {1000, ""}, {1000.001, "k"}, {1e6, "k"}, {2e6, "M"}, {2e9, "G"}};
    for (const auto& [end, text] : prefixes) EXPECT_EQ(prefixFor(end).text, text) << end;
    EXPECT_EQ(prefixFor(2e6).divisor, 1e6);
}

TEST(RangeTexts, FormatWithOneToThreeDecimals) {
    const std::pair<double, const char*> cases[] = {
        {0, "0,0"},           {230, "230,0"},     {-3.45, "-3,45"},
        {398.372, "398,372"}, {1.23456, "1,235"}, {0.0625, "0,063"},
        {-0.0004, "0,0"},     {-180, "-180,0"},   {1e10, "10000000000,0"},
    };
    for (const auto& [value, text] : cases) EXPECT_EQ(formatRange(value, ','), text) << value;
    EXPECT_EQ(formatRange(2.5, '.'), "2.5");
}

TEST(RangeTexts, WhatThePagesShow) {
    // The prefix of the range end divides start, end and proposal alike.
    const struct {
        DefaultRange range;
        int quantity;
        const char *unit, *start, *end, *proposal, *allowed;
    } cases[] = {
        {{-3450, 3450, 3450}, 2, "kW", "-3,45", "3,45", "3,45", "-3,45 ... 3,45 kW"},
        {{0, 398.372, 398.372}, 0, "V", "0", "398,372", "398,372", "0,0 ... 398,372 V"},
        {{0, 1080, 900}, 0, "kV", "0", "1,08", "0,9", "0,0 ... 1,08 kV"},
        {{0, 2078e6, 2e9}, 4, "GVA", "0", "2,078", "2", "0,0 ... 2,078 GVA"},
        {{0, 1, 1}, 5, "", "0", "1", "1", "0,0 kap. ... 1,0 ind. "},
        {{-1, 1, 0}, 6, "", "-1", "1", "0", "-1,0 kap. ... 1,0 ind. "},
        {{-180, 180, 0}, 7, "°", "-180", "180", "0", "-180,0 ... 180,0 °"},
        {{40, 60, 50}, 8, "Hz", "40", "60", "50", "40,0 ... 60,0 Hz"},
    };
    for (const auto& c : cases) {
        const RangeDisplay d = rangeDisplay(c.range, c.quantity, ',');
        EXPECT_EQ(std::vector<std::string>({d.unit, d.start, d.end, d.proposal, d.allowed}),
                  std::vector<std::string>({c.unit, c.start, c.end, c.proposal, c.allowed}));
    }
}

}  // namespace
}  // namespace kalvo
