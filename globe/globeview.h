#pragma once

#include "globe/globerenderer.h"
#include "globe/touchadapters.h"

#include <QOpenGLWidget>

class GlobeScene;

// The 3D viewport: draws the scene and hands pointer input to whoever listens.
class GlobeView : public QOpenGLWidget
{
    Q_OBJECT

public:
    explicit GlobeView(QWidget *parent = nullptr);
    ~GlobeView() override;

    void setScene(GlobeScene *scene);
    GlobeScene *scene() const { return m_scene; }

signals:
    void mousePressed(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPointF pos);
    void mouseMoved(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPointF pos);
    void wheelTurned(Qt::KeyboardModifiers modifiers, int delta);
    void gesture(const GestureInfo &info);

protected:
    bool event(QEvent *event) override;
    void initializeGL() override;
    void paintGL() override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    void cleanup();

    GlobeScene *m_scene = nullptr;
    GlobeRenderer m_renderer;
    PinchAdapter m_pinch;
    SwipeAdapter m_swipe;
    qreal m_nativeZoom = 1;
};
