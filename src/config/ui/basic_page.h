// The basic page of the parameter dialog (`Grundeinstellungen_Frame`): connection type,
// nominal frequency, nominal voltage and current or transformer ratios, the voltage suffix,
// and the hidden message frame with the hardware limit. It only shows and forwards: the page's
// values go to and come from the core as a BasicPage.
#pragma once

#include <QGroupBox>

#include <array>

#include "config/dialog_lists.h"
#include "config/pages.h"
#include "text/language.h"

class QButtonGroup;
class QComboBox;
class QFrame;
class QHBoxLayout;
class QLabel;
class QRadioButton;

namespace kalvo {

class FilteredEdit;
struct NominalInputNames;

class BasicPageView : public QGroupBox {
    Q_OBJECT
  public:
    BasicPageView(char decimal, QWidget* parent);

    // What the controls hold.
    BasicPage values() const;
    // Fills the controls (quietly) and brings suffix, transformer frames and picture along.
    void fill(const BasicPage& page);
    // The start state's part on this page: 50 Hz, no transformers, the class lists.
    void applyStart(const StartState& start);
    void setConnectionTexts(Language language);
    // The message frame with the hardware limit text.
    void showLimitFrame(bool shown);
    void setLimitText(const QString& text);
    bool limitFrameShown() const;

  signals:
    void touched();  // an input was touched: the stop signs go
    void pictureChanged(int connectionType);

  private:
    // The controls one nominal input group holds.
    struct NominalInput {
        QGroupBox* frame = nullptr;
        QButtonGroup* option = nullptr;  // 0 direct, 1 transformer
        QHBoxLayout* options = nullptr;
        QWidget* direct = nullptr;
        QComboBox* list = nullptr;
        QWidget* transformer = nullptr;
        FilteredEdit* primary = nullptr;
        FilteredEdit* secondary = nullptr;
    };

    // Construction, group by group.
    QGroupBox* connectionTypeGroup();
    QGroupBox* frequencyGroup();
    NominalInput nominalInput(const NominalInputNames& names);
    QGroupBox* voltageGroup();
    QGroupBox* currentGroup();
    void limitFrame();
    void connectHandlers();

    void refreshView();  // transformer frames, suffix, picture
    void inputTouched();
    FilteredEdit* numberField(const char* name, bool inCombo);

    char decimal_;
    QComboBox* Anschlussart_Combo_;
    QButtonGroup* frequency_;
    QButtonGroup* voltageOption_;
    QButtonGroup* currentOption_;
    QComboBox* Nenneingangsspannung_Combo_;
    QComboBox* Nenneingangsstrom_Combo_;
    FilteredEdit* vtPrimary_;
    FilteredEdit* vtSecondary_;
    FilteredEdit* ctPrimary_;
    FilteredEdit* ctSecondary_;
    QWidget* ohneSpg_;
    QWidget* mitSpg_;
    QWidget* ohneStrom_;
    QWidget* mitStrom_;
    QLabel* suffix_;
    QFrame* Grund_Meldung_Frame_;
    QLabel* Label4_;
};

}  // namespace kalvo
