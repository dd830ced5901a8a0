// The data sheet's layout: what is placed where, in twips, worked out by hand from the sheet's
// rules with the recording canvas's metrics (100 twips per character, 50 per blank and 230 per
// line at 10 pt). Tab stops lie at every multiple of 720; a TAB goes at least a blank (50) on.
#include "print/datasheet.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "recording_canvas.h"

namespace kalvo {
namespace {

using test::picture;
using test::Placed;
using test::RecordingCanvas;
using test::text;

constexpr const char* kFolder = "/opt/kalvo";

SheetOptions options(Language language = Language::German, char decimal = ',') {
    SheetOptions o;
    o.language = language;
    o.decimal = decimal;
    o.date = "31.01.2025";
    o.time = "14:05:09";
    o.pictureFolder = kFolder;
    return o;
}

class Sheet : public ::testing::Test {
  protected:
    SheetReport print(const Record& r, const SheetOptions& o = options()) {
        canvas.placed.clear();
        canvas.asked.clear();
        return Datenblatt_drucken(r, o, canvas);
    }
    // The text placed at the value column (2880) on the line of the label at the margin.
    std::string valueOf(const std::string& label) const {
        for (const Placed& p : canvas.placed) {
            if (p.kind == Placed::Text && p.x == 1000 && p.text == label) {
                const Placed* v = canvas.at(2880, p.y);
                return v ? v->text : "(nothing at 2880)";
            }
        }
        return "(no " + label + ")";
    }

