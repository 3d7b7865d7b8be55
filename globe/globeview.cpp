#include "globe/globeview.h"

#include "globe/globescene.h"

#include <QLabel>
#include <QMouseEvent>
#include <QNativeGestureEvent>
#include <QOpenGLContext>
#include <QTouchEvent>
#include <QWheelEvent>

GlobeView::GlobeView(QWidget *parent)
    : QOpenGLWidget(parent)
{
    // paintGL clears what it draws on; the base class need not clear the colour, depth and
    // stencil buffers again before every frame.
    setUpdateBehavior(QOpenGLWidget::PartialUpdate);
    setAttribute(Qt::WA_AcceptTouchEvents);
}

bool GlobeView::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TouchCancel: {
        auto *touch = static_cast<QTouchEvent *>(event);
        QList<QPointF> points;
        for (const QEventPoint &p : touch->points())
            if (p.state() != QEventPoint::Released)
                points << p.position();
        if (const auto info = m_pinch.touch(event->type(), points))
            emit gesture(*info);
        switch (m_swipe.touch(event->type(), points)) {
        case SwipeAdapter::Step::Press:
            emit mousePressed(Qt::LeftButton, touch->modifiers(), points.first());
            break;
        case SwipeAdapter::Step::Move:
            emit mouseMoved(Qt::LeftButton, touch->modifiers(), points.first());
            break;
        case SwipeAdapter::Step::None:
            break;
        }
        event->accept();
        return true;
    }
    case QEvent::NativeGesture: {
        // Touchpad pinches arrive as scale steps; turn them into a finger distance.
        auto *native = static_cast<QNativeGestureEvent *>(event);
        GestureInfo info;
        switch (native->gestureType()) {
        case Qt::BeginNativeGesture:
            m_nativeZoom = 1;
            info.flags = GestureInfo::Begin;
            break;
        case Qt::EndNativeGesture:
            info.flags = GestureInfo::End;
            break;
        case Qt::ZoomNativeGesture:
            m_nativeZoom *= 1 + native->value();
            break;
        default:
            return QOpenGLWidget::event(event);
        }
        info.distance = qint32(200 * m_nativeZoom);
        emit gesture(info);
        return true;
    }
    default:
        break;
    }
    return QOpenGLWidget::event(event);
}

GlobeView::~GlobeView()
{
    cleanup();
    // ~QOpenGLWidget destroys the context after this object has stopped being a GlobeView;
    // the renderer is gone by then and has been let go of above.
    if (QOpenGLContext *glContext = context())
        disconnect(glContext, &QOpenGLContext::aboutToBeDestroyed, this, &GlobeView::cleanup);
}

void GlobeView::setScene(GlobeScene *scene)
{
    m_scene = scene;
    update();
}

void GlobeView::initializeGL()
{
    connect(context(), &QOpenGLContext::aboutToBeDestroyed, this, &GlobeView::cleanup);
    m_renderer.initialize();
    showProblem(m_renderer.problem());
}

void GlobeView::resizeEvent(QResizeEvent *event)
{
    // The base class makes the context here; without one initializeGL never runs.
    QOpenGLWidget::resizeEvent(event);
    if (!isValid() && !size().isEmpty())
        showProblem(GlobeRenderer::noOpenGlText());
    if (m_problem)
        m_problem->setGeometry(rect().adjusted(16, 16, -16, -16));
}

void GlobeView::showProblem(const QString &text)
{
    if (text.isEmpty()) {
        if (m_problem)
            m_problem->hide();
        return;
    }
    if (!m_problem) {
        // A plain child widget: drawn by the window even where no GL context could be made.
        m_problem = new QLabel(this);
        m_problem->setAlignment(Qt::AlignCenter);
        m_problem->setWordWrap(true);
        m_problem->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
        m_problem->setAttribute(Qt::WA_TransparentForMouseEvents);
        m_problem->setGeometry(rect().adjusted(16, 16, -16, -16));
    }
    m_problem->setText(text);
    m_problem->show();
}

QString GlobeView::problem() const
{
    return m_problem && !m_problem->isHidden() ? m_problem->text() : QString();
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
    const GlobeRenderer::FrameReport report =
        m_renderer.render(*m_scene, int(width() * dpr), int(height() * dpr));
    for (const QSize size : report.refusedTextures)
        QMetaObject::invokeMethod(
            this, [this, size] { emit textureRefused(size, maxTextureSize()); },
            Qt::QueuedConnection);
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
