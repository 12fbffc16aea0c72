#pragma once

#include <QDBusMessage>
#include <QString>

/// Where the desktop's notification server answers on the session bus; its interface has
/// the same name as its service.
namespace NotificationServer {
inline const QString service = QStringLiteral("org.freedesktop.Notifications");
inline const QString path = QStringLiteral("/org/freedesktop/Notifications");

/// A call of one of the server's own methods.
inline QDBusMessage call(const QString& method)
{
    return QDBusMessage::createMethodCall(service, path, service, method);
}
} // namespace NotificationServer
