// The small windows around the main window: the device log `Progr`, the notice `Meldung` and
// the record view `Überwachung`.
#pragma once

#include <QDialog>
#include <QPixmap>
#include <QWidget>

#include <array>

#include "config/record.h"
#include "text/language.h"

class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;

namespace kalvo {

// Log and progress of a device sequence. The caller sets the caption and the picture
// (0 programming, 1 hardware query and read-back) before showing it.
class Progr : public QWidget {
    Q_OBJECT
  public:
    explicit Progr(QWidget* owner);

    void setPicture(int element);
    // Empty log, bar at 0: the state of a freshly created window.
    void reset();
    void addLine(const QString& line);
    void setProgress(int value);

  private:
    QListWidget* List1_;
    QProgressBar* ProgressBar1_;
    QPushButton* Command1_;
    QLabel* Image1_;
    std::array<QPixmap, 2> pictures_;
};

// "Attention: the basic settings changed" notice.
class Meldung : public QDialog {
    Q_OBJECT
  public:
    explicit Meldung(QWidget* owner);
};

// Read-only view of the record: list 0 the row numbers 0..12, list 1 Grundwerte, lists 2..5
// the analog outputs 0..3, lists 6..17 the binary outputs 0..11; list 18 stays empty. Its
// title and its "zurück" button come from its caption table, whoever makes the window.
// No Q_OBJECT: the meta-object compiler does not read umlauts in class names, and the window
// needs no signals of its own.
class Überwachung : public QWidget {
  public:
    explicit Überwachung(QWidget* owner, Language language = Language::German);
    void setLanguage(Language language);
    void listing(const Record& record, char decimal);

  private:
    std::array<QListWidget*, 19> List2_{};
};

}  // namespace kalvo
