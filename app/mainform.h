#pragma once

#include "app/drawer.h"
#include "app/globetypes.h"
#include "globe/cameracontrol.h"
#include "globe/globescene.h"
#include "legend/legendbars.h"
#include "settings/settingsstore.h"

#include <QPointF>
#include <QWidget>

#include <memory>

namespace Ui {
class TMainForm;
}
class QDialog;
class QPushButton;
class QLabel;
class QSystemSemaphore;
class GlobeView;
class TBusyIndicator;

class TMainForm : public QWidget
{
    Q_OBJECT

public:
    explicit TMainForm(QWidget *parent = nullptr);
    ~TMainForm() override;

    GlobeScene &scene() { return m_scene; }
    GlobeView *viewport() const;
    QLabel *statusLabel() const;
    TBusyIndicator *busyIndicator() const;
    TDrawer *drawer() const { return m_drawer; }
    QPushButton *buttonForView(ViewKind kind) const;
    LegendBars &legendBars() { return m_legend; }

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
    void NetHTTPClient1RequestError(const QString &error);
    void Viewport3D1MouseDown(float x, float y);
    void Viewport3D1MouseMove(bool leftButton, float x, float y);
    void Viewport3D1MouseWheel(int delta);
    void Viewport3D1Gesture(const GestureInfo &info, bool &handled);
    const CameraHandlerState &cameraState() const { return m_camera; }
    // Platform life-cycle events: 1 became active, 3 entered the background.
    bool HandleAppEvent(int eventCode);

protected:
    bool event(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    // Starts a stored view: maps through their button, Day/Night directly, others not at all.
    void startView(ViewKind kind);
    void showModal(QDialog *window);
    // Unit flags, then the last view; stops at the first key that cannot be written.
    SaveResult saveSettings();

    std::unique_ptr<Ui::TMainForm> ui;
    GlobeScene m_scene;
    TDrawer *m_drawer = nullptr;
    LegendBars m_legend;
    std::unique_ptr<QSystemSemaphore> m_mutex;

    // down, FLastDistance, FYCameraAngle, FXCameraAngle
    CameraHandlerState m_camera;
};
