#pragma once

#include "app/globetypes.h"

#include <QString>

// The two-line status text at the top of the main window: title, carriage return, then a
// date and the map's source marker, or an error text alone.
void set_status(const QString &text);
void clear_status();
void show_status_error();
// The text on screen, with its carriage return.
QString status_text();

QString view_title();
QString source_marker();

void show_clock_status();
void show_utc_clock_status();
void show_local_clock_status();
void show_file_date_status(ViewKind kind);
