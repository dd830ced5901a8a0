// The selection of the values the transducer offers on its data interface, `Dig_Auswahl`:
// 37 check boxes, one per cell of Schnittstellenwerte, and OK. Every activation shows the
// record's choice for the boxes the connection type allows; OK stores all boxes into the
// record and hides the window; closing it without OK leaves the record as it was.
#pragma once

#include <QDialog>
#include <QPointer>

#include <array>

#include "config/record.h"
#include "measure/selection.h"

class QCheckBox;
class QPushButton;
class QWindow;

namespace kalvo {

class Dig_Auswahl : public QDialog {
    Q_OBJECT
  public:
    // `record`: the project's record, read at every activation and written by OK.
    Dig_Auswahl(QWidget* owner, Record& record);

    // Shows the record's selection; runs by itself whenever the window is shown or becomes
    // the active window of the program again.
    void Form_Activate();
    // The reset of the record's outputs: every box cleared.
    void clearAll();

    const InterfaceBoxes& boxes() const { return boxes_; }

  signals:
    // OK has stored the boxes into the record.
    void stored();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void Command1_Click();
    void focusMoved(QWindow* window);
    void render();

    Record& record_;
    InterfaceBoxes boxes_;
    std::array<QCheckBox*, kInterfaceCells> checks_{};
    QPushButton* Command1_;
    QPointer<QWindow> lastFocus_;
};

}  // namespace kalvo
