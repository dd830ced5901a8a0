#include "config/ui/binary_page.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
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

BinaryPageView::BinaryPageView(Record& record, char decimal, QWidget* parent)
    : QGroupBox(parent), record_(record), decimal_(decimal) {
    setObjectName(QStringLiteral("Binar_Frame1"));
    QVBoxLayout* modes = modeOptions();
    limitGroup();

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(modes);
    layout->addWidget(limitFrame_);
    layout->addStretch();
    limitFrame_->hide();
    connectHandlers();
}

// No signal, device active, limit value.
QVBoxLayout* BinaryPageView::modeOptions() {
    mode_ = new QButtonGroup(this);
    auto* modes = new QVBoxLayout;
    for (int i = 0; i < 3; ++i) {
        auto* b = new QRadioButton(this);
        b->setObjectName(QStringLiteral("Signal_off_on_Grenzwert_Option_%1").arg(i));
        mode_->addButton(b, i);
        modes->addWidget(b);
    }
    return modes;
}

// The limit value, shown only in limit-value mode: quantity and place, the limit in its unit,
// the direction, and the allowed range.
void BinaryPageView::limitGroup() {
    limitFrame_ = new QGroupBox(this);
    limitFrame_->setObjectName(QStringLiteral("Binar_Frame2"));
    quantity_ = new QComboBox(limitFrame_);
    quantity_->setObjectName(QStringLiteral("Messgrösse_Binär_Combo"));
    quantity_->setMinimumContentsLength(10);
    quantity_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    place_ = new QComboBox(limitFrame_);
    place_->setObjectName(QStringLiteral("Messort_Binär_Combo"));
    place_->setMinimumContentsLength(6);  // "L1 - N", "Summe"
    place_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    limit_ = new FilteredEdit(KeyFilter::Signed, decimal_, limitFrame_);
    limit_->setObjectName(QStringLiteral("Binär_Meldung_bei__Text"));
    limit_->setMaximumWidth(90);
    unit_ = namedLabel(QStringLiteral("Messbereichs_einheit_binär_Label"), limitFrame_);
    unit_->setMinimumWidth(30);
    QHBoxLayout* directions = directionOptions();
    allowedRangeFrame();
    QLabel* stop = stopLabel(6, limitFrame_);

    auto* grid = new QGridLayout(limitFrame_);
    grid->setContentsMargins(6, 6, 6, 6);
    auto* quantityRow = new QHBoxLayout;
    quantityRow->addWidget(quantity_, 1);
    quantityRow->addWidget(place_);
    grid->addWidget(namedLabel(QStringLiteral("Beschriftungen_Label_9"), limitFrame_), 0, 0, 1, 4);
    grid->addLayout(quantityRow, 1, 0, 1, 4);
    addToGrid(grid, {{namedLabel(QStringLiteral("Beschriftungen_Label_10"), limitFrame_), 2, 0},
                     {limit_, 2, 1},
                     {unit_, 2, 2},
                     {stop, 2, 3, 1, 1, Qt::AlignLeft}});
    grid->addLayout(directions, 3, 0, 1, 4);
    grid->addWidget(rangeFrame_, 4, 0, 1, 4);
    grid->setColumnStretch(3, 1);
}

// Exceeding or falling below the limit.
QHBoxLayout* BinaryPageView::directionOptions() {
    direction_ = new QButtonGroup(this);
    auto* directions = new QHBoxLayout;
    for (int i = 0; i < 2; ++i) {
        auto* b = new QRadioButton(limitFrame_);
        b->setObjectName(QStringLiteral("über_unterschreitung_Option_%1").arg(i));
        direction_->addButton(b, i);
        directions->addWidget(b);
    }
    directions->addStretch();
    return directions;
}

// The allowed range with the information or exclamation picture.
void BinaryPageView::allowedRangeFrame() {
    rangeFrame_ = new QFrame(limitFrame_);
    rangeFrame_->setObjectName(QStringLiteral("Binar_Frame3"));
    allowed_ = namedLabel(QStringLiteral("Binär_max_Messbereich_Label"), rangeFrame_);
    image_ = namedLabel(QStringLiteral("Binär_Meldung_Image"), rangeFrame_);
    image_->setPixmap(infoSign(18));
    auto* row = new QHBoxLayout(rangeFrame_);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(image_);
    row->addWidget(namedLabel(QStringLiteral("Binär_Max_Label"), rangeFrame_));
    row->addWidget(allowed_, 1);
}

