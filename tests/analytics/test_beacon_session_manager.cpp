#include "beacon/BeaconSessionManager.h"

#include <atomic>
#include <chrono>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "CapturedLog.h"
#include "ManualClock.h"
#include "ManualLifecycleSource.h"
#include "beacon/ApplicationLifecyclePublisher.h"
#include "beacon/BeaconConfig.h"
#include "beacon/BeaconUuid.h"
#include "beacon/BeaconVersion.h"

namespace {

using beacon::ApplicationLifecyclePublisher;
using beacon::BeaconConfig;
using beacon::BeaconLifecycleEvent;
using beacon::BeaconSessionManager;
using beacon::BeaconUuid;
using beacon::BeaconVersion;
using beacon::SessionIDChangeReason;
using beacon::test::CapturedLog;
using beacon::test::ManualClock;
using namespace std::chrono_literals;

class SessionManagerTest : public ::testing::Test {
protected:
    std::shared_ptr<ManualClock> clock = std::make_shared<ManualClock>();
    std::shared_ptr<beacon::test::ManualLifecycleSource> lifecycle
        = std::make_shared<beacon::test::ManualLifecycleSource>();
    ApplicationLifecyclePublisher publisher { lifecycle };
    std::shared_ptr<BeaconSessionManager> manager = BeaconSessionManager::create();
    std::atomic<int> changes { 0 };

    void SetUp() override
    {
        auto config = std::make_shared<BeaconConfig>("key");
        config->clock = clock;
        manager->setup(config);
        manager->registerApplicationLifecycle(publisher);
        manager->setOnSessionIdChanged([this] { ++changes; });
    }

    void TearDown() override { BeaconVersion::reset(); }

