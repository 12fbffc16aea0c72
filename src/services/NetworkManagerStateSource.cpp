#include "NetworkManagerStateSource.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDBusServiceWatcher>

using beacon::ReachabilityFlag;
using beacon::ReachabilityFlags;

namespace {
const QString kService = QStringLiteral("org.freedesktop.NetworkManager");
const QString kPath = QStringLiteral("/org/freedesktop/NetworkManager");
const QString kInterface = QStringLiteral("org.freedesktop.NetworkManager");
constexpr int kCallTimeoutMs = 1000; // a hung NetworkManager must not stall start-up

// NetworkManager's NM_STATE_* and NM_CONNECTIVITY_* values.
constexpr uint kStateUnknown = 0, kStateConnecting = 40, kStateConnectedSite = 60;
constexpr uint kConnectivityPortal = 2;
// Nothing to ask: let the request find out, and claim nothing about the connection.
constexpr ReachabilityFlags kAssumedReachable = ReachabilityFlag::reachable | ReachabilityFlag::assumed;
} // namespace

NetworkManagerStateSource::NetworkManagerStateSource(QDBusConnection bus, QObject* parent)
    : QObject(parent)
    , m_bus(std::move(bus))
{
    if (!m_bus.isConnected())
        return;
    auto* watcher = new QDBusServiceWatcher(kService, m_bus, QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(watcher, &QDBusServiceWatcher::serviceOwnerChanged, this,
        &NetworkManagerStateSource::onManagerOwnerChanged);
    m_bus.connect(kService, kPath, QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("PropertiesChanged"), this,
        SLOT(onPropertiesChanged(QString, QVariantMap, QStringList)));
    m_bus.connect(
        kService, kPath, kInterface, QStringLiteral("StateChanged"), this, SLOT(onStateChanged(uint)));
    refresh();
}

NetworkManagerStateSource::~NetworkManagerStateSource()
{
    stopWatching();
}

ReachabilityFlags NetworkManagerStateSource::flagsFor(uint state, uint connectivity)
{
    ReachabilityFlags flags;
    if (state == kStateUnknown)
        flags = kAssumedReachable;
    else if (state >= kStateConnectedSite)
        flags = ReachabilityFlag::reachable;
    else if (state == kStateConnecting)
        flags = ReachabilityFlag::reachable | ReachabilityFlag::connectionRequired
            | ReachabilityFlag::connectionOnTraffic;
    if (connectivity == kConnectivityPortal)
        flags = flags | ReachabilityFlag::connectionRequired | ReachabilityFlag::interventionRequired;
    return flags;
}

std::error_code NetworkManagerStateSource::readFlags(ReachabilityFlags& flags)
{
    const std::lock_guard lock(m_lock);
    flags = m_flags;
    return {};
}

std::error_code NetworkManagerStateSource::startWatching(ChangeHandler onChange)
{
    const std::lock_guard lock(m_lock);
    m_onChange = std::move(onChange);
    return {};
}

void NetworkManagerStateSource::stopWatching()
{
    const std::lock_guard lock(m_lock);
    m_onChange = nullptr;
}

void NetworkManagerStateSource::refresh()
{
    const bool present = m_bus.interface() && m_bus.interface()->isServiceRegistered(kService).value();
    if (!present) {
        update(kAssumedReachable);
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        kService, kPath, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("GetAll"));
    call << kInterface;
    const QDBusReply<QVariantMap> reply = m_bus.call(call, QDBus::Block, kCallTimeoutMs);
    if (!reply.isValid()) {
        update(kAssumedReachable);
        return;
    }
    m_state = reply.value().value(QStringLiteral("State")).toUInt();
    m_connectivity = reply.value().value(QStringLiteral("Connectivity")).toUInt();
    update(flagsFor(m_state, m_connectivity));
}

void NetworkManagerStateSource::update(ReachabilityFlags flags)
{
    ChangeHandler onChange;
    {
        const std::lock_guard lock(m_lock);
        if (m_flags == flags)
            return;
        m_flags = flags;
        onChange = m_onChange;
    }
    if (onChange)
        onChange();
}

void NetworkManagerStateSource::onPropertiesChanged(
    const QString& interface, const QVariantMap& changed, const QStringList&)
{
    if (interface != kInterface)
        return;
    if (changed.contains(QStringLiteral("State")))
        m_state = changed.value(QStringLiteral("State")).toUInt();
    if (changed.contains(QStringLiteral("Connectivity")))
        m_connectivity = changed.value(QStringLiteral("Connectivity")).toUInt();
    update(flagsFor(m_state, m_connectivity));
}

void NetworkManagerStateSource::onStateChanged(uint state)
{
    m_state = state;
    update(flagsFor(m_state, m_connectivity));
}

void NetworkManagerStateSource::onManagerOwnerChanged(const QString&, const QString&, const QString&)
{
    refresh();
}
