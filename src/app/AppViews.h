#pragma once

#include "AppServices.h"
#include "ui/CommandsViewModel.h"
#include "ui/CycleSettingsViewModel.h"
#include "ui/DashboardModels.h"
#include "ui/DashboardNavigation.h"
#include "ui/ExportViewModel.h"
#include "ui/GoalSettingsViewModel.h"
#include "ui/IntegrationsViewModel.h"
#include "ui/MiniTimerViewModel.h"
#include "ui/SettingsViewModel.h"
#include "ui/ThemeColors.h"

class AnalyticsService;
class FocusProtectionViewModel;

/// What the views bind to beyond the managers, built once over them and published to QML.
struct AppViews {
    AppViews(AppPlatform& platform, AppManagers& managers, AnalyticsService& analytics);
    AppViews(const AppViews&) = delete;
    AppViews& operator=(const AppViews&) = delete;

    /// Publishes the managers and these objects as the QML singletons; once, before any window loads.
    void publish(AppManagers& managers, FocusProtectionViewModel* focusProtection = nullptr);

    ThemeColors colors;
    MiniTimerViewModel popover;
    DashboardNavigation navigation;
    IntegrationsViewModel integrations;
    SettingsViewModel settings;
    DashboardModels dashboardModels;
    CommandsViewModel commands;
    CycleSettingsViewModel cycleSettings;
    GoalSettingsViewModel goalSettings;
    ExportViewModel historyExport;
};
