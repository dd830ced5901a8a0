// Two records compared in the dialog's words: one table of pairs and the lines they give.
#include "config/compare.h"

#include <gtest/gtest.h>

#include "support/record_builder.h"

namespace kalvo {

// Failures print the lines as kalvo-cli would.
[[maybe_unused]] static void PrintTo(const RecordDifference& d, std::ostream* os) {
    *os << differenceLine(d);
}

namespace {

using test::RecordBuilder;
using D = RecordDifference;

// Against the builder's 2A/5D, 120 V / 1.2 A: 60 V nominal, outputs 0 ... 60 V to -20 ... 20 mA,
// in German with a decimal comma unless the case is English (with a decimal point).
TEST(CompareRecords, ListsEachDifferenceAsTheDialogShowsIt) {
    const struct {
        Record right;
        std::vector<D> lines;
        Record left = RecordBuilder();
        bool english = false;
    } cases[] = {
        // The same values in other forms (texts from a file, the other separator) are equal.
        {RecordBuilder()
             .basic(Basic::NominalVoltage, "60,0", Basic::NominalFrequency, 50)
             .analog(0, Analog::RangeEnd, "60.0", Analog::OutputStart, "-20,00"),
         {}},
        // Straight characteristics: a knee at another place on the same range is listed, one
        // that moved with its range is not.
        {RecordBuilder().analog(1, Analog::RangeEnd, "230,0", Analog::KneeInput, 115),
         {{"Analogausgang 2", "Meßbereich bis", "400 V", "230 V"}},
         RecordBuilder().analog(1, Analog::RangeEnd, 400, Analog::KneeInput, 200)},
        {RecordBuilder().analog(0, Analog::KneeOutput, 2),
         {{"Analogausgang 1", "Knickpunkt Ausgang", "0 mA", "2 mA"}}},
        // The same range in another unit: only the unit label differs.
        {RecordBuilder().analog(0, Analog::RangeUnit, "kV"),
         {{"Analogausgang 1", "Einheit", "V", "kV"}}},
        {RecordBuilder().vt(20, "0,1"),
         {{"Grundeinstellungen", "Nenneingangsspannung", "60 V", ""},
          {"Grundeinstellungen", "Primärspannung", "", "20 kV"},
          {"Grundeinstellungen", "Sekundärspannung", "", "0,1 kV"}}},
        {RecordBuilder().binary(1, Binary::Mode, 2, Binary::Quantity, 1, Binary::Unit, "A",
                                Binary::Limit, "1,5", Binary::Direction, 1),
         {{"Binärausgang 2", "Signal", "kein Signal", "Grenzwert"},
          {"Binärausgang 2", "Meßgröße", "", "Strom"},
          {"Binärausgang 2", "Meßort", "", "I1"},
          {"Binärausgang 2", "Einheit", "", "A"},
          {"Binärausgang 2", "Grenzwert", "", "1,5 A"},
          {"Binärausgang 2", "Richtung", "", "Unterschreitung"}}},
        {RecordBuilder().flags({0, 33}),
         {{"Schnittstelle", "U1", "aus", "ein"}, {"Schnittstelle", "F", "aus", "ein"}}},
        // Counts and classes one line each; an output on one side only one line.
        {RecordBuilder(2, 4, 120, 1),
         {{"Grundeinstellungen", "Analogausgänge", "3", "2"},
          {"Grundeinstellungen", "Binärausgänge", "5", "4"},
          {"Grundeinstellungen", "Stromklasse", "1,2 A", "1 A"},
          {"Grundeinstellungen", "Nenneingangsstrom", "1,2 A", "1 A"},
          {"Analogausgang 3", "Ausgang", "Spannung L1 - N, 0 ... 60 V, -20 ... 20 mA", ""},
          {"Binärausgang 5", "Ausgang", "Grenzwert, Spannung L1 - L2, 66 V, Überschreitung", ""}},
         RecordBuilder(3, 5).binary(4, Binary::Mode, 2, Binary::Place, 3, Binary::Limit, "66")},
        {RecordBuilder()
             .basic(Basic::NominalFrequency, 16.666)
             .analog(1, Analog::Kinked, 1, Analog::KneeInput, 20, Analog::KneeOutput, "-5,5"),
         {{"Basic parameters", "Nominal frequency", "50 Hz", "16,6 Hz"},
          {"Analog output 2", "Kinked characteristic", "off", "on"},
          {"Analog output 2", "Knee point input", "30 V", "20 V"},
          {"Analog output 2", "Knee point output", "0 mA", "-5.5 mA"}},
         RecordBuilder(),
         true},
    };
    for (const auto& c : cases) {
        const Language language = c.english ? Language::English : Language::German;
        EXPECT_EQ(compareRecords(c.left, c.right, language, c.english ? '.' : ','), c.lines);
    }
    EXPECT_EQ(differenceLine({"Analogausgang 2", "Meßbereich bis", "400 V", ""}),
              "Analogausgang 2\tMeßbereich bis\t400 V\t");
}

}  // namespace
}  // namespace kalvo
