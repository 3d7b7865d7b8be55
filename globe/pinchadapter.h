#pragma once

#include "globe/cameracontrol.h"

#include <QEvent>
#include <QList>
#include <QPointF>

#include <optional>

// Turns two-finger touch sequences into zoom-gesture information: the second finger down
// begins a gesture, each move of two fingers continues it, lifting one ends it.
class PinchAdapter
{
public:
    std::optional<GestureInfo> touch(QEvent::Type type, const QList<QPointF> &points);

private:
    bool m_active = false;
    qint32 m_lastDistance = 0;
};
