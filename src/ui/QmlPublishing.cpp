#include "QmlPublishing.h"

#include <QQmlEngine>

#include "DashboardNavigation.h"
#include "IntegrationsViewModel.h"
#include "MiniTimerViewModel.h"
#include "SettingsViewModel.h"
#include "SymbolImageProvider.h"
#include "ThemeColors.h"
#include "data/TagManager.h"
#include "data/ThemeManager.h"
#include "insights/HeatmapModel.h"
#include "insights/InsightsModel.h"
#include "insights/TagInsightsModel.h"
#include "services/IntegrationDetector.h"
#include "timer/TimerManager.h"

namespace QmlPublishing {
namespace {
constexpr const char* kUri = "Velto";

template<typename T>
void publishOne(T* object, const char* name)
{
    if (object)
        qmlRegisterSingletonInstance(kUri, 1, 0, name, object);
}

/// A singleton made on first use by an engine; `provider` returns an object C++ keeps.
template<typename T>
void publishLazily(const std::function<QObject*()>& provider, const char* name)
{
    if (!provider)
        return;
    qmlRegisterSingletonType<T>(kUri, 1, 0, name, [provider](QQmlEngine*, QJSEngine*) -> QObject* {
        QObject* object = provider();
        QJSEngine::setObjectOwnership(object, QJSEngine::CppOwnership);
        return object;
    });
}
} // namespace

void publish(const SharedObjects& objects)
{
    qmlRegisterUncreatableMetaObject(Velto::staticMetaObject, kUri, 1, 0, "TimerStates",
                                     QStringLiteral("Timer states are values, not objects"));
    publishOne(objects.timer, "FocusTimer");
    publishOne(objects.tags, "Tags");
    publishOne(objects.theme, "Theme");
    publishOne(objects.colors, "Colors");
    publishOne(objects.detector, "Detector");
    publishOne(objects.popover, "Popover");
    publishOne(objects.navigation, "Navigation");
    publishOne(objects.integrations, "Integrations");
    publishOne(objects.settings, "Settings");
    publishLazily<InsightsModel>(objects.insights, "Insights");
    publishLazily<HeatmapModel>(objects.heatmap, "Heatmap");
    publishLazily<TagInsightsModel>(objects.tagInsights, "TagInsights");
}

void prepare(QQmlEngine& engine)
{
    engine.addImportPath(QStringLiteral("qrc:/")); // the module lives at qrc:/Velto
    engine.addImageProvider(QStringLiteral("symbol"), new SymbolImageProvider);
}

} // namespace QmlPublishing
