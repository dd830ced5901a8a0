#include "link/ui/hardware_window.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "text/value_lists.h"
#include "widgets/qt_text.h"

namespace kalvo {

Hardware::Hardware(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("Hardware"));

    List1_ = new QListWidget(this);
    List1_->setObjectName(QStringLiteral("List1"));
    for (std::string_view entry : kHardwareList) {
        List1_->addItem(qs(entry));
    }
    auto* ok = new QPushButton(this);
    ok->setObjectName(QStringLiteral("OK_Hardware_Type"));
    ok->setDefault(true);
    ok->setAutoDefault(true);
    auto* cancel = new QPushButton(this);
    cancel->setObjectName(QStringLiteral("Abbruch_Hardware_Type"));
    cancel->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(List1_, 1);
    layout->addLayout(buttons);

    connect(ok, &QPushButton::clicked, this, &Hardware::OK_Hardware_Type_Click);
    connect(List1_, &QListWidget::itemDoubleClicked, this, &Hardware::OK_Hardware_Type_Click);
    // Escape and the button both end in reject(): hide, the owner re-enables itself.
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    select(0);
    resize(260, 300);
}

void Hardware::select(int index) {
    List1_->setCurrentRow(index);
}

void Hardware::OK_Hardware_Type_Click() {
    int index = List1_->currentRow();
    if (index < 0 || List1_->selectedItems().isEmpty()) index = 0;
    hide();
    setResult(QDialog::Accepted);
    emit chosen(index);
}

}  // namespace kalvo
