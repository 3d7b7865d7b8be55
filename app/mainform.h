#pragma once

#include "app/drawer.h"
#include "core/datetime.h"
#include "core/globetypes.h"
#include "core/unitflags.h"
#include "globe/cameracontrol.h"
#include "globe/globescene.h"
#include "globe/kinetic.h"
#include "legend/legendbars.h"
#include "product/productinfo.h"
#include "settings/settingsstore.h"

#include <QElapsedTimer>
#include <QPointF>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <map>
#include <memory>
#include <optional>

namespace Ui {
class TMainForm;
}
class QAction;
class QDialog;
class QMenu;
class QKeySequence;
class QPushButton;
class QLabel;
class QSystemSemaphore;
class GlobeView;
class ImageLoader;
class MapCache;
class MapDownloader;
class ReadoutOverlay;
struct MapDownloadResult;
class TBusyIndicator;
class THelpForm;
class TSettingsForm;

// What the main window builds its services from. A running program takes the defaults;
// tests hand in a fixed clock, a local map server and a folder of their own.
struct MainFormSetup
{
    const Clock *clock = nullptr;      // null: the system clock
    QString mapServer;                 // empty: the public map server
    QString dataDir;                   // empty: the platform's data folder
    std::optional<ViewKind> startView; // instead of the stored last view, at the first start
};

// The main window. It owns the view state, the scene, the map services and the other two
// windows; everything it shows comes from here.
class TMainForm : public QWidget
{
    Q_OBJECT

public:
    explicit TMainForm(MainFormSetup setup = {}, QWidget *parent = nullptr);
    ~TMainForm() override;

    GlobeScene &scene() { return m_scene; }
    GlobeView *viewport() const;
    QLabel *statusLabel() const;
    TBusyIndicator *busyIndicator() const;
    TDrawer *drawer() const { return m_drawer; }
    // The position and value under the pointer, over the globe's bottom-left corner.
    ReadoutOverlay *readout() const { return m_readout; }
    QPushButton *buttonForView(ViewKind kind) const;
    LegendBars &legendBars() { return m_legend; }
    MapDownloader &downloader() const { return *m_downloader; }
    const MapCache &cache() const { return *m_cache; }
    THelpForm *helpForm() const { return m_helpForm.get(); }
    TSettingsForm *settingsForm() const { return m_settingsForm.get(); }
    const CameraHandlerState &cameraState() const { return m_camera; }
    QAction *resetViewAction() const { return m_resetViewAction; }
    QAction *refreshAction() const { return m_refreshAction; }
    QAction *savePictureAction() const { return m_savePictureAction; }
    // Checked while Day/Night shows the sun's true terminator instead of the fixed band.
    QAction *realisticDayNightAction() const { return m_realisticDayNightAction; }
    // The globe's right-click menu; null until first asked for.
    QMenu *globeMenu() const { return m_globeMenu; }
    const QTimer &freshnessTimer() const { return m_freshnessTimer; }
    // Milliseconds for the drag and spin, from a steady clock; tests step their own.
    void setMotionClock(std::function<qint64()> now) { m_motionTime = std::move(now); }
    // Runs only while the globe spins on after a drag.
    const QTimer &spinTimer() const { return m_spinTimer; }

    // The view the user chose last.
    ViewKind currentView() const { return m_currentView; }
    // The view whose map or earth is on the globe, which the title and legend describe.
    ViewKind shownView() const { return m_shownView; }
    // Where the map on the climate sphere came from.
    MapSourceKind mapSource() const { return m_mapSource; }
    const QString &statusError() const { return m_statusError; }
    DateTimeDays utcStamp() const { return m_utcStamp; }
    const UnitFlags &units() const { return m_units; }
    bool settingsChanged() const { return m_settingsChanged; }
    bool firstActivation() const { return m_firstActivation; }
    // Whether images are still being decoded in the background: the earth and night
    // lights (at start, or at the first Day/Night when a start map made them wait) and the
    // start view's map.
    bool loadingImages() const;
    const QString &dataDir() const { return m_dataDir; }

    void FormCreate();
    void FormActivate();
    void FormResize();
    void FormClose();
    void FormDestroy();
    void TempsButtonClick(QObject *sender);
    void DayNightButtonClick();
    void DrawerButtonClick();
    void HelpButtonClick();
    void SettingsButtonClick();
    void Viewport3D1MouseDown(float x, float y);
    void Viewport3D1MouseMove(bool leftButton, float x, float y);
    // The left button let go: a drag still moving leaves the globe spinning.
    void Viewport3D1MouseUp(float x, float y);
    void Viewport3D1MouseWheel(int delta);
    void Viewport3D1Gesture(const GestureInfo &info, bool &handled);
    // Back to the start-up camera, the meridian under the sun facing the viewer (Home).
    void ResetViewClick();
    // Fetches the shown map view again now, whatever its age, keeping the status line until
    // the answer (F5); Day/Night works out its terminator again.
    void RefreshClick();
    // Saves what the globe view shows, legend bar and status text included, as a PNG where
    // the user says (Ctrl+S); written off the UI thread, reported by pictureSaved.
    void SavePictureClick();
    // What SavePictureClick saves: the view's picture with the status text over its top.
    QImage globePicture() const;
    // skyloom-<view>-<map time, UTC>.png
    QString suggestedPictureName() const;
    // Asks where to save a picture, given the suggested file name; empty cancels. Tests put
    // their own in place of the file dialog.
    void setSavePathPrompt(std::function<QString(const QString &)> prompt)
    {
        m_savePathPrompt = std::move(prompt);
    }
    // Opens the globe's menu at a point of the view.
    void Viewport3D1ContextPopup(QPoint pos);
    // Full screen on and off (F11).
    void FullScreenClick();
    // Platform life-cycle events: 1 became active, 3 entered the background.
    bool HandleAppEvent(int eventCode);

