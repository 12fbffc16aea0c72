#include "Calendar.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "MediumDateFormat.h"

namespace {
constexpr qint64 kSecondsPerDay = 86400;
const QDate kEpochDate(1970, 1, 1);

/// Qt numbers weekdays 1 = Monday … 7 = Sunday; the Gregorian convention here is 1 = Sunday.
int gregorianFromQt(int qtDay)
{
    return qtDay % 7 + 1;
}
/// The millisecond an instant falls in, and its local day under `offsetSeconds`: the one
/// arithmetic behind every day number.
qint64 utcMsOf(double unixSeconds)
{
    return static_cast<qint64>(std::floor(unixSeconds * 1000.0));
}
qint64 localDayOf(double unixSeconds, int offsetSeconds)
{
    return static_cast<qint64>(std::floor((unixSeconds + offsetSeconds) / kSecondsPerDay));
}

Qt::DayOfWeek qtFromGregorian(int weekday)
{
    return static_cast<Qt::DayOfWeek>(weekday == 1 ? 7 : weekday - 1);
}
} // namespace

Calendar::Calendar(const QTimeZone& zone, const QLocale& locale)
    : m_zone(zone)
    , m_locale(locale)
{ }

Calendar Calendar::system()
{
    // The default locale: Qt's system locale, or the one set at start from the user's languages.
    return Calendar(QTimeZone::systemTimeZone(), QLocale());
}

Calendar::OffsetSpan Calendar::spanAt(qint64 utcMs) const
{
    auto it = m_offsetSpans.upper_bound(utcMs);
    if (it != m_offsetSpans.begin()) {
        --it;
        if (utcMs < it->second.endMs)
            return it->second;
    }
    const QDateTime at = QDateTime::fromMSecsSinceEpoch(utcMs, QTimeZone::utc());
    const int offset = m_zone.offsetFromUtc(at);
    qint64 begin = utcMs;
    qint64 end = utcMs + 1;
    if (m_zone.hasTransitions()) {
        // The offset is constant from the last transition at or before `at` up to the next one.
        const auto previous = m_zone.previousTransition(at.addMSecs(1));
        const auto next = m_zone.nextTransition(at);
        begin = previous.atUtc.isValid() ? previous.atUtc.toMSecsSinceEpoch()
                                         : std::numeric_limits<qint64>::min();
        end = next.atUtc.isValid() ? next.atUtc.toMSecsSinceEpoch() : std::numeric_limits<qint64>::max();
    } else if (!m_zone.hasDaylightTime()) {
        begin = std::numeric_limits<qint64>::min();
        end = std::numeric_limits<qint64>::max();
    }
    if (begin > utcMs || end <= utcMs) { // inconsistent zone data: cache just this millisecond
        begin = utcMs;
        end = utcMs + 1;
    }
    const OffsetSpan span { begin, end, offset };
    m_offsetSpans[begin] = span;
    return span;
}

int Calendar::offsetAt(qint64 utcMs) const
{
    return spanAt(utcMs).offsetSeconds;
}

qint64 Calendar::dayNumber(Instant instant) const
{
    const double unixSeconds = instant.unixSeconds();
    return localDayOf(unixSeconds, offsetAt(utcMsOf(unixSeconds)));
}

int Calendar::utcOffsetSeconds(Instant instant) const
{
    return offsetAt(utcMsOf(instant.unixSeconds()));
}

Calendar::DaySpan Calendar::daySpan(Instant instant) const
{
    const double unixSeconds = instant.unixSeconds();
    const OffsetSpan offset = spanAt(utcMsOf(unixSeconds));
    DaySpan span;
    span.day = localDayOf(unixSeconds, offset.offsetSeconds);
    // Under one offset, the local day begins and ends at fixed times.
    span.firstSecond = static_cast<double>(span.day * kSecondsPerDay - offset.offsetSeconds);
    span.endSecond = span.firstSecond + kSecondsPerDay;
    span.firstMs = offset.beginMs;
    span.endMs = offset.endMs;
    return span;
}

Instant Calendar::startOfDayNumber(qint64 day) const
{
    return Instant::fromDateTime(kEpochDate.addDays(day).startOfDay(m_zone));
}

int Calendar::weekdayOfDayNumber(qint64 day)
{
    // 1970-01-01 was a Thursday (weekday 5).
    const qint64 sinceThursday = ((day % 7) + 7) % 7;
    return static_cast<int>((sinceThursday + 4) % 7) + 1;
}

Instant Calendar::startOfDay(Instant instant) const
{
    return startOfDayNumber(dayNumber(instant));
}

Instant Calendar::startOfWeek(Instant instant) const
{
    const qint64 day = dayNumber(instant);
    const int firstWeekday = gregorianFromQt(m_locale.firstDayOfWeek());
    const int daysIntoWeek = (weekdayOfDayNumber(day) - firstWeekday + 7) % 7;
    return startOfDayNumber(day - daysIntoWeek);
}

int Calendar::weekday(Instant instant) const
{
    return weekdayOfDayNumber(dayNumber(instant));
}

Instant Calendar::addDays(Instant instant, int days) const
{
    if (days == 0)
        return instant;
    // Qt 6.4's QDateTime::addDays lands before a gap; work on the local wall time instead.
    const auto utcMs = static_cast<qint64>(std::floor(instant.unixSeconds() * 1000.0));
    const int offset = offsetAt(utcMs);
    const qint64 dayMs = qint64(days) * kSecondsPerDay * 1000;
    const qint64 wallMs = utcMs + qint64(offset) * 1000 + dayMs; // the target wall time, read as UTC
    // The offsets a day either side; zones change at most once within that span.
    const int before = offsetAt(wallMs - kSecondsPerDay * 1000);
    const int after = offsetAt(wallMs + kSecondsPerDay * 1000);
    const bool beforeFits = offsetAt(wallMs - qint64(before) * 1000) == before;
    const bool afterFits = offsetAt(wallMs - qint64(after) * 1000) == after;
    // Both fit: a repeated wall time, whose first occurrence has the larger offset. Neither fits: a
    // skipped one, which the offset from before the gap moves forward by the gap's length.
    int chosen = before;
    if (beforeFits && afterFits)
        chosen = std::max(before, after);
    else if (afterFits)
        chosen = after;
    // Moving by a whole number of seconds keeps a sub-millisecond fraction.
    return instant.addSeconds(static_cast<double>(qint64(days) * kSecondsPerDay + offset - chosen));
}

QString Calendar::weekdayName(int weekday) const
{
    if (weekday < 1 || weekday > 7)
        return {};
    return m_locale.dayName(qtFromGregorian(weekday), QLocale::LongFormat);
}

QString Calendar::mediumDate(Instant instant) const
{
    const QDate date = kEpochDate.addDays(dayNumber(instant));
    return m_locale.toString(date, mediumDateFormat(m_locale.dateFormat(QLocale::LongFormat)));
}
