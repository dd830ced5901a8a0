// The window `Vergleich`: what differs between the configuration in the tool and the one stored
// in the unit, one row per parameter (page, parameter, in the tool, in the device), or the line
// "Keine Unterschiede".
#pragma once

#include <QWidget>

#include <vector>

#include "config/compare.h"
#include "text/language.h"

class QLabel;
class QPushButton;
class QTableWidget;

namespace kalvo {

class Vergleich : public QWidget {
    Q_OBJECT
  public:
    explicit Vergleich(QWidget* owner, Language language);

    // Headings and buttons; the rows keep the language they were compared in.
    void setLanguage(Language language);
    // The table of `differences`, or the "no differences" line when there are none.
    void showDifferences(const std::vector<RecordDifference>& differences);

  private:
    QTableWidget* Tabelle_;
    QLabel* Keine_Label_;
    QPushButton* Schliessen_;
};

}  // namespace kalvo