void BinaryPageView::connectHandlers() {
    connect(mode_, &QButtonGroup::idClicked, this,
            [this](int id) { limitFrame_->setVisible(id == ModeLimit); });
    connect(quantity_, &QComboBox::currentIndexChanged, this, &BinaryPageView::quantityChanged);
    connect(place_, &QComboBox::currentIndexChanged, this, &BinaryPageView::placeChanged);
    connect(limit_, &FilteredEdit::clicked, this, [this] {
        emit touched();
        clearMessage();
    });
    connect(limit_, &FilteredEdit::keyTyped, this, &BinaryPageView::touched);
}

BinaryPage BinaryPageView::values() const {
    BinaryPage p;
    p.mode = mode_->checkedId();
    p.quantity = quantity_->currentIndex();
    p.place = place_->currentIndex();
    p.unit = unit_->text().toStdString();
    p.limit = limit_->text().toStdString();
    p.direction = direction_->checkedId() == 0 ? 0 : 1;
    return p;
}

void BinaryPageView::showOutput(int row) {
    Quiet quiet(this);
    row_ = row;
    const BinaryPage p = Binaer_anzeigen(record_, row, decimal_);
    selectOption(mode_, p.mode);
    limitFrame_->setVisible(p.mode == ModeLimit);
    quantity_->setCurrentIndex(p.quantity < quantity_->count() ? p.quantity : -1);
    fillPlaces(p.quantity, p.place);
    unit_->setText(qs(p.unit));  // the stored unit: the limit is shown in it
    limit_->setText(qs(p.limit));
    selectOption(direction_, p.direction);
    showDefaultRange(false);
    clearMessage();
}

void BinaryPageView::fillPlaces(int quantity, int place) {
    const PlaceList places = Messort_fuellen(connectionType(record_), quantity);
    place_->clear();
    for (const std::string_view e : places.entries) place_->addItem(qs(e));
    place_->setCurrentIndex(place >= 0 && place < place_->count() ? place : -1);
    unit_->setText(qs(places.baseUnit));
}

void BinaryPageView::showDefaultRange(bool proposal) {
    const int q = quantity_->currentIndex();
    const DefaultRange range =
        Vorgabebereich(record_, q, place_->currentIndex(), RangeMode::Binary);
    const RangeDisplay d = rangeDisplay(range, q, decimal_);
    if (proposal) {
        unit_->setText(qs(d.unit));
        limit_->setText(qs(d.proposal));
    }
    allowed_->setText(qs(d.allowed));
}

void BinaryPageView::storeAfterChange() {
    const PageCheck check = Binaer_speichern(record_, row_, values(), decimal_);
    showCheck(check);
    emit stored(check);
}

void BinaryPageView::quantityChanged() {
    const int q = quantity_->currentIndex();
    if (q < 0) return;
    emit touched();
    {
        Quiet quiet(this);
        fillPlaces(q, 0);  // a new quantity starts at its first place
        showDefaultRange(true);
    }
    storeAfterChange();
}

void BinaryPageView::placeChanged() {
    if (place_->currentIndex() < 0) return;
    emit touched();
    {
        Quiet quiet(this);
        showDefaultRange(true);
    }
    storeAfterChange();
}

void BinaryPageView::setQuantityTexts(Language language) {
    Quiet quiet(this);
    fillQuantityList(quantity_, language);
}

void BinaryPageView::applyStart(const StartState& start) {
    Quiet quiet(this);
    fillPlaceList(place_, start.places);
    quantity_->setCurrentIndex(start.binaryQuantity);
}

void BinaryPageView::showCheck(const PageCheck& check) {
    if (check.stop[6]) rangeFrame_->show();
    image_->setPixmap(check.exclamation ? exclamationSign(18) : infoSign(18));
    image_->setProperty(
        "picture", check.exclamation ? QStringLiteral("Ausrufezeichen") : QStringLiteral("Info"));
}

void BinaryPageView::clearMessage() {
    rangeFrame_->show();
    image_->setPixmap(infoSign(18));
    image_->setProperty("picture", QStringLiteral("Info"));
}

}  // namespace kalvo
