// Window geometry in twips (1/1440 inch), the unit of the device family's window layouts and of
// the stored window positions, in the pixels of a widget's screen.
#pragma once

class QWidget;

namespace kalvo {

// `twips` in pixels at the widget's logical resolution (96 dpi when it reports none), rounded
// to the nearest pixel.
int twipsToPixels(const QWidget& widget, int twips);
// The way back, for storing a window's geometry.
int pixelsToTwips(const QWidget& widget, int pixels);

}  // namespace kalvo
