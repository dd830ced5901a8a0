#include "print/datasheet.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <system_error>

#include "config/default_range.h"
#include "config/number_text.h"
#include "config/rules.h"
#include "config/wiring_picture.h"
#include "platform/clock.h"
#include "platform/file_path.h"
#include "text/print_texts.h"
#include "text/value_lists.h"

namespace kalvo {

namespace {

constexpr std::string_view kTitle = "Daten Multimeßumformer";

// Spacing the sheet adds between its blocks, in twips.
constexpr int kAfterInputs = 70;
constexpr int kAfterAnalogOutput = 30;
constexpr int kAfterAnalogBlock = 70;
constexpr int kAfterBinaryOutput = 50;
constexpr int kBeforeWiring = 100;
constexpr int kBeforePicture = 100;

const Font kTitleFont{"Arial", 12, true};
const Font kBodyFont{"Arial", 10, false};

// The printer: CurrentX, CurrentY and the font, and Print for one line of items. A line is
// one string in which every '\t' is a TAB item; the texts between TABs are placed as one run.
class SheetPrinter {
  public:
    explicit SheetPrinter(Canvas& canvas) : canvas_(canvas) {}

    int x = 0;
    int y = 0;
    Font font = kBodyFont;
    int pages = 1;

    // Prints the items of `line` from CurrentX on; with `lineFeed` moves to the next line.
    void print(std::string_view line, bool lineFeed = true) {
        std::size_t start = 0;
        while (start <= line.size()) {
            const std::size_t tab = line.find('\t', start);
            const std::string_view run =
                line.substr(start, tab == std::string_view::npos ? line.npos : tab - start);
            if (!run.empty()) {
                canvas_.text(x, y, font, run);
                x += canvas_.textWidth(run, font);
            }
            if (tab == std::string_view::npos) break;
            x = tabFrom(x);
            start = tab + 1;
        }
        if (lineFeed) this->lineFeed();
    }

    // Where a TAB at `from` goes: the next stop at least a blank's width away, so that two
    // items never touch.
    int tabFrom(int from) { return nextTabStop(from + canvas_.textWidth(" ", font) - 1); }

    // An output's quantity name from CurrentX and its measuring place, with a line feed. The
    // place goes to the stop a TAB after the widest quantity name of the language would reach,
    // so the places line up whichever quantity an output measures.
    void quantityAndPlace(std::string_view quantity, std::string_view place, Language language) {
        int widest = 0;
        for (const Text& name : quantityTexts())
            widest = std::max(widest, canvas_.textWidth(name.in(language), font));
        const int column = tabFrom(x + widest);
        print(quantity, false);
        x = std::max(column, x);
        print(place);
    }

    // The line feed: down by the current font's line height, back to the left edge (every
    // line of the sheet then sets CurrentX to the margin itself).
    void lineFeed() {
        y += lineHeight();
        x = 0;
    }

    // Starts a line at the left margin.
    void line(std::string_view items) {
        x = kSheetLeft;
        print(items);
    }

    int lineHeight() { return canvas_.lineHeight(font); }

    // Moves to the top of a new page when `height` more twips would not fit below CurrentY.
    // Returns whether it did. On a page that is still empty below the top nothing moves.
    bool keepTogether(int height) {
        if (y + height <= canvas_.pageHeight() || y <= kSheetTop) return false;
        canvas_.newPage();
        ++pages;
        y = kSheetTop;
        x = kSheetLeft;
        return true;
    }

