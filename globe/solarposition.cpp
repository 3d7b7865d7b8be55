#include "globe/solarposition.h"

#include <QtMath>

#include <algorithm>

#include <cmath>

namespace {
// Into [-180, 180).
double wrap_degrees(double degrees)
{
    const double r = std::fmod(degrees + 180.0, 360.0);
    return (r < 0 ? r + 360.0 : r) - 180.0;
}
} // namespace

SolarPosition solar_position(const QDateTime &utc)
{
    // Days from J2000.0 (2000-01-01 12:00); UT stands in for TT, a minute off at most.
    const double n = double(utc.toMSecsSinceEpoch()) / 86400000.0 - 10957.5;
    const double meanLongitude = 280.460 + 0.9856474 * n;
    const double meanAnomaly = qDegreesToRadians(357.528 + 0.9856003 * n);
    const double eclipticLongitude = qDegreesToRadians(
        meanLongitude + 1.915 * std::sin(meanAnomaly) + 0.020 * std::sin(2 * meanAnomaly));
    const double obliquity = qDegreesToRadians(23.439 - 0.0000004 * n);
    const double rightAscension = qRadiansToDegrees(
        std::atan2(std::cos(obliquity) * std::sin(eclipticLongitude), std::cos(eclipticLongitude)));

    SolarPosition sun;
    sun.declination =
        qRadiansToDegrees(std::asin(std::sin(obliquity) * std::sin(eclipticLongitude)));
    // The true sun runs ahead of the mean sun by the difference of their right ascensions,
    // four minutes a degree.
    sun.equationOfTime = 4.0 * wrap_degrees(meanLongitude - rightAscension);
    const double dayMinutes = std::fmod(n + 0.5, 1.0) * 1440.0;
    const double minutes = dayMinutes < 0 ? dayMinutes + 1440.0 : dayMinutes;
    // The sun is due south of Greenwich at 12:00 mean time less the equation of time.
    sun.subsolarLongitude = wrap_degrees(-(minutes - 720.0 + sun.equationOfTime) / 4.0);
    return sun;
}

double sun_elevation(const SolarPosition &sun, double latitude, double longitude)
{
    const double phi = qDegreesToRadians(latitude);
    const double delta = qDegreesToRadians(sun.declination);
    const double hourAngle = qDegreesToRadians(longitude - sun.subsolarLongitude);
    const double s =
        std::sin(phi) * std::sin(delta) + std::cos(phi) * std::cos(delta) * std::cos(hourAngle);
    return qRadiansToDegrees(std::asin(std::clamp(s, -1.0, 1.0)));
}
