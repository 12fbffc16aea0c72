// One Reachability serves several listeners (both event queues) besides its own two handlers.
#include "beacon/Reachability.h"

#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "ManualNetworkStateSource.h"
#include "beacon/BeaconSerialQueue.h"

namespace {
using beacon::BeaconSerialQueue;
using beacon::Reachability;
using beacon::ReachabilityFlag;
using beacon::ReachabilityFlags;
using beacon::RegistrationToken;
using beacon::test::ManualNetworkStateSource;

class ReachabilitySubscriptionTest : public testing::Test {
protected:
    std::shared_ptr<ManualNetworkStateSource> source = std::make_shared<ManualNetworkStateSource>();
    std::shared_ptr<BeaconSerialQueue> notifications
        = std::make_shared<BeaconSerialQueue>("test.subscriptions");
    std::shared_ptr<Reachability> reachability = Reachability::create(source, notifications);

    std::mutex lock;
    std::vector<std::string> heard;

    Reachability::Callback recorder(const std::string& what)
    {
        return [this, what](Reachability&) {
            const std::lock_guard guard(lock);
            heard.push_back(what);
        };
    }

    std::vector<std::string> change(ReachabilityFlags flags)
    {
        source->change(flags);
        reachability->flushForTesting();
        const std::lock_guard guard(lock);
        return std::exchange(heard, {});
    }

    void TearDown() override
    {
        reachability.reset();
        notifications->flushForTesting();
    }
};

TEST_F(ReachabilitySubscriptionTest, EverySubscriberHearsEachChangeAfterTheHandlersUntilReleased)
{
    reachability->setWhenReachable(recorder("handler up"));
    reachability->setWhenUnreachable(recorder("handler down"));
    auto first = reachability->subscribe(recorder("first up"), recorder("first down"));
    auto second = reachability->subscribe(recorder("second up"), recorder("second down"));
    reachability->startNotifier();
    reachability->flushForTesting();
    {
        const std::lock_guard guard(lock);
        EXPECT_EQ(
            std::exchange(heard, {}), (std::vector<std::string> { "handler up", "first up", "second up" }));
    }
    EXPECT_EQ(change(ReachabilityFlags()),
        (std::vector<std::string> { "handler down", "first down", "second down" }));

    first.reset();
    EXPECT_EQ(change(ReachabilityFlag::reachable), (std::vector<std::string> { "handler up", "second up" }));

    reachability->setWhenReachable(nullptr);
    EXPECT_EQ(change(ReachabilityFlags()), (std::vector<std::string> { "handler down", "second down" }));
    EXPECT_EQ(change(ReachabilityFlag::reachable), std::vector<std::string> { "second up" })
        << "replacing a handler leaves the subscribers alone";
}

TEST_F(ReachabilitySubscriptionTest, ASubscriberMayUnsubscribeFromItsOwnCallbackAndTokensMayOutliveIt)
{
    std::unique_ptr<RegistrationToken> token;
    token = reachability->subscribe(
        [&](Reachability& self) {
            recorder("once")(self);
            token.reset();
        },
        nullptr);
    reachability->startNotifier();
    reachability->flushForTesting();
    EXPECT_FALSE(token);
    {
        const std::lock_guard guard(lock);
        EXPECT_EQ(std::exchange(heard, {}), std::vector<std::string> { "once" });
    }
    EXPECT_EQ(change(ReachabilityFlags()), std::vector<std::string> {}) << "a missing callback is skipped";
    EXPECT_EQ(change(ReachabilityFlag::reachable), std::vector<std::string> {})
        << "released: heard only once";

    // Released after its Reachability is gone (a use after free here shows under AddressSanitizer).
    auto late = reachability->subscribe(recorder("late up"), recorder("late down"));
    reachability.reset();
    notifications->flushForTesting();
    late.reset();
}

} // namespace
