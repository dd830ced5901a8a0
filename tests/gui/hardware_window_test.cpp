// The hardware selection: the list, a manual choice, cancel, and detection when nothing or
// "auto" is chosen.
#include <QListWidget>

#include "config/ui/param_dialog.h"
#include "gui_rig.h"
#include "link/ui/hardware_window.h"
#include "shell/ui/aux_windows.h"

using namespace kalvo;
using namespace kalvo::gui;

namespace {

void click(Hardware* hw, const char* button) {
    hw->findChild<QAbstractButton*>(button)->click();
}

}  // namespace

class HardwareWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void aNewProjectAsksWithAutoFirstAndAManualChoiceKeepsTheClasses() {
        Rig rig;
        frmMain& w = rig.open();
        w.show();
        Record& r = rig.ctx().record;
        r.Max_Spannung = 120;
        r.Max_Strom = 1.2;
        rig.action("mnufile_0")->trigger();  // a new project: the classes start afresh
        QCOMPARE(variant(r), QStringLiteral("0A/0D 600/5"));
        Hardware* hw = w.hardware();
        QVERIFY(hw->isVisible());
        auto* list = hw->findChild<QListWidget*>("List1");
        QStringList entries;
        for (int i = 0; i < list->count(); ++i) entries << list->item(i)->text();
        QCOMPARE(entries,
                 QStringList({"TXR 3.0 auto", "TXR 3.0 1A/1D", "TXR 3.0 2A/1D", "TXR 3.0 3A/1D",
                              "TXR 3.0 4A/1D", "TXR 3.0 1A/5D", "TXR 3.0 2A/5D", "TXR 3.0 3A/5D",
                              "TXR 3.0 4A/5D", "TXR 3.0 1A/9D", "TXR 3.0 2A/9D", "TXR 3.0 3A/9D",
                              "TXR 3.0 4A/9D"}));
        QCOMPARE(list->currentItem()->text(), QStringLiteral("TXR 3.0 auto"));

        // A manual choice takes the classes of the record as they are; nothing is sent. (The
        // session test pins the defaults that come with it.)
        r.Max_Spannung = 100;
        r.Max_Strom = 1;
        list->setCurrentRow(7);  // TXR 3.0 3A/5D
        click(hw, "OK_Hardware_Type");
        QVERIFY(!hw->isVisible() && !w.worker().busy());
        QCOMPARE(variant(r), QStringLiteral("3A/5D 100/1"));
        QVERIFY(rig.device.frames().empty());
    }

    void knownHardwareIsNotAskedAgainAndCancelLeavesTheVariant() {
        Rig rig;
        frmMain& w = rig.open();
        w.show();
        rig.ctx().record = newProject(3, 5, 100, 1);
        rig.action("mnupara")->trigger();
        Hardware* hw = w.hardware();
        QVERIFY(!hw->isVisible());
        QVERIFY(w.parameterDialog() != nullptr && w.parameterDialog()->isVisible());

        rig.action("mnufile_0")->trigger();
        click(hw, "Abbruch_Hardware_Type");
        QVERIFY(!hw->isVisible());
        QCOMPARE(variant(rig.ctx().record), QStringLiteral("3A/5D 600/5"));
        // Esc cancels too; Return takes the current row.
        rig.action("mnufile_0")->trigger();
        QVERIFY(QTest::qWaitForWindowExposed(hw));
        QTest::keyClick(hw, Qt::Key_Escape);
        QVERIFY(!hw->isVisible() && !w.worker().busy());
        QCOMPARE(variant(rig.ctx().record), QStringLiteral("3A/5D 600/5"));
        rig.action("mnufile_0")->trigger();
        QVERIFY(QTest::qWaitForWindowExposed(hw));
        auto* list = hw->findChild<QListWidget*>("List1");
        list->setCurrentRow(1);  // TXR 3.0 1A/1D
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Return);
        QVERIFY(!hw->isVisible());
        QCOMPARE(variant(rig.ctx().record), QStringLiteral("1A/1D 600/5"));
    }

    void noSelectionDetectsTheDevice() {
        Rig rig;
        frmMain& w = rig.open();
        w.show();
        rig.action("mnufile_0")->trigger();
        w.hardware()->findChild<QListWidget*>("List1")->clearSelection();
        click(w.hardware(), "OK_Hardware_Type");
        QCOMPARE(w.progr()->windowTitle(), QStringLiteral("Hardware Daten werden ausgelesen"));
        QCOMPARE(w.progr()->findChild<QLabel*>("Image1")->property("picture").toInt(), 1);
        QTRY_VERIFY_WITH_TIMEOUT(!w.worker().busy(), 20000);
        QCOMPARE(rig.takeBox(), QStringLiteral("0 boxes"));
        QCOMPARE(variant(rig.ctx().record), QStringLiteral("2A/5D 120/1.2"));
        QVERIFY(w.parameterDialog() != nullptr && w.parameterDialog()->isVisible());
    }
};

QTEST_MAIN(HardwareWindowTest)
#include "hardware_window_test.moc"
