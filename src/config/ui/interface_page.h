// The interface page of the parameter dialog (`Schnittstelle_Frame`): the 37 values the
// transducer can offer on its data interface, those of other connection types disabled.
#pragma once

#include <QGroupBox>

#include <array>

#include "config/pages.h"

class QCheckBox;

namespace kalvo {

class InterfacePageView : public QGroupBox {
    Q_OBJECT
  public:
    InterfacePageView(Record& record, QWidget* parent);

    // Schnittstelle_freigeben, then Schnittstelle_anzeigen.
    void showRecord();
    InterfacePage values() const;
    // Clears every box (the reset after a change of the basic settings).
    void clear();

  private:
    Record& record_;
    std::array<QCheckBox*, kInterfaceCells> boxes_{};
};

}  // namespace kalvo
