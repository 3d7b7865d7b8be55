#include "app/mainform.h"

#include "app/busyindicator.h"
#include "app/darkstyle.h"
#include "app/resources.h"
#include "app/toolbaricons.h"
#include "globe/daynight.h"
#include "globe/globerenderer.h"
#include "globe/globeview.h"
#include "help/helpform.h"
#include "imaging/imageloader.h"
#include "legend/statusline.h"
#include "maps/frameurls.h"
#include "maps/mapcache.h"
#include "maps/mapdownloader.h"
#include "readout/readoutoverlay.h"
#include "settings/savefailure.h"
#include "settings/settingsform.h"
#include "ui_mainform.h"

#include <QAction>
#include <QCloseEvent>
#include <QDataStream>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFutureWatcher>
#include <QGuiApplication>
#include <QHash>
#include <QKeySequence>
#include <QLoggingCategory>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPromise>
#include <QScreen>
#include <QStandardPaths>
#include <QSystemSemaphore>
#include <QThreadPool>
#include <QTouchEvent>
#include <QWindow>

namespace {
// "skyloom.startup.info=true" in QT_LOGGING_RULES reports when the first map reached the
// screen, for measuring the start.
Q_LOGGING_CATEGORY(startupLog, "skyloom.startup", QtWarningMsg)
// Degrees an arrow key turns the globe, and the wheel delta a zoom key stands for.
constexpr float KeyTurnStep = 5;
constexpr int KeyZoomDelta = 120;
// Only checks; the cache's own age decides.
constexpr int FreshnessCheckMs = 60 * 1000;
// A failed background fetch is tried again after this.
constexpr int RefreshRetryMinutes = 15;
// The window's size in the designer, and after a saved geometry that fits no screen.
constexpr QSize DesignSize(640, 480);

// The normal (not maximised) geometry inside a QWidget::saveGeometry() block.
std::optional<QRect> saved_normal_geometry(const QByteArray &saved)
{
    QDataStream stream(saved);
    stream.setVersion(QDataStream::Qt_4_0);
    quint32 magic = 0;
    quint16 major = 0;
    quint16 minor = 0;
    QRect frame;
    QRect normal;
    stream >> magic >> major >> minor >> frame >> normal;
    if (stream.status() != QDataStream::Ok || magic != 0x1D9D0CB || !normal.isValid())
        return std::nullopt;
    return normal;
}

// A window fits a screen that holds its middle and is at least as large.
bool fits_a_screen(const QRect &rect)
{
    for (const QScreen *screen : QGuiApplication::screens()) {
        const QRect area = screen->geometry();
        if (area.contains(rect.center()) && rect.width() <= area.width() &&
            rect.height() <= area.height())
            return true;
    }
    return false;
}

// Kept in the layout the renderer uploads as it is.
QImage load_texture(const QString &path)
{
    return QImage(path).convertToFormat(QImage::Format_RGBA8888_Premultiplied);
}
} // namespace

