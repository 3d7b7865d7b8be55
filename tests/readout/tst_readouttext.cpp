#include "common/testsupport.h"

#include "legend/legendscale.h"
#include "readout/pointerreadout.h"
#include "readout/readouttext.h"

Q_DECLARE_METATYPE(UnitFlags)

namespace {
UnitFlags metric() { return {}; }
UnitFlags imperial() { return {true, true, true, false}; }
} // namespace

class TestReadoutText : public QObject
{
    Q_OBJECT

private slots:
    void positionText_data();
    void positionText();
    void solarTime_data();
    void solarTime();
    void valueOfColour_data();
    void valueOfColour();
    void nearEnoughToTheScale_data();
    void nearEnoughToTheScale();
    void spokenText();
};

void TestReadoutText::positionText_data()
{
    QTest::addColumn<double>("latitude");
    QTest::addColumn<double>("longitude");
    QTest::addColumn<QString>("text");
    QTest::newRow("Rome") << 41.9028 << 12.4964 << "41.9° N 12.5° E";
    QTest::newRow("Cape Town") << -33.9249 << 18.4241 << "33.9° S 18.4° E";
    QTest::newRow("Lima") << -12.0464 << -77.0428 << "12.0° S 77.0° W";
    QTest::newRow("just south and west of 0, 0 rounds to 0.0° N 0.0° E")
        << -0.04 << -0.04 << "0.0° N 0.0° E";
    QTest::newRow("0.05° S rounds away from the equator") << -0.051 << 0.0 << "0.1° S 0.0° E";
    QTest::newRow("the date line from the west") << 0.0 << -180.0 << "0.0° N 180.0° W";
    QTest::newRow("the north pole") << 90.0 << 0.0 << "90.0° N 0.0° E";
}

void TestReadoutText::positionText()
{
    QFETCH(double, latitude);
    QFETCH(double, longitude);
    QFETCH(QString, text);
    QCOMPARE(position_text(latitude, longitude), text);
}

void TestReadoutText::solarTime_data()
{
    QTest::addColumn<QTime>("utc");
    QTest::addColumn<double>("longitude");
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("text");
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    QTest::newRow("noon at Greenwich") << QTime(12, 0) << 0.0 << us << "12:00 PM solar time";
    QTest::newRow("six hours ahead at 90° E") << QTime(12, 0) << 90.0 << us << "6:00 PM solar time";
    QTest::newRow("midnight on the date line")
        << QTime(12, 0) << -180.0 << us << "12:00 AM solar time";
    QTest::newRow("back over midnight in the west")
        << QTime(1, 0) << -30.0 << us << "11:00 PM solar time";
    QTest::newRow("four minutes a degree, a quarter degree one minute")
        << QTime(12, 0) << 15.25 << us << "1:01 PM solar time";
    QTest::newRow("a locale whose short time has seconds shows none")
        << QTime(12, 0, 40) << 15.25 << QLocale::c() << "13:01 solar time";
    QTest::newRow("German") << QTime(12, 0) << 90.0 << QLocale(QLocale::German, QLocale::Germany)
                            << "18:00 solar time";
}

void TestReadoutText::solarTime()
{
    QFETCH(QTime, utc);
    QFETCH(double, longitude);
    QFETCH(QLocale, locale);
    QFETCH(QString, text);
    const QDateTime when(QDate(2023, 9, 22), utc, Qt::UTC);
    QCOMPARE(solar_time_text(longitude, when, locale), text);
}

