// Notifications with actions against a stand-in notification server. Runs inside its own
// dbus-run-session.
#include <gtest/gtest.h>

#include "DesktopStandIn.h"
#include "platform/FreedesktopNotifier.h"

namespace {

const QList<NotificationAction> kAfterFocus {
    { QStringLiteral("default"), QString() },
    { QStringLiteral("start-break"), QStringLiteral("Start break") },
    { QStringLiteral("extend"), QStringLiteral("+5 min") },
};

TEST(NotificationActions, ReachTheHandlerOfTheirOwnNotificationOnce)
{
    DesktopStandIn server(
        { QStringLiteral("--notifications"), QStringLiteral("Plasma"), QStringLiteral("--actions") });
    FreedesktopNotifier notifier;
    QObject context;
    QStringList first;
    QStringList second;
    notifier.notifyWithActions(QStringLiteral("Session Complete!"),
        QStringLiteral("Great work! Time for a break."), kAfterFocus, &context,
        [&](const QString& key) { first.append(key); });
    notifier.notifyWithActions(QStringLiteral("Session Complete!"),
        QStringLiteral("Break's over. Ready to focus?"), kAfterFocus, &context,
        [&](const QString& key) { second.append(key); });
    {
        QObject gone;
        notifier.notifyWithActions(QStringLiteral("Screen locked"), QString(),
            { { QStringLiteral("resume"), QStringLiteral("Resume") } }, &gone,
            [&](const QString&) { FAIL(); });
    }
    ASSERT_TRUE(waitFor([&] { return server.calls().size() == 3; }));
    EXPECT_EQ(server.calls().at(0),
        QStringLiteral("Notify Session Complete! default||start-break|Start break|extend|+5 min"));
    // A notification whose context went before it was sent goes out without buttons.
    EXPECT_EQ(server.calls().at(2), QStringLiteral("Notify Screen locked "));

    server.control(QStringLiteral("InvokeAction"), { 99u, QStringLiteral("start-break") }); // someone else's
    server.control(QStringLiteral("InvokeAction"), { 1u, QStringLiteral("start-break") }); // then closed
    server.control(QStringLiteral("CloseNotification"), { 2u });
    server.control(QStringLiteral("InvokeAction"), { 3u, QStringLiteral("resume") });
    ASSERT_TRUE(waitFor([&] { return !first.isEmpty() && !second.isEmpty(); }));
    waitFor([] { return false; }, 100);
    EXPECT_EQ(first, QStringList { QStringLiteral("start-break") });
    EXPECT_EQ(second, QStringList { QString() });
}

TEST(NotificationActions, ServerWithoutActionsGetsThePlainNotification)
{
    DesktopStandIn server({ QStringLiteral("--notifications"), QStringLiteral("Plain") });
    FreedesktopNotifier notifier;
    QObject context;
    bool answered = false;
    notifier.notifyWithActions(QStringLiteral("Session Complete!"),
        QStringLiteral("Great work! Time for a break."), kAfterFocus, &context,
        [&](const QString&) { answered = true; });
    ASSERT_TRUE(waitFor([&] { return server.calls().size() == 1; }));
    EXPECT_EQ(server.calls().at(0), QStringLiteral("Notify Session Complete! "));
    server.control(QStringLiteral("InvokeAction"), { 1u, QStringLiteral("start-break") });
    waitFor([] { return false; }, 100);
    EXPECT_FALSE(answered);
}

} // namespace
