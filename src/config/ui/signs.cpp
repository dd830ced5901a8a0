#include "config/ui/signs.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QtMath>

namespace kalvo {

namespace {

QPixmap blank(int size) {
    QPixmap p(size, size);
    p.fill(Qt::transparent);
    return p;
}

void bold(QPainter& painter, int size) {
    QFont f = painter.font();
    f.setBold(true);
    f.setPixelSize(qMax(6, size * 2 / 3));
    painter.setFont(f);
}

}  // namespace

QPixmap emptySign(int size) {
    return blank(size);
}

QPixmap stopSign(int size) {
    QPixmap p = blank(size);
    QPainter painter(&p);
    painter.setRenderHint(QPainter::Antialiasing);
    // A red octagon with a white border and a white bar.
    QPolygonF octagon;
    const double r = size / 2.0 - 0.5;
    const QPointF c(size / 2.0, size / 2.0);
    for (int i = 0; i < 8; ++i) {
        const double a = qDegreesToRadians(22.5 + 45.0 * i);
        octagon << c + QPointF(r * qCos(a), r * qSin(a));
    }
    painter.setPen(QPen(Qt::white, qMax(1.0, size / 16.0)));
    painter.setBrush(QColor(200, 16, 30));
    painter.drawPolygon(octagon);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(size * 0.22, size * 0.42, size * 0.56, size * 0.16));
    return p;
}

QPixmap exclamationSign(int size) {
    QPixmap p = blank(size);
    QPainter painter(&p);
    painter.setRenderHint(QPainter::Antialiasing);
    QPolygonF triangle;
    triangle << QPointF(size / 2.0, 1) << QPointF(size - 1, size - 1.5) << QPointF(1, size - 1.5);
    painter.setPen(QPen(QColor(60, 60, 60), qMax(1.0, size / 20.0)));
    painter.setBrush(QColor(250, 200, 20));
    painter.drawPolygon(triangle);
    bold(painter, size);
    painter.setPen(Qt::black);
    painter.drawText(QRectF(0, size * 0.2, size, size * 0.8), Qt::AlignCenter, QStringLiteral("!"));
    return p;
}

QPixmap infoSign(int size) {
    QPixmap p = blank(size);
    QPainter painter(&p);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(30, 90, 200));
    painter.drawEllipse(QRectF(1, 1, size - 2, size - 2));
    bold(painter, size);
    painter.setPen(Qt::white);
    painter.drawText(QRectF(0, 0, size, size), Qt::AlignCenter, QStringLiteral("i"));
    return p;
}

}  // namespace kalvo
