#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QVariantMap>
#include <mutex>

#include "beacon/BeaconNetworkStateSource.h"

/// The network state as NetworkManager reports it on the system bus, for the
/// analytics client's reachability. Without NetworkManager (or while it does not
/// know) the network is assumed reachable. Reads are served from a cache, so any thread may ask.
class NetworkManagerStateSource final : public QObject, public beacon::BeaconNetworkStateSource {
    Q_OBJECT

public:
    explicit NetworkManagerStateSource(
        QDBusConnection bus = QDBusConnection::systemBus(), QObject* parent = nullptr);
    ~NetworkManagerStateSource() override;

    std::error_code readFlags(beacon::ReachabilityFlags& flags) override;
    std::error_code startWatching(ChangeHandler onChange) override;
    void stopWatching() override;

    /// The flags for NetworkManager's global `state` and `connectivity` (NM_STATE_*, NM_CONNECTIVITY_*).
    static beacon::ReachabilityFlags flagsFor(uint state, uint connectivity);

private slots:
    void onPropertiesChanged(
        const QString& interface, const QVariantMap& changed, const QStringList& invalidated);
    void onStateChanged(uint state);
    void onManagerOwnerChanged(const QString& name, const QString& oldOwner, const QString& newOwner);

private:
    void refresh();
    void update(beacon::ReachabilityFlags flags);

    QDBusConnection m_bus;
    uint m_state = 0;
    uint m_connectivity = 0;
    std::mutex m_lock;
    beacon::ReachabilityFlags m_flags
        = beacon::ReachabilityFlag::reachable | beacon::ReachabilityFlag::assumed; // m_lock
    ChangeHandler m_onChange; // m_lock
};
