#include "beacon/ApplicationLifecyclePublisher.h"
#include "beacon/Reachability.h"

#include <atomic>
#include <chrono>
#include <future>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "CapturedLog.h"
#include "ManualLifecycleSource.h"
#include "ManualNetworkStateSource.h"
#include "beacon/BeaconNotificationCenter.h"
#include "beacon/BeaconSerialQueue.h"

namespace {

using beacon::ApplicationLifecyclePublisher;
using beacon::BeaconLifecycleEvent;
using beacon::BeaconNotification;
using beacon::BeaconNotificationCenter;
using beacon::BeaconSerialQueue;
using beacon::Reachability;
using beacon::ReachabilityError;
using beacon::ReachabilityFlag;
using beacon::ReachabilityFlags;
using beacon::RegistrationToken;
using beacon::test::ManualLifecycleSource;
using beacon::test::ManualNetworkStateSource;
using Connection = Reachability::Connection;

// --- serial queue ---------------------------------------------------------------------

TEST(SerialQueueTest, RunsTasksOneAtATimeInPostingOrderOnItsOwnThread)
{
    BeaconSerialQueue queue("test.serial");
    EXPECT_EQ(queue.label(), "test.serial");
    EXPECT_FALSE(queue.isCurrent());
    std::vector<int> order; // touched only by the queue's thread until the flush
    std::atomic<int> running { 0 };
    std::atomic<bool> overlapped { false };
    for (int i = 0; i < 200; ++i) {
        queue.post([&, i] {
            if (running.fetch_add(1) != 0)
                overlapped = true;
            order.push_back(i);
            running.fetch_sub(1);
        });
    }
    queue.flushForTesting();
    ASSERT_EQ(order.size(), 200u);
    for (int i = 0; i < 200; ++i)
        EXPECT_EQ(order[static_cast<std::size_t>(i)], i);
    EXPECT_FALSE(overlapped);
    bool onQueue = false;
    queue.sync([&] { onQueue = queue.isCurrent(); });
    EXPECT_TRUE(onQueue);
}

TEST(SerialQueueTest, SyncFromInsideATaskRunsInlineAndExceptionsReachTheCaller)
{
    BeaconSerialQueue queue("test.sync");
    std::promise<bool> ranInline;
    queue.post([&] {
        bool inner = false;
        queue.sync([&] { inner = true; });
        ranInline.set_value(inner);
    });
    EXPECT_TRUE(ranInline.get_future().get());
    EXPECT_THROW(queue.sync([] { throw std::runtime_error("boom"); }), std::runtime_error);

    beacon::test::CapturedLog log;
    queue.post([] { throw std::runtime_error("posted boom"); });
    int after = 0;
    queue.sync([&] { after = 1; });
    EXPECT_EQ(after, 1) << "a throwing task does not stop the queue";
    EXPECT_TRUE(log.contains("Task on queue test.sync failed: posted boom"));
}

TEST(SerialQueueTest, DestructionRunsWhatIsQueuedAndMayHappenFromItsOwnTask)
{
    std::atomic<int> ran { 0 };
    {
        BeaconSerialQueue queue("test.drain");
        for (int i = 0; i < 50; ++i)
            queue.post([&] { ++ran; });
    }
    EXPECT_EQ(ran.load(), 50);

    auto queue = std::make_shared<BeaconSerialQueue>("test.self");
    std::promise<void> destroyed;
    auto* raw = queue.get();
    raw->post([owned = std::move(queue), &destroyed]() mutable {
        owned.reset(); // the last reference goes away on the queue's own thread
        destroyed.set_value();
    });
    EXPECT_EQ(destroyed.get_future().wait_for(std::chrono::seconds(10)), std::future_status::ready);
}

TEST(SerialQueueTest, APosterReachesTheQueueWithoutKeepingItAlive)
{
    std::atomic<int> ran { 0 };
    auto queue = std::make_unique<BeaconSerialQueue>("test.poster");
    const BeaconSerialQueue::Poster poster = queue->poster();
    std::thread other([poster, &ran] { EXPECT_TRUE(poster.post([&ran] { ++ran; })); });
    other.join();
    queue->flushForTesting();
    EXPECT_EQ(ran.load(), 1);

    // Destroying the queue does not wait for the poster, and the poster's tasks then go nowhere.
    queue.reset();
    EXPECT_FALSE(poster.post([&ran] { ++ran; }));
    EXPECT_EQ(ran.load(), 1);
}

// --- lifecycle publisher ----------------------------------------------------------------

class LifecyclePublisherTest : public ::testing::Test {
protected:
    std::shared_ptr<ManualLifecycleSource> source = std::make_shared<ManualLifecycleSource>();
    std::unique_ptr<ApplicationLifecyclePublisher> publisher
        = std::make_unique<ApplicationLifecyclePublisher>(source);
};

TEST_F(LifecyclePublisherTest, EachEventReachesOnlyItsOwnCallbacksInRegistrationOrder)
{
    std::vector<std::string> calls;
    auto a = publisher->registerDidBecomeActive([&] { calls.push_back("active-1"); });
    auto b = publisher->registerDidBecomeActive([&] { calls.push_back("active-2"); });
    auto c = publisher->registerDidEnterBackground([&] { calls.push_back("background"); });
    auto d = publisher->registerDidFinishLaunching([&] { calls.push_back("launched"); });

    source->send(BeaconLifecycleEvent::didFinishLaunching);
    source->send(BeaconLifecycleEvent::didBecomeActive);
    source->send(BeaconLifecycleEvent::didResignActive);
    EXPECT_EQ(calls, (std::vector<std::string> { "launched", "active-1", "active-2", "background" }));
}

TEST_F(LifecyclePublisherTest, ReleasingATokenUnregistersOnlyThatCallback)
{
    int first = 0;
    int second = 0;
    auto keep = publisher->registerDidBecomeActive([&] { ++first; });
    auto drop = publisher->registerDidBecomeActive([&] { ++second; });
    source->send(BeaconLifecycleEvent::didBecomeActive);
    drop.reset();
    source->send(BeaconLifecycleEvent::didBecomeActive);
    EXPECT_EQ(first, 2);
    EXPECT_EQ(second, 1);
}

TEST_F(LifecyclePublisherTest, CallbacksRunOutsideTheLockAndMayChangeRegistrations)
{
    std::unique_ptr<RegistrationToken> self;
    std::unique_ptr<RegistrationToken> added;
    int selfCalls = 0;
    int addedCalls = 0;
    self = publisher->registerDidBecomeActive([&] {
        ++selfCalls;
        self.reset(); // unregisters itself while being called
        added = publisher->registerDidBecomeActive([&] { ++addedCalls; });
    });
    source->send(BeaconLifecycleEvent::didBecomeActive); // would deadlock under the lock
    source->send(BeaconLifecycleEvent::didBecomeActive);
    EXPECT_EQ(selfCalls, 1);
    EXPECT_EQ(addedCalls, 1) << "a callback added during delivery waits for the next event";
}

TEST_F(LifecyclePublisherTest, TokensMayOutliveThePublisherWhichLetsGoOfItsSource)
{
    int calls = 0;
    auto token = publisher->registerDidBecomeActive([&] { ++calls; });
    EXPECT_TRUE(source->hasHandler());
    publisher.reset();
    EXPECT_FALSE(source->hasHandler());
    source->send(BeaconLifecycleEvent::didBecomeActive);
    token.reset(); // must not touch the destroyed publisher
    EXPECT_EQ(calls, 0);
}

TEST_F(LifecyclePublisherTest, ObservingAnotherSourceLetsGoOfThePreviousOne)
{
    int calls = 0;
    auto token = publisher->registerDidEnterBackground([&] { ++calls; });
    auto other = std::make_shared<ManualLifecycleSource>();
    publisher->observe(other);
    EXPECT_FALSE(source->hasHandler());
    source->send(BeaconLifecycleEvent::didResignActive);
    other->send(BeaconLifecycleEvent::didResignActive);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(&ApplicationLifecyclePublisher::shared(), &ApplicationLifecyclePublisher::shared());
}

TEST_F(LifecyclePublisherTest, DeliveryAndRegistrationFromManyThreads)
{
    std::atomic<int> calls { 0 };
    auto permanent = publisher->registerDidBecomeActive([&] { ++calls; });
    std::atomic<bool> stop { false };
    std::thread sender([&] {
        for (int i = 0; i < 2'000; ++i)
            source->send(BeaconLifecycleEvent::didBecomeActive);
        stop = true;
    });
    std::vector<std::thread> churners;
    for (int t = 0; t < 2; ++t) {
        churners.emplace_back([&] {
            while (!stop) {
                auto token = publisher->registerDidBecomeActive([] {});
                auto other = publisher->registerDidEnterBackground([] {});
            }
        });
    }
    sender.join();
    for (auto& thread : churners)
        thread.join();
    EXPECT_EQ(calls.load(), 2'000);
}

// --- notification centre ----------------------------------------------------------------

TEST(NotificationCenterTest, DeliversByNameUntilTheTokenIsReleased)
{
    BeaconNotificationCenter center;
    std::vector<std::string> seen;
    auto token = center.addObserver("A", [&](const BeaconNotification& n) { seen.push_back(n.name); });
    center.post({ "B", nullptr });
    center.post({ "A", &seen });
    token.reset();
    center.post({ "A", nullptr });
    EXPECT_EQ(seen, std::vector<std::string> { "A" });
}

// --- reachability: the flags rule -------------------------------------------------------

struct FlagsCase {
    const char* name;
    std::optional<ReachabilityFlags> flags;
    Connection expected;
};

class ConnectionRuleTest : public ::testing::TestWithParam<FlagsCase> { };

TEST_P(ConnectionRuleTest, MapsFlagsToAConnection)
{
    EXPECT_EQ(Reachability::connectionFor(GetParam().flags), GetParam().expected);
}

using F = ReachabilityFlag;
INSTANTIATE_TEST_SUITE_P(Flags, ConnectionRuleTest,
    ::testing::Values(FlagsCase { "NoFlagsYet", std::nullopt, Connection::unavailable },
        FlagsCase { "Empty", ReachabilityFlags(), Connection::unavailable },
        FlagsCase { "Reachable", F::reachable, Connection::wifi },
        FlagsCase { "NotReachableButOnDemand", F::connectionOnDemand | F::connectionRequired,
            Connection::unavailable },
        FlagsCase { "ConnectionRequired", F::reachable | F::connectionRequired, Connection::unavailable },
        FlagsCase { "RequiredButOnTraffic", F::reachable | F::connectionRequired | F::connectionOnTraffic,
            Connection::wifi },
        FlagsCase { "RequiredButOnDemand", F::reachable | F::connectionRequired | F::connectionOnDemand,
            Connection::wifi },
        FlagsCase { "OnDemandNeedingTheUser",
            F::reachable | F::connectionRequired | F::connectionOnDemand | F::interventionRequired,
            Connection::unavailable },
        FlagsCase { "OnTrafficNeedingTheUser",
            F::reachable | F::connectionRequired | F::connectionOnTraffic | F::interventionRequired,
            Connection::unavailable },
        FlagsCase { "InterventionWithoutARequiredConnection", F::reachable | F::interventionRequired,
            Connection::wifi }),
    [](const ::testing::TestParamInfo<FlagsCase>& info) { return std::string(info.param.name); });

TEST(ConnectionTextTest, DescribesTheConnection)
{
    EXPECT_EQ(beacon::toString(Connection::wifi), "WiFi");
    EXPECT_EQ(beacon::toString(Connection::unavailable), "No Connection");
}

// --- reachability: the watcher ------------------------------------------------------------

/// Collects what a Reachability reports, and on which thread.
class ReachabilityTest : public ::testing::Test {
protected:
    std::shared_ptr<ManualNetworkStateSource> source = std::make_shared<ManualNetworkStateSource>();
    std::shared_ptr<BeaconSerialQueue> notifications
        = std::make_shared<BeaconSerialQueue>("test.notifications");
    BeaconNotificationCenter center;
    std::shared_ptr<Reachability> reachability = Reachability::create(source, notifications, &center);

    std::mutex lock;
    std::vector<std::string> events; // "reachable", "unreachable", "notification"
    bool allOnNotificationQueue = true;
    std::unique_ptr<RegistrationToken> observer;

    void SetUp() override
    {
        reachability->setWhenReachable([this](Reachability&) { record("reachable"); });
        reachability->setWhenUnreachable([this](Reachability&) { record("unreachable"); });
        observer = center.addObserver(Reachability::changedNotification, [this](const BeaconNotification& n) {
            EXPECT_EQ(n.object, reachability.get());
            record("notification");
        });
    }

    void TearDown() override
    {
        // Nothing may reach the recorders below once they are gone.
        reachability.reset();
        notifications->flushForTesting();
    }

    void record(const char* what)
    {
        const std::lock_guard guard(lock);
        events.emplace_back(what);
        allOnNotificationQueue = allOnNotificationQueue && notifications->isCurrent();
    }

    std::vector<std::string> drained()
    {
        notifications->flushForTesting();
        const std::lock_guard guard(lock);
        return std::exchange(events, {});
    }
};

TEST_F(ReachabilityTest, StartingReadsTheFlagsAndNotifiesOnTheNotificationQueue)
{
    EXPECT_FALSE(reachability->flags());
    reachability->startNotifier();
    EXPECT_TRUE(reachability->isNotifierRunning());
    EXPECT_EQ(drained(), (std::vector<std::string> { "reachable", "notification" }));
    EXPECT_TRUE(allOnNotificationQueue);
    EXPECT_EQ(reachability->connection(), Connection::wifi);
    EXPECT_EQ(reachability->description(), "WiFi");

    reachability->startNotifier();
    EXPECT_EQ(source->startCount(), 1) << "starting twice is a no-op";
    EXPECT_TRUE(drained().empty());
}

TEST_F(ReachabilityTest, ChangesAreReadOnItsQueueAndNotifyOnlyWhenTheFlagsDiffer)
{
    reachability->startNotifier();
    drained();

    // Each report reads the flags current at that moment, so flush between changes.
    source->change(F::reachable | F::connectionRequired);
    reachability->flushForTesting();
    source->change(F::reachable | F::connectionRequired); // the same flags again
    reachability->flushForTesting();
    source->change(F::reachable | F::connectionRequired | F::connectionOnDemand);
    reachability->flushForTesting();
    EXPECT_EQ(
        drained(), (std::vector<std::string> { "unreachable", "notification", "reachable", "notification" }));
    EXPECT_TRUE(allOnNotificationQueue);

    source->change(F::reachable | F::connectionRequired | F::connectionOnDemand | F::interventionRequired);
    reachability->flushForTesting();
    EXPECT_EQ(drained(), (std::vector<std::string> { "unreachable", "notification" }));
    EXPECT_EQ(reachability->description(), "No Connection");
}

TEST_F(ReachabilityTest, ConnectionReadsTheFlagsWhenNoneAreKnown)
{
    source->setFlags(F::reachable | F::connectionRequired | F::connectionOnDemand | F::interventionRequired);
    EXPECT_EQ(reachability->connection(), Connection::unavailable);
    EXPECT_EQ(source->readCount(), 1);
    EXPECT_EQ(drained(), (std::vector<std::string> { "unreachable", "notification" }));
    reachability->connection();
    EXPECT_EQ(source->readCount(), 1) << "known flags are not read again";
}

TEST_F(ReachabilityTest, StoppingIgnoresFurtherChanges)
{
    reachability->startNotifier();
    drained();
    reachability->stopNotifier();
    EXPECT_FALSE(reachability->isNotifierRunning());
    EXPECT_FALSE(source->isWatched());
    source->change(ReachabilityFlags());
    reachability->flushForTesting();
    EXPECT_TRUE(drained().empty());
    EXPECT_EQ(reachability->connection(), Connection::wifi) << "the last known flags stay";
}

TEST_F(ReachabilityTest, AWatcherThatCannotBeInstalledThrowsAndIsDetached)
{
    source->failWatching(std::make_error_code(std::errc::permission_denied));
    try {
        reachability->startNotifier();
        FAIL() << "expected ReachabilityError";
    } catch (const ReachabilityError& error) {
        EXPECT_EQ(error.kind(), ReachabilityError::Kind::unableToSetCallback);
        EXPECT_EQ(error.code(), std::make_error_code(std::errc::permission_denied));
    }
    EXPECT_FALSE(reachability->isNotifierRunning());
    EXPECT_GE(source->stopCount(), 1);
}

TEST_F(ReachabilityTest, UnreadableFlagsAtStartThrowAndDetach)
{
    source->failReads(std::make_error_code(std::errc::io_error));
    try {
        reachability->startNotifier();
        FAIL() << "expected ReachabilityError";
    } catch (const ReachabilityError& error) {
        EXPECT_EQ(error.kind(), ReachabilityError::Kind::unableToGetFlags);
    }
    EXPECT_FALSE(reachability->isNotifierRunning());
    EXPECT_FALSE(source->isWatched());
    EXPECT_EQ(reachability->connection(), Connection::unavailable);
}

TEST_F(ReachabilityTest, FlagsThatBecomeUnreadableWhileWatchingDetachTheWatcher)
{
    reachability->startNotifier();
    drained();
    source->failReads(std::make_error_code(std::errc::io_error));
    source->change(ReachabilityFlags());
    reachability->flushForTesting();
    EXPECT_FALSE(reachability->isNotifierRunning());
    EXPECT_FALSE(source->isWatched());
    EXPECT_TRUE(drained().empty());
}

TEST(ReachabilityCreationTest, NeedsASource)
{
    try {
        Reachability::create(nullptr);
        FAIL() << "expected ReachabilityError";
    } catch (const ReachabilityError& error) {
        EXPECT_EQ(error.kind(), ReachabilityError::Kind::failedToCreateWithAddress);
    }
}

TEST(ReachabilityCreationTest, TheHeadlessSourceIsAlwaysReachable)
{
    auto reachability = Reachability::create(std::make_shared<beacon::AlwaysReachableNetworkSource>());
    reachability->startNotifier();
    EXPECT_EQ(reachability->connection(), Connection::wifi);
    EXPECT_EQ(reachability->knownConnection(), std::nullopt); // an assumption, not a Wi-Fi connection
    EXPECT_TRUE(reachability->allowsCellularConnection());
}

TEST(ReachabilityLifetimeTest, DestroyingItWhileChangesAreInFlightIsSafe)
{
    auto source = std::make_shared<ManualNetworkStateSource>();
    auto notifications = std::make_shared<BeaconSerialQueue>("test.lifetime");
    std::atomic<int> callbacks { 0 }; // touched by late deliveries, which must find nothing destroyed
    for (int round = 0; round < 20; ++round) {
        auto reachability = Reachability::create(source, notifications);
        reachability->setWhenReachable([&](Reachability&) { ++callbacks; });
        reachability->setWhenUnreachable([&](Reachability&) { ++callbacks; });
        reachability->startNotifier();
        std::thread flipper([&] {
            for (int i = 0; i < 50; ++i)
                source->change(i % 2 ? ReachabilityFlags(F::reachable) : ReachabilityFlags());
        });
        reachability.reset();
        flipper.join();
    }
    notifications->flushForTesting();
    EXPECT_FALSE(source->isWatched()) << "the last instance stopped watching when destroyed";
}

} // namespace
