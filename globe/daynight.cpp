#include "globe/daynight.h"

#include "core/globetypes.h"
#include "globe/globescene.h"

#include <cstring>

namespace {
// Clears columns trunc(left) up to trunc(right), clamped to the image, over the full height.
void clear_columns(QImage &image, float left, float right)
{
    const int x0 = qBound(0, truncate_to_int(left), image.width());
    const int x1 = qBound(0, truncate_to_int(right), image.width());
    if (x1 <= x0)
        return;
    const int bpp = image.depth() / 8;
    uchar *bits = image.bits();
    const qsizetype stride = image.bytesPerLine();
    for (int y = 0; y < image.height(); ++y)
        std::memset(bits + y * stride + x0 * bpp, 0, size_t(x1 - x0) * bpp);
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

void update_day_night(GlobeScene &scene, const QImage &nightLightsCopy, const QDateTime &utc)
{
    const DayNightPlan plan = plan_day_night(utc, nightLightsCopy.width());
    QImage &lights = scene.nightTexture.edit();
    // Every run starts from the pristine copy, so cuts never accumulate.
    if (lights.size() != nightLightsCopy.size() || lights.format() != nightLightsCopy.format())
        lights = nightLightsCopy.copy();
    else
        std::memcpy(lights.bits(), nightLightsCopy.constBits(), size_t(lights.sizeInBytes()));
    if (plan.hasSecond)
        clear_columns(lights, plan.secondLeft, plan.secondRight);
    clear_columns(lights, plan.left, plan.right);
    scene.nightTexture.markChanged();

    scene.EarthSphere.setRotationY(plan.yRotation);
    scene.NightSphere.setRotationY(plan.yRotation);
    scene.Light1.setRotationX(plan.tilt);
    scene.notifyChanged();
}
