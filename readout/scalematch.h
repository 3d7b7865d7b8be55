#pragma once

#include <QList>
#include <QRgb>

#include <limits>

// How near a colour lies to a legend scale, in RGB units (0..255 a channel): where along a
// ramp's stops the nearest colour is (fractional), or which cell's colour is nearest.
struct ScaleMatch
{
    double stop = 0;
    int cell = -1;
    double distance = std::numeric_limits<double>::infinity();
};

// Colours farther than this from every colour of a scale stand for nothing on it: coast
// lines, clouds, the map's own background. The closest two cells of any scale lie 23 apart,
// so a colour nudged a little on its way still finds its own.
constexpr double MaxScaleDistance = 20;

// The nearest point of the ramp's path through its stops. Where two stretches are equally
// near (white both ends and halves the change ramp), the one nearer the stop `neutral` wins.
ScaleMatch match_ramp(const QList<QRgb> &stops, QRgb colour, double neutral);

// The cell whose colour is nearest; ties go to the first.
ScaleMatch match_cells(const QList<QRgb> &cells, QRgb colour);
