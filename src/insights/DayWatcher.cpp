#include "DayWatcher.h"

#include <algorithm>
#include <cmath>

#include "platform/Calendar.h"
#include "platform/Clock.h"

namespace {
constexpr std::chrono::milliseconds kLongestWait { 60'000 };
// Lands just past midnight rather than on it.
constexpr std::chrono::milliseconds kPastMidnight { 50 };
} // namespace

DayWatcher::DayWatcher(const Clock& clock, const Calendar& calendar, QObject* parent)
    : QObject(parent)
    , m_clock(clock)
    , m_calendar(calendar)
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &DayWatcher::check);
}

void DayWatcher::start()
{
    if (m_started)
        return;
    m_started = true;
    m_day = m_calendar.dayNumber(m_clock.now());
    arm();
}

void DayWatcher::check()
{
    if (!m_started)
        return;
    const qint64 today = m_calendar.dayNumber(m_clock.now());
    const bool changed = today != m_day;
    m_day = today;
    arm();
    if (changed)
        emit dayChanged();
}

std::chrono::milliseconds DayWatcher::nextCheckIn() const
{
    const Instant now = m_clock.now();
    const Instant tomorrow = m_calendar.startOfDayNumber(m_calendar.dayNumber(now) + 1);
    const double seconds = tomorrow.secondsSince(now);
    if (!(seconds * 1000.0 < double(kLongestWait.count())))
        return kLongestWait;
    return std::max(std::chrono::milliseconds(static_cast<qint64>(std::ceil(seconds * 1000.0))),
               std::chrono::milliseconds(0))
        + kPastMidnight;
}

void DayWatcher::arm()
{
    m_timer.start(nextCheckIn());
}
