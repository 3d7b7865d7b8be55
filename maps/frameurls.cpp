#include "maps/frameurls.h"

namespace {
QString two_digits(int n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); }

FrameDate frame_date(const QDateTime &utc, const QString &run, int bucketHour)
{
    const QDate d = utc.date();
    return {QString::number(d.year()), two_digits(d.month()), two_digits(d.day()), run,
            two_digits(hour_bucket(bucketHour))};
}
} // namespace

int hour_bucket(int utcHour)
{
    if (utcHour <= 6)
        return 0;
    if (utcHour <= 12)
        return 1;
    if (utcHour <= 18)
        return 2;
    return 3;
}

FrameDate today_frame_date(const QDateTime &utc)
{
    const QDateTime t = utc.toUTC();
    return frame_date(t, QStringLiteral("00z/"), t.time().hour());
}

FrameDate yesterday_frame_date(const QDateTime &utc)
{
    const QDateTime y = utc.toUTC().addSecs(-24 * 3600);
    return frame_date(y, QStringLiteral("18z/"), y.time().hour());
}

QStringList frame_prefixes(const QString &server)
{
    return {server + QLatin1String("/wx_frames/gfs/world-wt/t2/"),
            server + QLatin1String("/wx_frames/gfs/world-wt/prcp-tcld-topo/"),
            server + QLatin1String("/wx_frames/gfs/world-wt/ws10-mslp/"),
            server + QLatin1String("/wx_frames/gfs/world-wt/t2anom/")};
}

QString get_frame_url(const QString &server, ViewKind kind, const FrameDate &f)
{
    if (kind < View::Temperature || kind > View::ClimateChange)
        return {};
    return frame_prefixes(server).at(kind) + f.FrameYear + QLatin1Char('-') + f.FrameMonth +
           QLatin1Char('-') + f.FrameDay + QLatin1Char('-') + f.FrameRun + f.FrameNumber +
           QLatin1String(".png");
}

QString get_static_url(const QString &server, ViewKind kind)
{
    static const char *const paths[] = {
        "/wx/todays-weather/maps/gfs_world-wt_t2_d1.png",
        "/wx/todays-weather/maps/gfs_world-wt_prcp-tcld-topo_d1.png",
        "/wx/todays-weather/maps/gfs_world-wt_ws10_d1.png",
        "/wx/todays-weather/maps/gfs_world-wt_t2anom_d1.png",
        "/wx/todays-weather/maps/gfs_world-wt_mslp_d1.png",
    };
    if (!View::isMap(kind))
        return {};
    return server + QLatin1String(paths[kind]);
}
