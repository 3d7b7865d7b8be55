#include "core/datetime.h"

#include <cmath>

namespace {
constexpr double kUnixEpochDays = 25569.0; // 1970-01-01 counted from 1899-12-30
constexpr double kMsPerDay = 86400000.0;
} // namespace

DateTimeDays to_days(const QDateTime &dt)
{
    // Local date-times keep their wall-clock reading, UTC ones theirs.
    const QDateTime wall(dt.date(), dt.time(), Qt::UTC);
    return double(wall.toMSecsSinceEpoch()) / kMsPerDay + kUnixEpochDays;
}

QDateTime from_days(DateTimeDays days, Qt::TimeSpec zone)
{
    const qint64 ms = std::llround((days - kUnixEpochDays) * kMsPerDay);
    const QDateTime wall = QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC);
    if (zone == Qt::UTC)
        return wall;
    return QDateTime(wall.date(), wall.time(), zone);
}
