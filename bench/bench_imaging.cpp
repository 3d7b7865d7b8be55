#include "imaging/mapimage.h"

#include <QBuffer>
#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <random>

namespace {

// A map as the server draws it: white margins around a world whose rows narrow towards the
// poles, in noisy colour bands, saved as an RGB PNG of about 1 MB.
QByteArray make_map_png() {
    constexpr int Width = 1098;
    constexpr int Height = 760;
    const ExtractRectangle rect = AppState::ExtractRect;
    const double halfHeight = (rect.Bottom - rect.Top) / 2.0;
    const double centreY = rect.Top + halfHeight;
    const double centreX = (rect.Left + rect.Right) / 2.0;

    std::mt19937 random(20240301);
    std::uniform_int_distribution<int> noise(-6, 6);
    QImage map(Width, Height, QImage::Format_RGB32);
    map.fill(MapBackground);
    for (int y = rect.Top; y < rect.Bottom; ++y) {
        const double latitude = (y + 0.5 - centreY) / halfHeight;
        const double halfWidth = 544.0 * std::sqrt(std::max(0.0, 1.0 - latitude * latitude));
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

const QByteArray &map_png() {
    static const QByteArray body = make_map_png();
    return body;
}

QImage map_crop() {
    QImage decoded;
    decode_map(map_png(), decoded);
    return crop_map(decoded, AppState::ExtractRect);
}

void BM_DecodeCropStretch(benchmark::State &state) {
    const QByteArray &body = map_png();
    for (auto _ : state) {
        QImage decoded;
        decode_map(body, decoded);
        QImage sphere = make_sphere_texture(decoded);
        benchmark::DoNotOptimize(sphere.constBits());
    }
    state.counters["png_bytes"] = double(body.size());
}
BENCHMARK(BM_DecodeCropStretch)->Unit(benchmark::kMillisecond);

void BM_StretchRows(benchmark::State &state) {
    const QImage crop = map_crop();
    QImage sphere(SphereWidth, SphereHeight, QImage::Format_ARGB32);
    sphere.fill(0u);
    for (auto _ : state) {
        stretch_rows(crop, sphere);
        benchmark::DoNotOptimize(sphere.constBits());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_StretchRows)->Unit(benchmark::kMicrosecond);

void BM_PlainCopy(benchmark::State &state) {
    const QImage crop = map_crop();
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
