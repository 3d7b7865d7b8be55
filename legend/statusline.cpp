#include "legend/statusline.h"

#include "legend/dateformat.h"

namespace {
QString two_lines(ViewKind kind, const QString &second)
{
    return view_title(kind) + StatusLineBreak + second;
}
} // namespace

QString view_title(ViewKind kind)
{
    switch (kind) {
    case View::Temperature:
        return QStringLiteral("Global Temps");
    case View::RainSnow:
        return QStringLiteral("Global Rain/Snow");
    case View::Wind:
        return QStringLiteral("Global Wind/Pressure");
    case View::ClimateChange:
        return QStringLiteral("Climate Change");
    case View::Pressure:
        return QStringLiteral("Global Pressure");
    case View::DayNight:
        return QStringLiteral("Day / Night");
    default:
        return {};
    }
}

QString source_marker(MapSourceKind source)
{
    switch (source) {
    case Source::PreviousFrame:
        return QStringLiteral(".");
    case Source::StaticMap:
        return QStringLiteral(",");
    case Source::Cache:
        return QStringLiteral("..");
    default:
        return {};
    }
}

QString utc_clock_status(ViewKind kind, MapSourceKind source, DateTimeDays utcStamp,
                         const QLocale &locale)
{
    return two_lines(kind, format_month_day_year_time(from_days(utcStamp), locale, false) +
                               QLatin1String(" UTC") + source_marker(source));
}

QString local_clock_status(ViewKind kind, MapSourceKind source, const QDateTime &now,
                           const QLocale &locale)
{
    return two_lines(kind, format_date_time_c(now.toLocalTime(), locale) + source_marker(source));
}

QString clock_status(ViewKind kind, MapSourceKind source, bool utc, DateTimeDays utcStamp,
                     const QDateTime &now, const QLocale &locale)
{
    return utc ? utc_clock_status(kind, source, utcStamp, locale)
               : local_clock_status(kind, source, now, locale);
}

QString file_date_status(ViewKind kind, MapSourceKind source, const QDateTime &written, bool utc,
                         const QLocale &locale)
{
    // The file's own instant: right in the repeated hour at the end of daylight saving too.
    if (utc)
        return two_lines(kind, format_month_day_year_time(written.toUTC(), locale, false) +
                                   QLatin1String(" UTC") + source_marker(source));
    return two_lines(kind, format_month_day_year_time(written.toLocalTime(), locale, true) +
                               source_marker(source));
}
