#include "common/testsupport.h"

#include "app/windowfixture.h"

#include "globe/globeview.h"

class TestAccess : public QObject
{
    Q_OBJECT

private slots:
    void windowName();
    void globeDescription_data();
    void globeDescription();
};

void TestAccess::windowName()
{
    WindowFixture f(false);
    QCOMPARE(f.form->accessibleName(), f.form->windowTitle());
    QCOMPARE(f.form->accessibleName(), QStringLiteral("Skyloom"));
}

void TestAccess::globeDescription_data()
{
    QTest::addColumn<int>("view");
    QTest::addColumn<QString>("description");
    QTest::newRow("temperature") << View::Temperature
                                 << "Globe showing the Temperature map of 2023-09-22 14:30 UTC";
    QTest::newRow("rain/snow") << View::RainSnow
                               << "Globe showing the Rain/Snow map of 2023-09-22 14:30 UTC";
    QTest::newRow("wind/pressure")
        << View::Wind << "Globe showing the Wind/Pressure map of 2023-09-22 14:30 UTC";
    QTest::newRow("climate change")
        << View::ClimateChange << "Globe showing the Climate Change map of 2023-09-22 14:30 UTC";
    QTest::newRow("day/night") << View::DayNight
                               << "Globe showing Day/Night at 2023-09-22 14:30 UTC";
}

void TestAccess::globeDescription()
{
    QFETCH(int, view);
    QFETCH(QString, description);
    WindowFixture f(false);
    if (View::isMap(view))
        f.putCache(view, 0xFF00A0A0, 60);
    // Another view first, so that the description has to change.
    f.putCache(View::Wind, 0xFF00A0A0, 60);
    f.choose(view == View::Wind ? View::DayNight : View::Wind);
    f.choose(view);
    QCOMPARE(f.form->shownView(), view);
    QCOMPARE(f.form->viewport()->accessibleDescription(), description);
}

SKYLOOM_TEST_MAIN(TestAccess)
#include "tst_access.moc"
