// The small windows that both the main window and the parameter dialog open: the notice
// `Meldung` and the record view `Überwachung`.
#pragma once

#include <QDialog>
#include <QFont>
#include <QWidget>

#include <array>

#include "config/record.h"
#include "text/language.h"

class QListWidget;

namespace kalvo {

// Arial, or the sans-serif face that stands in for it: the font of the log and record lists.
QFont arial();

// "Attention: the basic settings changed" notice.
class Meldung : public QDialog {
    Q_OBJECT
  public:
    explicit Meldung(QWidget* owner);
};

// Read-only view of the record: list 0 the row numbers 0..12, list 1 Grundwerte, lists 2..5
// the analog outputs 0..3, lists 6..17 the binary outputs 0..11; list 18 stays empty. Its
// title and its "zurück" button come from its caption table, whoever makes the window.
class Ueberwachung : public QWidget {
  public:
    explicit Ueberwachung(QWidget* owner, Language language = Language::German);
    void setLanguage(Language language);
    void listing(const Record& record, char decimal);

  private:
    std::array<QListWidget*, 19> List2_{};
};

}  // namespace kalvo
