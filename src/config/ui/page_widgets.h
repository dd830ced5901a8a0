// Small pieces the parameter dialog's page views share: grids filled from a table,
// the stop signs beside input groups, option groups, and the quantity and place lists.
#pragma once

#include <QString>

#include <initializer_list>
#include <string>
#include <vector>

#include "text/language.h"
#include "widgets/named_label.h"

class QButtonGroup;
class QComboBox;
class QGridLayout;
class QLabel;
class QWidget;

namespace kalvo {

// Where a control goes in a grid: its cell, how many rows and columns it spans, its alignment.
struct GridPlace {
    QWidget* widget = nullptr;
    int row = 0;
    int column = 0;
    int rowSpan = 1;
    int columnSpan = 1;
    Qt::Alignment alignment = {};
};
// Adds the controls to `grid`, in the order of the table.
void addToGrid(QGridLayout* grid, std::initializer_list<GridPlace> places);

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
