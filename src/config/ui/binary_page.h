// A binary output page of the parameter dialog (`Binar_Frame1`): no signal, device active, or
// a limit value of a quantity with its direction and the allowed range beside it.
#pragma once

#include <QGroupBox>

#include "config/dialog_lists.h"
#include "config/pages.h"
#include "text/language.h"

class QButtonGroup;
class QComboBox;
class QFrame;
class QHBoxLayout;
class QLabel;
class QVBoxLayout;

namespace kalvo {

class FilteredEdit;

class BinaryPageView : public QGroupBox {
    Q_OBJECT
  public:
    BinaryPageView(Record& record, char decimal, QWidget* parent);

    void showOutput(int row);
    int row() const { return row_; }
    BinaryPage values() const;
    void setQuantityTexts(Language language);
    void applyStart(const StartState& start);
    void showCheck(const PageCheck& check);
    // Seitenmeldung_loeschen(2): the allowed range with the information picture.
    void clearMessage();

  signals:
    void touched();
    void stored(const kalvo::PageCheck& check);

  private:
    // Construction, part by part.
    QVBoxLayout* modeOptions();
    void limitGroup();
    QHBoxLayout* directionOptions();
    void allowedRangeFrame();
    void connectHandlers();

    void quantityChanged();
    void placeChanged();
    void fillPlaces(int quantity, int place);
    void showDefaultRange(bool proposal);
    void storeAfterChange();

    Record& record_;
    char decimal_;
    int row_ = 0;
    QButtonGroup* mode_;
    QWidget* limitFrame_;
    QComboBox* quantity_;
    QComboBox* place_;
    FilteredEdit* limit_;
    QLabel* unit_;
    QButtonGroup* direction_;
    QFrame* rangeFrame_;
    QLabel* allowed_;
    QLabel* image_;
};

}  // namespace kalvo
