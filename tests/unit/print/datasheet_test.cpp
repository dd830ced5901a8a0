// The data sheet's layout: what is placed where, in twips, worked out by hand from the sheet's
// rules with the recording canvas's metrics (100 twips per character, 50 per blank and 230 per
// line at 10 pt). Tab stops lie at every multiple of 720; a TAB goes at least a blank (50) on.
#include "print/datasheet.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <tuple>

#include "recording_canvas.h"
#include "support/record_builder.h"

namespace kalvo {
namespace {

using test::picture;
using test::Placed;
using test::RecordBuilder;
using test::text;

constexpr const char* kFree = "Alle nicht benötigten Anschlussklemmen bleiben frei.";

SheetOptions options(Language language = Language::German, char decimal = ',') {
    return {language, decimal, "31.01.2025", "14:05:09", "/opt/kalvo", ""};
}

// A project for a 600 V / 5 A unit.
RecordBuilder unit(int analog = 1, int binary = 1) {
    return RecordBuilder(analog, binary, 600, 5);
}

class Sheet : public ::testing::Test {
  protected:
    SheetReport print(const Record& r, const SheetOptions& o = options()) {
        canvas.placed.clear();
        canvas.asked.clear();
        return Datenblatt_drucken(r, o, canvas);
    }
    // The text placed at (x, y), or a note that there is none.
    std::string at(int x, int y) const {
        const Placed* p = canvas.at(x, y);
        return p ? p->text : "(nothing)";
    }
    // The text placed at the value column (2880) on the line of the label at the margin.
    std::string valueOf(const std::string& label) const {
        for (const Placed& p : canvas.placed) {
            if (p.kind == Placed::Text && p.x == 1000 && p.text == label) return at(2880, p.y);
        }
        return "(no " + label + ")";
    }

