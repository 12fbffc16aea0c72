// Runs inside its own dbus-run-session, with a stand-in NetworkManager on the session bus.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QElapsedTimer>
#include <QThread>
#include <atomic>
#include <gtest/gtest.h>

#include "beacon/BeaconContext.h"
#include "beacon/Reachability.h"
#include "services/NetworkManagerStateSource.h"

using beacon::ReachabilityFlag;
using beacon::ReachabilityFlags;

namespace {

const ReachabilityFlags kAssumedReachable = ReachabilityFlag::reachable | ReachabilityFlag::assumed;

class FakeNetworkManager : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.NetworkManager")
    Q_PROPERTY(uint State READ state)
    Q_PROPERTY(uint Connectivity READ connectivity)
public:
    uint state() const { return m_state; }
    uint connectivity() const { return m_connectivity; }
    void set(QDBusConnection& bus, uint state, uint connectivity)
    {
        m_state = state;
        m_connectivity = connectivity;
        QDBusMessage signal = QDBusMessage::createSignal(QStringLiteral("/org/freedesktop/NetworkManager"),
            QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("PropertiesChanged"));
        signal << QStringLiteral("org.freedesktop.NetworkManager")
               << QVariantMap { { QStringLiteral("State"), state },
                      { QStringLiteral("Connectivity"), connectivity } }
               << QStringList();
        bus.send(signal);
    }
    uint m_state = 70;
    uint m_connectivity = 4;
};

bool waitFor(const std::function<bool()>& done)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

ReachabilityFlags flagsOf(NetworkManagerStateSource& source)
{
    ReachabilityFlags flags;
    source.readFlags(flags);
    return flags;
}

TEST(NetworkManagerStateSource, MapsStatesToReachability)
{
    using beacon::Reachability;
    const auto connection = [](uint state, uint connectivity) {
        return Reachability::connectionFor(NetworkManagerStateSource::flagsFor(state, connectivity));
    };
    EXPECT_EQ(connection(70, 4), Reachability::Connection::wifi); // connected
    EXPECT_EQ(connection(60, 3), Reachability::Connection::wifi); // site only: let the request decide
    EXPECT_EQ(connection(40, 0), Reachability::Connection::wifi); // comes up on traffic
    EXPECT_EQ(connection(0, 0), Reachability::Connection::wifi); // unknown
    EXPECT_EQ(connection(20, 1), Reachability::Connection::unavailable); // disconnected
    EXPECT_EQ(connection(10, 0), Reachability::Connection::unavailable); // asleep
    EXPECT_EQ(connection(70, 2), Reachability::Connection::unavailable); // captive portal
}

TEST(NetworkManagerStateSource, WithoutNetworkManagerTheNetworkIsReachableButNotKnownToBeWifi)
{
    auto source = std::make_shared<NetworkManagerStateSource>(QDBusConnection::sessionBus());
    EXPECT_EQ(flagsOf(*source), kAssumedReachable);
    const auto reachability = beacon::Reachability::create(source);
    EXPECT_EQ(reachability->connection(), beacon::Reachability::Connection::wifi); // uploads go ahead
    const beacon::BeaconContext context({}, reachability);
    EXPECT_FALSE(context.dynamicContext().contains("$network_wifi"));
    EXPECT_FALSE(context.dynamicContext().contains("$network_cellular"));
}

TEST(NetworkManagerStateSource, FollowsNetworkManagersState)
{
    QDBusConnection managerBus
        = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("nm"));
    // The stand-in answers on its own thread, as another process would.
    QThread managerThread;
    managerThread.start();
    FakeNetworkManager manager;
    manager.m_state = 20;
    manager.m_connectivity = 1;
    manager.moveToThread(&managerThread);
    ASSERT_TRUE(managerBus.registerObject(
        QStringLiteral("/org/freedesktop/NetworkManager"), &manager, QDBusConnection::ExportAllProperties));
    ASSERT_TRUE(managerBus.registerService(QStringLiteral("org.freedesktop.NetworkManager")));

    NetworkManagerStateSource source(QDBusConnection::sessionBus());
    EXPECT_EQ(flagsOf(source), ReachabilityFlags());
    std::atomic<int> changes = 0;
    source.startWatching([&] { ++changes; });

    manager.set(managerBus, 70, 4);
    ASSERT_TRUE(waitFor([&] { return changes == 1; }));
    EXPECT_EQ(flagsOf(source), ReachabilityFlags(ReachabilityFlag::reachable));

    manager.set(managerBus, 70, 2);
    ASSERT_TRUE(waitFor([&] { return changes == 2; }));
    EXPECT_TRUE(flagsOf(source).contains(ReachabilityFlag::interventionRequired));

    source.stopWatching();
    manager.set(managerBus, 20, 1);
    ASSERT_TRUE(waitFor([&] { return flagsOf(source) == ReachabilityFlags(); }));
    EXPECT_EQ(changes, 2);

    // NetworkManager going away leaves a network assumed reachable.
    managerBus.unregisterService(QStringLiteral("org.freedesktop.NetworkManager"));
    ASSERT_TRUE(waitFor([&] { return flagsOf(source) == kAssumedReachable; }));
    QDBusConnection::disconnectFromBus(QStringLiteral("nm"));
    managerThread.quit();
    managerThread.wait();
}

} // namespace

#include "test_network_manager_source.moc"
