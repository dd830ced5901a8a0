#include "config/ui/analog_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "config/default_range.h"
#include "config/rules.h"
#include "config/ui/filtered_edit.h"
#include "config/ui/page_widgets.h"
#include "config/ui/quiet.h"
#include "config/ui/signs.h"
#include "text/value_lists.h"
#include "widgets/qt_text.h"

namespace kalvo {

namespace {

bool hasNoKnee(int quantity) {
    return quantity == PowerFactor || quantity == ReactiveFactor;
}

}  // namespace

FilteredEdit* AnalogPageView::field(const char* name) {
    auto* edit = new FilteredEdit(KeyFilter::Signed, decimal_, this);
    edit->setObjectName(QString::fromUtf8(name));
    edit->setMaximumWidth(80);
    return edit;
}

AnalogPageView::AnalogPageView(Record& record, char decimal, QWidget* parent)
    : QGroupBox(parent), record_(record), decimal_(decimal) {
    setObjectName(QStringLiteral("Analog_Frame"));
    QGridLayout* quantity = quantityRow();
    QGroupBox* range = rangeGroup();
    allowedRangeFrame();
    QGroupBox* output = outputGroup();
    kneeGroup();

    auto* layout = new QGridLayout(this);
    layout->addLayout(quantity, 0, 0);
    addToGrid(layout, {{range, 1, 0},
                       {stopLabel(3, this), 1, 1, 1, 1, Qt::AlignTop},
                       {maxFrame_, 2, 0},
                       {output, 3, 0},
                       {stopLabel(4, this), 3, 1, 1, 1, Qt::AlignTop},
                       {kinked_, 4, 0},
                       {kneeFrame_, 5, 0},
                       {stopLabel(5, this), 5, 1, 1, 1, Qt::AlignTop}});
    layout->setRowStretch(6, 1);
    connectHandlers();
}

// Quantity and place.
QGridLayout* AnalogPageView::quantityRow() {
    quantity_ = new QComboBox(this);
    quantity_->setObjectName(QStringLiteral("Messgrösse_Analog_Combo"));
    quantity_->setMinimumContentsLength(10);  // the longest names may be cut, not the page
    quantity_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    place_ = new QComboBox(this);
    place_->setObjectName(QStringLiteral("Messort_Analog_Combo"));
    place_->setMinimumContentsLength(6);  // "L1 - N", "Summe"
    place_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    auto* row = new QGridLayout;
    addToGrid(row, {{namedLabel(QStringLiteral("Beschriftungen_Label_0"), this), 0, 0, 1, 2},
                    {quantity_, 1, 0},
                    {place_, 1, 1}});
    row->setColumnStretch(0, 1);
    return row;
}

// The measuring range: start, end and unit, and the "cap. ... ind." line of the power factors.
QGroupBox* AnalogPageView::rangeGroup() {
    auto* range = new QGroupBox(this);
    range->setObjectName(QStringLiteral("Analog_Messbereich1_Frame"));
    rangeStart_ = field("Analog_messbereich_von_Text");
    rangeEnd_ = field("Analog_messbereich_bis_Text");
    unit_ = namedLabel(QStringLiteral("Messbereichs_einheit_analog_Label"), range);
    unit_->setMinimumWidth(30);
    capInd_ = namedLabel(QStringLiteral("Beschriftungen_Label_8"), range);
    capInd_->hide();
    auto* grid = new QGridLayout(range);
    addToGrid(grid, {{namedLabel(QStringLiteral("Beschriftungen_Label_1"), range), 0, 0},
                     {rangeStart_, 0, 1},
                     {namedLabel(QStringLiteral("Beschriftungen_Label_2"), range), 0, 2},
                     {rangeEnd_, 0, 3},
                     {unit_, 0, 4},
                     {capInd_, 1, 1, 1, 3}});
    grid->setColumnStretch(5, 1);
    return range;
}

// Below the range, the largest range allowed with the information or exclamation picture.
void AnalogPageView::allowedRangeFrame() {
    maxFrame_ = new QFrame(this);
    maxFrame_->setObjectName(QStringLiteral("Analog_Messbereich2_Frame"));
    allowed_ = namedLabel(QStringLiteral("Analog_max_Messbereich_Label"), maxFrame_);
    image_ = namedLabel(QStringLiteral("Analog_Meldung_Image"), maxFrame_);
    image_->setPixmap(infoSign(18));
    auto* row = new QHBoxLayout(maxFrame_);
    row->setContentsMargins(8, 0, 0, 0);
    row->addWidget(image_);
    row->addWidget(namedLabel(QStringLiteral("Analog_Max_Label"), maxFrame_));
    row->addWidget(allowed_, 1);
}

// Output signal and limitation.
QGroupBox* AnalogPageView::outputGroup() {
    auto* output = new QGroupBox(this);
    output->setObjectName(QStringLiteral("Analog_Ausgangssignal_Frame"));
    outputUnit_ = new QComboBox(output);
    outputUnit_->setObjectName(QStringLiteral("Analog_Ausgangssignal_Einheit_Combo"));
    outputUnit_->addItems({QStringLiteral("mA"), QStringLiteral("V")});
    outputUnitLabel_ = namedLabel(QStringLiteral("Analog_Ausgangssignal_Einheit_Label"), output);
    outputUnitLabel_->setText(QStringLiteral("mA"));
    outputStart_ = field("Analog_Ausgangssignal_von_Text");
    outputEnd_ = field("Analog_Ausgangssignal_bis_Text");
    limitMin_ = field("Analog_Ausgangssignal_min_Text");
    limitMax_ = field("Analog_Ausgangssignal_max_Text");
    const auto label = [output](int n) {
        return namedLabel(QStringLiteral("Beschriftungen_Label_%1").arg(n), output);
    };
    auto* grid = new QGridLayout(output);
    addToGrid(grid, {{outputUnit_, 0, 0},
                     {label(3), 0, 1},
                     {outputStart_, 0, 2},
                     {label(4), 0, 3},
                     {outputEnd_, 0, 4},
                     {outputUnitLabel_, 0, 5},
                     {label(5), 1, 0},
                     {label(6), 1, 1},
                     {limitMin_, 1, 2},
                     {label(7), 1, 3},
                     {limitMax_, 1, 4}});
    grid->setColumnStretch(6, 1);
    return output;
}

// Kinked characteristic: the knee between range start and end, output start and end, with the
// six labels kn 0..5 around it.
void AnalogPageView::kneeGroup() {
    kinked_ = new QCheckBox(this);
    kinked_->setObjectName(QStringLiteral("knick_check"));
    kneeFrame_ = new QGroupBox(this);
    kneeFrame_->setObjectName(QStringLiteral("Analog_Knick_Frame"));
    kneeInput_ = field("Knickwert_Eingang_Text");
    kneeOutput_ = field("Knickwert_Ausgang_Text");
    for (std::size_t i = 0; i < kn_.size(); ++i) {
        kn_[i] = namedLabel(QStringLiteral("kn_%1").arg(i), kneeFrame_);
        kn_[i]->setAlignment(Qt::AlignCenter);
        kn_[i]->setMinimumWidth(36);
    }
    auto* grid = new QGridLayout(kneeFrame_);
    addToGrid(grid, {{kn_[0], 0, 0},
                     {kneeInput_, 0, 1},
                     {kn_[1], 0, 2},
                     {kn_[4], 0, 3},
                     {kn_[2], 1, 0},
                     {kneeOutput_, 1, 1},
                     {kn_[3], 1, 2},
                     {kn_[5], 1, 3}});
    grid->setColumnStretch(4, 1);
    kneeFrame_->hide();
}

// Handlers: only for the user's own changes (fills are quiet).
void AnalogPageView::connectHandlers() {
    connect(quantity_, &QComboBox::currentIndexChanged, this, &AnalogPageView::quantityChanged);
    connect(place_, &QComboBox::currentIndexChanged, this, &AnalogPageView::placeChanged);
    connect(outputUnit_, &QComboBox::currentIndexChanged, this, &AnalogPageView::outputUnitChanged);
    connect(kinked_, &QCheckBox::toggled, this, &AnalogPageView::kinkedChanged);
    for (FilteredEdit* e : {rangeStart_, rangeEnd_}) {
        connect(e, &QLineEdit::textChanged, this, [this] {
            refreshKneeLabels();
            emit touched();
        });
    }
    for (FilteredEdit* e : {outputStart_, outputEnd_}) {
        connect(e, &QLineEdit::textChanged, this, &AnalogPageView::outputChanged);
    }
    for (FilteredEdit* e : {kneeInput_, kneeOutput_}) {
        connect(e, &FilteredEdit::clicked, this, &AnalogPageView::touched);
        connect(e, &FilteredEdit::keyTyped, this, &AnalogPageView::touched);
    }
}

AnalogPage AnalogPageView::values() const {
    AnalogPage p;
    p.quantity = quantity_->currentIndex();
    p.place = place_->currentIndex();
    p.unit = unit_->text().toStdString();
    p.rangeStart = rangeStart_->text().toStdString();
    p.rangeEnd = rangeEnd_->text().toStdString();
    p.kneeInput = kneeInput_->text().toStdString();
    p.outputUnit = outputUnit_->currentIndex();
    p.outputStart = outputStart_->text().toStdString();
    p.outputEnd = outputEnd_->text().toStdString();
    p.limitMin = limitMin_->text().toStdString();
    p.limitMax = limitMax_->text().toStdString();
    p.kneeOutput = kneeOutput_->text().toStdString();
    p.kinked = kinked_->isChecked();
    return p;
}

void AnalogPageView::showOutput(int row) {
    Quiet quiet(this);
    row_ = row;
    const AnalogPage p = Analog_anzeigen(record_, row, decimal_);
    quantity_->setCurrentIndex(p.quantity < quantity_->count() ? p.quantity : -1);
    fillPlaces(p.quantity, p.place);
    // The stored unit stays: the boxes show the stored range in it.
    unit_->setText(qs(p.unit));
    rangeStart_->setText(qs(p.rangeStart));
    rangeEnd_->setText(qs(p.rangeEnd));
    kneeInput_->setText(qs(p.kneeInput));
    outputUnit_->setCurrentIndex(p.outputUnit);
    outputUnitLabel_->setText(outputUnit_->currentText());
    outputStart_->setText(qs(p.outputStart));
    outputEnd_->setText(qs(p.outputEnd));
    limitMin_->setText(qs(p.limitMin));
    limitMax_->setText(qs(p.limitMax));
    kneeOutput_->setText(qs(p.kneeOutput));
    kinked_->setChecked(p.kinked);
    kneeFrame_->setVisible(p.kinked);
    // Power factor and reactive factor offer no knee, unless a stored one has to be undone.
    setKinkedVisible(!hasNoKnee(p.quantity) || p.kinked);
    showDefaultRange(false);
    clearMessage();
    refreshKneeLabels();
}

void AnalogPageView::setKinkedVisible(bool shown) {
    kinked_->setVisible(shown);
}

void AnalogPageView::fillPlaces(int quantity, int place) {
    const PlaceList places = Messort_fuellen(connectionType(record_), quantity);
    place_->clear();
    for (const std::string_view e : places.entries) place_->addItem(qs(e));
    place_->setCurrentIndex(place >= 0 && place < place_->count() ? place : -1);
    unit_->setText(qs(places.baseUnit));
    capInd_->setVisible(places.capInd);
}

void AnalogPageView::showDefaultRange(bool intoBoxes) {
    const int q = quantity_->currentIndex();
    const DefaultRange range =
        Vorgabebereich(record_, q, place_->currentIndex(), RangeMode::Analog);
    const RangeDisplay d = rangeDisplay(range, q, decimal_);
    if (intoBoxes) {
        rangeStart_->setText(qs(d.start));
        rangeEnd_->setText(qs(d.end));
        unit_->setText(qs(d.unit));
    }
    allowed_->setText(qs(d.allowed));
}

void AnalogPageView::refreshKneeLabels() {
    const std::array<std::string, 6> kn = Knick_beschriften(values(), decimal_);
    for (std::size_t i = 0; i < kn.size(); ++i) kn_[i]->setText(qs(kn[i]));
}

void AnalogPageView::resetKnee() {
    AnalogPage p = values();
    Knick_zuruecksetzen(p, decimal_);
    kneeInput_->setText(qs(p.kneeInput));
    kneeOutput_->setText(qs(p.kneeOutput));
}

void AnalogPageView::storeAfterChange() {
    AnalogPage p = values();
    const PageCheck check = Analog_speichern(record_, row_, p, decimal_);
    emit touched();  // the store starts by clearing the stop signs
    showCheck(check);
    emit stored(check);
}

void AnalogPageView::quantityChanged() {
    const int q = quantity_->currentIndex();
    if (q < 0) return;
    {
        Quiet quiet(this);
        fillPlaces(q, 0);  // a new quantity starts at its first place
        showDefaultRange(true);
        if (hasNoKnee(q)) {
            kinked_->setChecked(false);
            kneeFrame_->hide();
        }
        setKinkedVisible(!hasNoKnee(q));
        refreshKneeLabels();
        resetKnee();
    }
    storeAfterChange();
}

void AnalogPageView::placeChanged() {
    if (place_->currentIndex() < 0) return;
    {
        Quiet quiet(this);
        showDefaultRange(true);
        refreshKneeLabels();
        resetKnee();
    }
    storeAfterChange();
}

void AnalogPageView::outputUnitChanged() {
    const int unit = outputUnit_->currentIndex();
    outputUnitLabel_->setText(outputUnit_->currentText());
    const OutputDefaults d = outputDefaults(unit);
    // Not quiet: the start and end boxes' own handlers follow (knee labels, knee midpoint).
    outputStart_->setText(qs(d.start));
    outputEnd_->setText(qs(d.end));
    limitMin_->setText(qs(d.min));
    limitMax_->setText(qs(d.max));
    refreshKneeLabels();
}

void AnalogPageView::kinkedChanged() {
    refreshKneeLabels();
    const bool on = kinked_->isChecked();
    kneeFrame_->setVisible(on);
    if (!on) resetKnee();
}

void AnalogPageView::outputChanged() {
    refreshKneeLabels();
    if (!kinked_->isChecked()) resetKnee();
    emit touched();
}

void AnalogPageView::setQuantityTexts(Language language) {
    Quiet quiet(this);
    fillQuantityList(quantity_, language);
}

void AnalogPageView::applyStart(const StartState& start) {
    Quiet quiet(this);
    fillPlaceList(place_, start.places);
    quantity_->setCurrentIndex(start.analogQuantity);
    outputUnit_->setCurrentIndex(start.outputUnit);
    outputUnitLabel_->setText(qs(start.outputUnitLabel));
}

void AnalogPageView::selectQuantity(int index) {
    Quiet quiet(this);
    quantity_->setCurrentIndex(index);
}

void AnalogPageView::showCheck(const PageCheck& check) {
    maxFrame_->show();
    image_->setPixmap(check.exclamation ? exclamationSign(18) : infoSign(18));
    image_->setProperty(
        "picture", check.exclamation ? QStringLiteral("Ausrufezeichen") : QStringLiteral("Info"));
}

void AnalogPageView::clearMessage() {
    showCheck(PageCheck{});
}

}  // namespace kalvo
