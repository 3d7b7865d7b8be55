#include "legend/dateformat.h"

#include <QRegularExpression>

namespace {
QChar first_separator(const QString &pattern, QChar fallback)
{
    bool quoted = false;
    for (QChar c : pattern) {
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        else if (!quoted && !c.isLetter() && !c.isSpace())
            return c;
    }
    return fallback;
}
QString two(int n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); }
} // namespace

QChar date_separator(const QLocale &locale)
{
    return first_separator(locale.dateFormat(QLocale::ShortFormat), QLatin1Char('/'));
}

QChar time_separator(const QLocale &locale)
{
    return first_separator(locale.timeFormat(QLocale::ShortFormat), QLatin1Char(':'));
}

QString short_date_pattern(const QLocale &locale)
{
    QString pattern = locale.dateFormat(QLocale::ShortFormat);
    if (!pattern.contains(QLatin1String("yyyy")))
        pattern.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    return pattern;
}

QString long_time_pattern(const QLocale &locale)
{
    QString pattern = locale.timeFormat(QLocale::LongFormat);
    // Drop zone tokens (t, tt, ...) with the blanks around them.
    static const QRegularExpression zone(QStringLiteral("\\s*\\bt+\\b\\s*"));
    pattern.replace(zone, QStringLiteral(" "));
    return pattern.trimmed();
}

QString format_month_day_year_time(const QDateTime &dt, const QLocale &locale, bool ampm)
{
    const QDate d = dt.date();
    const QTime t = dt.time();
    const QChar ds = date_separator(locale);
    int hour = t.hour();
    if (ampm) {
        hour %= 12;
        if (hour == 0)
            hour = 12;
    }
    QString text = QString::number(d.month()) + ds + QString::number(d.day()) + ds +
                   QString::number(d.year()) + QLatin1Char(' ') + two(hour) +
                   time_separator(locale) + two(t.minute());
    if (ampm)
        text += t.hour() < 12 ? QLatin1String(" AM") : QLatin1String(" PM");
    return text;
}

QString format_date_time_c(const QDateTime &dt, const QLocale &locale)
{
    QString text = locale.toString(dt.date(), short_date_pattern(locale));
    if (dt.time() != QTime(0, 0))
        text += QLatin1Char(' ') + locale.toString(dt.time(), long_time_pattern(locale));
    return text;
}
