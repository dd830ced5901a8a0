#include "config/record.h"

#include <gtest/gtest.h>

#include <cctype>
#include <limits>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "config/kennung.h"
#include "config/rules.h"

namespace kalvo {
namespace {

TEST(RecordStart, OnlyClassesAndTransformerCellsAreSet) {
    const Record r = startRecord();
    EXPECT_TRUE(r.Max_Spannung == 600 && r.Max_Strom == 5);
    EXPECT_DOUBLE_EQ(r.Max_Spannung_LN(), 346.410161513775);
    EXPECT_FALSE(r.hasConfiguration());
    EXPECT_EQ(r.Grundwerte, (BasicRow{Cell(), Cell(), Cell(), 0, 0, Cell(), 0, 0}));
}

// Half the voltage class is the nominal voltage, the range end and the binary limit; a
// quarter of it the knee. Worked out for each of the three voltage classes.
TEST(Standardwerte, FollowTheVoltageAndCurrentClass) {
    const struct {
        double volts, amps, half, quarter;
    } classes[] = {{600, 5, 300, 150}, {120, 1.2, 60, 30}, {100, 1, 50, 25}};
    for (const auto& c : classes) {
        SCOPED_TRACE(c.volts);
        const Record r = newProject(2, 5, c.volts, c.amps);
        EXPECT_EQ(r.Anzahl_Analog + r.Anzahl_Binaer, 7);  // the variant is kept
        EXPECT_EQ(r.Grundwerte, (BasicRow{"0", "50", c.half, 0, 0, c.amps, 0, 0}));
        // 0..half V, knee at a quarter, -20..20 mA, knee out 0, limitation -24..24, no kink.
        const AnalogRow a = {0, 0, "V", 0, c.quarter, c.half, 0, -20, 0, 20, -24, 24, 0};
        for (const auto& row : r.Analogwerte) EXPECT_EQ(row, a);
        const BinaryRow b = {"0", "0", "0", "V", c.half, "0"};
        for (const auto& row : r.Binaerwerte) EXPECT_EQ(row, b);
        for (const auto& s : r.Schnittstellenwerte) EXPECT_EQ(s, Cell(0));
    }
}

TEST(Variant, OnlyWhatATxr30CanBe) {
    EXPECT_FALSE(checkVariant(1, 1, 600, 5));
    EXPECT_FALSE(checkVariant(4, 13, 100, 1.2));
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double bad[][4] = {{0, 1, 600, 5},  {5, 1, 600, 5},  {1.5, 1, 600, 5},
                             {1, 0, 600, 5},  {1, 14, 600, 5}, {1, 1, 0, 5},
                             {1, 1, 600, -1}, {1, 1, inf, 5},  {nan, 1, 600, 5}};
    for (const auto& v : bad) EXPECT_TRUE(checkVariant(v[0], v[1], v[2], v[3])) << v[0] << v[1];
    EXPECT_EQ(std::vector<std::string>({connectionCode(0), connectionCode(1), connectionCode(2),
                                        connectionCode(3), connectionCode(4), connectionCode(5),
                                        connectionCode(-1)}),
              std::vector<std::string>({"4U,", "4G,", "3U,", "3G,", "1,", "", ""}));
}

// The device's label table, written out row by row: label, codes, and which factor divides.
TEST(KennungSuchen, TheWholeLabelTable) {
    enum Scale { U, I, P, One };
    // Each label followed by its codes, by the factor that divides.
    const std::pair<Scale, const char*> table[] = {
        {U, "U1 0 1000 4000, U2 1, U3 2, U12 3 2000 3000, U23 4 2001 3001, U31 5 2002 3002, U 6"},
        {I, "I1 10 1010 2010 3010 4010, I2 11 2011, I3 12 2012, I 13 2013"},
        {P, "P 20 1020 2020 3020, P1 21 2021 4020, P2 22 2022, P3 23 2023"},
        {P, "Q 30 1030 2030 3030, Q1 31 2031 4030, Q2 32 2032, Q3 33 2033"},
        {P, "S 40 1040 2040 3040, S1 41 2041 4040, S2 42 2042, S3 43 2043"},
        {One, "PF 50 1050 2050 3050, PF1 51 2051 4050, PF2 52 2052, PF3 53 2053"},
        {One, "QF 60 1060 2060 3060, QF1 61 2061 4060, QF2 62 2062, QF3 63 2063"},
        {One, "PH 70 1070 2070 3070, PH1 71 2071 4070, PH2 72 2072, PH3 73 2073"},
        {One, "F 80 1080 2080 3080 4080, INP 90 1090 2090 3090 4090"},
    };
    // Factors whose product is exact in single precision: voltage 3, current 7, power 21.
    const float scaleOf[] = {3.0f, 7.0f, 21.0f, 1.0f};
    std::map<int, std::pair<std::string, float>> expected;
    for (const auto& [scale, rows] : table) {
        std::istringstream in(rows);
        std::string label;
        for (std::string word; in >> word;) {
            if (word.back() == ',') word.pop_back();
            if (std::isalpha(static_cast<unsigned char>(word[0]))) {
                label = word;
            } else {
                expected[std::stoi(word)] = {label, scaleOf[scale]};
            }
        }
    }
    ASSERT_EQ(expected.size(), 102u);  // no code listed twice

    // Every code of every connection type, and some beyond: a listed code gives its row, any
    // other no label (the caller keeps its last one) and the divisor 1.
    for (int code = -10; code < 5100; ++code) {
        const Kennung k = Kennung_suchen(code, 3, 7);
        const auto it = expected.find(code);
        if (it == expected.end()) {
            EXPECT_FALSE(k.label) << code << " " << k.label.value_or("");
            EXPECT_EQ(k.Skalierung, 1.0f) << code;
        } else {
            EXPECT_EQ(k.label, it->second.first) << code;
            EXPECT_EQ(k.Skalierung, it->second.second) << code;
        }
    }
    // Single precision: the divisor is the float nearest to the factor.
    EXPECT_EQ(Kennung_suchen(1, 1.0 / 3.0, 1).Skalierung, 1.0f / 3.0f);
    EXPECT_EQ(Kennung_suchen(20, 1.0 / 3.0, 3).Skalierung, static_cast<float>(1.0 / 3.0 * 3));
}

}  // namespace
}  // namespace kalvo
