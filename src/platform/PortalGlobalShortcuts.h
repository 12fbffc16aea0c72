#pragma once

#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QHash>
#include <QVariantMap>
#include <functional>

#include "GlobalShortcuts.h"

/// Global shortcuts through the xdg-desktop-portal `org.freedesktop.portal.GlobalShortcuts`
/// interface (KDE Plasma 5.27 has it, GNOME 43 does not). Opens one session at start and
/// binds Velto's shortcuts only when the desktop does not list them already, so the user's
/// bindings are not asked for again at every start.
class PortalGlobalShortcuts final : public GlobalShortcuts {
    Q_OBJECT

public:
    explicit PortalGlobalShortcuts(
        QDBusConnection bus = QDBusConnection::sessionBus(), QObject* parent = nullptr);

    bool available() const override { return m_available; }

private slots:
    void onResponse(uint response, const QVariantMap& results, const QDBusMessage& message);
    void onActivated(const QDBusMessage& message);

private:
    using ResponseHandler = std::function<void(const QVariantMap& results)>;

    void createSession();
    void listShortcuts();
    void bindShortcuts();
    /// Calls a portal method that answers through a Request object's `Response` signal.
    void request(
        const QString& method, QVariantList arguments, const QString& what, ResponseHandler onSuccess);
    void setAvailable();

    QDBusConnection m_bus;
    QString m_session;
    QHash<QString, std::pair<QString, ResponseHandler>> m_requests;
    int m_nextToken = 0;
    bool m_available = false;
};
