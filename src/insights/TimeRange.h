#pragma once

#include <QString>
#include <array>
#include <optional>

/// A window of recent days for the tag statistics; no range means all time.
enum class TimeRange { sevenDays, thirtyDays, ninetyDays };

inline constexpr std::array<TimeRange, 3> allTimeRanges { TimeRange::sevenDays, TimeRange::thirtyDays,
    TimeRange::ninetyDays };

/// "7d", "30d" or "90d": the stored and displayed value.
QString rawValue(TimeRange range);
std::optional<TimeRange> timeRangeFromRawValue(const QString& raw);
/// The calendar days the window reaches back: -7, -30 or -90.
int dayOffset(TimeRange range);
