#pragma once

#include <QLocale>
#include <QString>
#include <QTimeZone>
#include <map>

#include "Instant.h"

/// The user's calendar: days, weeks and weekdays in one time zone and locale.
///
/// Calendar days are also available as day numbers (the local date counted in
/// days since 1970-01-01), which are cheap to compute for many instants: the
/// zone's UTC offsets are looked up once per span between two transitions.
class Calendar {
public:
    Calendar(QTimeZone zone, QLocale locale);
    /// The user's current time zone and locale.
    static Calendar system();

    const QTimeZone& timeZone() const { return m_zone; }
    const QLocale& locale() const { return m_locale; }

    Instant startOfDay(Instant instant) const;
    /// Start of the calendar week holding `instant`, using the locale's first weekday.
    Instant startOfWeek(Instant instant) const;
    /// Gregorian weekday number: 1 = Sunday … 7 = Saturday.
    int weekday(Instant instant) const;
    /// Moves by whole calendar days, keeping the local time of day across daylight-saving changes.
    /// A wall time the clocks skip moves forward by the length of the gap; one they repeat
    /// takes its first occurrence.
    Instant addDays(Instant instant, int days) const;
    /// Full weekday name in the locale (the "EEEE" form), for a Gregorian weekday number.
    QString weekdayName(int weekday) const;
    /// The local date in the locale's medium style: "Dec 5, 2026", "5. Dez. 2026".
    QString mediumDate(Instant instant) const;

    /// The local calendar date of `instant` as days since 1970-01-01.
    qint64 dayNumber(Instant instant) const;
    Instant startOfDayNumber(qint64 day) const;
    static int weekdayOfDayNumber(qint64 day);

private:
    struct OffsetSpan {
        qint64 endMs; // exclusive
        int offsetSeconds;
    };
    int offsetAt(qint64 utcMs) const;

    QTimeZone m_zone;
    QLocale m_locale;
    /// Spans of constant UTC offset already looked up, keyed by their first millisecond.
    mutable std::map<qint64, OffsetSpan> m_offsetSpans;
};
