#include "bench/benchmaps.h"

#include "imaging/mapimage.h"

#include <QBuffer>
#include <QImage>

#include <algorithm>
#include <array>
#include <cmath>
#include <random>

namespace bench {
namespace {

// Half the width of a map row, as a share of the equator's, at `height` from the equator
// (0 to 1). Robinson's world maps keep a long pole line; an ellipse closes to a point.
double row_share(Shape shape, double height)
{
    if (shape == Ellipse)
        return std::sqrt(std::max(0.0, 1.0 - height * height));
    // Robinson's table, every 5 degrees: row height, then row length.
    static constexpr std::array<double, 19> heights{
        0.0,    0.0620, 0.1240, 0.1860, 0.2480, 0.3100, 0.3720, 0.4340, 0.4958, 0.5571,
        0.6176, 0.6769, 0.7346, 0.7903, 0.8435, 0.8936, 0.9394, 0.9761, 1.0};
    static constexpr std::array<double, 19> lengths{
        1.0,    0.9986, 0.9954, 0.9900, 0.9822, 0.9730, 0.9600, 0.9427, 0.9216, 0.8962,
        0.8679, 0.8350, 0.7986, 0.7597, 0.7186, 0.6732, 0.6213, 0.5722, 0.5322};
    size_t i = 0;
    while (i + 2 < heights.size() && heights[i + 1] < height)
        ++i;
    const double t = std::clamp((height - heights[i]) / (heights[i + 1] - heights[i]), 0.0, 1.0);
    return lengths[i] + t * (lengths[i + 1] - lengths[i]);
}

QByteArray make_map_png(Shape shape)
{
    constexpr int Width = 1098;
    constexpr int Height = 760;
    const ExtractRectangle rect = MapExtractRect;
    const double halfHeight = (rect.Bottom - rect.Top) / 2.0;
    const double centreY = rect.Top + halfHeight;
    const double centreX = (rect.Left + rect.Right) / 2.0;

    std::mt19937 random(20240301);
    std::uniform_int_distribution<int> noise(-5, 5);
    QImage map(Width, Height, QImage::Format_RGB32);
    map.fill(MapBackground);
    for (int y = rect.Top; y < rect.Bottom; ++y) {
        const double height = std::abs(y + 0.5 - centreY) / halfHeight;
        const double halfWidth = 544.0 * row_share(shape, height);
        const int left = int(std::lround(centreX - halfWidth));
        const int right = int(std::lround(centreX + halfWidth));
        auto *line = reinterpret_cast<QRgb *>(map.scanLine(y));
        for (int x = left; x < right; ++x) {
            const int band = (x / 37 + y / 23) % 7;
            line[x] = qRgb(std::clamp(40 + band * 30 + noise(random), 0, 255),
                           std::clamp(200 - band * 25 + noise(random), 0, 255),
                           std::clamp(90 + (y % 50) + noise(random), 0, 255));
        }
    }
    QByteArray body;
    QBuffer buffer(&body);
    buffer.open(QIODevice::WriteOnly);
    map.save(&buffer, "PNG");
    return body;
}

} // namespace

const QByteArray &map_png(Shape shape)
{
    static const std::array<QByteArray, 2> bodies{make_map_png(Robinson), make_map_png(Ellipse)};
    return bodies[shape];
}

} // namespace bench
