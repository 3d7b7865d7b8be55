#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QImage>
#include <QRgb>
#include <QSize>
#include <QString>

// Paths the map server is asked for at 14:30 UTC on 22 September 2023.
namespace Paths {
inline const QString TempsToday =
    QStringLiteral("/wx_frames/gfs/world-wt/t2/2023-09-22-00z/02.png");
inline const QString TempsYesterday =
    QStringLiteral("/wx_frames/gfs/world-wt/t2/2023-09-21-18z/02.png");
inline const QString TempsStatic = QStringLiteral("/wx/todays-weather/maps/gfs_world-wt_t2_d1.png");
inline const QString RainToday =
    QStringLiteral("/wx_frames/gfs/world-wt/prcp-tcld-topo/2023-09-22-00z/02.png");
inline const QString RainYesterday =
    QStringLiteral("/wx_frames/gfs/world-wt/prcp-tcld-topo/2023-09-21-18z/02.png");
inline const QString RainStatic =
    QStringLiteral("/wx/todays-weather/maps/gfs_world-wt_prcp-tcld-topo_d1.png");
inline const QString WindToday =
    QStringLiteral("/wx_frames/gfs/world-wt/ws10-mslp/2023-09-22-00z/02.png");
inline const QString PressureStatic =
    QStringLiteral("/wx/todays-weather/maps/gfs_world-wt_mslp_d1.png");
} // namespace Paths

inline const QDateTime TestNow(QDate(2023, 9, 22), QTime(14, 30), Qt::UTC);

// A server map: white margins around rows of content that get narrower toward the poles.
// The content of image row y is `colour`, or, when colour is 0, a colour that encodes y.
QByteArray map_png(QRgb colour, QSize size = QSize(1200, 800));
// The colour map_png(0) gives image row y.
QRgb row_colour(int y);
// What the climate texture must hold after the map was downloaded (the program's pipeline).
QImage expected_texture(const QByteArray &png);
// Sets a file's last-write time to the given instant.
void set_file_time(const QString &path, const QDateTime &when);
