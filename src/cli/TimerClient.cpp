#include "TimerClient.h"

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusServiceWatcher>

#include "platform/AppIds.h"
#include "timerinterface.h"

namespace Cli {
namespace {
const QString propertiesInterface = QStringLiteral("org.freedesktop.DBus.Properties");
constexpr int callTimeoutMs = 5000;

QString timerInterface()
{
    return QString::fromLatin1(TimerInterface::staticInterfaceName());
}
} // namespace

TimerClient::TimerClient(QDBusConnection bus, QObject* parent)
    : QObject(parent)
    , m_bus(std::move(bus))
{ }

TimerClient::~TimerClient() = default;

bool TimerClient::appIsRunning() const
{
    return !runningOwner().isEmpty();
}

QString TimerClient::runningOwner() const
{
    if (!m_bus.isConnected() || !m_bus.interface())
        return {};
    const auto reply = m_bus.interface()->serviceOwner(QString::fromLatin1(AppIds::application));
    return reply.isValid() ? reply.value() : QString();
}

bool TimerClient::call(const Method& method, QString* error)
{
    const QString owner = runningOwner();
    if (owner.isEmpty())
        return false;
    TimerInterface timer(owner, QString::fromLatin1(AppIds::objectPath), m_bus);
    timer.setTimeout(callTimeoutMs);
    QDBusPendingReply<> reply = method(timer);
    reply.waitForFinished();
    if (reply.isValid())
        return true;
    if (error)
        *error = reply.error().message();
    return false;
}

std::optional<QVariantMap> TimerClient::properties(QString* error)
{
    const QString owner = runningOwner();
    if (owner.isEmpty())
        return std::nullopt;
    QDBusMessage message = QDBusMessage::createMethodCall(
        owner, QString::fromLatin1(AppIds::objectPath), propertiesInterface, QStringLiteral("GetAll"));
    message << timerInterface();
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
    auto* watcher = new QDBusServiceWatcher(service, m_bus, QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(watcher, &QDBusServiceWatcher::serviceRegistered, this, &TimerClient::appStarted);
    connect(watcher, &QDBusServiceWatcher::serviceUnregistered, this, &TimerClient::appQuit);
    return m_bus.connect(service, QString::fromLatin1(AppIds::objectPath), propertiesInterface,
        QStringLiteral("PropertiesChanged"), this,
        SLOT(onPropertiesChanged(QString, QVariantMap, QStringList)));
}

void TimerClient::onPropertiesChanged(
    const QString& interface, const QVariantMap& changedProperties, const QStringList& invalidated)
{
    if (interface != timerInterface())
        return;
    if (invalidated.isEmpty()) {
        emit this->changed(changedProperties);
        return;
    }
    if (const auto all = properties(nullptr))
        emit this->changed(*all);
}

} // namespace Cli
