// Idleness against a stand-in Mutter idle monitor and screensaver, and the X server's
// screensaver extension under Xvfb. Runs inside its own dbus-run-session.
#include <QSignalSpy>
#include <QThread>
#include <gtest/gtest.h>

#include "DesktopStandIn.h"
#include "FakeClock.h"
#include "XvfbServer.h"
#include "platform/LinuxIdleMonitor.h"
#include "platform/x11/XScreenSaverIdleTime.h"

namespace {

constexpr qint64 kNinetySeconds = 90'000;
constexpr qint64 kSixMinutes = 360'000;

class IdleMonitoring : public ::testing::Test {
protected:
    void useDesktop(const QString& service)
    {
        m_desktop = std::make_unique<DesktopStandIn>(QStringList { service });
        m_monitor = std::make_unique<LinuxIdleMonitor>(m_clock);
        ASSERT_TRUE(waitFor([&] { return m_monitor->available(); }));
        m_idle = std::make_unique<QSignalSpy>(m_monitor.get(), &IdleMonitor::idleSince);
        m_active = std::make_unique<QSignalSpy>(m_monitor.get(), &IdleMonitor::active);
    }
    void idleFor(qint64 milliseconds) { m_desktop->control(QStringLiteral("SetIdleTime"), { milliseconds }); }
    Instant began(int report) const { return m_idle->at(report).at(0).value<Instant>(); }

    FakeClock m_clock;
    std::unique_ptr<DesktopStandIn> m_desktop;
    std::unique_ptr<LinuxIdleMonitor> m_monitor;
    std::unique_ptr<QSignalSpy> m_idle;
    std::unique_ptr<QSignalSpy> m_active;
};

TEST_F(IdleMonitoring, MutterWatchesReportWhenIdlenessBeganAndTheReturn)
{
    useDesktop(QStringLiteral("--mutter-idle"));
    m_monitor->watch(0);
    m_monitor->watch(500);
    m_monitor->watch(5);
    ASSERT_TRUE(waitFor([&] { return m_desktop->calls().filter(QStringLiteral("Add")).size() == 3; }));
    waitFor([] { return false; }, 100);
    const QStringList calls = m_desktop->calls();
    EXPECT_EQ(calls.filter(QStringLiteral("AddIdleWatch")),
        QStringList({ QStringLiteral("AddIdleWatch 60000"), QStringLiteral("AddIdleWatch 3600000"),
            QStringLiteral("AddIdleWatch 300000") }));
    EXPECT_EQ(calls.filter(QStringLiteral("RemoveWatch")).size(), 2)
        << calls.join(QLatin1Char('\n')).toStdString();

    idleFor(kSixMinutes);
    m_desktop->control(QStringLiteral("FireIdleWatches"));
    ASSERT_TRUE(m_idle->wait());
    EXPECT_EQ(began(0), m_clock.now().addSeconds(-360));
    ASSERT_TRUE(waitFor([&] { return m_desktop->calls().contains(QStringLiteral("AddUserActiveWatch")); }));
    m_desktop->control(QStringLiteral("FireUserActive"));
    ASSERT_TRUE(m_active->wait());

    // An idle time past belief: the watch that fired still proves the threshold.
    idleFor(-1);
    m_desktop->control(QStringLiteral("FireIdleWatches"));
    ASSERT_TRUE(m_idle->wait());
    EXPECT_EQ(began(1), m_clock.now().addSeconds(-300));
    EXPECT_EQ(m_active->count(), 1);
}

TEST_F(IdleMonitoring, ScreenSaverIdleTimeIsReadAndNonsenseIgnored)
{
    useDesktop(QStringLiteral("--screensaver"));
    idleFor(std::chrono::duration_cast<std::chrono::milliseconds>(LinuxIdleMonitor::longestBelievableIdleTime)
                .count()
        + 1);
    m_monitor->watch(1);
    ASSERT_TRUE(waitFor([&] { return m_desktop->calls().size() >= 2; })); // the first look, then the reading
    waitFor([] { return false; }, 200);
    EXPECT_EQ(m_idle->count(), 0);

    idleFor(kNinetySeconds);
    m_monitor->watch(1);
    ASSERT_TRUE(m_idle->wait());
    EXPECT_EQ(began(0), m_clock.now().addSeconds(-90));
    idleFor(500);
    ASSERT_TRUE(m_active->wait(3000));
    EXPECT_EQ(m_idle->count(), 1);
}

TEST(XScreenSaverIdleTime, ReadsTheXServersIdleTime)
{
    XvfbServer x;
    ASSERT_FALSE(x.display().isEmpty()) << "Xvfb did not start";
    qputenv("DISPLAY", x.display().toLatin1());
    qunsetenv("WAYLAND_DISPLAY");
    qputenv("XDG_SESSION_TYPE", "x11");
    auto reader = XScreenSaverIdleTime::open();
    ASSERT_TRUE(reader);
    const auto first = reader->idleTime();
    ASSERT_TRUE(first);
    QThread::msleep(300);
    const auto later = reader->idleTime();
    ASSERT_TRUE(later);
    EXPECT_GE(*later - *first, std::chrono::milliseconds(250));

    // With no idle monitor on the bus, the X server is the source.
    FakeClock clock;
    LinuxIdleMonitor monitor(clock, QDBusConnection::sessionBus(),
        [&reader]() -> std::unique_ptr<IdleTimeReader> { return std::move(reader); });
    EXPECT_TRUE(waitFor([&] { return monitor.available(); }));
    qputenv("XDG_SESSION_TYPE", "wayland");
    EXPECT_FALSE(XScreenSaverIdleTime::open()) << "XWayland only sees the input of X clients";
}

} // namespace