TMainForm::TMainForm(MainFormSetup setup, QWidget *parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::TMainForm>())
    , m_clock(setup.clock ? *setup.clock : m_systemClock)
    , m_setup(std::move(setup))
{
    init_skyloom_resources();
    ui->setupUi(this);
    m_drawer = new TDrawer(ui->MultiView1, ui->Body, ui->BodyLayout, this);
    m_legend = create_legend_bars(ui->Viewport3D1);
    ui->DrawerButton->setIcon(menu_icon(devicePixelRatioF()));
    set_font_pixel_size(ui->StatusLabel, 16);

    // Images are decoded on the pool while the window and its GL come up.
    m_imageLoader = new ImageLoader(this);
    connect(m_imageLoader, &ImageLoader::loaded, this, &TMainForm::imageLoaded);
    ui->Viewport3D1->setScene(&m_scene);
    m_scene.changed = [this] { ui->Viewport3D1->update(); };

    for (QPushButton *b :
         {ui->TempsButton, ui->RainButton, ui->WindButton, ui->PressureButton, ui->AnomolyButton})
        connect(b, &QPushButton::clicked, this, [this, b] { TempsButtonClick(b); });
    connect(ui->DayNightButton, &QPushButton::clicked, this, &TMainForm::DayNightButtonClick);
    connect(ui->DrawerButton, &QToolButton::clicked, this, &TMainForm::DrawerButtonClick);
    connect(ui->HelpButton, &QPushButton::clicked, this, &TMainForm::HelpButtonClick);
    connect(ui->SettingsButton, &QPushButton::clicked, this, &TMainForm::SettingsButtonClick);
    GlobeView *view = ui->Viewport3D1;
    connect(view, &GlobeView::mousePressed, this,
            [this](Qt::MouseButton, Qt::KeyboardModifiers, QPointF pos) {
                Viewport3D1MouseDown(float(pos.x()), float(pos.y()));
            });
    connect(view, &GlobeView::mouseMoved, this,
            [this](Qt::MouseButtons buttons, Qt::KeyboardModifiers, QPointF pos) {
                Viewport3D1MouseMove(buttons.testFlag(Qt::LeftButton), float(pos.x()),
                                     float(pos.y()));
            });
    // Connected after the camera, so it reads the globe as the move has turned it.
    m_readout = new ReadoutOverlay(view, m_scene, [this] {
        return ReadoutContext{m_shownView, m_units, m_clock.nowUtc()};
    });
    // The view reports no release; the window watches for it.
    view->installEventFilter(this);
    m_motionClock.start();
    m_spinTimer.setInterval(16);
    connect(&m_spinTimer, &QTimer::timeout, this, &TMainForm::spinStep);
    connect(view, &GlobeView::wheelTurned, this,
            [this](Qt::KeyboardModifiers, int delta) { Viewport3D1MouseWheel(delta); });
    connect(view, &GlobeView::gesture, this, [this](const GestureInfo &info) {
        bool handled = false;
        Viewport3D1Gesture(info, handled);
    });

    FormCreate();
    // The first frame already shows what the first activation will, without the spheres of
    // other views.
    const ViewKind start = m_setup.startView.value_or(m_settings->read_last_sphere());
    turnToTheSun();
    apply_view_visibility(m_scene, start);
    prefetchStartMap(start);
    // A fresh start map needs neither the earth nor the lights until Day/Night is shown,
    // which saves their memory on most days.
    if (!m_prefetched)
        loadEarthAndNight();
    if (startupLog().isInfoEnabled()) {
        connect(view, &QOpenGLWidget::frameSwapped, this, [this, view] {
            if (m_scene.ClimateSphere.visible && !m_scene.climateTexture.image().isNull()) {
                qCInfo(startupLog, "first frame with a map");
                disconnect(view, &QOpenGLWidget::frameSwapped, this, nullptr);
            }
        });
    }
    createKeyActions();
    m_realisticDayNightAction = new QAction(QStringLiteral("Realistic day and night"), this);
    m_realisticDayNightAction->setCheckable(true);
    m_realisticDayNightAction->setChecked(m_realisticDayNight);
    connect(m_realisticDayNightAction, &QAction::toggled, this, &TMainForm::setRealisticDayNight);
    // Screen readers name the window as its title does.
    setAccessibleName(windowTitle());
    restoreWindowGeometry();
    m_freshnessTimer.setInterval(FreshnessCheckMs);
    connect(&m_freshnessTimer, &QTimer::timeout, this, &TMainForm::check_map_freshness);
    m_freshnessTimer.start();
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(view, &QWidget::customContextMenuRequested, this, &TMainForm::Viewport3D1ContextPopup);

    // The help and settings windows come after the main window's creation, which loaded
    // what they show.
    m_helpForm = std::make_unique<THelpForm>(m_product.fileVersion, m_product.buildDate);
    m_settingsForm = std::make_unique<TSettingsForm>();
    // Connected first, so the radios taking the stored flags count as a change, as any
    // change of a pair does.
    connect(m_settingsForm.get(), &TSettingsForm::unitsChanged, this, [this] {
        m_units = m_settingsForm->units();
        m_settingsChanged = true;
    });
    m_settingsForm->setUnits(m_units);
}

TMainForm::~TMainForm() { FormDestroy(); }

GlobeView *TMainForm::viewport() const { return ui->Viewport3D1; }
QLabel *TMainForm::statusLabel() const { return ui->StatusLabel; }
TBusyIndicator *TMainForm::busyIndicator() const { return ui->AniIndicator1; }

QPushButton *TMainForm::buttonForView(ViewKind kind) const
{
    for (QPushButton *b : {ui->TempsButton, ui->RainButton, ui->WindButton, ui->PressureButton,
                           ui->AnomolyButton, ui->DayNightButton})
        if (b->property("tag").toInt() == kind)
            return b;
    return nullptr;
}

