// Runs inside its own dbus-run-session: the messages travel over a real bus.
#include <QCoreApplication>
#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QElapsedTimer>
#include <gtest/gtest.h>

#include "platform/DBusCompanionMessenger.h"
#include "platform/FreedesktopNotifier.h"

namespace {

using StringMap = QMap<QString, QString>;

bool waitFor(const std::function<bool()>& done, int timeoutMs = 5000)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < timeoutMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

/// Listens for the companion signal on its own connection, as Calmix would.
class CompanionListener : public QObject {
    Q_OBJECT
public:
    QList<QDBusMessage> received;
public slots:
    void onAction(const QDBusMessage& message) { received.append(message); }
};

/// A stand-in notification server that records Notify calls.
class NotificationServer : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    struct Call {
        QString appName, icon, summary, body;
        QVariantMap hints;
        int timeout;
    };
    QList<Call> calls;
public slots:
    uint Notify(const QString& appName, uint, const QString& icon, const QString& summary,
        const QString& body, const QStringList&, const QVariantMap& hints, int timeout)
    {
        calls.append({ appName, icon, summary, body, hints, timeout });
        return uint(calls.size());
    }
};

TEST(DesktopBus, CompanionMessageIsABroadcastWithExactlyActionAndSource)
{
    ASSERT_TRUE(QDBusConnection::sessionBus().isConnected()) << "run inside dbus-run-session";
    QDBusConnection calmix
        = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("calmix"));
    CompanionListener listener;
    ASSERT_TRUE(
        calmix.connect(QString(), QStringLiteral("/studio/murv/Velto"), QStringLiteral("studio.murv.Calmix"),
            QStringLiteral("Action"), &listener, SLOT(onAction(QDBusMessage))));

    DBusCompanionMessenger messenger;
    messenger.postAction(QStringLiteral("play"));
    messenger.postAction(QStringLiteral("pause"));
    ASSERT_TRUE(waitFor([&] { return listener.received.size() == 2; }));

    const QDBusMessage first = listener.received.at(0);
    EXPECT_EQ(first.type(), QDBusMessage::SignalMessage);
    EXPECT_EQ(first.signature(), QStringLiteral("a{ss}"));
    const StringMap info = qdbus_cast<StringMap>(first.arguments().at(0));
    EXPECT_EQ(info,
        (StringMap { { QStringLiteral("action"), QStringLiteral("play") },
            { QStringLiteral("source"), QStringLiteral("velto") } }));
    EXPECT_EQ(
        qdbus_cast<StringMap>(listener.received.at(1).arguments().at(0)).value(QStringLiteral("action")),
        QStringLiteral("pause"));
    QDBusConnection::disconnectFromBus(QStringLiteral("calmix"));
}

TEST(DesktopBus, NotificationReachesTheNotificationServer)
{
    QDBusConnection serverBus
        = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("server"));
    NotificationServer server;
    ASSERT_TRUE(serverBus.registerObject(
        QStringLiteral("/org/freedesktop/Notifications"), &server, QDBusConnection::ExportAllSlots));
    ASSERT_TRUE(serverBus.registerService(QStringLiteral("org.freedesktop.Notifications")));

    FreedesktopNotifier notifier;
    notifier.notify(QStringLiteral("Session Complete!"), QStringLiteral("Great work! Time for a break."));
    ASSERT_TRUE(waitFor([&] { return server.calls.size() == 1; }));
    const NotificationServer::Call& call = server.calls.first();
    EXPECT_EQ(call.appName, QStringLiteral("Velto"));
    EXPECT_EQ(call.summary, QStringLiteral("Session Complete!"));
    EXPECT_EQ(call.body, QStringLiteral("Great work! Time for a break."));
    EXPECT_EQ(
        call.hints.value(QStringLiteral("desktop-entry")).toString(), QStringLiteral("studio.murv.Velto"));
    QDBusConnection::disconnectFromBus(QStringLiteral("server"));
}

TEST(DesktopBus, NotifyingWithoutAServerDoesNotBlock)
{
    FreedesktopNotifier notifier(QDBusConnection::sessionBus());
    QElapsedTimer timer;
    timer.start();
    notifier.notify(QStringLiteral("Session Complete!"), QStringLiteral("Break's over. Ready to focus?"));
    EXPECT_LT(timer.elapsed(), 1000);
}

} // namespace

#include "test_desktop_bus.moc"
