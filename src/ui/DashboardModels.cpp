#include "DashboardModels.h"

#include "insights/DayWatcher.h"
#include "insights/HeatmapModel.h"
#include "insights/InsightsModel.h"
#include "insights/TagInsightsModel.h"

struct DashboardModels::Parts {
    Parts(std::function<SessionStore&()> store, ThemeManager& theme, TagManager& tags, const Clock& clock,
          const Calendar& calendar)
        : sessionStore(std::move(store)), theme(theme), tags(tags), clock(clock), calendar(calendar)
    { }

    std::function<SessionStore&()> sessionStore;
    ThemeManager& theme;
    TagManager& tags;
    const Clock& clock;
    const Calendar& calendar;
    DayWatcher days { clock, calendar };
    std::unique_ptr<InsightsModel> insights;
    std::unique_ptr<HeatmapModel> heatmap;
    std::unique_ptr<TagInsightsModel> tagInsights;

    InsightsDependencies dependencies() { return { sessionStore, theme, tags, clock, calendar, days }; }
};

DashboardModels::DashboardModels(std::function<SessionStore&()> sessionStore, ThemeManager& theme, TagManager& tags,
                                 const Clock& clock, const Calendar& calendar)
    : m(std::make_unique<Parts>(std::move(sessionStore), theme, tags, clock, calendar))
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
