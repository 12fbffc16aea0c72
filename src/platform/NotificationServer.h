#pragma once

#include <QString>

/// Where the desktop's notification server answers on the session bus; its interface has
/// the same name as its service.
namespace NotificationServer {
inline const QString service = QStringLiteral("org.freedesktop.Notifications");
inline const QString path = QStringLiteral("/org/freedesktop/Notifications");
} // namespace NotificationServer
