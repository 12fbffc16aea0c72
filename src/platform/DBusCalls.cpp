#include "DBusCalls.h"

#include <QDBusPendingCallWatcher>
#include <QDBusVariant>

namespace DBusCalls {

void call(const QDBusConnection& bus, const QDBusMessage& message, QObject* context,
    std::function<void(const QDBusMessage& reply)> onReply, std::chrono::milliseconds timeout)
{
    // A watcher on a call that has already failed (no bus) still reports it, from the event loop.
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(message, int(timeout.count())), context);
    QObject::connect(
        watcher, &QDBusPendingCallWatcher::finished, context, [watcher, onReply = std::move(onReply)] {
            watcher->deleteLater();
            onReply(watcher->reply());
        });
}

QDBusMessage propertyGet(
    const QString& service, const QString& path, const QString& interface, const QString& property)
{
    QDBusMessage message = QDBusMessage::createMethodCall(
        service, path, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    message << interface << property;
    return message;
}

QVariant firstArgument(const QDBusMessage& reply)
{
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return {};
    QVariant value = reply.arguments().constFirst();
    if (value.canConvert<QDBusVariant>() && value.userType() == qMetaTypeId<QDBusVariant>())
        return value.value<QDBusVariant>().variant();
    return value;
}

} // namespace DBusCalls
