// The main window itself: its start-up state, menu tree, status bar, view menus, port choices
// and the settings it restores and writes.
#include <QFile>
#include <QMenuBar>
#include <QStatusBar>

#include "gui_rig.h"
#include "shell/ui/aux_windows.h"

using namespace kalvo;
using namespace kalvo::gui;

namespace {

const char* const kSettingKeys[] = {"MainLeft", "MainTop", "MainWidth", "MainHeight",
                                    "COM",      "RS",      "Adr",       "Sprache"};

// The menu tree as the user sees it: "Menu: item|item|-|item", submenus in brackets.
QString tree(QMenu* menu) {
    QStringList items;
    for (QAction* a : menu->actions()) {
        if (a->isSeparator()) {
            items << "-";
        } else if (a->menu() != nullptr) {
            items << a->menu()->title() + " [" + tree(a->menu()) + "]";
        } else if (a->isVisible()) {
            items << a->text();
        }
    }
    return items.join('|');
}

QStringList menuTree(frmMain& w) {
    QStringList out;
    for (QAction* top : w.menuBar()->actions()) out << top->text() + ": " + tree(top->menu());
    return out;
}

// The menu trees written down in tests/data/gui/menu_tree.txt, German or English.
QStringList expectedTree(bool english) {
    QFile file(QStringLiteral(KALVO_SOURCE_DIR "/tests/data/gui/menu_tree.txt"));
    if (!file.open(QIODevice::ReadOnly)) qFatal("no menu_tree.txt");
    QStringList trees[2];
    int language = 0;
    for (const QString& line : QString::fromUtf8(file.readAll()).split('\n')) {
        if (line == "--") ++language;
        if (!line.isEmpty() && !line.startsWith('#') && line != "--") trees[language] << line;
    }
    return trees[english];
}

}  // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void startsWithTheDefaultStateAndMenus() {
        Rig rig;
        frmMain& w = rig.open();
        QCOMPARE(w.windowTitle(), QStringLiteral("Kalvo       TXR 3.0"));
        QCOMPARE(rig.panels(), QStringLiteral("COM 1|RS-232|Adr. 0"));
        QVERIFY(rig.panel(5).contains(QLatin1Char(':')));
        QCOMPARE(rig.where("mnucom_1|mnurs_232|mnurs_485|mnuViewToolbar|mnuViewStatusBar",
                           &QAction::isChecked),
                 QStringList({"mnucom_1", "mnurs_232", "mnuViewToolbar", "mnuViewStatusBar"}));
        // Saving and printing need a record from the dialog, a file or the device.
        QCOMPARE(rig.where("mnufile_3|mnufile_4|mnufile_6|mnufile_7|tbToolBar_Speichern|"
                           "tbToolBar_Drucken",
                           &QAction::isEnabled),
                 QStringList());
        const QString others =
            "mnudirekt|mnustand|mnuadr|mnuHelpAbout|mnumess|mnueinstell|"
            "tbToolBar_Messen";
        QCOMPARE(rig.where(others, &QAction::isEnabled), others.split('|'));
        QVERIFY(rig.action("mnueinstell")->isVisible());
        QCOMPARE(variant(rig.ctx().record), QStringLiteral("0A/0D 600/5"));
        QCOMPARE(rig.ctx().Geraeteadresse, std::string("0"));
        QVERIFY(rig.ctx().language == Language::German);
        // 7500 x 6500 twips at 1000/1000 twips, at whatever resolution the screen has.
        QCOMPARE(w.pos(), QPoint(rig.px(1000), rig.px(1000)));
        QCOMPARE(w.size(), QSize(rig.px(7500), rig.px(6500)));
        // The menus in both languages.
        QCOMPARE(menuTree(w), expectedTree(false));
        rig.action("tbToolBar_Englisch")->trigger();
        QCOMPARE(menuTree(w), expectedTree(true));
        rig.action("tbToolBar_Deutsch")->trigger();
        QCOMPARE(menuTree(w), expectedTree(false));
    }

    void aStatusBarClickAndTheViewMenus() {
        Rig rig;
        frmMain& w = rig.open(true);
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        // A click on a panel gives the log window its design size, 8550 x 6000 twips, even while
        // the window is not shown.
        for (const char* panel : {"sbStatusBar_4", "sbStatusBar_1"}) {
            w.progr()->resize(100, 80);
            QTest::mouseClick(w.findChild<QLabel*>(panel), Qt::LeftButton);
            QCOMPARE(w.progr()->size(), QSize(rig.px(8550), rig.px(6000)));
            QVERIFY(!w.progr()->isVisible());
        }
        // The view menu and the right-click menu hide and show the bars.
        for (bool visible : {false, true}) {
            rig.action("mnuViewToolbar")->trigger();
            rig.action("mnuViewStatusBar")->trigger();
            QCOMPARE(w.findChild<QToolBar*>("tbToolBar")->isVisible(), visible);
            QCOMPARE(w.statusBar()->isVisible(), visible);
            QCOMPARE(rig.where("mnuViewToolbar|mnuViewStatusBar", &QAction::isChecked).size(),
                     visible ? 2 : 0);
        }
        // The right-click menu offers the same two items and keeps the view menu in step.
        std::unique_ptr<QMenu> popup(w.createPopupMenu());
        QStringList captions;
        for (QAction* a : popup->actions()) captions << a->text();
        QCOMPARE(captions, QStringList({"&Symbolleiste", "Status&leiste"}));
        popup->actions().first()->trigger();
        QVERIFY(!w.findChild<QToolBar*>("tbToolBar")->isVisible());
        QVERIFY(!rig.action("mnuViewToolbar")->isChecked());
    }

    void storedSettingsAreRestoredAndWrittenWithTheOuterGeometry() {
        Rig rig;
        const char* values[] = {"1500", "900", "9000", "7200", "3", "485", "7", "True"};
        for (int k = 0; k < 8; ++k) rig.store.set(kSettingKeys[k], values[k]);
        frmMain& w = rig.open();
        QCOMPARE(rig.panels(), QStringLiteral("COM 3|RS-485|Adr. 7"));
        QCOMPARE(rig.where("mnucom_1|mnucom_3|mnurs_485", &QAction::isChecked),
                 QStringList({"mnucom_3", "mnurs_485"}));
        QVERIFY(rig.ctx().language == Language::English);
        QCOMPARE(w.findChild<QMenu*>("mnuFile1")->title(), QStringLiteral("File"));
        QCOMPARE(w.pos(), QPoint(rig.px(1500), rig.px(900)));
        QCOMPARE(w.size(), QSize(rig.px(9000), rig.px(7200)));
        // A port choice changes only its panel and its stored value.
        rig.action("mnurs_232")->trigger();
        QCOMPARE(rig.panels(), QStringLiteral("COM 3|RS-232|Adr. 7"));
        rig.action("mnucom_4")->trigger();
        QCOMPARE(rig.panels(), QStringLiteral("COM 4|RS-232|Adr. 7"));
        QCOMPARE(rig.where("mnurs_232|mnurs_485|mnucom_3|mnucom_4", &QAction::isChecked),
                 QStringList({"mnurs_232", "mnucom_4"}));

        // Closing writes every setting, the width as the outer width.
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.resize(w.width() + 30, w.height());
        const QSize outer = w.frameGeometry().size();
        const int dpi = w.logicalDpiX();
        const int widthTwips = (outer.width() * 1440 + dpi / 2) / dpi;
        for (const char* key : kSettingKeys) rig.store.set(key, "");
        values[4] = "4";
        values[5] = "232";
        w.close();
        for (int k = 0; k < 8; ++k) {
            if (k == 0 || k == 1 || k == 3) continue;  // where the platform put the window
            const std::string want = k == 2 ? std::to_string(widthTwips) : values[k];
            QCOMPARE(rig.store.get(kSettingKeys[k]).value_or("-"), want);
        }

        // The next start comes back at the same outer size.
        rig.window.reset();
        Session second(rig.store, '.');
        frmMain again(second,
                      [](int, const std::atomic<bool>*) { return std::unique_ptr<SerialPort>(); });
        again.show();
        QVERIFY(QTest::qWaitForWindowExposed(&again));
        QCOMPARE(again.frameGeometry().width(), outer.width());
        QVERIFY(second.language() == Language::English);
    }

    void minimizedCloseWritesNothing() {
        Rig rig;
        frmMain& w = rig.open();
        w.showMinimized();
        QVERIFY(w.isMinimized());
        rig.action("mnurs_485")->trigger();
        rig.action("mnufile_9")->trigger();  // Beenden
        for (const char* key : kSettingKeys) QVERIFY2(!rig.store.get(key).has_value(), key);
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
