#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>
#include <chrono>
#include <functional>

/// Asynchronous D-Bus calls whose answers arrive as callbacks. Desktop services can be
/// slow, broken or absent: nothing here ever waits on one.
namespace DBusCalls {

/// How long a desktop service may take to answer before the call counts as failed.
inline constexpr std::chrono::milliseconds defaultTimeout { 3000 };

/// Sends `call` and hands the reply, or the error that replaced it (also when no reply came
/// within `timeout`), to `onReply` on `context`'s thread. Nothing runs once `context` is gone.
void call(const QDBusConnection& bus, const QDBusMessage& call, QObject* context,
    std::function<void(const QDBusMessage& reply)> onReply,
    std::chrono::milliseconds timeout = defaultTimeout);

/// A call to `org.freedesktop.DBus.Properties.Get`.
QDBusMessage propertyGet(
    const QString& service, const QString& path, const QString& interface, const QString& property);

/// The first argument of a reply, with a variant unwrapped; invalid for an error reply.
QVariant firstArgument(const QDBusMessage& reply);

} // namespace DBusCalls
