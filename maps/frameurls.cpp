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

FrameDate set_today_vars(ViewKind)
{
    AppState &state = app();
    const QDateTime now = utc_now_datetime();
    state.UtcStamp = to_days(now);
    const FrameDate frame = today_frame_date(now);
    state.Frame = frame;
    return frame;
}

FrameDate set_yesterday_vars()
{
    AppState &state = app();
    const QDateTime now = utc_now_datetime();
    state.UtcStamp = to_days(now);
    const FrameDate frame = yesterday_frame_date(now);
    state.Frame = frame;
    return frame;
}

QString get_frame_url(ViewKind kind) { return get_frame_url(kind, app().Frame.load()); }

QString get_frame_url(ViewKind kind, const FrameDate &f)
{
    if (kind < View::Temperature || kind > View::ClimateChange)
        return {};
    return app().FramePrefixes().at(kind) + f.FrameYear + QLatin1Char('-') + f.FrameMonth +
           QLatin1Char('-') + f.FrameDay + QLatin1Char('-') + f.FrameRun + f.FrameNumber +
           QLatin1String(".png");
}

QString get_static_url(ViewKind kind)
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
    return app().MapServer.load() + QLatin1String(paths[kind]);
}
