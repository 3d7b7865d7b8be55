#pragma once

#include <QDateTime>
#include <QLocale>

// The locale's separators, read off its own short formats.
QChar date_separator(const QLocale &locale);
QChar time_separator(const QLocale &locale);

// The locale's short date format, always with a four-digit year.
QString short_date_pattern(const QLocale &locale);
// The locale's long time format without any time-zone name.
QString long_time_pattern(const QLocale &locale);

// "m/d/yyyy hh:nn" (month first whatever the locale; only the separators are the
// locale's), with " AM"/" PM" and a 12-hour clock when ampm is set.
QString format_month_day_year_time(const QDateTime &dt, const QLocale &locale, bool ampm);
// "c": short date, a blank, long time; the time is left out at exactly midnight.
QString format_date_time_c(const QDateTime &dt, const QLocale &locale);
