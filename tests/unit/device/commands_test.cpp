// The device texts of a record: number rewriting, the command list for whole records, and
// whether a device's hardware fits a record.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "device/programming.h"
#include "device_test_support.h"

namespace kalvo::test {
namespace {

using Commands = std::vector<std::string>;

// ---- numbers in output commands ----------------------------------------------------------

TEST(ZahlAnhaengen, CommaBecomesPointAndTheTextIsCutTwoDigitsAfterIt) {
    EXPECT_EQ(Zahl_anhaengen(Cell("0,5"), ','), "0.5");
    EXPECT_EQ(Zahl_anhaengen(Cell("12,3456"), ','), "12.34");
    EXPECT_EQ(Zahl_anhaengen(Cell("0,005"), ','), "0.00");
    // Cut, not rounded, also below zero.
    EXPECT_EQ(Zahl_anhaengen(Cell("-0,129"), ','), "-0.12");
    EXPECT_EQ(Zahl_anhaengen(Cell(2.999), ','), "2.99");
    EXPECT_EQ(Zahl_anhaengen(Cell(-10.5), ','), "-10.5");
}

TEST(ZahlAnhaengen, TextsWithoutCommaAndSingleCharactersStayWhole) {
    EXPECT_EQ(Zahl_anhaengen(Cell(20000), ','), "20000");
    EXPECT_EQ(Zahl_anhaengen(Cell("-24"), ','), "-24");
    EXPECT_EQ(Zahl_anhaengen(Cell("5"), ','), "5");
    EXPECT_EQ(Zahl_anhaengen(Cell(","), ','), ",");
    EXPECT_EQ(Zahl_anhaengen(Cell(), ','), "");
    // A point separator is no comma: the text goes out whole.
    EXPECT_EQ(Zahl_anhaengen(Cell(12.3456), '.'), "12.3456");
    EXPECT_EQ(Zahl_anhaengen(Cell("0.005"), ','), "0.005");
}

// ---- the command list for whole records ---------------------------------------------------

TEST(ProgrammingCommands, FourWireWithVoltageAndCurrentTransformers) {
    // Voltage factor 20 / 0.1 = 200, current factor 100 / 5 = 20, powers 4000.
    const Commands expected = {
        "-S 4U,1,1,50",
        "-M A1,U1,0,50,100,mA,4,12,20,0,24,0",
        // 1234588 / 4000 = 308.647, cut to 308.64.
        "-M A2,P,-308.64,0,308.64,V,-10,0,10,-10.5,10.5,0",
        "-M B1,off",
        "-M B2,on",
        "-M B3,U12,55>",  // 11000 / 200
        "-M B4,I3,4<",    // 80 / 20
        "-M B5,F,50.5>",  // frequency is not scaled
        "-M S,FF,E,U1,U31,P,PF1,ph,F,INP,I",
        // Cells 0, 5, 9, 22, 29, 33, 34, 36 set.
        "-D1,:0:50:0:20:0,1:0:100:5:2:5:1000010001000000000000100000010001101",
        "-D2,:0:0:kV:0:10000:20000:0:4:12:20:0:24:0"
        ":2:0:MW:-1234588:0:1234588:1:-10:0:10:-10,5:10,5:1",
        "-D3,:0:0:0:0:0:0:1:0:0:0:0:0:2:0:3:kV:11000:0:2:1:2:A:80:1:2:8:0:Hz:50,5:0",
    };
    EXPECT_EQ(programmingCommands(fourWireWithTransformers(), ','), expected);
}

TEST(ProgrammingCommands, ThreeWireWithoutTransformers) {
    const Commands expected = {
        "-S 3U,1,1,60",
        "-M A1,U23,0,240,480,mA,-20,0,20,-24,24,0",
        "-M B1,PF,0.95<",
        "-M S,FF,E",
        "-D1,:2:60:400:0:0:1:0:0:1:1:0000000000000000000000000000000000000",
        "-D2,:0:1:V:0:240:480:0:-20:0:20:-24:24:1",
        "-D3,:2:5:0::0,95:1",
    };
    EXPECT_EQ(programmingCommands(threeWire(), ','), expected);
}

TEST(ProgrammingCommands, SinglePhasePowerFactorOnGermanAndEnglishSystems) {
    // Power factor 0.5 .. 0.5: start 0.5 - 1, end 1 - 0.5, knee their middle; the record's
    // own knee (0.75) is not sent but stays in the copy.
    const Commands german = {
        "-S 1,1,1,16,666",
        "-M A1,PF1,-0.5,0,0.5,mA,4,12,20,0,24,0",
        "-M B1,INP,5>",
        "-M S,FF,E,U,I",
        "-D1,:4:16,666:230:0:0:5:0:0:1:1:0000000000000000000000000000000000011",
        "-D2,:5:0::0,5:0,75:0,5:0:4:12:20:0:24:0",
        "-D3,:2:9:0:V:5:0",
    };
    EXPECT_EQ(programmingCommands(singlePhase(), ','), german);

    const Commands english = {
        "-S 1,1,1,16.666",
        "-M A1,PF1,-0.5,0,0.5,mA,4,12,20,0,24,0",
        "-M B1,INP,5>",
        "-M S,FF,E,U,I",
        "-D1,:4:16.666:230:0:0:5:0:0:1:1:0000000000000000000000000000000000011",
        "-D2,:5:0::0.5:0.75:0.5:0:4:12:20:0:24:0",
        "-D3,:2:9:0:V:5:0",
    };
    EXPECT_EQ(programmingCommands(singlePhase(), '.'), english);
}

TEST(ProgrammingCommands, ExamplesOfSingleCommands) {
    // Analog output 2 on U1 behind a 20 kV / 0.1 kV transformer.
    Record r = fourWireWithTransformers();
    r.Analogwerte[1] = r.Analogwerte[0];
    EXPECT_EQ(programmingCommands(r, ',')[2], "-M A2,U1,0,50,100,mA,4,12,20,0,24,0");

    // Binary output 1 on U1 without transformer, 230 V exceeding / falling below / mode 1.
    Record b = threeWire();
    b.Grundwerte = {Cell(0), Cell(50), Cell(230), Cell(0), Cell(0), Cell(5), Cell(0), Cell(0)};
    b.Binaerwerte[0] = {Cell(2), Cell(0), Cell(0), Cell("V"), Cell(230), Cell(0)};
    EXPECT_EQ(programmingCommands(b, ',')[2], "-M B1,U1,230>");
    b.Binaerwerte[0][5] = Cell(1);
    EXPECT_EQ(programmingCommands(b, ',')[2], "-M B1,U1,230<");
    b.Binaerwerte[0] = {Cell(1), Cell(0), Cell(0), Cell(0), Cell(0), Cell(0)};
    EXPECT_EQ(programmingCommands(b, ',')[2], "-M B1,on");

    // Interface cells 0, 5 and 33.
    b.Schnittstellenwerte[0] = Cell(1);
    b.Schnittstellenwerte[5] = Cell(1);
    b.Schnittstellenwerte[33] = Cell(1);
    EXPECT_EQ(programmingCommands(b, ',')[3], "-M S,FF,E,U1,U31,F");

    // The device copy of a 4A/1D record at 230 V and 5 A.
    Record d = threeWire();
    d.Anzahl_Analog = 4;
    d.Grundwerte = {Cell(0), Cell(50), Cell(230), Cell(0), Cell(0), Cell(5), Cell(0), Cell(0)};
    EXPECT_EQ(programmingCommands(d, ',')[7],
              "-D1,:0:50:230:0:0:5:0:0:4:1:0000000000000000000000000000000000000");

    // 16.666 Hz on a German system keeps its comma in the system command.
    d.Grundwerte[1] = Cell(16.666);
    EXPECT_EQ(programmingCommands(d, ',')[0], "-S 4U,1,1,16,666");
}

TEST(ProgrammingCommands, TextCellsFromAFileOrADeviceGiveTheSameCommands) {
    Record r = fourWireWithTransformers();
    Record t = r;
    for (auto& c : t.Grundwerte) c = Cell(c.toText(','));
    for (auto& row : t.Analogwerte)
        for (auto& c : row) c = Cell(c.toText(','));
    for (auto& row : t.Binaerwerte)
        for (auto& c : row) c = Cell(c.toText(','));
    for (auto& c : t.Schnittstellenwerte) c = Cell(c.toText(','));
    EXPECT_EQ(programmingCommands(t, ','), programmingCommands(r, ','));
}

TEST(ProgrammingCommands, UnknownQuantityKeepsThePreviousLabelAndBarsTheDirection) {
    // Quantity index 10 has no label: the last one found (the analog output's) stays, and a
    // quantity above 9 takes "|" instead of a direction.
    Record r = singlePhase();
    r.Binaerwerte[0] = {Cell(2), Cell(10), Cell(0), Cell("V"), Cell(5), Cell(0)};
    EXPECT_EQ(programmingCommands(r, ',')[2], "-M B1,PF1,5|");
}

TEST(ProgrammingCommands, ScaledValuesKeepDoublePrecision) {
    // Only the divisor is single precision: 1234567.89 W divided by 1 keeps its cents
    // (as a float it would be 1234567.875).
    Record r = threeWire();
    r.Analogwerte[0][0] = Cell(2);  // P
    r.Analogwerte[0][1] = Cell(0);
    r.Analogwerte[0][3] = Cell(-1234567.89);
    r.Analogwerte[0][4] = Cell(0);
    r.Analogwerte[0][5] = Cell(1234567.89);
    EXPECT_EQ(programmingCommands(r, ',')[1],
              "-M A1,P,-1234567.89,0,1234567.89,mA,-20,0,20,-24,24,0");
}

// ---- records that cannot be sent ------------------------------------------------------------

TEST(CheckRecordSendable, CountsAndTransformerRatiosMustBeUsable) {
    EXPECT_EQ(checkRecordSendable(fourWireWithTransformers()), "");
    EXPECT_EQ(checkRecordSendable(threeWire()), "");

    Record r = threeWire();
    r.Anzahl_Analog = 0;
    EXPECT_NE(checkRecordSendable(r), "");
    r.Anzahl_Analog = 5;
    EXPECT_NE(checkRecordSendable(r), "");
    r = threeWire();
    r.Anzahl_Binaer = 14;
    EXPECT_NE(checkRecordSendable(r), "");

    Record v = fourWireWithTransformers();
    v.Grundwerte[4] = Cell(0);  // voltage transformer without secondary
    EXPECT_NE(checkRecordSendable(v), "");
    Record i = fourWireWithTransformers();
    i.Grundwerte[6] = Cell(0);  // current transformer without primary
    EXPECT_NE(checkRecordSendable(i), "");
    // Without transformers the ratio cells do not matter.
    Record n = threeWire();
    n.Grundwerte[4] = Cell(0);
    n.Grundwerte[7] = Cell(0);
    EXPECT_EQ(checkRecordSendable(n), "");
}

// ---- does the device fit the record ---------------------------------------------------------

HardwareInfo hw(int analog, int binary, double voltage, double current) {
    return {analog, binary, voltage, current};
}

Record direct(int type, double volts, double amps) {
    Record r = threeWire();
    r.Grundwerte = {Cell(type), Cell(50),   Cell(volts), Cell(0),
                    Cell(0),    Cell(amps), Cell(0),     Cell(0)};
    return r;
}

Record withVoltageTransformer(int type, double secondaryKv) {
    Record r = direct(type, 0, 1);
    r.Grundwerte[3] = Cell(20);
    r.Grundwerte[4] = Cell(secondaryKv);
    return r;
}

TEST(CheckHardwareFits, OutputCountsMustBeEqual) {
    const Record r = threeWire();  // 1A/1D
    EXPECT_EQ(checkHardwareFits(r, hw(1, 1, 400, 1)), "");
    EXPECT_NE(checkHardwareFits(r, hw(2, 1, 400, 1)), "");
    EXPECT_NE(checkHardwareFits(r, hw(1, 5, 400, 1)), "");
}

TEST(CheckHardwareFits, DirectVoltageIsLineToLineForFourWireAndSinglePhase) {
    for (int type : {0, 1, 4}) {
        SCOPED_TRACE("type " + std::to_string(type));
        // 230 x 1.732 = 398.37 fits a 400 V class; 240 x 1.732 = 415.7 does not.
        EXPECT_EQ(checkHardwareFits(direct(type, 230, 1), hw(1, 1, 400, 1)), "");
        EXPECT_NE(checkHardwareFits(direct(type, 230, 1), hw(1, 1, 398, 1)), "");
        EXPECT_NE(checkHardwareFits(direct(type, 240, 1), hw(1, 1, 400, 1)), "");
    }
    for (int type : {2, 3}) {
        SCOPED_TRACE("type " + std::to_string(type));
        EXPECT_EQ(checkHardwareFits(direct(type, 400, 1), hw(1, 1, 400, 1)), "");
        EXPECT_NE(checkHardwareFits(direct(type, 400, 1), hw(1, 1, 399, 1)), "");
    }
}

TEST(CheckHardwareFits, TransformerSecondaryCountsInVolts) {
    for (int type : {0, 1, 2, 3}) {
        SCOPED_TRACE("type " + std::to_string(type));
        // 0.1 kV is 100 V: fails only below 100.
        EXPECT_EQ(checkHardwareFits(withVoltageTransformer(type, 0.1), hw(1, 1, 100, 1)), "");
        EXPECT_NE(checkHardwareFits(withVoltageTransformer(type, 0.1), hw(1, 1, 99, 1)), "");
    }
    // Single-phase: 100 V x 1.732 = 173.2.
    EXPECT_EQ(checkHardwareFits(withVoltageTransformer(4, 0.1), hw(1, 1, 174, 1)), "");
    EXPECT_NE(checkHardwareFits(withVoltageTransformer(4, 0.1), hw(1, 1, 173, 1)), "");
}

TEST(CheckHardwareFits, CurrentAgainstNominalOrTransformerSecondary) {
    EXPECT_EQ(checkHardwareFits(direct(2, 100, 5), hw(1, 1, 120, 5)), "");
    EXPECT_NE(checkHardwareFits(direct(2, 100, 5), hw(1, 1, 120, 1.2)), "");
    EXPECT_EQ(checkHardwareFits(direct(2, 100, 1.2), hw(1, 1, 120, 1.2)), "");

    Record ct = direct(2, 100, 0);
    ct.Grundwerte[6] = Cell(100);
    ct.Grundwerte[7] = Cell(1);
    EXPECT_EQ(checkHardwareFits(ct, hw(1, 1, 120, 1)), "");
    ct.Grundwerte[7] = Cell(5);
    EXPECT_NE(checkHardwareFits(ct, hw(1, 1, 120, 1.2)), "");
    EXPECT_EQ(checkHardwareFits(ct, hw(1, 1, 120, 5)), "");
}

}  // namespace
}  // namespace kalvo::test
