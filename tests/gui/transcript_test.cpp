// "Protokoll speichern..." in the log window: the job's transcript, after the job ended and until
// the window is closed, to the file the user names, whole or not at all.
#include <QFile>
#include <QPushButton>
#include <QRegularExpression>

#include "gui_rig.h"
#include "shell/ui/progr_window.h"

using namespace kalvo;
using namespace kalvo::gui;

class TranscriptTest : public QObject {
    Q_OBJECT
  private slots:
    void theLogWindowSavesTheJobsTranscript() {
        Rig rig;
        frmMain& w = rig.open(true);
        auto* save = child<QPushButton>(w.progr(), "Protokoll_speichern");
        QVERIFY(!save->isEnabled());
        rig.runToEnd("mnudaten");
        QCOMPARE(rig.takeBox(), QStringLiteral("0 boxes"));
        QVERIFY(w.progr()->isVisible() && save->isEnabled());

        const QString path = rig.dir.filePath("t.txt");
        rig.nextFile = path.toStdString();
        save->click();
        QVERIFY2(QRegularExpression(R"(^Protokoll speichern\|Protokoll_\d{4}-\d\d-\d\d_\d{4}\.txt)"
                                    R"(\|Textdateien \(\*\.txt\)\|Alle Dateien \(\*\.\*\)$)")
                     .match(rig.asked)
                     .hasMatch(),
                 qPrintable(rig.asked));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(file.readAll()).split('\n');
        QCOMPARE(lines.last(), QString());  // every line ends with LF
        const QRegularExpression line(R"(^(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3}Z)\t(\w+\t.*)$)");
        QStringList events;
        QString previous;
        for (const QString& l : lines.mid(0, lines.size() - 1)) {
            const auto m = line.match(l);
            QVERIFY2(m.hasMatch() && m.captured(1) >= previous, qPrintable(l));
            previous = m.captured(1);
            events << m.captured(2);
        }
        QCOMPARE(events.mid(0, 2),
                 QStringList({"start\tkalvo, COM 1, RS-232, Adr. 0", "stage\tread-back"}));
        QVERIFY(events.contains("send\t-0-D1<LF><CR>"));
        QVERIFY(!events.filter(QRegularExpression("^recv\t-0-D1,.*<CR>$")).isEmpty());
        QCOMPARE(events.last(), QStringLiteral("end\tok"));

        // A file that cannot be written: the box, and no file.
        const QString nowhere = rig.dir.filePath("none/t.txt");
        rig.nextFile = nowhere.toStdString();
        save->click();
        QVERIFY(rig.takeBox().startsWith("!Dateifehler|"));
        QVERIFY(!QFile::exists(nowhere));

        // Closing the window forgets it.
        click(w.progr(), "Command1");
        QVERIFY(!save->isEnabled() && w.progr()->transcript().empty());
    }
};

QTEST_MAIN(TranscriptTest)
#include "transcript_test.moc"
