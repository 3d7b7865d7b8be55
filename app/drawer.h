#pragma once

#include <QObject>
#include <QPointer>

class QFrame;
class QPropertyAnimation;
class QWidget;
class QBoxLayout;

// The side drawer with its two modes: a panel docked beside the globe, or a column that
// slides in over the globe from the left edge (by the drawer button or an edge swipe).
class TDrawer : public QObject
{
    Q_OBJECT

public:
    enum class Mode { Drawer, Panel };
    static constexpr int SwipeWidth = 40;

    TDrawer(QFrame *column, QWidget *body, QBoxLayout *bodyLayout, QObject *parent = nullptr);

    Mode mode() const { return m_mode; }
    void setMode(Mode mode);
    // In panel mode the column is always shown; these only matter in drawer mode.
    void showDrawer();
    void hideDrawer();
    bool isDrawerShown() const;
    QWidget *swipeStrip() const { return m_swipe; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void placeOverlay();

    QFrame *m_column;
    QWidget *m_body;
    QBoxLayout *m_layout;
    QWidget *m_swipe;
    QPropertyAnimation *m_slide;
    Mode m_mode = Mode::Panel;
    bool m_shown = true;
    int m_swipeStartX = -1;
};
