// Runs inside its own dbus-run-session, with a stand-in logind on the session bus.
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QSignalSpy>
#include <gtest/gtest.h>

#include "services/LogindResumeWatcher.h"

namespace {

void sendPrepareForSleep(QDBusConnection& bus, bool goingToSleep)
{
    QDBusMessage signal = QDBusMessage::createSignal(QStringLiteral("/org/freedesktop/login1"),
        QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("PrepareForSleep"));
    signal << goingToSleep;
    bus.send(signal);
    // A round trip through the bus: the signal has been routed before anything sent after it.
    bus.interface()->isServiceRegistered(QStringLiteral("org.freedesktop.DBus"));
}

TEST(LogindResumeWatcher, ReportsOnlyLogindsWakeUp)
{
    QDBusConnection logind
        = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("logind"));
    ASSERT_TRUE(logind.registerService(QStringLiteral("org.freedesktop.login1")));
    QDBusConnection impostor
        = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("other"));

    LogindResumeWatcher watcher(QDBusConnection::sessionBus());
    QSignalSpy resumed(&watcher, &LogindResumeWatcher::resumed);
    sendPrepareForSleep(impostor, false);
    sendPrepareForSleep(logind, true);
    sendPrepareForSleep(logind, false);
    ASSERT_TRUE(resumed.wait());
    sendPrepareForSleep(logind, true);
    sendPrepareForSleep(logind, false);
    ASSERT_TRUE(resumed.wait());
    EXPECT_EQ(resumed.count(), 2);

    QDBusConnection::disconnectFromBus(QStringLiteral("other"));
    QDBusConnection::disconnectFromBus(QStringLiteral("logind"));
}

} // namespace
