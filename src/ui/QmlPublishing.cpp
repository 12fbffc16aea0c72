#include "QmlPublishing.h"

#include <QQmlEngine>

#include "QuickAccessibility.h"
#include "SymbolImageProvider.h"

namespace QmlPublishing {
namespace {
SharedObjects& current()
{
    static SharedObjects objects;
    return objects;
}
} // namespace

void publish(const SharedObjects& objects)
{
    current() = objects;
}

const SharedObjects& published()
{
    return current();
}

void prepare(QQmlEngine& engine)
{
    engine.addImportPath(QStringLiteral("qrc:/")); // the module lives at qrc:/Velto
    engine.addImageProvider(QStringLiteral("symbol"), new SymbolImageProvider);
    QuickAccessibility::install();
}

} // namespace QmlPublishing
