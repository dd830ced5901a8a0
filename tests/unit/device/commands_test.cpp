// The device texts of a record: number rewriting, the command list for whole records, and
// whether a record can be sent to a device at all.
#include <gtest/gtest.h>

#include <optional>

#include "device/programming.h"
#include "device_test_support.h"
#include "support/record_builder.h"

namespace kalvo::test {
namespace {

TEST(ZahlAnhaengen, CommaBecomesPointAndIsCutTwoDigitsAfterIt) {
    const std::pair<Cell, const char*> cases[] = {
        {Cell("12,3456"), "12.34"},
        {Cell("-0,129"), "-0.12"},  // cut, not rounded
        {Cell(2.999), "2.99"},
        {Cell(-10.5), "-10.5"},
        {Cell(","), ","},  // one character stays
        {Cell(), ""},
        {Cell("0.005"), "0.005"},  // no comma: whole
    };
    for (const auto& [cell, text] : cases) EXPECT_EQ(Zahl_anhaengen(cell, ','), text) << text;
    EXPECT_EQ(Zahl_anhaengen(Cell(12.3456), '.'), "12.3456");
}

TEST(ProgrammingCommands, WholeRecordsWorkedOutByHand) {
    EXPECT_EQ(programmingCommands(fourWireWithTransformers(), ','), kFourWireCommands);
    EXPECT_EQ(programmingCommands(threeWire(), ','), kThreeWireCommands);
    EXPECT_EQ(programmingCommands(singlePhase(), ','), kSinglePhaseCommands);

    Frames english = kSinglePhaseCommands;
    english[0] = "-S 1,1,1,16.666";
    english[4] = "-D1,:4:16.666:230:0:0:5:0:0:1:1:0000000000000000000000000000000000011";
    english[5] = "-D2,:5:0::0.5:0.75:0.5:0:4:12:20:0:24:0";
    EXPECT_EQ(programmingCommands(singlePhase(), '.'), english);
}

TEST(ProgrammingCommands, SingleCommandsOfModifiedRecords) {
    Record r = singlePhase();
    // Quantity 10 has no label: the last one found (the analog output's) stays, and a
    // quantity above 9 takes "|" instead of a direction.
    r.Binaerwerte[0] = {Cell(2), Cell(10), Cell(0), Cell("V"), Cell(5), Cell(0)};
    EXPECT_EQ(programmingCommands(r, ',')[2], "-M B1,PF1,5|");

    // Only the divisor is single precision: 1234567.89 W keeps its cents (not ...875).
    Record p = threeWire();
    p.Analogwerte[0][Analog::Quantity] = Cell(ActivePower);
    p.Analogwerte[0][Analog::Place] = Cell(0);
    p.Analogwerte[0][Analog::RangeStart] = Cell(-1234567.89);
    p.Analogwerte[0][Analog::KneeInput] = Cell(0);
    p.Analogwerte[0][Analog::RangeEnd] = Cell(1234567.89);
    EXPECT_EQ(programmingCommands(p, ',')[1],
              "-M A1,P,-1234567.89,0,1234567.89,mA,-20,0,20,-24,24,0");

    // A 4A/1D four-wire record: four analog commands before the copy; 4U in the system command.
    Record d = threeWire();
    d.Anzahl_Analog = 4;
    d.Grundwerte = {Cell(0), Cell(16.666), Cell(230), Cell(0), Cell(0), Cell(5), Cell(0), Cell(0)};
    const Frames c = programmingCommands(d, ',');
    EXPECT_EQ(c[0], "-S 4U,1,1,16,666");
    EXPECT_EQ(c[7], "-D1,:0:16,666:230:0:0:5:0:0:4:1:0000000000000000000000000000000000000");
}

// The interface cells against the device's code list written out here, in its order.
TEST(ProgrammingCommands, EachInterfaceCellHasItsOwnCode) {
    const char* const codes[kInterfaceCells] = {
        ",U1",  ",U2",  ",U3",  ",U12", ",U23", ",U31", ",I1",  ",I2",  ",I3",  ",P",
        ",P1",  ",P2",  ",P3",  ",Q",   ",Q1",  ",Q2",  ",Q3",  ",S",   ",S1",  ",S2",
        ",S3",  ",PF",  ",PF1", ",PF2", ",PF3", ",QF",  ",QF1", ",QF2", ",QF3", ",ph",
        ",ph1", ",ph2", ",ph3", ",F",   ",INP", ",U",   ",I"};
    std::string all = "-M S,FF,E";
    for (const char* code : codes) all += code;
    Record r = threeWire();
    for (Cell& cell : r.Schnittstellenwerte) cell = Cell("1");  // as read from a file
    // The interface command follows the one analog and the one binary command of a 1A/1D.
    EXPECT_EQ(programmingCommands(r, ',')[3], all);
}

// The divisor of a quantity is single precision: 10 kV / 0,11 kV is 90.90909..., as a float
// 11915636 x 2^-17 = 90.909088134765625. So 10000 V gives 110.0000033569..., cut to "110.00"
// (the exact factor would give "110"); the knee 5000 V "55.00" and the limit 11000 V "121.00".
TEST(ProgrammingCommands, RangesAndLimitsAreDividedByTheSinglePrecisionFactor) {
    const Record r =
        RecordBuilder(1, 1, 120, 5)
            .connection(FourWireUnbalanced)
            .vt(10, 0.11)
            .analog(0, Analog::Quantity, Voltage, Analog::Place, 0, Analog::RangeUnit, "kV",
                    Analog::RangeStart, 0, Analog::KneeInput, 5000, Analog::RangeEnd, 10000,
                    Analog::OutputStart, 4, Analog::KneeOutput, 12, Analog::OutputEnd, 20,
                    Analog::LimitMin, 0, Analog::LimitMax, 24)
            .binary(0, Binary::Mode, ModeLimit, Binary::Quantity, Voltage, Binary::Place, 0,
                    Binary::Unit, "kV", Binary::Limit, 11000, Binary::Direction, 0);
    const Frames c = programmingCommands(r, ',');
    EXPECT_EQ(c[1], "-M A1,U1,0,55.00,110.00,mA,4,12,20,0,24,0");
    EXPECT_EQ(c[2], "-M B1,U1,121.00>");
}

TEST(CheckRecordSendable, CountsAndTransformerRatiosMustBeUsable) {
    const struct {
        const char* name;
        Record record;
        std::optional<Basic::Field> zero;  // a Grundwerte cell set to 0
        int analog, binary;
        bool sendable;
    } cases[] = {
        {"four-wire", fourWireWithTransformers(), {}, 2, 5, true},
        {"no analog output", threeWire(), {}, 0, 1, false},
        {"five analog outputs", threeWire(), {}, 5, 1, false},
        {"14 binary outputs", threeWire(), {}, 1, 14, false},
        {"voltage transformer without secondary", fourWireWithTransformers(), Basic::VtSecondary, 2,
         5, false},
        {"current transformer without primary", fourWireWithTransformers(), Basic::CtPrimary, 2, 5,
         false},
        {"no transformer: ratio cells unused", threeWire(), Basic::CtSecondary, 1, 1, true},
    };
    for (auto c : cases) {
        if (c.zero) c.record.Grundwerte[*c.zero] = Cell(0);
        c.record.Anzahl_Analog = c.analog;
        c.record.Anzahl_Binaer = c.binary;
        EXPECT_EQ(checkRecordSendable(c.record, ',').sendable(), c.sendable) << c.name;
    }
}

// Every code sent must exist, and every cell must reach the device and come back unchanged.
TEST(CheckRecordSendable, CodesTheDeviceHasAndTextsThatTravel) {
    using P = CellProblem;
    const struct {
        Table table;
        int row;
        std::size_t field;
        Cell value;
        P problem;  // None: the record is still sent
    } cases[] = {
        {Table::Basic, 0, Basic::ConnectionType, Cell("7"), P::UnknownCode},
        {Table::Basic, 0, Basic::ConnectionType, Cell(2.5), P::UnknownCode},
        {Table::Basic, 0, Basic::ConnectionType, Cell("0,0"), P::None},
        {Table::Analog, 0, Analog::Quantity, Cell(65536), P::UnknownCode},
        {Table::Analog, 0, Analog::Place, Cell(10), P::UnknownCode},  // not code 10, I1
        {Table::Analog, 0, Analog::Place, Cell(6), P::None},          // "U"
        {Table::Binary, 1, Binary::Mode, Cell("7"), P::UnknownCode},
        {Table::Binary, 2, Binary::Place, Cell(7), P::UnknownCode},  // U1 .. U only
        {Table::Binary, 2, Binary::Direction, Cell(2), P::UnknownCode},
        {Table::Binary, 1, Binary::Quantity, Cell(65536), P::None},  // "on": not sent
        {Table::Binary, 4, Binary::Quantity, Cell(10), P::UnknownCode},
        // Texts: the copy splits at colons, frames end at CR or LF, the line is Windows-1252.
        {Table::Analog, 0, Analog::RangeUnit, Cell("xx:yy"), P::Colon},
        {Table::Binary, 3, Binary::Unit, Cell("A\tB"), P::ControlCharacter},
        {Table::Binary, 3, Binary::Unit, Cell("\xC2\x81"), P::ControlCharacter},  // U+0081
        {Table::Analog, 1, Analog::RangeUnit, Cell("kΩ"), P::NotWindows1252},
        {Table::Analog, 1, Analog::RangeUnit, Cell("k\xFF"), P::NotWindows1252},  // no UTF-8
        // Numbers: a comma beyond the decimal one would add a field to "-S" or "-M A".
        {Table::Basic, 0, Basic::NominalFrequency, Cell("50,0,1"), P::NotANumber},
        {Table::Analog, 1, Analog::OutputStart, Cell(","), P::NotANumber},
        {Table::Analog, 1, Analog::Kinked, Cell(), P::NotANumber},
        {Table::Analog, 1, Analog::OutputStart, Cell("-10,5"), P::None},
        // A unit its quantity does not have changes nothing that is sent.
        {Table::Analog, 1, Analog::RangeUnit, Cell("k,V"), P::None},
        {Table::Binary, 4, Binary::Unit, Cell("€ÿ°"), P::None},
    };
    for (const auto& c : cases) {
        Record r = fourWireWithTransformers();
        const auto row = static_cast<std::size_t>(c.row);
        Cell& cell = c.table == Table::Basic    ? r.Grundwerte[c.field]
                     : c.table == Table::Analog ? r.Analogwerte[row][c.field]
                                                : r.Binaerwerte[row][c.field];
        cell = c.value;
        const RecordCheck check = checkRecordSendable(r, ',');
        const std::string name = ::testing::PrintToString(c.value.toText(','));
        if (c.problem == P::None) {
            EXPECT_TRUE(check.sendable()) << name << ' ' << check.cell.text;
            continue;
        }
        EXPECT_EQ(check.fault, RecordFault::Cell) << name;
        EXPECT_EQ(check.cell, (CellFault{c.table, c.row, c.field, c.problem, c.value.toText(',')}))
            << name;
    }
}

TEST(CheckHardwareFits, ClassesCoverTheNominalValuesAtTheirBoundaries) {
    // Type, nominal voltage, voltage transformer secondary in kV, nominal current, current
    // transformer secondary (a transformer secondary 0: none).
    auto record = [](int type, double volts, double vtKv, double amps, double ctA) {
        RecordBuilder b(1, 1, 400, 1.2);
        b.connection(type).basic(Basic::NominalVoltage, volts, Basic::NominalCurrent, amps);
        if (vtKv > 0) b.vt(20, vtKv);
        if (ctA > 0) b.ct(100, ctA);
        return Record(b);
    };
    const struct {
        const char* name;
        Record record;
        HardwareInfo hw;
        bool fits;
    } cases[] = {
        {"counts equal", threeWire(), {1, 1, 400, 1}, true},
        {"two analog outputs", threeWire(), {2, 1, 400, 1}, false},
        {"five binary outputs", threeWire(), {1, 5, 400, 1}, false},
        // Four-wire and single-phase hold the phase voltage: 230 x 1.732 = 398.4.
        {"4U 230 V on 400", record(0, 230, 0, 1, 0), {1, 1, 400, 1}, true},
        {"4U 230 V on 398", record(0, 230, 0, 1, 0), {1, 1, 398, 1}, false},
        {"4G 240 V on 400", record(1, 240, 0, 1, 0), {1, 1, 400, 1}, false},
        {"1 230 V on 398", record(4, 230, 0, 1, 0), {1, 1, 398, 1}, false},
        {"3U 400 V on 400", record(2, 400, 0, 1, 0), {1, 1, 400, 1}, true},
        {"3G 400 V on 399", record(3, 400, 0, 1, 0), {1, 1, 399, 1}, false},
        // A transformer secondary counts in volts: 0.1 kV = 100 V.
        {"4U 0.1 kV on 100", record(0, 0, 0.1, 1, 0), {1, 1, 100, 1}, true},
        {"4U 0.1 kV on 99", record(0, 0, 0.1, 1, 0), {1, 1, 99, 1}, false},
        {"3U 0.1 kV on 100", record(2, 0, 0.1, 1, 0), {1, 1, 100, 1}, true},
        {"3G 0.1 kV on 99", record(3, 0, 0.1, 1, 0), {1, 1, 99, 1}, false},
        {"1 0.1 kV on 174", record(4, 0, 0.1, 1, 0), {1, 1, 174, 1}, true},
        {"1 0.1 kV on 173", record(4, 0, 0.1, 1, 0), {1, 1, 173, 1}, false},
        {"5 A on 5", record(2, 100, 0, 5, 0), {1, 1, 120, 5}, true},
        {"5 A on 1.2", record(2, 100, 0, 5, 0), {1, 1, 120, 1.2}, false},
        {"CT 1 A on 1", record(2, 100, 0, 0, 1), {1, 1, 120, 1}, true},
        {"CT 5 A on 1.2", record(2, 100, 0, 0, 5), {1, 1, 120, 1.2}, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(checkHardwareFits(c.record, c.hw).empty(), c.fits) << c.name;
}

}  // namespace
}  // namespace kalvo::test
