#include "bench/benchmaps.h"
#include "bench/pairreport.h"
#include "imaging/mapimage.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QImageReader>

#include <benchmark/benchmark.h>

#include <cstring>

namespace {

using bench::Ellipse;
using bench::map_png;
using bench::Robinson;
using bench::Shape;

QImage map_crop(Shape shape)
{
    QImage decoded;
    decode_map(map_png(shape), decoded);
    return crop_map(decoded, MapExtractRect);
}

void BM_DecodeCropStretch(benchmark::State &state, Shape shape)
{
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

// The PNG decode alone, in the format the reader picks: what any use of the map costs.
void BM_DecodeMap(benchmark::State &state, Shape shape)
{
    const QByteArray &body = map_png(shape);
    for (auto _ : state) {
        QBuffer buffer;
        buffer.setData(body);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer);
        QImage image = reader.read();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK_CAPTURE(BM_DecodeMap, robinson, Robinson)->Unit(benchmark::kMillisecond);

void BM_StretchRows(benchmark::State &state, Shape shape)
{
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

// The first map of a thread, which works out every row's plan before it writes.
void BM_StretchRowsFirstMap(benchmark::State &state)
{
    const QImage crop = map_crop(Robinson);
    QImage spheres[] = {QImage(SphereWidth, SphereHeight, QImage::Format_ARGB32),
                        QImage(SphereWidth - 4, SphereHeight, QImage::Format_ARGB32)};
    int turn = 0;
    for (auto _ : state) {
        // A texture of another size each time, so no plan of the last call fits.
        QImage &sphere = spheres[turn++ % 2];
        stretch_rows(crop, sphere);
        benchmark::DoNotOptimize(sphere.constBits());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_StretchRowsFirstMap)->Unit(benchmark::kMicrosecond);

// What moving the same pixels costs at the least: the crop copied into an image of its size.
void BM_PlainCopy(benchmark::State &state)
{
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

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    PairReport report({
        {"row stretch (Robinson-like) vs plain copy", "BM_StretchRows/robinson", "BM_PlainCopy",
         3.0, true},
        {"row stretch (elliptical) vs plain copy", "BM_StretchRows/ellipse", "BM_PlainCopy", 3.0,
         true},
        {"decode + crop + stretch vs decode", "BM_DecodeCropStretch/robinson",
         "BM_DecodeMap/robinson", 1.15, true},
    });
    benchmark::RunSpecifiedBenchmarks(&report);
    benchmark::Shutdown();
    return 0;
}
