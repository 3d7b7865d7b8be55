#pragma once

#include "core/globetypes.h"
#include "core/unitflags.h"

#include <QDateTime>
#include <QLabel>
#include <QObject>
#include <QPointF>
#include <QPointer>

#include <functional>
#include <optional>

class GlobeScene;
class GlobeView;

// What the readout asks of the window at each lookup.
struct ReadoutContext
{
    ViewKind shownView = View::Temperature;
    UnitFlags units;
    QDateTime nowUtc;
};

// The small box in the globe view's bottom-left corner, above the legend bar, that says
// where the pointer is on the globe and what the map shows there. It looks only when the
// pointer moves or when told that the globe changed; a resting pointer costs nothing.
// Off the globe, over the legend and outside the view it is hidden.
class ReadoutOverlay : public QObject
{
    Q_OBJECT

public:
    // Lives as long as the view, a child of it.
    ReadoutOverlay(GlobeView *view, const GlobeScene &scene,
                   std::function<ReadoutContext()> context);

    QLabel *label() const { return m_label; }
    // Looks again at the last pointer position: the globe turned, or the view, its map or
    // the units changed.
    void refresh();
    // Hidden until the next refresh or pointer move, for while the globe turns on by itself.
    void suspend();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void pointerMoved(QPointF pos);
    void pointerLeft();
    void place();

    GlobeView *m_view;
    const GlobeScene &m_scene;
    std::function<ReadoutContext()> m_context;
    // Goes with the view, which may still send an event or two on its way out.
    QPointer<QLabel> m_label;
    std::optional<QPointF> m_pointer;
    // The view of the last lookup, whose legend bar the box keeps clear of.
    ViewKind m_shownView = View::Temperature;
};
