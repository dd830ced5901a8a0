// The dialog's pages as values: fill from the record, store back, and every check at both
// sides of each limit. Grouped by page.
#include "config/pages.h"

#include <gtest/gtest.h>

#include <set>

namespace kalvo {
namespace {

std::set<int> stops(const PageCheck& c) {
    std::set<int> s;
    for (int i = 1; i <= 6; ++i) {
        if (c.stop[static_cast<std::size_t>(i)]) s.insert(i);
    }
    return s;
}

// ---- basic page ------------------------------------------------------------------------------

// A basic page for a connection type with a nominal voltage or, when `vtSecondary` is given, a
// voltage transformer; current 1 A unless said.
BasicPage page(int type, const char* volts, const char* vtSecondary = nullptr,
               const char* amps = "1", const char* ctSecondary = nullptr) {
    BasicPage p;
    p.connectionType = type;
    p.nominalVoltage = volts;
    if (vtSecondary) {
        p.voltageTransformer = true;
        p.vtPrimary = "20";
        p.vtSecondary = vtSecondary;
    }
    p.nominalCurrent = amps;
    if (ctSecondary) {
        p.currentTransformer = true;
        p.ctPrimary = "100";
        p.ctSecondary = ctSecondary;
    }
    return p;
}

TEST(BasicPage, VoltageLimitsPerClassAndConnectionType) {
    struct Case {
        double voltageClass;
        BasicPage page;
        bool fault;
    };
    const Case cases[] = {
        // 600 V class: 300 V phase voltage, 519.615242270664 V line voltage.
        {600, page(2, "520"), true},
        {600, page(2, "519"), false},
        {600, page(3, "519,615242270664"), false},
        {600, page(0, "301"), true},
        {600, page(0, "300"), false},
        {600, page(1, "300,001"), true},
        {600, page(4, "300"), false},
        {600, page(3, "", "0,1"), false},
        {600, page(3, "", "0,6"), true},
        {600, page(0, "", "0,519"), false},  // a four-wire transformer is line to line
        {600, page(0, "", "0,52"), true},
        {600, page(1, "", "0,3"), false},
        {600, page(4, "", "0,31"), true},
        {600, page(2, "", "0"), true},  // no voltage at all
        {600, page(0, "0"), true},
        {600, page(0, "abc"), true},  // not a number: stored as 0
        // 120 V class: 120 / 1.73205080756888 = 69.282 V phase voltage.
        {120, page(0, "69,28"), false},
        {120, page(0, "69,29"), true},
        {120, page(2, "120"), false},
        {120, page(2, "120,5"), true},
        {120, page(2, "", "0,12"), false},
        {120, page(0, "", "0,121"), true},
        {120, page(1, "", "0,0692"), false},
        {120, page(1, "", "0,0693"), true},
        // 100 V class: 57.735 V phase voltage.
        {100, page(4, "57,73"), false},
        {100, page(4, "57,74"), true},
        {100, page(3, "100"), false},
        {100, page(3, "101"), true},
    };
    for (const Case& c : cases) {
        Record r = newProject(1, 1, c.voltageClass, 1);
        const PageCheck check = Grund_speichern(r, c.page);
        EXPECT_EQ(stops(check), c.fault ? std::set<int>{1} : std::set<int>{})
            << c.voltageClass << " type " << c.page.connectionType << ' ' << c.page.nominalVoltage
            << '/' << (c.page.voltageTransformer ? c.page.vtSecondary : "-");
        EXPECT_EQ(check.Eingabefehler, c.fault);
        EXPECT_EQ(check.showFrame, c.fault);
    }
}

TEST(BasicPage, CurrentLimits) {
    struct Case {
        double currentClass;
        BasicPage page;
        bool fault;
    };
    const Case cases[] = {
        {5, page(0, "230", nullptr, "5"), false},     {5, page(0, "230", nullptr, "5,1"), true},
        {1, page(0, "230", nullptr, "", "5"), true},  // 100 A / 5 A on a 1 A device
        {1, page(0, "230", nullptr, "", "1"), false}, {1.2, page(0, "230", nullptr, "1,2"), false},
        {1.2, page(0, "230", nullptr, "1,21"), true}, {5, page(0, "230", nullptr, "0"), true},
        {5, page(0, "230", nullptr, "", ""), true},  // both empty: both 0
    };
    for (const Case& c : cases) {
        Record r = newProject(1, 1, 600, c.currentClass);
        EXPECT_EQ(stops(Grund_speichern(r, c.page)), c.fault ? std::set<int>{2} : std::set<int>{})
            << c.currentClass << ' ' << c.page.nominalCurrent << '/' << c.page.ctSecondary;
    }
    // Both groups at once.
    Record r = newProject(1, 1, 600, 5);
    EXPECT_EQ(stops(Grund_speichern(r, page(0, "400", nullptr, "6"))), (std::set<int>{1, 2}));
}

TEST(BasicPage, LimitText) {
    const struct {
        double volts, amps;
        const char* text;
    } cases[] = {
        {600, 5, "L-L 519,6V L-N 300V 5A"},     {600, 1.2, "L-L 519,6V L-N 300V 1.2A"},
        {600, 1, "L-L 519,6V L-N 300V 1A"},     {120, 5, "L-L 120V L-N 69,28V 5A"},
        {120, 1.2, "L-L 120V L-N 69,28V 1.2A"}, {120, 1, "L-L 120V L-N 69,28V 1A"},
        {100, 5, "L-L 100V L-N 57,73V 5A"},     {100, 1.2, "L-L 100V L-N 57,73V 1.2A"},
        {100, 1, "L-L 100V L-N 57,73V 1A"},     {230, 5, "L-L 600V L-N 346,4V  5A"},
        {600, 2, "L-L 600V L-N 346,4V  5A"},
    };
    for (const auto& c : cases) EXPECT_EQ(max_info(c.volts, c.amps), c.text);
    Record r = newProject(1, 1, 120, 1.2);
    EXPECT_EQ(Grund_pruefen(r, P_in_index(r, ',')).message, "L-L 120V L-N 69,28V 1.2A");
}

TEST(BasicPage, FillAndStore) {
    Record r = newProject(1, 1, 600, 5);
    r.Grundwerte[Basic::NominalFrequency] = 16.666;
    r.Grundwerte[Basic::NominalVoltage] = "230,94";  // as a file holds it
    BasicPage p = P_in_index(r, ',');
    EXPECT_EQ(p.frequencyOption, 0);
    EXPECT_EQ(p.nominalVoltage, "230,94");
    EXPECT_FALSE(p.voltageTransformer);
    EXPECT_EQ(p.vtPrimary, "0");
    EXPECT_EQ(p.nominalCurrent, "5");

    p.currentTransformer = true;
    p.ctPrimary = "150";
    p.ctSecondary = "1";
    Grund_speichern(r, p);
    const BasicRow expected = {0, 16.666, 230.94, 0, 0, 0, 150.0, 1};
    EXPECT_EQ(r.Grundwerte, expected);
    EXPECT_TRUE(P_in_index(r, ',').currentTransformer);

    // A nominal voltage of 0 means a transformer, even with a ratio of 0 / 0.
    r.Grundwerte[Basic::NominalVoltage] = 0;
    EXPECT_TRUE(P_in_index(r, ',').voltageTransformer);
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
    Record r = newProject(1, 1, 600, 5);  // type 0, 300 V, 5 A
    BasicPage p = P_in_index(r, ',');
    EXPECT_FALSE(Grund_vergleichen(r, p));
    p.nominalVoltage = "300,0";
    p.frequencyOption = 2;  // the frequency does not count
    EXPECT_FALSE(Grund_vergleichen(r, p));

    const auto changed = [&](auto edit) {
        BasicPage q = P_in_index(r, ',');
        edit(q);
        return Grund_vergleichen(r, q);
    };
    EXPECT_TRUE(changed([](BasicPage& q) { q.connectionType = 2; }));
    EXPECT_TRUE(changed([](BasicPage& q) { q.nominalVoltage = "230"; }));
    EXPECT_TRUE(changed([](BasicPage& q) {
        q.voltageTransformer = true;
        q.vtPrimary = "20";
    }));
    EXPECT_TRUE(changed([](BasicPage& q) { q.nominalCurrent = "1"; }));
    EXPECT_TRUE(changed([](BasicPage& q) {
        q.currentTransformer = true;
        q.ctSecondary = "5";
    }));
    // With a transformer shown only its ratio counts: a ratio of 0 / 0 compares equal to a
    // record without transformer.
    EXPECT_FALSE(changed([](BasicPage& q) {
        q.voltageTransformer = true;
        q.vtPrimary = q.vtSecondary = "0";
        q.nominalVoltage = "1";
    }));
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

// Output 0 of a 600 V / 5 A 1A/1D project at 230 V four-wire: voltage L1-N, 0 .. 230 V.
struct AnalogRig {
    Record r = [] {
        Record rec = newProject(1, 1, 600, 5);
        rec.Grundwerte[Basic::NominalVoltage] = 230;
        return rec;
    }();
    AnalogPage p = [] {
        AnalogPage a;
        a.rangeStart = "0";
        a.rangeEnd = "230";
        a.kneeInput = "115";
        a.outputStart = "4";
        a.outputEnd = "20";
        a.limitMin = "-24";
        a.limitMax = "24";
        a.kneeOutput = "12";
        return a;
    }();
    std::set<int> store() {
        AnalogPage copy = p;
        return stops(Analog_speichern(r, 0, copy, ','));
    }
};

TEST(AnalogPage, RangeAgainstTheDefaultRange) {
    struct Case {
        int quantity, place;
        const char *unit, *start, *end;
        bool fault;
    };
    const Case cases[] = {
        {0, 0, "V", "0", "230", false},
        {0, 0, "V", "0", "230,001", true},
        {0, 0, "V", "-0,001", "230", true},
        {0, 0, "V", "100", "50", true},
        {0, 0, "V", "250", "250", true},
        {0, 3, "V", "0", "398,372", false},
        {0, 3, "V", "0", "398,373", true},
        {2, 0, "kW", "-3,45", "3,45", false},
        {2, 0, "kW", "-3,451", "3,45", true},
        {2, 0, "W", "-3450", "3450", false},
        {7, 0, "°", "-180", "180", false},
        {7, 0, "°", "-180", "180,1", true},
        {8, 0, "Hz", "40", "60", false},
        {8, 0, "Hz", "39,9", "60", true},
        {9, 0, "V", "-10", "10", false},
        {9, 0, "V", "-10", "11", true},
        // Power factor: start and end 0 .. 1, not both 1.
        {5, 0, "", "0,5", "1", false},
        {5, 0, "", "1", "1", true},
        {5, 0, "", "0", "0", false},
        {5, 0, "", "-0,1", "1", true},
        {5, 0, "", "0,5", "1,1", true},
        {5, 0, "", "1", "0,5", false},
        {5, 0, "", "1,1", "0,5", true},
        // Reactive factor: start -1 .. 0, end 0 .. 1, not both 0.
        {6, 0, "", "-1", "1", false},
        {6, 0, "", "0", "0", true},
        {6, 0, "", "0,1", "1", true},
        {6, 0, "", "-1,1", "1", true},
        {6, 0, "", "-1", "1,1", true},
    };
    for (const Case& c : cases) {
        AnalogRig rig;
        rig.p.quantity = c.quantity;
        rig.p.place = c.place;
        rig.p.unit = c.unit;
        rig.p.rangeStart = c.start;
        rig.p.rangeEnd = c.end;
        EXPECT_EQ(rig.store(), c.fault ? std::set<int>{3} : std::set<int>{})
            << c.quantity << ' ' << c.start << " .. " << c.end;
    }
}

TEST(AnalogPage, OutputSignalAndLimitation) {
    struct Case {
        int unit;
        const char *start, *end, *min, *max;
        bool fault;
    };
    const Case cases[] = {
        {0, "4", "20", "-24", "24", false},   {0, "21", "22", "-24", "24", true},
        {0, "-20", "20", "-24", "24", false}, {0, "-20,5", "20", "-24", "24", true},
        {0, "4", "20,5", "-24", "24", true},  {0, "4", "20", "-24,5", "24", true},
        {0, "4", "20", "-24", "24,5", true},  {0, "4", "20", "5", "24", true},
        {0, "4", "20", "-24", "19", true},    {0, "4", "4", "-24", "24", true},
        {0, "20", "4", "-24", "24", true},    {0, "4", "20", "3", "3", true},
        {0, "4", "20", "24", "-24", true},    {1, "-10", "10", "-12", "12", false},
        {1, "-11", "10", "-12", "12", true},  {1, "0", "10,5", "-12", "12", true},
        {1, "0", "10", "-12,5", "12", true},  {1, "0", "10", "-12", "12,5", true},
        {1, "0", "10", "-24", "24", true},    {1, "2", "2", "-12", "12", true},
    };
    for (const Case& c : cases) {
        AnalogRig rig;
        rig.p.outputUnit = c.unit;
        rig.p.outputStart = c.start;
        rig.p.outputEnd = c.end;
        rig.p.limitMin = c.min;
        rig.p.limitMax = c.max;
        EXPECT_EQ(rig.store(), c.fault ? std::set<int>{4} : std::set<int>{})
            << c.unit << ' ' << c.start << ".." << c.end << " limit " << c.min << ".." << c.max;
    }
}

TEST(AnalogPage, KneeOnlyWhenKinked) {
    struct Case {
        int quantity;
        const char *start, *end, *kneeIn, *kneeOut;
        bool kinked, fault;
    };
    const Case cases[] = {
        {0, "0", "230", "100", "10", true, false},
        {0, "0", "230", "230", "20", true, false},
        {0, "0", "230", "231", "10", true, true},
        {0, "10", "230", "9", "10", true, true},
        {0, "0", "230", "100", "3", true, true},
        {0, "0", "230", "100", "21", true, true},
        // A stored power factor with the kinked characteristic: input between start and 1.
        {5, "0,5", "1", "0,8", "10", true, false},
        {5, "0,5", "1", "1", "10", true, false},
        {5, "0,5", "1", "1,01", "10", true, true},
        {5, "0,5", "1", "0,4", "10", true, true},
        {5, "1", "0,5", "1", "10", true, false},
    };
    for (const Case& c : cases) {
        AnalogRig rig;
        rig.p.quantity = c.quantity;
        rig.p.unit = c.quantity == 5 ? "" : "V";
        rig.p.rangeStart = c.start;
        rig.p.rangeEnd = c.end;
        rig.p.kneeInput = c.kneeIn;
        rig.p.kneeOutput = c.kneeOut;
        rig.p.kinked = c.kinked;
        EXPECT_EQ(rig.store(), c.fault ? std::set<int>{5} : std::set<int>{})
            << c.quantity << " knee " << c.kneeIn << " -> " << c.kneeOut;
    }
    // Straight: the knee is moved to the midpoint before it is stored, never a fault.
    AnalogRig rig;
    rig.p.kneeInput = "999";
    AnalogPage p = rig.p;
    EXPECT_TRUE(stops(Analog_speichern(rig.r, 0, p, ',')).empty());
    EXPECT_EQ(p.kneeInput, "115");
    EXPECT_EQ(rig.r.Analogwerte[0][Analog::KneeInput], Cell(115.0));
    EXPECT_EQ(rig.r.Analogwerte[0][Analog::KneeOutput], Cell(12.0));
}

TEST(AnalogPage, EachGroupSetsItsOwnStopSign) {
    AnalogRig rig;
    rig.p.rangeEnd = "250";
    rig.p.outputStart = "-21";
    rig.p.kinked = true;
    AnalogPage p = rig.p;
    const PageCheck c = Analog_speichern(rig.r, 0, p, ',');
    EXPECT_EQ(stops(c), (std::set<int>{3, 4}));  // the knee itself is fine
    EXPECT_TRUE(c.Eingabefehler);
    EXPECT_TRUE(c.exclamation);
    EXPECT_EQ(c.message, "0,0 ... 230,0 V");

    rig.p.rangeEnd = "230";
    p = rig.p;
    const PageCheck output = Analog_speichern(rig.r, 0, p, ',');
    EXPECT_FALSE(output.exclamation);  // only the range group shows the exclamation picture
    EXPECT_TRUE(output.Eingabefehler);
}

TEST(AnalogPage, FillAndStoreThroughThePrefix) {
    Record r = newProject(1, 1, 600, 5);
    AnalogRow& a = r.Analogwerte[0];
    a[Analog::Quantity] = 2;
    a[Analog::RangeUnit] = "kW";
    a[Analog::RangeStart] = -3450;
    a[Analog::KneeInput] = "1500";  // texts, as a file holds them
    a[Analog::RangeEnd] = "3450";
    a[Analog::OutputUnit] = 1;
    a[Analog::Kinked] = 1;
    AnalogPage p = Analog_anzeigen(r, 0, ',');
    EXPECT_EQ(p.quantity, 2);
    EXPECT_EQ(p.unit, "kW");
    EXPECT_EQ(p.rangeStart, "-3,45");
    EXPECT_EQ(p.rangeEnd, "3,45");
    EXPECT_EQ(p.kneeInput, "1,5");
    EXPECT_EQ(p.outputUnit, 1);
    EXPECT_EQ(p.outputStart, "-20");
    EXPECT_TRUE(p.kinked);

    p.rangeEnd = "3,2";
    Analog_speichern(r, 0, p, ',');
    EXPECT_EQ(a[Analog::RangeEnd], Cell(3200.0));
    EXPECT_EQ(a[Analog::RangeStart], Cell(-3450.0));
    EXPECT_EQ(a[Analog::KneeInput], Cell(1500.0));
    EXPECT_EQ(a[Analog::RangeUnit], Cell("kW"));
    EXPECT_EQ(a[Analog::OutputUnit], Cell(1));
    EXPECT_EQ(a[Analog::Kinked], Cell(1));
}

TEST(AnalogPage, KneeLabelsAndReset) {
    AnalogPage p;
    p.rangeStart = "1,23456";
    p.rangeEnd = "230";
    p.outputStart = "4";
    p.outputEnd = "20";
    p.unit = "kV";
    p.outputUnit = 1;
    EXPECT_EQ(Knick_beschriften(p, ','),
              (std::array<std::string, 6>{"1,235", "230,0", "4", "20", "kV", "V"}));
    Knick_zuruecksetzen(p, ',');
    EXPECT_EQ(p.kneeInput, "115,6175");  // 1,235 / 2 + 230 / 2
    EXPECT_EQ(p.kneeOutput, "12");

    p.rangeStart = "-";  // a lone minus counts as 0
    p.rangeEnd = "";
    p.outputStart = "-";
    p.outputEnd = "10";
    Knick_zuruecksetzen(p, ',');
    EXPECT_EQ(p.kneeInput, "0");
    EXPECT_EQ(p.kneeOutput, "5");

    p.quantity = 5;  // power factor: the knee input is 1
    Knick_zuruecksetzen(p, ',');
    EXPECT_EQ(p.kneeInput, "1");
}

TEST(AnalogPage, OutputUnitDefaults) {
    EXPECT_EQ(outputUnitLabel(0), "mA");
    EXPECT_EQ(outputUnitLabel(1), "V");
    const OutputDefaults mA = outputDefaults(0), V = outputDefaults(1);
    EXPECT_EQ(std::vector<std::string_view>({mA.start, mA.end, mA.min, mA.max}),
              std::vector<std::string_view>({"-20", "20", "-24", "24"}));
    EXPECT_EQ(std::vector<std::string_view>({V.start, V.end, V.min, V.max}),
              std::vector<std::string_view>({"-10", "10", "-12", "12"}));
}

// ---- binary pages ----------------------------------------------------------------------------

TEST(BinaryPage, LimitWithinTheAllowedRange) {
    struct Case {
        int quantity, place;
        const char *unit, *limit;
        bool fault;
    };
    // 230 V, 5 A four-wire: current 0 .. 6 A, power -4.14 .. 4.14 kW.
    const Case cases[] = {
        {1, 0, "A", "5", false},       {1, 0, "A", "6", false},       {1, 0, "A", "6,5", true},
        {1, 0, "A", "-0,1", true},     {2, 0, "kW", "-4,14", false},  {2, 0, "kW", "-4,141", true},
        {3, 0, "kVar", "4,14", false}, {4, 0, "kVA", "-0,001", true}, {0, 0, "V", "276", false},
        {0, 0, "V", "276,1", true},    {7, 0, "°", "180", false},     {7, 0, "°", "181", true},
        {8, 0, "Hz", "60", false},     {8, 0, "Hz", "60,5", true},    {9, 0, "V", "-10", false},
        {9, 0, "V", "12", true},       {5, 0, "", "0,9", false},      {5, 0, "", "1,1", true},
        {6, 0, "", "-1", false},       {6, 0, "", "1,2", true},
    };
    for (const Case& c : cases) {
        Record r = newProject(1, 1, 600, 5);
        r.Grundwerte[Basic::NominalVoltage] = 230;
        const BinaryPage p{ModeLimit, c.quantity, c.place, c.unit, c.limit, 1};
        const PageCheck check = Binaer_speichern(r, 0, p, ',');
        EXPECT_EQ(stops(check), c.fault ? std::set<int>{6} : std::set<int>{})
            << c.quantity << ' ' << c.limit << ' ' << c.unit;
        EXPECT_EQ(check.exclamation, c.fault);
    }
    Record r = newProject(1, 1, 600, 5);
    const BinaryPage current{ModeLimit, 1, 0, "A", "6,5", 0};
    EXPECT_EQ(Binaer_speichern(r, 0, current, ',').message, "0,0 ... 6,0 A");
    // A quantity beyond the list is not checked.
    r.Binaerwerte[0][Binary::Quantity] = 12;
    EXPECT_FALSE(Binaer_pruefen(r, 0, ',').Eingabefehler);
}

TEST(BinaryPage, OtherModesStoreZeros) {
    Record r = newProject(1, 5, 600, 5);
    for (const int mode : {ModeOff, ModeOnWhileOk}) {
        const BinaryPage p{mode, 3, 2, "kVar", "99999", 1};  // what the hidden controls hold
        EXPECT_EQ(Binaer_speichern(r, 4, p, ','), PageCheck{});
        const BinaryRow expected = {mode, 0, 0, 0, 0, 0};
        EXPECT_EQ(r.Binaerwerte[4], expected);
    }
    const BinaryPage limit{ModeLimit, 1, 0, "A", "4,5", 1};
    Binaer_speichern(r, 4, limit, ',');
    const BinaryRow expected = {2, 1, 0, "A", 4.5, 1};
    EXPECT_EQ(r.Binaerwerte[4], expected);
    EXPECT_EQ(Binaer_anzeigen(r, 4, ','), limit);
    r.Binaerwerte[4][Binary::Unit] = "kW";
    r.Binaerwerte[4][Binary::Limit] = "1500";
    EXPECT_EQ(Binaer_anzeigen(r, 4, ',').limit, "1,5");

    // Off: the zeros are not shown; the limit controls hold the voltage proposal (300 V,
    // 120 % of it 360 V).
    r.Binaerwerte[4] = {0, 0, 0, 0, 0, 0};
    EXPECT_EQ(Binaer_anzeigen(r, 4, ','), (BinaryPage{ModeOff, 0, 0, "V", "300", 0}));
}

// ---- interface page --------------------------------------------------------------------------

TEST(InterfacePage, BoxesPerConnectionType) {
    const auto enabledOf = [](int type) {
        std::set<int> on;
        const auto boxes = Schnittstelle_freigeben(type);
        for (int i = 0; i < kInterfaceCells; ++i) {
            if (boxes[static_cast<std::size_t>(i)]) on.insert(i);
        }
        return on;
    };
    std::set<int> all, threeWire;
    for (int i = 0; i <= 36; ++i) all.insert(i);
    for (int i = 3; i <= 34; ++i) threeWire.insert(i);
    threeWire.insert(36);
    EXPECT_EQ(enabledOf(0), all);
    EXPECT_EQ(enabledOf(1), (std::set<int>{0, 6, 9, 13, 17, 21, 25, 30, 33, 34}));
    EXPECT_EQ(enabledOf(2), threeWire);  // U1, U2, U3 and U off, I on
    EXPECT_EQ(enabledOf(3), (std::set<int>{3, 4, 5, 6, 9, 13, 17, 21, 25, 30, 33, 34}));
    EXPECT_EQ(enabledOf(4), (std::set<int>{0, 6, 10, 14, 18, 22, 26, 30, 33, 34}));
    EXPECT_EQ(enabledOf(9), (std::set<int>{34}));
}

TEST(InterfacePage, DisabledBoxesStoreZeroOnceShown) {
    Record r = newProject(1, 1, 600, 5);
    for (const int i : {0, 1, 2, 34, 35}) r.Schnittstellenwerte[static_cast<std::size_t>(i)] = 1;
    r.Schnittstellenwerte[6] = "1";
    r.Grundwerte[Basic::ConnectionType] = 1;
    const InterfacePage shown = Schnittstelle_anzeigen(r);
    Schnittstelle_speichern(r, shown);
    for (int i = 0; i < kInterfaceCells; ++i) {
        const bool on = i == 0 || i == 6 || i == 34;
        EXPECT_EQ(r.Schnittstellenwerte[static_cast<std::size_t>(i)], Cell(on ? 1 : 0)) << i;
    }
}

// ---- reset -----------------------------------------------------------------------------------

TEST(Reset, EveryOutputToTheVoltageDefaults) {
    Record r = newProject(4, 9, 600, 5);
    r.Grundwerte[Basic::NominalVoltage] = 230;
    for (auto& a : r.Analogwerte) a[Analog::Quantity] = 3;
    for (auto& b : r.Binaerwerte) b[Binary::Mode] = 2;
    for (auto& s : r.Schnittstellenwerte) s = 1;
    Ausgaenge_zuruecksetzen(r);
    const AnalogRow analog = {0, 0, "V", 0, 115.0, 230.0, 0, -20, 0, 20, -24, 24, 0};
    for (const auto& a : r.Analogwerte) EXPECT_EQ(a, analog);
    const BinaryRow binary = {0, 0, 0, "V", 230.0, 0};  // 120 % is 276 V: no prefix
    for (const auto& b : r.Binaerwerte) EXPECT_EQ(b, binary);
    for (const auto& s : r.Schnittstellenwerte) EXPECT_EQ(s, Cell(0));

    // 20 kV on three-wire: 20 kV, knee 10 kV; the binary unit follows 120 % (24 kV).
    r.Grundwerte[Basic::ConnectionType] = 2;
    r.Grundwerte[Basic::NominalVoltage] = 0;
    r.Grundwerte[Basic::VtPrimary] = 20;
    r.Grundwerte[Basic::VtSecondary] = 0.1;
    Ausgaenge_zuruecksetzen(r);
    EXPECT_EQ(r.Analogwerte[2][Analog::RangeUnit], Cell("kV"));
    EXPECT_EQ(r.Analogwerte[2][Analog::RangeEnd], Cell(20000.0));
    EXPECT_EQ(r.Analogwerte[2][Analog::KneeInput], Cell(10000.0));
    EXPECT_EQ(r.Binaerwerte[12][Binary::Limit], Cell(20000.0));
    EXPECT_EQ(r.Binaerwerte[12][Binary::Unit], Cell("kV"));

    // 900 V line voltage: the analog range stays in V, the binary 1080 V is shown in kV.
    r.Grundwerte[Basic::NominalVoltage] = 900;
    Ausgaenge_zuruecksetzen(r);
    EXPECT_EQ(r.Analogwerte[0][Analog::RangeUnit], Cell("V"));
    EXPECT_EQ(r.Binaerwerte[0][Binary::Unit], Cell("kV"));
    EXPECT_EQ(r.Binaerwerte[0][Binary::Limit], Cell(900.0));
}

TEST(Fields, TextThatIsNoNumberIsZero) {
    EXPECT_EQ(fieldValue("1,5"), 1.5);
    EXPECT_EQ(fieldValue("-20"), -20);
    EXPECT_EQ(fieldValue(""), 0);
    EXPECT_EQ(fieldValue("-"), 0);
    EXPECT_EQ(fieldValue("1,2,3"), 0);
    EXPECT_EQ(fieldValue("abc"), 0);
}

}  // namespace
}  // namespace kalvo
