#pragma once

#include <QLocale>
#include <QString>
#include <QTimeZone>
#include <cmath>
#include <map>

#include "Instant.h"

/// The user's calendar: days, weeks and weekdays in one time zone and locale.
///
/// Calendar days are also available as day numbers (the local date counted in
/// days since 1970-01-01), which are cheap to compute for many instants: the
/// zone's UTC offsets are looked up once per span between two transitions.
class Calendar {
public:
    Calendar(const QTimeZone& zone, const QLocale& locale);
    /// The user's current time zone and the default locale.
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

    /// A stretch of one local day under one UTC offset: `dayNumber` is `day` for every instant
    /// it holds. Found once, it answers for the many instants that fall into the same day.
    struct DaySpan {
        qint64 day = 0;
        /// In the same arithmetic as `dayNumber`, so the two never disagree.
        bool holds(Instant instant) const
        {
            const double unixSeconds = instant.unixSeconds();
            const auto utcMs = static_cast<qint64>(std::floor(unixSeconds * 1000.0));
            return utcMs >= firstMs && utcMs < endMs && unixSeconds >= firstSecond && unixSeconds < endSecond;
        }

        double firstSecond = 0; ///< Unix seconds
        double endSecond = 0; ///< exclusive
        qint64 firstMs = 0; ///< the offset's span, Unix milliseconds
        qint64 endMs = 0; ///< exclusive
    };
    /// The part of `instant`'s local day that shares its UTC offset.
    DaySpan daySpan(Instant instant) const;
    Instant startOfDayNumber(qint64 day) const;
    static int weekdayOfDayNumber(qint64 day);
    /// Seconds the local time is ahead of UTC at `instant` (negative west of Greenwich).
    int utcOffsetSeconds(Instant instant) const;

private:
    struct OffsetSpan {
        qint64 beginMs;
        qint64 endMs; // exclusive
        int offsetSeconds;
    };
    /// The span of constant UTC offset holding `utcMs`, looked up once and then cached.
    OffsetSpan spanAt(qint64 utcMs) const;
    int offsetAt(qint64 utcMs) const;

    QTimeZone m_zone;
    QLocale m_locale;
    /// Spans of constant UTC offset already looked up, keyed by their first millisecond.
    mutable std::map<qint64, OffsetSpan> m_offsetSpans;
};
