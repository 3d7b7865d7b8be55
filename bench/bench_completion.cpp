// The UI thread's share of a finished map download, piece by piece: what download_completed
// costs until it returns, the worker's decode, stretch and PNG encode it is spared, and the
// cache file's write. Wall-clock times: the machine is shared.
//
// The decode and the texture each take a new image buffer of about 3 MB. Whether the heap
// hands out pages it already holds or new ones from the system depends on what the process
// freed before (glibc moves its threshold as it goes), and on a virtual machine a page's
// first touch can cost microseconds, so the parts that allocate run both ways.

#include "app/mainform.h"
#include "bench/benchmaps.h"
#include "globe/globerenderer.h"
#include "globe/globeview.h"
#include "imaging/mapimage.h"
#include "maps/mapcache.h"
#include "maps/mapdownloader.h"

#include <QApplication>
#include <QBuffer>
#include <QFile>
#include <QImageWriter>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QSaveFile>
#include <QSurfaceFormat>
#include <QTemporaryDir>
#include <QTest>

#include <benchmark/benchmark.h>

#include <memory>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {

enum class Heap { Reused, Fresh };

void use_heap(Heap heap)
{
#ifdef __GLIBC__
    if (heap == Heap::Fresh) {
        // Every image buffer is mapped anew and given back when freed.
        mallopt(M_MMAP_THRESHOLD, 128 * 1024);
        mallopt(M_TRIM_THRESHOLD, 128 * 1024);
    } else {
        // Image buffers come from the heap, which keeps what is freed.
        mallopt(M_MMAP_THRESHOLD, 64 * 1024 * 1024);
        mallopt(M_TRIM_THRESHOLD, 256 * 1024 * 1024);
    }
#else
    Q_UNUSED(heap)
#endif
}

const QByteArray &served_png() { return bench::map_png(bench::Robinson); }

QImage decoded_map()
{
    QImage decoded;
    if (!decode_map(served_png(), decoded))
        qFatal("the benchmark map does not decode");
    return decoded;
}

// The main window, shown, with its data folder in a temporary folder.
struct Window
{
    Window()
    {
        if (!dir.isValid())
            qFatal("no temporary folder");
        MainFormSetup setup;
        setup.mapServer = QStringLiteral("http://127.0.0.1:1");
        setup.dataDir = dir.path();
        form = std::make_unique<TMainForm>(setup);
        form->resize(1280, 800);
        form->show();
        if (!QTest::qWaitForWindowExposed(form.get()))
            qFatal("the main window was never exposed");
    }

    // Removes the cache file the completion wrote, outside the timing.
    void removeCacheFile(benchmark::State &state, const QString &path)
    {
        state.PauseTiming();
        if (!QFile::exists(path))
            qFatal("the cache file was never written");
        QFile::remove(path);
        state.ResumeTiming();
    }

    QTemporaryDir dir;
    std::unique_ptr<TMainForm> form;
};

// Made on first use; main closes it while the application still exists.
std::unique_ptr<Window> &window_holder()
{
    static std::unique_ptr<Window> w;
    return w;
}

Window &window()
{
    std::unique_ptr<Window> &w = window_holder();
    if (!w)
        w = std::make_unique<Window>();
    return *w;
}

// Each of these removes the cache file, untimed: a fixed count keeps the run short, where
// the benchmark's own count would go by the timed part alone.
constexpr benchmark::IterationCount CacheWaits = 10;

// A finished download of the body, prepared as the pool thread prepares it.
MapDownloadResult completed_temperature()
{
    MapDownloadResult result;
    result.kind = View::Temperature;
    result.fetched = true;
    PreparedMap map = prepare_map(served_png());
    result.texture = map.texture;
    result.png = map.png;
    return result;
}

