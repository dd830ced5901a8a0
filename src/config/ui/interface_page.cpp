#include "config/ui/interface_page.h"

#include <QCheckBox>
#include <QGridLayout>

#include "config/rules.h"
#include "config/ui/quiet.h"
#include "text/param_texts.h"
#include "widgets/qt_text.h"

namespace kalvo {

InterfacePageView::InterfacePageView(Record& record, QWidget* parent)
    : QGroupBox(parent), record_(record) {
    setObjectName(QStringLiteral("Schnittstelle_Frame"));
    auto* grid = new QGridLayout(this);
    // Three columns of 13, in the order of the record's cells.
    for (int i = 0; i < kInterfaceCells; ++i) {
        const std::string_view caption = kInterfaceCaptions[static_cast<std::size_t>(i)];
        auto* box = new QCheckBox(qs(caption), this);
        box->setObjectName(QStringLiteral("Schnittstelle_Messgrösse_Check_%1").arg(i));
        boxes_[static_cast<std::size_t>(i)] = box;
        grid->addWidget(box, i % 13, i / 13);
    }
    grid->setRowStretch(13, 1);
}

void InterfacePageView::showRecord() {
    Quiet quiet(this);
    const auto enabled = Schnittstelle_freigeben(connectionType(record_));
    const InterfacePage p = Schnittstelle_anzeigen(record_);
    for (std::size_t i = 0; i < boxes_.size(); ++i) {
        boxes_[i]->setEnabled(enabled[i]);
        boxes_[i]->setChecked(p.checked[i]);
    }
}

InterfacePage InterfacePageView::values() const {
    InterfacePage p;
    for (std::size_t i = 0; i < boxes_.size(); ++i) p.checked[i] = boxes_[i]->isChecked();
    return p;
}

void InterfacePageView::clear() {
    Quiet quiet(this);
    for (QCheckBox* box : boxes_) box->setChecked(false);
}

}  // namespace kalvo