    test::RecordingCanvas canvas;
};

TEST(TabStops, EveryHalfInchFromTheLeftEdge) {
    const std::pair<int, int> cases[] = {{0, 720},     {1, 720},     {719, 720},  {720, 1440},
                                         {1800, 2160}, {2800, 2880}, {8000, 8640}};
    for (const auto& [x, stop] : cases) EXPECT_EQ(nextTabStop(x), stop) << x;
}

TEST_F(Sheet, WholeSheetOfANewOneAndOneProject) {
    canvas.pictures["/opt/kalvo/s4u.sb"] = {6000, 4200};
    const SheetReport report = print(unit());

    EXPECT_EQ(test::listing(canvas.placed), test::listingFile("new_1a1d.txt"));
    EXPECT_FALSE(canvas.wrongFamily);
    EXPECT_EQ(report.pages, 1);
    EXPECT_TRUE(report.pictureDrawn);
    EXPECT_EQ(report.picturePath, "/opt/kalvo/s4u.sb");
}

TEST_F(Sheet, InputLinesWithAndWithoutTransformers) {
    const struct {
        const char* what;
        Record record;
        char decimal;
        const char *voltage, *current, *frequency;
    } cases[] = {
        {"direct, as the dialog stores",
         unit().basic(Basic::NominalVoltage, 230.94, Basic::NominalCurrent, 1.2,
                      Basic::NominalFrequency, 16.666),
         ',', "230,94 V", "1,2 A", " 16,666  Hz"},
        {"transformers, as a file holds",
         unit()
             .vt("20", "0,1")
             .ct("100", "5")
             .basic(Basic::NominalVoltage, "0", Basic::NominalCurrent, "0"),
         ',', "20 kV / 100 V", "100 A / 5 A", "50 Hz"},
        {"transformers as the dialog stores, with a point", unit().vt(0.4, 0.11).ct(7.5, 1.2), '.',
         "0.4 kV / 110 V", "7.5 A / 1.2 A", "50 Hz"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        print(c.record, options(Language::German, c.decimal));
        EXPECT_EQ(valueOf("Nennspannung:"), c.voltage);
        EXPECT_EQ(valueOf("Nennstrom:     "), c.current);
        EXPECT_EQ(valueOf("Nennfrequenz: "), c.frequency);
    }
}

TEST_F(Sheet, AnalogValuesInTheRangeUnitAndAsTheRecordHoldsThem) {
    const struct {
        const char* what;
        Record record;
        const char *input, *output, *min;
    } cases[] = {
        {"a kV range divided by its prefix",
         unit().analog(0, Analog::RangeUnit, "kV", Analog::KneeInput, 10000, Analog::RangeEnd,
                       20000),
         " 0   ---   10   ---   20  kV", "-20   ---   0   ---   20   mA", "MIN:  -24  mA"},
        {"MW with a fraction, volts out",
         unit().analog(0, Analog::Quantity, ActivePower, Analog::RangeUnit, "MW",
                       Analog::RangeStart, -1.5e6, Analog::KneeInput, 0, Analog::RangeEnd, 1.5e6,
                       Analog::OutputUnit, 1, Analog::OutputStart, 0, Analog::KneeOutput, 5,
                       Analog::OutputEnd, 10, Analog::LimitMin, 0, Analog::LimitMax, 12),
         "-1,5   ---   0   ---   1,5  MW", " 0   ---   5   ---   10   V", "MIN:   0  V"},
        {"a capital K is no prefix",
         unit().analog(0, Analog::RangeUnit, "KV", Analog::RangeEnd, 400),
         " 0   ---   150   ---   400  KV", "-20   ---   0   ---   20   mA", "MIN:  -24  mA"},
        {"texts from a file: outputs unchanged, inputs computed",
         unit().analog(0, Analog::RangeStart, "0", Analog::KneeInput, "150", Analog::RangeEnd,
                       "300,5", Analog::OutputStart, "4", Analog::KneeOutput, "12",
                       Analog::OutputEnd, "20", Analog::LimitMin, "3,8"),
         " 0   ---   150   ---   300,5  V", "4  ---  12  ---  20  mA", "MIN:  3,8 mA"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        print(c.record);
        EXPECT_EQ(at(2880, 2680), c.input);
        EXPECT_EQ(at(2880, 2910), c.output);
        EXPECT_EQ(at(2880, 3140), c.min);
    }
}

TEST_F(Sheet, BinaryOutputsInEachMode) {
    print(unit(1, 5)
              .binary(1, Binary::Mode, ModeOnWhileOk)
              // As a file holds it.
              .binary(2, Binary::Mode, "2", Binary::Place, "1", Binary::Unit, "kV", Binary::Limit,
                      "20000", Binary::Direction, "1")
              .binary(3, Binary::Mode, ModeLimit, Binary::Quantity, Frequency, Binary::Unit, "Hz",
                      Binary::Limit, 50.5)
              .binary(4, Binary::Mode, 7));  // no mode: nothing printed, only the spacing

    std::vector<Placed> binary;
    for (const Placed& p : canvas.placed)
        if (p.y >= 3470 && p.y < 5200) binary.push_back(p);
    EXPECT_EQ(test::listing(binary), test::listingFile("binary_modes.txt"));
    // Output 4 ends at 5000 + 50; output 5 adds only its 50, then 100 before the heading.
    EXPECT_EQ(at(1000, 5200), "Anschlussbelegung:");
}

// The picture for each connection type is the configuration's (its unit test); here, what the
// sheet does without one.
TEST_F(Sheet, AMissingWiringPictureOrNoneLeavesTheRestPrinted) {
    SheetReport report = print(unit().connection(ThreeWireBalanced));
    EXPECT_EQ(canvas.asked, std::vector<std::string>{"/opt/kalvo/s3g.sb"});
    EXPECT_FALSE(report.pictureDrawn);
    EXPECT_EQ(canvas.placed.back(), text(1000, 4080, kFree));
    // A connection type without a picture (a broken record): nothing is looked for.
    report = print(unit().connection(9));
    EXPECT_TRUE(canvas.asked.empty());
    EXPECT_EQ(report.picturePath, "");
    EXPECT_EQ(canvas.at(2880, 1460), nullptr);
    EXPECT_EQ(at(1000, 1460), "Netzart:");
}

TEST_F(Sheet, NamesFollowTheLanguageHeadingsStayGerman) {
    const Record r = unit()
                         .connection(SinglePhase)
                         .binary(0, Binary::Mode, ModeLimit, Binary::Quantity, ReactiveFactor);
    const struct {
        Language language;
        const char *connection, *analog, *binary;
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
    Record r = unit(4, 9);
    for (int i = 0; i < 9; ++i) r.Binaerwerte[static_cast<std::size_t>(i)][Binary::Mode] = 2;
    canvas.pictures["/opt/kalvo/s4u.sb"] = {6000, 4200};
    // Analog blocks from 2450, 950 each, to 6250; binary from 6320, 2 x 230 + 50 each, to
    // 10910; heading at 11010, picture at 11010 + 3 x 230 + 100 = 11800, ending at 16000.
    SheetReport report = print(r);
    EXPECT_EQ(report.pages, 1);
    EXPECT_EQ(at(1000, 11010), "Anschlussbelegung:");
    EXPECT_EQ(canvas.placed.back(), picture(1000, 11800, "/opt/kalvo/s4u.sb"));

    // A printable area that ends 100 above the picture's end (its three lines of text count, not
    // two): the wiring section moves whole to page 2.
    canvas.height = 15900;
    report = print(r);
    EXPECT_EQ(report.pages, 2);
    const std::vector<Placed> tail(canvas.placed.end() - 4, canvas.placed.end());
    const std::vector<Placed> expected = {test::pageBreak(), text(1000, 1000, "Anschlussbelegung:"),
                                          text(1000, 1230, kFree),
                                          picture(1000, 1790, "/opt/kalvo/s4u.sb")};
    EXPECT_EQ(tail, expected);

    // Shorter still: binary output 6 (6320 + 5 x 510 = 8870, two lines to 9330) would have its
    // first line on page 1 and its second cut off at 9200: the two lines start page 2 together.
    canvas.height = 9200;
    report = print(r);
    EXPECT_EQ(report.pages, 2);
    auto brk = std::find(canvas.placed.begin(), canvas.placed.end(), test::pageBreak());
    ASSERT_NE(brk, canvas.placed.end());
    EXPECT_EQ(*(brk - 1), text(2880, 8590, "ON bei Überschreitung 300  V"));
    EXPECT_EQ(*(brk + 1), text(1000, 1000, "Binärausgang  6 :"));
    EXPECT_EQ(at(2880, 1230), "ON bei Überschreitung 300  V");

    // An analog block (four lines) is kept whole too: output 4 from 5300 would end at 6220.
    canvas.height = 6000;
    print(r);
    brk = std::find(canvas.placed.begin(), canvas.placed.end(), test::pageBreak());
    ASSERT_NE(brk, canvas.placed.end());
    EXPECT_EQ(*(brk + 1), text(1000, 1000, "Analogausgang  4 :"));
}

TEST_F(Sheet, PlacesLineUpWhateverTheQuantity) {
    // The widest names ("Scheinleistung", "Reactive Power Factor", "Scheinleisdung") end by 4880.
    for (Language language : {Language::German, Language::English, Language::Dialect}) {
        for (int quantity = 0; quantity < 10; ++quantity) {
            print(unit()
                      .analog(0, Analog::Quantity, quantity)
                      .binary(0, Binary::Mode, ModeLimit, Binary::Quantity, quantity),
                  options(language));
            for (int y : {2450, 3470}) {                  // analog output 1, binary output 1
                const Placed* name = canvas.at(2880, y);  // the place is placed next
                ASSERT_NE(name, nullptr);
                EXPECT_TRUE(name[1].x == 5040 && name[1].y == y) << name->text;
            }
        }
    }
}

TEST_F(Sheet, OddRecordsPrintWhatTheyCan) {
    Record r = unit().analog(0, Analog::Quantity, "x", Analog::RangeEnd,
                             std::numeric_limits<double>::infinity());
    r.Anzahl_Analog = 9;  // more than the table has: its five rows
    r.Anzahl_Binaer = -3;
    print(r);
    EXPECT_EQ(at(1000, 2450), "Analogausgang  1 :");
    EXPECT_EQ(canvas.at(2880, 2450), nullptr);  // no quantity, no place
    EXPECT_EQ(at(2880, 2680), " 0   ---   150   ---   V");
    EXPECT_EQ(at(1000, 2450 + 4 * 950), "Analogausgang  5 :");
    // No binary block: the heading follows 70 + 100 below the last analog block.
    EXPECT_EQ(at(1000, 2450 + 5 * 950 + 70 + 100), "Anschlussbelegung:");
}

TEST(MessortText, EveryPlaceOfThePlaceTable) {
    // Keys c = 1000 x connection type + 10 x quantity + place. The phase places by quantity and
    // place come first, whatever the connection type; then those that depend on it.
    const struct {
        std::vector<int> keys;
        const char* text;
    } rows[] = {
        {{10, 21, 31, 41, 51, 61, 70, 71, 101, 111, 121, 131, 141, 2021, 3041, 1071, 4070}, "L1"},
        {{2080}, "L1-N"},
        {{11, 22, 32, 42, 52, 62, 72, 102, 112, 122, 132, 142}, "L2"},
        {{2012, 23, 33, 43, 53, 63, 73, 103, 113, 123, 133, 143}, "L3"},
        {{0, 1000, 4000}, "L1-N"},
        {{1}, "L2-N"},
        {{2}, "L3-N"},
        {{3, 2000, 3000}, "L1-L2"},
        {{4, 2001, 3001}, "L2-L3"},
        {{5, 2002, 3002}, "L3-L1"},
        {{4020, 4030, 4040, 4050, 4060, 4100, 4110, 4120, 4130, 4140}, "L1"},
        // Everything else: the sum places.
        {{20, 1020, 2040, 6, 13, 90, 1001}, "Sum"},
    };
    for (const auto& row : rows) {
        for (const int c : row.keys) {
            const int type = c / 1000, quantity = c % 1000 / 10, place = c % 10;
            Record r = unit().connection(type);
            r.Analogwerte[0][Analog::Quantity] = quantity;
            r.Analogwerte[0][Analog::Place] = place;
            r.Binaerwerte[0][Binary::Quantity] = std::to_string(quantity);  // as a file holds it
            r.Binaerwerte[0][Binary::Place] = std::to_string(place);
            EXPECT_EQ(Messort_Text(r, OutputKind::Analog, 0), row.text) << c;
            EXPECT_EQ(Messort_Text(r, OutputKind::Binary, 0), row.text) << c;
        }
    }
    // Cells that hold no number name no place; a phase place needs no connection type.
    Record r = unit().analog(0, Analog::Place, "");
    EXPECT_EQ(Messort_Text(r, OutputKind::Analog, 0), "");
    EXPECT_EQ(Messort_Text(r, OutputKind::Binary, 13), "");
    r = unit().connection("x").binary(0, Binary::Quantity, Current, Binary::Place, 1);
    EXPECT_EQ(Messort_Text(r, OutputKind::Binary, 0), "L2");
    r.Binaerwerte[0][Binary::Quantity] = Voltage;
    EXPECT_EQ(Messort_Text(r, OutputKind::Binary, 0), "");
}

TEST(PrintedNumber, BlanksAroundAndTheRegionalSeparator) {
    const struct {
        double value;
        char decimal;
        const char* text;
    } cases[] = {{300, ',', " 300 "}, {-20, ',', "-20 "}, {0.5, ',', " 0,5 "},
                 {0.5, '.', " 0.5 "}, {-0.0, ',', " 0 "}, {std::nan(""), ',', ""}};
    for (const auto& c : cases) EXPECT_EQ(printedNumber(c.value, c.decimal), c.text) << c.text;
}

TEST(SheetStampTest, GermanDateAndTime) {
    std::tm t{};
    std::tie(t.tm_year, t.tm_mon, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec) =
        std::tuple(2025 - 1900, 0, 3, 14, 5, 9);  // 3 January 2025
    EXPECT_EQ(sheetStamp(t).date + " " + sheetStamp(t).time, "03.01.2025 14:05:09");
}

TEST(DatasheetPdfName, TheProjectsNameWithPdf) {
    const std::pair<const char*, const char*> cases[] = {
        {"", "kalvo.pdf"},
        {"/home/eng/anlage.cfg", "/home/eng/anlage.pdf"},
        {"/home/eng.v2/anlage", "/home/eng.v2/anlage.pdf"},
        {"/home/eng/.cfg", "/home/eng/.cfg.pdf"}};
    for (const auto& [project, pdf] : cases) EXPECT_EQ(datasheetPdfName(project), pdf);
}

}  // namespace
}  // namespace kalvo
