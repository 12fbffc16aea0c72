#include "InsightsModel.h"

#include "ColorText.h"
#include "FigureInputs.h"
#include "data/SessionStore.h"
#include "data/ThemeManager.h"
#include "platform/Calendar.h"
#include "platform/Clock.h"
#include "timer/ClockText.h"
#include "timer/DailyGoal.h"

InsightsModel::InsightsModel(InsightsDependencies dependencies, QObject* parent)
    : QObject(parent)
    , m_inputs(new FigureInputs(std::move(dependencies), this))
{
    connect(m_inputs, &FigureInputs::becameStale, this, &InsightsModel::figuresChanged);
    connect(&m_inputs->dependencies().themeManager, &ThemeManager::focusColorIdChanged, m_inputs,
        &FigureInputs::invalidate);
    // The goal's text and bar are worked out when read; the figures behind them stay as they are.
    connect(
        &m_inputs->dependencies().dailyGoal, &DailyGoal::goalChanged, this, &InsightsModel::figuresChanged);
}

const InsightsModel::Figures& InsightsModel::figures() const
{
    if (m_inputs->isStale())
        compute();
    return m_figures;
}

void InsightsModel::compute() const
{
    const InsightsDependencies& deps = m_inputs->dependencies();
    const SessionStore& store = m_inputs->store();
    const Calendar& calendar = deps.calendar;
    const Instant now = deps.clock.now();
    const HistoryIndex& index = store.historyIndex();

    Figures f;
    const HistoryIndex::DayTotals today = index.totalsOnDay(calendar.dayNumber(now));
    f.todaySessions = today.focusRecords;
    f.todayFocusMinutes = today.focusMinutes;
    f.todayBreaks = today.breakRecords;
    // Records dated after now belong to this week too: the week has no upper bound.
    const HistoryIndex::DayTotals week = index.totalsFrom(calendar.dayNumber(calendar.startOfWeek(now)));
    f.weekSessions = week.focusRecords;
    f.weekFocusMinutes = week.focusMinutes;
    f.averageDailyFocusMinutes = store.averageDailyFocusMinutes();
    f.streak = store.currentStreak();
    f.isEmpty = store.count() == 0;
    f.focusColor = ThemeManager::colorForId(deps.themeManager.focusColorId()).value_or(fallbackFocusColor);
    f.insights = insightSentences(
        { store.mostProductiveDay(), f.streak, f.averageDailyFocusMinutes, f.isEmpty, f.focusColor });
    m_figures = std::move(f);
    m_inputs->markFresh();
}

QString InsightsModel::todayFocusTime() const
{
    return durationText(figures().todayFocusMinutes);
}
QString InsightsModel::weekFocusTime() const
{
    return durationText(figures().weekFocusMinutes);
}
QString InsightsModel::weekDailyAverage() const
{
    return durationText(figures().averageDailyFocusMinutes);
}

QVariantList InsightsModel::insightItems() const
{
    QVariantList items;
    for (const Insight& insight : figures().insights)
        items.append(insight.toVariantMap());
    return items;
}

QString InsightsModel::focusColor() const
{
    return colorText(figures().focusColor);
}

QString InsightsModel::todaySessionsCaption() const
{
    return tr("Sessions", "caption under a count", todaySessions());
}

QString InsightsModel::todayBreaksCaption() const
{
    return tr("Breaks", "caption under a count", todayBreaks());
}

QString InsightsModel::weekSessionsCaption() const
{
    return tr("Sessions", "caption under a count", weekSessions());
}

QString InsightsModel::todayGoalText() const
{
    return m_inputs->dependencies().dailyGoal.progressText(todaySessions());
}

double InsightsModel::todayGoalProgress() const
{
    return m_inputs->dependencies().dailyGoal.progress(todaySessions());
}

QString InsightsModel::streakCaption() const
{
    return tr("day streak", "after the number of days in a row", streak());
}
