#include "app/mainform.h"

#include "app/appstate.h"
#include "app/busyindicator.h"
#include "app/darkstyle.h"
#include "app/resources.h"
#include "app/showview.h"
#include "app/toolbaricons.h"
#include "globe/daynight.h"
#include "globe/globeview.h"
#include "help/helpform.h"
#include "legend/legendbars.h"
#include "maps/download.h"
#include "maps/frameurls.h"
#include "maps/httpclient.h"
#include "maps/mapcache.h"
#include "product/productinfo.h"
#include "settings/savefailure.h"
#include "settings/settingsform.h"
#include "settings/settingsstore.h"
#include "ui_mainform.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QSystemSemaphore>
#include <QWindow>

namespace {
// Kept in the layout the renderer uploads as it is.
QImage load_texture(const QString &path)
{
    return QImage(path).convertToFormat(QImage::Format_RGBA8888_Premultiplied);
}
} // namespace

TMainForm::TMainForm(QWidget *parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::TMainForm>())
{
    init_skyloom_resources();
    ui->setupUi(this);
    app().MainForm = this;
    m_drawer = new TDrawer(ui->MultiView1, ui->Body, ui->BodyLayout, this);
    m_legend = create_legend_bars(ui->Viewport3D1);
    ui->DrawerButton->setIcon(menu_icon(devicePixelRatioF()));
    set_font_pixel_size(ui->StatusLabel, 16);

    m_scene.earthTexture.setImage(load_texture(QStringLiteral(":/textures/earth.png")));
    m_scene.nightTexture.setImage(load_texture(QStringLiteral(":/textures/nightlights.png")));
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
    connect(view, &GlobeView::wheelTurned, this,
            [this](Qt::KeyboardModifiers, int delta) { Viewport3D1MouseWheel(delta); });
    connect(view, &GlobeView::gesture, this, [this](const GestureInfo &info) {
        bool handled = false;
        Viewport3D1Gesture(info, handled);
    });

    FormCreate();
}

TMainForm::~TMainForm()
{
    FormDestroy();
    if (app().MainForm == this)
        app().MainForm = nullptr;
}

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
    AppState &state = app();
    // Named system-wide object, as an installer or a second instance may look for it.
    m_mutex = std::make_unique<QSystemSemaphore>(QStringLiteral("SkyloomMutex"), 1,
                                                 QSystemSemaphore::Open);
    ui->PressureButton->hide();
    ui->WindButton->setText(QStringLiteral("Wind/Pressure"));
    state.HttpClientObject = create_http_client(this);
    state.DataDir = load_product_info();
    read_unit_flags();

    m_scene.Camera1.position = QVector3D(0, 0, -(m_scene.ClimateSphere.size.x() * 2.25f));

    ui->TempsButton->setProperty("tag", View::Temperature);
    ui->RainButton->setProperty("tag", View::RainSnow);
    ui->WindButton->setProperty("tag", View::Wind);
    ui->PressureButton->setProperty("tag", View::Pressure);
    ui->AnomolyButton->setProperty("tag", View::ClimateChange);
    ui->DayNightButton->setProperty("tag", View::DayNight);

    state.UtcStamp = utc_now();
    create_legend_labels(m_legend);

    // The pristine night lights that every terminator update starts from.
    state.NightLightsCopy = m_scene.nightTexture.image().copy();

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

void TMainForm::FormActivate()
{
    AppState &state = app();
    if (state.FirstActivation) {
        // Every view starts turned so that the meridian under the sun faces the camera.
        update_day_night();
        m_scene.ClimateSphere.setRotationY(m_scene.EarthSphere.rotationY());
        state.CurrentView = read_last_sphere();
        startView(state.CurrentView);
    }
    ShowView(state.CurrentView);
    state.FirstActivation = false;
}

void TMainForm::startView(ViewKind kind)
{
    if (View::isMap(kind))
        TempsButtonClick(buttonForView(kind));
    else if (kind == View::DayNight)
        ShowView(View::DayNight);
}

void TMainForm::FormResize()
{
    const double ratio = double(width()) / double(height());
    m_drawer->setMode(ratio <= 1.25 ? TDrawer::Mode::Drawer : TDrawer::Mode::Panel);
    ui->StatusLabel->resize(ui->ToolBar1->width() - ui->StatusLabel->x() - 13,
                            ui->StatusLabel->height());
    layout_legend(m_legend, current_view());
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
    const SaveResult units = save_unit_flags();
    if (!units.ok)
        return units;
    return save_last_sphere(current_view());
}

void TMainForm::FormDestroy()
{
    AppState &state = app();
    state.NightLightsCopy = QImage();
    // Aborts running downloads and lets their workers end before the client goes.
    delete state.HttpClientObject;
    state.HttpClientObject = nullptr;
    m_mutex.reset();
}

void TMainForm::NetHTTPClient1RequestError(const QString &error) { app().StatusError = error; }

void TMainForm::TempsButtonClick(QObject *sender)
{
    AppState &state = app();
    state.CurrentView = sender->property("tag").toInt();
    state.MapSource = Source::TodayFrame;
    if (state.HelpForm)
        state.HelpForm->close();
    if (state.SettingsForm)
        state.SettingsForm->close();
    const FrameDate today = set_today_vars(state.CurrentView);
    if (cache_is_fresh(state.CurrentView)) {
        state.MapSource = Source::Cache;
        load_cached_map(state.CurrentView);
    } else {
        load_from_internet(state.CurrentView, today);
    }
    m_drawer->hideDrawer();
}

void TMainForm::DayNightButtonClick()
{
    app().CurrentView = View::DayNight;
    ShowView(View::DayNight);
    m_drawer->hideDrawer();
}

void TMainForm::Viewport3D1MouseDown(float x, float y)
{
    // A tap on the globe puts a slid-in drawer away.
    m_drawer->hideDrawer();
    camera_mouse_down(m_camera, x, y);
}

void TMainForm::Viewport3D1MouseMove(bool leftButton, float x, float y)
{
    camera_mouse_move(m_scene, m_camera, leftButton, x, y);
}

void TMainForm::Viewport3D1MouseWheel(int delta) { camera_mouse_wheel(m_scene, delta); }

void TMainForm::Viewport3D1Gesture(const GestureInfo &info, bool &handled)
{
    camera_gesture(m_scene, m_camera, info, handled);
}

void TMainForm::DrawerButtonClick() { m_drawer->showDrawer(); }

void TMainForm::HelpButtonClick()
{
    m_drawer->hideDrawer();
    showModal(app().HelpForm);
}

void TMainForm::SettingsButtonClick()
{
    m_drawer->hideDrawer();
    showModal(app().SettingsForm);
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
    AppState &state = app();
    if (eventCode == 1) {
        state.CurrentView = read_last_sphere();
        startView(state.CurrentView);
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

void TMainForm::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    FormResize();
}

void TMainForm::closeEvent(QCloseEvent *event)
{
    FormClose();
    QWidget::closeEvent(event);
}
