#include "SessionRecord.h"

#include <cmath>
#include <limits>

std::string_view rawValue(SessionType type)
{
    switch (type) {
    case SessionType::focus:
        return "focus";
    case SessionType::shortBreak:
        return "shortBreak";
    case SessionType::longBreak:
        return "longBreak";
    }
    return "focus";
}

std::optional<SessionType> sessionTypeFromRawValue(std::string_view raw)
{
    for (const SessionType type : { SessionType::focus, SessionType::shortBreak, SessionType::longBreak }) {
        if (raw == rawValue(type))
            return type;
    }
    return std::nullopt;
}

qint64 SessionRecord::wholeMinutes() const
{
    const double minutes = std::trunc(duration / 60.0);
    if (std::isnan(minutes))
        return 0;
    constexpr double limit = 9.2e18;
    if (minutes >= limit)
        return std::numeric_limits<qint64>::max();
    if (minutes <= -limit)
        return std::numeric_limits<qint64>::min();
    return static_cast<qint64>(minutes);
}

qint64 addMinutes(qint64 total, qint64 minutes)
{
    qint64 sum = 0;
    if (__builtin_add_overflow(total, minutes, &sum))
        return minutes > 0 ? std::numeric_limits<qint64>::max() : std::numeric_limits<qint64>::min();
    return sum;
}
