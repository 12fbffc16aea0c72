#include "AppViews.h"

#include "FileDialogs.h"
#include "insights/HeatmapModel.h"
#include "insights/InsightsModel.h"
#include "insights/TagInsightsModel.h"
#include "ui/QmlPublishing.h"

AppViews::AppViews(AppPlatform& platform, AppManagers& managers, AnalyticsService& analytics)
    : colors(managers.theme)
    , popover(
          managers.timer, managers.tags, colors, managers.detector, platform.preferences, managers.dailyGoal)
    , integrations(managers.timer, managers.detector, managers.mediaSync)
    , settings(managers.timer, platform.preferences, analytics, AutostartEntry())
    , dashboardModels([&managers]() -> SessionStore& { return managers.sessionStore(); }, managers.theme,
          managers.tags, platform.clock, platform.calendar, managers.dailyGoal)
    , commands(managers.hooks, platform.clock)
    , cycleSettings(managers.timer)
    , goalSettings(managers.dailyGoal)
    , historyExport({ [&managers]() -> SessionStore& { return managers.sessionStore(); }, platform.clock,
          platform.calendar, &FileDialogs::askForExportFile })
{ }

void AppViews::publish(AppManagers& managers, FocusProtectionViewModel* focusProtection)
{
    SharedObjects objects { &managers.timer, &managers.tags, &managers.theme, &colors, &managers.detector,
        &popover, &navigation, &integrations };
    objects.settings = &settings;
    objects.commands = &commands;
    objects.cycleSettings = &cycleSettings;
    objects.goalSettings = &goalSettings;
    objects.historyExport = &historyExport;
    objects.focusProtection = focusProtection;
    objects.insights = [this] { return &dashboardModels.insights(); };
    objects.heatmap = [this] { return &dashboardModels.heatmap(); };
    objects.tagInsights = [this] { return &dashboardModels.tagInsights(); };
    QmlPublishing::publish(objects);
}
