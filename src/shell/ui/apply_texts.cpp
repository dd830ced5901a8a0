#include "shell/ui/apply_texts.h"

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QToolBar>
#include <QWidget>

#include "text/main_texts.h"

namespace kalvo {

namespace {

QString qs(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<int>(s.size()));
}

QWidget* findWindow(QWidget* root, const QString& name) {
    if (root->objectName() == name) return root;
    return root->findChild<QWidget*>(name);
}

void applyToControl(QWidget* window, const QString& control, const QString& text) {
    const int hash = control.indexOf(QLatin1Char('#'));
    if (hash >= 0) {
        auto* bar = window->findChild<QToolBar*>(control.left(hash));
        if (bar == nullptr) return;
        const int position = control.mid(hash + 1).toInt();
        const QList<QAction*> actions = bar->actions();
        if (position >= 1 && position <= actions.size()) actions[position - 1]->setToolTip(text);
        return;
    }
    if (auto* menu = window->findChild<QMenu*>(control)) {
        menu->setTitle(text);
    } else if (auto* action = window->findChild<QAction*>(control)) {
        action->setText(text);
    } else if (auto* button = window->findChild<QAbstractButton*>(control)) {
        button->setText(text);
    } else if (auto* label = window->findChild<QLabel*>(control)) {
        label->setText(text);
    }
}

}  // namespace

void applyTexteAllgemein(QWidget* root, bool english) {
    for (const TextRow& row : Texte_allgemein()) {
        const QString target = qs(row.target);
        const QString text = qs(english ? row.english : row.german);
        const int dot = target.indexOf(QLatin1Char('.'));
        QWidget* window = findWindow(root, dot < 0 ? target : target.left(dot));
        if (window == nullptr) continue;
        if (dot < 0) {
            window->setWindowTitle(text);
        } else {
            applyToControl(window, target.mid(dot + 1), text);
        }
    }
}

}  // namespace kalvo
