#include "shell/ui/compare_window.h"

#include <algorithm>

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

#include "text/compare_texts.h"
#include "widgets/qt_text.h"

namespace kalvo {

Vergleich::Vergleich(QWidget* owner, Language language) : QWidget(owner, Qt::Window) {
    setObjectName(QStringLiteral("Vergleich"));
    Tabelle_ = new QTableWidget(0, 4, this);
    Tabelle_->setObjectName(QStringLiteral("Vergleich_Tabelle"));
    Tabelle_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Tabelle_->setSelectionBehavior(QAbstractItemView::SelectRows);
    Tabelle_->verticalHeader()->hide();
    Tabelle_->horizontalHeader()->setStretchLastSection(true);
    Keine_Label_ = new QLabel(this);
    Keine_Label_->setObjectName(QStringLiteral("Keine_Unterschiede_Label"));
    Keine_Label_->setAlignment(Qt::AlignCenter);
    Schliessen_ = new QPushButton(this);
    Schliessen_->setObjectName(QStringLiteral("Schliessen_Command"));
    connect(Schliessen_, &QPushButton::clicked, this, &QWidget::close);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Schliessen_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Tabelle_, 1);
    layout->addWidget(Keine_Label_, 1);
    layout->addLayout(buttons);
    resize(640, 360);
    setLanguage(language);
    showDifferences({});
}

void Vergleich::setLanguage(Language language) {
    setWindowTitle(qs(kCompareTitle.in(language)));
    Tabelle_->setHorizontalHeaderLabels(
        {qs(kComparePage.in(language)), qs(kCompareParameter.in(language)),
         qs(kCompareInTool.in(language)), qs(kCompareInDevice.in(language))});
    Keine_Label_->setText(qs(kCompareNone.in(language)));
    Schliessen_->setText(qs(kCompareClose.in(language)));
}

void Vergleich::showDifferences(const std::vector<RecordDifference>& differences) {
    Tabelle_->setRowCount(static_cast<int>(differences.size()));
    int row = 0;
    for (const RecordDifference& d : differences) {
        int column = 0;
        for (const std::string* text : {&d.page, &d.parameter, &d.left, &d.right}) {
            Tabelle_->setItem(row, column++, new QTableWidgetItem(qs(*text)));
        }
        ++row;
    }
    Tabelle_->resizeColumnsToContents();
    // Wide enough for every column's longest value (one-line output summaries are long), as far
    // as the screen allows; the last column stretches into what is left.
    int needed = Tabelle_->frameWidth() * 2 + Tabelle_->verticalScrollBar()->sizeHint().width();
    for (int c = 0; c < Tabelle_->columnCount(); ++c) needed += Tabelle_->columnWidth(c);
    const QMargins m = layout()->contentsMargins();
    needed += m.left() + m.right();
    if (const QScreen* s = screen()) needed = std::min(needed, s->availableGeometry().width());
    if (needed > width()) resize(needed, height());
    Tabelle_->setVisible(!differences.empty());
    Keine_Label_->setVisible(differences.empty());
}

}  // namespace kalvo
