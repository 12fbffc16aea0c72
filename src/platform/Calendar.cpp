#include "Calendar.h"

#include <cmath>
#include <limits>

namespace {
constexpr qint64 kSecondsPerDay = 86400;
const QDate kEpochDate(1970, 1, 1);

/// Qt numbers weekdays 1 = Monday … 7 = Sunday; the Gregorian convention here is 1 = Sunday.
int gregorianFromQt(int qtDay) { return qtDay % 7 + 1; }
Qt::DayOfWeek qtFromGregorian(int weekday) { return static_cast<Qt::DayOfWeek>(weekday == 1 ? 7 : weekday - 1); }
} // namespace

Calendar::Calendar(QTimeZone zone, QLocale locale) : m_zone(std::move(zone)), m_locale(std::move(locale)) { }

Calendar Calendar::system() { return Calendar(QTimeZone::systemTimeZone(), QLocale::system()); }

int Calendar::offsetAt(qint64 utcMs) const
{
    auto it = m_offsetSpans.upper_bound(utcMs);
    if (it != m_offsetSpans.begin()) {
        --it;
        if (utcMs < it->second.endMs)
            return it->second.offsetSeconds;
    }
    const QDateTime at = QDateTime::fromMSecsSinceEpoch(utcMs, QTimeZone::utc());
    const int offset = m_zone.offsetFromUtc(at);
    qint64 begin = utcMs;
    qint64 end = utcMs + 1;
    if (m_zone.hasTransitions()) {
        // The offset is constant from the last transition at or before `at` up to the next one.
        const auto previous = m_zone.previousTransition(at.addMSecs(1));
        const auto next = m_zone.nextTransition(at);
        begin = previous.atUtc.isValid() ? previous.atUtc.toMSecsSinceEpoch() : std::numeric_limits<qint64>::min();
        end = next.atUtc.isValid() ? next.atUtc.toMSecsSinceEpoch() : std::numeric_limits<qint64>::max();
    } else if (!m_zone.hasDaylightTime()) {
        begin = std::numeric_limits<qint64>::min();
        end = std::numeric_limits<qint64>::max();
    }
    if (begin > utcMs || end <= utcMs) { // inconsistent zone data: cache just this millisecond
        begin = utcMs;
        end = utcMs + 1;
    }
    m_offsetSpans[begin] = OffsetSpan { end, offset };
    return offset;
}

qint64 Calendar::dayNumber(Instant instant) const
{
    const double unixSeconds = instant.unixSeconds();
    const auto utcMs = static_cast<qint64>(std::floor(unixSeconds * 1000.0));
    const double localSeconds = unixSeconds + offsetAt(utcMs);
    return static_cast<qint64>(std::floor(localSeconds / kSecondsPerDay));
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

Instant Calendar::startOfDay(Instant instant) const { return startOfDayNumber(dayNumber(instant)); }

Instant Calendar::startOfWeek(Instant instant) const
{
    const qint64 day = dayNumber(instant);
    const int firstWeekday = gregorianFromQt(m_locale.firstDayOfWeek());
    const int daysIntoWeek = (weekdayOfDayNumber(day) - firstWeekday + 7) % 7;
    return startOfDayNumber(day - daysIntoWeek);
}

int Calendar::weekday(Instant instant) const { return weekdayOfDayNumber(dayNumber(instant)); }

Instant Calendar::addDays(Instant instant, int days) const
{
    const QDateTime base = instant.toDateTime().toTimeZone(m_zone);
    const QDateTime moved = base.addDays(days);
    // Move by the millisecond difference so a sub-millisecond fraction survives.
    return instant.addSeconds(static_cast<double>(moved.toMSecsSinceEpoch() - base.toMSecsSinceEpoch()) / 1000.0);
}

QString Calendar::weekdayName(int weekday) const
{
    if (weekday < 1 || weekday > 7)
        return {};
    return m_locale.dayName(qtFromGregorian(weekday), QLocale::LongFormat);
}
