#include "readout/readoutoverlay.h"

#include "globe/globeview.h"
#include "legend/legendbars.h"
#include "readout/pointerreadout.h"

#include <QEvent>
#include <QLabel>

namespace {
constexpr int Margin = 6;
} // namespace

ReadoutOverlay::ReadoutOverlay(GlobeView *view, const GlobeScene &scene,
                               std::function<ReadoutContext()> context)
    : QObject(view)
    , m_view(view)
    , m_scene(scene)
    , m_context(std::move(context))
    , m_label(new QLabel(view))
{
    m_label->setObjectName(QStringLiteral("PointerReadout"));
    // Its own sheet, which the window's style cannot override: the toolbar's dark grey, a
    // little see-through over the globe.
    m_label->setStyleSheet(QStringLiteral(
        "QLabel { color: #F0F0F0; background: rgba(37, 37, 38, 210); border: 1px solid #3A3A3A;"
        " border-radius: 3px; padding: 3px 6px; font-size: 13px; }"));
    m_label->setTextFormat(Qt::PlainText);
    // The pointer reads the globe through it.
    m_label->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_label->setAccessibleName(QStringLiteral("Under the pointer"));
    m_label->hide();
    // Moves without a button pressed reach the view only while it tracks the mouse.
    view->setMouseTracking(true);
    view->installEventFilter(this);
    connect(view, &GlobeView::mouseMoved, this,
            [this](Qt::MouseButtons, Qt::KeyboardModifiers, QPointF pos) { pointerMoved(pos); });
}

void ReadoutOverlay::pointerMoved(QPointF pos)
{
    m_pointer = pos;
    refresh();
}

void ReadoutOverlay::pointerLeft()
{
    m_pointer.reset();
    if (m_label)
        m_label->hide();
}

void ReadoutOverlay::suspend()
{
    if (m_label)
        m_label->hide();
}

void ReadoutOverlay::refresh()
{
    if (!m_pointer || !m_label)
        return;
    // Over the legend bar or another child the pointer is not on the globe, though the
    // moves reach the view.
    const QWidget *over = m_view->childAt(m_pointer->toPoint());
    const ReadoutContext context = m_context();
    const PointerReadout readout =
        over ? PointerReadout()
             : read_pointer(m_scene, context.shownView, m_view->size(), *m_pointer, context.units,
                            context.nowUtc, QLocale());
    if (!readout.point) {
        m_label->hide();
        return;
    }
    m_label->setText(readout.text());
    m_label->setAccessibleDescription(readout.spokenText());
    m_shownView = context.shownView;
    place();
    m_label->show();
}

void ReadoutOverlay::place()
{
    m_label->adjustSize();
    // Map views have their legend bar along the bottom; the box sits just above it.
    const ViewKind shown = m_shownView;
    const int bottom = m_view->height() - (View::isMap(shown) ? Legend::BarHeight : 0) - Margin;
    m_label->move(Margin, bottom - m_label->height());
}

bool ReadoutOverlay::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_view) {
        switch (event->type()) {
        case QEvent::Leave:
        // A lifted finger leaves no pointer behind.
        case QEvent::TouchEnd:
        case QEvent::TouchCancel:
            pointerLeft();
            break;
        case QEvent::Resize:
            if (m_label && !m_label->isHidden())
                place();
            break;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}