// The whole call as the UI thread runs it: texture handed to the scene, cache file written,
// view shown; and what it would cost if the decode, stretch and encode ran here too.
void BM_DownloadCompleted(benchmark::State &state, bool prepareHere, Heap heap)
{
    use_heap(heap);
    Window &w = window();
    const QString path = w.form->cache().cache_file_name(View::Temperature);
    QFile::remove(path);
    const MapDownloadResult prepared = completed_temperature();
    for (auto _ : state) {
        if (prepareHere)
            w.form->download_completed(completed_temperature());
        else
            w.form->download_completed(prepared);
        w.removeCacheFile(state, path);
    }
    state.counters["png_bytes"] = double(served_png().size());
}
BENCHMARK_CAPTURE(BM_DownloadCompleted, prepared_texture, false, Heap::Reused)
    ->Iterations(CacheWaits)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_DownloadCompleted, decode_here_reused_heap, true, Heap::Reused)
    ->Iterations(CacheWaits)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_DownloadCompleted, decode_here_fresh_pages, true, Heap::Fresh)
    ->Iterations(CacheWaits)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_DecodeMap(benchmark::State &state, Heap heap)
{
    use_heap(heap);
    for (auto _ : state) {
        QImage decoded;
        decode_map(served_png(), decoded);
        benchmark::DoNotOptimize(decoded.constBits());
    }
}
BENCHMARK_CAPTURE(BM_DecodeMap, reused_heap, Heap::Reused)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_DecodeMap, fresh_pages, Heap::Fresh)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_MakeSphereTexture(benchmark::State &state, Heap heap)
{
    use_heap(heap);
    const QImage decoded = decoded_map();
    for (auto _ : state) {
        QImage texture = make_sphere_texture(decoded);
        benchmark::DoNotOptimize(texture.constBits());
    }
}
BENCHMARK_CAPTURE(BM_MakeSphereTexture, reused_heap, Heap::Reused)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_MakeSphereTexture, fresh_pages, Heap::Fresh)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The completion and the globe's next frame, which uploads the new climate texture: what
// the UI thread spends before the map is on screen.
void BM_CompletionAndFrame(benchmark::State &state)
{
    use_heap(Heap::Reused);
    Window &w = window();
    const QString path = w.form->cache().cache_file_name(View::Temperature);
    QFile::remove(path);
    const MapDownloadResult result = completed_temperature();
    GlobeView *view = w.form->viewport();
    for (auto _ : state) {
        w.form->download_completed(result);
        view->repaint();
        view->makeCurrent();
        view->context()->functions()->glFinish();
        view->doneCurrent();
        w.removeCacheFile(state, path);
    }
}
BENCHMARK(BM_CompletionAndFrame)
    ->Iterations(CacheWaits)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

QImage sphere_texture()
{
    static const QImage texture = make_sphere_texture(decoded_map());
    return texture;
}

// The conversion the renderer makes on the next frame, on the UI thread, before it uploads
// the climate texture: the texture comes as straight-alpha ARGB32, the GL takes
// premultiplied RGBA.
void BM_ClimateTextureConversion(benchmark::State &state)
{
    use_heap(Heap::Reused);
    const QImage texture = sphere_texture();
    for (auto _ : state) {
        QImage rgba = texture.convertToFormat(QImage::Format_RGBA8888_Premultiplied);
        benchmark::DoNotOptimize(rgba.constBits());
    }
}
BENCHMARK(BM_ClimateTextureConversion)->Unit(benchmark::kMillisecond)->UseRealTime();

// The UI thread's part of saving, once the worker's encode is done: the atomic write of
// the PNG bytes into the data folder.
void BM_CacheFileWrite(benchmark::State &state)
{
    use_heap(Heap::Reused);
    const QByteArray png = encode_map_png(sphere_texture());
    const QString path = window().dir.filePath(QStringLiteral("write.png"));
    for (auto _ : state) {
        QSaveFile file(path);
        const bool saved =
            file.open(QIODevice::WriteOnly) && file.write(png) == png.size() && file.commit();
        if (!saved)
            state.SkipWithError("the file could not be written");
    }
    state.counters["png_bytes"] = double(png.size());
}
BENCHMARK(BM_CacheFileWrite)->Unit(benchmark::kMillisecond)->UseRealTime();

// The worker's encode of the 1112 x 667 texture. Qt's PNG writer turns quality q into the
// zlib level (100 - q) * 9 / 91: -1 leaves zlib's default (6), 85 gives level 1.
void BM_EncodePng(benchmark::State &state)
{
    use_heap(Heap::Reused);
    const QImage texture = sphere_texture();
    const int quality = int(state.range(0));
    qsizetype bytes = 0;
    for (auto _ : state) {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "PNG");
        writer.setQuality(quality);
        if (!writer.write(texture))
            state.SkipWithError("the texture could not be encoded");
        bytes = png.size();
    }
    state.counters["png_bytes"] = double(bytes);
}
BENCHMARK(BM_EncodePng)
    ->ArgName("quality")
    ->Arg(-1)
    ->Arg(85)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    QSurfaceFormat::setDefaultFormat(globe_surface_format());
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    window_holder().reset();
    return 0;
}
