#pragma once

#include <functional>

class DashboardNavigation;
class IntegrationDetector;
class IntegrationsViewModel;
class QObject;
class MiniTimerViewModel;
class QQmlEngine;
class SettingsViewModel;
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
    /// The dashboard's figures, asked for when a page first needs them (so the history is read
    /// then): an InsightsModel, a HeatmapModel and a TagInsightsModel that C++ keeps.
    std::function<QObject*()> insights = nullptr;
    std::function<QObject*()> heatmap = nullptr;
    std::function<QObject*()> tagInsights = nullptr;
};

namespace QmlPublishing {

/// Publishes the objects as singletons of the "Velto" module (FocusTimer, Tags, Theme,
/// Colors, Detector, Popover, Navigation, Integrations, Settings, and from the providers Insights,
/// Heatmap, TagInsights); C++ keeps ownership. Call once, before any engine loads.
void publish(const SharedObjects& objects);
/// Installs what every engine of the application needs (the symbol images).
void prepare(QQmlEngine& engine);

} // namespace QmlPublishing
