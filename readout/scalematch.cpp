#include "readout/scalematch.h"

#include <cmath>

namespace {
struct Rgb
{
    double r, g, b;
};

Rgb channels(QRgb c) { return {double(qRed(c)), double(qGreen(c)), double(qBlue(c))}; }

double dot(Rgb a, Rgb b) { return a.r * b.r + a.g * b.g + a.b * b.b; }
Rgb minus(Rgb a, Rgb b) { return {a.r - b.r, a.g - b.g, a.b - b.b}; }

// Within this, two distances count as equal: the legend's colours are rounded to whole units.
constexpr double Tie = 0.5;
} // namespace

ScaleMatch match_ramp(const QList<QRgb> &stops, QRgb colour, double neutral)
{
    ScaleMatch best;
    const Rgb c = channels(colour);
    auto consider = [&](double stop, double distance) {
        const bool nearer = distance < best.distance - Tie;
        const bool tied = std::abs(distance - best.distance) <= Tie;
        if (nearer || (tied && std::abs(stop - neutral) < std::abs(best.stop - neutral))) {
            best.stop = stop;
            best.distance = distance;
        }
    };
    if (stops.size() == 1)
        consider(0, std::sqrt(dot(minus(c, channels(stops[0])), minus(c, channels(stops[0])))));
    for (qsizetype k = 0; k + 1 < stops.size(); ++k) {
        const Rgb a = channels(stops[k]);
        const Rgb d = minus(channels(stops[k + 1]), a);
        const double length = dot(d, d);
        const double t = length > 0 ? qBound(0.0, dot(minus(c, a), d) / length, 1.0) : 0.0;
        const Rgb off = minus(c, {a.r + t * d.r, a.g + t * d.g, a.b + t * d.b});
        consider(double(k) + t, std::sqrt(dot(off, off)));
    }
    return best;
}

ScaleMatch match_cells(const QList<QRgb> &cells, QRgb colour)
{
    ScaleMatch best;
    const Rgb c = channels(colour);
    for (qsizetype i = 0; i < cells.size(); ++i) {
        const Rgb off = minus(c, channels(cells[i]));
        const double distance = std::sqrt(dot(off, off));
        if (distance < best.distance) {
            best.cell = int(i);
            best.stop = double(i);
            best.distance = distance;
        }
    }
    return best;
}