  private:
    Canvas& canvas_;
};

// A cell printed as the record holds it: a number as a numeric item, a text unchanged.
std::string cellItem(const Cell& cell, char decimal) {
    if (cell.isNumber()) return printedNumber(cell.toNumber(), decimal);
    return cell.toText(decimal);
}

// A cell joined into a text (as the sheet builds the voltage and current texts): a number
// without blanks, a text unchanged.
std::string cellText(const Cell& cell, char decimal) {
    if (cell.isNumber() && !std::isfinite(cell.toNumber())) return {};
    return cell.toText(decimal);
}

// The number a cell stands for in a computation; nullopt when it holds none.
std::optional<double> cellValue(const Cell& cell) {
    if (cell.isNumber()) return cell.toNumber();
    if (cell.isText()) return parseNumber(cell.toText('.'));
    return std::nullopt;
}

// A computed numeric item; "" when the cell holds no number (the item is left out).
std::string quotientItem(const Cell& cell, float factor, char decimal) {
    const std::optional<double> value = cellValue(cell);
    if (!value) return {};
    return printedNumber(*value / static_cast<double>(factor), decimal);
}

std::string numberText(double value, char decimal) {
    return std::isfinite(value) ? formatNumber(value, decimal) : std::string();
}

// "230,94 V", or with a voltage transformer (primary and secondary in kV) "20 kV / 100 V".
std::string voltageText(const Record& record, char decimal) {
    const BasicRow& g = record.Grundwerte;
    if (!voltageTransformerInUse(record)) return cellText(g[Basic::NominalVoltage], decimal) + " V";
    std::string text = cellText(g[Basic::VtPrimary], decimal) + " kV / ";
    if (const auto secondary = cellValue(g[Basic::VtSecondary]))
        text += numberText(*secondary * 1000, decimal);
    return text + " V";
}

// "5 A", or with a current transformer "100 A / 5 A".
std::string currentText(const Record& record, char decimal) {
    const BasicRow& g = record.Grundwerte;
    if (!currentTransformerInUse(record)) return cellText(g[Basic::NominalCurrent], decimal) + " A";
    return cellText(g[Basic::CtPrimary], decimal) + " A / " +
           cellText(g[Basic::CtSecondary], decimal) + " A";
}

// A list position held in a cell, or -1 when the cell holds no number (an odd value leaves
// out the name, where the shared rule would read it as position 0).
int listPosition(const Cell& cell) {
    if (!cellValue(cell)) return -1;
    return cellIndex(cell);
}

std::string quantityName(const Cell& cell, Language language) {
    return std::string(quantityText(listPosition(cell), language));
}

void printAnalogOutput(SheetPrinter& p, const Record& record, int row, const SheetOptions& o) {
    const AnalogRow& a = record.Analogwerte[static_cast<std::size_t>(row)];
    const char d = o.decimal;
    const std::string rangeUnit = a[Analog::RangeUnit].toText(d);
    const float f = Vorsatz_Faktor(rangeUnit);
    const std::string unit = " " + std::string(outputUnitText(a));
    const std::string dashes = "  ---  ";

    p.keepTogether(4 * p.lineHeight());
    p.x = kSheetLeft;
    p.print("Analogausgang " + printedNumber(row + 1, d) + ":\t", false);
    p.quantityAndPlace(quantityName(a[Analog::Quantity], o.language),
                       Messort_Text(record, OutputKind::Analog, row), o.language);
    // Range start, knee input and range end in the unit of the range, which follows. The knee
    // is printed whether or not the kinked characteristic is on.
    p.line("\tEingang\t" + quotientItem(a[Analog::RangeStart], f, d) + dashes +
           quotientItem(a[Analog::KneeInput], f, d) + dashes +
           quotientItem(a[Analog::RangeEnd], f, d) + " " + cellItem(a[Analog::RangeUnit], d));
    p.line("\tAusgang\t" + cellItem(a[Analog::OutputStart], d) + dashes +
           cellItem(a[Analog::KneeOutput], d) + dashes + cellItem(a[Analog::OutputEnd], d) + " " +
           unit);
    p.line("\tBegrenzung\tMIN:  " + cellItem(a[Analog::LimitMin], d) + unit +
           "\tMAX:  " + cellItem(a[Analog::LimitMax], d) + unit);
    p.y += kAfterAnalogOutput;
}

void printBinaryOutput(SheetPrinter& p, const Record& record, int row, const SheetOptions& o) {
    const BinaryRow& b = record.Binaerwerte[static_cast<std::size_t>(row)];
    const char d = o.decimal;
    const std::string head = "Binärausgang " + printedNumber(row + 1, d) + ":\t";
    const Cell& mode = b[Binary::Mode];
    if (mode.equals(ModeOff)) {
        p.keepTogether(p.lineHeight());
        p.line(head + "OFF");
    } else if (mode.equals(ModeOnWhileOk)) {
        p.keepTogether(p.lineHeight());
        p.line(head + "ON bei Gerät OK");
    } else if (mode.equals(ModeLimit)) {
        p.keepTogether(2 * p.lineHeight());
        p.x = kSheetLeft;
        p.print(head, false);
        p.quantityAndPlace(quantityName(b[Binary::Quantity], o.language),
                           Messort_Text(record, OutputKind::Binary, row), o.language);
        std::string direction;
        if (b[Binary::Direction].equals(0)) direction = "Überschreitung";
        if (b[Binary::Direction].equals(1)) direction = "Unterschreitung";
        const float f = Vorsatz_Faktor(b[Binary::Unit].toText(d));
        p.line("\t\t\tON bei " + direction + quotientItem(b[Binary::Limit], f, d) + " " +
               cellItem(b[Binary::Unit], d));
    }
    // Any other mode prints nothing for this output.
    p.x = kSheetLeft;
    p.y += kAfterBinaryOutput;
}

// "Anschlussbelegung:", the sentence about free terminals and the wiring picture, kept
// together on one page.
void printWiring(SheetPrinter& p, const Record& record, const SheetOptions& o, Canvas& canvas,
                 SheetReport& report) {
    report.picturePath =
        wiringPicturePath(o.pictureFolder, listPosition(record.Grundwerte[Basic::ConnectionType]));
    std::optional<PictureSize> picture;
    if (!report.picturePath.empty()) picture = canvas.pictureSize(report.picturePath);

    const int textHeight = 3 * p.lineHeight();
    const int pictureHeight = picture ? kBeforePicture + picture->height : 0;
    if (!p.keepTogether(kBeforeWiring + textHeight + pictureHeight)) p.y += kBeforeWiring;
    p.line("Anschlussbelegung:");
    p.line("Alle nicht benötigten Anschlussklemmen bleiben frei.");  // with a LF item:
    p.lineFeed();                                                    // an empty line follows
    if (picture) {
        canvas.picture(kSheetLeft, p.y + kBeforePicture, report.picturePath);
        report.pictureDrawn = true;
    }
}

}  // namespace

int nextTabStop(int x) {
    if (x < 0) return 0;
    return (x / kTabWidth + 1) * kTabWidth;
}

// The factors 1e9, 1e6, 1000 and 1 are exact in single precision.
float Vorsatz_Faktor(std::string_view unit) {
    return static_cast<float>(prefixFactor(unit));
}

std::string_view Messort_Text(const Record& record, OutputKind kind, int row) {
    int quantity = -1;
    int place = -1;
    if (kind == OutputKind::Analog && row >= 0 && row < kAnalogRows) {
        const AnalogRow& a = record.Analogwerte[static_cast<std::size_t>(row)];
        quantity = listPosition(a[Analog::Quantity]);
        place = listPosition(a[Analog::Place]);
    } else if (kind == OutputKind::Binary && row >= 0 && row < kBinaryRows) {
        const BinaryRow& b = record.Binaerwerte[static_cast<std::size_t>(row)];
        quantity = listPosition(b[Binary::Quantity]);
        place = listPosition(b[Binary::Place]);
    }
    if (quantity < 0 || place < 0) return {};
    const int k = 10 * quantity + place;
    const auto in = [](int v, std::initializer_list<int> set) {
        return std::find(set.begin(), set.end(), v) != set.end();
    };
    // First match wins.
    if (in(k, {10, 21, 31, 41, 51, 61, 70, 71, 101, 111, 121, 131, 141})) return "L1";
    if (k == 80) return "L1-N";
    if (in(k, {11, 22, 32, 42, 52, 62, 72, 102, 112, 122, 132, 142})) return "L2";
    if (in(k, {12, 23, 33, 43, 53, 63, 73, 103, 113, 123, 133, 143})) return "L3";
    // The rest depends on the connection type.
    const int type = listPosition(record.Grundwerte[Basic::ConnectionType]);
    if (type < 0) return {};
    const int c = 1000 * type + k;
    if (in(c, {0, 1000, 4000})) return "L1-N";
    if (c == 1) return "L2-N";
    if (c == 2) return "L3-N";
    if (in(c, {3, 2000, 3000})) return "L1-L2";
    if (in(c, {4, 2001, 3001})) return "L2-L3";
    if (in(c, {5, 2002, 3002})) return "L3-L1";
    if (in(c, {4020, 4030, 4040, 4050, 4060, 4100, 4110, 4120, 4130, 4140})) return "L1";
    return "Sum";  // for example the sum places of the power quantities
}

std::string printedNumber(double value, char decimal) {
    if (!std::isfinite(value)) return {};
    if (value < 0) return formatNumber(value, decimal) + " ";
    return " " + formatNumber(value == 0 ? 0.0 : value, decimal) + " ";
}

SheetStamp sheetStamp(const std::tm& t) {
    const auto digits = [](int value, int width) {
        std::string text = formatNumber(std::abs(value), '.');
        if (static_cast<int>(text.size()) < width)
            text.insert(0, static_cast<std::size_t>(width) - text.size(), '0');
        return text;
    };
    return {
        digits(t.tm_mday, 2) + "." + digits(t.tm_mon + 1, 2) + "." + digits(t.tm_year + 1900, 4),
        digits(t.tm_hour, 2) + ":" + digits(t.tm_min, 2) + ":" + digits(t.tm_sec, 2)};
}

SheetStamp sheetStampNow() {
    return sheetStamp(localTimeNow());
}

SheetReport Datenblatt_drucken(const Record& record, const SheetOptions& o, Canvas& canvas) {
    SheetReport report;
    SheetPrinter p(canvas);
    const BasicRow& g = record.Grundwerte;
    const char d = o.decimal;

    // Title, and date and time beside it; then an empty line.
    p.y = kSheetTop;
    p.x = kSheetLeft;
    p.font = kTitleFont;
    p.print(kTitle, false);
    p.font = kBodyFont;
    p.x = kSheetDateLeft;
    p.print(o.date + "\t" + o.time);
    p.lineFeed();

    const int type = listPosition(g[Basic::ConnectionType]);
    p.line("Netzart:\t\t" + std::string(connectionTypeText(type, o.language)));
    p.line("Nennspannung:\t" + voltageText(record, d));
    p.line("Nennstrom:     \t" + currentText(record, d));
    p.line("Nennfrequenz: \t" + cellItem(g[Basic::NominalFrequency], d) + " Hz");
    p.y += kAfterInputs;

    const int analog = std::clamp(record.Anzahl_Analog, 0, kAnalogRows);
    for (int i = 0; i < analog; ++i) printAnalogOutput(p, record, i, o);
    p.y += kAfterAnalogBlock;

    const int binary = std::clamp(record.Anzahl_Binaer, 0, kBinaryRows);
    for (int i = 0; i < binary; ++i) printBinaryOutput(p, record, i, o);

    printWiring(p, record, o, canvas, report);
    report.pages = p.pages;
    return report;
}

std::string datasheetPdfName(std::string_view projectPath) {
    if (projectPath.empty()) return "kalvo.pdf";
    const std::size_t slash = projectPath.find_last_of("/\\");
    const std::size_t nameStart = slash == std::string_view::npos ? 0 : slash + 1;
    std::size_t dot = projectPath.rfind('.');
    // A dot that starts the name (".cfg") or lies in a folder name is no suffix.
    if (dot == std::string_view::npos || dot <= nameStart) dot = projectPath.size();
    return std::string(projectPath.substr(0, dot)) + ".pdf";
}

bool isSameFile(const std::string& a, const std::string& b) {
    if (a.empty() || b.empty()) return false;
    std::error_code ec;
    return std::filesystem::equivalent(pathFromUtf8(a), pathFromUtf8(b), ec) && !ec;
}

PdfResult writeDatasheetPdf(PdfOutput& pdf, const std::string& path, const Record& record,
                            const SheetOptions& options, SheetReport* report) {
    if (isSameFile(path, options.projectFile)) return {PdfResult::Error::IsProject, {}};
    SheetReport laidOut;
    PdfResult result = pdf.write(
        path, [&](Canvas& canvas) { laidOut = Datenblatt_drucken(record, options, canvas); });
    if (report) *report = laidOut;
    return result;
}

std::optional<MessageText> pdfErrorMessage(const PdfResult& result, const std::string& path,
                                           Language language) {
    if (result.ok()) return std::nullopt;
    MessageText m;
    m.critical = true;
    m.title = std::string(kFileErrorTitle.in(language));
    const std::string quoted = "\"" + path + "\"";
    if (result.error == PdfResult::Error::NoText) {
        m.text = fillIn(kPdfNoText.in(language), quoted);
    } else if (result.error == PdfResult::Error::IsProject) {
        m.text = fillIn(kPdfIsProject.in(language), quoted);
    } else {
        m.text = fillIn(kFileCannotWrite.in(language), quoted);
    }
    if (!result.detail.empty()) m.text += " (" + result.detail + ")";
    return m;
}

}  // namespace kalvo
