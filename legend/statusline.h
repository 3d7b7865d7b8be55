#pragma once

#include "core/datetime.h"
#include "core/globetypes.h"

#include <QDateTime>
#include <QLocale>
#include <QString>

// The two-line texts of the status line at the top of the main window: the view's title,
// a carriage return, then a date with the map's source marker.
inline constexpr QChar StatusLineBreak{13};

QString view_title(ViewKind kind);
QString source_marker(MapSourceKind source);

// The stamp as "m/d/yyyy hh:nn UTC", then the marker.
QString utc_clock_status(ViewKind kind, MapSourceKind source, DateTimeDays utcStamp,
                         const QLocale &locale);
// The present local time in the locale's short date and long time, then the marker.
QString local_clock_status(ViewKind kind, MapSourceKind source, const QDateTime &now,
                           const QLocale &locale);
// The clock text that every showing of a view writes.
QString clock_status(ViewKind kind, MapSourceKind source, bool utc, DateTimeDays utcStamp,
                     const QDateTime &now, const QLocale &locale);
// The date of a map file: "m/d/yyyy hh:nn UTC" in UTC, "m/d/yyyy hh:nn AM" locally.
QString file_date_status(ViewKind kind, MapSourceKind source, const QDateTime &written, bool utc,
                         const QLocale &locale);
