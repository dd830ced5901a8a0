#include "measure/ui/anzeilist.h"

#include <QFontDatabase>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTimer>

#include "text/captions.h"
#include "widgets/apply_texts.h"
#include "widgets/qt_text.h"
#include "widgets/twips.h"

namespace kalvo {

namespace {

// Design geometry in twips (1440 to the inch).
constexpr int kFormWidth = 3000, kFormHeight = 4500;  // one column of ten lines
constexpr int kButtonWidth = 1092, kButtonHeight = 252;
constexpr int kLampWidth = 372, kLampHeight = 132;
constexpr int kLabelWidth = 2892, kLabelHeight = 252;
constexpr int kScrollWidth = 372;
constexpr int kRowTop = 600, kRowPitch = 360;

const QColor kRed(255, 0, 0);
const QColor kGreen(0, 255, 0);

// Courier New where it is installed, else its metric-compatible twin.
QFont labelFont() {
    const QString family = QFontDatabase::hasFamily(QStringLiteral("Courier New"))
                               ? QStringLiteral("Courier New")
                               : QStringLiteral("Liberation Mono");
    QFont font(family, 12);
    font.setBold(true);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    return font;
}

}  // namespace

Anzeilist::Anzeilist(QWidget* owner, const Record& record, Language language)
    : QDialog(owner), record_(record), language_(language) {
    setObjectName(QStringLiteral("Anzeilist"));
    setModal(false);

    start_ = new QPushButton(this);
    start_->setObjectName(QStringLiteral("start"));
    start_->setDefault(true);
    zurueck_ = new QPushButton(this);
    zurueck_->setObjectName(QStringLiteral("zurück"));
    zurueck_->setAutoDefault(false);
    Picture1_ = new QFrame(this);
    Picture1_->setObjectName(QStringLiteral("Picture1"));
    Picture1_->setFrameShape(QFrame::Box);
    Picture1_->setAutoFillBackground(true);

    const QFont font = labelFont();
    for (int k = 0; k < MeasuredValueDisplay::kLabels; ++k) {
        auto* label = new QLabel(this);
        label->setObjectName(QStringLiteral("Label1_%1").arg(k));
        label->setFont(font);
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        Label1_[static_cast<std::size_t>(k)] = label;
        auto* bar = new QScrollBar(Qt::Horizontal, this);
        bar->setObjectName(QStringLiteral("HScroll1_%1").arg(k));
        bar->setRange(0, MeasuredValueDisplay::kLastLineNumber);
        bar->setPageStep(1);
        HScroll1_[static_cast<std::size_t>(k)] = bar;
        connect(bar, &QScrollBar::valueChanged, this, [this, k](int v) { HScroll1_Change(k, v); });
    }
    drawTimer_ = new QTimer(this);
    drawTimer_->setSingleShot(true);
    connect(drawTimer_, &QTimer::timeout, this, &Anzeilist::render);
    connect(start_, &QPushButton::clicked, this, &Anzeilist::start_Click);
    connect(zurueck_, &QPushButton::clicked, this, &Anzeilist::zurueck_Click);

    Form_Load();
}

void Anzeilist::Form_Load() {
    const auto px = [this](int twips) { return twipsToPixels(*this, twips); };
    display_ = MeasuredValueDisplay{};
    shownRevision_ = ~0ULL;
    setLanguage(language_);
    start_->setGeometry(0, 0, px(kButtonWidth), px(kButtonHeight));
    zurueck_->setGeometry(px(1080), 0, px(kButtonWidth), px(kButtonHeight));
    Picture1_->resize(px(kLampWidth), px(kLampHeight));
    for (int k = 0; k < MeasuredValueDisplay::kLabels; ++k) {
        const int column = k < 10 ? 0 : 1;
        const int top = px(kRowTop + kRowPitch * (k % 10));
        Label1_[static_cast<std::size_t>(k)]->setGeometry(px(column == 0 ? 120 : 3480), top,
                                                          px(kLabelWidth), px(kLabelHeight));
        HScroll1_[static_cast<std::size_t>(k)]->setGeometry(px(column == 0 ? 3000 : 6360), top,
                                                            px(kScrollWidth), px(kLabelHeight));
    }
    resize(px(kFormWidth), px(kFormHeight));
    Form_Resize();
    loaded_ = true;
}

void Anzeilist::setLanguage(Language language) {
    language_ = language;
    applyCaptions(this, anzeilistCaptions(), language);
    // The table holds the caption of the stopped window.
    if (display_.running()) start_->setText(qs(kAnzeilistStop.in(language)));
}

void Anzeilist::showEvent(QShowEvent* event) {
    if (!loaded_) Form_Load();
    QDialog::showEvent(event);
}

void Anzeilist::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    Form_Resize();
}

void Anzeilist::Form_Resize() {
    Picture1_->move(width() - twipsToPixels(*this, 500), twipsToPixels(*this, 50));
    display_.resized();
    render();
}

void Anzeilist::start_Click() {
    const bool polling = display_.startStop();
    render();
    if (polling) {
        emit startRequested();
    } else {
        emit stopRequested();
    }
}

void Anzeilist::zurueck_Click() {
    const bool wasPolling = display_.running();
    display_.back();
    render();
    hide();
    loaded_ = false;  // shown again, the window starts afresh
    if (wasPolling) emit leftWhilePolling();
}

void Anzeilist::reject() {
    zurueck_Click();
    setResult(QDialog::Rejected);
}

void Anzeilist::HScroll1_Change(int index, int value) {
    display_.setLineNumber(index, value);
}

void Anzeilist::lineReceived(const std::string& utf8) {
    display_.lineReceived(utf8, displayTransformers(record_));
    // The device sends up to sixty lines a second, and drawing a label costs more than the
    // poll itself: the labels are drawn at once when they were last drawn long enough ago,
    // else when that time has come, with every line received meanwhile.
    if (!drawn_.isValid() || drawn_.elapsed() >= kDrawMs) {
        render();
    } else if (!drawTimer_->isActive()) {
        drawTimer_->start(static_cast<int>(kDrawMs - drawn_.elapsed()));
    }
}

void Anzeilist::pollStarted() {
    if (!loaded_) Form_Load();
    if (!display_.running()) display_.startStop();
    render();
}

void Anzeilist::pollEnded() {
    display_.pollEnded();
    render();
}

void Anzeilist::render() {
    drawn_.start();
    if (display_.revision() == shownRevision_) return;
    shownRevision_ = display_.revision();
    for (int k = 0; k < MeasuredValueDisplay::kLabels; ++k) {
        const auto i = static_cast<std::size_t>(k);
        const QString text = qs(display_.caption(k));
        if (Label1_[i]->text() != text) Label1_[i]->setText(text);
        if (HScroll1_[i]->value() != display_.lineNumber(k)) {
            const QSignalBlocker quiet(HScroll1_[i]);
            HScroll1_[i]->setValue(display_.lineNumber(k));
        }
    }
    QPalette palette = Picture1_->palette();
    palette.setColor(QPalette::Window, display_.lampGreen() ? kGreen : kRed);
    Picture1_->setPalette(palette);
    const QString startText = display_.running()
                                  ? qs(kAnzeilistStop.in(language_))
                                  : qs(captionOf(anzeilistCaptions(), "start", language_));
    if (start_->text() != startText) start_->setText(startText);
}

}  // namespace kalvo
