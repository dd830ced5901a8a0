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

// The controls of one nominal input, voltage or current: typed directly into a list or, with
// a transformer, as its primary and secondary.
struct NominalInputNames {
    const char* frame;
    const char* option;  // + "0" direct, + "1" transformer
    const char* direct;
    const char* list;
    const char* unit;
    const char* transformer;
    const char* caption;
    const char* primary;
    const char* secondary;
    const char* transformerUnit;
};

namespace {

QRadioButton* option(const QString& name, QButtonGroup* group, int id, QWidget* parent) {
    auto* b = new QRadioButton(parent);
    b->setObjectName(name);
    group->addButton(b, id);
    return b;
}

constexpr NominalInputNames kVoltageInput{
    .frame = "Nenneingangsspannung_Frame",
    .option = "Spannungswandler_Option_",
    .direct = "ohne_Spg_Wandler_Frame",
    .list = "Nenneingangsspannung_Combo",
    .unit = "Spannung_Einheit_Label",
    .transformer = "mit_Spg_Wandler_Frame",
    .caption = "G2_0",
    .primary = "Pimäreingangsspannung_Text",
    .secondary = "Sekundäreingangsspannung_Text",
    .transformerUnit = "Wandlerspannung_Einheit_Label",
};
constexpr NominalInputNames kCurrentInput{
    .frame = "Nenneingangsstrom_Frame",
    .option = "Stromwandler_Option_",
    .direct = "ohne_Strom_Wandler_Frame",
    .list = "Nenneingangsstrom_Combo",
    .unit = "Strom_Einheit_Label",
    .transformer = "mit_Strom_Wandler_Frame",
    .caption = "G2_1",
    .primary = "Primäreingangsstrom_Text",
    .secondary = "Sekundäreingangsstrom_Text",
    .transformerUnit = "Wandlerstrom_Einheit_Label",
};

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
    QGroupBox* connection = connectionTypeGroup();
    QGroupBox* frequency = frequencyGroup();
    QGroupBox* voltage = voltageGroup();
    QGroupBox* current = currentGroup();
    limitFrame();

    auto* layout = new QGridLayout(this);
    addToGrid(layout, {{connection, 0, 0},
                       {frequency, 1, 0},
                       {voltage, 2, 0},
                       {stopLabel(1, this), 2, 1, 1, 1, Qt::AlignTop},
                       {current, 3, 0},
                       {stopLabel(2, this), 3, 1, 1, 1, Qt::AlignTop},
                       {Grund_Meldung_Frame_, 4, 0}});
    layout->setRowStretch(5, 1);

    connectHandlers();
    selectOption(frequency_, 1);
    selectOption(voltageOption_, 0);
    selectOption(currentOption_, 0);
    refreshView();
}

QGroupBox* BasicPageView::connectionTypeGroup() {
    auto* G1_0 = new QGroupBox(this);
    G1_0->setObjectName(QStringLiteral("G1_0"));
    Anschlussart_Combo_ = new QComboBox(G1_0);
    Anschlussart_Combo_->setObjectName(QStringLiteral("Anschlussart_Combo"));
    Anschlussart_Combo_->setMinimumContentsLength(20);
    Anschlussart_Combo_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    (new QVBoxLayout(G1_0))->addWidget(Anschlussart_Combo_);
    return G1_0;
}

QGroupBox* BasicPageView::frequencyGroup() {
    auto* G1_1 = new QGroupBox(this);
    G1_1->setObjectName(QStringLiteral("G1_1"));
    frequency_ = new QButtonGroup(this);
    auto* frequencyRow = new QHBoxLayout(G1_1);
    for (int i = 0; i < 3; ++i) {
        frequencyRow->addWidget(
            option(QStringLiteral("Nennfrquenz_Option_%1").arg(i), frequency_, i, G1_1));
    }
    frequencyRow->addStretch();
    return G1_1;
}

