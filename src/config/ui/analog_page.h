// An analog output page of the parameter dialog (`Analog_Frame`): quantity and place, the
// measuring range with its allowed maximum, the output signal and limitation, and the kinked
// characteristic. The rules are the core's; this view shows an AnalogPage and forwards edits.
#pragma once

#include <QGroupBox>

#include <array>

#include "config/dialog_lists.h"
#include "config/pages.h"
#include "text/language.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QGridLayout;
class QLabel;

namespace kalvo {

class FilteredEdit;

class AnalogPageView : public QGroupBox {
    Q_OBJECT
  public:
    AnalogPageView(Record& record, char decimal, QWidget* parent);

    // Shows analog output `row` of the record (the page part of Seite_anzeigen).
    void showOutput(int row);
    int row() const { return row_; }
    AnalogPage values() const;
    void setQuantityTexts(Language language);
    void applyStart(const StartState& start);
    // Selects a quantity without its handler (the empty basic page does this).
    void selectQuantity(int index);
    // Shows a check's result: the exclamation or the information picture beside the range.
    void showCheck(const PageCheck& check);
    // Seitenmeldung_loeschen(1): the allowed range with the information picture.
    void clearMessage();

  signals:
    void touched();                              // an input was touched: the stop signs go
    void stored(const kalvo::PageCheck& check);  // a quantity or place change stored the page

  private:
    // Construction, group by group.
    QGridLayout* quantityRow();
    QGroupBox* rangeGroup();
    void allowedRangeFrame();
    QGroupBox* outputGroup();
    void kneeGroup();
    void connectHandlers();

    void quantityChanged();
    void placeChanged();
    void outputUnitChanged();
    void kinkedChanged();
    void outputChanged();
    void fillPlaces(int quantity, int place);
    void showDefaultRange(bool intoBoxes);
    void refreshKneeLabels();
    void resetKnee();
    void storeAfterChange();
    void setKinkedVisible(bool shown);
    FilteredEdit* field(const char* name);

    Record& record_;
    char decimal_;
    int row_ = 0;
    QComboBox* quantity_;
    QComboBox* place_;
    QLabel* unit_;
    QLabel* capInd_;
    FilteredEdit* rangeStart_;
    FilteredEdit* rangeEnd_;
    QFrame* maxFrame_;
    QLabel* allowed_;
    QLabel* image_;
    QComboBox* outputUnit_;
    QLabel* outputUnitLabel_;
    FilteredEdit* outputStart_;
    FilteredEdit* outputEnd_;
    FilteredEdit* limitMin_;
    FilteredEdit* limitMax_;
    QCheckBox* kinked_;
    QGroupBox* kneeFrame_;
    FilteredEdit* kneeInput_;
    FilteredEdit* kneeOutput_;
    std::array<QLabel*, 6> kn_{};
};

}  // namespace kalvo
