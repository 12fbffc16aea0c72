#include "TimeRange.h"

QString rawValue(TimeRange range)
{
    switch (range) {
    case TimeRange::sevenDays:
        return QStringLiteral("7d");
    case TimeRange::thirtyDays:
        return QStringLiteral("30d");
    case TimeRange::ninetyDays:
        return QStringLiteral("90d");
    }
    return {};
}

std::optional<TimeRange> timeRangeFromRawValue(const QString& raw)
{
    for (const TimeRange range : allTimeRanges) {
        if (raw == rawValue(range))
            return range;
    }
    return std::nullopt;
}

int dayOffset(TimeRange range)
{
    switch (range) {
    case TimeRange::sevenDays:
        return -7;
    case TimeRange::thirtyDays:
        return -30;
    case TimeRange::ninetyDays:
        return -90;
    }
    return 0;
}
