#include "HeatmapModel.h"

#include "ColorText.h"
#include "FigureInputs.h"
#include "data/ThemeManager.h"
#include "platform/Calendar.h"
#include "platform/Clock.h"

namespace {
constexpr quint32 kInk = 0x18181B;
constexpr double kLevelOpacity[] = { 0.05, 0.25, 0.5, 0.75, 1.0 };
const QString kClear = QStringLiteral("transparent");
} // namespace

HeatmapModel::HeatmapModel(InsightsDependencies dependencies, QObject* parent)
    : QAbstractListModel(parent)
    , m_inputs(new FigureInputs(std::move(dependencies), this))
{
    connect(m_inputs, &FigureInputs::becameStale, this, &HeatmapModel::onStale);
    connect(&m_inputs->dependencies().themeManager, &ThemeManager::focusColorIdChanged, this, [this] {
        emit focusColorChanged();
        m_inputs->invalidate();
    });
}

void HeatmapModel::onStale()
{
    // The grid keeps its size; only what the cells show changes.
    emit dataChanged(index(0), index(Heatmap::columns * Heatmap::rows - 1));
    emit weekTextsChanged();
}

const std::vector<HeatmapCell>& HeatmapModel::cells() const
{
    if (m_inputs->isStale()) {
        const InsightsDependencies& deps = m_inputs->dependencies();
        m_cells = Heatmap::cells(m_inputs->store(), deps.calendar, deps.clock.now());
        m_inputs->markFresh();
    }
    return m_cells;
}

int HeatmapModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : Heatmap::columns * Heatmap::rows;
}

QVariant HeatmapModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const HeatmapCell& cell = cells()[static_cast<std::size_t>(index.row())];
    switch (role) {
    case WeekRole:
        return cell.week;
    case DayRole:
        return cell.day;
    case DateRole:
        return cell.date.toDateTime().toTimeZone(m_inputs->dependencies().calendar.timeZone());
    case IsFutureRole:
        return cell.isFuture;
    case FocusMinutesRole:
        return cell.focusMinutes;
    case LevelRole:
        return cell.level;
    case Qt::ToolTipRole:
    case TooltipRole:
        return cell.tooltip;
    case FillColorRole:
        return fillColor(cell);
    case BorderColorRole:
        return cell.isFuture ? kClear : borderColor();
    default:
        return {};
    }
}

QHash<int, QByteArray> HeatmapModel::roleNames() const
{
    return { { WeekRole, "week" }, { DayRole, "day" }, { DateRole, "date" }, { IsFutureRole, "isFuture" },
        { FocusMinutesRole, "focusMinutes" }, { LevelRole, "level" }, { TooltipRole, "tooltip" },
        { FillColorRole, "fillColor" }, { BorderColorRole, "borderColor" } };
}

QStringList HeatmapModel::rowLabels() const
{
    return Heatmap::rowLabels(m_inputs->dependencies().calendar);
}

QStringList HeatmapModel::weekTexts() const
{
    QList<QStringList> days(Heatmap::columns);
    for (const HeatmapCell& cell : cells()) {
        if (!cell.isFuture)
            days[cell.week].append(cell.tooltip);
    }
    QStringList weeks;
    for (const QStringList& week : days)
        weeks.append(week.join(QStringLiteral("; ")));
    return weeks;
}

QString HeatmapModel::focusColor() const
{
    const QString id = m_inputs->dependencies().themeManager.focusColorId();
    return colorText(ThemeManager::colorForId(id).value_or(fallbackFocusColor));
}

QString HeatmapModel::levelColor(int level) const
{
    if (level <= 0)
        return colorText(kInk, kLevelOpacity[0]);
    const QString id = m_inputs->dependencies().themeManager.focusColorId();
    return colorText(
        ThemeManager::colorForId(id).value_or(fallbackFocusColor), kLevelOpacity[std::min(level, 4)]);
}

QStringList HeatmapModel::legendColors() const
{
    QStringList colors;
    for (int level = 0; level < Heatmap::levels; ++level)
        colors.append(levelColor(level));
    return colors;
}

QString HeatmapModel::borderColor() const
{
    return colorText(kInk, 0.3);
}

QString HeatmapModel::fillColor(const HeatmapCell& cell) const
{
    return cell.isFuture ? kClear : levelColor(cell.level);
}
