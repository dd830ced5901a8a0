// The trend window: a scripted poll through its model in virtual time (points, one unit per
// line, statistics, picture and record), and the one poll it shares with the values window.
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QPushButton>
#include <QSignalSpy>

#include "gui_rig.h"
#include "measure/ui/anzeilist.h"
#include "measure/ui/verlauf.h"
#include "support/record_builder.h"

namespace kalvo::gui {

namespace {
// A device line: the value field right-aligned in seven places, a blank, the unit, the name.
std::string deviceLine(const std::string& field, const std::string& unit, const std::string& name) {
    return std::string(7 - field.size(), ' ') + field + ' ' + unit +
           std::string(5 - unit.size(), ' ') + name;
}
QString text(const QWidget* w, const QString& name) {
    return child<QLabel>(w, name)->text();
}
}  // namespace

class TrendWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void scriptedPollPlotsStatisticsPictureAndRecord() {
        // 20 kV / 100 V: the device's 100 V is 20 kV on the primary side.
        const Record record = test::RecordBuilder(1, 2).vt(20, "0,1");
        Verlauf w(nullptr, record, Language::German, ',');
        QTemporaryDir dir;
        const QString csv = dir.filePath("Messwerte Süd.csv");
        QSignalSpy failed(&w, &Verlauf::recordingFailed);
        QSignalSpy start(&w, &Verlauf::startRequested);
        click(&w, "start");
        QCOMPARE(start.count(), 1);
        QVERIFY(w.startRecording(csv.toStdString()));
        QCOMPARE(child<QPushButton>(&w, "Aufzeichnen")->text(), "Aufzeichnung beenden");

        TimePoint now{};
        const auto feed = [&](const std::string& line) {
            w.lineReceived(line, now);
            now += std::chrono::seconds(1);
        };
        // 99.0 V, 100.5 V and a field that is no number, 101.0 V: 19.8, 20.1, gap, 20.2 kV.
        for (const char* field : {"99.0", "100.5", "-----", "101.0"}) {
            feed("\f");
            feed(deviceLine(field, "V", "U12 /U"));
            feed(deviceLine("0.500", "A", "I1 /I"));
        }
        w.redraw();
        auto* choice = child<QComboBox>(&w, "Linie_0");
        QCOMPARE(choice->count(), 3);  // (keine), the two lines of the cycle
        QCOMPARE(choice->itemText(1), "U12 /U  KV");
        choice->setCurrentIndex(1);
        emit choice->activated(1);
        QCOMPARE(w.model().chosen(), std::vector<std::string>{"U12 /U"});

        // Chosen after the fact: points come from now on; the statistics cover the start.
        for (const char* field : {"100.0", "-----", "102.0"})
            feed(deviceLine(field, "V", "U12 /U"));
        w.redraw();
        QCOMPARE(text(&w, "Wert_0"), "20,4 KV");
        QCOMPARE(text(&w, "Statistik_0"), "Min 19,8   Max 20,4   Mittel 20,1");
        // Two stretches between the gaps, each a line of its own.
        QStringList drawn;
        for (const QPolygonF& run : w.drawn(0)) {
            for (const QPointF& p : run) drawn << QString::number(p.y());
            drawn << "|";
        }
        QCOMPARE(drawn.join(' '), "20 | 20.4 |");
        const std::vector<TrendPoint> points = w.model().points("U12 /U", std::chrono::minutes(1));
        QCOMPARE(points.size(), std::size_t{3});
        QVERIFY(std::isnan(points[1].value));
        feed(deviceLine("-----", "V", "U12 /U"));
        w.redraw();
        QCOMPARE(text(&w, "Wert_0"), "--- KV");

        // The picture: written whole, or a clear no for a folder that is not there.
        QVERIFY(w.savePicture(dir.filePath("trend.png")));
        QVERIFY(!QImage(dir.filePath("trend.png")).isNull());
        QVERIFY(!w.savePicture(dir.filePath("nicht/da.png")));

