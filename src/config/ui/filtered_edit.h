// A number field of the parameter dialog: typed keys pass the core's key filter (signed or
// unsigned), judged against the text they will stand in once they replace the selection;
// either separator key types the user's separator. Text arriving any other way (pasting,
// dropping) is taken only when the whole resulting text could have been typed key by key.
#pragma once

#include <QLineEdit>
#include <QValidator>

#include "config/key_filter.h"

namespace kalvo {

class FilteredEdit : public QLineEdit {
    Q_OBJECT
  public:
    FilteredEdit(KeyFilter filter, char decimal, QWidget* parent = nullptr);

    KeyFilter filter() const { return filter_; }
    char decimal() const { return decimal_; }
    // True while a key that the filter let through is being inserted.
    bool typing() const { return typing_; }

  signals:
    void clicked();   // the user clicked into the field
    void keyTyped();  // a key passed the filter and was handled

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    void pass(QKeyEvent* event);

    KeyFilter filter_;
    char decimal_;
    bool typing_ = false;
};

// Accepts every edit a filtered key makes; anything else only when it passes key by key.
class KeyFilterValidator : public QValidator {
    Q_OBJECT
  public:
    explicit KeyFilterValidator(FilteredEdit* edit);
    State validate(QString& input, int& pos) const override;

  private:
    FilteredEdit* edit_;
};

}  // namespace kalvo
