// Small pieces the parameter dialog's page views share: named labels, the stop signs beside
// input groups, option groups, and the quantity and place lists.
#pragma once

#include <QString>

#include <string>
#include <vector>

#include "text/language.h"

class QButtonGroup;
class QComboBox;
class QLabel;
class QWidget;

namespace kalvo {

// A label carrying `name` as its objectName (its caption comes from the caption table).
QLabel* namedLabel(const QString& name, QWidget* parent, const QString& text = {});

// Stop sign n (1..6) beside an input group: "stop1_n", hidden and shown by the blink timer
// without moving the layout.
QLabel* stopLabel(int n, QWidget* parent);

// Selects option `id` of an exclusive group, or none for an id the group does not have.
void selectOption(QButtonGroup* group, int id);

// The quantity list in a language, keeping the selected position. The caller keeps the
// combo's signals quiet.
void fillQuantityList(QComboBox* list, Language language);

// The place list with `places`, the first one selected. The caller keeps its signals quiet.
void fillPlaceList(QComboBox* list, const std::vector<std::string>& places);

}  // namespace kalvo
