#pragma once

#include "globe/globerenderer.h"
#include "globe/touchadapters.h"

#include <QOpenGLWidget>

class GlobeScene;
class QLabel;

// The 3D viewport: draws the scene and hands pointer input to whoever listens.
class GlobeView : public QOpenGLWidget
{
    Q_OBJECT

public:
    explicit GlobeView(QWidget *parent = nullptr);
    ~GlobeView() override;

    void setScene(GlobeScene *scene);
    GlobeScene *scene() const { return m_scene; }
    // Settings for the renderer take effect when the view is first shown.
    GlobeRenderer &renderer() { return m_renderer; }
    // What keeps the globe from being drawn, as the view shows it over the globe area;
    // empty while the globe draws.
    QString problem() const;
    // The largest texture side this view's GL takes; 0 until the view was first shown.
    int maxTextureSize() const { return m_renderer.maxTextureSize(); }

signals:
    void mousePressed(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPointF pos);
    void mouseMoved(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPointF pos);
    void wheelTurned(Qt::KeyboardModifiers modifiers, int delta);
    void gesture(const GestureInfo &info);
    // An image of that size was too large for the GL; the sphere kept its texture.
    // Delivered after the frame, never from inside the GL paint.
    void textureRefused(QSize size, int maxTextureSize);

protected:
    bool event(QEvent *event) override;
    void initializeGL() override;
    void paintGL() override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    void cleanup();
    void showProblem(const QString &text);

    GlobeScene *m_scene = nullptr;
    GlobeRenderer m_renderer;
    QLabel *m_problem = nullptr;
    PinchAdapter m_pinch;
    SwipeAdapter m_swipe;
    qreal m_nativeZoom = 1;
};
