// Writes a caption table into a window.
#pragma once

#include <span>

#include "text/captions.h"

class QWidget;

namespace kalvo {

// Applies every row of `table` to `window`: the row "" to its title, "control" to the text of
// the child with that objectName (menu title, action, button, label, group box), "control@tip"
// to its tool tip. Rows whose control does not exist are skipped.
void applyCaptions(QWidget* window, std::span<const Caption> table, Language language);

}  // namespace kalvo
