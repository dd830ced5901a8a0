#include "measure/ui/dig_auswahl.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QPushButton>
#include <QSignalBlocker>
#include <QWindow>

#include "text/captions.h"
#include "widgets/apply_texts.h"
#include "widgets/twips.h"

namespace kalvo {

namespace {

// Design positions (Left, Top) in twips of the boxes 0..36.
constexpr std::array<std::array<int, 2>, kInterfaceCells> kBoxAt = {{
    {240, 240},   {240, 480},   {240, 720},   {1080, 240},  {1080, 480},  {1080, 720},
    {1920, 240},  {1920, 480},  {1920, 720},  {240, 1200},  {240, 1416},  {240, 1680},
    {240, 1920},  {1080, 1200}, {1080, 1440}, {1080, 1680}, {1080, 1920}, {1920, 1200},
    {1920, 1440}, {1920, 1680}, {1920, 1920}, {240, 2400},  {240, 2640},  {240, 2880},
    {240, 3120},  {1080, 2400}, {1080, 2640}, {1080, 2880}, {1080, 3120}, {240, 3600},
    {240, 3840},  {240, 4080},  {240, 4320},  {1080, 3600}, {1068, 3840}, {360, 4800},
    {1680, 4800},
}};
constexpr int kBoxWidth = 855, kWideBoxWidth = 1455, kBoxHeight = 252;
constexpr int kWideBox = 34;  // "10VDC-Input"

}  // namespace

Dig_Auswahl::Dig_Auswahl(QWidget* owner, Record& record)
    : QDialog(owner), record_(record), boxes_(initialInterfaceBoxes(record)) {
    setObjectName(QStringLiteral("Dig_Auswahl"));
    setModal(false);
    const auto px = [this](int twips) { return twipsToPixels(*this, twips); };
    for (int i = 0; i < kInterfaceCells; ++i) {
        const auto k = static_cast<std::size_t>(i);
        auto* box = new QCheckBox(this);
        box->setObjectName(QStringLiteral("Dig_Auswahl_Messgrösse_Check_%1").arg(i));
        box->setGeometry(px(kBoxAt[k][0]), px(kBoxAt[k][1]),
                         px(i == kWideBox ? kWideBoxWidth : kBoxWidth), px(kBoxHeight));
        connect(box, &QCheckBox::toggled, this, [this, k](bool on) { boxes_.checked[k] = on; });
        checks_[k] = box;
    }
    Command1_ = new QPushButton(this);
    Command1_->setObjectName(QStringLiteral("Command1"));
    Command1_->setDefault(true);
    Command1_->setGeometry(px(1320), px(4200), px(1212), px(372));
    connect(Command1_, &QPushButton::clicked, this, &Dig_Auswahl::Command1_Click);
    // Not touched by a language change: the same words in both languages.
    applyCaptions(this, digAuswahlCaptions(), Language::German);
    resize(px(3465), px(5685));

    connect(qGuiApp, &QGuiApplication::focusWindowChanged, this, &Dig_Auswahl::focusMoved);
    render();
}

void Dig_Auswahl::focusMoved(QWindow* window) {
    // The window becomes the program's active window again after another of its windows
    // was: an activation. Coming back from another program is none (nothing is re-read, so
    // boxes ticked meanwhile stay ticked).
    if (window == nullptr) return;
    if (window == windowHandle() && lastFocus_ != window) Form_Activate();
    lastFocus_ = window;
}

void Dig_Auswahl::showEvent(QShowEvent* event) {
    Form_Activate();
    QDialog::showEvent(event);
}

void Dig_Auswahl::Form_Activate() {
    showInterfaceSelection(boxes_, record_);
    render();
}

void Dig_Auswahl::clearAll() {
    clearInterfaceSelection(boxes_);
    render();
}

void Dig_Auswahl::Command1_Click() {
    storeInterfaceSelection(boxes_, record_);
    hide();
    emit stored();
}

void Dig_Auswahl::render() {
    for (std::size_t k = 0; k < checks_.size(); ++k) {
        const QSignalBlocker quiet(checks_[k]);
        checks_[k]->setEnabled(boxes_.enabled[k]);
        checks_[k]->setChecked(boxes_.checked[k]);
    }
}

}  // namespace kalvo
