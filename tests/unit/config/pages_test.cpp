// The dialog's pages as values: fill from the record, store back, and every check at both
// sides of each limit. Grouped by page.
#include "config/pages.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <span>
#include <sstream>
#include <string>

#include "support/record_builder.h"

namespace kalvo {
namespace {

using test::RecordBuilder;

// The stop signs a check sets, as digits: "34" for stop signs 3 and 4.
std::string stops(const PageCheck& c) {
    std::string s;
    for (int i = 1; i <= 6; ++i)
        if (c.stop[static_cast<std::size_t>(i)]) s += std::to_string(i);
    return s;
}
std::string stopIf(bool fault, int stop) {
    return fault ? std::to_string(stop) : "";
}

// ---- basic page ------------------------------------------------------------------------------

// A basic page with a nominal voltage or, when `vtSecondary` is given, a voltage transformer
// 20 kV / vtSecondary; the current likewise (a transformer 100 A / ctSecondary).
BasicPage page(int type, const char* volts, const char* vtSecondary = nullptr,
               const char* amps = "1", const char* ctSecondary = nullptr) {
    BasicPage p;
    p.connectionType = type;
    p.nominalVoltage = volts;
    p.voltageTransformer = vtSecondary != nullptr;
    p.vtPrimary = "20";
    p.vtSecondary = vtSecondary ? vtSecondary : "";
    p.nominalCurrent = amps;
    p.currentTransformer = ctSecondary != nullptr;
    p.ctSecondary = ctSecondary ? ctSecondary : "";
    return p;
}
BasicPage amps(const char* nominal, const char* ctSecondary = nullptr) {
    return page(0, "230", nullptr, nominal, ctSecondary);
}

struct LimitCase {
    Record unit;
    const char* stops;
    BasicPage page;
};

TEST(BasicPage, VoltageAndCurrentLimitsPerClassAndConnectionType) {
    // 600 V class: 300 V phase voltage, 519.615242270664 V line voltage (a four-wire
    // transformer is connected line to line). 120 V class: 120 / root 3 = 69.282 V phase.
    const Record u600 = newProject(1, 1, 600, 5), u120 = newProject(1, 1, 120, 5);
    const Record a1 = newProject(1, 1, 600, 1), a12 = newProject(1, 1, 600, 1.2);
    const LimitCase voltages[] = {
        {u600, "1", page(2, "520")},       {u600, "", page(3, "519,615242270664")},
        {u600, "1", page(0, "301")},       {u600, "", page(0, "300")},
        {u600, "1", page(1, "300,001")},   {u600, "1", page(3, "", "0,6")},
        {u600, "", page(0, "", "0,519")},  {u600, "1", page(0, "", "0,52")},
        {u600, "", page(1, "", "0,3")},    {u600, "1", page(4, "", "0,31")},
        {u600, "1", page(2, "", "0")},     {u600, "1", page(0, "0")},
        {u120, "", page(0, "69,28")},      {u120, "1", page(0, "69,29")},
        {u120, "", page(2, "120")},        {u120, "1", page(2, "120,5")},
        {u120, "", page(2, "", "0,12")},   {u120, "1", page(0, "", "0,121")},
        {u120, "", page(1, "", "0,0692")}, {u120, "1", page(1, "", "0,0693")},
    };
    const LimitCase currents[] = {
        {u600, "", amps("5")},     {u600, "2", amps("5,1")},
        {a1, "2", amps("", "5")},  {a1, "", amps("", "1")},
        {a12, "2", amps("1,21")},  {u600, "2", amps("0")},
        {u600, "2", amps("", "")}, {u600, "12", page(0, "301", nullptr, "6")},
    };
    for (const auto cases :
         {std::span<const LimitCase>(voltages), std::span<const LimitCase>(currents)}) {
        for (const LimitCase& c : cases) {
            Record r = c.unit;
            const PageCheck check = Grund_speichern(r, c.page);
            EXPECT_EQ(stops(check), c.stops)
                << r.Max_Spannung << " type " << c.page.connectionType << " "
                << c.page.nominalVoltage << "/" << c.page.vtSecondary << " "
                << c.page.nominalCurrent << "/" << c.page.ctSecondary;
            EXPECT_EQ(check.Eingabefehler && check.showFrame, *c.stops != 0);
        }
    }
}

TEST(BasicPage, LimitText) {
    EXPECT_EQ(max_info(600, 5), "L-L 519,6V L-N 300V 5A");
    EXPECT_EQ(max_info(120, 1.2), "L-L 120V L-N 69,28V 1.2A");
    EXPECT_EQ(max_info(100, 1), "L-L 100V L-N 57,73V 1A");
    EXPECT_EQ(max_info(600, 2), "L-L 600V L-N 346,4V  5A");  // another class: the design text
    Record r = newProject(1, 1, 120, 1.2);
    EXPECT_EQ(Grund_pruefen(r, P_in_index(r, ',')).message, "L-L 120V L-N 69,28V 1.2A");
}

TEST(BasicPage, FillAndStore) {
    Record r =
        RecordBuilder(1, 1, 600, 5)
            .basic(Basic::NominalFrequency, 16.666, Basic::NominalVoltage, "230,94");  // as a file
    BasicPage p = P_in_index(r, ',');
    EXPECT_EQ(p, (BasicPage{0, 0, false, "230,94", "0", "0", false, "5", "0", "0"}));
    p.currentTransformer = true, p.ctPrimary = "150", p.ctSecondary = "1";
    Grund_speichern(r, p);
    EXPECT_EQ(r.Grundwerte, (BasicRow{0, 16.666, 230.94, 0, 0, 0, 150.0, 1}));
    r.Grundwerte[Basic::NominalVoltage] = 0;  // 0 means a transformer, even with a ratio 0 / 0
    EXPECT_TRUE(P_in_index(r, ',').currentTransformer && P_in_index(r, ',').voltageTransformer);

    // Frequencies the options do not have select none, and none stores nothing.
    for (const auto& [cell, option] :
         {std::pair<Cell, int>{"50", 1}, {60, 2}, {"16,666", 0}, {55, -1}, {Cell(), -1}}) {
        r.Grundwerte[Basic::NominalFrequency] = cell;
        p = P_in_index(r, ',');
        EXPECT_EQ(p.frequencyOption, option);
        Grund_speichern(r, p);
        if (option < 0) {
            EXPECT_EQ(r.Grundwerte[Basic::NominalFrequency], cell);
        }
    }
    // A connection type the list does not have is shown as none and kept.
    r.Grundwerte[Basic::ConnectionType] = 7;
    p = P_in_index(r, ',');
    EXPECT_EQ(p.connectionType, -1);
    Grund_speichern(r, p);
    EXPECT_EQ(r.Grundwerte[Basic::ConnectionType], Cell(7));
}

TEST(BasicPage, ComparedWithTheRecord) {
    const Record r = newProject(1, 1, 600, 5);  // type 0, 300 V, 5 A
    const auto changed = [&](auto edit) {
        BasicPage q = P_in_index(r, ',');
        edit(q);
        return Grund_vergleichen(r, q);
    };
    EXPECT_FALSE(changed([](BasicPage&) {}));
    EXPECT_FALSE(changed([](BasicPage& q) {
        q.nominalVoltage = "300,0";
        q.frequencyOption = 2;  // the frequency does not count
    }));
    EXPECT_TRUE(changed([](BasicPage& q) { q.connectionType = 2; }));
    EXPECT_TRUE(changed([](BasicPage& q) { q.nominalVoltage = "230"; }));
    EXPECT_TRUE(changed([](BasicPage& q) { q.voltageTransformer = true, q.vtPrimary = "20"; }));
    EXPECT_TRUE(changed([](BasicPage& q) { q.nominalCurrent = "1"; }));
    EXPECT_TRUE(changed([](BasicPage& q) { q.currentTransformer = true, q.ctSecondary = "5"; }));
    // With a transformer shown only its ratio counts: 0 / 0 equals a record without one.
    EXPECT_FALSE(
        changed([](BasicPage& q) { q.voltageTransformer = true, q.nominalVoltage = "1"; }));
}

TEST(BasicPage, SuffixAndPicture) {
    const struct {
        int type;
        bool transformer;
        const char *suffix, *picture;
    } cases[] = {
        {0, false, " (L - N)", "s4u.sb"}, {0, true, " (L - L)", "s4u.sb"},
        {1, true, " (L - N)", "s4g.sb"},  {2, false, " (L - L)", "s3u.sb"},
        {3, false, " (L - L)", "s3g.sb"}, {4, true, " (L - N)", "s1.sb"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(voltageSuffix(c.type, c.transformer), c.suffix) << c.type;
        EXPECT_EQ(wiringPicture(c.type), c.picture);
    }
    EXPECT_EQ(wiringPicture(5), "");
}

// ---- analog pages ----------------------------------------------------------------------------

// Output 0 of a 600 V / 5 A project at 230 V four-wire: voltage L1-N, 0 .. 230 V, 4 .. 20 mA.
Record at230() {
    return RecordBuilder(1, 1, 600, 5).basic(Basic::NominalVoltage, 230);
}
// Its page, with the fields named in `changes` ("end=230,001 kinked") changed.
AnalogPage analogPage(std::string_view changes = "") {
    AnalogPage p{0, 0, "V", "0", "230", "115", 0, "4", "20", "-24", "24", "12", false};
    const std::map<std::string, std::string*> texts = {
        {"unit", &p.unit},      {"start", &p.rangeStart}, {"end", &p.rangeEnd},
        {"knee", &p.kneeInput}, {"from", &p.outputStart}, {"to", &p.outputEnd},
        {"min", &p.limitMin},   {"max", &p.limitMax},     {"kneeOut", &p.kneeOutput}};
    std::istringstream in{std::string(changes)};
    for (std::string change; in >> change;) {
        const std::size_t eq = change.find('=');
        const std::string key = change.substr(0, eq), value = change.substr(eq + 1);
        if (texts.count(key)) *texts.at(key) = value;
        if (key == "q") p.quantity = std::stoi(value);
        if (key == "place") p.place = std::stoi(value);
        if (key == "mode") p.outputUnit = std::stoi(value);
        if (key == "kinked") p.kinked = true;
    }
    return p;
}

TEST(AnalogPage, EachGroupAtBothSidesOfItsLimits) {
    // Cases separated by '|', each the fields it changes, and the stop sign they set (0: none).
    // Range (3): power factor (q=5) 0 .. 1, not both 1; reactive factor (q=6) start -1 .. 0,
    // end 0 .. 1, not both 0. Output (4): +-20 mA (+-10 V, mode=1) within the limitation
    // +-24 mA (+-12 V). Knee (5), when kinked: within the range (power factor: up to 1).
    const std::pair<int, const char*> groups[] = {
        {0,
         "| place=3 end=398,372 | q=2 unit=kW start=-3,45 end=3,45 | q=5 start=0,5 end=1 "
         "| q=5 start=0 end=0 | q=5 start=1 end=0,5 | q=6 start=-1 end=1 | from=-20 to=20 "
         "| mode=1 from=-10 to=10 min=-12 max=12 | knee=100 kneeOut=10 kinked "
         "| knee=230 kneeOut=20 kinked | q=5 start=0,5 end=1 knee=1 kinked "
         "| q=5 start=1 end=0,5 knee=1 kinked"},
        {3,
         "end=230,001 | start=-0,001 | start=100 end=50 | place=3 end=398,373 "
         "| q=2 unit=kW start=-3,451 end=3,45 | q=5 start=1 end=1 | q=5 start=-0,1 end=1 "
         "| q=5 start=0,5 end=1,1 | q=5 start=1,1 end=0,5 | q=5 start=0,5 end=-0,1 "
         "| q=6 start=0 end=0 | q=6 start=0,1 end=1 | q=6 start=-1,1 end=1 "
         "| q=6 start=-1 end=1,1 | q=6 start=-1 end=-0,1"},
        {4,
         "from=-20,5 | to=20,5 | min=-24,5 | max=24,5 | min=5 | max=19 | from=4 to=4 "
         "| min=3 max=3 | mode=1 from=-11 to=10 min=-12 max=12 "
         "| mode=1 from=0 to=10,5 min=-12 max=12 | mode=1 from=0 to=10 min=-12,5 max=12 "
         "| mode=1 from=0 to=10 min=-12 max=12,5"},
        {5,
         "knee=231 kinked | start=10 knee=9 kinked | kneeOut=3 kinked | kneeOut=21 kinked "
         "| q=5 start=0,5 end=1 knee=1,01 kinked | q=5 start=0,5 end=1 knee=0,4 kinked"},
    };
    for (const auto& [stop, cases] : groups) {
        std::istringstream in(cases);
        for (std::string changes; std::getline(in, changes, '|');) {
            Record r = at230();
            AnalogPage p = analogPage(changes);
            const PageCheck check = Analog_speichern(r, 0, p, ',');
            EXPECT_EQ(stops(check), stopIf(stop != 0, stop)) << changes;
            EXPECT_EQ(check.Eingabefehler, stop != 0) << changes;
            // Only the range group shows the exclamation picture.
            EXPECT_EQ(check.exclamation, stop == 3) << changes;
        }
    }
    Record r = at230();
    AnalogPage p = analogPage("end=250 from=-21 kinked");  // the knee itself is fine
    const PageCheck both = Analog_speichern(r, 0, p, ',');
    EXPECT_EQ(stops(both), "34");
    EXPECT_EQ(both.message, "0,0 ... 230,0 V");
    // Straight: the knee is moved to the midpoint before it is stored, never a fault.
    p = analogPage("knee=999");
    EXPECT_EQ(stops(Analog_speichern(r, 0, p, ',')), "");
    EXPECT_EQ(p.kneeInput, "115");
    EXPECT_EQ(r.Analogwerte[0][Analog::KneeInput], Cell(115.0));
    EXPECT_EQ(r.Analogwerte[0][Analog::KneeOutput], Cell(12.0));
}

TEST(AnalogPage, FillAndStoreThroughThePrefix) {
    Record r = RecordBuilder(1, 1, 600, 5)
                   .analog(0, Analog::Quantity, 2, Analog::RangeUnit, "kW", Analog::RangeStart,
                           -3450, Analog::KneeInput, "1500", Analog::RangeEnd, "3450",
                           Analog::OutputUnit, 1, Analog::Kinked, 1);
    AnalogPage p = Analog_anzeigen(r, 0, ',');
    EXPECT_EQ(p, (AnalogPage{2, 0, "kW", "-3,45", "3,45", "1,5", 1, "-20", "20", "-24", "24", "0",
                             true}));
    p.rangeEnd = "3,2";
    Analog_speichern(r, 0, p, ',');
    EXPECT_EQ(r.Analogwerte[0],
              (AnalogRow{2, 0, "kW", -3450.0, 1500.0, 3200.0, 1, -20, 0, 20, -24, 24, 1}));
}

TEST(AnalogPage, KneeLabelsAndReset) {
    AnalogPage p = analogPage("start=1,23456 unit=kV mode=1");
    EXPECT_EQ(Knick_beschriften(p, ','),
              (std::array<std::string, 6>{"1,235", "230,0", "4", "20", "kV", "V"}));
    Knick_zuruecksetzen(p, ',');
    EXPECT_EQ(p.kneeInput, "115,6175");  // 1,235 / 2 + 230 / 2
    EXPECT_EQ(p.kneeOutput, "12");
    p.rangeStart = p.outputStart = "-";  // a lone minus counts as 0
    p.rangeEnd = "";
    p.outputEnd = "10";
    Knick_zuruecksetzen(p, ',');
    EXPECT_EQ(p.kneeInput, "0");
    EXPECT_EQ(p.kneeOutput, "5");
    p.quantity = 5;  // power factor: the knee input is 1
    Knick_zuruecksetzen(p, ',');
    EXPECT_EQ(p.kneeInput, "1");
}

// ---- binary pages ----------------------------------------------------------------------------

TEST(BinaryPage, LimitWithinTheAllowedRange) {
    // 230 V, 5 A four-wire, 120 % of the default range: current 0 .. 6 A, power -4.14 ..
    // 4.14 kW, voltage 0 .. 276 V, L1-L2 0 .. 478.046 V.
    const struct {
        int quantity, place;
        const char *unit, *limit;
        bool fault;
    } cases[] = {
        {1, 0, "A", "6", false},      {1, 0, "A", "6,5", true},     {1, 0, "A", "-0,1", true},
        {2, 0, "kW", "-4,14", false}, {2, 0, "kW", "-4,141", true}, {0, 0, "V", "276", false},
        {0, 0, "V", "276,1", true},   {0, 3, "V", "478", false},    {0, 3, "V", "478,1", true},
    };
    for (const auto& c : cases) {
        Record r = at230();
        const PageCheck check =
            Binaer_speichern(r, 0, {ModeLimit, c.quantity, c.place, c.unit, c.limit, 1}, ',');
        EXPECT_EQ(stops(check), stopIf(c.fault, 6)) << c.quantity << ' ' << c.limit << c.unit;
        EXPECT_EQ(check.exclamation, c.fault);
    }
    Record r = newProject(1, 1, 600, 5);
    EXPECT_EQ(Binaer_speichern(r, 0, {ModeLimit, 1, 0, "A", "6,5", 0}, ',').message,
              "0,0 ... 6,0 A");
    // A quantity beyond the list is not checked.
    r.Binaerwerte[0][Binary::Quantity] = 12;
    EXPECT_FALSE(Binaer_pruefen(r, 0, ',').Eingabefehler);
}

TEST(BinaryPage, OtherModesStoreZeros) {
    Record r = newProject(1, 5, 600, 5);
    for (const int mode : {ModeOff, ModeOnWhileOk}) {
        // What the hidden controls hold is not stored.
        EXPECT_EQ(Binaer_speichern(r, 4, {mode, 3, 2, "kVar", "99999", 1}, ','), PageCheck{});
        EXPECT_EQ(r.Binaerwerte[4], (BinaryRow{mode, 0, 0, 0, 0, 0}));
    }
    const BinaryPage limit{ModeLimit, 1, 0, "A", "4,5", 1};
    Binaer_speichern(r, 4, limit, ',');
    EXPECT_EQ(r.Binaerwerte[4], (BinaryRow{2, 1, 0, "A", 4.5, 1}));
    EXPECT_EQ(Binaer_anzeigen(r, 4, ','), limit);
    r.Binaerwerte[4][Binary::Unit] = "kW";
    r.Binaerwerte[4][Binary::Limit] = "1500";
    EXPECT_EQ(Binaer_anzeigen(r, 4, ',').limit, "1,5");
    // Off: the zeros are not shown; the limit controls hold the voltage proposal (300 V).
    r.Binaerwerte[4] = {0, 0, 0, 0, 0, 0};
    EXPECT_EQ(Binaer_anzeigen(r, 4, ','), (BinaryPage{ModeOff, 0, 0, "V", "300", 0}));
}

// ---- interface page --------------------------------------------------------------------------

TEST(InterfacePage, BoxesPerConnectionType) {
    const auto enabledOf = [](int type) {
        std::set<int> on;
        for (int i = 0; i < kInterfaceCells; ++i)
            if (Schnittstelle_freigeben(type)[static_cast<std::size_t>(i)]) on.insert(i);
        return on;
    };
    std::set<int> all, threeWire{36};
    for (int i = 0; i <= 36; ++i) all.insert(i);
    for (int i = 3; i <= 34; ++i) threeWire.insert(i);
    EXPECT_EQ(enabledOf(0), all);
    EXPECT_EQ(enabledOf(1), (std::set<int>{0, 6, 9, 13, 17, 21, 25, 30, 33, 34}));
    EXPECT_EQ(enabledOf(2), threeWire);  // U1, U2, U3 and U off, I on
    EXPECT_EQ(enabledOf(3), (std::set<int>{3, 4, 5, 6, 9, 13, 17, 21, 25, 30, 33, 34}));
    EXPECT_EQ(enabledOf(4), (std::set<int>{0, 6, 10, 14, 18, 22, 26, 30, 33, 34}));
    EXPECT_EQ(enabledOf(9), (std::set<int>{34}));
}

TEST(InterfacePage, DisabledBoxesStoreZeroOnceShown) {
    Record r = RecordBuilder(1, 1, 600, 5).connection(1).flags({0, 1, 2, 34, 35});
    r.Schnittstellenwerte[6] = "1";
    Schnittstelle_speichern(r, Schnittstelle_anzeigen(r));
    for (int i = 0; i < kInterfaceCells; ++i) {
        const bool on = i == 0 || i == 6 || i == 34;
        EXPECT_EQ(r.Schnittstellenwerte[static_cast<std::size_t>(i)], Cell(on ? 1 : 0)) << i;
    }
}

// ---- reset -----------------------------------------------------------------------------------

TEST(Reset, EveryOutputToTheVoltageDefaults) {
    Record r = RecordBuilder(4, 9, 600, 5).basic(Basic::NominalVoltage, 230);
    for (auto& a : r.Analogwerte) a[Analog::Quantity] = 3;
    for (auto& b : r.Binaerwerte) b[Binary::Mode] = 2;
    for (auto& s : r.Schnittstellenwerte) s = 1;
    Ausgaenge_zuruecksetzen(r);
    for (const auto& a : r.Analogwerte) EXPECT_EQ(a, defaultAnalogOutput("V", 230));
    for (const auto& b : r.Binaerwerte) EXPECT_EQ(b, (BinaryRow{0, 0, 0, "V", 230.0, 0}));
    for (const auto& s : r.Schnittstellenwerte) EXPECT_EQ(s, Cell(0));

    // 20 kV on three-wire: 20 kV, knee 10 kV; the binary unit follows 120 % (24 kV).
    r = RecordBuilder(4, 9, 600, 5).connection(2).vt(20, 0.1);
    Ausgaenge_zuruecksetzen(r);
    EXPECT_EQ(r.Analogwerte[2],
              (AnalogRow{0, 0, "kV", 0, 10000.0, 20000.0, 0, -20, 0, 20, -24, 24, 0}));
    EXPECT_EQ(r.Binaerwerte[12], (BinaryRow{0, 0, 0, "kV", 20000.0, 0}));

    // 900 V line voltage: the analog range stays in V, the binary 1080 V is shown in kV.
    r.Grundwerte[Basic::NominalVoltage] = 900;
    Ausgaenge_zuruecksetzen(r);
    EXPECT_EQ(r.Analogwerte[0][Analog::RangeUnit], Cell("V"));
    EXPECT_EQ(r.Binaerwerte[0][Binary::Unit], Cell("kV"));
}

}  // namespace
}  // namespace kalvo
