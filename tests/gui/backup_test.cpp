// The safety net of the main window's "Programmieren": the backup file in the user's data
// folder that the log names, the two settings under "Einstellungen" and what they store, and
// the box and the table of a verify that finds the unit did not store what was sent.
#include <QDir>
#include <QListWidget>
#include <QTableWidget>

#include "files/project_file.h"
#include "gui_rig.h"
#include "shell/ui/compare_window.h"
#include "shell/ui/progr_window.h"

using namespace kalvo;
using namespace kalvo::gui;

class BackupTest : public QObject {
    Q_OBJECT
  private slots:
    void aBackupOfTheUnitIsKeptAndNamedInTheLog() {
        Rig rig;
        frmMain& w = rig.open();
        QVERIFY(rig.action("mnusichern")->isChecked() && !rig.action("mnupruefen")->isChecked());
        QDir folder(frmMain::backupFolder());
        QVERIFY(folder.absolutePath().endsWith("/backups"));
        const QStringList before = folder.entryList({"*.cfg"});
        QStringList log;
        rig.whileBox = [&] {
            auto* list = child<QListWidget>(w.progr(), "List1");
            for (int i = 0; i < list->count(); ++i) log << list->item(i)->text();
        };
        rig.ctx().record = recordFor2A5D();
        rig.runToEnd("mnuprogr");
        QCOMPARE(rig.takeBox(),
                 QStringLiteral("Information|Programmierung erfolgreich abgeschlossen!"));

        QStringList added = folder.entryList({"*.cfg"});
        for (const QString& old : before) added.removeOne(old);
        QCOMPARE(added.size(), 1);
        QVERIFY2(QRegularExpression(R"(^\d{4}-\d\d-\d\d_\d{4}_adr0_2A5D(_\d+)?\.cfg$)")
                     .match(added[0])
                     .hasMatch(),
                 qPrintable(added[0]));
        const QString path = folder.filePath(added[0]);
        QVERIFY(log.contains("Sicherung gespeichert: " + path));
        // The unit's demo configuration as it was: opening the file restores it.
        const Decoded saved = Projekt_laden(path.toStdString(), startRecord());
        QCOMPARE(saved.error, FileError::None);
        QCOMPARE(variant(saved.record), QStringLiteral("2A/5D 120/1.2"));
        QCOMPARE(saved.record.Grundwerte[Basic::NominalFrequency], Cell("50"));

        // Off: the setting is stored at once, and nothing more is saved.
        rig.action("mnusichern")->trigger();
        QCOMPARE(rig.store.values["Sichern"], "False");
        rig.runToEnd("mnuprogr");
        rig.takeBox();
        QCOMPARE(folder.entryList({"*.cfg"}).size(), before.size() + 1);
    }

    void aVerifyThatFindsADifferenceShowsIt() {
        sim::Options badCopy;
        badCopy.badCopy = true;
        Rig rig(badCopy);
        rig.store.set("Sichern", "False");
        rig.store.set("Pruefen", "True");
        rig.open();
        QVERIFY(!rig.action("mnusichern")->isChecked() && rig.action("mnupruefen")->isChecked());
        rig.ctx().record = recordFor2A5D();
        rig.runToEnd("mnuprogr");
        QCOMPARE(rig.takeBox(), QStringLiteral("!Prüfung nach dem Programmieren|Der "
                                               "Messumformer hat nicht gespeichert, was gesendet "
                                               "wurde."));
        // The differences as "Mit Gerät vergleichen" lists them: sent, then stored.
        auto* table = child<QTableWidget>(child<Vergleich>(rig.window.get(), "Vergleich"),
                                          "Vergleich_Tabelle");
        QCOMPARE(table->rowCount(), 1);
        QStringList row;
        for (int c = 0; c < table->columnCount(); ++c) row << table->item(0, c)->text();
        QCOMPARE(row.join('|'), QStringLiteral("Schnittstelle|I|aus|ein"));
        rig.action("mnupruefen")->trigger();
        QCOMPARE(rig.store.values["Pruefen"], "False");
    }
};

QTEST_MAIN(BackupTest)
#include "backup_test.moc"
