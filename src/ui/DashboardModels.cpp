#include "DashboardModels.h"

#include "insights/DayWatcher.h"
#include "insights/HeatmapModel.h"
#include "insights/InsightsModel.h"
#include "insights/TagInsightsModel.h"

struct DashboardModels::Parts {
    Parts(std::function<SessionStore&()> store, ThemeManager& theme, TagManager& tags, const Clock& clock,
        const Calendar& calendar, const DailyGoal& goal)
        : sessionStore(std::move(store))
        , theme(theme)
        , tags(tags)
        , clock(clock)
        , calendar(calendar)
        , goal(goal)
    { }

    std::function<SessionStore&()> sessionStore;
    ThemeManager& theme;
    TagManager& tags;
    const Clock& clock;
    const Calendar& calendar;
    const DailyGoal& goal;
    DayWatcher days { clock, calendar };
    std::unique_ptr<InsightsModel> insights;
    std::unique_ptr<HeatmapModel> heatmap;
    std::unique_ptr<TagInsightsModel> tagInsights;

    InsightsDependencies dependencies() { return { sessionStore, theme, tags, clock, calendar, days, goal }; }
};

DashboardModels::DashboardModels(std::function<SessionStore&()> sessionStore, ThemeManager& theme,
    TagManager& tags, const Clock& clock, const Calendar& calendar, const DailyGoal& goal)
    : m(std::make_unique<Parts>(std::move(sessionStore), theme, tags, clock, calendar, goal))
{ }

DashboardModels::~DashboardModels() = default;

InsightsModel& DashboardModels::insights()
{
    if (!m->insights)
        m->insights = std::make_unique<InsightsModel>(m->dependencies());
    return *m->insights;
}

HeatmapModel& DashboardModels::heatmap()
{
    if (!m->heatmap)
        m->heatmap = std::make_unique<HeatmapModel>(m->dependencies());
    return *m->heatmap;
}

TagInsightsModel& DashboardModels::tagInsights()
{
    if (!m->tagInsights)
        m->tagInsights = std::make_unique<TagInsightsModel>(m->dependencies());
    return *m->tagInsights;
}
