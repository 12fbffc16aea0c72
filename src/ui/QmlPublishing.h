#pragma once

#include <functional>

class CommandsViewModel;
class CycleSettingsViewModel;
class DashboardNavigation;
class ExportViewModel;
class FocusProtectionViewModel;
class GoalSettingsViewModel;
class HeatmapModel;
class InsightsModel;
class IntegrationDetector;
class IntegrationsViewModel;
class MiniTimerViewModel;
class QQmlEngine;
class SettingsViewModel;
class TagInsightsModel;
class TagManager;
class ThemeColors;
class ThemeManager;
class TimerManager;

/// The shared objects the views bind to. Each exists once, owned by the application.
struct SharedObjects {
    TimerManager* timer = nullptr;
    TagManager* tags = nullptr;
    ThemeManager* theme = nullptr;
    ThemeColors* colors = nullptr;
    IntegrationDetector* detector = nullptr;
    MiniTimerViewModel* popover = nullptr;
    DashboardNavigation* navigation = nullptr;
    IntegrationsViewModel* integrations = nullptr;
    SettingsViewModel* settings = nullptr;
    CommandsViewModel* commands = nullptr;
    CycleSettingsViewModel* cycleSettings = nullptr;
    GoalSettingsViewModel* goalSettings = nullptr;
    ExportViewModel* historyExport = nullptr;
    FocusProtectionViewModel* focusProtection = nullptr;
    /// The dashboard's figures, asked for when a page first needs them (so the history is read
    /// then); C++ keeps what they return.
    std::function<InsightsModel*()> insights = nullptr;
    std::function<HeatmapModel*()> heatmap = nullptr;
    std::function<TagInsightsModel*()> tagInsights = nullptr;
};

namespace QmlPublishing {

/// Hands the objects to the singletons of the "Velto" module (see QmlSingletons.h). An engine
/// asks for each singleton when its QML first uses it, so call this before loading; calling it
/// again serves engines created afterwards.
void publish(const SharedObjects& objects);
/// What the singletons hand out.
const SharedObjects& published();
/// Installs what every engine of the application needs (the symbol images, and what
/// assistive technology is told about the items).
void prepare(QQmlEngine& engine);

} // namespace QmlPublishing
