// The Qt adapters: printing and saving the data sheet the way the main window does, with the
// dialogs answered here (the PDF written through QPrinter and through the PDF adapter, cancelled
// dialogs, a printer that fails, the wiring pictures as the programs load them); settings in a
// file; the file dialogs' filters.

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFontDatabase>
#include <QImageReader>
#include <QPixmap>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

#include "platform/qt/qt_canvas.h"
#include "platform/qt/qt_settings_store.h"
#include "print/ui/datasheet_actions.h"
#include "shell/settings.h"
#include "widgets/presenters.h"

using namespace kalvo;

namespace {

// Boxes, file names and printers answered here.
struct Answers final : MessagePresenter, FileDialogs, PrinterChooser {
    void show(QWidget*, const MessageText& message) override { boxes.push_back(message); }
    bool ask(QWidget*, const MessageText&) override { return false; }
    std::string openFile(QWidget*, const std::string&, const std::vector<std::string>&) override {
        return {};
    }
    std::string saveFile(QWidget*, const std::string& title, const std::string& presetName,
                         const std::vector<std::string>& filters) override {
        asked = title + "|" + presetName;
        for (const auto& f : filters) asked += "|" + f;
        return nextFile;
    }
    bool choose(QWidget*, QPrinter& printer) override {
        ++chosen;
        if (!setUp) return false;
        setUp(printer);
        return true;
    }

    std::vector<MessageText> boxes;
    std::string asked;
    std::string nextFile;
    std::function<void(QPrinter&)> setUp;  // empty: the user cancels
    int chosen = 0;
};

SheetOptions sheetOptions(Language language = Language::German) {
    SheetOptions o;
    o.language = language;
    o.decimal = ',';
    o.date = "31.01.2025";
    o.time = "14:05:09";
    o.pictureFolder = KALVO_PICTURE_DIR;
    return o;
}

QByteArray contents(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

// A PDF with text and an image: a font program and an image object are embedded.
bool isSheetPdf(const QByteArray& bytes) {
    return bytes.startsWith("%PDF") && bytes.contains("/FontFile") &&
           bytes.contains("/Subtype /Image");
}

}  // namespace

class QtAdaptersTest : public QObject {
    Q_OBJECT

  private slots:
    void wiringPicturesLoadDespiteTheirSuffix() {
        for (const char* name : {"s4u.sb", "s4g.sb", "s3u.sb", "s3g.sb", "s1.sb"}) {
            const QString path = QStringLiteral(KALVO_PICTURE_DIR "/") + QLatin1String(name);
            QPixmap pixmap(path);  // as the dialog loads its picture
            QVERIFY2(!pixmap.isNull(), name);
            QCOMPARE(pixmap.size(), QSize(400, 280));
            QCOMPARE(QImageReader::imageFormat(path), QByteArray("png"));
            // At 96 dpi: 6000 twips wide, inside the dialog's 6400-twip picture box.
            QCOMPARE(pictureTwips(loadPicture(path.toStdString())), (PictureSize{6000, 4200}));
        }
        QVERIFY(loadPicture(KALVO_PICTURE_DIR "/s9.sb").isNull());
    }

    void sheetFontIsArialOrItsMetricTwin() {
        const QString family = sheetFontFamily("Arial");
        QVERIFY2(family == QStringLiteral("Arial") || family == QStringLiteral("Liberation Sans"),
                 qPrintable(family));
        QVERIFY(QFontDatabase::families().contains(family));
        QCOMPARE(sheetFontFamily("Courier New"), QStringLiteral("Courier New"));
    }

    // Under the name chosen; cancelled, nothing is written and nothing said; the project file
    // itself is never written over.
    void savesThePdfUnderTheChosenName() {
        QTemporaryDir dir;
        const std::string project = dir.filePath(QStringLiteral("anlage.cfg")).toStdString();
        QVERIFY(QFile(QString::fromStdString(project)).open(QIODevice::WriteOnly));
        Answers a;
        a.nextFile = dir.filePath(QStringLiteral("anlage.pdf")).toStdString();
        const Record r = newProject(2, 5, 600, 5);
        QCOMPARE(saveDatasheetPdf(nullptr, r, sheetOptions(), project, a, a), SheetOutcome::Done);
        QCOMPARE(a.asked, "Als PDF speichern|" + a.nextFile + "|PDF (*.pdf)");
        QVERIFY(a.boxes.empty());
        QVERIFY(isSheetPdf(contents(QString::fromStdString(a.nextFile))));

        a.nextFile.clear();
        QCOMPARE(saveDatasheetPdf(nullptr, r, sheetOptions(Language::English), "", a, a),
                 SheetOutcome::Cancelled);
        QCOMPARE(a.asked, std::string("Save as PDF|kalvo.pdf|PDF (*.pdf)"));
        QVERIFY(a.boxes.empty());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files),
                 (QStringList{"anlage.cfg", "anlage.pdf"}));

