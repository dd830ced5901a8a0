// Every window's captions in both languages: each row of a window's caption table reaches its
// widget, no widget shows a text that is not in its table, a window made after a language change
// speaks the new language, and a language change reaches every window that exists. The dialect's
// words are written out here.
#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>

#include "config/ui/param_dialog.h"
#include "gui_rig.h"
#include "link/ui/address_windows.h"
#include "link/ui/hardware_window.h"
#include "measure/ui/anzeilist.h"
#include "measure/ui/dig_auswahl.h"
#include "shell/ui/about_window.h"
#include "shell/ui/progr_window.h"
#include "text/about_texts.h"
#include "text/captions.h"
#include "text/link_captions.h"
#include "text/param_texts.h"
#include "widgets/aux_windows.h"
#include "widgets/qt_text.h"

using namespace kalvo;
using namespace kalvo::gui;

namespace {

// The text a caption-table target shows in `window`; "?" when there is no such widget.
QString shown(QWidget* window, const QString& target) {
    if (target.isEmpty()) return window->windowTitle();
    if (target.endsWith("@tip")) {
        const QString name = target.chopped(4);
        if (auto* a = window->findChild<QAction*>(name)) return a->toolTip();
        if (auto* x = window->findChild<QWidget*>(name)) return x->toolTip();
        return "?";
    }
    if (auto* m = window->findChild<QMenu*>(target)) return m->title();
    if (auto* a = window->findChild<QAction*>(target)) return a->text();
    if (auto* b = window->findChild<QAbstractButton*>(target)) return b->text();
    if (auto* l = window->findChild<QLabel*>(target)) return l->text();
    if (auto* g = window->findChild<QGroupBox*>(target)) return g->title();
    return "?";
}

// Every table row shows its text in `window`.
void expectTable(QWidget* window, std::span<const Caption> table, Language language) {
    for (const Caption& row : table) {
        QCOMPARE(shown(window, qs(row.target)), qs(row.text.in(language)));
    }
}

// Every text a window shows (buttons, labels, menus, actions) is one its table gives it.
void expectNothingElse(QWidget* window, std::span<const Caption> table) {
    QStringList targets;
    for (const Caption& row : table) targets << qs(row.target);
    // Only the window's own widgets: its small windows are checked with their own tables.
    for (auto* b : window->findChildren<QAbstractButton*>()) {
        if (b->window() == window && !b->text().isEmpty() && !b->objectName().isEmpty()) {
            QVERIFY2(targets.contains(b->objectName()), qPrintable(b->objectName()));
        }
    }
    for (auto* l : window->findChildren<QLabel*>()) {
        if (l->window() == window && !l->text().isEmpty() && l->objectName().startsWith("lbl")) {
            QVERIFY2(targets.contains(l->objectName()), qPrintable(l->text()));
        }
    }
    for (auto* a : window->findChildren<QAction*>()) {
        if (!a->text().isEmpty() && !a->isSeparator() && !a->objectName().endsWith("_menu") &&
            !a->objectName().isEmpty()) {
            QVERIFY2(targets.contains(a->objectName()), qPrintable(a->objectName()));
        }
    }
}

}  // namespace

class CaptionsTest : public QObject {
    Q_OBJECT
  private slots:
    void everyWindowShowsItsTableInBothLanguages();
};

void CaptionsTest::everyWindowShowsItsTableInBothLanguages() {
    Rig rig;
    frmMain& w = rig.open();
    w.chooseLanguage(Language::English);  // windows made after it speak the language of the moment
    // The parameter dialog's "TEST 1" shows a record view of its own.
    rig.ctx().record = recordFor2A5D();
    w.mnupara_Click();
    w.parameterDialog()->findChild<QAbstractButton*>("test")->click();
    QWidget* testView = w.parameterDialog()->findChild<QWidget*>("Überwachung");
    frmAbout about(defaultProductInfo(), Language::English);
    const std::pair<QWidget*, std::span<const Caption>> windows[] = {
        {&w, mainWindowCaptions()},
        {w.progr(), progrCaptions()},
        {w.meldung(), meldungCaptions()},
        {w.ueberwachung(), ueberwachungCaptions()},
        {testView, ueberwachungCaptions()},
        {w.hardware(), hardwareCaptions()},
        {w.adresse(), adresseCaptions()},
        {w.standardAddressWindow(), standartadrCaptions()},
        {w.direkt(), direktCaptions()},
        {w.anzeilist(), anzeilistCaptions()},
        {w.digAuswahl(), digAuswahlCaptions()},
    };
    for (Language language : {Language::English, Language::German}) {
        w.chooseLanguage(language);
        about.setLanguage(language);
        for (const auto& [window, table] : windows) {
            expectTable(window, table, language);
            expectNothingElse(window, table);
        }
        expectTable(w.parameterDialog(), paramCaptions(), language);
        expectTable(&about, aboutCaptions(), language);  // its other labels are product data
    }
    // The dialect, which only the parameter dialog's own picture chooses.
    param* dialog = w.parameterDialog();
    dialog->findChild<QAbstractButton*>("Fränkisch_Image")->click();
    expectTable(dialog, paramCaptions(), Language::Dialect);
    QCOMPARE(dialog->findChild<QComboBox*>("Anschlussart_Combo")->itemText(0),
             "Vierleider beliebcher Belasdung");
    QCOMPARE(dialog->findChild<QComboBox*>("Messgrösse_Binär_Combo")->itemText(1), "Schdrohm");
    dialog->findChild<QAbstractButton*>("Deutsch_Image")->click();
    expectTable(dialog, paramCaptions(), Language::German);
}

QTEST_MAIN(CaptionsTest)
#include "captions_test.moc"
