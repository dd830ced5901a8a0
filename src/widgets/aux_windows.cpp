#include "widgets/aux_windows.h"

#include <QFont>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "text/captions.h"
#include "widgets/apply_texts.h"

namespace kalvo {

QFont arial() {
    QFont f(QStringLiteral("Arial"));
    f.setStyleHint(QFont::SansSerif);
    return f;
}

Meldung::Meldung(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("Meldung"));
    auto* layout = new QVBoxLayout(this);
    const char* names[] = {"lblM11", "lblM12", "lblM13", "lblM14", "lblM15"};
    for (int i = 0; i < 5; ++i) {
        auto* label = new QLabel(this);
        label->setObjectName(QString::fromLatin1(names[i]));
        label->setAlignment(Qt::AlignCenter);
        if (i == 0) {
            QFont f = label->font();
            f.setBold(true);
            label->setFont(f);
        }
        layout->addWidget(label);
    }
    auto* button = new QPushButton(this);
    button->setObjectName(QStringLiteral("Command1"));
    button->setDefault(true);
    layout->addWidget(button, 0, Qt::AlignCenter);
    connect(button, &QPushButton::clicked, this, &QDialog::accept);
}

Ueberwachung::Ueberwachung(QWidget* owner, Language language) : QWidget(owner, Qt::Window) {
    setObjectName(QStringLiteral("Überwachung"));
    auto* grid = new QGridLayout;
    for (int i = 0; i < 19; ++i) {
        auto* list = new QListWidget(this);
        list->setObjectName(QStringLiteral("List2_%1").arg(i));
        list->setFont(arial());
        list->setMinimumWidth(40);
        List2_[i] = list;
        grid->addWidget(list, 0, i);
    }
    auto* back = new QPushButton(this);
    back->setObjectName(QStringLiteral("Command1"));
    connect(back, &QPushButton::clicked, this, &QWidget::hide);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid, 1);
    layout->addWidget(back, 0, Qt::AlignRight);
    resize(1000, 320);
    setLanguage(language);
}

void Ueberwachung::setLanguage(Language language) {
    applyCaptions(this, ueberwachungCaptions(), language);
}

void Ueberwachung::listing(const Record& record, char decimal) {
    for (QListWidget* list : List2_) list->clear();
    for (int row = 0; row <= 12; ++row) List2_[0]->addItem(QString::number(row));
    auto add = [decimal](QListWidget* list, const Cell& cell) {
        list->addItem(QString::fromStdString(cell.toText(decimal)));
    };
    for (const Cell& c : record.Grundwerte) add(List2_[1], c);
    for (int out = 0; out < 4; ++out) {
        for (const Cell& c : record.Analogwerte[out]) add(List2_[out + 2], c);
    }
    for (int out = 0; out < 12; ++out) {
        for (const Cell& c : record.Binaerwerte[out]) add(List2_[out + 6], c);
    }
}

}  // namespace kalvo
