#include "shell/ui/network_window.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "text/network_texts.h"
#include "widgets/apply_texts.h"
#include "widgets/named_label.h"
#include "widgets/qt_text.h"

namespace kalvo {

Netzwerk::Netzwerk(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("Netzwerk"));
    Rechner_Combo_ = new QComboBox(this);
    Rechner_Combo_->setObjectName(QStringLiteral("Rechner_Combo"));
    Rechner_Combo_->setEditable(true);
    Rechner_Combo_->setInsertPolicy(QComboBox::NoInsert);
    Port_Text_ = new QLineEdit(this);
    Port_Text_->setObjectName(QStringLiteral("Port_Text"));
    QLabel* Label1 = namedLabel(QStringLiteral("Label1"), this);
    QLabel* Label2 = namedLabel(QStringLiteral("Label2"), this);
    Label1->setBuddy(Rechner_Combo_);
    Label2->setBuddy(Port_Text_);
    Fehler_Label_ = namedLabel(QStringLiteral("Fehler_Label"), this);
    Fehler_Label_->setWordWrap(true);
    Fehler_Label_->setStyleSheet(QStringLiteral("color: #b00000;"));
    Fehler_Label_->setVisible(false);
    auto* ok = new QPushButton(this);
    ok->setObjectName(QStringLiteral("OK_Netzwerk"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(this);
    cancel->setObjectName(QStringLiteral("Abbrechen_Netzwerk"));
    cancel->setAutoDefault(false);

    auto* grid = new QGridLayout;
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(Rechner_Combo_, 1, 0);
    grid->addWidget(Label2, 0, 1);
    grid->addWidget(Port_Text_, 1, 1);
    grid->setColumnStretch(0, 3);
    grid->setColumnStretch(1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(Fehler_Label_);
    layout->addStretch(1);
    layout->addLayout(buttons);

    // A recent gateway brings its port along.
    connect(Rechner_Combo_, &QComboBox::activated, this, [this](int index) {
        if (index >= 0 && static_cast<std::size_t>(index) < recent_.size()) {
            Port_Text_->setText(QString::number(recent_[static_cast<std::size_t>(index)].port));
        }
    });
    connect(ok, &QPushButton::clicked, this, &Netzwerk::OK_Netzwerk_Click);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    setLanguage(language_);
    resize(420, 150);
}

void Netzwerk::setLanguage(Language language) {
    language_ = language;
    applyCaptions(this, kNetzwerkCaptions, language);
}

void Netzwerk::setRecent(const std::vector<NetworkPort>& recent) {
    recent_ = recent;
    Rechner_Combo_->clear();
    for (const NetworkPort& p : recent_) Rechner_Combo_->addItem(qs(p.host));
    if (!recent_.empty()) Port_Text_->setText(QString::number(recent_.front().port));
    Fehler_Label_->setVisible(false);
}

void Netzwerk::OK_Netzwerk_Click() {
    std::string host = Rechner_Combo_->currentText().trimmed().toStdString();
    if (host.find(':') != std::string::npos && host.front() != '[') host = "[" + host + "]";
    const std::string name = "tcp://" + host + ":" + Port_Text_->text().trimmed().toStdString();
    const ParsedPortName parsed = parseNetworkPortName(name);
    if (!parsed.network) {
        Fehler_Label_->setText(qs(portNameFaultMessage(parsed, name).in(language_)));
        Fehler_Label_->setVisible(true);
        return;
    }
    Fehler_Label_->setVisible(false);
    hide();
    emit networkChosen(*parsed.network);
}

}  // namespace kalvo
