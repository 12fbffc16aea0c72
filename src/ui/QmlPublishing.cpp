#include "QmlPublishing.h"

#include <QQmlEngine>

#include "MiniTimerViewModel.h"
#include "SymbolImageProvider.h"
#include "ThemeColors.h"
#include "data/TagManager.h"
#include "data/ThemeManager.h"
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
}

void prepare(QQmlEngine& engine)
{
    engine.addImportPath(QStringLiteral("qrc:/")); // the module lives at qrc:/Velto
    engine.addImageProvider(QStringLiteral("symbol"), new SymbolImageProvider);
}

} // namespace QmlPublishing
