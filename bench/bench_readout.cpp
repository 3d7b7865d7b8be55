// What one look under the pointer costs: the ray met with the sphere, the texel read, its
// colour matched against the legend and the texts made. It runs once per pointer move, so it
// must stay far below a millisecond.

#include "globe/cameracontrol.h"
#include "globe/globepick.h"
#include "globe/globescene.h"
#include "imaging/mapimage.h"
#include "legend/legendscale.h"
#include "readout/pointerreadout.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

namespace {
const QSizeF ViewSize(800, 600);

// A map of the view's own legend colours, so every lookup on the globe matches all the way.
QImage legend_texture(ViewKind view)
{
    QImage texture(SphereWidth, SphereHeight, QImage::Format_RGBA8888_Premultiplied);
    const LegendScale scale = view == View::RainSnow ? rain_scale() : temperature_scale();
    for (int y = 0; y < texture.height(); ++y)
        for (int x = 0; x < texture.width(); ++x) {
            const double along = double(x) / texture.width() * double(scale.colours.size() - 1);
            texture.setPixel(x, y,
                             scale.fill == LegendScale::Fill::Ramp
                                 ? ramp_colour(scale.colours, along)
                                 : scale.colours[qRound(along)]);
        }
    return texture;
}

struct Scene
{
    explicit Scene(ViewKind view)
    {
        CameraHandlerState camera;
        camera_home(scene, camera);
        apply_view_visibility(scene, view);
        if (View::isMap(view))
            scene.climateTexture.setImage(legend_texture(view));
        // A pointer swept across the globe's middle, some of it beside the globe.
        for (int i = 0; i < 64; ++i)
            pointers << QPointF(250 + 5 * i, 180 + 4 * i);
    }
    GlobeScene scene;
    QList<QPointF> pointers;
};

void BM_ReadPointer(benchmark::State &state, ViewKind view)
{
    Scene s(view);
    const QDateTime utc(QDate(2024, 3, 1), QTime(12, 0), Qt::UTC);
    const QLocale locale(QLocale::English, QLocale::UnitedStates);
    qsizetype i = 0;
    for (auto _ : state) {
        const PointerReadout readout =
            read_pointer(s.scene, view, ViewSize, s.pointers[i], UnitFlags(), utc, locale);
        benchmark::DoNotOptimize(readout.detail.size());
        i = (i + 1) % s.pointers.size();
    }
}
BENCHMARK_CAPTURE(BM_ReadPointer, temperature_ramp, View::Temperature)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ReadPointer, rain_snow_cells, View::RainSnow)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ReadPointer, day_night_solar_time, View::DayNight)
    ->Unit(benchmark::kMicrosecond);

void BM_PickGlobe(benchmark::State &state)
{
    Scene s(View::Temperature);
    qsizetype i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            pick_globe(s.scene, s.scene.ClimateSphere, ViewSize, s.pointers[i]));
        i = (i + 1) % s.pointers.size();
    }
}
BENCHMARK(BM_PickGlobe)->Unit(benchmark::kMicrosecond);

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
