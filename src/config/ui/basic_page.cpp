#include "config/ui/basic_page.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

#include "config/ui/filtered_edit.h"
#include "config/ui/page_widgets.h"
#include "config/ui/quiet.h"
#include "config/ui/signs.h"
#include "text/value_lists.h"
#include "widgets/qt_text.h"

namespace kalvo {

namespace {

QRadioButton* option(const QString& name, QButtonGroup* group, int id, QWidget* parent) {
    auto* b = new QRadioButton(parent);
    b->setObjectName(name);
    group->addButton(b, id);
    return b;
}

}  // namespace

FilteredEdit* BasicPageView::numberField(const char* name, bool inCombo) {
    auto* edit = new FilteredEdit(KeyFilter::Unsigned, decimal_, this);
    if (!inCombo) edit->setObjectName(QString::fromUtf8(name));
    connect(edit, &FilteredEdit::clicked, this, &BasicPageView::inputTouched);
    connect(edit, &FilteredEdit::keyTyped, this, &BasicPageView::inputTouched);
    return edit;
}

BasicPageView::BasicPageView(char decimal, QWidget* parent) : QGroupBox(parent), decimal_(decimal) {
    setObjectName(QStringLiteral("Grundeinstellungen_Frame"));

    // Connection type.
    auto* G1_0 = new QGroupBox(this);
    G1_0->setObjectName(QStringLiteral("G1_0"));
    Anschlussart_Combo_ = new QComboBox(G1_0);
    Anschlussart_Combo_->setObjectName(QStringLiteral("Anschlussart_Combo"));
    Anschlussart_Combo_->setMinimumContentsLength(20);
    Anschlussart_Combo_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    (new QVBoxLayout(G1_0))->addWidget(Anschlussart_Combo_);

    // Nominal frequency.
    auto* G1_1 = new QGroupBox(this);
    G1_1->setObjectName(QStringLiteral("G1_1"));
    frequency_ = new QButtonGroup(this);
    auto* frequencyRow = new QHBoxLayout(G1_1);
    for (int i = 0; i < 3; ++i) {
        frequencyRow->addWidget(
            option(QStringLiteral("Nennfrquenz_Option_%1").arg(i), frequency_, i, G1_1));
    }
    frequencyRow->addStretch();

    // Nominal voltage, direct or through a transformer.
    auto* voltage = new QGroupBox(this);
    voltage->setObjectName(QStringLiteral("Nenneingangsspannung_Frame"));
    voltageOption_ = new QButtonGroup(this);
    auto* vOptions = new QHBoxLayout;
    vOptions->addWidget(
        option(QStringLiteral("Spannungswandler_Option_0"), voltageOption_, 0, voltage));
    vOptions->addWidget(
        option(QStringLiteral("Spannungswandler_Option_1"), voltageOption_, 1, voltage));
    vOptions->addStretch();
    ohneSpg_ = new QWidget(voltage);
    ohneSpg_->setObjectName(QStringLiteral("ohne_Spg_Wandler_Frame"));
    Nenneingangsspannung_Combo_ = new QComboBox(ohneSpg_);
    Nenneingangsspannung_Combo_->setObjectName(QStringLiteral("Nenneingangsspannung_Combo"));
    Nenneingangsspannung_Combo_->setLineEdit(numberField("", true));
    Nenneingangsspannung_Combo_->setInsertPolicy(QComboBox::NoInsert);
    suffix_ = namedLabel(QStringLiteral("L_L__L_N_Label"), voltage);
    auto* ohneSpgRow = new QHBoxLayout(ohneSpg_);
    ohneSpgRow->setContentsMargins(0, 0, 0, 0);
    ohneSpgRow->addWidget(Nenneingangsspannung_Combo_, 1);
    ohneSpgRow->addWidget(namedLabel(QStringLiteral("Spannung_Einheit_Label"), ohneSpg_));
    ohneSpgRow->addStretch();
    mitSpg_ = new QWidget(voltage);
    mitSpg_->setObjectName(QStringLiteral("mit_Spg_Wandler_Frame"));
    vtPrimary_ = numberField("Pimäreingangsspannung_Text", false);
    vtSecondary_ = numberField("Sekundäreingangsspannung_Text", false);
    auto* mitSpgGrid = new QGridLayout(mitSpg_);
    mitSpgGrid->setContentsMargins(0, 0, 0, 0);
    mitSpgGrid->addWidget(namedLabel(QStringLiteral("G2_0"), mitSpg_), 0, 0, 1, 3);
    mitSpgGrid->addWidget(vtPrimary_, 1, 0);
    mitSpgGrid->addWidget(vtSecondary_, 1, 1);
    mitSpgGrid->addWidget(namedLabel(QStringLiteral("Wandlerspannung_Einheit_Label"), mitSpg_), 1,
                          2);
    mitSpgGrid->setColumnStretch(3, 1);
    // The suffix names the voltage typed, with or without transformer.
    auto* voltageInputs = new QVBoxLayout;
    voltageInputs->addWidget(ohneSpg_);
    voltageInputs->addWidget(mitSpg_);
    auto* voltageRow = new QHBoxLayout;
    voltageRow->addLayout(voltageInputs, 1);
    voltageRow->addWidget(suffix_, 0, Qt::AlignBottom);
    auto* voltageLayout = new QVBoxLayout(voltage);
    voltageLayout->addLayout(vOptions);
    voltageLayout->addLayout(voltageRow);

    // Nominal current, direct or through a transformer.
    auto* current = new QGroupBox(this);
    current->setObjectName(QStringLiteral("Nenneingangsstrom_Frame"));
    currentOption_ = new QButtonGroup(this);
    auto* cOptions = new QHBoxLayout;
    cOptions->addWidget(
        option(QStringLiteral("Stromwandler_Option_0"), currentOption_, 0, current));
    cOptions->addWidget(
        option(QStringLiteral("Stromwandler_Option_1"), currentOption_, 1, current));
    cOptions->addStretch();
    ohneStrom_ = new QWidget(current);
    ohneStrom_->setObjectName(QStringLiteral("ohne_Strom_Wandler_Frame"));
    Nenneingangsstrom_Combo_ = new QComboBox(ohneStrom_);
    Nenneingangsstrom_Combo_->setObjectName(QStringLiteral("Nenneingangsstrom_Combo"));
    Nenneingangsstrom_Combo_->setLineEdit(numberField("", true));
    Nenneingangsstrom_Combo_->setInsertPolicy(QComboBox::NoInsert);
    auto* ohneStromRow = new QHBoxLayout(ohneStrom_);
    ohneStromRow->setContentsMargins(0, 0, 0, 0);
    ohneStromRow->addWidget(Nenneingangsstrom_Combo_, 1);
    ohneStromRow->addWidget(namedLabel(QStringLiteral("Strom_Einheit_Label"), ohneStrom_));
    ohneStromRow->addStretch();
    mitStrom_ = new QWidget(current);
    mitStrom_->setObjectName(QStringLiteral("mit_Strom_Wandler_Frame"));
    ctPrimary_ = numberField("Primäreingangsstrom_Text", false);
    ctSecondary_ = numberField("Sekundäreingangsstrom_Text", false);
    auto* mitStromGrid = new QGridLayout(mitStrom_);
    mitStromGrid->setContentsMargins(0, 0, 0, 0);
    mitStromGrid->addWidget(namedLabel(QStringLiteral("G2_1"), mitStrom_), 0, 0, 1, 3);
    mitStromGrid->addWidget(ctPrimary_, 1, 0);
    mitStromGrid->addWidget(ctSecondary_, 1, 1);
    mitStromGrid->addWidget(namedLabel(QStringLiteral("Wandlerstrom_Einheit_Label"), mitStrom_), 1,
                            2);
    mitStromGrid->setColumnStretch(3, 1);
    auto* currentLayout = new QVBoxLayout(current);
    currentLayout->addLayout(cOptions);
    currentLayout->addWidget(ohneStrom_);
    currentLayout->addWidget(mitStrom_);
    for (FilteredEdit* e : {vtPrimary_, vtSecondary_, ctPrimary_, ctSecondary_}) {
        e->setMaximumWidth(90);
    }

    // The message frame: "MAX:" and the hardware limit, shown by a failed check.
    Grund_Meldung_Frame_ = new QFrame(this);
    Grund_Meldung_Frame_->setObjectName(QStringLiteral("Grund_Meldung_Frame"));
    Grund_Meldung_Frame_->setFrameShape(QFrame::StyledPanel);
    Label4_ = namedLabel(QStringLiteral("Label4"), Grund_Meldung_Frame_,
                         QStringLiteral("L-L 600V L-N 346,4V  5A"));
    auto* image = namedLabel(QStringLiteral("Grund_Meldung_Image"), Grund_Meldung_Frame_);
    image->setPixmap(exclamationSign(20));
    auto* messageRow = new QHBoxLayout(Grund_Meldung_Frame_);
    messageRow->setContentsMargins(6, 2, 6, 2);
    messageRow->addWidget(image);
    messageRow->addWidget(namedLabel(QStringLiteral("Label5"), Grund_Meldung_Frame_));
    messageRow->addWidget(Label4_, 1);
    Grund_Meldung_Frame_->hide();

    auto* layout = new QGridLayout(this);
    layout->addWidget(G1_0, 0, 0);
    layout->addWidget(G1_1, 1, 0);
    layout->addWidget(voltage, 2, 0);
    layout->addWidget(stopLabel(1, this), 2, 1, Qt::AlignTop);
    layout->addWidget(current, 3, 0);
    layout->addWidget(stopLabel(2, this), 3, 1, Qt::AlignTop);
    layout->addWidget(Grund_Meldung_Frame_, 4, 0);
    layout->setRowStretch(5, 1);

    // Handlers: they run only for the user's own changes (fills are quiet).
    connect(Anschlussart_Combo_, &QComboBox::currentIndexChanged, this, [this] {
        Grund_Meldung_Frame_->hide();
        emit touched();
        refreshView();
    });
    connect(voltageOption_, &QButtonGroup::idClicked, this, [this] { refreshView(); });
    connect(currentOption_, &QButtonGroup::idClicked, this, [this] { refreshView(); });
    connect(Nenneingangsspannung_Combo_, &QComboBox::activated, this, &BasicPageView::inputTouched);
    connect(Nenneingangsstrom_Combo_, &QComboBox::activated, this, &BasicPageView::inputTouched);

    selectOption(frequency_, 1);
    selectOption(voltageOption_, 0);
    selectOption(currentOption_, 0);
    refreshView();
}

void BasicPageView::inputTouched() {
    Grund_Meldung_Frame_->hide();
    emit touched();
}

BasicPage BasicPageView::values() const {
    BasicPage p;
    p.connectionType = Anschlussart_Combo_->currentIndex();
    p.frequencyOption = frequency_->checkedId();
    p.voltageTransformer = voltageOption_->checkedId() == 1;
    p.nominalVoltage = Nenneingangsspannung_Combo_->currentText().toStdString();
    p.vtPrimary = vtPrimary_->text().toStdString();
    p.vtSecondary = vtSecondary_->text().toStdString();
    p.currentTransformer = currentOption_->checkedId() == 1;
    p.nominalCurrent = Nenneingangsstrom_Combo_->currentText().toStdString();
    p.ctPrimary = ctPrimary_->text().toStdString();
    p.ctSecondary = ctSecondary_->text().toStdString();
    return p;
}

void BasicPageView::fill(const BasicPage& p) {
    {
        Quiet quiet(this);
        Anschlussart_Combo_->setCurrentIndex(p.connectionType);
        selectOption(frequency_, p.frequencyOption);
        Nenneingangsspannung_Combo_->setEditText(qs(p.nominalVoltage));
        selectOption(voltageOption_, p.voltageTransformer ? 1 : 0);
        vtPrimary_->setText(qs(p.vtPrimary));
        vtSecondary_->setText(qs(p.vtSecondary));
        Nenneingangsstrom_Combo_->setEditText(qs(p.nominalCurrent));
        selectOption(currentOption_, p.currentTransformer ? 1 : 0);
        ctPrimary_->setText(qs(p.ctPrimary));
        ctSecondary_->setText(qs(p.ctSecondary));
    }
    refreshView();
}

void BasicPageView::applyStart(const StartState& start) {
    Quiet quiet(this);
    selectOption(frequency_, start.frequencyOption);
    selectOption(voltageOption_, start.voltageTransformer ? 1 : 0);
    selectOption(currentOption_, start.currentTransformer ? 1 : 0);
    const auto fillList = [](QComboBox* combo, const std::optional<NominalList>& list) {
        if (!list) return;  // another class: the list keeps its entries
        combo->clear();
        for (const std::string& e : list->entries) combo->addItem(qs(e));
        combo->setCurrentIndex(list->selected);
    };
    fillList(Nenneingangsspannung_Combo_, start.voltages);
    fillList(Nenneingangsstrom_Combo_, start.currents);
    Anschlussart_Combo_->setCurrentIndex(start.connectionType);
    ohneSpg_->setVisible(true);
    mitSpg_->setVisible(false);
    ohneStrom_->setVisible(true);
    mitStrom_->setVisible(false);
    suffix_->setText(qs(voltageSuffix(start.connectionType, start.voltageTransformer)));
}

void BasicPageView::setConnectionTexts(Language language) {
    Quiet quiet(this);
    const int index = Anschlussart_Combo_->currentIndex();
    Anschlussart_Combo_->clear();
    for (const Text& t : connectionTypeTexts()) Anschlussart_Combo_->addItem(qs(t.in(language)));
    Anschlussart_Combo_->setCurrentIndex(index);
}

void BasicPageView::refreshView() {
    const bool vt = voltageOption_->checkedId() == 1;
    const bool ct = currentOption_->checkedId() == 1;
    ohneSpg_->setVisible(!vt);
    mitSpg_->setVisible(vt);
    ohneStrom_->setVisible(!ct);
    mitStrom_->setVisible(ct);
    const int type = Anschlussart_Combo_->currentIndex();
    suffix_->setText(qs(voltageSuffix(type, vt)));
    emit pictureChanged(type);
}

void BasicPageView::showLimitFrame(bool shown) {
    Grund_Meldung_Frame_->setVisible(shown);
}

void BasicPageView::setLimitText(const QString& text) {
    Label4_->setText(text);
}

bool BasicPageView::limitFrameShown() const {
    return !Grund_Meldung_Frame_->isHidden();
}

}  // namespace kalvo