BasicPageView::NominalInput BasicPageView::nominalInput(const NominalInputNames& names) {
    NominalInput in;
    in.frame = new QGroupBox(this);
    in.frame->setObjectName(qs(names.frame));
    in.option = new QButtonGroup(this);
    in.options = new QHBoxLayout;
    for (int i = 0; i < 2; ++i) {
        in.options->addWidget(
            option(qs(names.option) + QString::number(i), in.option, i, in.frame));
    }
    in.options->addStretch();

    in.direct = new QWidget(in.frame);
    in.direct->setObjectName(qs(names.direct));
    in.list = new QComboBox(in.direct);
    in.list->setObjectName(qs(names.list));
    in.list->setLineEdit(numberField("", true));
    in.list->setInsertPolicy(QComboBox::NoInsert);
    auto* directRow = new QHBoxLayout(in.direct);
    directRow->setContentsMargins(0, 0, 0, 0);
    directRow->addWidget(in.list, 1);
    directRow->addWidget(namedLabel(qs(names.unit), in.direct));
    directRow->addStretch();

    in.transformer = new QWidget(in.frame);
    in.transformer->setObjectName(qs(names.transformer));
    in.primary = numberField(names.primary, false);
    in.secondary = numberField(names.secondary, false);
    auto* transformerGrid = new QGridLayout(in.transformer);
    transformerGrid->setContentsMargins(0, 0, 0, 0);
    addToGrid(transformerGrid, {{namedLabel(qs(names.caption), in.transformer), 0, 0, 1, 3},
                                {in.primary, 1, 0},
                                {in.secondary, 1, 1},
                                {namedLabel(qs(names.transformerUnit), in.transformer), 1, 2}});
    transformerGrid->setColumnStretch(3, 1);
    for (FilteredEdit* e : {in.primary, in.secondary}) e->setMaximumWidth(90);
    return in;
}

// The nominal voltage, with the suffix that names the voltage typed (line to line or line to
// neutral, with or without transformer) beside the inputs.
QGroupBox* BasicPageView::voltageGroup() {
    const NominalInput in = nominalInput(kVoltageInput);
    voltageOption_ = in.option;
    Nenneingangsspannung_Combo_ = in.list;
    ohneSpg_ = in.direct;
    mitSpg_ = in.transformer;
    vtPrimary_ = in.primary;
    vtSecondary_ = in.secondary;
    suffix_ = namedLabel(QStringLiteral("L_L__L_N_Label"), in.frame);
    auto* inputs = new QVBoxLayout;
    inputs->addWidget(ohneSpg_);
    inputs->addWidget(mitSpg_);
    auto* row = new QHBoxLayout;
    row->addLayout(inputs, 1);
    row->addWidget(suffix_, 0, Qt::AlignBottom);
    auto* layout = new QVBoxLayout(in.frame);
    layout->addLayout(in.options);
    layout->addLayout(row);
    return in.frame;
}

QGroupBox* BasicPageView::currentGroup() {
    const NominalInput in = nominalInput(kCurrentInput);
    currentOption_ = in.option;
    Nenneingangsstrom_Combo_ = in.list;
    ohneStrom_ = in.direct;
    mitStrom_ = in.transformer;
    ctPrimary_ = in.primary;
    ctSecondary_ = in.secondary;
    auto* layout = new QVBoxLayout(in.frame);
    layout->addLayout(in.options);
    layout->addWidget(ohneStrom_);
    layout->addWidget(mitStrom_);
    return in.frame;
}

// The message frame: "MAX:" and the hardware limit, shown by a failed check.
void BasicPageView::limitFrame() {
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
}

// Handlers: they run only for the user's own changes (fills are quiet).
void BasicPageView::connectHandlers() {
    connect(Anschlussart_Combo_, &QComboBox::currentIndexChanged, this, [this] {
        Grund_Meldung_Frame_->hide();
        emit touched();
        refreshView();
    });
    connect(voltageOption_, &QButtonGroup::idClicked, this, [this] { refreshView(); });
    connect(currentOption_, &QButtonGroup::idClicked, this, [this] { refreshView(); });
    connect(Nenneingangsspannung_Combo_, &QComboBox::activated, this, &BasicPageView::inputTouched);
    connect(Nenneingangsstrom_Combo_, &QComboBox::activated, this, &BasicPageView::inputTouched);
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
