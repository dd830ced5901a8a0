#include "link/ui/address_windows.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "text/link_captions.h"
#include "text/messages.h"
#include "widgets/apply_texts.h"
#include "widgets/named_label.h"
#include "widgets/qt_text.h"

namespace kalvo {

namespace {

QLineEdit* entry(const char* name, QWidget* parent) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromUtf8(name));
    return e;
}

QPushButton* button(const char* name, QWidget* parent) {
    auto* b = new QPushButton(parent);
    b->setObjectName(QString::fromUtf8(name));
    b->setAutoDefault(false);
    return b;
}

// The line that tells the user how a device job ended: red when it failed, green when not.
QLabel* resultLine(QWidget* parent) {
    QLabel* l = namedLabel(QStringLiteral("Ergebnis_Label"), parent);
    l->setWordWrap(true);
    l->setVisible(false);
    return l;
}

void showLine(QLabel* line, const std::string& text, bool failed) {
    line->setText(qs(text));
    line->setStyleSheet(failed ? QStringLiteral("color: #b00000;")
                               : QStringLiteral("color: #006400; font-weight: bold;"));
    line->setVisible(!text.empty());
}

// OK and Cancel at the right of the window's last row.
QHBoxLayout* buttonRow(QPushButton* ok, QPushButton* cancel) {
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(ok);
    row->addWidget(cancel);
    return row;
}

}  // namespace

// ---- Adresse ---------------------------------------------------------------------------------

Adresse::Adresse(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("Adresse"));
    Text1_ = entry("Text1", this);
    Text2_ = entry("Text2", this);
    QLabel* Label1 = namedLabel(QStringLiteral("Label1"), this);
    QLabel* Label2 = namedLabel(QStringLiteral("Label2"), this);
    Label2->setBuddy(Text1_);
    Label1->setBuddy(Text2_);
    pruefen_check_ = new QCheckBox(this);
    pruefen_check_->setObjectName(QStringLiteral("prüfen_check"));
    pruefen_check_->setChecked(true);
    Ergebnis_Label_ = resultLine(this);
    Standardadresse_Command_ = button("Standardadresse_Command", this);
    Standardadresse_Command_->setVisible(false);
    QPushButton* ok = OK_Adresse_aendern_ = button("OK_Adresse_ändern", this);
    ok->setDefault(true);
    QPushButton* cancel = button("Abbrechen_Adresse_ändern", this);

    auto* grid = new QGridLayout;
    grid->addWidget(Label2, 0, 0);
    grid->addWidget(Text1_, 0, 1);
    grid->addWidget(Label1, 1, 0);
    grid->addWidget(Text2_, 1, 1);
    grid->addWidget(pruefen_check_, 2, 1);
    grid->setColumnStretch(1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(Ergebnis_Label_);
    layout->addWidget(Standardadresse_Command_, 0, Qt::AlignLeft);
    layout->addStretch(1);
    layout->addLayout(buttonRow(ok, cancel));
    layout->setSizeConstraint(QLayout::SetMinimumSize);

    // A result belongs to the numbers it was sent with: typing new ones clears it.
    for (QLineEdit* field : {Text1_, Text2_}) {
        connect(field, &QLineEdit::textChanged, this, [this] {
            result_.reset();
            showReport();
        });
    }
    connect(ok, &QPushButton::clicked, this, &Adresse::OK_Adresse_aendern_Click);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(Standardadresse_Command_, &QPushButton::clicked, this,
            &Adresse::Standardadresse_Command_Click);
    setLanguage(language_);
    resize(320, 170);
}

void Adresse::setLanguage(Language language) {
    language_ = language;
    applyCaptions(this, adresseCaptions(), language);
    showReport();
}

void Adresse::setBusy(bool busy) {
    OK_Adresse_aendern_->setEnabled(!busy);
}

