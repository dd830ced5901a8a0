// What the main window calls for the data sheet: "Dru&cken..." (menu entry 7 and the toolbar
// button "Drucken") and "Als PDF speichern..." (menu entry 6). The layout is the core's
// (print/datasheet.h); here are only the dialogs, the printer and the PDF file.
#pragma once

#include <string>

#include "print/datasheet.h"
#include "widgets/presenters.h"

class QPrinter;
class QWidget;

namespace kalvo {

// How the user chooses and sets up a printer: the system's print dialog in the program, a
// fake in tests.
class PrinterChooser {
  public:
    virtual ~PrinterChooser() = default;
    // Lets the user set up `printer`; false when the dialog was cancelled.
    virtual bool choose(QWidget* parent, QPrinter& printer) = 0;
};

// QPrintDialog titled "Drucken", without print to file, page range, current page or selection.
class QtPrinterChooser final : public PrinterChooser {
  public:
    bool choose(QWidget* parent, QPrinter& printer) override;
};

// The options for a sheet printed now: the date and time of now, the program's folder for the
// wiring pictures, and the names in `language` with the user's decimal separator.
SheetOptions sheetOptionsNow(Language language, char decimal);

enum class SheetOutcome { Done, Cancelled, Failed };

// Asks for a printer and prints the sheet of `record`. A cancelled dialog prints nothing; a
// printer that cannot print shows a box (in `options.language`); a missing wiring picture
// leaves out only the picture.
SheetOutcome printDatasheet(QWidget* parent, const Record& record, const SheetOptions& options,
                            PrinterChooser& chooser, MessagePresenter& messages);

// Asks for a file name (proposed: datasheetPdfName(projectPath)) and writes the sheet of the
// project in `projectPath` ("" when it has no file yet) as PDF, whole or not at all. A
// cancelled dialog writes nothing; a file that cannot be written, a PDF that would hold no
// text, or the project file itself chosen as the PDF shows a box naming the file.
SheetOutcome saveDatasheetPdf(QWidget* parent, const Record& record, const SheetOptions& options,
                              const std::string& projectPath, FileDialogs& files,
                              MessagePresenter& messages);

}  // namespace kalvo
