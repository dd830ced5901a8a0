#include "config/ui/page_widgets.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>

#include "text/value_lists.h"
#include "widgets/qt_text.h"

namespace kalvo {

void addToGrid(QGridLayout* grid, std::initializer_list<GridPlace> places) {
    for (const GridPlace& p : places) {
        if (p.rowSpan == 1 && p.columnSpan == 1) {
            grid->addWidget(p.widget, p.row, p.column, p.alignment);
        } else {
            grid->addWidget(p.widget, p.row, p.column, p.rowSpan, p.columnSpan, p.alignment);
        }
    }
}

QLabel* stopLabel(int n, QWidget* parent) {
    QLabel* l = namedLabel(QStringLiteral("stop1_%1").arg(n), parent);
    l->setFixedSize(22, 22);
    QSizePolicy p = l->sizePolicy();
    p.setRetainSizeWhenHidden(true);
    l->setSizePolicy(p);
    return l;
}

void selectOption(QButtonGroup* group, int id) {
    if (QAbstractButton* b = group->button(id)) {
        b->setChecked(true);
        return;
    }
    group->setExclusive(false);
    for (QAbstractButton* b : group->buttons()) b->setChecked(false);
    group->setExclusive(true);
}

void fillQuantityList(QComboBox* list, Language language) {
    const int index = list->currentIndex();
    list->clear();
    for (const Text& t : quantityTexts()) list->addItem(qs(t.in(language)));
    list->setCurrentIndex(index);
}

void fillPlaceList(QComboBox* list, const std::vector<std::string>& places) {
    list->clear();
    for (const std::string& p : places) list->addItem(qs(p));
    list->setCurrentIndex(0);
}

}  // namespace kalvo
