// The hardware selection window: pick a TXR 3.0 variant or "auto" for detection.
#pragma once

#include <QDialog>

class QListWidget;
class QPushButton;

namespace kalvo {

class Hardware : public QDialog {
    Q_OBJECT
  public:
    explicit Hardware(QWidget* owner);

    // Selects list entry `index` (0 = "TXR 3.0 auto").
    void select(int index);

  signals:
    // OK or a double click: the chosen list index, 0 also when nothing was selected. The
    // window has hidden itself already.
    void chosen(int index);

  private:
    void OK_Hardware_Type_Click();
    QListWidget* List1_;
};

}  // namespace kalvo
