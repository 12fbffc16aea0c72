#pragma once

#include <QDBusConnection>

#include "Notifier.h"

/// Notifications through org.freedesktop.Notifications on the session bus.
/// Calls are asynchronous; a missing notification server is not an error.
class FreedesktopNotifier final : public Notifier {
public:
    explicit FreedesktopNotifier(QDBusConnection bus = QDBusConnection::sessionBus());
    void notify(const QString& title, const QString& body) override;

private:
    QDBusConnection m_bus;
};