    // Shows one view on the globe with its legend and clock text; 10 shows again the view
    // that is on the globe.
    void ShowView(ViewKind kind);
    // Loads the view's cache file onto the climate sphere and shows the view with the file's
    // date. A missing file says "Cannot Open File"; a damaged one is deleted without a word.
    // Either way the globe keeps what it shows, and the answer is false.
    bool load_cached_map(ViewKind kind);
    void load_from_internet(ViewKind kind);
    // Fetches the shown map again once its cache file has reached the freshness limit, as a
    // switch to the view would, but keeping the status line; answers whether it started.
    bool check_map_freshness();
    void download_completed(const MapDownloadResult &result);
    void update_day_night();
    bool realisticDayNight() const { return m_realisticDayNight; }
    // Switches Day/Night between the fixed band and the true terminator; kept in the
    // settings file with the others.
    void setRealisticDayNight(bool realistic);

signals:
    void pictureSaved(const QString &path, bool ok);

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    // What the window's image loader reads at start.
    enum StartImage { EarthImage, NightImage, StartMap };
    void imageLoaded(int job, const QImage &image);
    // Decodes the start view's cache file beside the window's creation, when it is fresh,
    // so that the first frame can show it.
    void prefetchStartMap(ViewKind kind);
    // Starts decoding the earth and night-light images, once: they are needed for Day/Night
    // and stand in on the globe until a first map comes.
    void loadEarthAndNight();
    // Starts a stored view: maps through their button, Day/Night directly.
    void startView(ViewKind kind);
    // Turns every sphere so that the meridian under the sun faces the start-up camera.
    void turnToTheSun();
    // A key of the whole window, whatever has the focus in it.
    QAction *addKeyAction(const QString &text, const QList<QKeySequence> &keys,
                          std::function<void()> handler);
    void createKeyActions();
    // Answers whether anything moved.
    bool turnCamera(float dYaw, float dPitch);
    void spinStep();
    qint64 motionTime() const;
    void updateAccessibleDescription();
    // The size, place and state the window had at its last close, when it still fits a
    // screen; the design size in the middle of the primary screen when it no longer does.
    void restoreWindowGeometry();
    bool refresh_in_background(ViewKind kind);
    void showModal(QDialog *window);
    // Unit flags (when changed), the last view, then the day/night choice (when changed);
    // stops at the first that fails.
    SaveResult saveSettings();
    void updateBusyIndicator();

    void set_status(const QString &text);
    void clear_status();
    void show_status_error();
    void show_clock_status();
    void show_file_date_status(ViewKind kind);

    std::unique_ptr<Ui::TMainForm> ui;
    SystemClock m_systemClock;
    const Clock &m_clock;
    MainFormSetup m_setup;
    ProductInfo m_product;
    QString m_dataDir;
    std::unique_ptr<MapCache> m_cache;
    std::unique_ptr<SettingsStore> m_settings;
    MapDownloader *m_downloader = nullptr;
    GlobeScene m_scene;
    // The pristine night lights that every terminator update starts from.
    QImage m_nightLightsCopy;
    ImageLoader *m_imageLoader = nullptr;
    bool m_earthAndNightRequested = false;
    // The start view's map as decoded ahead of the first activation, with the date of the
    // file it came from; used once, by the first load of that view from the cache.
    struct PrefetchedMap
    {
        ViewKind kind = View::Temperature;
        QDateTime fileTime;
        QImage image;
    };
    std::optional<PrefetchedMap> m_prefetched;
    TDrawer *m_drawer = nullptr;
    LegendBars m_legend;
    ReadoutOverlay *m_readout = nullptr;
    std::unique_ptr<QSystemSemaphore> m_mutex;
    // down, FLastDistance, FYCameraAngle, FXCameraAngle
    CameraHandlerState m_camera;

    ViewKind m_currentView = View::Temperature;
    ViewKind m_shownView = View::Temperature;
    MapSourceKind m_mapSource = Source::TodayFrame;
    DateTimeDays m_utcStamp = 0;
    QString m_statusError;
    UnitFlags m_units;
    bool m_settingsChanged = false;
    bool m_realisticDayNight = false;
    bool m_realisticDayNightChanged = false;
    bool m_firstActivation = true;
    // The stored last view while a start view from the command line stands in for it; the
    // user's first choice of a view ends it.
    std::optional<ViewKind> m_keptLastSphere;

    QAction *m_resetViewAction = nullptr;
    QAction *m_refreshAction = nullptr;
    QAction *m_savePictureAction = nullptr;
    QAction *m_realisticDayNightAction = nullptr;
    QMenu *m_globeMenu = nullptr;
    std::function<QString(const QString &)> m_savePathPrompt;
    QTimer m_freshnessTimer;
    // When the last background fetch of each view started, so that a server that fails is
    // not asked again every minute.
    std::map<ViewKind, QDateTime> m_lastRefresh;
    KineticTurn m_kinetic;
    QTimer m_spinTimer;
    QElapsedTimer m_motionClock;
    std::function<qint64()> m_motionTime;

    std::unique_ptr<THelpForm> m_helpForm;
    std::unique_ptr<TSettingsForm> m_settingsForm;
};
