#pragma once

#include "globe/cameracontrol.h"

#include <QEvent>
#include <QList>
#include <QPointF>

#include <optional>

// Turn touch sequences into what the camera handlers take. Both see the fingers still down
// after each touch event.

// Two fingers zoom: the second finger down begins a gesture, each move of two fingers
// continues it, lifting one ends it.
class PinchAdapter
{
public:
    std::optional<GestureInfo> touch(QEvent::Type type, const QList<QPointF> &points);

private:
    bool m_active = false;
    qint32 m_lastDistance = 0;
};

// One finger turns the globe as a left-button drag does: its touch-down is a press and its
// moves are moves. A second finger ends the drag; the finger left after a pinch presses
// anew, so the globe does not jump to where it has moved meanwhile.
class SwipeAdapter
{
public:
    enum class Step { None, Press, Move };
    Step touch(QEvent::Type type, const QList<QPointF> &points);

private:
    bool m_down = false;
};
