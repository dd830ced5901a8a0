// The parameter dialog `param`: the page list on the left, one page frame at a time, and the
// store-and-check protocol when a page is left. Every rule is the core's (config/param_flow.h,
// config/pages.h); the dialog collects what the page on screen holds, hands it over, and shows
// what comes back: stop signs, message frames, the reset notice.
//
// For the main window:
//   - construct it with the record it edits, its own state (kept between openings), the user's
//     decimal separator, the program's language (languageOf(Sprache)) and the program's folder
//     (where the wiring pictures "s4u.sb" ... "s1.sb" lie);
//   - it emits stored() whenever OK stored the record (enable Save, Save As and Print) and
//     closed() when OK or Cancel closed it (enable the main window; the dialog deletes itself);
//   - the public routines: OK_Parametrieren_Click (store the page on screen; "Programmieren"
//     calls it first), listing, P_in_index, stopp, max_info, setCaptionFile ("    [file]"),
//     setLanguage (the toolbar's language buttons).
#pragma once

#include <QDialog>
#include <QPointer>
#include <QString>

#include <array>
#include <optional>

#include "config/param_flow.h"
#include "text/language.h"

class QLabel;
class QListWidget;
class QPushButton;
class QTimer;
class QToolButton;
class QFrame;

namespace kalvo {

class AnalogPageView;
class BasicPageView;
class BinaryPageView;
class InterfacePageView;
class Meldung;
class Ueberwachung;

class param : public QDialog {
    Q_OBJECT
  public:
    // The blink timer's interval: the stop signs are shown and hidden every 500 ms.
    static constexpr int kBlinkMs = 500;

    param(Record& record, DialogFlags& flags, char decimal, Language language,
          QString programFolder, QWidget* owner = nullptr);
    ~param() override;

    // Stores and checks the page on screen; closes the dialog when it is clean (unless the
    // reset notice has to be seen). Returns whether the record is then free of faults, every
    // page checked.
    bool OK_Parametrieren_Click();
    // Refills the record view `Überwachung` from the record.
    void listing();
    // Fills the basic page from the record.
    void P_in_index();
    // 0: clears all stop signs and stops the blinking; 1..6: sets that stop sign blinking.
    void stopp(int n);
    // The hardware limit text of the basic page for the record's classes.
    void max_info();
    // The caption suffix "    [file]" after a project file was opened; empty removes it.
    void setCaptionFile(const QString& file);
    // The toolbar's language buttons: the dialog's texts, its start state, and the notice's
    // (the notice speaks the program's language, never the dialect).
    void setLanguage(Language language);
    Language language() const { return language_; }

    // Cancel: closes without storing the page on screen (pages left before stay stored).
    void Abbruch_Parametrieren_Click();
    // The diagram button: widens the dialog to show the wiring picture, or narrows it again.
    void anbild_Click();
    // "TEST 1": shows the record view and toggles the language pictures.
    void test_Click();

  signals:
    void stored();  // OK stored the record
    void closed();  // OK or Cancel closed the dialog

  protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

  private:
    // Construction, part by part, and the load.
    void pageList();
    void signPictures();
    void pageFrames();
    void buttons();
    void languagePictures();
    void wiringFrame();
    void arrange();
    void connectSignals();
    void load();

    void Parametrier_List_Click();
    void Seite_anzeigen(int index);
    void Seitenmeldung_loeschen(int kind);
    void Timer1_Timer();
    // The text routines Texte_deutsch / Texte_englisch / Texte_fraenkisch, each ending with
    // Startzustand_setzen.
    void applyTexts(Language language);
    void Startzustand_setzen();
    // A language picture or button: the page on screen is stored as on leaving it first.
    void changeLanguage(Language language);
    int shownIndex() const;
    void setShownIndex(int index);
    void selectQuietly(int index);
    std::optional<PageContent> contentOnScreen(int index) const;
    // Shows a store's check on the page that was stored.
    void showCheck(int index, const PageCheck& check);
    void showNotice();
    void showPicture(int connectionType);
    void unload();

    Record& record_;
    DialogFlags& flags_;
    char decimal_;
    Language language_;         // the dialog's texts: German, English or the dialect
    Language programLanguage_;  // the notice's
    QString folder_;
    QString captionFile_;

    QListWidget* Parametrier_List_;
    QLabel* Copy_par_list_index_Label_;
    BasicPageView* basic_;
    AnalogPageView* analog_;
    BinaryPageView* binary_;
    InterfacePageView* interface_;
    std::array<QLabel*, 7> stop1_{};  // 1..6
    QTimer* Timer1_;
    QPushButton* OK_;
    QPushButton* Abbruch_;
    QPushButton* anbild_;
    QPushButton* test_;
    QFrame* Frame2_;
    QToolButton* Deutsch_Image_;
    QToolButton* Englisch_Image_;
    QToolButton* Fraenkisch_Image_;
    QFrame* Picture1_;
    QLabel* Anschlussbild_Image_;
    QPointer<Meldung> meldung_;
    QPointer<Ueberwachung> ueberwachung_;
    bool unloaded_ = false;
};

}  // namespace kalvo