void TMainForm::FormCreate()
{
    // Named system-wide object, as an installer or a second instance may look for it.
    m_mutex = std::make_unique<QSystemSemaphore>(QStringLiteral("SkyloomMutex"), 1,
                                                 QSystemSemaphore::Open);
    ui->PressureButton->hide();
    ui->WindButton->setText(QStringLiteral("Wind/Pressure"));

    m_product = load_product_info();
    m_dataDir = m_setup.dataDir.isEmpty() ? m_product.dataDir : with_separator(m_setup.dataDir);
    m_cache = std::make_unique<MapCache>(m_dataDir, m_clock);
    m_settings = std::make_unique<SettingsStore>(m_dataDir);
    const QString server =
        m_setup.mapServer.isEmpty() ? QString::fromLatin1(DefaultMapServer) : m_setup.mapServer;
    m_downloader = new MapDownloader(m_clock, server, this);
    connect(m_downloader, &MapDownloader::finished, this, &TMainForm::download_completed);
    m_units = m_settings->read_unit_flags();
    m_settingsChanged = false;
    m_realisticDayNight = m_settings->read_realistic_day_night();

    camera_home(m_scene, m_camera);

    ui->TempsButton->setProperty("tag", View::Temperature);
    ui->RainButton->setProperty("tag", View::RainSnow);
    ui->WindButton->setProperty("tag", View::Wind);
    ui->PressureButton->setProperty("tag", View::Pressure);
    ui->AnomolyButton->setProperty("tag", View::ClimateChange);
    ui->DayNightButton->setProperty("tag", View::DayNight);

    m_utcStamp = utc_now(m_clock);
    create_legend_labels(m_legend);

    ui->AniIndicator1->setEnabled(false);
    ui->AniIndicator1->hide();

#if defined(Q_OS_ANDROID) || defined(Q_OS_IOS)
    // Only mobile platforms report a real background/resume life cycle.
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState s) {
        if (s == Qt::ApplicationActive)
            HandleAppEvent(1);
        else if (s == Qt::ApplicationSuspended)
            HandleAppEvent(3);
    });
#endif
}

bool TMainForm::loadingImages() const { return m_imageLoader->pending() > 0; }

void TMainForm::loadEarthAndNight()
{
    if (m_earthAndNightRequested)
        return;
    m_earthAndNightRequested = true;
    m_imageLoader->load(NightImage,
                        [] { return load_texture(QStringLiteral(":/textures/nightlights.png")); });
    m_imageLoader->load(EarthImage,
                        [] { return load_texture(QStringLiteral(":/textures/earth.png")); });
}

void TMainForm::prefetchStartMap(ViewKind kind)
{
    if (!View::isMap(kind) || !m_cache->cache_is_fresh(kind))
        return;
    m_prefetched = PrefetchedMap{kind, m_cache->fileTime(kind), {}};
    m_imageLoader->load(StartMap,
                        [path = m_cache->cache_file_name(kind)] { return read_map_file(path); });
}

void TMainForm::imageLoaded(int job, const QImage &image)
{
    switch (job) {
    case EarthImage:
        m_scene.earthTexture.setImage(image);
        break;
    case NightImage:
        // Shared until the first cut copies it.
        m_nightLightsCopy = image;
        m_scene.nightTexture.setImage(image);
        // A terminator worked out before the lights came cuts them now.
        if (m_scene.NightSphere.visible)
            update_day_night();
        break;
    case StartMap:
        // Too late once the first activation has loaded the view by itself.
        if (!m_prefetched || !m_firstActivation || image.isNull()) {
            m_prefetched.reset();
            // The earth stands in until a map comes, unless the activation brought one.
            if (m_scene.climateTexture.image().isNull())
                loadEarthAndNight();
            return;
        }
        m_prefetched->image = image;
        m_scene.climateTexture.setImage(image);
        break;
    default:
        return;
    }
    m_scene.notifyChanged();
}

void TMainForm::FormActivate()
{
    if (m_firstActivation) {
        turnToTheSun();
        const ViewKind stored = m_settings->read_last_sphere();
        m_currentView = m_setup.startView.value_or(stored);
        // Until its first map arrives, the chosen view stands over the bare earth.
        m_shownView = m_currentView;
        startView(m_currentView);
        if (m_setup.startView)
            m_keptLastSphere = stored;
    }
    ShowView(View::Refresh);
    m_firstActivation = false;
    m_prefetched.reset();
}

