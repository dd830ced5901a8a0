// The live values window `Anzeilist` and the interface selection `Dig_Auswahl`, driven like a
// user would, offscreen. Which label shows which line and which boxes a connection type allows
// are the core's (display and selection tests); here: layout, wiring and the window's own
// behaviour.

#include <QCheckBox>
#include <QFontInfo>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include "measure/ui/anzeilist.h"
#include "measure/ui/dig_auswahl.h"
#include "support/record_builder.h"

using namespace kalvo;

namespace {

const QColor kRed(255, 0, 0);
const QColor kGreen(0, 255, 0);

template <class T>
T* child(QWidget& window, const QString& name) {
    T* w = window.findChild<T*>(name);
    if (w == nullptr) qFatal("no %s", qPrintable(name));
    return w;
}

QLabel* label(QWidget& w, int k) {
    return child<QLabel>(w, QStringLiteral("Label1_%1").arg(k));
}
QScrollBar* bar(QWidget& w, int k) {
    return child<QScrollBar>(w, QStringLiteral("HScroll1_%1").arg(k));
}
QColor lamp(QWidget& w) {
    return child<QFrame>(w, QStringLiteral("Picture1"))->palette().color(QPalette::Window);
}
QStringList labels(QWidget& w) {
    QStringList out;
    for (int k = 0; k < 20; ++k) out << label(w, k)->text();
    return out;
}
const QStringList kEmpty = QStringList(QVector<QString>(20));
QCheckBox* box(QWidget& w, int i) {
    return child<QCheckBox>(w, QStringLiteral("Dig_Auswahl_Messgrösse_Check_%1").arg(i));
}
int px(QWidget& w, int twips) {
    return qRound(twips * w.logicalDpiX() / 1440.0);
}

QList<int> flagsOf(const Record& r) {
    QList<int> out;
    for (int i = 0; i < kInterfaceCells; ++i)
        if (r.Schnittstellenwerte[static_cast<std::size_t>(i)].equals(1)) out << i;
    return out;
}

}  // namespace

class MeasureWindowsTest : public QObject {
    Q_OBJECT
  private slots:
    void anzeilistLayoutCaptionsAndTheLinesOfEachCycle() {
        const Record record = test::RecordBuilder().vt(20, 0.1);  // the window keeps a reference
        Anzeilist w(nullptr, record, Language::German);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(w.windowTitle(), QStringLiteral("Messwerte"));
        QCOMPARE(child<QPushButton>(w, "start")->text(), QStringLiteral("START"));
        QCOMPARE(child<QPushButton>(w, "zurück")->text(), QStringLiteral("zurück"));
        QVERIFY(child<QPushButton>(w, "start")->isDefault());
        // The first column of ten lines; the lamp in the top right corner, red.
        QCOMPARE(w.size(), QSize(px(w, 3000), px(w, 4500)));
        QCOMPARE(child<QFrame>(w, "Picture1")->geometry(),
                 QRect(w.width() - px(w, 500), px(w, 50), px(w, 372), px(w, 132)));
        QCOMPARE(lamp(w), kRed);
        for (int k : {0, 9, 10, 19}) {
            const int top = px(w, 600 + 360 * (k % 10));
            QCOMPARE(label(w, k)->geometry(),
                     QRect(px(w, k < 10 ? 120 : 3480), top, px(w, 2892), px(w, 252)));
            QCOMPARE(bar(w, k)->geometry(),
                     QRect(px(w, k < 10 ? 3000 : 6360), top, px(w, 372), px(w, 252)));
            QVERIFY(bar(w, k)->minimum() == 0 && bar(w, k)->maximum() == 34);
        }
        const QFontInfo font(label(w, 0)->font());
        QVERIFY2(font.family() == "Courier New" || font.family() == "Liberation Mono",
                 qPrintable(font.family()));
        QVERIFY(font.bold() && font.fixedPitch() && label(w, 0)->font().pointSize() == 12);
        w.setLanguage(Language::English);
        QCOMPARE(w.windowTitle(), QStringLiteral("Measured values"));
        QCOMPARE(child<QPushButton>(w, "zurück")->text(), QStringLiteral("back"));
        QCOMPARE(child<QPushButton>(w, "start")->text(), QStringLiteral("START"));

        // The cycles of a poll.
        w.resize(px(w, 10650), px(w, 4530));  // the user widens it to see both columns
        QSignalSpy started(&w, &Anzeilist::startRequested);
        QSignalSpy stopped(&w, &Anzeilist::stopRequested);
        auto* start = child<QPushButton>(w, "start");

        QTest::mouseClick(start, Qt::LeftButton);
        QCOMPARE(started.count(), 1);
        QCOMPARE(start->text(), QStringLiteral("STOP"));
        w.lineReceived("\x0C");
        QCOMPARE(lamp(w), kGreen);
        // The record's transformers scale the line.
        w.lineReceived("  100.0 V    U1 /U");
        w.lineReceived("  50.00 Hz   F");
        QCOMPARE(label(w, 0)->text(), QStringLiteral(" 20     KV   U1 /U"));
        // Label 12 switched to line 1 with its bar.
        bar(w, 12)->setValue(1);
        w.lineReceived("\x0C");
        QCOMPARE(lamp(w), kRed);
        w.lineReceived("  101.0 V    U1 /U");
        w.lineReceived("  49.99 Hz   F");
        QCOMPARE(label(w, 12)->text(), QStringLiteral("  49.99 Hz   F"));
        // Resizing clears every label and moves the lamp.
        w.resize(w.width() - 10, w.height());
        QTRY_COMPARE(labels(w), kEmpty);
        QCOMPARE(child<QFrame>(w, "Picture1")->x(), w.width() - px(w, 500));

        // A language change while polling keeps "STOP".
        w.setLanguage(Language::English);
        QCOMPARE(start->text(), QStringLiteral("STOP"));
        QTest::mouseClick(start, Qt::LeftButton);
        QCOMPARE(stopped.count(), 1);
        QCOMPARE(start->text(), QStringLiteral("START"));
        QCOMPARE(lamp(w), kRed);
        QCOMPARE(bar(w, 12)->value(), 12);

        // "zurück" while polling stops it and closes the window; it opens again afresh.
        QTest::mouseClick(start, Qt::LeftButton);
        w.lineReceived("\x0C");
        w.lineReceived("  100.0 V    U1 /U");
        QTest::mouseClick(child<QPushButton>(w, "zurück"), Qt::LeftButton);
        QCOMPARE(stopped.count(), 2);
        QVERIFY(!w.isVisible());
        w.show();
        QCOMPARE(w.size(), QSize(px(w, 3000), px(w, 4500)));
        QCOMPARE(labels(w), kEmpty);
        QCOMPARE(start->text(), QStringLiteral("START"));
        // Esc is "zurück" too, and a poll that ends by itself shows START again.
        QTest::mouseClick(start, Qt::LeftButton);
        w.pollEnded();
        QCOMPARE(start->text(), QStringLiteral("START"));
        QTest::keyClick(&w, Qt::Key_Escape);
        QVERIFY(!w.isVisible());
    }

