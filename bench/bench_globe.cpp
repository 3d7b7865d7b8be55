// What a terminator update costs, on the CPU alone and with its texture upload, beside the
// steady frame the globe draws while it is dragged. Frames are timed on the wall clock, and
// their CPU column is the whole process's: the software renderer rasterises on threads of
// its own, and on a shared machine the CPU time says how much work was done when the wall
// clock also counts waiting for a core.

#include "app/darkstyle.h"
#include "app/resources.h"
#include "bench/pairreport.h"
#include "globe/daynight.h"
#include "globe/globerenderer.h"
#include "globe/globescene.h"
#include "globe/globeview.h"

#include <QApplication>
#include <QLabel>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QOpenGLWindow>
#include <QSurfaceFormat>
#include <QTest>
#include <QVBoxLayout>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

QImage load_texture(const QString &path)
{
    return QImage(path).convertToFormat(QImage::Format_RGBA8888_Premultiplied);
}

// The main window's globe in the Day/Night state: earth and night spheres, no climate.
struct DayNightScene
{
    DayNightScene()
    {
        scene.earthTexture.setImage(load_texture(QStringLiteral(":/textures/earth.png")));
        scene.nightTexture.setImage(load_texture(QStringLiteral(":/textures/nightlights.png")));
        lightsCopy = scene.nightTexture.image().copy();
        scene.Camera1.position = QVector3D(0, 0, -(scene.ClimateSphere.size.x() * 2.25f));
        apply_view_visibility(scene, View::DayNight);
    }

    // A minute later on every call, so the cut band moves as it does in the app.
    void nextUpdate()
    {
        utc = utc.addSecs(60);
        update_day_night(scene, lightsCopy, utc);
    }

    GlobeScene scene;
    QImage lightsCopy;
    QDateTime utc{QDate(2024, 3, 1), QTime(0, 0), Qt::UTC};
};

DayNightScene &day_night_scene()
{
    static DayNightScene scene;
    return scene;
}

// Asks for a frame the way the app does and runs the event loop until it was swapped.
template <typename Surface> void frame_until_swapped(Surface &surface)
{
    bool swapped = false;
    const QMetaObject::Connection connection =
        QObject::connect(&surface, &Surface::frameSwapped, [&swapped] { swapped = true; });
    surface.update();
    while (!swapped)
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    QObject::disconnect(connection);
}

// Exposes the protected paint so a frame can be drawn and finished on demand.
class BenchView : public GlobeView
{
public:
    // Only the globe's own drawing, into the widget's (multisampled) framebuffer, waited
    // for with glFinish: no resolve, no composition, no swap.
    void renderOnly()
    {
        makeCurrent();
        paintGL();
        context()->functions()->glFinish();
        doneCurrent();
    }

    // What one frame on screen costs: the paint above, the multisample resolve, Qt's
    // composition of the widget's texture into the window and the buffer swap, as an
    // update() in the app goes.
    void fullFrame() { frame_until_swapped(*this); }
};

// Views by multisample count and width (height 5/8 of it), made on first use; main closes
// them while the application still exists.
using ViewKey = std::pair<int, int>;
std::map<ViewKey, std::unique_ptr<BenchView>> &views()
{
    static std::map<ViewKey, std::unique_ptr<BenchView>> made;
    return made;
}

// The view a benchmark's arguments name: samples, width. Only that one is on screen.
BenchView &shown_view(const benchmark::State &state)
{
    const ViewKey key{int(state.range(0)), int(state.range(1))};
    std::map<ViewKey, std::unique_ptr<BenchView>> &views = ::views();
    for (auto &[other, view] : views)
        if (other != key)
            view->hide();
    std::unique_ptr<BenchView> &view = views[key];
    if (!view) {
        view = std::make_unique<BenchView>();
        // samples -1: what the view chooses for this GL, as in the app.
        if (key.first >= 0) {
            QSurfaceFormat format = globe_surface_format();
            format.setSamples(key.first);
            view->setFormat(format);
        }
        view->setScene(&day_night_scene().scene);
        view->resize(key.second, key.second * 5 / 8);
    }
    if (!view->isVisible()) {
        view->show();
        if (!QTest::qWaitForWindowExposed(view.get()))
            qFatal("the globe view was never exposed");
        // The software renderer compiles its shader variants on first use; keep that out.
        for (int i = 0; i < 3; ++i) {
            day_night_scene().nextUpdate();
            view->fullFrame();
            view->renderOnly();
        }
    }
    return *view;
}

