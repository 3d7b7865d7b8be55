#include "common/testsupport.h"

#include "maps/frameurls.h"

class TestUrls : public QObject
{
    Q_OBJECT

private slots:
    void hourBuckets_data();
    void hourBuckets();
    void viewUrls_data();
    void viewUrls();
};

void TestUrls::hourBuckets_data()
{
    QTest::addColumn<int>("hour");
    QTest::addColumn<QString>("frame");
    const QList<std::pair<int, const char *>> rows{{0, "00"},  {6, "00"},  {7, "01"},  {12, "01"},
                                                   {13, "02"}, {18, "02"}, {19, "03"}, {23, "03"}};
    for (const auto &[hour, frame] : rows)
        QTest::addRow("%02d h", hour) << hour << QString::fromLatin1(frame);
}

void TestUrls::hourBuckets()
{
    QFETCH(int, hour);
    QFETCH(QString, frame);
    const QDateTime now(QDate(2023, 9, 22), QTime(hour, 30), Qt::UTC);
    QCOMPARE(today_frame_date(now).FrameNumber, frame);
    // The previous-day run keeps the current hour's bucket.
    QCOMPARE(yesterday_frame_date(now).FrameNumber, frame);
}

void TestUrls::viewUrls_data()
{
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("today");
    QTest::addColumn<QString>("yesterday");
    QTest::addColumn<QString>("staticUrl");
    const QString host = QStringLiteral("https://climatereanalyzer.org");
    const QDateTime sept(QDate(2023, 9, 22), QTime(14, 30), Qt::UTC);
    QTest::newRow("temperature") << sept << 0
                                 << host + "/wx_frames/gfs/world-wt/t2/2023-09-22-00z/02.png"
                                 << host + "/wx_frames/gfs/world-wt/t2/2023-09-21-18z/02.png"
                                 << host + "/wx/todays-weather/maps/gfs_world-wt_t2_d1.png";
    QTest::newRow("rain/snow")
        << sept << 1 << host + "/wx_frames/gfs/world-wt/prcp-tcld-topo/2023-09-22-00z/02.png"
        << host + "/wx_frames/gfs/world-wt/prcp-tcld-topo/2023-09-21-18z/02.png"
        << host + "/wx/todays-weather/maps/gfs_world-wt_prcp-tcld-topo_d1.png";
    QTest::newRow("wind") << sept << 2
                          << host + "/wx_frames/gfs/world-wt/ws10-mslp/2023-09-22-00z/02.png"
                          << host + "/wx_frames/gfs/world-wt/ws10-mslp/2023-09-21-18z/02.png"
                          << host + "/wx/todays-weather/maps/gfs_world-wt_ws10_d1.png";
    QTest::newRow("climate change")
        << sept << 3 << host + "/wx_frames/gfs/world-wt/t2anom/2023-09-22-00z/02.png"
        << host + "/wx_frames/gfs/world-wt/t2anom/2023-09-21-18z/02.png"
        << host + "/wx/todays-weather/maps/gfs_world-wt_t2anom_d1.png";
    QTest::newRow("pressure: static only")
        << sept << 4 << QString() << QString()
        << host + "/wx/todays-weather/maps/gfs_world-wt_mslp_d1.png";
    QTest::newRow("day/night: none") << sept << 5 << QString() << QString() << QString();
    QTest::newRow("00:30 on 1 March 2024")
        << QDateTime(QDate(2024, 3, 1), QTime(0, 30), Qt::UTC) << 0
        << host + "/wx_frames/gfs/world-wt/t2/2024-03-01-00z/00.png"
        << host + "/wx_frames/gfs/world-wt/t2/2024-02-29-18z/00.png"
        << host + "/wx/todays-weather/maps/gfs_world-wt_t2_d1.png";
    QTest::newRow("03:00 on 1 January")
        << QDateTime(QDate(2025, 1, 1), QTime(3, 0), Qt::UTC) << 3
        << host + "/wx_frames/gfs/world-wt/t2anom/2025-01-01-00z/00.png"
        << host + "/wx_frames/gfs/world-wt/t2anom/2024-12-31-18z/00.png"
        << host + "/wx/todays-weather/maps/gfs_world-wt_t2anom_d1.png";
}

void TestUrls::viewUrls()
{
    QFETCH(QDateTime, now);
    QFETCH(int, kind);
    QFETCH(QString, today);
    QFETCH(QString, yesterday);
    QFETCH(QString, staticUrl);
    const QString server = QString::fromLatin1(DefaultMapServer);
    QCOMPARE(get_frame_url(server, kind, today_frame_date(now)), today);
    QCOMPARE(get_frame_url(server, kind, yesterday_frame_date(now)), yesterday);
    QCOMPARE(get_static_url(server, kind), staticUrl);
    // A mirror keeps the paths.
    QCOMPARE(get_static_url(QStringLiteral("https://mirror.test"), kind),
             QString(staticUrl).replace(server, QStringLiteral("https://mirror.test")));
}

SKYLOOM_TEST_MAIN(TestUrls)
#include "tst_urls.moc"
