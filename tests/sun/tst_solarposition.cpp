#include "common/testsupport.h"

#include "globe/solarposition.h"

class TestSolarPosition : public QObject
{
    Q_OBJECT

private slots:
    void declination_data();
    void declination();
    void equationOfTime_data();
    void equationOfTime();
    void subsolarPoint_data();
    void subsolarPoint();
    void elevation_data();
    void elevation();
};

namespace {
QDateTime utc(int year, int month, int day, int hour, int minute)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute), Qt::UTC);
}
} // namespace

// At the solstices and equinoxes as the almanac gives their instants.
void TestSolarPosition::declination_data()
{
    QTest::addColumn<QDateTime>("when");
    QTest::addColumn<double>("degrees");
    QTest::newRow("June solstice 2024") << utc(2024, 6, 20, 20, 51) << 23.44;
    QTest::newRow("December solstice 2024") << utc(2024, 12, 21, 9, 21) << -23.44;
    QTest::newRow("March equinox 2024") << utc(2024, 3, 20, 3, 6) << 0.0;
    QTest::newRow("September equinox 2023") << utc(2023, 9, 23, 6, 50) << 0.0;
    QTest::newRow("June solstice 2030") << utc(2030, 6, 21, 7, 31) << 23.44;
}

void TestSolarPosition::declination()
{
    QFETCH(QDateTime, when);
    QFETCH(double, degrees);
    const double got = solar_position(when).declination;
    QVERIFY2(qAbs(got - degrees) < 0.02, qPrintable(QString::number(got, 'f', 4)));
}

// The published extremes: the sundial furthest ahead early in November, furthest behind
// in mid-February; and its near zeros in mid-April and at the start of September.
void TestSolarPosition::equationOfTime_data()
{
    QTest::addColumn<QDateTime>("when");
    QTest::addColumn<double>("minutes");
    QTest::newRow("3 November 2023") << utc(2023, 11, 3, 12, 0) << 16.4;
    QTest::newRow("11 February 2024") << utc(2024, 2, 11, 12, 0) << -14.2;
    QTest::newRow("26 July 2024") << utc(2024, 7, 26, 12, 0) << -6.5;
    QTest::newRow("15 April 2024") << utc(2024, 4, 15, 12, 0) << 0.0;
    QTest::newRow("1 September 2024") << utc(2024, 9, 1, 12, 0) << 0.0;
}

void TestSolarPosition::equationOfTime()
{
    QFETCH(QDateTime, when);
    QFETCH(double, minutes);
    const double got = solar_position(when).equationOfTime;
    // A quarter of a minute is the rounding of the published figures and more.
    QVERIFY2(qAbs(got - minutes) < 0.3, qPrintable(QString::number(got, 'f', 3)));
}

// At 12:00 UTC the sun is over Greenwich's meridian less the equation of time (a quarter
// degree a minute): 1.8 degrees east at the March equinox, 1.9 west at September's.
void TestSolarPosition::subsolarPoint_data()
{
    QTest::addColumn<QDateTime>("when");
    QTest::addColumn<double>("latitude");
    QTest::addColumn<double>("longitude");
    QTest::newRow("March equinox, 12:00 UTC") << utc(2024, 3, 20, 12, 0) << 0.15 << 1.82;
    QTest::newRow("September equinox, 12:00 UTC") << utc(2023, 9, 23, 12, 0) << -0.08 << -1.88;
    QTest::newRow("June solstice, 00:00 UTC") << utc(2024, 6, 21, 0, 0) << 23.44 << -179.55;
    QTest::newRow("3 November, 06:00 UTC") << utc(2023, 11, 3, 6, 0) << -14.99 << 85.88;
    QTest::newRow("11 February, 18:00 UTC") << utc(2024, 2, 11, 18, 0) << -14.01 << -86.44;
}

void TestSolarPosition::subsolarPoint()
{
    QFETCH(QDateTime, when);
    QFETCH(double, latitude);
    QFETCH(double, longitude);
    const SolarPosition sun = solar_position(when);
    QVERIFY2(qAbs(sun.declination - latitude) < 0.1,
             qPrintable(QString::number(sun.declination, 'f', 3)));
    QVERIFY2(qAbs(sun.subsolarLongitude - longitude) < 0.1,
             qPrintable(QString::number(sun.subsolarLongitude, 'f', 3)));
    QVERIFY(sun.subsolarLongitude >= -180 && sun.subsolarLongitude < 180);
}

void TestSolarPosition::elevation_data()
{
    QTest::addColumn<QDateTime>("when");
    QTest::addColumn<double>("latitude");
    // Hours of apparent solar time at the place: 12 when the sun is due south.
    QTest::addColumn<double>("localHours");
    QTest::addColumn<double>("lowest");
    QTest::addColumn<double>("highest");
    const QDateTime june = utc(2024, 6, 20, 20, 51), december = utc(2024, 12, 21, 9, 21);
    // Midnight sun: the Arctic circle's whole day is lit, the sun's centre grazing the
    // horizon at midnight; inside it, clear of the horizon.
    QTest::newRow("June solstice, 66.6 N at midnight") << june << 66.6 << 0.0 << -0.5 << 0.5;
    QTest::newRow("June solstice, 70 N at midnight") << june << 70.0 << 0.0 << 3.2 << 3.7;
    QTest::newRow("June solstice, 60 N at midnight") << june << 60.0 << 0.0 << -6.8 << -6.3;
    QTest::newRow("June solstice, 23.44 N at noon") << june << 23.44 << 12.0 << 89.9 << 90.0;
    // Polar night: dark at noon inside the Arctic circle.
    QTest::newRow("December solstice, 70 N at noon") << december << 70.0 << 12.0 << -3.7 << -3.2;
    QTest::newRow("December solstice, 80 N at noon") << december << 80.0 << 12.0 << -13.7 << -13.2;
    QTest::newRow("December solstice, 70 S at midnight") << december << -70.0 << 0.0 << 3.2 << 3.7;
    // On the equinox the terminator runs through both poles, six hours from noon.
    const QDateTime equinox = utc(2024, 3, 20, 3, 6);
    QTest::newRow("March equinox, equator at 06:00") << equinox << 0.0 << 6.0 << -0.05 << 0.05;
    QTest::newRow("March equinox, equator at 18:00") << equinox << 0.0 << 18.0 << -0.05 << 0.05;
    QTest::newRow("March equinox, 45 N at 09:00") << equinox << 45.0 << 9.0 << 29.9 << 30.1;
}

void TestSolarPosition::elevation()
{
    QFETCH(QDateTime, when);
    QFETCH(double, latitude);
    QFETCH(double, localHours);
    QFETCH(double, lowest);
    QFETCH(double, highest);
    const SolarPosition sun = solar_position(when);
    const double longitude = sun.subsolarLongitude + (localHours - 12) * 15;
    const double got = sun_elevation(sun, latitude, longitude);
    QVERIFY2(got >= lowest && got <= highest, qPrintable(QString::number(got, 'f', 3)));
}

SKYLOOM_TEST_MAIN(TestSolarPosition)
#include "tst_solarposition.moc"
