#include "config/record.h"

#include <gtest/gtest.h>

#include <limits>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "config/kennung.h"
#include "config/rules.h"

namespace kalvo {
namespace {

TEST(RecordStart, OnlyClassesAndTransformerCellsAreSet) {
    const Record r = startRecord();
    EXPECT_EQ(r.Max_Spannung, 600);
    EXPECT_EQ(r.Max_Strom, 5);
    EXPECT_DOUBLE_EQ(r.Max_Spannung_LN(), 346.410161513775);
    EXPECT_FALSE(r.hasConfiguration());
    for (const Basic::Field f :
         {Basic::VtPrimary, Basic::VtSecondary, Basic::CtPrimary, Basic::CtSecondary})
        EXPECT_TRUE(r.Grundwerte[f].equals(0)) << f;
    for (const Basic::Field f : {Basic::ConnectionType, Basic::NominalFrequency,
                                 Basic::NominalVoltage, Basic::NominalCurrent})
        EXPECT_TRUE(r.Grundwerte[f].isEmpty()) << f;
}

// Half the voltage class is the nominal voltage, the range end and the binary limit; a
// quarter of it the knee. Worked out for each of the three voltage classes.
TEST(Standardwerte, FollowTheVoltageAndCurrentClass) {
    const struct {
        double volts, amps;
        double half, quarter;
    } classes[] = {{600, 5, 300, 150}, {600, 1.2, 300, 150}, {120, 1.2, 60, 30}, {100, 1, 50, 25}};
    for (const auto& c : classes) {
        SCOPED_TRACE(std::to_string(c.volts) + " V / " + std::to_string(c.amps) + " A");
        Record r = startRecord();
        r.Anzahl_Analog = 2;
        r.Anzahl_Binaer = 5;
        r.Max_Spannung = c.volts;
        r.Max_Strom = c.amps;
        Standardwerte_laden(r);

        EXPECT_EQ(r.Anzahl_Analog, 2);  // the variant is kept
        EXPECT_EQ(r.Anzahl_Binaer, 5);
        const BasicRow g = {"0", "50", c.half, 0, 0, c.amps, 0, 0};
        EXPECT_EQ(r.Grundwerte, g);
        // 0..half V, knee at a quarter, -20..20 mA, knee out 0, limitation -24..24, no kink.
        const AnalogRow a = {0, 0, "V", 0, c.quarter, c.half, 0, -20, 0, 20, -24, 24, 0};
        for (const auto& row : r.Analogwerte) EXPECT_EQ(row, a);
        const BinaryRow b = {"0", "0", "0", "V", c.half, "0"};
        for (const auto& row : r.Binaerwerte) EXPECT_EQ(row, b);
        for (const auto& s : r.Schnittstellenwerte) EXPECT_EQ(s, Cell(0));
        // A new project is the same record.
        Record n = newProject(2, 5, c.volts, c.amps);
        EXPECT_EQ(n, r);
    }
}

TEST(Variant, OnlyWhatATxr30CanBe) {
    EXPECT_FALSE(checkVariant(1, 1, 600, 5));
    EXPECT_FALSE(checkVariant(4, 13, 100, 1.2));
    const double inf = std::numeric_limits<double>::infinity();
    const double bad[][4] = {{0, 1, 600, 5},  {5, 1, 600, 5}, {1.5, 1, 600, 5}, {1, 0, 600, 5},
                             {1, 14, 600, 5}, {1, 1, 0, 5},   {1, 1, 600, -1},  {1, 1, inf, 5}};
    for (const auto& v : bad) EXPECT_TRUE(checkVariant(v[0], v[1], v[2], v[3])) << v[0] << v[1];
    EXPECT_TRUE(checkVariant(std::numeric_limits<double>::quiet_NaN(), 1, 600, 5));
}

TEST(Variant, ConnectionCodes) {
    const char* codes[] = {"4U,", "4G,", "3U,", "3G,", "1,", ""};
    for (int t = 0; t < 6; ++t) EXPECT_EQ(connectionCode(t), codes[t]) << t;
    EXPECT_EQ(connectionCode(-1), "");
}

// The device's label table, written out row by row: label, codes, and which factor divides.
TEST(KennungSuchen, TheWholeLabelTable) {
    enum Scale { U, I, P, One };
    const struct {
        const char* label;
        std::vector<int> codes;
        Scale scale;
    } table[] = {
        {"U1", {0, 1000, 4000}, U},
        {"U2", {1}, U},
        {"U3", {2}, U},
        {"U12", {3, 2000, 3000}, U},
        {"U23", {4, 2001, 3001}, U},
        {"U31", {5, 2002, 3002}, U},
        {"U", {6}, U},
        {"I1", {10, 1010, 2010, 3010, 4010}, I},
        {"I2", {11, 2011}, I},
        {"I3", {12, 2012}, I},
        {"I", {13, 2013}, I},
        {"P", {20, 1020, 2020, 3020}, P},
        {"P1", {21, 2021, 4020}, P},
        {"P2", {22, 2022}, P},
        {"P3", {23, 2023}, P},
        {"Q", {30, 1030, 2030, 3030}, P},
        {"Q1", {31, 2031, 4030}, P},
        {"Q2", {32, 2032}, P},
        {"Q3", {33, 2033}, P},
        {"S", {40, 1040, 2040, 3040}, P},
        {"S1", {41, 2041, 4040}, P},
        {"S2", {42, 2042}, P},
        {"S3", {43, 2043}, P},
        {"PF", {50, 1050, 2050, 3050}, One},
        {"PF1", {51, 2051, 4050}, One},
        {"PF2", {52, 2052}, One},
        {"PF3", {53, 2053}, One},
        {"QF", {60, 1060, 2060, 3060}, One},
        {"QF1", {61, 2061, 4060}, One},
        {"QF2", {62, 2062}, One},
        {"QF3", {63, 2063}, One},
        {"PH", {70, 1070, 2070, 3070}, One},
        {"PH1", {71, 2071, 4070}, One},
        {"PH2", {72, 2072}, One},
        {"PH3", {73, 2073}, One},
        {"F", {80, 1080, 2080, 3080, 4080}, One},
        {"INP", {90, 1090, 2090, 3090, 4090}, One},
    };
    // Factors whose product is exact in single precision: voltage 3, current 7, power 21.
    const float scaleOf[] = {3.0f, 7.0f, 21.0f, 1.0f};
    std::map<int, std::pair<std::string, float>> expected;
    for (const auto& row : table)
        for (const int code : row.codes) expected[code] = {row.label, scaleOf[row.scale]};
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