void TMainForm::turnToTheSun()
{
    // Every view starts turned so that the meridian under the sun faces the camera.
    update_day_night();
    m_scene.ClimateSphere.setRotationY(m_scene.EarthSphere.rotationY());
}

void TMainForm::ResetViewClick()
{
    turnToTheSun();
    camera_home(m_scene, m_camera);
}

void TMainForm::FullScreenClick() { setWindowState(windowState() ^ Qt::WindowFullScreen); }

QAction *TMainForm::addKeyAction(const QString &text, const QList<QKeySequence> &keys,
                                 std::function<void()> handler)
{
    auto *action = new QAction(text, this);
    action->setShortcuts(keys);
    // Window-wide, so the keys work whether a drawer button or nothing has the focus.
    action->setShortcutContext(Qt::WindowShortcut);
    // Any key may turn the globe or change what it shows under a resting pointer.
    connect(action, &QAction::triggered, this, [this, handler = std::move(handler)] {
        handler();
        m_readout->refresh();
    });
    addAction(action);
    return action;
}

bool TMainForm::turnCamera(float dYaw, float dPitch)
{
    const bool moved = camera_turn(m_scene, dYaw, dPitch);
    m_camera.FYCameraAngle = m_scene.CameraY.rotationY();
    m_camera.FXCameraAngle = m_scene.CameraX.rotationX();
    return moved;
}

void TMainForm::createKeyActions()
{
    // The same ways as a drag: right turns like a drag to the right, up like a drag upwards.
    addKeyAction(QStringLiteral("Turn left"), {Qt::Key_Left},
                 [this] { turnCamera(-KeyTurnStep, 0); });
    addKeyAction(QStringLiteral("Turn right"), {Qt::Key_Right},
                 [this] { turnCamera(KeyTurnStep, 0); });
    addKeyAction(QStringLiteral("Turn up"), {Qt::Key_Up}, [this] { turnCamera(0, KeyTurnStep); });
    addKeyAction(QStringLiteral("Turn down"), {Qt::Key_Down},
                 [this] { turnCamera(0, -KeyTurnStep); });
    // '=' too: '+' needs Shift on many keyboards.
    addKeyAction(QStringLiteral("Zoom in"), {Qt::Key_Plus, Qt::Key_Equal},
                 [this] { Viewport3D1MouseWheel(KeyZoomDelta); });
    addKeyAction(QStringLiteral("Zoom out"), {Qt::Key_Minus},
                 [this] { Viewport3D1MouseWheel(-KeyZoomDelta); });
    m_resetViewAction =
        addKeyAction(QStringLiteral("Reset view"), {Qt::Key_Home}, [this] { ResetViewClick(); });
    m_refreshAction =
        addKeyAction(QStringLiteral("Refresh"), {Qt::Key_F5}, [this] { RefreshClick(); });
    m_savePictureAction =
        addKeyAction(QStringLiteral("Save picture..."), {QKeySequence(Qt::CTRL | Qt::Key_S)},
                     [this] { SavePictureClick(); });
    const std::pair<Qt::Key, QPushButton *> viewKeys[] = {{Qt::Key_1, ui->TempsButton},
                                                          {Qt::Key_2, ui->RainButton},
                                                          {Qt::Key_3, ui->WindButton},
                                                          {Qt::Key_4, ui->AnomolyButton},
                                                          {Qt::Key_5, ui->DayNightButton}};
    for (const auto &[key, button] : viewKeys) {
        QPushButton *b = button;
        addKeyAction(b->text(), {key}, [this, b] {
            if (b == ui->DayNightButton)
                DayNightButtonClick();
            else
                TempsButtonClick(b);
        });
    }
    addKeyAction(QStringLiteral("Help"), {Qt::Key_F1}, [this] { HelpButtonClick(); });
    addKeyAction(QStringLiteral("Settings"), {QKeySequence(Qt::CTRL | Qt::Key_Comma)},
                 [this] { SettingsButtonClick(); });
    addKeyAction(QStringLiteral("Full screen"), {Qt::Key_F11}, [this] { FullScreenClick(); });
    // A close, so the settings are saved as when the window is closed.
    addKeyAction(QStringLiteral("Quit"), {QKeySequence(Qt::CTRL | Qt::Key_Q)}, [this] { close(); });

    // The drawer's buttons: Tab reaches them, Space and Enter press them; a mouse click
    // leaves no focus mark behind.
    for (QPushButton *b : ui->Rectangle2->findChildren<QPushButton *>()) {
        b->setFocusPolicy(Qt::TabFocus);
        b->setAutoDefault(true);
    }
    // The globe holds the focus at start and after a click, so no button shows a mark until
    // the keyboard moves to it; it is no Tab stop, as it has no mark of its own.
    ui->Viewport3D1->setFocusPolicy(Qt::ClickFocus);
    ui->Viewport3D1->setFocus();
}

