#include "bench/benchmaps.h"
#include "imaging/mapimage.h"

#include <QCoreApplication>

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
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
