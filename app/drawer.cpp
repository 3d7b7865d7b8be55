#include "app/drawer.h"

#include <QBoxLayout>
#include <QEvent>
#include <QFrame>
#include <QMouseEvent>
#include <QPropertyAnimation>

TDrawer::TDrawer(QFrame *column, QWidget *body, QBoxLayout *bodyLayout, QObject *parent)
    : QObject(parent)
    , m_column(column)
    , m_body(body)
    , m_layout(bodyLayout)
    , m_swipe(new QWidget(body))
    , m_slide(new QPropertyAnimation(column, "pos", this))
{
    m_swipe->setObjectName(QStringLiteral("SwipeStrip"));
    m_swipe->hide();
    m_swipe->installEventFilter(this);
    m_body->installEventFilter(this);
    m_slide->setDuration(180);
    m_slide->setEasingCurve(QEasingCurve::OutCubic);
    connect(m_slide, &QPropertyAnimation::finished, this, [this] {
        if (m_mode == Mode::Drawer && !m_shown)
            m_column->hide();
    });
}

void TDrawer::setMode(Mode mode)
{
    if (mode == m_mode)
        return;
    m_mode = mode;
    m_slide->stop();
    if (mode == Mode::Drawer) {
        m_layout->removeWidget(m_column);
        m_column->raise();
        m_shown = false;
        m_column->hide();
        placeOverlay();
        m_swipe->show();
        m_swipe->raise();
    } else {
        m_swipe->hide();
        m_layout->insertWidget(0, m_column);
        m_shown = true;
        m_column->show();
    }
}

void TDrawer::placeOverlay()
{
    m_column->setGeometry(m_shown ? 0 : -m_column->width(), 0, m_column->width(), m_body->height());
    m_swipe->setGeometry(0, 0, SwipeWidth, m_body->height());
}

void TDrawer::showDrawer()
{
    if (m_mode == Mode::Panel || m_shown)
        return;
    m_shown = true;
    m_column->move(-m_column->width(), 0);
    m_column->resize(m_column->width(), m_body->height());
    m_column->show();
    m_column->raise();
    m_slide->stop();
    m_slide->setStartValue(m_column->pos());
    m_slide->setEndValue(QPoint(0, 0));
    m_slide->start();
}

void TDrawer::hideDrawer()
{
    if (m_mode == Mode::Panel || !m_shown)
        return;
    m_shown = false;
    m_slide->stop();
    m_slide->setStartValue(m_column->pos());
    m_slide->setEndValue(QPoint(-m_column->width(), 0));
    m_slide->start();
}

bool TDrawer::isDrawerShown() const { return m_mode == Mode::Panel || m_shown; }

bool TDrawer::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_body && event->type() == QEvent::Resize && m_mode == Mode::Drawer)
        placeOverlay();
    if (watched == m_swipe) {
        // The strip gets every kind of event; only the mouse's are QMouseEvents.
        switch (event->type()) {
        case QEvent::MouseButtonPress:
            m_swipeStartX = int(static_cast<QMouseEvent *>(event)->position().x());
            return true;
        case QEvent::MouseMove:
            if (m_swipeStartX >= 0 &&
                static_cast<QMouseEvent *>(event)->position().x() - m_swipeStartX > 10) {
                m_swipeStartX = -1;
                showDrawer();
            }
            return true;
        case QEvent::MouseButtonRelease:
            m_swipeStartX = -1;
            return true;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}
