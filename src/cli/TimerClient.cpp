#include "TimerClient.h"

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusServiceWatcher>

#include "platform/AppIds.h"

namespace Cli {
namespace {
const QString timerInterface = QStringLiteral("studio.murv.Velto.Timer");
const QString propertiesInterface = QStringLiteral("org.freedesktop.DBus.Properties");
constexpr int callTimeoutMs = 5000;
} // namespace

TimerClient::TimerClient(QDBusConnection bus, QObject* parent) : QObject(parent), m_bus(std::move(bus)) { }

bool TimerClient::appIsRunning() const
{
    if (!m_bus.isConnected() || !m_bus.interface())
        return false;
    const auto reply = m_bus.interface()->isServiceRegistered(QString::fromLatin1(AppIds::application));
    return reply.isValid() && reply.value();
}

QDBusMessage TimerClient::methodCall(const QString& interface, const QString& method) const
{
    QDBusMessage message = QDBusMessage::createMethodCall(QString::fromLatin1(AppIds::application),
                                                          QString::fromLatin1(AppIds::objectPath), interface, method);
    message.setAutoStartService(false);
    return message;
}

bool TimerClient::call(const QString& method, const QVariantList& arguments, QString* error)
{
    QDBusMessage message = methodCall(timerInterface, method);
    message.setArguments(arguments);
    const QDBusMessage reply = m_bus.call(message, QDBus::Block, callTimeoutMs);
    if (reply.type() == QDBusMessage::ReplyMessage)
        return true;
    if (error)
        *error = reply.errorMessage();
    return false;
}

std::optional<QVariantMap> TimerClient::properties(QString* error)
{
    QDBusMessage message = methodCall(propertiesInterface, QStringLiteral("GetAll"));
    message << timerInterface;
    const QDBusMessage reply = m_bus.call(message, QDBus::Block, callTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        if (error)
            *error = reply.errorMessage();
        return std::nullopt;
    }
    return qdbus_cast<QVariantMap>(reply.arguments().first());
}

bool TimerClient::watch()
{
    const QString service = QString::fromLatin1(AppIds::application);
    auto* watcher = new QDBusServiceWatcher(service, m_bus, QDBusServiceWatcher::WatchForUnregistration, this);
    connect(watcher, &QDBusServiceWatcher::serviceUnregistered, this, &TimerClient::appQuit);
    return m_bus.connect(service, QString::fromLatin1(AppIds::objectPath), propertiesInterface,
                         QStringLiteral("PropertiesChanged"), this,
                         SLOT(onPropertiesChanged(QString, QVariantMap, QStringList)));
}

void TimerClient::onPropertiesChanged(const QString& interface, const QVariantMap& changedProperties,
                                      const QStringList& invalidated)
{
    if (interface != timerInterface)
        return;
    if (invalidated.isEmpty()) {
        emit this->changed(changedProperties);
        return;
    }
    if (const auto all = properties(nullptr))
        emit this->changed(*all);
}

} // namespace Cli
