#include "config/record.h"

#include <gtest/gtest.h>

#include <limits>

#include "config/kennung.h"

namespace kalvo {
namespace {

TEST(RecordStart, OnlyClassesAndTransformerCellsAreSet) {
    const Record r = startRecord();
    EXPECT_EQ(r.Max_Spannung, 600);
    EXPECT_EQ(r.Max_Strom, 5);
    EXPECT_DOUBLE_EQ(r.Max_Spannung_LN, 346.410161513775);
    EXPECT_FALSE(r.hasConfiguration());
    EXPECT_EQ(r.Anzahl_Analog, 0);
    for (const int i : {3, 4, 6, 7}) EXPECT_TRUE(r.Grundwerte[i].equals(0)) << i;
    for (const int i : {0, 1, 2, 5}) EXPECT_TRUE(r.Grundwerte[i].isEmpty()) << i;
    EXPECT_TRUE(r.Analogwerte[0][0].isEmpty());
    EXPECT_TRUE(r.Schnittstellenwerte[36].isEmpty());
}

TEST(Standardwerte, FollowTheVoltageAndCurrentClass) {
    Record r = startRecord();
    r.Anzahl_Analog = 2;
    r.Anzahl_Binaer = 5;
    r.Max_Strom = 1.2;
    Standardwerte_laden(r);

    EXPECT_EQ(r.Anzahl_Analog, 2);  // the variant is kept
    EXPECT_EQ(r.Anzahl_Binaer, 5);
    EXPECT_EQ(r.Grundwerte[0], Cell("0"));
    EXPECT_EQ(r.Grundwerte[1], Cell("50"));
    EXPECT_TRUE(r.Grundwerte[1].equals(50));
    EXPECT_EQ(r.Grundwerte[2], Cell(300.0));
    EXPECT_EQ(r.Grundwerte[5], Cell(1.2));
    for (const int i : {3, 4, 6, 7}) EXPECT_EQ(r.Grundwerte[i], Cell(0)) << i;

    for (const auto& a : r.Analogwerte) {
        // 0..300 V, knee 150 V, -20..20 mA, knee out 0, limitation -24..24, no kink
        const Cell expected[kAnalogFields] = {0,   0, "V", 0,   150.0, 300.0, 0,
                                              -20, 0, 20,  -24, 24,    0};
        for (int f = 0; f < kAnalogFields; ++f) EXPECT_EQ(a[f], expected[f]) << f;
    }
    for (const auto& b : r.Binaerwerte) {
        const Cell expected[kBinaryFields] = {"0", "0", "0", "V", 300.0, "0"};
        for (int f = 0; f < kBinaryFields; ++f) EXPECT_EQ(b[f], expected[f]) << f;
    }
    for (const auto& s : r.Schnittstellenwerte) EXPECT_EQ(s, Cell(0));
}

TEST(Variant, OnlyWhatATxr30CanBe) {
    EXPECT_FALSE(checkVariant(1, 1, 600, 5));
    EXPECT_FALSE(checkVariant(4, 13, 100, 1.2));
    EXPECT_TRUE(checkVariant(0, 1, 600, 5));
    EXPECT_TRUE(checkVariant(5, 1, 600, 5));
    EXPECT_TRUE(checkVariant(1.5, 1, 600, 5));
    EXPECT_TRUE(checkVariant(1, 0, 600, 5));
    EXPECT_TRUE(checkVariant(1, 14, 600, 5));
    EXPECT_TRUE(checkVariant(1, 1, 0, 5));
    EXPECT_TRUE(checkVariant(1, 1, 600, -1));
    EXPECT_TRUE(checkVariant(1, 1, std::numeric_limits<double>::infinity(), 5));
    EXPECT_TRUE(checkVariant(std::numeric_limits<double>::quiet_NaN(), 1, 600, 5));
}

TEST(Variant, ConnectionCodes) {
    EXPECT_EQ(connectionCode(0), "4U,");
    EXPECT_EQ(connectionCode(1), "4G,");
    EXPECT_EQ(connectionCode(2), "3U,");
    EXPECT_EQ(connectionCode(3), "3G,");
    EXPECT_EQ(connectionCode(4), "1,");
    EXPECT_EQ(connectionCode(5), "");
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
}

TEST(KennungSuchen, CodesWithoutARowKeepTheLabelAndScaleOne) {
    for (const int code : {7, 14, 1001, 4001, 5000, -1}) {
        const Kennung k = Kennung_suchen(code, 10, 20);
        EXPECT_FALSE(k.label) << code;
        EXPECT_EQ(k.Skalierung, 1.0f) << code;
    }
}

}  // namespace
}  // namespace kalvo
