#include "globe/touchadapters.h"

#include <QLineF>

std::optional<GestureInfo> PinchAdapter::touch(QEvent::Type type, const QList<QPointF> &points)
{
    const bool two = points.size() >= 2 && type != QEvent::TouchEnd && type != QEvent::TouchCancel;
    if (two) {
        GestureInfo info;
        info.distance = qint32(QLineF(points.at(0), points.at(1)).length());
        info.flags = m_active ? 0 : GestureInfo::Begin;
        m_active = true;
        m_lastDistance = info.distance;
        return info;
    }
    if (m_active) {
        m_active = false;
        GestureInfo info;
        info.flags = GestureInfo::End;
        info.distance = m_lastDistance;
        return info;
    }
    return std::nullopt;
}

SwipeAdapter::Step SwipeAdapter::touch(QEvent::Type type, const QList<QPointF> &points)
{
    const bool one = points.size() == 1 && type != QEvent::TouchEnd && type != QEvent::TouchCancel;
    if (!one) {
        m_down = false;
        return Step::None;
    }
    const Step step = m_down ? Step::Move : Step::Press;
    m_down = true;
    return step;
}