// One plain copy of the 8 MiB night-lights image on this machine now, the best of a few:
// the unit the terminator figures are given in, so they compare across loaded runs.
double plain_copy_seconds()
{
    static const double seconds = [] {
        const QImage &source = day_night_scene().lightsCopy;
        QImage copy(source.size(), source.format());
        double best = 1e9;
        for (int i = 0; i < 30; ++i) {
            const auto start = std::chrono::steady_clock::now();
            std::memcpy(copy.bits(), source.constBits(), size_t(source.sizeInBytes()));
            benchmark::DoNotOptimize(copy.constBits());
            benchmark::ClobberMemory();
            best = qMin(
                best,
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        }
        return best;
    }();
    return seconds;
}

// Times the loop it is made before; sets the counter "copies": the wall time per
// iteration in plain 8 MiB copies.
class InCopies
{
public:
    explicit InCopies(benchmark::State &state)
        : m_state(state)
    {
        plain_copy_seconds();
    }
    ~InCopies()
    {
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - m_start).count();
        if (m_state.iterations() > 0)
            m_state.counters["copies"] =
                seconds / double(m_state.iterations()) / plain_copy_seconds();
    }

private:
    benchmark::State &m_state;
    std::chrono::steady_clock::time_point m_start = std::chrono::steady_clock::now();
};

void BM_UpdateDayNight(benchmark::State &state)
{
    DayNightScene &s = day_night_scene();
    {
        InCopies copies(state);
        for (auto _ : state) {
            s.nextUpdate();
            benchmark::DoNotOptimize(s.scene.nightTexture.image().constBits());
            benchmark::ClobberMemory();
        }
    }
    state.counters["MiB"] = double(s.lightsCopy.sizeInBytes()) / (1 << 20);
}
BENCHMARK(BM_UpdateDayNight)->Unit(benchmark::kMillisecond)->UseRealTime();

// The least moving those pixels can cost: one copy of the 2048 x 1024 RGBA image.
void BM_PlainCopy8MiB(benchmark::State &state)
{
    const QImage &source = day_night_scene().lightsCopy;
    QImage copy(source.size(), source.format());
    for (auto _ : state) {
        std::memcpy(copy.bits(), source.constBits(), size_t(source.sizeInBytes()));
        benchmark::DoNotOptimize(copy.constBits());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_PlainCopy8MiB)->Unit(benchmark::kMillisecond)->UseRealTime();

enum FrameKind { RenderOnly, FullFrame };

void draw(BenchView &view, FrameKind kind)
{
    kind == RenderOnly ? view.renderOnly() : view.fullFrame();
}

// update_day_night, then the frame that uploads the changed columns of the night texture
// and draws it. At 64 x 40 the drawing costs next to nothing and the update with its upload
// is what is left; the aim is at most 3 plain copies.
void BM_DayNightFrame(benchmark::State &state, FrameKind kind)
{
    BenchView &view = shown_view(state);
    DayNightScene &s = day_night_scene();
    InCopies copies(state);
    for (auto _ : state) {
        s.nextUpdate();
        draw(view, kind);
    }
}
BENCHMARK_CAPTURE(BM_DayNightFrame, render_only, RenderOnly)
    ->ArgNames({"samples", "width"})
    ->Args({4, 1280})
    ->Args({4, 64})
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_DayNightFrame, full_frame, FullFrame)
    ->ArgNames({"samples", "width"})
    ->Args({4, 1280})
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

// A frame with no texture change, the camera turned a little, as while dragging.
void BM_SteadyFrame(benchmark::State &state, FrameKind kind)
{
    BenchView &view = shown_view(state);
    GlobeScene &scene = day_night_scene().scene;
    draw(view, kind); // uploads whatever changed before
    InCopies copies(state);
    for (auto _ : state) {
        scene.CameraY.setRotationY(scene.CameraY.rotationY() + 0.5f);
        draw(view, kind);
    }
}
// -1 is the app's view as it is made (no multisampling); 4, 2 and
// 0 show what multisampling costs. full_frame less render_only is what Qt's composition of
// the widget into its window and the buffer swap cost.
BENCHMARK_CAPTURE(BM_SteadyFrame, render_only, RenderOnly)
    ->ArgNames({"samples", "width"})
    ->Args({-1, 1280})
    ->Args({4, 1280})
    ->Args({2, 1280})
    ->Args({0, 1280})
    ->Args({4, 64})
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_SteadyFrame, full_frame, FullFrame)
    ->ArgNames({"samples", "width"})
    ->Args({-1, 1280})
    ->Args({4, 1280})
    ->Args({0, 1280})
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