        // The record: the columns of `kalvo-cli watch --csv`, every value line of the poll.
        w.stopRecording();
        QFile file(csv);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QStringList rows = QString::fromUtf8(file.readAll()).split("\r\n");
        QCOMPARE(rows.size(), 1 + 8 + 4 + 1);
        QCOMPARE(rows[0], "time,line,value,unit,text");
        QStringList tails;  // the rows without their time
        for (const QString& row : rows.mid(1, 8)) tails << row.section(',', 1);
        // 99.0 V x 20 kV / 0.1 kV = 19.8 kV; the field with no number has no value.
        QCOMPARE(tails.join('|'),
                 "0,19.8,KV, 19.8   KV   U12 /U|1,0.5,A, 0.5    A    I1 /I|"
                 "0,20.1,KV, 20.1   KV   U12 /U|1,0.5,A, 0.5    A    I1 /I|"
                 "0,,KV, 0      KV   U12 /U|1,0.5,A, 0.5    A    I1 /I|"
                 "0,20.2,KV, 20.2   KV   U12 /U|1,0.5,A, 0.5    A    I1 /I");
        QVERIFY(!w.startRecording(dir.filePath("nicht/da.csv").toStdString()));
        // A new poll: its lines before the first marker have no number in the record.
        w.pollEnded();
        w.pollStarted();
        QVERIFY(w.startRecording(csv.toStdString()));
        feed(deviceLine("0.500", "A", "I1 /I"));
        w.stopRecording();
        QVERIFY(file.seek(0) || file.open(QIODevice::ReadOnly));
        QVERIFY2(QString::fromUtf8(file.readAll()).contains("Z,,0.5,A,"), "numbered");
        // A record that cannot be written on says so; the poll goes on.
        QVERIFY(w.startRecording("/dev/full"));
        feed(deviceLine("100.0", "V", "U12 /U"));
        QCOMPARE(failed.count(), 1);
        QVERIFY(!w.recording());
        QVERIFY(w.polling());
    }

    void sharesOnePollWithTheValuesWindow() {
        Rig rig({}, true);
        frmMain& w = rig.open(true);
        rig.action("tbToolBar_Verlauf")->trigger();
        Verlauf* trend = w.verlauf();
        QVERIFY(trend->isVisible());
        click(trend, "start");
        QVERIFY(w.worker().busy());
        QTRY_VERIFY_WITH_TIMEOUT(child<QComboBox>(trend, "Linie_0")->count() > 1, 10000);

        // Opened while the trend polls, the values window shows the same poll.
        rig.action("mnumess")->trigger();
        auto* values = w.anzeilist();
        QCOMPARE(child<QPushButton>(values, "start")->text(), "STOP");
        QTRY_VERIFY_WITH_TIMEOUT(child<QLabel>(values, "Label1_0")->text().contains("U1"), 10000);

        // A picture that cannot be written: a box naming it, and the poll goes on.
        rig.nextFile = rig.dir.filePath("no/such/dir/t.png").toStdString();
        click(trend, "Bild_speichern");
        QVERIFY(rig.takeBox().contains("t.png"));
        QVERIFY(w.worker().busy());
        rig.nextFile = rig.dir.filePath("values.csv").toStdString();
        click(trend, "Aufzeichnen");
        QVERIFY(trend->recording());

        // Closing one window leaves the poll to the other; STOP there ends it for both.
        click(values, "zurück");
        QTest::qWait(500);  // a stop would have ended the job by now
        QVERIFY(w.worker().busy() && trend->polling());
        click(trend, "start");
        QTRY_VERIFY_WITH_TIMEOUT(!w.worker().busy(), 5000);
        QCOMPARE(child<QPushButton>(trend, "start")->text(), "START");
        QVERIFY(!trend->recording());
        QVERIFY(QFile(rig.dir.filePath("values.csv")).size() > 0);
    }
};

}  // namespace kalvo::gui

QTEST_MAIN(kalvo::gui::TrendWindowTest)
#include "trend_window_test.moc"
