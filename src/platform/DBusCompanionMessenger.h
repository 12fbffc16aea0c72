#pragma once

#include <QDBusConnection>

#include "CompanionMessenger.h"

/// Broadcasts the companion message as a session-bus signal that Calmix listens to.
class DBusCompanionMessenger final : public CompanionMessenger {
public:
    explicit DBusCompanionMessenger(QDBusConnection bus = QDBusConnection::sessionBus());
    void postAction(const QString& action) override;

private:
    QDBusConnection m_bus;
};
