#include "core/globetypes.h"

#include <cmath>

float map_range(float value, float inLow, float inHigh, float outLow, float outHigh)
{
    // volatile keeps each intermediate a float even if the compiler could fuse them.
    volatile float d1 = inHigh - inLow;
    volatile float d2 = value - inLow;
    volatile float q = d2 / d1;
    volatile float d3 = outHigh - outLow;
    volatile float r = d3 * q;
    return outLow + r;
}

int round_half_even(float value)
{
    // nearbyint honours the default rounding mode, which rounds halves to even.
    return static_cast<int>(std::nearbyintf(value));
}

int truncate_to_int(float value) { return static_cast<int>(value); }
