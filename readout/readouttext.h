#pragma once

#include "core/globetypes.h"
#include "core/unitflags.h"

#include <QDateTime>
#include <QLocale>
#include <QRgb>
#include <QString>

// "41.9° N 12.5° E": tenths of a degree, the hemisphere after each.
QString position_text(double latitude, double longitude);

// The mean solar time at a longitude, four minutes a degree from UTC, in the locale's short
// time: "2:05 PM solar time".
QString solar_time_text(double longitude, const QDateTime &utc, const QLocale &locale);

// What a colour of a map view's map stands for in the user's units, read against the view's
// legend: "≈ 23 °C", "≈ +2 °F", "16–20 kt", "Rain 1–2 mm/h". Empty when the colour is no
// colour of that legend, and for views without a map.
QString map_value_text(ViewKind kind, QRgb colour, const UnitFlags &units);
