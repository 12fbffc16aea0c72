#include "HeatmapCells.h"

#include <QCoreApplication>

#include "data/SessionStore.h"
#include "platform/Calendar.h"

namespace Heatmap {

namespace {
QString tooltip(qint64 minutes, const QString& date)
{
    if (minutes > 0)
        return QCoreApplication::translate("Heatmap", "%1 min focused on %2").arg(QString::number(minutes), date);
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
    grid.reserve(columns * rows);
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
    QStringList labels;
    for (int day = 0; day < rows; ++day) {
        // Row 0 is Sunday, which Qt numbers 7.
        const auto qtDay = static_cast<Qt::DayOfWeek>(day == 0 ? 7 : day);
        labels.append(day % 2 == 1 ? calendar.locale().dayName(qtDay, QLocale::NarrowFormat) : QString());
    }
    return labels;
}

} // namespace Heatmap
