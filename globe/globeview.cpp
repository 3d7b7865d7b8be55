#include "globe/globeview.h"

#include "globe/globescene.h"

#include <QMouseEvent>
#include <QOpenGLContext>
#include <QWheelEvent>

GlobeView::GlobeView(QWidget *parent) : QOpenGLWidget(parent) {}

GlobeView::~GlobeView() { cleanup(); }

void GlobeView::setScene(GlobeScene *scene)
{
    m_scene = scene;
    update();
}

void GlobeView::initializeGL()
{
    connect(context(), &QOpenGLContext::aboutToBeDestroyed, this, &GlobeView::cleanup);
    m_renderer.initialize();
}

void GlobeView::cleanup()
{
    if (!context())
        return;
    makeCurrent();
    m_renderer.cleanup();
    doneCurrent();
}

void GlobeView::paintGL()
{
    if (!m_scene)
        return;
    const qreal dpr = devicePixelRatioF();
    m_renderer.render(*m_scene, int(width() * dpr), int(height() * dpr));
}

void GlobeView::mousePressEvent(QMouseEvent *event)
{
    emit mousePressed(event->button(), event->modifiers(), event->position());
}

void GlobeView::mouseMoveEvent(QMouseEvent *event)
{
    emit mouseMoved(event->buttons(), event->modifiers(), event->position());
}

void GlobeView::wheelEvent(QWheelEvent *event)
{
    emit wheelTurned(event->modifiers(), event->angleDelta().y());
}