void TestReadoutText::valueOfColour_data()
{
    QTest::addColumn<int>("view");
    QTest::addColumn<QRgb>("colour");
    QTest::addColumn<UnitFlags>("units");
    QTest::addColumn<QString>("text");

    const QList<QRgb> temperature = temperature_scale().colours;
    QTest::newRow("temperature stop of 20 °C")
        << View::Temperature << temperature[8] << metric() << "≈ 20 °C";
    QTest::newRow("temperature stop of 20 °C in °F")
        << View::Temperature << temperature[8] << imperial() << "≈ 68 °F";
    QTest::newRow("temperature 23 °C, between two stops")
        << View::Temperature << ramp_colour(temperature, 8.3) << metric() << "≈ 23 °C";
    QTest::newRow("temperature -17 °C")
        << View::Temperature << ramp_colour(temperature, 4.3) << metric() << "≈ -17 °C";
    QTest::newRow("temperature -17 °C in °F is 1 °F")
        << View::Temperature << ramp_colour(temperature, 4.3) << imperial() << "≈ 1 °F";

    const QList<QRgb> change = change_scale().colours;
    QTest::newRow("change: white is no change rather than -30")
        << View::ClimateChange << change[3] << metric() << "≈ 0 °C";
    QTest::newRow("change: just off white toward the cold end")
        << View::ClimateChange << ramp_colour(change, 0.2) << metric() << "≈ -28 °C";
    QTest::newRow("change +10") << View::ClimateChange << change[4] << metric() << "≈ +10 °C";
    QTest::newRow("change +10 in °F")
        << View::ClimateChange << change[4] << imperial() << "≈ +18 °F";
    QTest::newRow("change -14") << View::ClimateChange << ramp_colour(change, 1.6) << metric()
                                << "≈ -14 °C";

    QTest::newRow("pressure 1013")
        << View::Pressure << ramp_colour(pressure_scale().colours, 4.3) << metric() << "≈ 1013 hPa";

    const QList<QRgb> wind = wind_scale().colours;
    QTest::newRow("calm wind is white") << View::Wind << wind[0] << metric() << "0–4 kt";
    QTest::newRow("a labelled cell") << View::Wind << wind[4] << metric() << "16–20 kt";
    QTest::newRow("a cell between labels") << View::Wind << wind[5] << metric() << "20–25 kt";
    QTest::newRow("a cell in mph") << View::Wind << wind[4] << imperial() << "18–23 mph";
    QTest::newRow("the strongest wind") << View::Wind << wind[18] << metric() << "over 120 kt";
    QTest::newRow("the strongest wind in mph")
        << View::Wind << wind[18] << imperial() << "over 138 mph";

    const QList<QRgb> rain = rain_scale().colours;
    const QList<QRgb> snow = snow_scale().colours;
    QTest::newRow("light rain") << View::RainSnow << rain[0] << metric() << "Rain 0.1–0.3 mm/h";
    QTest::newRow("rain 1–2") << View::RainSnow << rain[3] << metric() << "Rain 1–2 mm/h";
    QTest::newRow("rain 1–2 in inches")
        << View::RainSnow << rain[3] << imperial() << "Rain .04–.07 in/h";
    QTest::newRow("light rain in inches, which the legend leaves unlabelled")
        << View::RainSnow << rain[0] << imperial() << "Rain up to .01 in/h";
    QTest::newRow("snow 3.5–5") << View::RainSnow << snow[5] << metric() << "Snow 3.5–5 mm/h";
    QTest::newRow("snow 0.5–1 in inches")
        << View::RainSnow << snow[2] << imperial() << "Snow .02–.04 in/h";
    QTest::newRow("heavy: one colour for rain and snow")
        << View::RainSnow << rain[6] << metric() << "Rain 5–10 or snow 5–7.5 mm/h";
    QTest::newRow("the heaviest") << View::RainSnow << rain[10] << metric()
                                  << "Rain over 25 or snow over 15 mm/h";
    QTest::newRow("the heaviest in inches")
        << View::RainSnow << rain[10] << imperial() << "Rain over 1 or snow over .6 in/h";

    // Not on the legend: a dark coast line, white cloud, the tints where nothing falls, a
    // grey isobar.
    QTest::newRow("coast line on temperature")
        << View::Temperature << qRgb(40, 40, 40) << metric() << "";
    QTest::newRow("coast line on change")
        << View::ClimateChange << qRgb(40, 40, 40) << metric() << "";
    QTest::newRow("cloud on rain") << View::RainSnow << qRgb(255, 255, 255) << metric() << "";
    QTest::newRow("dry land") << View::RainSnow << qRgb(226, 222, 212) << metric() << "";
    QTest::newRow("dry sea") << View::RainSnow << qRgb(206, 218, 230) << metric() << "";
    QTest::newRow("isobar on wind") << View::Wind << qRgb(90, 90, 90) << metric() << "";
    QTest::newRow("no map in Day/Night") << View::DayNight << temperature[8] << metric() << "";
}

void TestReadoutText::valueOfColour()
{
    QFETCH(int, view);
    QFETCH(QRgb, colour);
    QFETCH(UnitFlags, units);
    QFETCH(QString, text);
    QCOMPARE(map_value_text(view, colour, units), text);
}

void TestReadoutText::nearEnoughToTheScale_data()
{
    QTest::addColumn<int>("offset");
    QTest::addColumn<bool>("read");
    // Rain's 0.5–1 cell is 00C900; blue moves away from every cell of both legends.
    QTest::newRow("on the colour") << 0 << true;
    QTest::newRow("20 off") << 20 << true;
    QTest::newRow("21 off") << 21 << false;
}

void TestReadoutText::nearEnoughToTheScale()
{
    QFETCH(int, offset);
    QFETCH(bool, read);
    const QString text = map_value_text(View::RainSnow, qRgb(0x00, 0xC9, offset), metric());
    QCOMPARE(text.isEmpty(), !read);
    if (read)
        QCOMPARE(text, QStringLiteral("Rain 0.5–1 mm/h"));
}

void TestReadoutText::spokenText()
{
    PointerReadout readout;
    readout.position = QStringLiteral("41.9° N 12.5° E");
    readout.detail = QStringLiteral("≈ 23 °C");
    QCOMPARE(readout.text(), QStringLiteral("41.9° N 12.5° E\n≈ 23 °C"));
    QCOMPARE(readout.spokenText(), QStringLiteral("41.9° N 12.5° E, about 23 °C"));
    readout.detail = QStringLiteral("Rain 1–2 mm/h");
    QCOMPARE(readout.spokenText(), QStringLiteral("41.9° N 12.5° E, Rain 1 to 2 mm/h"));
    readout.detail.clear();
    QCOMPARE(readout.text(), QStringLiteral("41.9° N 12.5° E"));
    QCOMPARE(readout.spokenText(), QStringLiteral("41.9° N 12.5° E"));
}

SKYLOOM_TEST_MAIN(TestReadoutText)
#include "tst_readouttext.moc"
