#include "widgets/twips.h"

#include <QWidget>

#include "platform/canvas.h"

namespace kalvo {

namespace {

// The resolution the twips refer to when the screen reports none.
constexpr int kDefaultDpi = 96;

int dpi(const QWidget& widget) {
    return widget.logicalDpiX() > 0 ? widget.logicalDpiX() : kDefaultDpi;
}

}  // namespace

int twipsToPixels(const QWidget& widget, int twips) {
    return (twips * dpi(widget) + kTwipsPerInch / 2) / kTwipsPerInch;
}

int pixelsToTwips(const QWidget& widget, int pixels) {
    return (pixels * kTwipsPerInch + dpi(widget) / 2) / dpi(widget);
}

}  // namespace kalvo
