// The configuration data sheet: one page (two when a printer leaves too little room) that
// engineers file with the commissioning record and tape into the cabinet. The layout is
// computed here onto a Canvas in twips; the adapters draw it on a printer or into a PDF.
//
// Headings are German in every language; the names of the connection type and of the
// measured quantities follow the language the parameter dialog shows.
#pragma once

#include <ctime>
#include <optional>
#include <string>
#include <string_view>

#include "config/record.h"
#include "platform/canvas.h"
#include "text/language.h"
#include "text/messages.h"

namespace kalvo {

// Where things go, in twips from the top left corner of the printable area.
inline constexpr int kSheetLeft = 1000;      // left margin of every line
inline constexpr int kSheetTop = 1000;       // the title, and the top of a continued page
inline constexpr int kSheetDateLeft = 7000;  // date and time beside the title
// TAB items move to the next multiple of 720 twips (half an inch, the usual default tab of
// the platform's text tools) counted from the left edge of the printable area, as a printer
// that expands tabs does, but at least a blank's width on, so that no two items touch. With
// the sheet's font this puts every value into one column at 2880: the input values after
// "Nennspannung:" and after "Netzart:" + two TABs, the output quantities after
// "Analogausgang  1 :", and the analog values after "Eingang", "Ausgang" and "Begrenzung".
// The measuring places of the outputs share one column too: the stop a TAB reaches after the
// widest quantity name of the sheet's language.
inline constexpr int kTabWidth = 720;
int nextTabStop(int x);  // the first stop beyond x

struct SheetOptions {
    Language language = Language::German;  // connection-type and quantity names
    char decimal = '.';                    // the user's regional decimal separator
    std::string date;                      // printed at 7000 beside the title
    std::string time;
    std::string pictureFolder;  // the program's folder with the wiring pictures
    std::string projectFile;    // the project file the sheet is made from ("" when none)
};

struct SheetReport {
    int pages = 1;
    std::string picturePath;  // the wiring picture looked for ("" when the type has none)
    bool pictureDrawn = false;
};

// Lays the sheet of `record` out onto `canvas`, in the printer's terms: lines of items
// printed one after another at CurrentX / CurrentY, advancing by the font's line height.
// Nothing stops it: a missing picture or a value that is not a number leaves out only that
// item. An output block, and the wiring section with its picture, that would run past the
// bottom of the printable area moves whole to a new page, so nothing is cut off; on A4 a
// 4A/9D sheet with every binary output in limit mode still fits one page with the picture.
SheetReport Datenblatt_drucken(const Record& record, const SheetOptions& options, Canvas& canvas);

// The pieces of the sheet, for the tests and for anyone who shows the same values.

// The factor a unit's prefix stands for: "G" 1e9, "M" 1e6, "k" 1000, anything else 1 (case
// matters: "K" is 1). Single precision, as the device family's software keeps it.
float Vorsatz_Faktor(std::string_view unit);

enum class OutputKind { Analog = 1, Binary = 2 };
// The measuring place of output `row` as printed: "L1", "L2-N", "L1-L2", "Sum" ...; "" when
// the quantity or place cell holds no usable index.
std::string_view Messort_Text(const Record& record, OutputKind kind, int row);

// A number as the printer prints a numeric item: a leading blank (the minus sign when
// negative), the number with the regional separator, a trailing blank: " 300 ", "-20 ",
// " 0,5 ". "" for a value that is not finite.
std::string printedNumber(double value, char decimal);

// Date and time for the sheet in the German form of its headings: "31.01.2025", "14:05:09".
struct SheetStamp {
    std::string date;
    std::string time;
};
SheetStamp sheetStamp(const std::tm& local);
SheetStamp sheetStampNow();  // the local time now

// The name proposed for the sheet's PDF: the project file's name with ".pdf" instead of its
// suffix ("anlage.cfg" -> "anlage.pdf", the folder kept); "kalvo.pdf" for a project that has
// no file yet.
std::string datasheetPdfName(std::string_view projectPath);

// Whether two paths name the same file: the same file itself, not the same spelling, so a
// hard link or a path through a symbolic link counts. False when either does not exist.
bool isSameFile(const std::string& a, const std::string& b);

// Writes the sheet as a PDF through `pdf` (A4, the file replaced whole or not at all). A path
// that is options.projectFile itself (isSameFile) is refused with IsProject and not touched.
PdfResult writeDatasheetPdf(PdfOutput& pdf, const std::string& path, const Record& record,
                            const SheetOptions& options, SheetReport* report = nullptr);

// The box for a PDF that could not be written, naming the file; nullopt when it was.
std::optional<MessageText> pdfErrorMessage(const PdfResult& result, const std::string& path,
                                           Language language);

}  // namespace kalvo