    void activate() { lifecycle->send(BeaconLifecycleEvent::didBecomeActive); }
    void background() { lifecycle->send(BeaconLifecycleEvent::didResignActive); }
    /// The id an event captured now would carry.
    std::optional<std::string> event() { return manager->getSessionId(clock->now()); }
    std::optional<std::string> current() { return manager->getSessionId(clock->now(), true); }
};

TEST(SessionReasonTest, DescribesEachReason)
{
    using R = SessionIDChangeReason;
    EXPECT_EQ(beacon::description(R::sessionIdEmpty), "Session id was empty");
    EXPECT_EQ(beacon::description(R::sessionStart), "Session started");
    EXPECT_EQ(beacon::description(R::sessionEnd), "Session ended");
    EXPECT_EQ(beacon::description(R::sessionReset), "Session was reset");
    EXPECT_EQ(beacon::description(R::sessionTimeout), "Session timed out");
    EXPECT_EQ(beacon::description(R::sessionPastMaximumLength), "Session past maximum length");
    EXPECT_EQ(beacon::description(R::customSessionId), "Custom session set");
}

TEST_F(SessionManagerTest, StartingMakesATimeOrderedIdLogsItAndReportsTheChange)
{
    EXPECT_EQ(current(), std::nullopt);
    CapturedLog log;
    manager->startSession();
    const auto id = current();
    ASSERT_TRUE(id);
    const auto uuid = BeaconUuid::fromString(*id);
    ASSERT_TRUE(uuid) << *id;
    EXPECT_EQ(uuid->version(), 7);
    EXPECT_EQ(log.lines(),
        std::vector<std::string> { "[Beacon] New session id created " + *id + " (Session started)" });
    EXPECT_EQ(changes.load(), 1);
}

TEST_F(SessionManagerTest, InTheForegroundInactivityRotatesOnlyAfterMoreThanThirtyMinutes)
{
    manager->startSession();
    activate();
    const auto first = current();

    clock->advance(29min);
    EXPECT_EQ(event(), first);
    clock->advance(1min);
    EXPECT_EQ(event(), first) << "exactly thirty minutes is not yet too long";

    CapturedLog log;
    clock->advance(1s);
    const auto second = event();
    ASSERT_TRUE(second);
    EXPECT_NE(second, first);
    EXPECT_LT(*first, *second) << "later sessions sort later";
    EXPECT_EQ(log.lines(),
        std::vector<std::string> { "[Beacon] New session id created " + *second + " (Session timed out)" });
    EXPECT_EQ(event(), second);
}

TEST_F(SessionManagerTest, EventsDoNotCountAsActivity)
{
    manager->startSession();
    activate();
    const auto first = event();
    for (int i = 0; i < 3; ++i) {
        clock->advance(10min);
        EXPECT_EQ(event(), first) << "at " << (i + 1) * 10 << " minutes";
    }
    clock->advance(1min);
    EXPECT_NE(event(), first) << "rotates 31 minutes after activation although events kept arriving";
}

TEST_F(SessionManagerTest, ActivationAndBackgroundingRefreshTheActivity)
{
    manager->startSession();
    activate();
    const auto first = current();
    clock->advance(20min);
    background();
    clock->advance(20min);
    activate();
    clock->advance(25min); // 65 minutes after the start, 25 after the last activation
    EXPECT_EQ(event(), first);
    clock->advance(6min);
    EXPECT_NE(event(), first);
}

TEST_F(SessionManagerTest, ReturningAfterLongInactivityRotatesOnActivation)
{
    manager->startSession();
    activate();
    const auto first = current();
    clock->advance(5min);
    background();
    clock->advance(35min);
    CapturedLog log;
    activate();
    const auto second = current();
    EXPECT_NE(second, first);
    EXPECT_TRUE(log.contains("New session id created " + second.value_or("?") + " (Session timed out)"));
    EXPECT_FALSE(manager->isAppInBackground());
    clock->advance(30min);
    EXPECT_EQ(event(), second) << "the activation counted as activity for the new session";
}

TEST_F(SessionManagerTest, ASessionRotatesAfterTwentyFourHoursEvenWithContinuousActivity)
{
    manager->startSession();
    activate();
    const auto first = current();
    for (int i = 0; i < 72; ++i) { // 24 hours of switching in and out every 20 minutes
        clock->advance(20min);
        i % 2 ? activate() : background();
    }
    activate();
    EXPECT_EQ(event(), first) << "exactly 24 hours is not yet too long";
    CapturedLog log;
    clock->advance(1s);
    const auto second = event();
    EXPECT_NE(second, first);
    EXPECT_EQ(log.lines(),
        std::vector<std::string> {
            "[Beacon] New session id created " + second.value_or("?") + " (Session past maximum length)" });
}

TEST_F(SessionManagerTest, InTheBackgroundATimedOutSessionIsClearedUntilTheNextActivation)
{
    manager->startSession();
    activate();
    clock->advance(1min);
    background();
    clock->advance(31min);
    {
        CapturedLog log;
        EXPECT_EQ(event(), std::nullopt);
        EXPECT_EQ(event(), std::nullopt);
        EXPECT_EQ(log.lines(),
            std::vector<std::string> { "[Beacon] Session id cleared - reason: (Session timed out)" });
    }
    activate();
    CapturedLog log;
    const auto next = event();
    ASSERT_TRUE(next);
    EXPECT_EQ(log.lines(),
        std::vector<std::string> { "[Beacon] New session id created " + *next + " (Session id was empty)" });
}

TEST_F(SessionManagerTest, UntilTheFirstActivationTheProcessCountsAsBackground)
{
    EXPECT_TRUE(manager->isAppInBackground());
    manager->startSession();
    const auto first = current();
    clock->advance(29min);
    EXPECT_EQ(event(), first);
    clock->advance(2min);
    EXPECT_EQ(event(), std::nullopt) << "more than 30 minutes after set-up without an activation";
    activate();
    EXPECT_FALSE(manager->isAppInBackground());
    const auto next = event();
    EXPECT_TRUE(next);
    EXPECT_NE(next, first);
}

TEST_F(SessionManagerTest, ReadOnlyNeverRotatesNorCreates)
{
    manager->startSession();
    activate();
    const auto first = current();
    clock->advance(48h);
    EXPECT_EQ(manager->getSessionId(clock->now(), true), first);
    manager->endSession();
    EXPECT_EQ(manager->getSessionId(clock->now(), true), std::nullopt);
    EXPECT_EQ(changes.load(), 2);
}

TEST_F(SessionManagerTest, AnEventDatedBeforeTheLastActivityDoesNotRotate)
{
    manager->startSession();
    activate();
    const auto first = current();
    EXPECT_EQ(manager->getSessionId(clock->now() - 2h), first);
}

TEST_F(SessionManagerTest, ResetStartsANewSessionAndSaysSo)
{
    manager->startSession();
    const auto first = current();
    CapturedLog log;
    manager->resetSession();
    const auto second = current();
    ASSERT_TRUE(second);
    EXPECT_NE(second, first);
    EXPECT_EQ(log.lines(),
        std::vector<std::string> { "[Beacon] New session id created " + *second + " (Session was reset)" });
}

TEST_F(SessionManagerTest, EndingClearsTheSessionAndTheNextForegroundEventStartsOne)
{
    manager->startSession();
    activate();
    CapturedLog log;
    manager->endSession();
    EXPECT_EQ(current(), std::nullopt);
    const auto next = event();
    ASSERT_TRUE(next);
    EXPECT_EQ(log.lines(),
        (std::vector<std::string> { "[Beacon] Session id cleared - reason: (Session ended)",
            "[Beacon] New session id created " + *next + " (Session id was empty)" }));
}

TEST_F(SessionManagerTest, ACallerMaySetItsOwnIdAndAnEmptyOneClears)
{
    CapturedLog log;
    manager->setSessionId("my-session");
    EXPECT_EQ(current(), "my-session");
    manager->setSessionId("");
    EXPECT_EQ(current(), std::nullopt);
    EXPECT_EQ(log.lines(),
        (std::vector<std::string> { "[Beacon] New session id created my-session (Custom session set)",
            "[Beacon] Session id cleared - reason: (Custom session set)" }));
}

TEST_F(SessionManagerTest, AWrappingLibraryThatManagesSessionsIsLeftAlone)
{
    BeaconVersion::setLibraryName(BeaconSessionManager::reactNativeLibraryName);
    manager->startSession();
    EXPECT_EQ(current(), std::nullopt) << "start is the wrapper's job";
    manager->setSessionId("wrapper-session");
    activate();
    EXPECT_FALSE(manager->isAppInBackground());
    clock->advance(48h);
    activate();
    EXPECT_EQ(event(), "wrapper-session") << "never rotated for inactivity or length";
    manager->resetSession();
    EXPECT_EQ(event(), "wrapper-session");
    manager->touchSession();
    EXPECT_EQ(event(), "wrapper-session");
}

TEST_F(SessionManagerTest, TouchWithoutASessionDoesNothing)
{
    CapturedLog log;
    manager->touchSession();
    EXPECT_EQ(current(), std::nullopt);
    EXPECT_TRUE(log.lines().empty());
}

TEST_F(SessionManagerTest, EventsRacingPastATimeoutEndUpInOneNewSession)
{
    manager->startSession();
    activate();
    const auto first = current();
    clock->advance(31min);
    const int before = changes.load();

    constexpr int kThreads = 8;
    std::vector<std::optional<std::string>> seen(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&, t] { seen[static_cast<std::size_t>(t)] = event(); });
    for (auto& thread : threads)
        thread.join();