        a.nextFile = project;
        QCOMPARE(saveDatasheetPdf(nullptr, r, sheetOptions(), project, a, a), SheetOutcome::Failed);
        QCOMPARE(a.boxes.size(), std::size_t{1});
        QVERIFY(a.boxes[0].text.find("ist die Projektdatei") != std::string::npos);
        QCOMPARE(contents(QString::fromStdString(project)), QByteArray());
    }

    // Through the printer the user chose; a cancelled dialog prints nothing, a printer that
    // cannot print says so.
    void printsThroughThePrinterTheUserChose() {
        QTemporaryDir dir;
        for (const QString& file :
             {QStringLiteral("printed.pdf"), QString(), QStringLiteral("fehlt/printed.pdf")}) {
            const QString out = dir.filePath(file);
            Answers a;
            if (!file.isEmpty()) {
                a.setUp = [&](QPrinter& printer) {
                    printer.setOutputFormat(QPrinter::PdfFormat);
                    printer.setOutputFileName(out);
                };
            }
            const SheetOutcome outcome = printDatasheet(nullptr, newProject(4, 9, 600, 5),
                                                        sheetOptions(Language::English), a, a);
            QCOMPARE(a.chosen, 1);
            if (file.startsWith("fehlt")) {
                QCOMPARE(outcome, SheetOutcome::Failed);
                QCOMPARE(a.boxes.size(), std::size_t{1});
                QCOMPARE(a.boxes[0].title, std::string("Print"));
                QCOMPARE(a.boxes[0].text, std::string("The data sheet could not be printed."));
                continue;
            }
            QCOMPARE(outcome, file.isEmpty() ? SheetOutcome::Cancelled : SheetOutcome::Done);
            QVERIFY(a.boxes.empty());
            QCOMPARE(isSheetPdf(contents(out)), !file.isEmpty());
        }
    }

    void thePrintDialogIsTitledDrucken() {
        QString title;
        QTimer::singleShot(0, [&] {
            if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                title = d->windowTitle();
                d->reject();
            }
        });
        QPrinter printer;
        QtPrinterChooser chooser;
        QVERIFY(!chooser.choose(nullptr, printer));  // rejected: nothing to print
        QCOMPARE(title, QStringLiteral("Drucken"));
    }

    void settingsSurviveInTheirFile() {
        QTemporaryDir dir;
        const std::string ini = dir.filePath("k.ini").toStdString();
        const Settings custom{15, -30, 9000, 7000, 3, 485, "12", true};
        {
            QtSettingsStore store(ini);
            saveSettings(store, custom);
            store.sync();
        }
        QtSettingsStore again(ini);
        QCOMPARE(loadSettings(again), custom);
        QCOMPARE(again.get("Sprache").value_or("-"), std::string("True"));
    }

    void allFilesMeansEveryFileAndTheDialogShowsTheCaptionsAsWritten() {
        QCOMPARE(dialogFilter("Alle Dateien (*.*)", true), "Alle Dateien (*.*)");  // on Windows
        QFileDialog dialog;
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setOption(QFileDialog::HideNameFilterDetails);
        const QString cfg = dialogFilter("Konfigurationsdateien (*.cfg)", false);
        const QString all = dialogFilter("Alle Dateien (*.*)", false);
        QCOMPARE(cfg + "|" + all, "Konfigurationsdateien (*.cfg) (*.cfg)|Alle Dateien (*.*) (*)");
        dialog.setNameFilters({cfg, all});
        auto* combo = dialog.findChild<QComboBox*>("fileTypeCombo");
        QVERIFY(combo != nullptr);
        QCOMPARE(combo->itemText(0), "Konfigurationsdateien (*.cfg)");
        QCOMPARE(combo->itemText(1), "Alle Dateien (*.*)");
    }

    void aNameSavedWithoutSuffixGetsTheFiltersOwn() {
        // The dialog itself adds it (in its accept()), so its overwrite question is about the file
        // that is written.
        QTemporaryDir dir;
        QTimer::singleShot(0, [] {
            if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget())) d->accept();
        });
        const std::string path =
            QtFileDialogs().saveFile(nullptr, "Speichern", dir.filePath("projekt").toStdString(),
                                     {"Konfigurationsdadateien (*.cfg)", "Alle Dateien (*.*)"});
        QCOMPARE(QString::fromStdString(path), dir.filePath("projekt.cfg"));
    }
};

QTEST_MAIN(QtAdaptersTest)
#include "datasheet_test.moc"
