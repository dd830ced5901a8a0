// The device log window: its OK button, and a fresh log for every sequence.
#include <QListWidget>
#include <QProgressBar>

#include "gui_rig.h"
#include "shell/ui/aux_windows.h"

using namespace kalvo;
using namespace kalvo::gui;

class ProgrTest : public QObject {
    Q_OBJECT
  private slots:
    void okHidesTheWindowAndEmptiesItsLog();
    void eachSequenceStartsWithAnEmptyLog();
};

void ProgrTest::okHidesTheWindowAndEmptiesItsLog() {
    Rig rig;
    frmMain& w = rig.open();
    Progr* p = w.progr();
    p->addLine("-0-t");
    p->setProgress(12);
    p->show();
    p->findChild<QAbstractButton*>("Command1")->click();
    QVERIFY(!p->isVisible());
    QCOMPARE(p->findChild<QListWidget*>("List1")->count(), 0);
    QCOMPARE(p->findChild<QProgressBar*>("ProgressBar1")->value(), 0);
}

void ProgrTest::eachSequenceStartsWithAnEmptyLog() {
    sim::Options silent;
    silent.silent = true;
    Rig rig(silent, true);
    frmMain& w = rig.open();
    w.progr()->addLine("left over");
    rig.action("mnudaten")->trigger();
    auto* list = w.progr()->findChild<QListWidget*>("List1");
    QTRY_VERIFY_WITH_TIMEOUT(list->count() > 0, 5000);
    QCOMPARE(list->item(0)->text(), "-0-t");
    w.worker().stop();
    QTRY_VERIFY_WITH_TIMEOUT(!w.worker().busy(), 5000);
}

QTEST_MAIN(ProgrTest)
#include "progr_test.moc"
