#include "globe/daynight.h"

#include "core/globetypes.h"
#include "globe/globescene.h"
#include "globe/solarposition.h"

#include <QtMath>

#include <cstring>

namespace {
// Columns trunc(left) up to trunc(right), clamped to the image.
ColumnSpan column_span(float left, float right, int width)
{
    return {qBound(0, truncate_to_int(left), width), qBound(0, truncate_to_int(right), width)};
}

// The columns a plan clears, one flag per column.
QList<bool> cut_columns(const QList<ColumnSpan> &spans, int width)
{
    QList<bool> cut(width, false);
    for (const ColumnSpan &span : spans)
        for (int x = span.begin; x < span.end; ++x)
            cut[x] = true;
    return cut;
}

// Clears the columns, or copies them back from the pristine image, over the full height.
void clear_columns(QImage &image, ColumnSpan span)
{
    const int bpp = image.depth() / 8;
    for (int y = 0; y < image.height(); ++y)
        std::memset(image.scanLine(y) + span.begin * bpp, 0, size_t(span.end - span.begin) * bpp);
}

void restore_columns(QImage &image, const QImage &pristine, ColumnSpan span)
{
    const int bpp = image.depth() / 8;
    for (int y = 0; y < image.height(); ++y)
        std::memcpy(image.scanLine(y) + span.begin * bpp,
                    pristine.constScanLine(y) + span.begin * bpp,
                    size_t(span.end - span.begin) * bpp);
}
} // namespace

DayNightPlan plan_day_night(const QDateTime &utc, int width)
{
    const QDateTime t = utc.toUTC();
    DayNightPlan plan;
    const float w = float(width);
    const float hours = float(t.time().hour()) + float(t.time().minute()) / 60.0f;
    plan.sunAngle = map_range(hours, 0, 24, 0, 360);
    const volatile float half = w / 4 - w / 15;
    plan.centre = map_range(-plan.sunAngle, -360, 0, 0, w);
    const float L = plan.centre - half;
    const float R = plan.centre + half;
    plan.left = L;
    plan.right = R;
    if (L < 0) {
        plan.left = 0;
        plan.hasSecond = true;
        plan.secondLeft = w - std::abs(L);
        plan.secondRight = w;
    } else if (R > w) {
        plan.right = w;
        plan.hasSecond = true;
        plan.secondLeft = 0;
        plan.secondRight = R - w;
    }
    const volatile float fromNoon = plan.sunAngle - 90;
    plan.yRotation = -fromNoon;
    plan.dayOfYear = t.date().dayOfYear();
    const float d = float(plan.dayOfYear);
    plan.season = plan.dayOfYear < 172 ? map_range(d, 0, 173, 0, 4) : map_range(d, 172, 365, 4, 0);
    // A light turned by +t about X shines toward +Y, down the screen, onto the south: the
    // northern summer needs the opposite turn.
    plan.tilt = -map_range(plan.season, 0, 4, -10, 10);
    return plan;
}

QVector3D globe_direction(double latitude, double longitude)
{
    // The texture's u runs from +X toward +Z starting at 180 W; its v from the -Y pole.
    const double phi = qDegreesToRadians(latitude);
    const double theta = qDegreesToRadians(longitude + 180);
    return QVector3D(float(std::cos(phi) * std::cos(theta)), float(-std::sin(phi)),
                     float(std::cos(phi) * std::sin(theta)));
}

void update_day_night(GlobeScene &scene, const QImage &nightLightsCopy, const QDateTime &utc,
                      Terminator terminator)
{
    const int width = nightLightsCopy.width();
    const DayNightPlan plan = plan_day_night(utc, width);
    // The true sun needs the lights whole: an empty cut restores what the band took.
    QList<ColumnSpan> cut;
    if (terminator == Terminator::Band) {
        if (plan.hasSecond)
            cut.append(column_span(plan.secondLeft, plan.secondRight, width));
        cut.append(column_span(plan.left, plan.right, width));
        scene.sunDirection.reset();
    } else {
        const SolarPosition sun = solar_position(utc);
        scene.sunDirection = globe_direction(sun.declination, sun.subsolarLongitude);
    }

    SceneTexture &texture = scene.nightTexture;
    QImage &lights = texture.edit();
    GlobeScene::NightCut &previous = scene.nightCut;
    const bool known = previous.generation == texture.generation() &&
                       previous.sourceKey == nightLightsCopy.cacheKey() &&
                       lights.size() == nightLightsCopy.size() &&
                       lights.format() == nightLightsCopy.format();
    if (!known) {
        // Every cut starts from the pristine copy, so cuts never accumulate.
        lights = nightLightsCopy.copy();
        for (const ColumnSpan &span : cut)
            if (span.end > span.begin)
                clear_columns(lights, span);
        texture.markColumnsChanged({{0, width}});
    } else {
        // Only the columns whose state differs from the last cut change: a minute moves
        // the band by about one column at each edge.
        const QList<bool> was = cut_columns(previous.columns, width);
        const QList<bool> now = cut_columns(cut, width);
        QList<ColumnSpan> changed;
        for (int x = 0; x < width;) {
            if (was[x] == now[x]) {
                ++x;
                continue;
            }
            ColumnSpan span{x, x};
            while (span.end < width && was[span.end] != now[span.end] && now[span.end] == now[x])
                ++span.end;
            now[x] ? clear_columns(lights, span) : restore_columns(lights, nightLightsCopy, span);
            changed.append(span);
            x = span.end;
        }
        texture.markColumnsChanged(changed);
    }
    previous = {texture.generation(), nightLightsCopy.cacheKey(), cut};

    scene.EarthSphere.setRotationY(plan.yRotation);
    scene.NightSphere.setRotationY(plan.yRotation);
    scene.Light1.setRotationX(plan.tilt);
    scene.notifyChanged();
}
