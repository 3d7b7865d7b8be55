#include "common/testsupport.h"

#include "app/drawer.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QMouseEvent>

class TestDrawer : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void edgeSwipe_data();
    void edgeSwipe();
    void otherEventsOnTheStrip_data();
    void otherEventsOnTheStrip();

private:
    // A synthetic mouse event straight to the strip, as a window system would deliver it.
    bool sendMouse(QEvent::Type type, int x, Qt::MouseButtons buttons);

    std::unique_ptr<QWidget> m_body;
    QFrame *m_column = nullptr;
    TDrawer *m_drawer = nullptr;
};

void TestDrawer::init()
{
    m_body = std::make_unique<QWidget>();
    m_body->resize(400, 300);
    auto *layout = new QHBoxLayout(m_body.get());
    m_column = new QFrame(m_body.get());
    m_column->setFixedWidth(120);
    layout->addWidget(m_column);
    layout->addWidget(new QWidget(m_body.get()), 1);
    m_drawer = new TDrawer(m_column, m_body.get(), layout, m_body.get());
    m_drawer->setMode(TDrawer::Mode::Drawer);
    m_body->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_body.get()));
    QVERIFY(m_drawer->swipeStrip()->isVisible());
    QVERIFY(!m_drawer->isDrawerShown());
}

void TestDrawer::cleanup() { m_body.reset(); }

enum class Press { None, Press, PressRelease };
Q_DECLARE_METATYPE(Press)

void TestDrawer::edgeSwipe_data()
{
    QTest::addColumn<Press>("press");
    QTest::addColumn<int>("moveTo");
    QTest::addColumn<bool>("opens");
    QTest::newRow("11 px right opens") << Press::Press << 16 << true;
    QTest::newRow("10 px right stays closed") << Press::Press << 15 << false;
    QTest::newRow("leftward stays closed") << Press::Press << 0 << false;
    QTest::newRow("move without a press") << Press::None << 30 << false;
    QTest::newRow("move after the release") << Press::PressRelease << 30 << false;
}

bool TestDrawer::sendMouse(QEvent::Type type, int x, Qt::MouseButtons buttons)
{
    QWidget *strip = m_drawer->swipeStrip();
    const QPointF at(x, 20);
    QMouseEvent event(type, at, strip->mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
    return QCoreApplication::sendEvent(strip, &event);
}

void TestDrawer::edgeSwipe()
{
    QFETCH(Press, press);
    QFETCH(int, moveTo);
    QFETCH(bool, opens);
    if (press != Press::None)
        QVERIFY(sendMouse(QEvent::MouseButtonPress, 5, Qt::LeftButton));
    if (press == Press::PressRelease)
        QVERIFY(sendMouse(QEvent::MouseButtonRelease, 5, Qt::NoButton));
    QVERIFY(sendMouse(QEvent::MouseMove, moveTo, Qt::LeftButton));
    QCOMPARE(m_drawer->isDrawerShown(), opens);
}

void TestDrawer::otherEventsOnTheStrip_data()
{
    QTest::addColumn<int>("type");
    QTest::newRow("enter") << int(QEvent::Enter);
    QTest::newRow("leave") << int(QEvent::Leave);
    QTest::newRow("key press") << int(QEvent::KeyPress);
    QTest::newRow("wheel") << int(QEvent::Wheel);
    QTest::newRow("resize") << int(QEvent::Resize);
    QTest::newRow("hide and show") << int(QEvent::Show);
}

// The strip sees many events besides the mouse's; none of them may be read as one.
void TestDrawer::otherEventsOnTheStrip()
{
    QFETCH(int, type);
    QWidget *strip = m_drawer->swipeStrip();
    const QPointF at(30, 20);
    switch (QEvent::Type(type)) {
    case QEvent::Enter: {
        QEnterEvent event(at, at, strip->mapToGlobal(at));
        QCoreApplication::sendEvent(strip, &event);
        break;
    }
    case QEvent::Leave: {
        QEvent event(QEvent::Leave);
        QCoreApplication::sendEvent(strip, &event);
        break;
    }
    case QEvent::KeyPress:
        QTest::keyClick(strip, Qt::Key_Right);
        break;
    case QEvent::Wheel: {
        QWheelEvent event(at, strip->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::LeftButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(strip, &event);
        break;
    }
    case QEvent::Resize:
        strip->resize(TDrawer::SwipeWidth + 10, 200);
        QCOMPARE(strip->width(), TDrawer::SwipeWidth + 10);
        break;
    default:
        strip->hide();
        strip->show();
        QVERIFY(strip->isVisible());
        break;
    }
    QVERIFY(!m_drawer->isDrawerShown());
    // A swipe still works afterwards.
    QVERIFY(sendMouse(QEvent::MouseButtonPress, 2, Qt::LeftButton));
    QVERIFY(sendMouse(QEvent::MouseMove, 20, Qt::LeftButton));
    QVERIFY(m_drawer->isDrawerShown());
}

SKYLOOM_TEST_MAIN(TestDrawer)
#include "tst_drawer.moc"