void TMainForm::startView(ViewKind kind)
{
    if (View::isMap(kind))
        TempsButtonClick(buttonForView(kind));
    else if (kind == View::DayNight)
        DayNightButtonClick();
}

void TMainForm::FormResize()
{
    const double ratio = double(width()) / double(height());
    m_drawer->setMode(ratio <= 1.25 ? TDrawer::Mode::Drawer : TDrawer::Mode::Panel);
    ui->StatusLabel->resize(ui->ToolBar1->width() - ui->StatusLabel->x() - 13,
                            ui->StatusLabel->height());
    layout_legend(m_legend, m_shownView, m_units);
}

void TMainForm::FormClose()
{
    // A settings file that cannot be written is reported once; the window still closes.
    const SaveResult result = saveSettings();
    if (!result.ok)
        report_save_failure(this, result.error);
}

SaveResult TMainForm::saveSettings()
{
    if (m_settingsChanged) {
        m_settingsChanged = false;
        const SaveResult units = m_settings->save_unit_flags(m_units);
        if (!units.ok)
            return units;
    }
    const SaveResult lastSphere =
        m_settings->save_last_sphere(m_keptLastSphere.value_or(m_currentView));
    if (!lastSphere.ok || !m_realisticDayNightChanged)
        return lastSphere;
    m_realisticDayNightChanged = false;
    return m_settings->save_realistic_day_night(m_realisticDayNight);
}

void TMainForm::restoreWindowGeometry()
{
    const QByteArray saved = m_settings->read_window_geometry();
    if (saved.isEmpty())
        return;
    const std::optional<QRect> normal = saved_normal_geometry(saved);
    if (normal && fits_a_screen(*normal) && restoreGeometry(saved))
        return;
    // A screen that has gone, or a block that is no geometry: as at a first start, centred.
    setWindowState(Qt::WindowNoState);
    resize(DesignSize);
    if (const QScreen *primary = QGuiApplication::primaryScreen()) {
        QRect placed(QPoint(), DesignSize);
        placed.moveCenter(primary->availableGeometry().center());
        move(placed.topLeft());
    }
}

void TMainForm::FormDestroy()
{
    m_nightLightsCopy = QImage();
    // Running downloads are dropped; nothing they started reaches this window afterwards.
    delete m_downloader;
    m_downloader = nullptr;
    m_mutex.reset();
}

void TMainForm::TempsButtonClick(QObject *sender)
{
    const ViewKind kind = sender->property("tag").toInt();
    m_currentView = kind;
    m_keptLastSphere.reset();
    m_statusError.clear();
    if (m_helpForm)
        m_helpForm->close();
    if (m_settingsForm)
        m_settingsForm->close();
    // A fresh file that turns out damaged is gone after the attempt: download instead.
    if (!m_cache->cache_is_fresh(kind) || !load_cached_map(kind))
        load_from_internet(kind);
    m_drawer->hideDrawer();
}

void TMainForm::DayNightButtonClick()
{
    m_currentView = View::DayNight;
    m_keptLastSphere.reset();
    m_statusError.clear();
    ShowView(View::DayNight);
    m_drawer->hideDrawer();
}

void TMainForm::ShowView(ViewKind kind)
{
    if (kind == View::Refresh)
        kind = m_shownView;
    if (kind == View::DayNight) {
        loadEarthAndNight();
        update_day_night();
    }
    if (apply_view_visibility(m_scene, kind))
        m_shownView = kind;
    layout_legend(m_legend, kind, m_units);
    updateAccessibleDescription();
    show_clock_status();
    // An error stays on screen until another view is chosen.
    show_status_error();
    m_firstActivation = false;
    m_readout->refresh();
}

