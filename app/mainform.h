#pragma once

#include "app/drawer.h"
#include "app/globetypes.h"
#include "globe/globescene.h"

#include <QPointF>
#include <QWidget>

#include <memory>

namespace Ui {
class TMainForm;
}
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
    // Platform life-cycle events: 1 became active, 3 entered the background.
    bool HandleAppEvent(int eventCode);

protected:
    bool event(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    // Starts a stored view: maps through their button, Day/Night directly, others not at all.
    void startView(ViewKind kind);

    std::unique_ptr<Ui::TMainForm> ui;
    GlobeScene m_scene;
    TDrawer *m_drawer = nullptr;
    std::unique_ptr<QSystemSemaphore> m_mutex;

    // Camera handler state
    QPointF down;
    qint32 FLastDistance = 0;
    float FYCameraAngle = 0;
    float FXCameraAngle = 0;
};
