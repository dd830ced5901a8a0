// Whole paths through the main window and its dialogs, against the in-process simulated
// transducer: read back, confirm with OK and save; program a record with faults; watch the live
// values; change the address; save the data sheet; and the file menu: its dialogs, and what a
// file that cannot be read or written leaves behind (the boxes' words are the session's).
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>

#include "config/ui/param_dialog.h"
#include "files/project_file.h"
#include "gui_rig.h"
#include "link/ui/address_windows.h"
#include "measure/ui/anzeilist.h"
#include "shell/ui/aux_windows.h"

using namespace kalvo;
using namespace kalvo::gui;

class WorkflowsTest : public QObject {
    Q_OBJECT
  private slots:
    void readBackOkAndSaveWriteTheDevicesConfiguration() {
        Rig rig;
        frmMain& w = rig.open(true);
        rig.ctx().record = recordFor2A5D();
        rig.runToEnd("mnuprogr");
        rig.boxes.clear();
        Record programmed = rig.ctx().record;  // with the device's classes now

        rig.ctx().record = startRecord();
        rig.runToEnd("mnudaten");
        QCOMPARE(rig.takeBox(), QStringLiteral("0 boxes"));
        // The read-back ends in the dialog; Save waits for its OK.
        param* dialog = w.parameterDialog();
        QVERIFY(dialog != nullptr && dialog->isVisible());
        QVERIFY(!rig.action("mnufile_3")->isEnabled());
        click(dialog, "OK_Parametrieren");
        QTRY_VERIFY(w.parameterDialog() == nullptr);
        QCOMPARE(rig.where("mnufile_3|mnufile_6|mnufile_7", &QAction::isEnabled).size(), 3);

        const QString path = rig.dir.filePath("read.cfg");
        rig.nextFile = path.toStdString();
        rig.action("mnufile_3")->trigger();
        QVERIFY(rig.boxes.empty());
        QFile saved(path);
        QVERIFY(saved.open(QIODevice::ReadOnly));
        const QByteArray bytes = saved.readAll();
        // Byte for byte what the programmed record gives under that name.
        const Encoded expected = encodeProject(programmed, path.toStdString(), '.');
        QCOMPARE(bytes, QByteArray::fromStdString(expected.bytes));

        // Its data sheet as PDF, offered under the project's name.
        const QString pdf = rig.dir.filePath("read.pdf");
        rig.nextFile = pdf.toStdString();
        rig.action("mnufile_6")->trigger();
        QCOMPARE(rig.asked, "Als PDF speichern|" + pdf + "|PDF (*.pdf)");
        QCOMPARE(rig.takeBox(), QStringLiteral("0 boxes"));
        QFile file(pdf);
        QVERIFY(file.open(QIODevice::ReadOnly) && file.read(5) == "%PDF-");
    }

    void aRecordWithFaultsIsProgrammedOnlyWhenTheUserSaysSo() {
        Rig rig;
        frmMain& w = rig.open();
        rig.ctx().record = recordFor2A5D();
        rig.ctx().record.Grundwerte[Basic::NominalVoltage] =
            Cell(400.0);  // above a 600 V class' L-N
        rig.answer = false;
        rig.action("mnuprogr")->trigger();
        QCOMPARE(rig.questions.size(), std::size_t{1});
        QCOMPARE(QString::fromStdString(rig.questions[0].title), "Parametrierung fehlerhaft");
        // The page by its name, the limit as the page shows it.
        QVERIFY(QString::fromStdString(rig.questions[0].text)
                    .contains("\n\nGrundeinstellungen – Nenneingangsspannung: höchstens 300 V,"));
        QVERIFY(!w.worker().busy());
        QVERIFY(rig.device.frames().empty());

        rig.answer = true;
        rig.action("mnuprogr")->trigger();
        QVERIFY(w.worker().busy());
        QTRY_VERIFY_WITH_TIMEOUT(!w.worker().busy(), 20000);
        QVERIFY(!rig.device.frames().empty());

        // A code the device lacks is not offered: the box names the field, nothing is sent.
        rig.takeBox();
        const std::size_t sent = rig.device.frames().size();
        rig.ctx().record.Binaerwerte[0][Binary::Mode] = Cell("7");
        rig.action("mnuprogr")->trigger();
        QCOMPARE(rig.questions.size(), std::size_t{2});
        QVERIFY(!w.worker().busy());
        QCOMPARE(rig.takeBox(), QStringLiteral("!Aktion abgebrochen!|Die Konfiguration kann nicht "
                                               "programmiert werden: Signal 7 gibt es nicht "
                                               "(Binärausgang 1)."));
        QCOMPARE(rig.device.frames().size(), sent);
    }

