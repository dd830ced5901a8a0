#include "widgets/aux_windows.h"

#include <QFont>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "text/captions.h"
#include "widgets/apply_texts.h"

namespace kalvo {

namespace {

QFont arial() {
    QFont f(QStringLiteral("Arial"));
    f.setStyleHint(QFont::SansSerif);
    return f;
}

}  // namespace

Progr::Progr(QWidget* owner) : QWidget(owner, Qt::Window) {
    setObjectName(QStringLiteral("Progr"));

    List1_ = new QListWidget(this);
    List1_->setObjectName(QStringLiteral("List1"));
    List1_->setFont(arial());
    ProgressBar1_ = new QProgressBar(this);
    ProgressBar1_->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1_->setRange(0, 50);
    ProgressBar1_->setValue(0);
    ProgressBar1_->setTextVisible(false);
    Command1_ = new QPushButton(this);
    Command1_->setObjectName(QStringLiteral("Command1"));
    Image1_ = new QLabel(this);
    Image1_->setObjectName(QStringLiteral("Image1"));
    Image1_->setAlignment(Qt::AlignCenter);
    pictures_[0] = QPixmap(QStringLiteral(":/icons/progr_programming.png"));
    pictures_[1] = QPixmap(QStringLiteral(":/icons/progr_hardware.png"));

    auto* top = new QHBoxLayout;
    top->addWidget(Image1_, 0, Qt::AlignTop);
    top->addWidget(List1_, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(ProgressBar1_, 1);
    bottom->addWidget(Command1_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(bottom);

    connect(Command1_, &QPushButton::clicked, this, [this] {
        hide();
        reset();
    });
    resize(570, 400);  // 8550 x 6000 twips
    setPicture(0);
}

void Progr::setPicture(int element) {
    Image1_->setPixmap(pictures_[element == 1 ? 1 : 0]);
    Image1_->setProperty("picture", element == 1 ? 1 : 0);
}

void Progr::reset() {
    List1_->clear();
    ProgressBar1_->setValue(0);
}

void Progr::addLine(const QString& line) {
    List1_->addItem(line);
    List1_->scrollToBottom();
}

void Progr::setProgress(int value) {
    ProgressBar1_->setValue(value);
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

Überwachung::Überwachung(QWidget* owner, Language language) : QWidget(owner, Qt::Window) {
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

void Überwachung::setLanguage(Language language) {
    applyCaptions(this, ueberwachungCaptions(), language);
}

void Überwachung::listing(const Record& record, char decimal) {
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
