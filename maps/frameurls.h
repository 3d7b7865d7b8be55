#pragma once

#include "app/appstate.h"

// Hour bucket of a frame: 0-6 -> 0, 7-12 -> 1, 13-18 -> 2, 19-23 -> 3.
int hour_bucket(int utcHour);

// The frame date of today's 00z run (or of the previous day's 18z run) at a UTC instant.
FrameDate today_frame_date(const QDateTime &utc);
FrameDate yesterday_frame_date(const QDateTime &utc);

// Store the frame date in the shared state and take a new UtcStamp. Both also return what
// they stored, so their caller builds the URL from its own values even while a running
// download stores another date.
FrameDate set_today_vars(ViewKind kind);
FrameDate set_yesterday_vars();

QString get_frame_url(ViewKind kind);
QString get_frame_url(ViewKind kind, const FrameDate &frame);
QString get_static_url(ViewKind kind);
