#pragma once

#include <cstdint>

// The view the globe shows; also the value kept as "LastSphere". 0..4 index every
// per-view table.
using ViewKind = std::int32_t;

namespace View {
constexpr ViewKind Temperature = 0;
constexpr ViewKind RainSnow = 1;
constexpr ViewKind Wind = 2;
constexpr ViewKind ClimateChange = 3;
constexpr ViewKind Pressure = 4;
constexpr ViewKind DayNight = 5;
constexpr ViewKind Refresh = 10;

constexpr bool isMap(ViewKind kind) { return kind >= Temperature && kind <= Pressure; }
} // namespace View

// Where the climate texture on screen came from.
using MapSourceKind = std::int32_t;

namespace Source {
constexpr MapSourceKind TodayFrame = 0;
constexpr MapSourceKind PreviousFrame = 1;
constexpr MapSourceKind StaticMap = 2;
constexpr MapSourceKind Cache = 3;
} // namespace Source

// outLow + (outHigh - outLow) * (value - inLow) / (inHigh - inLow), every step rounded to
// single precision in this order. No clamping; either range may run backwards.
float map_range(float value, float inLow, float inHigh, float outLow, float outHigh);

// The two float-to-integer conversions used across the program.
int round_half_even(float value);
int truncate_to_int(float value);
