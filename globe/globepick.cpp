#include "globe/globepick.h"

#include "globe/globescene.h"

#include <QtMath>

#include <cmath>

std::optional<GlobePoint> pick_globe(const GlobeScene &scene, const SceneNode &sphere,
                                     QSizeF viewSize, QPointF pos)
{
    if (viewSize.width() <= 0 || viewSize.height() <= 0)
        return std::nullopt;
    const QMatrix4x4 viewProjection =
        scene.projectionMatrix(float(viewSize.width() / viewSize.height())) * scene.viewMatrix();
    bool invertible = false;
    const QMatrix4x4 inverse = viewProjection.inverted(&invertible);
    const QMatrix4x4 inverseModel = sphere.modelMatrix().inverted();
    if (!invertible)
        return std::nullopt;
    // The screen's y runs up in normalised device coordinates, down in the widget.
    const float x = float(2 * pos.x() / viewSize.width() - 1);
    const float y = float(1 - 2 * pos.y() / viewSize.height());
    const QVector4D nearPoint = inverse * QVector4D(x, y, -1, 1);
    const QVector4D farPoint = inverse * QVector4D(x, y, 1, 1);
    const QVector3D world =
        farPoint.toVector3D() / farPoint.w() - nearPoint.toVector3D() / nearPoint.w();

    // In the sphere's frame it is the mesh's: diameter 1 about the origin.
    const QVector3D eye = inverseModel.map(scene.cameraPosition());
    const QVector3D d = inverseModel.mapVector(world);
    const double a = QVector3D::dotProduct(d, d);
    const double b = QVector3D::dotProduct(eye, d);
    const double disc = b * b - a * (double(QVector3D::dotProduct(eye, eye)) - 0.25);
    if (a <= 0 || disc < 0)
        return std::nullopt;
    const double t = (-b - std::sqrt(disc)) / a;
    if (t < 0)
        return std::nullopt;
    const double nx = 2 * (eye.x() + t * d.x());
    const double ny = 2 * (eye.y() + t * d.y());
    const double nz = 2 * (eye.z() + t * d.z());

    // The renderer's mapping: u from +X toward +Z, v from the -Y pole (row 0, north).
    GlobePoint point;
    point.u = std::atan2(nz, nx) / (2 * M_PI);
    point.u -= std::floor(point.u);
    const double sine = qBound(-1.0, ny, 1.0);
    point.v = std::asin(sine) / M_PI + 0.5;
    point.latitude = -qRadiansToDegrees(std::asin(sine));
    point.longitude = 360 * point.u - 180;
    return point;
}

QPoint texel_at(QSize size, const GlobePoint &point)
{
    const int x = qBound(0, int(std::floor(point.u * size.width())), qMax(0, size.width() - 1));
    const int y = qBound(0, int(std::floor(point.v * size.height())), qMax(0, size.height() - 1));
    return {x, y};
}