bool TMainForm::load_cached_map(ViewKind kind)
{
    clear_status();
    if (!m_cache->exists(kind)) {
        m_statusError = QStringLiteral("Cannot Open File");
        show_status_error();
        return false;
    }
    QImage image;
    // The file the start-up decoded, if it has not been replaced since.
    if (m_prefetched && m_prefetched->kind == kind &&
        m_prefetched->fileTime == m_cache->fileTime(kind))
        image = m_prefetched->image;
    m_prefetched.reset();
    if (image.isNull())
        image = m_cache->load(kind);
    // A map larger than this display's GL can hold would never reach the globe.
    if (image.isNull() || !GlobeRenderer::fitsKnownMaxTextureSize(image.size()))
        return false;
    m_scene.climateTexture.setImage(image);
    m_mapSource = Source::Cache;
    m_utcStamp = utc_now(m_clock);
    ShowView(kind);
    show_file_date_status(kind);
    show_status_error();
    return true;
}

void TMainForm::load_from_internet(ViewKind kind)
{
    clear_status();
    m_downloader->load_from_internet(kind);
    updateBusyIndicator();
}

bool TMainForm::refresh_in_background(ViewKind kind)
{
    // The status line stays as it is: the old map is on the globe until the new one comes.
    if (!m_downloader->load_from_internet(kind))
        return false;
    m_lastRefresh[kind] = m_clock.nowUtc();
    updateBusyIndicator();
    return true;
}

bool TMainForm::check_map_freshness()
{
    const ViewKind kind = m_shownView;
    // Only the map the user is looking at; a chosen view still on its way has its download.
    if (!View::isMap(kind) || kind != m_currentView || m_downloader->isRunning(kind) ||
        m_cache->cache_is_fresh(kind))
        return false;
    const auto last = m_lastRefresh.find(kind);
    if (last != m_lastRefresh.end() &&
        last->second.addSecs(RefreshRetryMinutes * 60) > m_clock.nowUtc())
        return false;
    return refresh_in_background(kind);
}

void TMainForm::RefreshClick()
{
    // A map view still on its way has its download already.
    if (View::isMap(m_shownView) && m_shownView == m_currentView)
        refresh_in_background(m_shownView);
    else if (m_shownView == View::DayNight)
        ShowView(View::DayNight);
}

QImage TMainForm::globePicture() const
{
    // The view with its children: the globe and the legend bar docked on it.
    QImage picture = ui->Viewport3D1->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QString status = ui->StatusLabel->text();
    if (status.isEmpty())
        return picture;
    QPainter painter(&picture);
    const qreal dpr = picture.devicePixelRatio();
    const QRectF band(0, 0, picture.width() / dpr, ui->ToolBar1->height());
    painter.fillRect(band, QColor(0x25, 0x25, 0x26, 200));
    painter.setFont(ui->StatusLabel->font());
    painter.setPen(QColor(0xF0, 0xF0, 0xF0));
    painter.drawText(band.adjusted(8, 2, -8, -2),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap, status);
    return picture;
}

void TMainForm::updateAccessibleDescription()
{
    // The view is named as its button is.
    const QPushButton *button = buttonForView(m_shownView);
    const QString time = QStringLiteral("yyyy-MM-dd HH:mm 'UTC'");
    const QString name = button ? button->text() : QString();
    // The globe itself says nothing to a screen reader; this says what is on it.
    ui->Viewport3D1->setAccessibleDescription(
        View::isMap(m_shownView)
            ? QStringLiteral("Globe showing the %1 map of %2")
                  .arg(name, from_days(m_utcStamp).toString(time))
            : QStringLiteral("Globe showing %1 at %2").arg(name, m_clock.nowUtc().toString(time)));
}

QString TMainForm::suggestedPictureName() const
{
    static const QHash<ViewKind, QString> names = {
        {View::Temperature, QStringLiteral("temperature")},
        {View::RainSnow, QStringLiteral("rain-snow")},
        {View::Wind, QStringLiteral("wind-pressure")},
        {View::Pressure, QStringLiteral("pressure")},
        {View::ClimateChange, QStringLiteral("climate-change")},
        {View::DayNight, QStringLiteral("day-night")}};
    // A map is named by its time; the terminator is now.
    const QDateTime when = View::isMap(m_shownView) ? from_days(m_utcStamp) : m_clock.nowUtc();
    return QStringLiteral("skyloom-%1-%2.png")
        .arg(names.value(m_shownView, QStringLiteral("globe")),
             when.toUTC().toString(QStringLiteral("yyyy-MM-dd-HHmm")));
}

