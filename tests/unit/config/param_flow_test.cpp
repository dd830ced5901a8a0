// The dialog's protocol over the record: leaving pages, the reset after a change of the basic
// settings, OK, and the check of a whole record with its fault lines.
#include "config/param_flow.h"

#include <gtest/gtest.h>

#include "support/record_builder.h"

namespace kalvo {
namespace {

// A 2A/1D project for a 600 V / 5 A unit, as the dialog sees it after New.
struct Dialog {
    Record record = newProject(2, 1, 600, 5);
    DialogFlags flags;  // after New: the reset comes without the notice
    BasicPage basic = P_in_index(record, ',');

    // Leaves page `index` holding `page` for another page.
    Leave leave(int index, PageContent page) {
        return leavePage(record, flags, index, basic, page, ',');
    }
    Leave leaveBasic() { return leave(0, basic); }
};

TEST(LeavingPages, ABasicChangeResetsTheOutputsWithTheNoticeOnlyAfterOtherPages) {
    Dialog d;
    d.record.Analogwerte[0][Analog::Quantity] = 1;
    Leave l = d.leaveBasic();  // unchanged: nothing is reset
    EXPECT_FALSE(l.stay || l.reset || d.record.Analogwerte[0][Analog::Quantity] != Cell(1));
    EXPECT_TRUE(d.flags.Ruecksetzmeldung_aus);  // leaving the basic page keeps it

    d.basic.connectionType = ThreeWireUnbalanced, d.basic.nominalVoltage = "400";
    l = d.leaveBasic();
    EXPECT_TRUE(l.reset && !l.notice && !d.flags.Grund_geaendert);  // no notice right after New
    EXPECT_EQ(d.record.Analogwerte[1][Analog::RangeEnd], Cell(400.0));

    // Leaving an analog page turns the notice on for the next reset.
    l = d.leave(1, Analog_anzeigen(d.record, 0, ','));
    EXPECT_FALSE(l.reset || d.flags.Ruecksetzmeldung_aus);
    d.basic.connectionType = SinglePhase, d.basic.nominalVoltage = "230";
    l = d.leaveBasic();
    EXPECT_TRUE(l.reset && l.notice);
    EXPECT_EQ(d.record.Analogwerte[0][Analog::RangeEnd], Cell(230.0));
}

TEST(LeavingPages, AFaultKeepsTheUserAndResetsNothingUntilItIsCorrected) {
    Dialog d;
    d.record.Analogwerte[0][Analog::Quantity] = 1;
    d.basic.connectionType = FourWireBalanced;
    d.basic.nominalVoltage = "301";  // above the 300 V phase limit
    Leave l = d.leaveBasic();
    EXPECT_TRUE(l.stay && l.check.stop[1] && d.flags.Eingabefehler);
    EXPECT_FALSE(l.reset);
    EXPECT_EQ(d.record.Grundwerte[Basic::NominalVoltage], Cell(301.0));  // stored, then checked
    EXPECT_EQ(d.record.Analogwerte[0][Analog::Quantity], Cell(1));

    // The corrected page differs from what the faulty store wrote: now the reset comes.
    d.basic.nominalVoltage = "230";
    l = d.leaveBasic();
    EXPECT_TRUE(l.reset && !l.stay && !d.flags.Eingabefehler);
    EXPECT_EQ(d.record.Analogwerte[0][Analog::Quantity], Cell(0));
}

TEST(LeavingPages, AFaultyOutputPageStaysWithoutReset) {
    Dialog d;
    AnalogPage a = Analog_anzeigen(d.record, 1, ',');
    a.rangeEnd = "400";
    d.basic.nominalCurrent = "2";  // a change on the basic page, not yet stored
    const Leave l = d.leave(2, a);
    EXPECT_TRUE(l.stay && l.check.stop[3] && !l.reset);
    EXPECT_EQ(l.check.message, "0,0 ... 300,0 V");
    EXPECT_EQ(d.record.Analogwerte[1][Analog::RangeEnd], Cell(400.0));
}

TEST(OkButton, ClosesWhenCleanStaysWhenFaultyOrAfterTheNotice) {
    Dialog d;
    PageContent a = Analog_anzeigen(d.record, 0, ',');
    OkLeave ok = acceptPage(d.record, d.flags, 1, d.basic, a, ',');
    EXPECT_TRUE(ok.close && d.flags.Ruecksetzmeldung_aus);  // OK keeps the notice switch

    std::get<AnalogPage>(a).outputStart = "-30";
    ok = acceptPage(d.record, d.flags, 1, d.basic, a, ',');
    EXPECT_TRUE(!ok.close && ok.check.stop[4]);

    // A basic change: silently reset and closed after New; the notice keeps the dialog open.
    d.basic.nominalVoltage = "230";
    PageContent basic = d.basic;
    ok = acceptPage(d.record, d.flags, 0, d.basic, basic, ',');
    EXPECT_TRUE(ok.reset && ok.close);
    d.flags.Ruecksetzmeldung_aus = false;
    d.basic.nominalVoltage = "220";
    basic = d.basic;
    ok = acceptPage(d.record, d.flags, 0, d.basic, basic, ',');
    EXPECT_TRUE(ok.reset && ok.notice && !ok.close && !d.flags.Grund_geaendert);
}

TEST(CheckRecord, ANewProjectIsClean) {
    for (const auto& [volts, amps] : {std::pair{600.0, 5.0}, {120.0, 1.2}, {100.0, 1.0}})
        EXPECT_TRUE(checkRecord(newProject(4, 9, volts, amps), ',').empty()) << volts;
}

TEST(CheckRecord, FaultsPageByPageWithTheirLines) {
    // 301 V, no current and no transformer ratio; output 2 in volts, -20 .. 20 does not fit.
    Record r = test::RecordBuilder(2, 5, 600, 5)
                   .basic(Basic::NominalVoltage, "301", Basic::NominalCurrent, 0)
                   .analog(1, Analog::RangeEnd, 400, Analog::OutputUnit, 1)
                   .analog(0, Analog::Kinked, 1, Analog::KneeOutput, 25)
                   .binary(3, Binary::Mode, 2, Binary::Quantity, 1, Binary::Unit, "A",
                           Binary::Limit, "6,5");
    EXPECT_EQ(
        faultLines(r, Language::German, ','),
        (std::vector<std::string>{
            "Grundeinstellungen\t1\tNenneingangsspannung: höchstens 300 V, Sekundärspannung "
            "höchstens 0,3 kV, nicht beide 0",
            "Grundeinstellungen\t2\tNenneingangsstrom: höchstens 5 A, Sekundärstrom höchstens 5 A, "
            "nicht beide 0",
            "Analogausgang 1\t5\tKnickpunkt: Eingang 0,0 ... 300,0 V, Ausgang -20 ... 20 mA",
            "Analogausgang 2\t3\tMeßbereich: Ende über dem Maximum, erlaubt 0,0 ... 301,0 V",
            "Analogausgang 2\t4\tAusgangssignal: Anfang unter Ende innerhalb -10 ... 10 V, "
            "Begrenzung min unter max innerhalb -12 ... 12 V, Signal innerhalb der Begrenzung",
            "Binärausgang 4\t6\tGrenzwert: erlaubt 0,0 ... 0,0 A",  // no current without ratio
        }));
    // The question before programming names the pages.
    const std::string list = faultList(r, Language::German, ',');
    EXPECT_EQ(list.substr(0, list.find('\n')),
              "Grundeinstellungen – Nenneingangsspannung: höchstens 300 V, Sekundärspannung "
              "höchstens 0,3 kV, nicht beide 0");

    // A range breaks its default range at either end or in its order.
    r.Analogwerte[1][Analog::RangeStart] = 500;
    EXPECT_EQ(faultText(r, {2, 3}, Language::German, ','),
              "Meßbereich: Anfang über dem Ende, Ende über dem Maximum, erlaubt 0,0 ... 301,0 V");
    r.Analogwerte[1][Analog::RangeStart] = -1;
    r.Analogwerte[1][Analog::RangeEnd] = 300;
    EXPECT_EQ(faultText(r, {2, 3}, Language::English, ','),
              "Measuring range: start below the minimum, allowed 0,0 ... 301,0 V");
}

// Cells that cannot be sent are faults of the page and stop sign of their field; an output
// whose quantity does not exist has no range to check against.
TEST(CheckRecord, CellsThatCannotBeSentOnTheirPages) {
    // Voltage has 7 places; a current limit in volts.
    Record r =
        test::RecordBuilder(1, 2, 600, 5).analog(0, Analog::Place, 10, Analog::KneeOutput, "0:0");
    r.Binaerwerte[1] = {2, 1, 0, "V", 5, 0};
    const std::vector<PageFault> faults = checkRecord(r, ',');
    ASSERT_EQ(faults.size(), 3u);
    EXPECT_EQ(faultLine(r, faults[0], Language::German, ','),
              "Analogausgang 1\t3\tMeßort 10 gibt es nicht");
    EXPECT_EQ(faultLine(r, faults[1], Language::English, '.'),
              "Analog output 1\t5\tKnee point output \"0:0\" contains a colon");
    EXPECT_TRUE(faults[2].page == 3 && faults[2].stop == 6 &&
                faults[2].cell.problem == CellProblem::UnknownUnit);
}

TEST(CheckRecord, ExplanationsOfTheOtherGroups) {
    Record r = test::RecordBuilder(1, 1, 120, 1.2).connection(2).vt(20, 0.2);
    EXPECT_EQ(
        faultText(r, {0, 1}, Language::English, ','),
        "Nominal input voltage: at most 120 V, secondary voltage at most 0,12 kV, not both 0");
    // Limits as the page shows them: four digits, cut.
    r.Grundwerte[Basic::ConnectionType] = 0;
    r.Grundwerte[Basic::NominalVoltage] = 100;
    EXPECT_EQ(faultText(r, {0, 1}, Language::German, ','),
              "Nenneingangsspannung: höchstens 69,28 V, Sekundärspannung höchstens 0,06928 kV, "
              "nicht beide 0");
    r.Max_Strom = 1.23456;
    EXPECT_EQ(faultText(r, {0, 2}, Language::English, '.').substr(0, 37),
              "Nominal input current: at most 1.234 ");
    r.Analogwerte[0][Analog::Quantity] = 5;
    EXPECT_EQ(faultText(r, {1, 3}, Language::German, ','),
              "Meßbereich: Anfang und Ende 0 ... 1, nicht beide 1");
    r.Analogwerte[0][Analog::Quantity] = 6;
    EXPECT_EQ(faultText(r, {1, 3}, Language::English, ','),
              "Measuring range: start -1 ... 0, end 0 ... 1, not both 0");
}

TEST(DiagramButton, TheWidenedDialogStaysOnTheAvailableScreen) {
    const ScreenRect screen{0, 0, 1280, 1024};
    const struct {
        ScreenRect wanted, available;
        int picture, rest;
        DiagramPlace place;
    } cases[] = {
        // 96 dpi: 14400 twips are 960 px at 53 px (800 twips), as the family places it.
        {{53, 100, 960, 467}, screen, 427, 527, {{53, 100, 960, 467}, 427}},
        // 150 %: 1440 px on a 1280 px screen: as wide as the screen, at its left edge; the
        // picture gets what the rest leaves.
        {{80, 100, 1440, 700}, screen, 640, 800, {{0, 100, 1280, 700}, 480}},
        // Dragged off to the right and below, it moves back; taller than the area, it is cut.
        {{900, 900, 960, 467}, screen, 427, 527, {{320, 557, 960, 467}, 427}},
        {{80, 0, 1440, 1100}, screen, 640, 1400, {{0, 0, 1280, 1024}, 0}},
        // A screen left of the main one, a task bar at its top.
        {{-1500, 0, 960, 467}, {-1280, 40, 1280, 984}, 427, 527, {{-1280, 40, 960, 467}, 427}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(placeDiagram(c.wanted, c.picture, c.rest, c.available), c.place) << c.wanted.x;
    }
}

}  // namespace
}  // namespace kalvo
