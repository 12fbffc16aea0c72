// The rules that keep focus time honest: pausing at the moment the screen locked or the user
// walked away, what their return offers, and when notifications are held back.
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "FakeFocusDesktop.h"
#include "TimerSurroundings.h"
#include "data/SessionStore.h"
#include "services/FocusProtection.h"

using namespace std::chrono_literals;

namespace {

class FocusProtectionTest : public ::testing::Test, protected TimerSurroundings {
protected:
    FocusProtectionTest()
    {
        timer
            = std::make_unique<TimerManager>(timerDependencies([this]() -> SessionStore& { return store; }));
        protection = std::make_unique<FocusProtection>(
            FocusProtection::Dependencies { *timer, prefs, clock, screenLock, idle, doNotDisturb });
    }
    void tick(int seconds)
    {
        for (int i = 0; i < seconds; ++i) {
            clock.advance(1s);
            timer->catchUpTicks();
        }
    }

    SessionStore store { dir.filePath(QStringLiteral("sessions.json")), clock, calendar };
    FakeScreenLock screenLock;
    FakeIdleMonitor idle;
    FakeDoNotDisturb doNotDisturb;
    std::unique_ptr<TimerManager> timer;
    std::unique_ptr<FocusProtection> protection;
};

TEST_F(FocusProtectionTest, ALockedScreenPausesFocusFromWhenItLockedAndTheReturnOffersResume)
{
    timer->start(false);
    tick(60);
    int returns = 0;
    QObject::connect(protection.get(), &FocusProtection::returned, [&] { ++returns; });
    emit screenLock.locked(clock.now().addSeconds(-20));
    EXPECT_FALSE(timer->isRunning());
    EXPECT_EQ(timer->timeRemaining(), 1500.0 - 40.0);
    EXPECT_EQ(protection->away(), FocusProtection::Away::none); // nothing to say while locked
    clock.advance(600s);
    emit screenLock.unlocked(clock.now().addSeconds(-620), 620.0);
    EXPECT_EQ(returns, 1);
    EXPECT_EQ(protection->away(), FocusProtection::Away::locked);
    EXPECT_EQ(protection->awaySeconds(), 620.0);
    protection->resume();
    EXPECT_TRUE(timer->isRunning());
    EXPECT_EQ(timer->timeRemaining(), 1460.0);
    EXPECT_EQ(protection->away(), FocusProtection::Away::none);

    // Breaks, and focus with the switch off, run on.
    timer->start(true);
    emit screenLock.locked(clock.now());
    EXPECT_TRUE(timer->isRunning());
    protection->setPauseOnLock(false);
    timer->start(false);
    emit screenLock.locked(clock.now());
    EXPECT_TRUE(timer->isRunning());
    emit screenLock.unlocked(clock.now(), 1.0);
    EXPECT_EQ(returns, 1);
}

TEST_F(FocusProtectionTest, IdlenessPausesFromWhenItBeganAndTheTimeAwayIsKeptOrDiscarded)
{
    EXPECT_EQ(idle.threshold, 0) << "off until turned on";
    protection->setIdleDetection(true);
    EXPECT_EQ(idle.threshold, FocusProtection::defaultIdleMinutes);
    for (const auto& [asked, used] : { std::pair { 0, 1 }, { 61, 60 }, { 12, 12 } }) {
        protection->setIdleMinutes(asked);
        EXPECT_EQ(protection->idleMinutes(), used);
        EXPECT_EQ(idle.threshold, used);
    }

    for (const bool keep : { true, false }) {
        SCOPED_TRACE(keep ? "kept" : "discarded");
        timer->reset();
        timer->start(false);
        tick(900);
        emit idle.idleSince(clock.now().addSeconds(-720));
        EXPECT_FALSE(timer->isRunning());
        EXPECT_EQ(timer->timeRemaining(), 1500.0 - 180.0);
        clock.advance(60s);
        emit idle.active();
        ASSERT_EQ(protection->away(), FocusProtection::Away::idle);
        EXPECT_EQ(protection->awaySeconds(), 780.0);
        if (keep)
            protection->keepTimeAway();
        else
            protection->resume();
        EXPECT_TRUE(timer->isRunning());
        EXPECT_EQ(timer->timeRemaining(), keep ? 1500.0 - 960.0 : 1500.0 - 180.0);
        EXPECT_EQ(protection->away(), FocusProtection::Away::none);
    }
    protection->setIdleDetection(false);
    EXPECT_EQ(idle.threshold, 0);
    emit idle.idleSince(clock.now().addSeconds(-60));
    EXPECT_TRUE(timer->isRunning());
}

TEST_F(FocusProtectionTest, NotificationsAreHeldBackOnlyWhileFocusRuns)
{
    timer->start(false);
    EXPECT_FALSE(doNotDisturb.held) << "off until turned on";
    protection->setDoNotDisturb(true);
    EXPECT_TRUE(doNotDisturb.held);
    const std::function<void()> leaving[] = { [&] { timer->pause(); }, [&] { timer->skip(); },
        [&] { timer->reset(); }, [&] { timer->start(true); }, [&] { protection->setDoNotDisturb(false); },
        [&] { protection.reset(); } };
    for (const auto& leave : leaving) {
        if (!protection)
            break;
        protection->setDoNotDisturb(true);
        timer->start(false);
        ASSERT_TRUE(doNotDisturb.held);
        leave();
        EXPECT_FALSE(doNotDisturb.held);
    }
    EXPECT_FALSE(protection);
}

} // namespace