void Adresse::OK_Adresse_aendern_Click() {
    const auto change = addressChangeFor(Text1_->text().toStdString(), Text2_->text().toStdString(),
                                         pruefen_check_->isChecked());
    if (change) {
        // An entry outside 1..32, or one that is no whole number, goes out as 0. The fields show
        // the addresses that will be used before anything is sent: when one reads otherwise, it
        // is put right and the window waits for the next OK.
        bool shown = true;
        for (const auto& [field, address] :
             {std::pair{Text1_, change->oldAddress}, std::pair{Text2_, change->newAddress}}) {
            const QString used = QString::number(address);
            if (field->text() == used) continue;
            field->setText(used);
            if (shown) {
                field->setFocus();
                field->selectAll();
            }
            shown = false;
        }
        if (!shown) return;
    }
    hide();
    if (change) emit changeRequested(*change);
}

void Adresse::showResult(const AddressChangeResult& result) {
    result_ = result;
    showReport();
    const bool nothingToTell = result.outcome == Outcome::Cancelled ||
                               (result.outcome == Outcome::Ok && !result.change.verify);
    if (nothingToTell) return;
    show();
    raise();
    activateWindow();
}

void Adresse::showReport() {
    const bool shown = result_ && result_->outcome != Outcome::Cancelled;
    showLine(Ergebnis_Label_, shown ? addressChangeReport(*result_, language_) : std::string(),
             shown && result_->outcome != Outcome::Ok);
    Standardadresse_Command_->setVisible(result_ && result_->verified());
}

void Adresse::Standardadresse_Command_Click() {
    if (!result_ || !result_->verified()) return;
    const QString address = QString::number(result_->change.newAddress);
    hide();
    emit standardAddressChosen(address);
}

void Adresse::hideEvent(QHideEvent* event) {
    // A result belongs to the change just made: the next opening starts without it.
    if (!event->spontaneous()) {
        result_.reset();
        showReport();
    }
    QDialog::hideEvent(event);
}

// ---- standartadr -----------------------------------------------------------------------------

standartadr::standartadr(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("standartadr"));
    QLabel* Label1 = namedLabel(QStringLiteral("Label1"), this);
    Label1->setWordWrap(true);
    txt_adr_ = entry("txt_adr", this);
    Label1->setBuddy(txt_adr_);
    QPushButton* ok = button("OK", this);
    ok->setDefault(true);
    QPushButton* cancel = button("Abbrechen", this);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(txt_adr_);
    layout->addStretch(1);
    layout->addLayout(buttonRow(ok, cancel));

    connect(ok, &QPushButton::clicked, this, &standartadr::OK_Click);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    setLanguage(Language::German);
    resize(320, 130);
}

void standartadr::setLanguage(Language language) {
    applyCaptions(this, standartadrCaptions(), language);
}

void standartadr::setCurrentAddress(const QString& address) {
    txt_adr_->setText(address);
    txt_adr_->selectAll();
}

void standartadr::OK_Click() {
    const auto address = standardAddress(txt_adr_->text().toStdString());
    hide();
    if (address) emit addressChosen(qs(*address));
}

// ---- Direkt ----------------------------------------------------------------------------------

Direkt::Direkt(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("Direkt"));
    Text1_ = entry("Text1", this);
    // Frames are typed character by character: every blank should show.
    Text1_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    Ergebnis_Label_ = resultLine(this);
    QPushButton* send = Command1_ = button("Command1", this);
    send->setDefault(true);
    QPushButton* cancel = button("Command2", this);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Text1_);
    layout->addWidget(Ergebnis_Label_);
    layout->addStretch(1);
    layout->addLayout(buttonRow(send, cancel));

    connect(send, &QPushButton::clicked, this, [this] {
        outcome_ = Outcome::Ok;
        showReport();
        emit sendRequested(Text1_->text());
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    setLanguage(language_);
    resize(360, 110);
}

void Direkt::setLanguage(Language language) {
    language_ = language;
    applyCaptions(this, direktCaptions(), language);
    showReport();
}

void Direkt::setBusy(bool busy) {
    Command1_->setEnabled(!busy);
}

void Direkt::showResult(Outcome outcome) {
    outcome_ = outcome;
    showReport();
}

void Direkt::showReport() {
    const bool failed = outcome_ == Outcome::LinkFailure || outcome_ == Outcome::BadReply;
    showLine(Ergebnis_Label_, failed ? msg(language_).text : std::string(), failed);
}

}  // namespace kalvo
