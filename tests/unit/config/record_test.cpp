#include "config/record.h"

#include <gtest/gtest.h>

#include <limits>

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
    for (const int i : {3, 4, 6, 7}) EXPECT_TRUE(r.Grundwerte[i].equals(0)) << i;
    for (const int i : {0, 1, 2, 5}) EXPECT_TRUE(r.Grundwerte[i].isEmpty()) << i;
}

TEST(Standardwerte, FollowTheVoltageAndCurrentClass) {
    Record r = startRecord();
    r.Anzahl_Analog = 2;
    r.Anzahl_Binaer = 5;
    r.Max_Strom = 1.2;
    Standardwerte_laden(r);

    EXPECT_EQ(r.Anzahl_Analog, 2);  // the variant is kept
    EXPECT_EQ(r.Anzahl_Binaer, 5);
    const std::array<Cell, 8> g = {"0", "50", 300.0, 0, 0, 1.2, 0, 0};
    EXPECT_EQ(r.Grundwerte, g);
    // 0..300 V, knee 150 V, -20..20 mA, knee out 0, limitation -24..24, no kink.
    const std::array<Cell, kAnalogFields> a = {0,   0, "V", 0,   150.0, 300.0, 0,
                                               -20, 0, 20,  -24, 24,    0};
    for (const auto& row : r.Analogwerte) EXPECT_EQ(row, a);
    const std::array<Cell, kBinaryFields> b = {"0", "0", "0", "V", 300.0, "0"};
    for (const auto& row : r.Binaerwerte) EXPECT_EQ(row, b);
    for (const auto& s : r.Schnittstellenwerte) EXPECT_EQ(s, Cell(0));
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

TEST(KennungSuchen, LabelAndScaleByQuantity) {
    const double u = 1000 / 0.1;  // 1 kV : 100 V
    const double i = 100.0 / 5.0;
    struct Case {
        int code;
        const char* label;
        float scale;
    };
    const Case cases[] = {
        {0, "U1", 10000.0f},     {1, "U2", 10000.0f},     {3000, "U12", 10000.0f},
        {6, "U", 10000.0f},      {13, "I", 20.0f},        {2013, "I", 20.0f},
        {4010, "I1", 20.0f},     {20, "P", 200000.0f},    {4020, "P1", 200000.0f},
        {4040, "S1", 200000.0f}, {2033, "Q3", 200000.0f}, {50, "PF", 1.0f},
        {73, "PH3", 1.0f},       {4080, "F", 1.0f},       {3090, "INP", 1.0f},
    };
    for (const auto& c : cases) {
        const Kennung k = Kennung_suchen(c.code, u, i);
        EXPECT_EQ(k.label, c.label) << c.code;
        EXPECT_EQ(k.Skalierung, c.scale) << c.code;
    }
    // Single precision: the divisor is the float nearest to the factor.
    EXPECT_EQ(Kennung_suchen(1, 1.0 / 3.0, 1).Skalierung, 1.0f / 3.0f);
    // Codes without a row keep the label and scale 1.
    for (const int code : {7, 14, 1001, 4001, 5000, -1}) {
        const Kennung k = Kennung_suchen(code, 10, 20);
        EXPECT_FALSE(k.label) << code;
        EXPECT_EQ(k.Skalierung, 1.0f) << code;
    }
}

}  // namespace
}  // namespace kalvo
