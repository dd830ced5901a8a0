// The pictures of the parameter dialog's warnings, drawn so they stay sharp at any size:
// the stop sign beside a faulty input group, the exclamation mark beside an allowed range that
// was exceeded, the information sign beside one that was not, and the empty picture.
#pragma once

#include <QPixmap>

namespace kalvo {

QPixmap emptySign(int size);
QPixmap stopSign(int size);
QPixmap exclamationSign(int size);
QPixmap infoSign(int size);

}  // namespace kalvo
