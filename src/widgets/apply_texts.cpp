#include "widgets/apply_texts.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QWidget>

#include "widgets/qt_text.h"

namespace kalvo {

namespace {

void setText(QWidget* window, const QString& control, const QString& text) {
    if (auto* menu = window->findChild<QMenu*>(control)) {
        menu->setTitle(text);
    } else if (auto* action = window->findChild<QAction*>(control)) {
        action->setText(text);
    } else if (auto* button = window->findChild<QAbstractButton*>(control)) {
        button->setText(text);
    } else if (auto* label = window->findChild<QLabel*>(control)) {
        label->setText(text);
    } else if (auto* group = window->findChild<QGroupBox*>(control)) {
        group->setTitle(text);
    }
}

void setToolTip(QWidget* window, const QString& control, const QString& text) {
    if (auto* action = window->findChild<QAction*>(control)) {
        action->setToolTip(text);
    } else if (auto* widget = window->findChild<QWidget*>(control)) {
        widget->setToolTip(text);
    }
}

}  // namespace

void applyCaptions(QWidget* window, std::span<const Caption> table, Language language) {
    for (const Caption& row : table) {
        const QString text = qs(row.text.in(language));
        const QString target = qs(row.target);
        if (target.isEmpty()) {
            window->setWindowTitle(text);
        } else if (target.endsWith(QStringLiteral("@tip"))) {
            setToolTip(window, target.chopped(4), text);
        } else {
            setText(window, target, text);
        }
    }
}

}  // namespace kalvo
