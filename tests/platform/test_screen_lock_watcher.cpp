// The screen lock against a stand-in screensaver and logind; the test's private session
// bus stands in for the system bus too. Runs inside its own dbus-run-session.
#include <QSignalSpy>
#include <gtest/gtest.h>

#include "DesktopStandIn.h"
#include "platform/Clock.h"
#include "platform/LinuxScreenLockWatcher.h"

namespace {

/// A clock that stands still until moved, and tells whether anyone has looked at it.
class WatchedClock final : public Clock {
public:
    Instant now() const override
    {
        ++reads;
        return time;
    }
    std::chrono::milliseconds steadyTime() const override { return {}; }
    Instant time = Instant::fromUnixSeconds(1765000000.0);
    mutable int reads = 0;
};

class ScreenLock : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(waitFor([&] { return m_desktop.calls().size() == 1; })) << "no logind session asked for";
        // The session's LockedHint is read once logind names the session.
        waitFor([] { return false; }, 100);
    }
    void say(const QString& method, const QVariantList& arguments = {})
    {
        m_desktop.control(method, arguments);
    }
    void screenSaverActive(const char* service, bool active)
    {
        say(QStringLiteral("EmitActiveChanged"), { QString::fromLatin1(service), active });
    }
    /// Lets the watcher settle: longer than its settle time.
    static void settle()
    {
        waitFor([] { return false; }, int(LinuxScreenLockWatcher::settleTime.count()) * 3);
    }

    DesktopStandIn m_desktop { { QStringLiteral("--screensaver"), QStringLiteral("--gnome-screensaver"),
        QStringLiteral("--logind") } };
    WatchedClock m_clock;
    LinuxScreenLockWatcher m_watcher { m_clock, QDBusConnection::sessionBus(),
        QDBusConnection::sessionBus() };
    QSignalSpy m_locked { &m_watcher, &ScreenLockWatcher::locked };
    QSignalSpy m_unlocked { &m_watcher, &ScreenLockWatcher::unlocked };
};

TEST_F(ScreenLock, ReportsEachLockOnceFromTheMomentItBegan)
{
    const Instant lockBegan = m_clock.time;
    const int readsBefore = m_clock.reads;
    screenSaverActive("org.freedesktop.ScreenSaver", true);
    ASSERT_TRUE(waitFor([&] { return m_clock.reads > readsBefore; }));
    m_clock.time = m_clock.time.addSeconds(0.2); // noticed and settled a moment later
    screenSaverActive("org.gnome.ScreenSaver", true);
    say(QStringLiteral("EmitLock"));
    say(QStringLiteral("SetLockedHint"), { true });
    ASSERT_TRUE(m_locked.wait());
    settle();
    ASSERT_EQ(m_locked.count(), 1);
    EXPECT_EQ(m_locked.at(0).at(0).value<Instant>(), lockBegan);
    EXPECT_TRUE(m_watcher.isLocked());

    m_clock.time = lockBegan.addSeconds(600);
    say(QStringLiteral("SetLockedHint"), { false });
    say(QStringLiteral("EmitUnlock"));
    screenSaverActive("org.freedesktop.ScreenSaver", false);
    ASSERT_TRUE(m_unlocked.wait());
    settle();
    ASSERT_EQ(m_unlocked.count(), 1);
    EXPECT_EQ(m_unlocked.at(0).at(0).value<Instant>(), lockBegan);
    EXPECT_DOUBLE_EQ(m_unlocked.at(0).at(1).toDouble(), 600.0);
    EXPECT_FALSE(m_watcher.isLocked());

    // logind's LockedHint alone is enough.
    say(QStringLiteral("SetLockedHint"), { true });
    ASSERT_TRUE(m_locked.wait());
    say(QStringLiteral("SetLockedHint"), { false });
    ASSERT_TRUE(m_unlocked.wait());
}

TEST_F(ScreenLock, AFlurryOfLocksSettlesWhereItEnds)
{
    for (int i = 0; i < 10; ++i) {
        screenSaverActive("org.freedesktop.ScreenSaver", true);
        screenSaverActive("org.freedesktop.ScreenSaver", false);
    }
    settle();
    EXPECT_EQ(m_locked.count() + m_unlocked.count(), 0);
    EXPECT_FALSE(m_watcher.isLocked());

    for (int i = 0; i < 10; ++i) {
        say(QStringLiteral("EmitLock"));
        say(QStringLiteral("EmitUnlock"));
    }
    say(QStringLiteral("EmitLock"));
    settle();
    EXPECT_EQ(m_locked.count(), 1);
    EXPECT_EQ(m_unlocked.count(), 0);
    EXPECT_TRUE(m_watcher.isLocked());

    for (int i = 0; i < 10; ++i) {
        screenSaverActive("org.gnome.ScreenSaver", false);
        screenSaverActive("org.gnome.ScreenSaver", true);
    }
    screenSaverActive("org.gnome.ScreenSaver", false);
    settle();
    EXPECT_EQ(m_locked.count(), 1);
    EXPECT_EQ(m_unlocked.count(), 1);
    EXPECT_FALSE(m_watcher.isLocked());
}

} // namespace
