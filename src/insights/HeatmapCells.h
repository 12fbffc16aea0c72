#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "platform/Instant.h"

class Calendar;
class SessionStore;

/// One day of the activity grid.
struct HeatmapCell {
    int week = 0; ///< column, 0 = oldest
    int day = 0; ///< row, 0 = Sunday … 6 = Saturday
    Instant date; ///< now moved back by whole calendar days, time of day kept
    bool isFuture = false;
    qint64 focusMinutes = 0;
    int level = 0; ///< 0 … 4
    QString tooltip;
};

namespace Heatmap {
inline constexpr int columns = 12;
inline constexpr int rows = 7;
inline constexpr int levels = 5;

/// Shade of a day: 0 without focus, then 1–24, 25–49, 50–89 and 90 or more minutes.
int level(qint64 focusMinutes);
/// The grid row by row (Sunday first), each row oldest week first: index = day × columns + week.
std::vector<HeatmapCell> cells(const SessionStore& store, const Calendar& calendar, Instant now);
/// Row labels: the locale's narrow weekday names on Monday, Wednesday and Friday (English initials
/// where the locale has none), empty elsewhere.
QStringList rowLabels(const Calendar& calendar);
} // namespace Heatmap
