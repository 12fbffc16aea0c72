// Global shortcuts against a stand-in xdg-desktop-portal. Runs inside its own dbus-run-session.
#include <QSignalSpy>
#include <gtest/gtest.h>

#include "DesktopStandIn.h"
#include "platform/PortalGlobalShortcuts.h"

namespace {

TEST(GlobalShortcuts, BindsVeltosShortcutsOnceAndReportsTheirActivation)
{
    DesktopStandIn portal({ QStringLiteral("--portal"), QStringLiteral("1") });
    PortalGlobalShortcuts shortcuts;
    ASSERT_TRUE(waitFor([&] { return shortcuts.available(); }));
    EXPECT_EQ(portal.calls().filter(QStringLiteral("Describe")),
        QStringList({ QStringLiteral("Describe toggle Start or pause"), QStringLiteral("Describe skip Skip"),
            QStringLiteral("Describe extend Extend 5 minutes"),
            QStringLiteral("Describe open Open Velto") }));

    QSignalSpy activated(&shortcuts, &GlobalShortcuts::activated);
    portal.control(QStringLiteral("Activate"), { QStringLiteral("someone-elses") });
    portal.control(QStringLiteral("Activate"), { QStringLiteral("skip") });
    ASSERT_TRUE(activated.wait());
    ASSERT_EQ(activated.count(), 1);
    EXPECT_EQ(activated.at(0).at(0).toString(), QStringLiteral("skip"));

    // The next start finds them bound already and does not ask the user again.
    PortalGlobalShortcuts nextStart(
        QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("next-start")));
    ASSERT_TRUE(waitFor([&] { return nextStart.available(); }));
    EXPECT_EQ(portal.calls().filter(QStringLiteral("BindShortcuts")).size(), 1);
    EXPECT_EQ(portal.calls().filter(QStringLiteral("ListShortcuts")).size(), 2);
    QDBusConnection::disconnectFromBus(QStringLiteral("next-start"));
}

TEST(GlobalShortcuts, UnavailableWhereThePortalHasNoSuchInterface)
{
    DesktopStandIn portal({ QStringLiteral("--portal"), QStringLiteral("0") });
    PortalGlobalShortcuts shortcuts;
    waitFor([] { return false; }, 500);
    EXPECT_FALSE(shortcuts.available());
    EXPECT_TRUE(portal.calls().isEmpty());
}

} // namespace
