#include "legend/statusline.h"

#include "app/appstate.h"
#include "app/mainform.h"
#include "legend/dateformat.h"
#include "maps/mapcache.h"
#include "settings/settingsform.h"

#include <QFileInfo>
#include <QLabel>

namespace {
const QChar CR(13);

QString line(const QString &second) { return view_title() + CR + second; }

bool clock_in_utc() { return settings_radio_utc_checked(); }
} // namespace

void set_status(const QString &text)
{
    TMainForm *form = app().MainForm;
    if (!form)
        return;
    // QLabel breaks lines at '\n' only.
    form->statusLabel()->setText(QString(text).replace(CR, QLatin1Char('\n')));
}

void clear_status() { set_status(QString()); }

QString status_text()
{
    TMainForm *form = app().MainForm;
    return form ? form->statusLabel()->text().replace(QLatin1Char('\n'), CR) : QString();
}

void show_status_error()
{
    const QString error = app().StatusError.load();
    if (!error.isEmpty())
        set_status(error);
}

QString view_title()
{
    switch (current_view()) {
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

QString source_marker()
{
    switch (app().MapSource.load()) {
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

void show_clock_status()
{
    if (clock_in_utc())
        show_utc_clock_status();
    else
        show_local_clock_status();
}

void show_utc_clock_status()
{
    const QDateTime stamp = from_days(app().UtcStamp.load());
    set_status(line(format_month_day_year_time(stamp, QLocale(), false) + QLatin1String(" UTC") +
                    source_marker()));
}

void show_local_clock_status()
{
    const QDateTime now = utc_now_datetime().toLocalTime();
    set_status(line(format_date_time_c(now, QLocale()) + source_marker()));
}

void show_file_date_status(ViewKind kind)
{
    const QFileInfo file(cache_file_name(kind));
    if (!file.exists())
        return;
    // The file's own instant: right in the repeated hour at the end of daylight saving too.
    const QDateTime written = file.lastModified();
    if (app().UseUtc)
        set_status(line(format_month_day_year_time(written.toUTC(), QLocale(), false) +
                        QLatin1String(" UTC") + source_marker()));
    else
        set_status(line(format_month_day_year_time(written.toLocalTime(), QLocale(), true) +
                        source_marker()));
}