void TMainForm::SavePictureClick()
{
    const QString suggested = suggestedPictureName();
    QString path;
    if (m_savePathPrompt) {
        path = m_savePathPrompt(suggested);
    } else {
        const QString folder = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
        path = QFileDialog::getSaveFileName(this, QStringLiteral("Save picture"),
                                            QDir(folder).filePath(suggested),
                                            QStringLiteral("PNG images (*.png)"));
    }
    if (path.isEmpty())
        return;
    const QImage picture = globePicture();
    // Encoding and writing run on the pool so the window never waits on the disk; the
    // watcher, a child of the window, brings the answer back to this thread or dies with it.
    auto promise = std::make_shared<QPromise<bool>>();
    auto *watcher = new QFutureWatcher<bool>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, path] {
        const QFuture<bool> future = watcher->future();
        const bool ok = future.resultCount() > 0 && future.result();
        watcher->deleteLater();
        if (!ok)
            set_status(QStringLiteral("Unable to save the picture to ") + path);
        emit pictureSaved(path, ok);
    });
    watcher->setFuture(promise->future());
    promise->start();
    QThreadPool::globalInstance()->start([promise, picture, path] {
        promise->addResult(picture.save(path, "PNG"));
        promise->finish();
    });
}

void TMainForm::Viewport3D1ContextPopup(QPoint pos)
{
    if (!m_globeMenu) {
        m_globeMenu = new QMenu(this);
        m_globeMenu->addAction(m_refreshAction);
        m_globeMenu->addAction(m_resetViewAction);
        m_globeMenu->addAction(m_savePictureAction);
        m_globeMenu->addSeparator();
        m_globeMenu->addAction(m_realisticDayNightAction);
    }
    m_globeMenu->popup(ui->Viewport3D1->mapToGlobal(pos));
}

void TMainForm::download_completed(const MapDownloadResult &result)
{
    updateBusyIndicator();
    if (result.kind != m_currentView) {
        // The user has moved on: the map is kept for the next switch, the screen stays.
        if (!result.png.isEmpty())
            m_cache->save(result.kind, result.png);
        return;
    }
    ui->StatusLabel->setToolTip(result.networkError);
    m_statusError = result.error;
    if (!result.fetched) {
        // The view's own older map, if it has one; the globe keeps its map otherwise.
        load_cached_map(result.kind);
        show_status_error();
        return;
    }
    if (result.texture.isNull() || !GlobeRenderer::fitsKnownMaxTextureSize(result.texture.size())) {
        m_statusError = QStringLiteral("Image Error");
        show_status_error();
        return;
    }
    m_scene.climateTexture.setImage(result.texture);
    m_mapSource = result.source;
    m_utcStamp = result.utcStamp;
    m_statusError = m_cache->save(result.kind, result.png);
    ShowView(result.kind);
}

void TMainForm::update_day_night()
{
    ::update_day_night(m_scene, m_nightLightsCopy, m_clock.nowUtc(),
                       m_realisticDayNight ? Terminator::TrueSun : Terminator::Band);
}

void TMainForm::setRealisticDayNight(bool realistic)
{
    if (realistic == m_realisticDayNight)
        return;
    m_realisticDayNight = realistic;
    m_realisticDayNightChanged = true;
    m_realisticDayNightAction->setChecked(realistic);
    // Hidden spheres take the change when Day/Night is next shown.
    if (m_shownView == View::DayNight)
        update_day_night();
}

void TMainForm::updateBusyIndicator()
{
    const bool busy = m_downloader && m_downloader->isBusy();
    ui->AniIndicator1->setEnabled(busy);
    ui->AniIndicator1->setVisible(busy);
}

void TMainForm::set_status(const QString &text)
{
    // QLabel breaks lines at '\n' only.
    ui->StatusLabel->setText(QString(text).replace(StatusLineBreak, QLatin1Char('\n')));
}

void TMainForm::clear_status() { set_status(QString()); }

void TMainForm::show_status_error()
{
    if (!m_statusError.isEmpty())
        set_status(m_statusError);
}

void TMainForm::show_clock_status()
{
    set_status(clock_status(m_shownView, m_mapSource, m_units.utc, m_utcStamp, m_clock.nowUtc(),
                            QLocale()));
}

void TMainForm::show_file_date_status(ViewKind kind)
{
    const QDateTime written = m_cache->fileTime(kind);
    if (written.isValid())
        set_status(file_date_status(kind, m_mapSource, written, m_units.utc, QLocale()));
}

