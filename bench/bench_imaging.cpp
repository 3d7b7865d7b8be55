#include "imaging/mapimage.h"

#include <QBuffer>
#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <random>

namespace {

enum Shape { Robinson, Ellipse };

// Half the width of a map row, as a share of the equator's, at `height` from the equator
// (0 to 1). Robinson's world maps keep a long pole line; an ellipse closes to a point.
double row_share(Shape shape, double height) {
    if (shape == Ellipse) return std::sqrt(std::max(0.0, 1.0 - height * height));
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

// A map as the server draws it: white margins around a world of rows of varying width, in
// noisy colour bands, saved as an RGB PNG of about 1 MB.
QByteArray make_map_png(Shape shape) {
    constexpr int Width = 1098;
    constexpr int Height = 760;
    const ExtractRectangle rect = AppState::ExtractRect;
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

const QByteArray &map_png(Shape shape) {
    static const std::array<QByteArray, 2> bodies{make_map_png(Robinson), make_map_png(Ellipse)};
    return bodies[shape];
}

QImage map_crop(Shape shape) {
    QImage decoded;
    decode_map(map_png(shape), decoded);
    return crop_map(decoded, AppState::ExtractRect);
}

void BM_DecodeCropStretch(benchmark::State &state, Shape shape) {
    const QByteArray &body = map_png(shape);
    for (auto _ : state) {
        QImage decoded;
        decode_map(body, decoded);
        QImage sphere = make_sphere_texture(decoded);
        benchmark::DoNotOptimize(sphere.constBits());
    }
    state.counters["png_bytes"] = double(body.size());
}
BENCHMARK_CAPTURE(BM_DecodeCropStretch, robinson, Robinson)->Unit(benchmark::kMillisecond);

void BM_StretchRows(benchmark::State &state, Shape shape) {
    const QImage crop = map_crop(shape);
    QImage sphere(SphereWidth, SphereHeight, QImage::Format_ARGB32);
    sphere.fill(0u);
    for (auto _ : state) {
        stretch_rows(crop, sphere);
        benchmark::DoNotOptimize(sphere.constBits());
        benchmark::ClobberMemory();
    }
}
BENCHMARK_CAPTURE(BM_StretchRows, robinson, Robinson)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_StretchRows, ellipse, Ellipse)->Unit(benchmark::kMicrosecond);

// What moving the same pixels costs at the least: the crop copied into an image of its size.
void BM_PlainCopy(benchmark::State &state) {
    const QImage crop = map_crop(Robinson);
    QImage copy(crop.size(), QImage::Format_ARGB32);
    for (auto _ : state) {
        std::memcpy(copy.bits(), crop.constBits(), size_t(crop.sizeInBytes()));
        benchmark::DoNotOptimize(copy.constBits());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_PlainCopy)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv) {
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
