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

// The simulator's 2A/5D, 120 V / 1.2 A: 60 V nominal, outputs 0 ... 60 V to -20 ... 20 mA.
Record withClasses(Record r, int analog, int binary, double amps) {
    r.Anzahl_Analog = analog;
    r.Anzahl_Binaer = binary;
    r.Max_Strom = amps;
    return r;
}

TEST(CompareRecords, ListsEachDifferenceAsTheDialogShowsIt) {
    const Record base = RecordBuilder();
    const Record limit3V = RecordBuilder(3, 5).binary(4, Binary::Mode, 2, Binary::Place, 3,
                                                      Binary::Limit, "66", Binary::Direction, 0);
    const struct {
        Record left, right;
        Language language;
        char decimal;
        std::vector<D> lines;
    } cases[] = {
        // The same values in other forms (texts from a file, the other separator) are equal.
        {base,
         RecordBuilder()
             .basic(Basic::NominalVoltage, "60,0", Basic::NominalFrequency, 50)
             .analog(0, Analog::RangeEnd, "60.0", Analog::OutputStart, "-20,00"),
         Language::German,
         ',',
         {}},
        {RecordBuilder().analog(1, Analog::RangeEnd, 400),
         RecordBuilder().analog(1, Analog::RangeEnd, "230,0"),
         Language::German,
         ',',
         {{"Analogausgang 2", "Meßbereich bis", "400 V", "230 V"}}},
        // The same range in another unit: only the unit label differs.
        {base,
         RecordBuilder().analog(0, Analog::RangeUnit, "kV"),
         Language::German,
         ',',
         {{"Analogausgang 1", "Einheit", "V", "kV"}}},
        {base,
         RecordBuilder().vt(20, "0,1"),
         Language::German,
         ',',
         {{"Grundeinstellungen", "Nenneingangsspannung", "60 V", ""},
          {"Grundeinstellungen", "Primärspannung", "", "20 kV"},
          {"Grundeinstellungen", "Sekundärspannung", "", "0,1 kV"}}},
        {base,
         RecordBuilder().binary(1, Binary::Mode, 2, Binary::Quantity, 1, Binary::Unit, "A",
                                Binary::Limit, "1,5", Binary::Direction, 1),
         Language::German,
         ',',
         {{"Binärausgang 2", "Signal", "kein Signal", "Grenzwert"},
          {"Binärausgang 2", "Meßgröße", "", "Strom"},
          {"Binärausgang 2", "Meßort", "", "I1"},
          {"Binärausgang 2", "Einheit", "", "A"},
          {"Binärausgang 2", "Grenzwert", "", "1,5 A"},
          {"Binärausgang 2", "Richtung", "", "Unterschreitung"}}},
        {base,
         RecordBuilder().flags({0, 33}),
         Language::German,
         ',',
         {{"Schnittstelle", "U1", "aus", "ein"}, {"Schnittstelle", "F", "aus", "ein"}}},
        // Counts and classes one line each; an output on one side only one line.
        {limit3V,
         withClasses(base, 2, 4, 1),
         Language::German,
         ',',
         {{"Grundeinstellungen", "Analogausgänge", "3", "2"},
          {"Grundeinstellungen", "Binärausgänge", "5", "4"},
          {"Grundeinstellungen", "Stromklasse", "1,2 A", "1 A"},
          {"Analogausgang 3", "Ausgang", "Spannung L1 - N, 0 ... 60 V, -20 ... 20 mA", ""},
          {"Binärausgang 5", "Ausgang", "Grenzwert, Spannung L1 - L2, 66 V, Überschreitung", ""}}},
        // The knee only where the characteristic is kinked; English words, a decimal point.
        {base,
         RecordBuilder()
             .basic(Basic::NominalFrequency, 16.666)
             .analog(1, Analog::Kinked, 1, Analog::KneeInput, 20, Analog::KneeOutput, "-5,5"),
         Language::English,
         '.',
         {{"Basic parameters", "Nominal frequency", "50 Hz", "16,6 Hz"},
          {"Analog output 2", "Kinked characteristic", "off", "on"},
          {"Analog output 2", "Knee point input", "", "20 V"},
          {"Analog output 2", "Knee point output", "", "-5.5 mA"}}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(compareRecords(c.left, c.right, c.language, c.decimal), c.lines);
    }
    EXPECT_EQ(differenceLine({"Analogausgang 2", "Meßbereich bis", "400 V", ""}),
              "Analogausgang 2\tMeßbereich bis\t400 V\t");
}

}  // namespace
}  // namespace kalvo
