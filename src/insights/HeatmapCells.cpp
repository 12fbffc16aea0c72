#include "HeatmapCells.h"

#include <QCoreApplication>

#include "data/SessionStore.h"
#include "platform/Calendar.h"

namespace Heatmap {

namespace {
QString tooltip(qint64 minutes, const QString& date)
{
    const int count = static_cast<int>(minutes);
    if (count > 0)
        return QCoreApplication::translate("Heatmap", "%n min focused on %1", nullptr, count).arg(date);
    return QCoreApplication::translate("Heatmap", "No focus time on %1").arg(date);
}
} // namespace

int level(qint64 focusMinutes)
{
    if (focusMinutes <= 0)
        return 0;
    if (focusMinutes <= 24)
        return 1;
    if (focusMinutes <= 49)
        return 2;
    if (focusMinutes <= 89)
        return 3;
    return 4;
}

std::vector<HeatmapCell> cells(const SessionStore& store, const Calendar& calendar, Instant now)
{
    const int todayWeekday = calendar.weekday(now);
    std::vector<HeatmapCell> grid;
    grid.reserve(static_cast<std::size_t>(columns) * rows);
    for (int day = 0; day < rows; ++day) {
        for (int week = 0; week < columns; ++week) {
            HeatmapCell cell;
            cell.week = week;
            cell.day = day;
            const int daysAgo = (columns - 1 - week) * 7 + (todayWeekday - 1 - day);
            cell.date = calendar.addDays(now, -daysAgo);
            cell.isFuture = cell.date > now;
            cell.focusMinutes = store.focusMinutesOnDay(cell.date);
            cell.level = level(cell.focusMinutes);
            cell.tooltip = tooltip(cell.focusMinutes, calendar.mediumDate(cell.date));
            grid.push_back(std::move(cell));
        }
    }
    return grid;
}

QStringList rowLabels(const Calendar& calendar)
{
    // The C locale has no weekday initials ("1" for Monday): then these, Sunday first.
    static const char* const englishInitials[rows] = { "S", "M", "T", "W", "T", "F", "S" };
    QStringList labels;
    for (int day = 0; day < rows; ++day) {
        if (day % 2 == 0) {
            labels.append(QString());
            continue;
        }
        // Row 0 is Sunday, which Qt numbers 7.
        const auto qtDay = static_cast<Qt::DayOfWeek>(day == 0 ? 7 : day);
        const QString initial = calendar.locale().dayName(qtDay, QLocale::NarrowFormat);
        labels.append(
            initial.isEmpty() || initial.front().isDigit() ? QLatin1String(englishInitials[day]) : initial);
    }
    return labels;
}

} // namespace Heatmap
