#pragma once

#include <functional>
#include <memory>

class Calendar;
class Clock;
class DailyGoal;
class DayWatcher;
class HeatmapModel;
class InsightsModel;
class SessionStore;
class TagInsightsModel;
class TagManager;
class ThemeManager;

/// The figures of the dashboard's Insights and Tags pages. Each model is made when a
/// page first asks for it, and the history is read when a model first needs figures,
/// so a session with no dashboard never reads the history file for them.
class DashboardModels {
public:
    DashboardModels(std::function<SessionStore&()> sessionStore, ThemeManager& theme, TagManager& tags,
        const Clock& clock, const Calendar& calendar, const DailyGoal& goal);
    ~DashboardModels();
    DashboardModels(const DashboardModels&) = delete;
    DashboardModels& operator=(const DashboardModels&) = delete;

    InsightsModel& insights();
    HeatmapModel& heatmap();
    TagInsightsModel& tagInsights();

private:
    struct Parts;
    std::unique_ptr<Parts> m;
};