// What Qt's composition of a GL widget into its window costs here: frames that only clear
// the window's 1280 x 800, drawn by a QOpenGLWidget under a label (as the globe view is
// under the legend and status line) and by a QOpenGLWindow that draws straight into the
// window's own buffer, alternately. Counters: the median milliseconds of each and their
// ratio.
class ClearingWidget : public QOpenGLWidget
{
    void paintGL() override
    {
        context()->functions()->glClearColor(0, 0, 0, 1);
        context()->functions()->glClear(GL_COLOR_BUFFER_BIT);
    }
};

class ClearingWindow : public QOpenGLWindow
{
    void paintGL() override
    {
        context()->functions()->glClearColor(0, 0, 0, 1);
        context()->functions()->glClear(GL_COLOR_BUFFER_BIT);
    }
};

void BM_Composition(benchmark::State &state)
{
    for (auto &[key, view] : views())
        view->hide();
    QWidget top;
    auto *widget = new ClearingWidget;
    auto *layout = new QVBoxLayout(&top);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(widget);
    new QLabel(QStringLiteral("status line"), widget);
    top.resize(1280, 800);
    ClearingWindow window;
    window.resize(1280, 800);
    top.show();
    window.show();
    if (!QTest::qWaitForWindowExposed(&top) || !QTest::qWaitForWindowExposed(&window))
        qFatal("the composition windows were never exposed");
    for (int i = 0; i < 3; ++i) {
        frame_until_swapped(*widget);
        frame_until_swapped(window);
    }
    std::vector<double> widgetMs, windowMs;
    auto timed = [](auto &surface) {
        const auto start = std::chrono::steady_clock::now();
        frame_until_swapped(surface);
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
            .count();
    };
    for (auto _ : state) {
        widgetMs.push_back(timed(*widget));
        windowMs.push_back(timed(window));
    }
    auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v.empty() ? 0.0 : v[v.size() / 2];
    };
    state.counters["widget_ms"] = median(widgetMs);
    state.counters["window_ms"] = median(windowMs);
    state.counters["ratio"] = median(windowMs) > 0 ? median(widgetMs) / median(windowMs) : 0;
}
BENCHMARK(BM_Composition)->Iterations(40)->Unit(benchmark::kMillisecond)->UseRealTime();

// Which GL the figures are for: a software rasteriser and a GPU differ by orders.
std::string renderer_name()
{
    QOpenGLContext context;
    QOffscreenSurface surface;
    surface.create();
    if (!context.create() || !context.makeCurrent(&surface))
        return "no OpenGL context";
    const auto *name = context.functions()->glGetString(GL_RENDERER);
    std::string text = name ? reinterpret_cast<const char *>(name) : "unknown";
    context.doneCurrent();
    return text;
}

} // namespace

int main(int argc, char **argv)
{
    QSurfaceFormat::setDefaultFormat(globe_surface_format());
    QApplication application(argc, argv);
    init_skyloom_resources();
    benchmark::AddCustomContext("GL_RENDERER", renderer_name());
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    PairReport report({
        {"terminator update + upload vs 8 MiB copy",
         "BM_DayNightFrame/render_only/samples:4/width:64/process_time/real_time",
         "BM_PlainCopy8MiB/real_time", 3.0},
        {"whole frame at 1280 x 800",
         "BM_SteadyFrame/full_frame/samples:-1/width:1280/process_time/real_time", "", 12.0},
        {"globe drawing alone at 1280 x 800",
         "BM_SteadyFrame/render_only/samples:-1/width:1280/process_time/real_time", "", 12.0},
    });
    benchmark::RunSpecifiedBenchmarks(&report);
    benchmark::Shutdown();
    views().clear();
    return 0;
}
