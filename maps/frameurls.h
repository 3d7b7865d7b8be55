#pragma once

#include "core/globetypes.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

// The public map server; a mirror may stand in for it.
inline constexpr const char *DefaultMapServer = "https://climatereanalyzer.org";

// The frame date of a map request, as its URL spells it.
struct FrameDate
{
    QString FrameYear;
    QString FrameMonth;
    QString FrameDay;
    QString FrameRun;
    QString FrameNumber;
};

// Hour bucket of a frame: 0-6 -> 0, 7-12 -> 1, 13-18 -> 2, 19-23 -> 3.
int hour_bucket(int utcHour);

// The frame date of today's 00z run (or of the previous day's 18z run) at a UTC instant.
FrameDate today_frame_date(const QDateTime &utc);
FrameDate yesterday_frame_date(const QDateTime &utc);

// The frame folders of the views 0..3 on a server.
QStringList frame_prefixes(const QString &server);

// Empty for the views that have no frames (Pressure, Day/Night, anything else).
QString get_frame_url(const QString &server, ViewKind kind, const FrameDate &frame);
// Empty for the kinds that are no map view.
QString get_static_url(const QString &server, ViewKind kind);
