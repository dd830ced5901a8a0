// The file menu: open, save, save as, their dialogs, and what a file that cannot be read or
// written leaves behind.
#include <QFile>

#include "gui_rig.h"

using namespace kalvo;
using namespace kalvo::gui;

class FileMenuTest : public QObject {
    Q_OBJECT
  private slots:
    void aMalformedFileIsNamedAndChangesNothing();
    void aCancelledDialogChangesNothing();
    void saveThenOpenRestoresTheRecordAndOffersSaving();
    void aFailedSaveNamesTheFile();
};

void FileMenuTest::aMalformedFileIsNamedAndChangesNothing() {
    Rig rig;
    rig.open();
    rig.ctx().record = recordFor2A5D();
    const Record edited = rig.ctx().record;
    const QString broken = rig.dir.filePath("broken.cfg");
    {
        QFile f(broken);
        QVERIFY(f.open(QIODevice::WriteOnly));
        static const char bytes[] = "\x08\x00\x30\x00[Typ]\r\n7\r\nnot a number\r\n";
        f.write(bytes, sizeof bytes - 1);
    }
    rig.nextFile = broken.toStdString();
    rig.action("mnufile_1")->trigger();
    QCOMPARE(rig.asked, "Projekt Laden |-|Konfigurationsdateien (*.cfg)|Alle Dateien (*.*)");
    const QString box = rig.takeBox();
    QVERIFY2(box.startsWith('!') && box.contains(broken), qPrintable(box));
    QVERIFY(!rig.action("mnufile_3")->isEnabled());
    QVERIFY(rig.ctx().record == edited);
}

void FileMenuTest::aCancelledDialogChangesNothing() {
    Rig rig;
    rig.open();
    rig.ctx().record = recordFor2A5D();
    const Record edited = rig.ctx().record;
    rig.nextFile.clear();
    rig.action("mnufile_1")->trigger();
    QCOMPARE(rig.takeBox(), QStringLiteral("0 boxes"));
    QVERIFY(rig.ctx().record == edited);
}

void FileMenuTest::saveThenOpenRestoresTheRecordAndOffersSaving() {
    Rig rig;
    frmMain& w = rig.open();
    rig.ctx().record = recordFor2A5D();
    const Record edited = rig.ctx().record;
    const QString path = rig.dir.filePath("project.cfg");
    rig.nextFile = path.toStdString();
    w.mnufile_Click(3);
    QCOMPARE(rig.asked, QStringLiteral("Speichern von Projekt|kalvo.cfg|"
                                       "Konfigurationsdadateien (*.cfg)|Alle Dateien (*.*)"));
    QVERIFY(rig.boxes.empty() && QFile::exists(path));
    w.mnufile_Click(4);
    QVERIFY(rig.asked.startsWith("Speichern von Projekt unter||"));
    rig.ctx().record = startRecord();
    rig.action("mnufile_1")->trigger();
    QCOMPARE(rig.takeBox(), QStringLiteral("0 boxes"));
    QCOMPARE(variant(rig.ctx().record), QStringLiteral("2A/5D 600/5"));
    QCOMPARE(cellTexts(rig.ctx().record), cellTexts(edited));
    QVERIFY(!rig.ctx().Ruecksetzmeldung_aus);
    QCOMPARE(rig.where("mnufile_3|mnufile_4|tbToolBar_Speichern", &QAction::isEnabled).size(), 3);
}

void FileMenuTest::aFailedSaveNamesTheFile() {
    Rig rig;
    frmMain& w = rig.open();
    rig.ctx().record = recordFor2A5D();
    rig.nextFile = rig.dir.filePath("no/such/dir/x.cfg").toStdString();
    w.mnufile_Click(4);
    QVERIFY(rig.takeBox().contains("x.cfg"));
}

QTEST_MAIN(FileMenuTest)
#include "file_menu_test.moc"
