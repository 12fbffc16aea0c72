#include "ViewEngine.h"

#include <QLoggingCategory>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickWindow>

#include "QmlPublishing.h"

Q_LOGGING_CATEGORY(lcViews, "velto.views")

ViewEngine::ViewEngine(QObject* parent)
    : QObject(parent)
{ }

ViewEngine::~ViewEngine() = default;

QQmlEngine& ViewEngine::engine()
{
    if (!m_engine) {
        m_engine = std::make_unique<QQmlEngine>();
        QmlPublishing::prepare(*m_engine);
        connect(m_engine.get(), &QQmlEngine::warnings, this, [this](const QList<QQmlError>& warnings) {
            for (const QQmlError& warning : warnings) {
                m_errors.append(warning.toString());
                qCWarning(lcViews).noquote() << warning.toString();
            }
        });
    }
    return *m_engine;
}

QQuickWindow* ViewEngine::createWindow(const QString& rootFile, const QVariantMap& initialProperties)
{
    QQmlComponent component(&engine(), QUrl(QStringLiteral("qrc:/Velto/qml/") + rootFile));
    QObject* object
        = component.isError() ? nullptr : component.createWithInitialProperties(initialProperties);
    for (const QQmlError& error : component.errors()) {
        m_errors.append(error.toString());
        qCWarning(lcViews).noquote() << error.toString();
    }
    auto* window = qobject_cast<QQuickWindow*>(object);
    if (!window) {
        delete object;
        return nullptr;
    }
    QQmlEngine::setObjectOwnership(window, QQmlEngine::CppOwnership);
    return window;
}
