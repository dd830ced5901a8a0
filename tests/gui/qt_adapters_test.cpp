// The Qt adapters: settings in a file, the regional separator, and the file dialogs' filters.
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "platform/qt/qt_settings_store.h"
#include "shell/settings.h"
#include "shell/ui/presenters.h"

using namespace kalvo;

class QtAdaptersTest : public QObject {
    Q_OBJECT
  private slots:
    void settingsSurviveInTheirFile();
    void allFilesMeansEveryFileOutsideWindows();
    void theDialogShowsTheFilterCaptionsAsWritten();
    void aNameSavedWithoutSuffixGetsTheFiltersOwn();
};

void QtAdaptersTest::settingsSurviveInTheirFile() {
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

void QtAdaptersTest::allFilesMeansEveryFileOutsideWindows() {
    QCOMPARE(dialogFilter("Alle Dateien (*.*)", false), "Alle Dateien (*.*) (*)");
    QCOMPARE(dialogFilter("Konfigurationsdateien (*.cfg)", false),
             "Konfigurationsdateien (*.cfg) (*.cfg)");
    QCOMPARE(dialogFilter("Alle Dateien (*.*)", true), "Alle Dateien (*.*)");
}

void QtAdaptersTest::theDialogShowsTheFilterCaptionsAsWritten() {
    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilters({dialogFilter("Konfigurationsdateien (*.cfg)", false),
                           dialogFilter("Alle Dateien (*.*)", false)});
    auto* combo = dialog.findChild<QComboBox*>("fileTypeCombo");
    QVERIFY(combo != nullptr);
    QCOMPARE(combo->itemText(0), "Konfigurationsdateien (*.cfg)");
    QCOMPARE(combo->itemText(1), "Alle Dateien (*.*)");
}

void QtAdaptersTest::aNameSavedWithoutSuffixGetsTheFiltersOwn() {
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

QTEST_MAIN(QtAdaptersTest)
#include "qt_adapters_test.moc"
