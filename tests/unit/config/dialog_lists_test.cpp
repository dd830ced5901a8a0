// The dialog's fixed lists: nominal values per hardware class, the start state, the measuring
// places of every connection type and quantity, and the page list.
#include "config/dialog_lists.h"

#include <gtest/gtest.h>

#include <map>
#include <utility>

#include "config/kennung.h"
#include "config/rules.h"

namespace kalvo {
namespace {

using Strings = std::vector<std::string>;

TEST(NominalLists, PerClassWithTheUsersSeparator) {
    const auto v600 = nominalVoltages(600, ',');
    ASSERT_TRUE(v600);
    EXPECT_EQ(v600->entries, (Strings{"57,735", "63,5085", "69,282", "100", "110", "120", "220",
                                      "230,94", "254,034", "288,675", "346,41", "381,0512", "400",
                                      "440", "500", "519,615242270664"}));
    EXPECT_EQ(v600->selected, 2);  // "69,282"
    EXPECT_EQ(nominalVoltages(120, ','),
              (NominalList{{"57,735", "63,5085", "69,282", "100", "110", "120"}, 0}));
    EXPECT_EQ(nominalVoltages(100, '.'), (NominalList{{"57.735", "100"}, 0}));
    EXPECT_FALSE(nominalVoltages(230, ','));  // other classes keep the list as it is
    EXPECT_EQ(nominalCurrents(5, ','), (NominalList{{"1", "2", "5"}, 2}));
    EXPECT_EQ(nominalCurrents(1.2, ','), (NominalList{{"0,3", "0,6", "1,2"}, 2}));
    EXPECT_FALSE(nominalCurrents(2, ','));
    // The start state of the dialog carries the lists of the record's classes.
    const StartState s = Startzustand_setzen(newProject(1, 1, 100, 1), ',');
    EXPECT_EQ(s.voltages, (NominalList{{"57,735", "100"}, 0}));
    EXPECT_EQ(s.currents, (NominalList{{"0,2", "0,5", "1"}, 2}));
}

// The place lists of all 50 combinations of connection type and quantity, the unit label and
// whether the cap./ind. label is shown.
TEST(MeasuringPlaces, EveryConnectionTypeAndQuantity) {
    const Strings ln7 = {"L1 - N", "L2 - N", "L3 - N", "L1 - L2", "L2 - L3", "L3 - L1", "U"};
    const Strings i4 = {"I1", "I2", "I3", "I"}, sum4 = {"Summe", "L1", "L2", "L3"};
    const Strings total4 = {"Gesamt", "L1", "L2", "L3"}, ll3 = {"L1 - L2", "L2 - L3", "L3 - L1"};
    const Strings ln = {"L1 - N"}, i1 = {"I1"}, sum = {"Summe"}, l1 = {"L1"}, ll = {"L1 - L2"};
    const Strings inp = {"E+ - E-"};
    const Strings expected[5][10] = {
        {ln7, i4, sum4, sum4, sum4, sum4, sum4, total4, ln, inp},
        {ln, i1, sum, sum, sum, sum, sum, l1, ln, inp},
        {ll3, i4, sum4, sum4, sum4, sum4, sum4, total4, ll, inp},
        {ll3, i1, sum, sum, sum, sum, sum, l1, ll, inp},
        {ln, i1, l1, l1, l1, l1, l1, l1, ln, inp},
    };
    const char* units[] = {"V", "A", "W", "Var", "VA", "", "", "°", "Hz", "V"};
    for (int type = 0; type < 5; ++type) {
        for (int q = 0; q < 10; ++q) {
            const PlaceList p = Messort_fuellen(type, q);
            EXPECT_EQ(Strings(p.entries.begin(), p.entries.end()), expected[type][q])
                << type << ' ' << q;
            EXPECT_EQ(p.baseUnit, units[q]);
            EXPECT_EQ(p.capInd, q == 5 || q == 6);
            // Every place is a measured value the device knows.
            for (int place = 0; place < static_cast<int>(p.entries.size()); ++place) {
                EXPECT_TRUE(Kennung_suchen(Groessencode(type, q, place), 1, 1).label)
                    << type << ' ' << q << ' ' << place;
            }
        }
    }
    EXPECT_TRUE(Messort_fuellen(5, 0).entries.empty());
    EXPECT_TRUE(Messort_fuellen(0, 10).entries.empty());
    EXPECT_TRUE(Messort_fuellen(-1, 0).entries.empty());
}

TEST(PageList, TextsAndPages) {
    const Record r = newProject(2, 1, 600, 5);
    Strings german;
    for (int i = 0; i <= pageCount(r); ++i) german.push_back(pageListText(r, i, Language::German));
    EXPECT_EQ(german, (Strings{"Grundeinstellungen", "Analogausgang 1", "Analogausgang 2",
                               "Binärausgang 1", "Schnittstelle", ""}));
    EXPECT_EQ(pageListText(r, 3, Language::English), "Binary output 1");
    EXPECT_EQ(pageAt(newProject(1, 1, 600, 5), 3), (PageRef{PageKind::Interface, -1}));
    const Record big = newProject(4, 9, 600, 5);
    const std::pair<int, PageRef> cases[] = {
        {0, {PageKind::Basic, -1}}, {1, {PageKind::Analog, 0}},  {4, {PageKind::Analog, 3}},
        {5, {PageKind::Binary, 0}}, {13, {PageKind::Binary, 8}}, {14, {PageKind::Interface, -1}},
        {15, {PageKind::None, -1}}, {-1, {PageKind::None, -1}},
    };
    for (const auto& [index, page] : cases) EXPECT_EQ(pageAt(big, index), page) << index;
}

}  // namespace
}  // namespace kalvo
