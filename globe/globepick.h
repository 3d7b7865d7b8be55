#pragma once

#include <QPoint>
#include <QPointF>
#include <QSize>
#include <QSizeF>

#include <optional>

class GlobeScene;
class SceneNode;

// A point of a globe sphere: where its texture is read (u from the left edge, v from the
// top row, both 0..1) and the latitude and longitude that place stands for, in degrees
// (north and east positive, longitude in [-180, 180)).
struct GlobePoint
{
    double u = 0;
    double v = 0;
    double latitude = 0;
    double longitude = 0;
};

// The point of `sphere` under a pointer at `pos` in a view of `viewSize` (both in the same
// units), found as the renderer finds it: the ray through that point of the screen met with
// the sphere in its own frame. Nothing when the ray passes the sphere by.
std::optional<GlobePoint> pick_globe(const GlobeScene &scene, const SceneNode &sphere,
                                     QSizeF viewSize, QPointF pos);

// The texel of an image of `size` that lies under a point, the nearest one as a lookup
// without filtering reads it.
QPoint texel_at(QSize size, const GlobePoint &point);
