#include "app/appstate.h"

#include <QLocale>

namespace {
const SystemClock systemClock;

QString format_build_date()
{
    // The locale's short date, always with a four-digit year.
    QString pattern = QLocale().dateFormat(QLocale::ShortFormat);
    if (!pattern.contains(QLatin1String("yyyy")))
        pattern.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    return QLocale().toString(QDate(2023, 9, 22), pattern);
}

std::unique_ptr<AppState> make_state()
{
    auto state = std::make_unique<AppState>();
    state->clock = &systemClock;
    state->BuildDate = format_build_date();
    return state;
}

std::unique_ptr<AppState> &instance()
{
    static std::unique_ptr<AppState> state = make_state();
    return state;
}
} // namespace

AppState &app() { return *instance(); }

void reset_app_state() { instance() = make_state(); }

QStringList AppState::FramePrefixes() const
{
    const QString base = MapServer.load();
    return {base + QLatin1String("/wx_frames/gfs/world-wt/t2/"),
            base + QLatin1String("/wx_frames/gfs/world-wt/prcp-tcld-topo/"),
            base + QLatin1String("/wx_frames/gfs/world-wt/ws10-mslp/"),
            base + QLatin1String("/wx_frames/gfs/world-wt/t2anom/")};
}
