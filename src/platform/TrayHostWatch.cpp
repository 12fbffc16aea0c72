#include "TrayHostWatch.h"

#include <QDBusMessage>
#include <QDBusServiceWatcher>
#include <QDBusVariant>

namespace {
const QString watcherPath = QStringLiteral("/StatusNotifierWatcher");
constexpr int kCallTimeoutMs = 2000;
} // namespace

TrayHostWatch::TrayHostWatch(QDBusConnection bus, QObject* parent)
    : QObject(parent)
    , m_bus(std::move(bus))
{
    const QString service = QString::fromLatin1(watcherService);
    m_watcher = new QDBusServiceWatcher(service, m_bus, QDBusServiceWatcher::WatchForRegistration, this);
    // A watcher may come before its host registers with it: then the host's signal follows.
    connect(m_watcher, &QDBusServiceWatcher::serviceRegistered, this, [this] {
        if (hostPresent())
            emit hostAppeared();
    });
    m_bus.connect(service, watcherPath, service, QStringLiteral("StatusNotifierHostRegistered"), this,
        SLOT(onHostRegistered()));
}

bool TrayHostWatch::hostPresent() const
{
    if (!m_bus.isConnected())
        return false;
    QDBusMessage get = QDBusMessage::createMethodCall(QString::fromLatin1(watcherService), watcherPath,
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << QString::fromLatin1(watcherService) << QStringLiteral("IsStatusNotifierHostRegistered");
    get.setAutoStartService(false);
    const QDBusMessage reply = m_bus.call(get, QDBus::Block, kCallTimeoutMs);
    return reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty()
        && reply.arguments().first().value<QDBusVariant>().variant().toBool();
}

void TrayHostWatch::onHostRegistered()
{
    emit hostAppeared();
}
