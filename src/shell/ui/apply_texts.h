// Writes the general caption table into the windows that exist.
#pragma once

class QWidget;

namespace kalvo {

// Applies every row of Texte_allgemein whose window is `root` itself or a window below it
// (found by objectName). Menus get their title, actions and buttons their text, toolbar
// positions their tool tip; rows of windows that do not exist yet are skipped.
void applyTexteAllgemein(QWidget* root, bool english);

}  // namespace kalvo
