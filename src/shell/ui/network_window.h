// `Netzwerk`, opened by the port menu's "Netzwerk...": the host and port of a serial device
// server (a gateway in TCP server mode). `Rechner_Combo` (editable; the recent gateways, the
// latest first; choosing one fills its port), `Port_Text`, their labels Label1 and Label2, the
// line `Fehler_Label` that says what is wrong with an entry, OK_Netzwerk, Abbrechen_Netzwerk.
#pragma once

#include <QDialog>

#include <vector>

#include "link/port_name.h"
#include "text/language.h"

class QComboBox;
class QLabel;
class QLineEdit;

namespace kalvo {

class Netzwerk : public QDialog {
    Q_OBJECT
  public:
    explicit Netzwerk(QWidget* owner = nullptr);

    void setLanguage(Language language);
    // Offers `recent` (the latest first) and puts the latest into the entries.
    void setRecent(const std::vector<NetworkPort>& recent);

  signals:
    // OK with entries that name a gateway. The window has hidden itself. Entries that do not
    // (no host, a port outside 1..65535, a blank inside) keep the window open with the reason
    // in Fehler_Label.
    void networkChosen(const kalvo::NetworkPort& port);

  private:
    void OK_Netzwerk_Click();
    QComboBox* Rechner_Combo_;
    QLineEdit* Port_Text_;
    QLabel* Fehler_Label_;
    Language language_ = Language::German;
    std::vector<NetworkPort> recent_;
};

}  // namespace kalvo
