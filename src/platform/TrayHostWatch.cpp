#include "TrayHostWatch.h"

#include <QDBusServiceWatcher>

#include "DBusCalls.h"

namespace {
const QString watcherPath = QStringLiteral("/StatusNotifierWatcher");
constexpr int kCallTimeoutMs = 2000;
} // namespace

TrayHostWatch::TrayHostWatch(QDBusConnection bus, QObject* parent)
    : QObject(parent)
    , m_bus(std::move(bus))
{
    const QString service = QString::fromLatin1(watcherService);
    auto* watcher = new QDBusServiceWatcher(service, m_bus, QDBusServiceWatcher::WatchForRegistration, this);
    // A watcher may come before its host registers with it: then the host's signal follows.
    connect(watcher, &QDBusServiceWatcher::serviceRegistered, this, [this] {
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
    const QString service = QString::fromLatin1(watcherService);
    QDBusMessage get = DBusCalls::propertyGet(
        service, watcherPath, service, QStringLiteral("IsStatusNotifierHostRegistered"));
    get.setAutoStartService(false);
    // Waits, unlike the other desktop calls: what Velto shows at start depends on the answer.
    return DBusCalls::firstArgument(m_bus.call(get, QDBus::Block, kCallTimeoutMs)).toBool();
}

void TrayHostWatch::onHostRegistered()
{
    emit hostAppeared();
}
