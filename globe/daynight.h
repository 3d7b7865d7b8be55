#pragma once

#include <QDateTime>
#include <QImage>
#include <QVector3D>

class GlobeScene;

// Everything one terminator update decides, for an image `width` columns wide.
struct DayNightPlan
{
    float sunAngle = 0; // degrees, 15 per hour
    float centre = 0;   // column of the meridian under the sun
    float left = 0;     // main band to clear, columns [left, right)
    float right = 0;
    bool hasSecond = false; // the band wrapped at an image edge
    float secondLeft = 0;
    float secondRight = 0;
    float yRotation = 0; // of the earth and night spheres, before reduction
    int dayOfYear = 1;
    float season = 0;
    float tilt = 0; // of the light, degrees
};

DayNightPlan plan_day_night(const QDateTime &utc, int width);

// How Day/Night parts day from night.
enum class Terminator {
    Band,    // city lights cut in a fixed band around the sub-solar meridian
    TrueSun, // the sun's place for the date and time lights the globe; lights only at night
};

// A place on the earth as a unit vector in the frame of the earth and night spheres, as
// their texture maps it: column 0 at 180 W, row 0 at the North Pole.
QVector3D globe_direction(double latitude, double longitude);

// Rebuilds the night-lights texture from its pristine copy with the lights cut around
// the sub-solar meridian (uncut for the true sun, which the scene then carries), turns the
// earth and night spheres to the sun and tilts the light.
void update_day_night(GlobeScene &scene, const QImage &nightLightsCopy, const QDateTime &utc,
                      Terminator terminator = Terminator::Band);