    std::set<std::optional<std::string>> distinct(seen.begin(), seen.end());
    EXPECT_EQ(distinct.size(), 1u);
    EXPECT_NE(*distinct.begin(), first);
    EXPECT_EQ(changes.load() - before, 1) << "one rotation, not one per event";
}

TEST_F(SessionManagerTest, LifecycleAndEventsFromManyThreads)
{
    manager->startSession();
    std::atomic<bool> stop { false };
    std::thread transitions([&] {
        for (int i = 0; i < 500; ++i) {
            i % 2 ? background() : activate();
            if (i % 50 == 0)
                manager->resetSession();
        }
        stop = true;
    });
    std::vector<std::thread> events;
    for (int t = 0; t < 2; ++t) {
        events.emplace_back([&] {
            while (!stop) {
                clock->advance(1min);
                if (const auto id = event()) {
                    ASSERT_TRUE(BeaconUuid::fromString(*id));
                }
            }
        });
    }
    transitions.join();
    for (auto& thread : events)
        thread.join();
    activate();
    EXPECT_TRUE(event());
}

TEST_F(SessionManagerTest, ThePublisherDoesNotKeepAManagerAliveNorCallItWhenGone)
{
    const std::weak_ptr<BeaconSessionManager> weak = manager;
    manager.reset();
    EXPECT_TRUE(weak.expired()) << "registrations must hold the manager weakly";
    activate(); // would be a use after free (caught by AddressSanitizer) with a raw pointer
    background();
}

TEST(SessionManagerSharedTest, OneInstancePerProcess)
{
    EXPECT_NE(BeaconSessionManager::shared(), nullptr);
    EXPECT_EQ(BeaconSessionManager::shared(), BeaconSessionManager::shared());
}

} // namespace
