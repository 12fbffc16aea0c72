#include "TagInsightsModel.h"

#include "ColorText.h"
#include "FigureInputs.h"
#include "data/TagManager.h"
#include "platform/Calendar.h"
#include "platform/Clock.h"
#include "timer/ClockText.h"

namespace {
const QString kAll = QStringLiteral("All");

/// The chart's total always names its minutes when it has hours: "2h 0m total", "45m total".
QString totalText(qint64 minutes)
{
    const qint64 hours = minutes / 60;
    const qint64 rest = minutes % 60;
    if (hours != 0)
        return TagInsightsModel::tr("%1h %2m total").arg(hours).arg(rest);
    return TagInsightsModel::tr("%1m total").arg(rest);
}
} // namespace

TagInsightsModel::TagInsightsModel(InsightsDependencies dependencies, QObject* parent)
    : QAbstractListModel(parent)
    , m_inputs(new FigureInputs(std::move(dependencies), this))
{
    connect(m_inputs, &FigureInputs::becameStale, this, &TagInsightsModel::onStale);
    // Asking for a colour while computing may give a tag its first one; the figures are stale then
    // anyway, so that change does not signal again.
    connect(&m_inputs->dependencies().tagManager, &TagManager::tagColorMapChanged, m_inputs,
        &FigureInputs::invalidate);
}

void TagInsightsModel::onStale()
{
    // Rows come and go with the figures; they are computed again when the view asks for them.
    beginResetModel();
    endResetModel();
    emit figuresChanged();
}

const TagInsightsModel::Figures& TagInsightsModel::figures() const
{
    if (!m_inputs->isStale())
        return m_figures;
    const InsightsDependencies& deps = m_inputs->dependencies();
    std::optional<Instant> cutoff;
    if (m_range)
        cutoff = deps.calendar.addDays(deps.clock.now(), dayOffset(*m_range));
    Figures f;
    f.stats = tagStatistics(m_inputs->store(), deps.calendar, cutoff);
    f.totalMinutes = totalMinutes(f.stats);
    const std::vector<SliceAngles> angles = sliceAngles(f.stats);
    QStringList names;
    names.reserve(qsizetype(f.stats.size()));
    for (const TagStats& stats : f.stats)
        names.append(stats.tag);
    // One call, so that many tags seen for the first time are given colours with one write.
    const QList<quint32> colors = deps.tagManager.colorsForTags(names);
    f.rows.reserve(f.stats.size());
    for (std::size_t i = 0; i < f.stats.size(); ++i)
        f.rows.push_back({ f.stats[i], colors[qsizetype(i)], angles[i] });
    m_figures = std::move(f);
    m_inputs->markFresh();
    return m_figures;
}

int TagInsightsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(figures().rows.size());
}

QVariant TagInsightsModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const Row& row = figures().rows[static_cast<std::size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
    case TagRole:
        return row.stats.tag;
    case ColorRole:
        return colorText(row.color);
    case TotalMinutesRole:
        return row.stats.totalMinutes;
    case SessionCountRole:
        return row.stats.sessionCount;
    case StartAngleRole:
        return row.angles.start;
    case EndAngleRole:
        return row.angles.end;
    case MinutesTextRole:
        return durationText(row.stats.totalMinutes);
    case SessionsTextRole:
        return tr("%n session(s)", nullptr, row.stats.sessionCount);
    default:
        return {};
    }
}

QHash<int, QByteArray> TagInsightsModel::roleNames() const
{
    return { { TagRole, "tag" }, { ColorRole, "color" }, { TotalMinutesRole, "totalMinutes" },
        { SessionCountRole, "sessionCount" }, { StartAngleRole, "startAngle" }, { EndAngleRole, "endAngle" },
        { MinutesTextRole, "minutesText" }, { SessionsTextRole, "sessionsText" } };
}

QStringList TagInsightsModel::segments()
{
    QStringList labels { kAll };
    for (const TimeRange range : allTimeRanges)
        labels.append(rawValue(range));
    return labels;
}

QString TagInsightsModel::segmentTitle(const QString& segment)
{
    if (const auto range = timeRangeFromRawValue(segment))
        return tr("%nd", "the last n days", -dayOffset(*range));
    return tr("All");
}

QString TagInsightsModel::selectedSegment() const
{
    return m_range ? rawValue(*m_range) : kAll;
}

void TagInsightsModel::setSelectedTimeRange(std::optional<TimeRange> range)
{
    if (m_range == range)
        return;
    m_range = range;
    emit selectedTimeRangeChanged();
    m_inputs->invalidate();
}

void TagInsightsModel::selectSegment(const QString& segment)
{
    if (segment == kAll) {
        setSelectedTimeRange(std::nullopt);
        return;
    }
    const std::optional<TimeRange> range = timeRangeFromRawValue(segment);
    if (!range)
        return;
    setSelectedTimeRange(m_range == range ? std::nullopt : range);
}

QString TagInsightsModel::totalLabel() const
{
    return totalText(figures().totalMinutes);
}

QString TagInsightsModel::tagCountCaption() const
{
    return tr("tags", "caption under the number of tags", tagCount());
}
