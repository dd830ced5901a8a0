#include "print/ui/datasheet_actions.h"

#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

#include "platform/qt/qt_canvas.h"
#include "text/print_texts.h"

namespace kalvo {

namespace {

void showPrintFailure(QWidget* parent, Language language, MessagePresenter& messages) {
    messages.show(parent, MessageText{std::string(kPrintErrorTitle.in(language)),
                                      std::string(kPrintFailed.in(language)), true});
}

}  // namespace

bool QtPrinterChooser::choose(QWidget* parent, QPrinter& printer) {
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(QString::fromUtf8(kPrintDialogTitle.data(),
                                            static_cast<qsizetype>(kPrintDialogTitle.size())));
    dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    return dialog.exec() == QDialog::Accepted;
}

SheetOptions sheetOptionsNow(Language language, char decimal) {
    SheetOptions options;
    options.language = language;
    options.decimal = decimal;
    const SheetStamp now = sheetStampNow();
    options.date = now.date;
    options.time = now.time;
    options.pictureFolder = dataFolder();
    return options;
}

SheetOutcome printDatasheet(QWidget* parent, const Record& record, const SheetOptions& options,
                            PrinterChooser& chooser, MessagePresenter& messages) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QStringLiteral("Daten Multimeßumformer"));
    if (!chooser.choose(parent, printer)) return SheetOutcome::Cancelled;
    QPainter painter;
    if (!printer.isValid() || !painter.begin(&printer)) {
        showPrintFailure(parent, options.language, messages);
        return SheetOutcome::Failed;
    }
    {
        QtCanvas canvas(painter, printer);
        Datenblatt_drucken(record, options, canvas);
    }
    const bool ended = painter.end();
    if (!ended || printer.printerState() == QPrinter::Error) {
        showPrintFailure(parent, options.language, messages);
        return SheetOutcome::Failed;
    }
    return SheetOutcome::Done;
}

SheetOutcome saveDatasheetPdf(QWidget* parent, const Record& record, const SheetOptions& options,
                              const std::string& projectPath, FileDialogs& files,
                              MessagePresenter& messages) {
    const std::string path =
        files.saveFile(parent, std::string(kPdfSaveTitle.in(options.language)),
                       datasheetPdfName(projectPath), {std::string(kPdfFilter)});
    if (path.empty()) return SheetOutcome::Cancelled;
    QtPdfOutput pdf(QStringLiteral("Daten Multimeßumformer"));
    SheetOptions sheet = options;
    sheet.projectFile = projectPath;
    const PdfResult result = writeDatasheetPdf(pdf, path, record, sheet);
    if (auto message = pdfErrorMessage(result, path, options.language)) {
        messages.show(parent, *message);
        return SheetOutcome::Failed;
    }
    return SheetOutcome::Done;
}

}  // namespace kalvo
