#include "config/ui/filtered_edit.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace kalvo {

FilteredEdit::FilteredEdit(KeyFilter filter, char decimal, QWidget* parent)
    : QLineEdit(parent), filter_(filter), decimal_(decimal) {
    setValidator(new KeyFilterValidator(this));
}

void FilteredEdit::pass(QKeyEvent* event) {
    typing_ = true;
    QLineEdit::keyPressEvent(event);
    typing_ = false;
}

void FilteredEdit::keyPressEvent(QKeyEvent* event) {
    // Pasting and cutting change the text as a whole: the validator judges the result.
    if (event->matches(QKeySequence::Paste) || event->matches(QKeySequence::Cut)) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    const QList<uint> keys = event->text().toUcs4();
    if (keys.isEmpty() || event->key() == Qt::Key_Delete) {  // navigation, Delete
        pass(event);
        return;
    }
    if (event->key() == Qt::Key_Escape) {  // leaves the field to the dialog (Cancel)
        event->ignore();
        return;
    }
    if (keys.size() == 1 && keys[0] >= 0x20 && keys[0] != 0x7f) {
        // The key replaces the selection: the filter judges the text around it.
        QString rest = text();
        if (hasSelectedText()) rest.remove(selectionStart(), selectionLength());
        const char32_t typed = filterKey(filter_, rest.toStdString(), keys[0], decimal_);
        if (typed == 0) {
            event->accept();  // swallowed, without a sound
            return;
        }
        if (typed == keys[0]) {
            pass(event);
        } else {  // the other separator key types the user's separator
            typing_ = true;
            insert(QString(QLatin1Char(decimal_)));
            typing_ = false;
            event->accept();
        }
        emit keyTyped();
        return;
    }
    if (event->key() == Qt::Key_Backspace || (keys.size() == 1 && keys[0] == kBackspace)) {
        pass(event);
        emit keyTyped();
        return;
    }
    // Copying, selecting and undoing change nothing the filter cares about.
    if (event->matches(QKeySequence::Copy) || event->matches(QKeySequence::SelectAll) ||
        event->matches(QKeySequence::Undo) || event->matches(QKeySequence::Redo)) {
        pass(event);
        return;
    }
    event->accept();  // Enter and every other control character are swallowed
}

void FilteredEdit::mousePressEvent(QMouseEvent* event) {
    emit clicked();
    QLineEdit::mousePressEvent(event);
}

KeyFilterValidator::KeyFilterValidator(FilteredEdit* edit) : QValidator(edit), edit_(edit) {}

QValidator::State KeyFilterValidator::validate(QString& input, int&) const {
    if (edit_->typing()) return Acceptable;
    return passesKeyByKey(edit_->filter(), input.toStdString(), edit_->decimal()) ? Acceptable
                                                                                  : Invalid;
}

}  // namespace kalvo
