#include "widgets/named_label.h"

#include <QLabel>

namespace kalvo {

QLabel* namedLabel(const QString& name, QWidget* parent, const QString& text) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    return l;
}

}  // namespace kalvo
