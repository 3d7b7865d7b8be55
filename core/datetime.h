#pragma once

#include <QDateTime>

// Date-times are passed around as days since 1899-12-30, the fraction being the time of day.
using DateTimeDays = double;

DateTimeDays to_days(const QDateTime &dt);
// The instant as UTC when zone is Qt::UTC; the wall-clock value as local time otherwise.
QDateTime from_days(DateTimeDays days, Qt::TimeSpec zone = Qt::UTC);

// Supplies the current instant. Replaced by a fixed clock in tests.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDateTime nowUtc() const = 0;
};

// The clock of a running program.
class SystemClock final : public Clock
{
public:
    QDateTime nowUtc() const override { return QDateTime::currentDateTimeUtc(); }
};

class FixedClock final : public Clock
{
public:
    explicit FixedClock(QDateTime utc)
        : m_utc(utc.toUTC())
    {}
    QDateTime nowUtc() const override { return m_utc; }
    void set(QDateTime utc) { m_utc = utc.toUTC(); }

private:
    QDateTime m_utc;
};

// The current UTC date-time as days, straight from the clock's UTC reading (a local time
// minus offset would be an hour off in the repeated hour at the end of daylight saving).
inline DateTimeDays utc_now(const Clock &clock) { return to_days(clock.nowUtc()); }
