#include "AppViews.h"

#include "insights/HeatmapModel.h"
#include "insights/InsightsModel.h"
#include "insights/TagInsightsModel.h"
#include "ui/QmlPublishing.h"

AppViews::AppViews(AppPlatform& platform, AppManagers& managers, AnalyticsService& analytics)
    : colors(managers.theme)
    , popover(managers.timer, managers.tags, colors, managers.detector, platform.preferences)
    , integrations(managers.timer, managers.detector, managers.mediaSync)
    , settings(managers.timer, platform.preferences, analytics, AutostartEntry())
    , dashboardModels([&managers]() -> SessionStore& { return managers.sessionStore(); }, managers.theme,
                      managers.tags, platform.clock, platform.calendar)
{
}

void AppViews::publish(AppManagers& managers)
{
    SharedObjects objects { &managers.timer, &managers.tags,    &managers.theme, &colors,
                            &managers.detector, &popover,       &navigation,     &integrations };
    objects.settings = &settings;
    objects.insights = [this] { return static_cast<QObject*>(&dashboardModels.insights()); };
    objects.heatmap = [this] { return static_cast<QObject*>(&dashboardModels.heatmap()); };
    objects.tagInsights = [this] { return static_cast<QObject*>(&dashboardModels.tagInsights()); };
    QmlPublishing::publish(objects);
}
