// A label found by its control name.
#pragma once

#include <QString>

class QLabel;
class QWidget;

namespace kalvo {

// A label carrying `name` as its objectName (its caption comes from the caption table, or is
// `text`).
QLabel* namedLabel(const QString& name, QWidget* parent, const QString& text = {});

}  // namespace kalvo
