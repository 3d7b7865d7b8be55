#include "common/testsupport.h"

#include "legend/dateformat.h"
#include "legend/statusline.h"

class TestStatusLine : public QObject
{
    Q_OBJECT

private slots:
    void titlesAndMarkers_data();
    void titlesAndMarkers();
    void texts_data();
    void texts();
    void separatorsFollowTheLocale();
};

void TestStatusLine::titlesAndMarkers_data()
{
    QTest::addColumn<int>("view");
    QTest::addColumn<QString>("title");
    QTest::newRow("0") << 0 << "Global Temps";
    QTest::newRow("1") << 1 << "Global Rain/Snow";
    QTest::newRow("2") << 2 << "Global Wind/Pressure";
    QTest::newRow("3") << 3 << "Climate Change";
    QTest::newRow("4") << 4 << "Global Pressure";
    QTest::newRow("5") << 5 << "Day / Night";
    QTest::newRow("10") << 10 << "";
    QTest::newRow("-1") << -1 << "";
}

void TestStatusLine::titlesAndMarkers()
{
    QFETCH(int, view);
    QFETCH(QString, title);
    QCOMPARE(view_title(view), title);
    const QStringList markers{"", ".", ",", "..", "", ""};
    for (int source = 0; source < markers.size(); ++source)
        QCOMPARE(source_marker(source), markers.at(source));
    QCOMPARE(source_marker(-1), QString());
}

void TestStatusLine::texts_data()
{
    QTest::addColumn<int>("view");
    QTest::addColumn<int>("source");
    QTest::addColumn<bool>("utc");
    QTest::addColumn<QString>("what");   // clock or file
    QTest::addColumn<QDateTime>("when"); // the stamp (UTC clock), the present (local clock) or
                                         // the file's time
    QTest::addColumn<QString>("text");
    const QDateTime t(QDate(2023, 9, 22), QTime(14, 30), Qt::UTC);
    const QChar cr(13);
    QTest::newRow("UTC clock") << 0 << 0 << true << "clock" << t
                               << QString("Global Temps") + cr + "9/22/2023 14:30 UTC";
    QTest::newRow("UTC clock, previous frame")
        << 1 << 1 << true << "clock" << t
        << QString("Global Rain/Snow") + cr + "9/22/2023 14:30 UTC.";
    QTest::newRow("UTC clock, static map")
        << 1 << 2 << true << "clock" << t
        << QString("Global Rain/Snow") + cr + "9/22/2023 14:30 UTC,";
    QTest::newRow("local clock") << 2 << 0 << false << "clock" << t
                                 << QString("Global Wind/Pressure") + cr + "9/22/2023 10:30:00 AM";
    QTest::newRow("local clock at midnight")
        << 5 << 3 << false << "clock" << QDateTime(QDate(2023, 9, 22), QTime(4, 0), Qt::UTC)
        << QString("Day / Night") + cr + "9/22/2023..";
    QTest::newRow("unknown view") << 7 << 0 << true << "clock" << t
                                  << QString(cr) + "9/22/2023 14:30 UTC";
    QTest::newRow("local file date")
        << 0 << 3 << false << "file" << QDateTime(QDate(2023, 9, 22), QTime(18, 30), Qt::UTC)
        << QString("Global Temps") + cr + "9/22/2023 02:30 PM..";
    QTest::newRow("local file date, morning")
        << 3 << 3 << false << "file" << QDateTime(QDate(2023, 9, 22), QTime(4, 5), Qt::UTC)
        << QString("Climate Change") + cr + "9/22/2023 12:05 AM..";
    QTest::newRow("UTC file date")
        << 0 << 3 << true << "file" << QDateTime(QDate(2023, 9, 22), QTime(18, 30), Qt::UTC)
        << QString("Global Temps") + cr + "9/22/2023 18:30 UTC..";
    // 01:30 EST on 5 November 2023 comes after 01:30 EDT: the file's own instant decides.
    QTest::newRow("UTC file date in the repeated hour")
        << 0 << 3 << true << "file" << QDateTime(QDate(2023, 11, 5), QTime(6, 30), Qt::UTC)
        << QString("Global Temps") + cr + "11/5/2023 06:30 UTC..";
}

void TestStatusLine::texts()
{
    QFETCH(int, view);
    QFETCH(int, source);
    QFETCH(bool, utc);
    QFETCH(QString, what);
    QFETCH(QDateTime, when);
    QFETCH(QString, text);
    const QLocale locale;
    if (what == QLatin1String("clock")) {
        // The UTC clock shows its stamp, not the present; the local one the present.
        const QDateTime stamp = utc ? when : when.addDays(-3).addSecs(-777);
        const QDateTime now = utc ? when.addSecs(2 * 3600 + 17 * 60) : when;
        QCOMPARE(clock_status(view, source, utc, to_days(stamp), now, locale), text);
    } else {
        QCOMPARE(file_date_status(view, source, when, utc, locale), text);
    }
}

void TestStatusLine::separatorsFollowTheLocale()
{
    const QDateTime t(QDate(2023, 9, 2), QTime(9, 5), Qt::UTC);
    const QLocale german(QLocale::German, QLocale::Germany);
    // Month first whatever the locale; only the separators are its own.
    QCOMPARE(format_month_day_year_time(t, german, false), QStringLiteral("9.2.2023 09:05"));
    QCOMPARE(format_month_day_year_time(t, QLocale(QLocale::Finnish), false),
             QStringLiteral("9.2.2023 09.05"));
    QCOMPARE(format_date_time_c(t, german), QStringLiteral("02.09.2023 09:05:00"));
    QCOMPARE(format_month_day_year_time(t.addSecs(3 * 3600), QLocale::c(), true),
             QStringLiteral("9/2/2023 12:05 PM"));
}

SKYLOOM_TEST_MAIN(TestStatusLine)
#include "tst_statusline.moc"
