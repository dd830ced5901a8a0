// The rules about a record that programming, the command line, the dialog, the data sheet and
// the live values share.
#include "config/rules.h"

#include <gtest/gtest.h>

#include <cmath>

namespace kalvo {
namespace {

TEST(Rules, ListIndexesAndCountsRoundToTheNearestWholeNumber) {
    const std::pair<Cell, int> cases[] = {
        {Cell("2"), 2},   {Cell(1.6), 2}, {Cell(1.4), 1},   {Cell("2,5"), 3},
        {Cell(-0.4), 0},  {Cell("x"), 0}, {Cell(), 0},      {Cell(1e7), -1},
        {Cell(-2.0), -2}, {Cell("4"), 4}, {Cell(" 3 "), 3}, {Cell("1.5"), 2},
    };
    for (const auto& [cell, index] : cases) EXPECT_EQ(cellIndex(cell), index) << cell.toText('.');
    Record r = newProject(1, 1, 600, 5);
    r.Grundwerte[Basic::ConnectionType] = Cell(2.6);  // the dialog and the device agree: 3
    EXPECT_EQ(connectionType(r), ThreeWireBalanced);
    EXPECT_EQ(connectionCode(connectionType(r)), "3G,");
}

TEST(Rules, TransformersAndTheirFactors) {
    Record r = newProject(1, 1, 600, 5);
    EXPECT_FALSE(voltageTransformerInUse(r));
    EXPECT_FALSE(currentTransformerInUse(r));
    EXPECT_EQ(Wandler_Faktor_U(r), 1.0);
    EXPECT_EQ(Wandler_Faktor_I(r), 1.0);

    // 20 kV / 0,1 kV and 100 A / 5 A, as a file holds them.
    r.Grundwerte[Basic::NominalVoltage] = Cell("0");
    r.Grundwerte[Basic::VtPrimary] = Cell("20");
    r.Grundwerte[Basic::VtSecondary] = Cell("0,1");
    r.Grundwerte[Basic::NominalCurrent] = Cell(0);
    r.Grundwerte[Basic::CtPrimary] = Cell(100);
    r.Grundwerte[Basic::CtSecondary] = Cell(5);
    EXPECT_TRUE(voltageTransformerInUse(r));
    EXPECT_TRUE(currentTransformerInUse(r));
    EXPECT_DOUBLE_EQ(Wandler_Faktor_U(r), 200.0);
    EXPECT_DOUBLE_EQ(Wandler_Faktor_I(r), 20.0);
    // A secondary of 0 gives no finite factor: programming refuses such a record.
    r.Grundwerte[Basic::VtSecondary] = Cell(0);
    EXPECT_FALSE(std::isfinite(Wandler_Faktor_U(r)));
}

TEST(Rules, QuantityCodesAndOutputUnits) {
    EXPECT_EQ(Groessencode(FourWireUnbalanced, Current, 3), 13);
    EXPECT_EQ(Groessencode(SinglePhase, ActivePower, 0), 4020);
    Record r = newProject(2, 2, 600, 5);
    r.Grundwerte[Basic::ConnectionType] = Cell("2");
    r.Analogwerte[1][Analog::Quantity] = Cell("3");
    r.Analogwerte[1][Analog::Place] = Cell(1);
    r.Binaerwerte[1][Binary::Quantity] = Cell(8);
    r.Binaerwerte[1][Binary::Place] = Cell("0");
    EXPECT_EQ(analogCode(r, 1), 2031);
    EXPECT_EQ(binaryCode(r, 1), 2080);
    for (const auto& [cell, unit] : {std::pair{Cell(1), "V"},
                                     {Cell("1"), "V"},
                                     {Cell(0), "mA"},
                                     {Cell(2), "mA"},
                                     {Cell(), "mA"}}) {
        AnalogRow row{};
        row[Analog::OutputUnit] = cell;
        EXPECT_EQ(outputUnitText(row), unit) << cell.toText('.');
        EXPECT_EQ(outputInVolts(row), std::string_view(unit) == "V");
    }
}

TEST(Rules, TheReadableDescription) {
    Record r = newProject(1, 2, 120, 1.2);
    r.Grundwerte[Basic::ConnectionType] = Cell(FourWireUnbalanced);
    r.Grundwerte[Basic::NominalFrequency] = Cell("16,666");
    r.Grundwerte[Basic::NominalVoltage] = Cell(0);
    r.Grundwerte[Basic::VtPrimary] = Cell(20);
    r.Grundwerte[Basic::VtSecondary] = Cell(0.1);
    r.Analogwerte[0][Analog::Quantity] = Cell(ActivePower);
    r.Analogwerte[0][Analog::RangeUnit] = Cell("MW");
    r.Analogwerte[0][Analog::OutputUnit] = Cell(1);
    r.Binaerwerte[0][Binary::Mode] = Cell(ModeOnWhileOk);
    r.Binaerwerte[1][Binary::Mode] = Cell(ModeLimit);
    r.Binaerwerte[1][Binary::Quantity] = Cell(Current);
    r.Binaerwerte[1][Binary::Direction] = Cell(1);
    r.Binaerwerte[1][Binary::Limit] = Cell(0.5);
    r.Binaerwerte[1][Binary::Unit] = Cell("A");
    r.Schnittstellenwerte[0] = Cell(1);
    r.Schnittstellenwerte[33] = Cell("1");
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
