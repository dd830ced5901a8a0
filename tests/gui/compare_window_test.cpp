// "Mit Gerät vergleichen" against the in-process simulated unit: the table window `Vergleich`
// with one row per difference, its "no differences" line, its headings in both languages, and
// a unit that has nothing to compare. Which differences there are is the core's (its unit
// test); here, the window's path: read on the worker, the record left as it was.
#include <QTableWidget>

#include "gui_rig.h"
#include "shell/ui/compare_window.h"

using namespace kalvo;
using namespace kalvo::gui;

namespace {

// The headings, then each row: "cell|cell|cell|cell".
QStringList rows(const QTableWidget* table) {
    QStringList out;
    for (int r = -1; r < table->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < table->columnCount(); ++c) {
            cells << (r < 0 ? table->horizontalHeaderItem(c) : table->item(r, c))->text();
        }
        out << cells.join('|');
    }
    return out;
}

}  // namespace

class CompareWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void theTableListsWhatDiffersFromTheUnit() {
        Rig rig;
        frmMain& w = rig.open(true);
        rig.runToEnd("mnudaten");  // the demo configuration
        Record& tool = rig.ctx().record;
        tool.Analogwerte[1][Analog::RangeEnd] = 140;  // the demo's P ends at 150 W
        const Record edited = tool;

        rig.runToEnd("mnuvergleich");
        QCOMPARE(rig.takeBox(), QStringLiteral("0 boxes"));
        QVERIFY(rig.ctx().record == edited);
        auto* window = child<Vergleich>(&w, "Vergleich");
        auto* table = child<QTableWidget>(window, "Vergleich_Tabelle");
        auto* none = child<QLabel>(window, "Keine_Unterschiede_Label");
        QVERIFY(window->isVisible() && table->isVisible() && !none->isVisible());
        QCOMPARE(rows(table), QStringList({"Seite|Parameter|im Programm|im Gerät",
                                           "Analogausgang 2|Meßbereich bis|140 W|150 W"}));
        w.chooseLanguage(Language::English);
        QCOMPARE(rows(table).first(), QStringLiteral("Page|Parameter|in the tool|in the device"));
        QCOMPARE(window->windowTitle(), QStringLiteral("Comparison with the device"));

        tool.Analogwerte[1][Analog::RangeEnd] = "150.0";
        rig.runToEnd("mnuvergleich");
        QVERIFY(!table->isVisible() && none->isVisible());
        QCOMPARE(none->text(), QStringLiteral("No differences"));
    }

    void aUnitNeverProgrammedGetsItsBoxAndNoTable() {
        sim::Options fresh;
        fresh.fresh = true;
        Rig rig(fresh);
        frmMain& w = rig.open(true);
        rig.ctx().record = recordFor2A5D();
        rig.runToEnd("mnuvergleich");
        QVERIFY(rig.takeBox().contains("noch nie parametriert"));
        QVERIFY(w.findChild<Vergleich*>("Vergleich") == nullptr);
    }
};

QTEST_MAIN(CompareWindowTest)
#include "compare_window_test.moc"
