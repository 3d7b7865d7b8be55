#pragma once

#include "maps/mapserver.h"

#include "app/appstate.h"
#include "app/mainform.h"
#include "maps/httpclient.h"

#include <QTemporaryDir>

#include <memory>

// A main window whose maps come from a local server, with a fixed clock and a temporary
// data folder: 14:30 UTC on 22 September 2023.
struct MapFixture
{
    MapFixture();
    ~MapFixture();

    HttpClientCore &client();
    void choose(ViewKind kind);
    // Waits until every started download has been handled on this thread.
    bool waitIdle(int timeoutMs = 20000);
    QImage texture() const;
    bool busy() const;
    QString cacheFile(ViewKind kind) const;

    QTemporaryDir dir;
    FixedClock clock{QDateTime(QDate(2023, 9, 22), QTime(14, 30), Qt::UTC)};
    std::unique_ptr<TestMapServer> server;
    std::unique_ptr<TMainForm> form;
};

namespace Paths {
inline const QString TempsToday =
    QStringLiteral("/wx_frames/gfs/world-wt/t2/2023-09-22-00z/02.png");
inline const QString TempsYesterday =
    QStringLiteral("/wx_frames/gfs/world-wt/t2/2023-09-21-18z/02.png");
inline const QString TempsStatic = QStringLiteral("/wx/todays-weather/maps/gfs_world-wt_t2_d1.png");
inline const QString RainToday =
    QStringLiteral("/wx_frames/gfs/world-wt/prcp-tcld-topo/2023-09-22-00z/02.png");
inline const QString PressureStatic =
    QStringLiteral("/wx/todays-weather/maps/gfs_world-wt_mslp_d1.png");
} // namespace Paths

// A server map: white margins around rows of content of varying width, in one colour.
QByteArray map_png(QRgb colour, QSize size = QSize(1200, 800));
// What the climate texture must hold after the map was downloaded.
QImage expected_texture(const QByteArray &png);
// Sets a file's last-write time to the given instant.
void set_file_time(const QString &path, const QDateTime &when);
