#include "app/toolbaricons.h"

#include <QPainter>
#include <QPixmap>

#include <functional>

namespace {
QIcon draw_icon(QSize size, qreal dpr, const std::function<void(QPainter &)> &draw)
{
    QPixmap pixmap(size * dpr);
    pixmap.setDevicePixelRatio(dpr);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    draw(p);
    p.end();
    return QIcon(pixmap);
}
} // namespace

QIcon menu_icon(qreal dpr)
{
    return draw_icon(QSize(30, 20), dpr, [](QPainter &p) {
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        for (qreal y : {1.0, 8.5, 17.0})
            p.drawRect(QRectF(0, y, 30, 2));
    });
}

QIcon back_arrow_icon(qreal dpr)
{
    return draw_icon(QSize(20, 20), dpr, [](QPainter &p) {
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawLine(QPointF(3, 10), QPointF(17, 10));
        p.drawPolyline(QPolygonF({QPointF(9, 4), QPointF(3, 10), QPointF(9, 16)}));
    });
}
