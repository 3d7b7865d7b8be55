#pragma once

#include <QDateTime>

// Where the sun stands over the earth at one instant, from the low-precision almanac
// formulas: good to about 0.01 degrees in declination and a few seconds in the equation of
// time for a century either side of 2000, far below what a globe on a screen shows.
struct SolarPosition
{
    double declination = 0;       // degrees north; the latitude of the sub-solar point
    double equationOfTime = 0;    // minutes the sundial is ahead of mean solar time
    double subsolarLongitude = 0; // degrees east, in [-180, 180)
};

SolarPosition solar_position(const QDateTime &utc);

// The sun's height above the horizon of a place, in degrees (negative below it), for the
// sun's centre without refraction.
double sun_elevation(const SolarPosition &sun, double latitude, double longitude);