    RecordingCanvas canvas;
};

TEST(TabStops, EveryHalfInchFromTheLeftEdge) {
    const std::pair<int, int> cases[] = {{0, 720},     {1, 720},     {719, 720},  {720, 1440},
                                         {1800, 2160}, {2800, 2880}, {8000, 8640}};
    for (const auto& [x, stop] : cases) EXPECT_EQ(nextTabStop(x), stop) << x;
}

TEST_F(Sheet, WholeSheetOfANewOneAndOneProject) {
    canvas.pictures["/opt/kalvo/s4u.sb"] = {6000, 4200};
    const SheetReport report = print(newProject(1, 1, 600, 5));

    const std::vector<Placed> expected = {
        text(1000, 1000, "Daten Multimeßumformer", 12, true),
        // The date is 10 characters wide: 7000 + 1000 = 8000, the next stop is 8640.
        text(7000, 1000, "31.01.2025"),
        text(8640, 1000, "14:05:09"),
        // An empty line after the date, then the input lines; "Netzart:" ends at 1800, its
        // two TABs go to 2160 and 2880.
        text(1000, 1460, "Netzart:"),
        text(2880, 1460, "Vierleiter beliebiger Belastung"),
        text(1000, 1690, "Nennspannung:"),
        text(2880, 1690, "300 V"),
        text(1000, 1920, "Nennstrom:     "),
        text(2880, 1920, "5 A"),
        // The frequency cell holds the text "50" after a reset: printed unchanged.
        text(1000, 2150, "Nennfrequenz: "),
        text(2880, 2150, "50 Hz"),
        // 2380 + 70.
        text(1000, 2450, "Analogausgang  1 :"),
        text(2880, 2450, "Spannung"),
        // The places' column: a TAB after the widest name, "Scheinleistung", ending at 4280.
        text(5040, 2450, "L1-N"),
        // "Eingang" and "Ausgang" end at 2140, less than a blank before 2160.
        text(1440, 2680, "Eingang"),
        text(2880, 2680, " 0   ---   150   ---   300  V"),
        text(1440, 2910, "Ausgang"),
        text(2880, 2910, "-20   ---   0   ---   20   mA"),
        text(1440, 3140, "Begrenzung"),
        text(2880, 3140, "MIN:  -24  mA"),
        text(4320, 3140, "MAX:   24  mA"),
        // 3370 + 30 + 70.
        text(1000, 3470, "Binärausgang  1 :"),
        text(2880, 3470, "OFF"),
        // 3700 + 50 + 100.
        text(1000, 3850, "Anschlussbelegung:"),
        text(1000, 4080, "Alle nicht benötigten Anschlussklemmen bleiben frei."),
        // Two line feeds after the sentence, then 100 down.
        picture(1000, 4640, "/opt/kalvo/s4u.sb"),
    };
    EXPECT_EQ(canvas.placed, expected);
    EXPECT_FALSE(canvas.wrongFamily);
    EXPECT_EQ(report.pages, 1);
    EXPECT_TRUE(report.pictureDrawn);
    EXPECT_EQ(report.picturePath, "/opt/kalvo/s4u.sb");
}

TEST_F(Sheet, InputLinesWithAndWithoutTransformers) {
    struct Case {
        const char* what;
        std::vector<std::pair<Basic::Field, Cell>> cells;
        char decimal;
        const char* voltage;
        const char* current;
        const char* frequency;
    };
    const Case cases[] = {
        {"direct, as the dialog stores",
         {{Basic::NominalVoltage, 230.94},
          {Basic::NominalCurrent, 1.2},
          {Basic::NominalFrequency, 16.666}},
         ',',
         "230,94 V",
         "1,2 A",
         " 16,666  Hz"},
        {"direct, as a file holds",
         {{Basic::NominalVoltage, "230,94"},
          {Basic::NominalCurrent, "5"},
          {Basic::NominalFrequency, "60"}},
         ',',
         "230,94 V",
         "5 A",
         "60 Hz"},
        {"transformers, as the dialog stores",
         {{Basic::NominalVoltage, 0},
          {Basic::VtPrimary, 20},
          {Basic::VtSecondary, 0.1},
          {Basic::NominalCurrent, 0},
          {Basic::CtPrimary, 100},
          {Basic::CtSecondary, 5}},
         ',',
         "20 kV / 100 V",
         "100 A / 5 A",
         "50 Hz"},
        {"transformers, as a file holds",
         {{Basic::NominalVoltage, "0"},
          {Basic::VtPrimary, "20"},
          {Basic::VtSecondary, "0,1"},
          {Basic::NominalCurrent, "0"},
          {Basic::CtPrimary, "100"},
          {Basic::CtSecondary, "5"}},
         ',',
         "20 kV / 100 V",
         "100 A / 5 A",
         "50 Hz"},
        {"fractions with a point",
         {{Basic::NominalVoltage, 0},
          {Basic::VtPrimary, 0.4},
          {Basic::VtSecondary, 0.11},
          {Basic::NominalCurrent, 0},
          {Basic::CtPrimary, 7.5},
          {Basic::CtSecondary, 1.2}},
         '.',
         "0.4 kV / 110 V",
         "7.5 A / 1.2 A",
         "50 Hz"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Record r = newProject(2, 5, 600, 5);
        for (const auto& [field, cell] : c.cells) r.Grundwerte[field] = cell;
        print(r, options(Language::German, c.decimal));
        EXPECT_EQ(valueOf("Nennspannung:"), c.voltage);
        EXPECT_EQ(valueOf("Nennstrom:     "), c.current);
        EXPECT_EQ(valueOf("Nennfrequenz: "), c.frequency);
    }
}

TEST_F(Sheet, AnalogValuesInTheRangeUnitAndAsTheRecordHoldsThem) {
    struct Case {
        const char* what;
        std::vector<std::pair<Analog::Field, Cell>> cells;
        const char* input;
        const char* output;
        const char* min;
    };
    const Case cases[] = {
        {"a kV range divided by its prefix",
         {{Analog::RangeUnit, "kV"}, {Analog::KneeInput, 10000}, {Analog::RangeEnd, 20000}},
         " 0   ---   10   ---   20  kV",
         "-20   ---   0   ---   20   mA",
         "MIN:  -24  mA"},
        {"MW with a fraction, volts out",
         {{Analog::Quantity, ActivePower},
          {Analog::RangeUnit, "MW"},
          {Analog::RangeStart, -1.5e6},
          {Analog::KneeInput, 0},
          {Analog::RangeEnd, 1.5e6},
          {Analog::OutputUnit, 1},
          {Analog::OutputStart, 0},
          {Analog::KneeOutput, 5},
          {Analog::OutputEnd, 10},
          {Analog::LimitMin, 0},
          {Analog::LimitMax, 12}},
         "-1,5   ---   0   ---   1,5  MW",
         " 0   ---   5   ---   10   V",
         "MIN:   0  V"},
        {"a capital K is no prefix",
         {{Analog::RangeUnit, "KV"}, {Analog::RangeEnd, 400}},
         " 0   ---   150   ---   400  KV",
         "-20   ---   0   ---   20   mA",
         "MIN:  -24  mA"},
        {"texts from a file: outputs unchanged, inputs computed",
         {{Analog::RangeStart, "0"},
          {Analog::KneeInput, "150"},
          {Analog::RangeEnd, "300,5"},
          {Analog::OutputStart, "4"},
          {Analog::KneeOutput, "12"},
          {Analog::OutputEnd, "20"},
          {Analog::LimitMin, "3,8"}},
         " 0   ---   150   ---   300,5  V",
         "4  ---  12  ---  20  mA",
         "MIN:  3,8 mA"},
        {"a value that is no number is left out",
         {{Analog::RangeStart, "abc"}, {Analog::OutputUnit, "2"}},
         "  ---   150   ---   300  V",
         "-20   ---   0   ---   20   mA",
         "MIN:  -24  mA"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Record r = newProject(1, 1, 600, 5);
        for (const auto& [field, cell] : c.cells) r.Analogwerte[0][field] = cell;
        print(r);
        ASSERT_NE(canvas.at(2880, 2680), nullptr);
        EXPECT_EQ(canvas.at(2880, 2680)->text, c.input);
        ASSERT_NE(canvas.at(2880, 2910), nullptr);
        EXPECT_EQ(canvas.at(2880, 2910)->text, c.output);
        ASSERT_NE(canvas.at(2880, 3140), nullptr);
        EXPECT_EQ(canvas.at(2880, 3140)->text, c.min);
    }
}

TEST_F(Sheet, EachAnalogOutputIsABlockOfFourLines) {
    Record r = newProject(3, 1, 600, 5);
    r.Analogwerte[1][Analog::Quantity] = Current;
    r.Analogwerte[1][Analog::Place] = 2;
    r.Analogwerte[2][Analog::Quantity] = ApparentPower;
    print(r);
    // Blocks start 4 x 230 + 30 = 950 apart; the binary output follows 70 below the last.
    EXPECT_EQ(canvas.at(1000, 3400)->text, "Analogausgang  2 :");
    EXPECT_EQ(canvas.at(2880, 3400)->text, "Strom");
    EXPECT_EQ(canvas.at(5040, 3400)->text, "L3");  // the places' column
    EXPECT_EQ(canvas.at(1000, 4350)->text, "Analogausgang  3 :");
    EXPECT_EQ(canvas.at(2880, 4350)->text, "Scheinleistung");
    EXPECT_EQ(canvas.at(5040, 4350)->text, "Sum");  // 14 characters end at 4280
    EXPECT_EQ(canvas.at(1000, 5370)->text, "Binärausgang  1 :");
}

TEST_F(Sheet, BinaryOutputsInEachMode) {
    Record r = newProject(1, 5, 600, 5);
    r.Binaerwerte[1][Binary::Mode] = ModeOnWhileOk;
    r.Binaerwerte[2][Binary::Mode] = "2";  // as a file holds it
    r.Binaerwerte[2][Binary::Place] = "1";
    r.Binaerwerte[2][Binary::Unit] = "kV";
    r.Binaerwerte[2][Binary::Limit] = "20000";
    r.Binaerwerte[2][Binary::Direction] = "1";
    r.Binaerwerte[3][Binary::Mode] = ModeLimit;
    r.Binaerwerte[3][Binary::Quantity] = Frequency;
    r.Binaerwerte[3][Binary::Unit] = "Hz";
    r.Binaerwerte[3][Binary::Limit] = 50.5;
    r.Binaerwerte[4][Binary::Mode] = 7;  // no mode: nothing printed, only the spacing
    print(r);

    std::vector<Placed> binary;
    for (const Placed& p : canvas.placed)
        if (p.y >= 3470 && p.y < 5200) binary.push_back(p);
    const std::vector<Placed> expected = {
        text(1000, 3470, "Binärausgang  1 :"),
        text(2880, 3470, "OFF"),
        text(1000, 3750, "Binärausgang  2 :"),
        text(2880, 3750, "ON bei Gerät OK"),
        text(1000, 4030, "Binärausgang  3 :"),
        text(2880, 4030, "Spannung"),
        text(5040, 4030, "L2-N"),
        // Three TABs from the margin: 1440, 2160, 2880.
        text(2880, 4260, "ON bei Unterschreitung 20  kV"),
        text(1000, 4540, "Binärausgang  4 :"),
        text(2880, 4540, "Frequenz"),
        text(5040, 4540, "L1-N"),
        text(2880, 4770, "ON bei Überschreitung 50,5  Hz"),
    };
    EXPECT_EQ(binary, expected);
    // Output 4 ends at 5000 + 50; output 5 adds only its 50, then 100 before the heading.
    EXPECT_EQ(canvas.at(1000, 5200)->text, "Anschlussbelegung:");
}

TEST_F(Sheet, WiringPicturePerConnectionTypeAndWithoutOne) {
    const std::pair<int, const char*> types[] = {{FourWireUnbalanced, "/opt/kalvo/s4u.sb"},
                                                 {FourWireBalanced, "/opt/kalvo/s4g.sb"},
                                                 {ThreeWireUnbalanced, "/opt/kalvo/s3u.sb"},
                                                 {ThreeWireBalanced, "/opt/kalvo/s3g.sb"},
                                                 {SinglePhase, "/opt/kalvo/s1.sb"}};
    for (const auto& [type, path] : types) {
        SCOPED_TRACE(path);
        Record r = newProject(1, 1, 600, 5);
        r.Grundwerte[Basic::ConnectionType] = type;
        canvas.pictures = {{path, {6000, 4200}}};
        print(r);
        EXPECT_EQ(canvas.placed.back(), picture(1000, 4640, path));

        canvas.pictures.clear();  // the file is missing: the rest prints
        const SheetReport report = print(r);
        EXPECT_EQ(canvas.asked, std::vector<std::string>{path});
        EXPECT_FALSE(report.pictureDrawn);
        EXPECT_EQ(canvas.placed.back(),
                  text(1000, 4080, "Alle nicht benötigten Anschlussklemmen bleiben frei."));
    }
    // A connection type without a picture (a broken record): nothing is looked for.
    Record r = newProject(1, 1, 600, 5);
    r.Grundwerte[Basic::ConnectionType] = 9;
    const SheetReport report = print(r);
    EXPECT_TRUE(canvas.asked.empty());
    EXPECT_EQ(report.picturePath, "");
    EXPECT_EQ(canvas.at(2880, 1460), nullptr);
    EXPECT_EQ(canvas.at(1000, 1460)->text, "Netzart:");
}

TEST_F(Sheet, NamesFollowTheLanguageHeadingsStayGerman) {
    Record r = newProject(1, 1, 600, 5);
    r.Grundwerte[Basic::ConnectionType] = SinglePhase;
    r.Binaerwerte[0][Binary::Mode] = ModeLimit;
    r.Binaerwerte[0][Binary::Quantity] = ReactiveFactor;
    const struct {
        Language language;
        const char* connection;
        const char* analog;
        const char* binary;
    } cases[] = {
        {Language::German, "Einphasennetz", "Spannung", "Blindfaktor"},
        {Language::English, "Single-Phase System", "Voltage", "Reactive Power Factor"},
        {Language::Dialect, "Einphosennetz", "Schbannung", "Blindfagdor"},
    };
    for (const auto& c : cases) {
        print(r, options(c.language));
        EXPECT_EQ(valueOf("Netzart:"), c.connection);
        EXPECT_EQ(valueOf("Analogausgang  1 :"), c.analog);
        EXPECT_EQ(valueOf("Binärausgang  1 :"), c.binary);
        const std::vector<std::string> t = canvas.texts();
        for (const char* heading :
             {"Daten Multimeßumformer", "Nennspannung:", "Eingang", "Anschlussbelegung:"}) {
            EXPECT_NE(std::find(t.begin(), t.end(), heading), t.end()) << heading;
        }
    }
}

TEST_F(Sheet, FourAnalogNineBinaryFitsA4WithThePicture) {
    Record r = newProject(4, 9, 600, 5);
    for (int i = 0; i < 9; ++i) r.Binaerwerte[static_cast<std::size_t>(i)][Binary::Mode] = 2;
    canvas.pictures["/opt/kalvo/s4u.sb"] = {6000, 4200};
    // Analog blocks from 2450, 950 each, to 6250; binary from 6320, 2 x 230 + 50 each, to
    // 10910; heading at 11010, picture at 11010 + 3 x 230 + 100 = 11800, ending at 16000.
    SheetReport report = print(r);
    EXPECT_EQ(report.pages, 1);
    EXPECT_EQ(canvas.at(1000, 11010)->text, "Anschlussbelegung:");
    EXPECT_EQ(canvas.placed.back(), picture(1000, 11800, "/opt/kalvo/s4u.sb"));

    // A printer whose printable area is shorter: the wiring section moves whole to page 2.
    canvas.height = 15000;
    report = print(r);
    EXPECT_EQ(report.pages, 2);
    const std::vector<Placed> tail(canvas.placed.end() - 4, canvas.placed.end());
    const std::vector<Placed> expected = {
        test::pageBreak(), text(1000, 1000, "Anschlussbelegung:"),
        text(1000, 1230, "Alle nicht benötigten Anschlussklemmen bleiben frei."),
        picture(1000, 1790, "/opt/kalvo/s4u.sb")};
    EXPECT_EQ(tail, expected);

    // Shorter still: binary output 6 (6320 + 5 x 510 = 8870, two lines to 9330) would have its
    // first line on page 1 and its second cut off at 9200: the two lines start page 2 together.
    canvas.height = 9200;
    report = print(r);
    EXPECT_EQ(report.pages, 2);
    const auto brk = std::find(canvas.placed.begin(), canvas.placed.end(), test::pageBreak());
    ASSERT_NE(brk, canvas.placed.end());
    EXPECT_EQ(*(brk - 1), text(2880, 8590, "ON bei Überschreitung 300  V"));
    EXPECT_EQ(*(brk + 1), text(1000, 1000, "Binärausgang  6 :"));
    EXPECT_EQ(canvas.at(2880, 1230)->text, "ON bei Überschreitung 300  V");
}

TEST_F(Sheet, PlacesLineUpWhateverTheQuantity) {
    // The widest names ("Scheinleistung", "Reactive Power Factor", "Scheinleisdung") end by 4880.
    for (Language language : {Language::German, Language::English, Language::Dialect}) {
        for (int quantity = 0; quantity < 10; ++quantity) {
            Record r = newProject(1, 1, 600, 5);
            r.Analogwerte[0][Analog::Quantity] = quantity;
            r.Binaerwerte[0][Binary::Mode] = ModeLimit;
            r.Binaerwerte[0][Binary::Quantity] = quantity;
            print(r, options(language));
            for (int y : {2450, 3470}) {                  // analog output 1, binary output 1
                const Placed* name = canvas.at(2880, y);  // the place is placed next
                ASSERT_NE(name, nullptr);
                EXPECT_TRUE(name[1].x == 5040 && name[1].y == y) << name->text;
            }
        }
    }
}

TEST_F(Sheet, OddRecordsPrintWhatTheyCan) {
    Record r = newProject(1, 1, 600, 5);
    r.Analogwerte[0][Analog::Quantity] = "x";
    r.Analogwerte[0][Analog::RangeEnd] = std::numeric_limits<double>::infinity();
    r.Anzahl_Analog = 9;  // more than the table has: its five rows
    r.Anzahl_Binaer = -3;
    print(r);
    EXPECT_EQ(canvas.at(1000, 2450)->text, "Analogausgang  1 :");
    EXPECT_EQ(canvas.at(2880, 2450), nullptr);  // no quantity, no place
    EXPECT_EQ(canvas.at(2880, 2680)->text, " 0   ---   150   ---   V");
    EXPECT_EQ(canvas.at(1000, 2450 + 4 * 950)->text, "Analogausgang  5 :");
    // No binary block: the heading follows 70 + 100 below the last analog block.
    EXPECT_EQ(canvas.at(1000, 2450 + 5 * 950 + 70 + 100)->text, "Anschlussbelegung:");
}

TEST(VorsatzFaktor, FirstCharacterOfTheUnit) {
    const std::pair<const char*, float> cases[] = {
        {"GW", 1e9f}, {"G", 1e9f}, {"MVA", 1e6f}, {"kV", 1000.0f}, {"kvar", 1000.0f},
        {"K", 1.0f},  {"V", 1.0f}, {"mA", 1.0f},  {"", 1.0f},      {"°", 1.0f}};
    for (const auto& [unit, factor] : cases) EXPECT_EQ(Vorsatz_Faktor(unit), factor) << unit;
}

TEST(MessortText, EveryRowOfThePlaceTable) {
    struct Case {
        int type, quantity, place;
        const char* text;
    };
    const Case cases[] = {// By k = 10 x quantity + place, whatever the connection type.
                          {0, 1, 0, "L1"},
                          {2, 2, 1, "L1"},
                          {0, 3, 1, "L1"},
                          {3, 4, 1, "L1"},
                          {0, 5, 1, "L1"},
                          {0, 6, 1, "L1"},
                          {0, 7, 0, "L1"},
                          {1, 7, 1, "L1"},
                          {0, 10, 1, "L1"},
                          {0, 11, 1, "L1"},
                          {0, 12, 1, "L1"},
                          {0, 13, 1, "L1"},
                          {0, 14, 1, "L1"},
                          {2, 8, 0, "L1-N"},
                          {0, 1, 1, "L2"},
                          {0, 2, 2, "L2"},
                          {0, 3, 2, "L2"},
                          {0, 4, 2, "L2"},
                          {0, 5, 2, "L2"},
                          {0, 6, 2, "L2"},
                          {0, 7, 2, "L2"},
                          {0, 10, 2, "L2"},
                          {0, 11, 2, "L2"},
                          {0, 12, 2, "L2"},
                          {0, 13, 2, "L2"},
                          {0, 14, 2, "L2"},
                          {2, 1, 2, "L3"},
                          {0, 2, 3, "L3"},
                          {0, 3, 3, "L3"},
                          {0, 4, 3, "L3"},
                          {0, 5, 3, "L3"},
                          {0, 6, 3, "L3"},
                          {0, 7, 3, "L3"},
                          {0, 10, 3, "L3"},
                          {0, 11, 3, "L3"},
                          {0, 12, 3, "L3"},
                          {0, 13, 3, "L3"},
                          {0, 14, 3, "L3"},
                          // By c = 1000 x connection type + k.
                          {0, 0, 0, "L1-N"},
                          {1, 0, 0, "L1-N"},
                          {4, 0, 0, "L1-N"},
                          {0, 0, 1, "L2-N"},
                          {0, 0, 2, "L3-N"},
                          {0, 0, 3, "L1-L2"},
                          {2, 0, 0, "L1-L2"},
                          {3, 0, 0, "L1-L2"},
                          {0, 0, 4, "L2-L3"},
                          {2, 0, 1, "L2-L3"},
                          {3, 0, 1, "L2-L3"},
                          {0, 0, 5, "L3-L1"},
                          {2, 0, 2, "L3-L1"},
                          {3, 0, 2, "L3-L1"},
                          {4, 2, 0, "L1"},
                          {4, 3, 0, "L1"},
                          {4, 4, 0, "L1"},
                          {4, 5, 0, "L1"},
                          {4, 6, 0, "L1"},
                          {4, 10, 0, "L1"},
                          {4, 11, 0, "L1"},
                          {4, 12, 0, "L1"},
                          {4, 13, 0, "L1"},
                          {4, 14, 0, "L1"},
                          // Everything else: the sum places.
                          {0, 2, 0, "Sum"},
                          {1, 2, 0, "Sum"},
                          {2, 4, 0, "Sum"},
                          {0, 0, 6, "Sum"},
                          {0, 1, 3, "Sum"},
                          {4, 7, 0, "L1"},
                          {0, 9, 0, "Sum"},
                          {1, 0, 1, "Sum"}};
    for (const Case& c : cases) {
        Record r = newProject(1, 1, 600, 5);
        r.Grundwerte[Basic::ConnectionType] = c.type;
        r.Analogwerte[0][Analog::Quantity] = c.quantity;
        r.Analogwerte[0][Analog::Place] = c.place;
        r.Binaerwerte[0][Binary::Quantity] = std::to_string(c.quantity);  // as a file holds it
        r.Binaerwerte[0][Binary::Place] = std::to_string(c.place);
        const std::string where = std::to_string(c.type) + "/" + std::to_string(c.quantity) + "/" +
                                  std::to_string(c.place);
        EXPECT_EQ(Messort_Text(r, OutputKind::Analog, 0), c.text) << where;
        EXPECT_EQ(Messort_Text(r, OutputKind::Binary, 0), c.text) << where;
    }
    // Cells that hold no number name no place; a phase place needs no connection type.
    Record r = newProject(1, 1, 600, 5);
    r.Analogwerte[0][Analog::Place] = "";
    EXPECT_EQ(Messort_Text(r, OutputKind::Analog, 0), "");
    EXPECT_EQ(Messort_Text(r, OutputKind::Binary, 13), "");
    r.Grundwerte[Basic::ConnectionType] = "x";
    r.Binaerwerte[0][Binary::Quantity] = Current;
    r.Binaerwerte[0][Binary::Place] = 1;
    EXPECT_EQ(Messort_Text(r, OutputKind::Binary, 0), "L2");
    r.Binaerwerte[0][Binary::Quantity] = Voltage;
    EXPECT_EQ(Messort_Text(r, OutputKind::Binary, 0), "");
}

TEST(PrintedNumber, BlanksAroundAndTheRegionalSeparator) {
    const struct {
        double value;
        char decimal;
        const char* text;
    } cases[] = {{300, ',', " 300 "},     {-20, ',', "-20 "},
                 {0.5, ',', " 0,5 "},     {0.5, '.', " 0.5 "},
                 {-0.0, ',', " 0 "},      {346.410161513775, ',', " 346,410161513775 "},
                 {std::nan(""), ',', ""}, {-std::numeric_limits<double>::infinity(), ',', ""}};
    for (const auto& c : cases) EXPECT_EQ(printedNumber(c.value, c.decimal), c.text) << c.text;
}

TEST(SheetStampTest, GermanDateAndTime) {
    std::tm t{};
    t.tm_year = 125;
    t.tm_mon = 0;
    t.tm_mday = 31;
    t.tm_hour = 14;
    t.tm_min = 5;
    t.tm_sec = 9;
    EXPECT_EQ(sheetStamp(t).date, "31.01.2025");
    EXPECT_EQ(sheetStamp(t).time, "14:05:09");
    t = std::tm{};
    t.tm_year = 109;
    t.tm_mon = 11;
    t.tm_mday = 1;
    EXPECT_EQ(sheetStamp(t).date, "01.12.2009");
    EXPECT_EQ(sheetStamp(t).time, "00:00:00");
}

TEST(DatasheetPdfName, TheProjectsNameWithPdf) {
    const std::pair<const char*, const char*> cases[] = {
        {"", "kalvo.pdf"},
        {"/home/eng/anlage.cfg", "/home/eng/anlage.pdf"},
        {"C:\\Projekte\\Umspannwerk 3.cfg", "C:\\Projekte\\Umspannwerk 3.pdf"},
        {"/home/eng.v2/anlage", "/home/eng.v2/anlage.pdf"},
        {"/home/eng/.cfg", "/home/eng/.cfg.pdf"},
        {"kalvo.cfg", "kalvo.pdf"}};
    for (const auto& [project, pdf] : cases) EXPECT_EQ(datasheetPdfName(project), pdf);
}

}  // namespace
}  // namespace kalvo
