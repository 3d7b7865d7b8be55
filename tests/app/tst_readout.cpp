#include "common/testsupport.h"

#include "app/windowfixture.h"

#include "globe/globeview.h"
#include "legend/legendbars.h"
#include "readout/readoutoverlay.h"
#include "settings/settingsform.h"

#include <QLabel>

namespace {
// The temperature legend's colour at 20 °C.
constexpr QRgb TwentyDegrees = 0xFFFBAE2A;

void move_pointer(GlobeView *view, QPointF pos)
{
    QMouseEvent move(QEvent::MouseMove, pos, view->mapToGlobal(pos), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(view, &move);
}

void leave(GlobeView *view)
{
    QEvent event(QEvent::Leave);
    QCoreApplication::sendEvent(view, &event);
}

QPointF middle(const GlobeView *view) { return QRectF(view->rect()).center(); }
} // namespace

class TestReadout : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void hoverShowsPlaceAndValue();
    void hiddenOffTheGlobe_data();
    void hiddenOffTheGlobe();
    void followsUnitsAndView();
    void restsWhileTheGlobeSpinsOn();

private:
    std::unique_ptr<WindowFixture> m_f;
    GlobeView *m_view = nullptr;
    QLabel *m_label = nullptr;
};

void TestReadout::init()
{
    m_f = std::make_unique<WindowFixture>(false);
    m_f->putCache(View::Temperature, TwentyDegrees, 60);
    TMainForm &form = *m_f->form;
    form.resize(800, 600);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    m_f->choose(View::Temperature);
    QCOMPARE(form.shownView(), View::Temperature);
    m_view = form.viewport();
    m_label = form.readout()->label();
}

void TestReadout::cleanup() { m_f.reset(); }

void TestReadout::hoverShowsPlaceAndValue()
{
    const QString status = m_f->status();
    QVERIFY(m_label->isHidden());
    move_pointer(m_view, middle(m_view));
    QVERIFY(!m_label->isHidden());
    const QStringList lines = m_label->text().split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 2);
    QVERIFY2(QRegularExpression(QStringLiteral("^\\d+\\.\\d° [NS] \\d+\\.\\d° [EW]$"))
                 .match(lines[0])
                 .hasMatch(),
             qPrintable(lines[0]));
    QCOMPARE(lines[1], QStringLiteral("≈ 20 °C"));
    // Screen readers get a name and the text in words.
    QVERIFY(!m_label->accessibleName().isEmpty());
    QCOMPARE(m_label->accessibleDescription(), lines[0] + QStringLiteral(", about 20 °C"));
    // In the bottom-left corner, clear of the legend bar; the status line keeps its text.
    const QWidget *bar = m_f->form->legendBars().RectangleTemps;
    QVERIFY(!bar->isHidden());
    QCOMPARE_LE(m_label->geometry().bottom(), bar->geometry().top());
    QCOMPARE_GE(m_label->geometry().bottom(), bar->geometry().top() - 12);
    QCOMPARE_LE(m_label->x(), 10);
    QCOMPARE(m_f->status(), status);

    leave(m_view);
    QVERIFY(m_label->isHidden());
}

void TestReadout::hiddenOffTheGlobe_data()
{
    QTest::addColumn<bool>("overLegend");
    QTest::newRow("the view's top left corner, beside the globe") << false;
    QTest::newRow("over the legend bar") << true;
}

void TestReadout::hiddenOffTheGlobe()
{
    QFETCH(bool, overLegend);
    move_pointer(m_view, middle(m_view));
    QVERIFY(!m_label->isHidden());
    const QWidget *bar = m_f->form->legendBars().RectangleTemps;
    move_pointer(m_view, overLegend ? QPointF(bar->geometry().center()) : QPointF(3, 3));
    QVERIFY(m_label->isHidden());
}

void TestReadout::followsUnitsAndView()
{
    TMainForm &form = *m_f->form;
    move_pointer(m_view, middle(m_view));
    UnitFlags units;
    units.fahrenheit = true;
    form.settingsForm()->setUnits(units);
    form.ShowView(View::Refresh);
    QVERIFY2(m_label->text().endsWith(QStringLiteral("\n≈ 68 °F")), qPrintable(m_label->text()));

    // Day/Night has no legend bar: the box moves down to the corner and tells the time.
    const int mapBottom = m_label->geometry().bottom();
    m_f->choose(View::DayNight);
    QVERIFY2(m_label->text().endsWith(QStringLiteral(" solar time")), qPrintable(m_label->text()));
    QCOMPARE_GT(m_label->geometry().bottom(), mapBottom);
    QCOMPARE_GE(m_label->geometry().bottom(), m_view->height() - 12);
}

void TestReadout::restsWhileTheGlobeSpinsOn()
{
    TMainForm &form = *m_f->form;
    // Each reading 30 ms after the last, so the drag is fast enough to spin on.
    form.setMotionClock([t = qint64(0)]() mutable { return t += 30; });
    QPoint at = middle(m_view).toPoint();
    QTest::mousePress(m_view, Qt::LeftButton, {}, at);
    for (int i = 0; i < 2; ++i)
        QTest::mouseMove(m_view, at += QPoint(10, 0));
    QVERIFY(!m_label->isHidden());
    QTest::mouseRelease(m_view, Qt::LeftButton, {}, at);
    QVERIFY(form.spinTimer().isActive());
    // Not looked up at every frame of the spin, so not shown with a stale value either.
    QVERIFY(m_label->isHidden());
    QTRY_VERIFY_WITH_TIMEOUT(!form.spinTimer().isActive(), 20000);
    QVERIFY(!m_label->isHidden());
    QVERIFY(m_label->text().endsWith(QStringLiteral("\n≈ 20 °C")));
}

SKYLOOM_TEST_MAIN(TestReadout)
#include "tst_readout.moc"