    void digAuswahlShowsTheRecordAndStoresOnOk() {
        Record record = test::RecordBuilder().connection(ThreeWireUnbalanced).flags({0, 3, 9, 36});
        Dig_Auswahl w(nullptr, record);
        QSignalSpy stored(&w, &Dig_Auswahl::stored);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QCOMPARE(w.windowTitle(), QStringLiteral("Dig_Auswahl"));
        QCOMPARE(box(w, 34)->text(), QStringLiteral("10VDC-Input"));
        QCOMPARE(box(w, 34)->geometry(), QRect(px(w, 1068), px(w, 3840), px(w, 1455), px(w, 252)));
        QCOMPARE(child<QPushButton>(w, "Command1")->geometry(),
                 QRect(px(w, 1320), px(w, 4200), px(w, 1212), px(w, 372)));
        for (int i = 0; i < kInterfaceCells; ++i) {
            QCOMPARE(box(w, i)->isEnabled(), i > 2);  // U1, U2, U3 barred
            QCOMPARE(box(w, i)->isChecked(), i == 3 || i == 9 || i == 36);
        }
        // Changes without OK leave the record as it was.
        QTest::mouseClick(box(w, 10), Qt::LeftButton);
        w.close();
        QCOMPARE(flagsOf(record), (QList<int>{0, 3, 9, 36}));
        // Shown again it re-reads the record, except U and I, which keep what they show.
        record.Schnittstellenwerte[14] = Cell(1);
        w.show();
        QVERIFY(!box(w, 10)->isChecked() && box(w, 14)->isChecked());
        QTest::mouseClick(box(w, 35), Qt::LeftButton);
        w.Form_Activate();
        QVERIFY(box(w, 35)->isChecked());
        QTest::mouseClick(box(w, 9), Qt::LeftButton);
        QTest::mouseClick(box(w, 1), Qt::LeftButton);  // disabled: nothing happens
        QTest::mouseClick(child<QPushButton>(w, "Command1"), Qt::LeftButton);
        QVERIFY(!w.isVisible());
        QCOMPARE(stored.count(), 1);
        QCOMPARE(flagsOf(record), (QList<int>{3, 14, 35, 36}));  // U1 (0) dropped
        w.clearAll();
        for (int i = 0; i < kInterfaceCells; ++i) QVERIFY(!box(w, i)->isChecked());
    }
};

QTEST_MAIN(MeasureWindowsTest)
#include "measure_windows_test.moc"
