// The rules about a record that programming, the command line, the dialog, the data sheet and
// the live values share.
#include "config/rules.h"

#include <gtest/gtest.h>

#include <cmath>

#include "support/record_builder.h"

namespace kalvo {
namespace {

TEST(Rules, ListIndexesAndCountsRoundToTheNearestWholeNumber) {
    const std::pair<Cell, int> cases[] = {
        {Cell(1.6), 2},  {Cell(1.4), 1},   {Cell("2,5"), 3}, {Cell(-0.4), 0},  {Cell("x"), 0},
        {Cell(1e7), -1}, {Cell(-2.0), -2}, {Cell(" 3 "), 3}, {Cell("1.5"), 2},
    };
    for (const auto& [cell, index] : cases) EXPECT_EQ(cellIndex(cell), index) << cell.toText('.');
    Record r = newProject(1, 1, 600, 5);
    r.Grundwerte[Basic::ConnectionType] = Cell(2.6);  // the dialog and the device agree: 3
    EXPECT_EQ(connectionType(r), ThreeWireBalanced);
    EXPECT_EQ(connectionCode(connectionType(r)), "3G,");
}

TEST(Rules, TransformersAndTheirFactors) {
    const Record none = test::RecordBuilder(1, 1, 600, 5);
    EXPECT_FALSE(voltageTransformerInUse(none) || currentTransformerInUse(none));
    EXPECT_EQ(Wandler_Faktor_U(none), 1.0);
    EXPECT_EQ(Wandler_Faktor_I(none), 1.0);
    // 20 kV / 0,1 kV and 100 A / 5 A, the voltage as a file holds it.
    Record r =
        test::RecordBuilder(1, 1, 600, 5)
            .ct(100, 5)
            .basic(Basic::NominalVoltage, "0", Basic::VtPrimary, "20", Basic::VtSecondary, "0,1");
    EXPECT_TRUE(voltageTransformerInUse(r) && currentTransformerInUse(r));
    EXPECT_DOUBLE_EQ(Wandler_Faktor_U(r), 200.0);
    EXPECT_DOUBLE_EQ(Wandler_Faktor_I(r), 20.0);
    // A secondary of 0 gives no finite factor: programming refuses such a record.
    r.Grundwerte[Basic::VtSecondary] = Cell(0);
    EXPECT_FALSE(std::isfinite(Wandler_Faktor_U(r)));
}

TEST(Rules, QuantityCodesAndOutputUnits) {
    EXPECT_EQ(Groessencode(FourWireUnbalanced, Current, 3), 13);
    EXPECT_EQ(Groessencode(SinglePhase, ActivePower, 0), 4020);
    const Record r = test::RecordBuilder(2, 2, 600, 5)
                         .connection("2")
                         .analog(1, Analog::Quantity, "3", Analog::Place, 1)
                         .binary(1, Binary::Quantity, 8, Binary::Place, "0");
    EXPECT_EQ(analogCode(r, 1), 2031);
    EXPECT_EQ(binaryCode(r, 1), 2080);
    const std::pair<Cell, const char*> units[] = {
        {1, "V"}, {"1", "V"}, {0, "mA"}, {2, "mA"}, {Cell(), "mA"}};
    for (const auto& [cell, unit] : units) {
        AnalogRow row{};
        row[Analog::OutputUnit] = cell;
        EXPECT_EQ(outputUnitText(row), unit) << cell.toText('.');
        EXPECT_EQ(outputInVolts(row), std::string_view(unit) == "V");
    }
}

TEST(Rules, TheReadableDescription) {
    Record r =
        test::RecordBuilder(1, 2)
            .basic(Basic::ConnectionType, FourWireUnbalanced, Basic::NominalFrequency, "16,666")
            .vt(20, 0.1)
            .analog(0, Analog::Quantity, ActivePower, Analog::RangeUnit, "MW", Analog::OutputUnit,
                    1)
            .binary(0, Binary::Mode, ModeOnWhileOk)
            .binary(1, Binary::Mode, ModeLimit, Binary::Quantity, Current, Binary::Direction, 1,
                    Binary::Limit, 0.5, Binary::Unit, "A")
            .flags({0});
    r.Schnittstellenwerte[33] = Cell("1");  // as a file holds it
    EXPECT_EQ(describeRecord(r),
              "variant: TXR 3.0 1A/2D\n"
              "input class: 120 V, 1.2 A\n"
              "connection: 4U Four wire unbalanced\n"
              "frequency: 16.666 Hz\n"
              "voltage: transformer 20 kV / 0.1 kV\n"
              "current: 1.2 A\n"
              "analog 1: P (MW), range 0 .. 60, knee 30 -> 0 V, signal -20 .. 20 V, limits -24 "
              ".. 24 V, kinked off\n"
              "binary 1: on while OK\n"
              "binary 2: limit I1 < 0.5 (A)\n"
              "interface: 0 33\n");
}

}  // namespace
}  // namespace kalvo