void TMainForm::Viewport3D1MouseDown(float x, float y)
{
    // A tap on the globe puts a slid-in drawer away.
    m_drawer->hideDrawer();
    // A press catches a spinning globe at once.
    m_spinTimer.stop();
    m_kinetic.press(motionTime());
    camera_mouse_down(m_camera, x, y);
    m_readout->refresh();
}

void TMainForm::Viewport3D1MouseMove(bool leftButton, float x, float y)
{
    if (leftButton)
        m_kinetic.move((x - m_camera.down.X) * CameraTurnPerPixel,
                       -(y - m_camera.down.Y) * CameraTurnPerPixel, motionTime());
    camera_mouse_move(m_scene, m_camera, leftButton, x, y);
}

void TMainForm::Viewport3D1MouseUp(float, float)
{
    if (m_kinetic.release(motionTime())) {
        m_spinTimer.start();
        // Not looked up frame by frame while the globe turns on; back when it stops.
        m_readout->suspend();
    }
}

qint64 TMainForm::motionTime() const
{
    return m_motionTime ? m_motionTime() : m_motionClock.elapsed();
}

void TMainForm::spinStep()
{
    const KineticTurn::Step step = m_kinetic.step(motionTime());
    const bool due = step.dYaw != 0 || step.dPitch != 0;
    // Nothing runs while the globe is still, held at a pitch limit included.
    if ((due && !turnCamera(step.dYaw, step.dPitch)) || !m_kinetic.isSpinning()) {
        m_kinetic.stop();
        m_spinTimer.stop();
        m_readout->refresh();
    }
}

void TMainForm::Viewport3D1MouseWheel(int delta)
{
    camera_mouse_wheel(m_scene, delta);
    m_readout->refresh();
}

void TMainForm::Viewport3D1Gesture(const GestureInfo &info, bool &handled)
{
    camera_gesture(m_scene, m_camera, info, handled);
    m_readout->refresh();
}

void TMainForm::DrawerButtonClick() { m_drawer->showDrawer(); }

void TMainForm::HelpButtonClick()
{
    m_drawer->hideDrawer();
    showModal(m_helpForm.get());
}

void TMainForm::SettingsButtonClick()
{
    m_drawer->hideDrawer();
    showModal(m_settingsForm.get());
}

void TMainForm::showModal(QDialog *window)
{
    if (!window)
        return;
    window->setWindowModality(Qt::ApplicationModal);
    // Kept above the main window by the window manager, and out of the task bar.
    window->winId();
    if (QWindow *handle = window->windowHandle())
        handle->setTransientParent(windowHandle());
    // The completion closes the same window, whatever the result, and hands the focus back:
    // a window manager would, a bare X server does not, and the view must come back in the
    // new units either way.
    disconnect(window, &QDialog::finished, this, nullptr);
    connect(window, &QDialog::finished, this, [this, window] {
        window->close();
        activateWindow();
    });
    window->show();
    window->raise();
    window->activateWindow();
}

bool TMainForm::HandleAppEvent(int eventCode)
{
    if (eventCode == 1) {
        m_currentView = m_settings->read_last_sphere();
        startView(m_currentView);
    } else if (eventCode == 3) {
        saveSettings();
    }
    return true;
}

bool TMainForm::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate)
        FormActivate();
    return QWidget::event(event);
}

bool TMainForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ui->Viewport3D1) {
        switch (event->type()) {
        case QEvent::MouseButtonRelease: {
            auto *mouse = static_cast<QMouseEvent *>(event);
            if (mouse->button() == Qt::LeftButton)
                Viewport3D1MouseUp(float(mouse->position().x()), float(mouse->position().y()));
            break;
        }
        case QEvent::TouchUpdate:
            // A second finger makes a pinch: the swipe so far leaves no spin behind.
            if (static_cast<QTouchEvent *>(event)->pointCount() > 1)
                m_kinetic.press(motionTime());
            break;
        case QEvent::TouchEnd:
            Viewport3D1MouseUp(0, 0);
            break;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TMainForm::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    FormResize();
}

void TMainForm::closeEvent(QCloseEvent *event)
{
    FormClose();
    // Quietly: a folder that cannot be written has just been reported by FormClose.
    m_settings->save_window_geometry(saveGeometry());
    QWidget::closeEvent(event);
}
