#pragma once

#include <QDBusConnection>

/// One Velto per session: the running one owns the application id on the session bus
/// and answers org.freedesktop.Application (see BusObject), so a second start hands over to it.
namespace SingleInstance {

enum class Claim {
    claimed, ///< this process is the running Velto
    alreadyRunning, ///< another process owns the name
    noBus, ///< no session bus: run anyway, unreachable from outside
};

Claim claim(const QDBusConnection& bus);
/// Asks the running Velto to come forward; false when it does not answer.
bool activateRunning(const QDBusConnection& bus);

} // namespace SingleInstance
