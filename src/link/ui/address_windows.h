// The windows of the device address and of direct input: `Adresse` changes a device's bus
// address, `standartadr` sets the address the program itself uses, `Direkt` sends a typed
// frame. None of them talks to the port: they ask for a device job with a signal, the owner
// runs it on the device thread (refusing while another job runs) and hands the outcome back.
// Captions come from text/link_captions.h; setLanguage() switches them while a window is open.
#pragma once

#include <QDialog>
#include <QString>

#include <optional>

#include "link/address.h"
#include "link/outcome.h"
#include "text/language.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kalvo {

// Text1 old address (label Label2), Text2 new address (label Label1), the check box
// `prüfen_check` (link test afterwards, on by default), OK_Adresse_ändern,
// Abbrechen_Adresse_ändern; the result line `Ergebnis_Label` and the offer
// `Standardadresse_Command`, both shown only after a result.
class Adresse : public QDialog {
    Q_OBJECT
  public:
    explicit Adresse(QWidget* owner = nullptr);

    void setLanguage(Language language);
    // While another device job runs the owner would refuse a request: OK is disabled.
    void setBusy(bool busy);

    // The outcome of the job a changeRequested() started. A failure, or a change that was
    // tested, shows the window again with "OK" or the link-failure text; when the test passed
    // it offers the new address as the program's standard address. A change sent without a
    // test that went out, and a cancelled one, show nothing. Editing an entry clears the result.
    void showResult(const AddressChangeResult& result);

  signals:
    // OK with both entries filled and showing the addresses that are sent: the change to send.
    // An entry that reads otherwise ("40", "07", "abc") is first replaced by the address that
    // will be used ("0", "7", "0") and the window waits for the next OK. The window has hidden
    // itself before this is emitted. Nothing is emitted when an entry is empty.
    void changeRequested(const kalvo::AddressChange& change);
    // The user took the tested new address as the standard address.
    void standardAddressChosen(const QString& address);

  protected:
    void hideEvent(QHideEvent* event) override;

  private:
    void OK_Adresse_aendern_Click();
    void Standardadresse_Command_Click();
    void showReport();

    QLineEdit* Text1_;
    QLineEdit* Text2_;
    QCheckBox* pruefen_check_;
    QPushButton* OK_Adresse_aendern_;
    QLabel* Ergebnis_Label_;
    QPushButton* Standardadresse_Command_;
    Language language_ = Language::German;
    std::optional<AddressChangeResult> result_;
};

// txt_adr (label Label1), OK, Abbrechen.
class standartadr : public QDialog {
    Q_OBJECT
  public:
    explicit standartadr(QWidget* owner = nullptr);

    void setLanguage(Language language);
    // Puts the address in use into the entry, selected, so typing replaces it.
    void setCurrentAddress(const QString& address);

  signals:
    // OK with an entry: the new Geraeteadresse, read as its leading whole number ("12abc" ->
    // "12"). The window has hidden itself. An empty entry keeps the address: nothing is
    // emitted (the status bar already shows the address in use).
    void addressChosen(const QString& Geraeteadresse);

  private:
    void OK_Click();
    QLineEdit* txt_adr_;
};

// Text1 (the whole frame, e.g. "-0-t"), Command1 "Senden", Command2 "Abbrechen", and the
// result line `Ergebnis_Label`.
class Direkt : public QDialog {
    Q_OBJECT
  public:
    explicit Direkt(QWidget* owner = nullptr);

    void setLanguage(Language language);
    // While a device job runs the owner would refuse a request: Senden is disabled.
    void setBusy(bool busy);
    // The outcome of the job a sendRequested() started: the link-failure text when the port
    // failed, nothing otherwise (no reply is awaited).
    void showResult(Outcome outcome);

  signals:
    // Senden: the text exactly as typed, sent with LF CR and no address added. The window
    // stays open for the next frame.
    void sendRequested(const QString& text);

  private:
    void showReport();
    QLineEdit* Text1_;
    QPushButton* Command1_;
    QLabel* Ergebnis_Label_;
    Language language_ = Language::German;
    Outcome outcome_ = Outcome::Ok;
};

}  // namespace kalvo
