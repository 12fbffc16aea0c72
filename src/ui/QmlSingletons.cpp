#include "QmlSingletons.h"

#include <QJSEngine>
#include <QLoggingCategory>

#include "QmlPublishing.h"

Q_LOGGING_CATEGORY(lcSingletons, "velto.views.singletons")

namespace {
/// The published object for an engine; C++ owns it, so no engine ever deletes it.
template <typename T> T* handOut(T* object, const char* name)
{
    if (!object) {
        qCCritical(lcSingletons) << name << "was used before it was published";
        return nullptr;
    }
    QJSEngine::setObjectOwnership(object, QJSEngine::CppOwnership);
    return object;
}

template <typename T> T* handOut(const std::function<T*()>& provider, const char* name)
{
    return handOut(provider ? provider() : nullptr, name);
}

const SharedObjects& objects()
{
    return QmlPublishing::published();
}
} // namespace

TimerManager* TimerManagerSingleton::create(QQmlEngine*, QJSEngine*)
{
    return handOut(objects().timer, "TimerManager");
}

TagManager* TagManagerSingleton::create(QQmlEngine*, QJSEngine*)
{
    return handOut(objects().tags, "TagManager");
}

ThemeManager* ThemeManagerSingleton::create(QQmlEngine*, QJSEngine*)
{
    return handOut(objects().theme, "ThemeManager");
}

ThemeColors* ThemeColorsSingleton::create(QQmlEngine*, QJSEngine*)
{
    return handOut(objects().colors, "ThemeColors");
}

IntegrationDetector* IntegrationDetectorSingleton::create(QQmlEngine*, QJSEngine*)
{
    return handOut(objects().detector, "IntegrationDetector");
}

MiniTimerViewModel* MiniTimerViewModelSingleton::create(QQmlEngine*, QJSEngine*)
{
    return handOut(objects().popover, "MiniTimerViewModel");
}

DashboardNavigation* DashboardNavigationSingleton::create(QQmlEngine*, QJSEngine*)
{
    return handOut(objects().navigation, "DashboardNavigation");
}

IntegrationsViewModel* IntegrationsViewModelSingleton::create(QQmlEngine*, QJSEngine*)
{
    return handOut(objects().integrations, "IntegrationsViewModel");
}

SettingsViewModel* SettingsViewModelSingleton::create(QQmlEngine*, QJSEngine*)
{
    return handOut(objects().settings, "SettingsViewModel");
}

InsightsModel* InsightsModelSingleton::create(QQmlEngine*, QJSEngine*)
{
    return handOut(objects().insights, "InsightsModel");
}

HeatmapModel* HeatmapModelSingleton::create(QQmlEngine*, QJSEngine*)
{
    return handOut(objects().heatmap, "HeatmapModel");
}

TagInsightsModel* TagInsightsModelSingleton::create(QQmlEngine*, QJSEngine*)
{
    return handOut(objects().tagInsights, "TagInsightsModel");
}

CommandsViewModel* CommandsViewModelSingleton::create(QQmlEngine*, QJSEngine*)
{
    return handOut(objects().commands, "CommandsViewModel");
}

CycleSettingsViewModel* CycleSettingsViewModelSingleton::create(QQmlEngine*, QJSEngine*)
{
    return handOut(objects().cycleSettings, "CycleSettingsViewModel");
}

GoalSettingsViewModel* GoalSettingsViewModelSingleton::create(QQmlEngine*, QJSEngine*)
{
    return handOut(objects().goalSettings, "GoalSettingsViewModel");
}

ExportViewModel* ExportViewModelSingleton::create(QQmlEngine*, QJSEngine*)
{
    return handOut(objects().historyExport, "ExportViewModel");
}

FocusProtectionViewModel* FocusProtectionViewModelSingleton::create(QQmlEngine*, QJSEngine*)
{
    return handOut(objects().focusProtection, "FocusProtectionViewModel");
}