    // Opening a file ends in the dialog, which names the file: outside the program's folder
    // with its whole path.
    void saveThenOpenRestoresTheRecordAndOffersSaving() {
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
        QCOMPARE(rig.asked, "Projekt Laden |-|Konfigurationsdateien (*.cfg)|Alle Dateien (*.*)");
        QCOMPARE(rig.takeBox(), QStringLiteral("0 boxes"));
        QCOMPARE(variant(rig.ctx().record), QStringLiteral("2A/5D 600/5"));
        QCOMPARE(cellTexts(rig.ctx().record), cellTexts(edited));
        QVERIFY(!rig.ctx().Ruecksetzmeldung_aus);
        QCOMPARE(rig.where("mnufile_3|mnufile_4|tbToolBar_Speichern", &QAction::isEnabled).size(),
                 3);
        param* dialog = w.parameterDialog();
        QVERIFY(dialog != nullptr && dialog->isVisible());
        QCOMPARE(dialog->windowTitle(), "Parametrierung    [" + path + "]");
    }

    void aFileThatFailsOrACancelledDialogChangesNothing() {
        Rig rig;
        frmMain& w = rig.open();
        rig.ctx().record = recordFor2A5D();
        const Record edited = rig.ctx().record;
        const QString broken = rig.dir.filePath("broken.cfg");
        {
            QFile f(broken);
            QVERIFY(f.open(QIODevice::WriteOnly));
            static const char bytes[] = "\x08\x00\x30\x00[Typ]\r\n7\r\nnot a number\r\n";
            f.write(bytes, sizeof bytes - 1);
        }
        // A malformed file is named in a critical box; an empty answer is a cancelled dialog.
        for (const QString& file : {broken, QString()}) {
            rig.nextFile = file.toStdString();
            rig.action("mnufile_1")->trigger();
            const QString box = rig.takeBox();
            QVERIFY2(file.isEmpty() ? box == "0 boxes" : box.startsWith('!') && box.contains(file),
                     qPrintable(box));
            QVERIFY(!rig.action("mnufile_3")->isEnabled());
            QVERIFY(rig.ctx().record == edited);
        }
        rig.nextFile = rig.dir.filePath("no/such/dir/x.cfg").toStdString();
        w.mnufile_Click(4);
        QVERIFY(rig.takeBox().contains("x.cfg"));
    }

    void liveValuesFillTheLabelsAndStopPromptly() {
        Rig rig({}, true);
        frmMain& w = rig.open(true);
        rig.action("tbToolBar_Messen")->trigger();
        Anzeilist* view = w.anzeilist();
        QVERIFY(view->isVisible());
        auto* start = child<QPushButton>(view, "start");
        start->click();
        QCOMPARE(start->text(), "STOP");
        QVERIFY(w.worker().busy());
        // A fresh unit offers U1, I1, P and F: the first label shows U1 after the first marker.
        QTRY_VERIFY_WITH_TIMEOUT(child<QLabel>(view, "Label1_0")->text().contains("U1"), 10000);
        QVERIFY(!w.progr()->isVisible());
        // No other sequence while the poll runs.
        QVERIFY(!rig.action("mnudaten")->isEnabled());

        QElapsedTimer timer;
        timer.start();
        start->click();
        QTRY_VERIFY_WITH_TIMEOUT(!w.worker().busy(), 5000);
        QVERIFY2(timer.elapsed() < 1000, qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(start->text(), "START");
        QVERIFY(rig.action("mnudaten")->isEnabled());
    }

    void aNewAddressIsTestedAndCanBecomeTheStandardAddress() {
        Rig rig;
        frmMain& w = rig.open(true);
        rig.action("mnuadr")->trigger();
        Adresse* window = w.adresse();
        child<QLineEdit>(window, "Text1")->setText("0");
        child<QLineEdit>(window, "Text2")->setText("5");
        click(window, "OK_Adresse_ändern");
        QVERIFY(w.worker().busy());
        QTRY_VERIFY_WITH_TIMEOUT(!w.worker().busy(), 20000);
        // The unit took the address and answered the link test there; the program's own address
        // changes only when the user takes the offer.
        QCOMPARE(child<QLabel>(window, "Ergebnis_Label")->text(), "OK");
        QCOMPARE(rig.panel(3), "Adr. 0");
        auto* take = child<QPushButton>(window, "Standardadresse_Command");
        QVERIFY(take->isVisible());
        take->click();
        QCOMPARE(rig.panel(3), "Adr. 5");
        QCOMPARE(rig.ctx().Geraeteadresse, std::string("5"));
        // And the program talks to the unit there.
        rig.runToEnd("mnudaten");
        QCOMPARE(rig.takeBox(), QStringLiteral("0 boxes"));
    }
};

QTEST_MAIN(WorkflowsTest)
#include "workflows_test.moc"
