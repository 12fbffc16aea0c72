// The client facade end to end: set-up, the gate, opt-out, identity, person and group operations,
// super properties, flags, reset and close, against a real HTTP server on the loopback interface and
// a real storage folder.
#include "beacon/BeaconSDK.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <future>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "CapturedLog.h"
#include "LoopbackHttpServer.h"
#include "SdkClientTest.h"
#include "SdkHarness.h"
#include "beacon/BeaconConfig.h"
#include "beacon/BeaconIntegration.h"
#include "beacon/BeaconLog.h"
#include "beacon/BeaconNotificationCenter.h"
#include "beacon/BeaconScreenViewIntegration.h"
#include "beacon/BeaconStorageManager.h"

namespace {
namespace fs = std::filesystem;
using beacon::BeaconConfig;
using beacon::BeaconLifecycleEvent;
using beacon::BeaconPersonProfiles;
using beacon::BeaconSDK;
using beacon::test::CannedResponse;
using beacon::test::CapturedLog;
using beacon::test::LoopbackHttpServer;
using beacon::test::RecordedRequest;
using beacon::test::SdkHarness;
using beacon::test::uploadedEvents;
using nlohmann::json;
using namespace std::chrono_literals;

constexpr const char* kGateLine
    = "[Beacon] Beacon method was called without `setup` being complete. Call wil be ignored.";
constexpr const char* kOptOutLine = "[Beacon] Beacon is in OptOut state.";

std::vector<std::string> namesOf(const std::vector<json>& events)
{
    std::vector<std::string> names;
    for (const json& event : events)
        names.push_back(event["event"].get<std::string>());
    return names;
}

std::vector<std::string> integrationNames(const BeaconSDK& sdk)
{
    std::vector<std::string> names;
    for (const auto& integration : sdk.installedIntegrations())
        names.emplace_back(integration->name());
    return names;
}

class BeaconSdkTest : public beacon::test::SdkClientTest {
protected:
    /// Lets the client's start-up work (the first reachability report and the flush it starts) finish,
    /// so that it does not show up among the lines a test captures next.
    void settle() { ASSERT_TRUE(sdk->waitUntilIdleForTesting()); }
    /// The same, after the flag reload that a new identity starts has logged its answer.
    void settleFlags()
    {
        std::promise<void> loaded;
        sdk->reloadFeatureFlags([&](const std::optional<json>&) { loaded.set_value(); });
        ASSERT_EQ(loaded.get_future().wait_for(std::chrono::seconds(10)), std::future_status::ready);
        settle();
    }

    /// A new client over the same folder, as the next process would make.
    void restart(std::shared_ptr<BeaconConfig> next = nullptr)
    {
        sdk = BeaconSDK::create();
        sdk->setup(next ? std::move(next) : harness.makeConfig(server.baseUrl()));
    }

    json onlyEvent(const std::string& name)
    {
        const auto events = uploadedEvents(server, name);
        EXPECT_EQ(events.size(), 1u) << name;
        return events.empty() ? json::object() : events.front();
    }
};

// --- the gate and set-up -------------------------------------------------------------------------

TEST_F(BeaconSdkTest, BeforeSetupEveryOperationIsIgnoredWithTheGateLine)
{
    {
        CapturedLog log;
        sdk->capture("too early");
        sdk->identify("user-1");
        sdk->registerProperties({ { "plan", "pro" } });
        sdk->optOut();
        sdk->flush();
        EXPECT_EQ(sdk->getFeatureFlag("beta"), std::nullopt);
        EXPECT_EQ(sdk->getDistinctId(), "");
        EXPECT_EQ(log.lines(), std::vector<std::string>(7, kGateLine));
    }
    // With the debug switch off nothing at all is printed.
    testing::internal::CaptureStdout();
    sdk->capture("too early");
    sdk->reset();
    sdk->close();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");

    sdk->setup(config);
    sdk->capture("in time");
    deliver();
    EXPECT_EQ(namesOf(uploadedEvents(server)), std::vector<std::string> { "in time" });
    EXPECT_FALSE(sdk->isOptOut()) << "the early optOut did nothing";
}

TEST_F(BeaconSdkTest, ASecondSetupChangesNothingAndSaysSo)
{
    sdk->setup(config);
    auto other = harness.makeConfig(server.baseUrl(), "other-key");
    other->debug = true;
    other->flushAt = 1;
    settle();
    CapturedLog log;
    sdk->setup(other);
    EXPECT_EQ(log.lines(), std::vector<std::string> { "[Beacon] Setup called despite already being setup!" });
    EXPECT_EQ(sdk->config(), config);
    EXPECT_FALSE(other->storageManager) << "the second configuration was never used";
}

TEST_F(BeaconSdkTest, ASecondClientWithTheSameKeyIsNamedButStillStarts)
{
    sdk->setup(config);
    SdkHarness elsewhere;
    auto second = BeaconSDK::create();
    auto secondConfig = elsewhere.makeConfig(server.baseUrl());
    secondConfig->debug = true;
    {
        CapturedLog log;
        second->setup(secondConfig);
        EXPECT_TRUE(log.contains("[Beacon] API Key: test-key already has a Beacon instance."));
    }
    EXPECT_TRUE(second->isEnabled());
    second->close();
}

TEST_F(BeaconSdkTest, SetupStoresTheIdentityStoreBackAndAnnouncesItselfFromAnotherThread)
{
    std::mutex lock;
    std::condition_variable announced;
    std::optional<std::thread::id> announcer;
    const void* sender = nullptr;
    const auto token = beacon::BeaconNotificationCenter::defaultCenter().addObserver(
        BeaconSDK::didStartNotification, [&](const beacon::BeaconNotification& notification) {
            const std::lock_guard guard(lock);
            announcer = std::this_thread::get_id();
            sender = notification.object;
            announced.notify_all();
        });

    sdk->setup(config);
    ASSERT_TRUE(config->storageManager);
    EXPECT_EQ(config->storageManager->getAnonymousId(), sdk->getAnonymousId());

    std::unique_lock guard(lock);
    ASSERT_TRUE(announced.wait_for(guard, 10s, [&] { return announcer.has_value(); }));
    EXPECT_NE(*announcer, std::this_thread::get_id());
    EXPECT_EQ(sender, sdk.get());
}

TEST_F(BeaconSdkTest, FlagRequestsAtSetupCarryThePersonPropertiesContext)
{
    config->remoteConfig = true;
    config->preloadFeatureFlags = true;
    sdk->setup(config);
    ASSERT_TRUE(server.waitForRequests(2));
    const auto requests = server.requests();
    EXPECT_EQ(requests[0].path, "/array/test-key/config");
    ASSERT_EQ(requests[1].path, "/flags");
    const json body = json::parse(requests[1].body);
    EXPECT_EQ(body["distinct_id"], sdk->getDistinctId());
    EXPECT_EQ(body["person_properties"]["$app_version"], "1.2.0");
    EXPECT_EQ(body["person_properties"]["$app_build"], 42);
    EXPECT_EQ(body["person_properties"]["$device_type"], "Desktop");
}

TEST_F(BeaconSdkTest, WithoutDefaultPersonPropertiesFlagRequestsCarryNone)
{
    config->preloadFeatureFlags = true;
    config->setDefaultPersonProperties = false;
    sdk->setup(config);
    ASSERT_TRUE(server.waitForRequests(1));
    const RecordedRequest request = server.requests().front();
    ASSERT_EQ(request.path, "/flags");
    EXPECT_FALSE(json::parse(request.body).contains("person_properties"));
}

TEST_F(BeaconSdkTest, WithoutAStorageFolderNothingIsWrittenAnywhere)
{
    harness.platform->folders = std::make_shared<beacon::FixedDataFolders>(std::nullopt);
    const fs::path before = fs::current_path();
    const fs::path workingDirectory = harness.data.path() / "cwd";
    fs::create_directories(workingDirectory);
    fs::current_path(workingDirectory);
    sdk->setup(config);
    sdk->capture("nowhere to go");
    sdk->flush();
    ASSERT_TRUE(sdk->waitUntilIdleForTesting());
    fs::current_path(before);
    EXPECT_TRUE(fs::is_empty(workingDirectory)) << "no queue folder relative to the working directory";
    EXPECT_EQ(server.requestCount(), 0u);
}

// --- opt-out ---------------------------------------------------------------------------------------

TEST_F(BeaconSdkTest, OptOutStopsCapturingAndSurvivesARestart)
{
    sdk->setup(config);
    sdk->optOut();
    EXPECT_TRUE(sdk->isOptOut());
    {
        settle();
        CapturedLog log;
        sdk->capture("while out");
        sdk->identify("user-1");
        sdk->screen("Settings");
        EXPECT_EQ(log.lines(), std::vector<std::string>(3, kOptOutLine));
    }
    EXPECT_EQ(harness.queuedFiles(), 0u);
    EXPECT_NE(sdk->getDistinctId(), "user-1");

    restart();
    EXPECT_TRUE(sdk->isOptOut()) << "the stored choice wins over the configuration's default";
    sdk->optIn();
    sdk->capture("back in");
    deliver();
    EXPECT_EQ(namesOf(uploadedEvents(server)), std::vector<std::string> { "back in" });

    auto optedOutByDefault = harness.makeConfig(server.baseUrl());
    optedOutByDefault->optOut = true;
    restart(optedOutByDefault);
    EXPECT_FALSE(sdk->isOptOut()) << "the stored opt-in wins too";
}

TEST_F(BeaconSdkTest, TheConfigurationsOptOutAppliesWhileNothingIsStored)
{
    config->optOut = true;
    sdk->setup(config);
    EXPECT_TRUE(sdk->isOptOut());
    EXPECT_TRUE(sdk->installedIntegrations().empty());
    sdk->capture("never");
    EXPECT_EQ(harness.queuedFiles(), 0u);
}

// --- identity ----------------------------------------------------------------------------------------

TEST_F(BeaconSdkTest, IdentifyingAnAnonymousPersonLinksTheFormerId)
{
    sdk->setup(config);
    const std::string anonymous = sdk->getAnonymousId();
    EXPECT_EQ(sdk->getDistinctId(), anonymous);

    sdk->identify("user-1", { { "plan", "pro" } }, { { "first_seen", "2024-01-02" } });
    EXPECT_EQ(sdk->getDistinctId(), "user-1");
    EXPECT_EQ(sdk->getAnonymousId(), anonymous);
    sdk->capture("after");
    deliver();

    const json identify = onlyEvent("$identify");
    EXPECT_EQ(identify["distinct_id"], "user-1");
    const json& properties = identify["properties"];
    EXPECT_EQ(properties["distinct_id"], "user-1");
    EXPECT_EQ(properties["$anon_distinct_id"], anonymous);
    EXPECT_EQ(properties["$set"], (json { { "plan", "pro" } }));
    EXPECT_EQ(properties["$set_once"], (json { { "first_seen", "2024-01-02" } }));
    EXPECT_EQ(properties["$is_identified"], true);

    const json after = onlyEvent("after");
    EXPECT_EQ(after["distinct_id"], "user-1");
    EXPECT_EQ(after["properties"]["$is_identified"], true);
    EXPECT_EQ(after["properties"]["$process_person_profile"], true);
}

TEST_F(BeaconSdkTest, IdentifyWithTheCurrentIdSendsSetOnlyForPropertiesNotJustSent)
{
    sdk->setup(config);
    sdk->identify("user-1");
    sdk->identify("user-1"); // nothing new: nothing sent
    {
        settle();
        CapturedLog log;
        sdk->identify("user-1", { { "plan", "pro" } });
        sdk->identify("user-1", { { "plan", "pro" } });
        const auto& lines = log.lines();
        EXPECT_EQ(
            std::count(lines.begin(), lines.end(),
                "[Beacon] A duplicate identify call was made with the same properties. The $set event has "
                "been ignored."),
            1);
    }
    sdk->identify("user-1", { { "plan", "team" } });
    deliver();
    EXPECT_EQ(namesOf(uploadedEvents(server)), (std::vector<std::string> { "$identify", "$set", "$set" }));
    const auto sets = uploadedEvents(server, "$set");
    EXPECT_EQ(sets[0]["properties"]["$set"], (json { { "plan", "pro" } }));
    EXPECT_EQ(sets[1]["properties"]["$set"], (json { { "plan", "team" } }));
    EXPECT_EQ(sets[1]["distinct_id"], "user-1");
}

TEST_F(BeaconSdkTest, IdentifyRefusesAnInvalidIdAndASecondPerson)
{
    sdk->setup(config);
    const std::string anonymous = sdk->getDistinctId();
    {
        settle();
        CapturedLog log;
        sdk->identify("");
        sdk->identify("user-\xff\xfe"); // could be neither stored nor sent
        EXPECT_EQ(log.lines(),
            (std::vector<std::string> { "[Beacon] identify call not allowed, distinctId is invalid: ",
                "[Beacon] identify call not allowed, distinctId is invalid: user-\xff\xfe" }));
    }
    EXPECT_EQ(sdk->getDistinctId(), anonymous);

    sdk->identify("user-1"); // still anonymous after the refusals
    {
        settleFlags();
        CapturedLog log;
        sdk->identify("user-2", { { "plan", "pro" } });
        EXPECT_EQ(log.lines(), std::vector<std::string> { "[Beacon] already identified with id: user-1" });
    }
    EXPECT_EQ(sdk->getDistinctId(), "user-1");
    deliver();
    EXPECT_EQ(namesOf(uploadedEvents(server)), std::vector<std::string> { "$identify" });
    EXPECT_EQ(onlyEvent("$identify")["properties"]["$anon_distinct_id"], anonymous);
}

TEST_F(BeaconSdkTest, ReusingTheAnonymousIdLeavesItOutOfIdentify)
{
    config->reuseAnonymousId = true;
    sdk->setup(config);
    const std::string anonymous = sdk->getAnonymousId();
    sdk->identify("user-1");
    deliver();
    EXPECT_FALSE(onlyEvent("$identify")["properties"].contains("$anon_distinct_id"));
    sdk->reset();
    EXPECT_EQ(sdk->getAnonymousId(), anonymous) << "kept across reset too";
    EXPECT_EQ(sdk->getDistinctId(), anonymous);
}

TEST_F(BeaconSdkTest, IdentityAndSuperPropertiesSurviveARestart)
{
    sdk->setup(config);
    const std::string anonymous = sdk->getAnonymousId();
    sdk->identify("user-1");
    sdk->registerProperties({ { "plan", "pro" }, { "theme", "dark" } });
    sdk->registerProperties({ { "theme", "light" } });
    sdk->unregisterProperties("plan");
    sdk->capture("first run");

    restart();
    EXPECT_EQ(sdk->getDistinctId(), "user-1");
    EXPECT_EQ(sdk->getAnonymousId(), anonymous);
    {
        settle();
        CapturedLog log;
        sdk->identify("user-2");
        EXPECT_TRUE(log.contains("already identified with id: user-1")) << "still identified";
    }
    sdk->capture("second run");
    deliver();
    for (const char* name : { "first run", "second run" }) {
        const json event = onlyEvent(name);
        EXPECT_EQ(event["distinct_id"], "user-1") << name;
        EXPECT_EQ(event["properties"]["theme"], "light") << name;
        EXPECT_FALSE(event["properties"].contains("plan")) << name;
    }
}

TEST_F(BeaconSdkTest, UnderPersonProfilesNeverPersonOperationsAreRefused)
{
    config->personProfiles = BeaconPersonProfiles::never;
    sdk->setup(config);
    {
        settle();
        CapturedLog log;
        sdk->identify("user-1");
        sdk->alias("old-account");
        sdk->group("company", "acme");
        sdk->setPersonProperties({ { "plan", "pro" } });
        const std::string tail
            = " was called, but `personProfiles` is set to `never`. This call will be ignored.";
        EXPECT_EQ(log.lines(),
            (std::vector<std::string> { "[Beacon] identify(_:userProperties:userPropertiesSetOnce:)" + tail,
                "[Beacon] alias(_:)" + tail, "[Beacon] group(type:key:groupProperties:)" + tail,
                "[Beacon] setPersonProperties(userPropertiesToSet:userPropertiesToSetOnce:)" + tail }));
    }
    sdk->capture("plain");
    deliver();
    EXPECT_EQ(namesOf(uploadedEvents(server)), std::vector<std::string> { "plain" });
    EXPECT_EQ(onlyEvent("plain")["properties"]["$process_person_profile"], false);
}

// --- person, group and screen events -----------------------------------------------------------------

TEST_F(BeaconSdkTest, AliasGroupAndScreenQueueTheirEventsAndGroupsStayOnLaterEvents)
{
    sdk->setup(config);
    sdk->capture("before");
    sdk->alias("old-account");
    sdk->group("company", "acme", beacon::BeaconProperties { { "seats", 5 } });
    sdk->screen("Settings", { { "tab", "general" } });
    sdk->capture("after");
    deliver();

    EXPECT_EQ(onlyEvent("before")["properties"]["$process_person_profile"], false)
        << "an anonymous person is not processed until a person operation";
    const json alias = onlyEvent("$create_alias");
    EXPECT_EQ(alias["properties"]["alias"], "old-account");
    EXPECT_EQ(alias["distinct_id"], sdk->getDistinctId());
    const json group = onlyEvent("$groupidentify");
    EXPECT_EQ(group["properties"]["$group_type"], "company");
    EXPECT_EQ(group["properties"]["$group_key"], "acme");
    EXPECT_EQ(group["properties"]["$group_set"], (json { { "seats", 5 } }));
    const json screen = onlyEvent("$screen");
    EXPECT_EQ(screen["properties"]["$screen_name"], "Settings");
    EXPECT_EQ(screen["properties"]["tab"], "general");
    const json after = onlyEvent("after");
    EXPECT_EQ(after["properties"]["$groups"], (json { { "company", "acme" } }));
    EXPECT_EQ(after["properties"]["$process_person_profile"], true);
}

TEST_F(BeaconSdkTest, SetPersonPropertiesSendsEachNewSetOnce)
{
    sdk->setup(config);
    {
        settle();
        CapturedLog log;
        sdk->setPersonProperties({}, {});
        sdk->setPersonProperties({ { "plan", "pro" } }, { { "first_seen", "2024-01-02" } });
        sdk->setPersonProperties({ { "plan", "pro" } }, { { "first_seen", "2024-01-02" } });
        EXPECT_TRUE(
            log.contains("[Beacon] A duplicate setPersonProperties call was made with the same properties. "
                         "It has been ignored."));
    }
    sdk->setPersonProperties({ { "plan", "team" } });
    deliver();
    const auto sets = uploadedEvents(server, "$set");
    ASSERT_EQ(sets.size(), 2u);
    EXPECT_EQ(sets[0]["distinct_id"], sdk->getDistinctId());
    EXPECT_EQ(sets[0]["properties"]["$set"], (json { { "plan", "pro" } }));
    EXPECT_EQ(sets[0]["properties"]["$set_once"], (json { { "first_seen", "2024-01-02" } }));
    EXPECT_EQ(sets[1]["properties"]["$set"], (json { { "plan", "team" } }));
    EXPECT_FALSE(sets[1]["properties"].contains("$set_once"));
}

TEST_F(BeaconSdkTest, PersonPropertiesForADistinctIdThatIsNotTextAreStillDeduplicated)
{
    // A host's own identity store may hold any bytes; the de-duplication must not throw on them.
    config->storageManager = std::make_shared<beacon::BeaconStorageManager>(*config);
    config->storageManager->setDistinctId("legacy-\xff");
    sdk->setup(config);
    settle();
    CapturedLog log;
    EXPECT_NO_THROW(sdk->setPersonProperties({ { "plan", "pro" } }));
    EXPECT_NO_THROW(sdk->setPersonProperties({ { "plan", "pro" } }));
    const auto& lines = log.lines();
    EXPECT_EQ(
        std::count(lines.begin(), lines.end(),
            "[Beacon] A duplicate setPersonProperties call was made with the same properties. It has been "
            "ignored."),
        1);
}

// Reset clears the person properties used for flags, so a repeat of the last ones must get through
// even when the anonymous id (and with it the hash) stays the same.
TEST_F(BeaconSdkTest, AfterResetTheLastPersonPropertiesAreSentAgain)
{
    config->reuseAnonymousId = true;
    sdk->setup(config);
    sdk->setPersonProperties({ { "plan", "pro" } });
    sdk->reset();
    sdk->setPersonProperties({ { "plan", "pro" } });
    deliver();
    const auto sets = uploadedEvents(server, "$set");
    ASSERT_EQ(sets.size(), 2u);
    EXPECT_EQ(sets[0]["distinct_id"], sets[1]["distinct_id"]) << "the same person before and after";
}

// --- flags -----------------------------------------------------------------------------------------

TEST_F(BeaconSdkTest, EachFlagValueReadIsReportedOnceUntilReset)
{
    server.setResponse("/flags",
        { 200,
            json { { "featureFlags", { { "beta", true }, { "theme", "dark" }, { "legacy", false } } } }
                .dump() });
    sdk->setup(config);
    std::promise<void> loaded;
    sdk->reloadFeatureFlags([&](const std::optional<json>&) { loaded.set_value(); });
    ASSERT_EQ(loaded.get_future().wait_for(10s), std::future_status::ready);

    EXPECT_EQ(sdk->getFeatureFlag("beta"), json(true));
    EXPECT_EQ(sdk->getFeatureFlag("beta"), json(true));
    EXPECT_TRUE(sdk->isFeatureEnabled("theme"));
    EXPECT_FALSE(sdk->isFeatureEnabled("legacy", false)) << "not reported when asked not to";
    EXPECT_EQ(sdk->getFeatureFlagResult("theme")->variant, "dark");
    sdk->capture("after flags");
    deliver();
    auto called = uploadedEvents(server, "$feature_flag_called");
    ASSERT_EQ(called.size(), 2u);
    EXPECT_EQ(called[0]["properties"]["$feature_flag"], "beta");
    EXPECT_EQ(called[0]["properties"]["$feature_flag_response"], true);
    EXPECT_EQ(called[1]["properties"]["$feature_flag"], "theme");
    EXPECT_EQ(called[1]["properties"]["$feature_flag_response"], "dark");
    const json after = onlyEvent("after flags");
    EXPECT_EQ(after["properties"]["$feature/beta"], true);
    EXPECT_EQ(after["properties"]["$feature/legacy"], false);

    sdk->reset();
    sdk->getFeatureFlag("beta");
    deliver();
    EXPECT_EQ(uploadedEvents(server, "$feature_flag_called").size(), 3u) << "reported again after reset";
}

TEST_F(BeaconSdkTest, FlagReadsWhileOptedOutAreNotUsedUp)
{
    server.setResponse("/flags", { 200, json { { "featureFlags", { { "beta", true } } } }.dump() });
    sdk->setup(config);
    std::promise<void> loaded;
    sdk->reloadFeatureFlags([&](const std::optional<json>&) { loaded.set_value(); });
    ASSERT_EQ(loaded.get_future().wait_for(10s), std::future_status::ready);
    sdk->optOut();
    EXPECT_EQ(sdk->getFeatureFlag("beta"), json(true));
    sdk->optIn();
    sdk->getFeatureFlag("beta");
    deliver();
    EXPECT_EQ(uploadedEvents(server, "$feature_flag_called").size(), 1u);
}

// --- reset, sessions, close ---------------------------------------------------------------------------

TEST_F(BeaconSdkTest, ResetForgetsThePersonTheirPropertiesAndGroupsAndStartsANewSession)
{
    sdk->setup(config);
    sdk->identify("user-1");
    sdk->registerProperties({ { "plan", "pro" } });
    sdk->group("company", "acme");
    const std::string anonymous = sdk->getAnonymousId();
    const auto session = sdk->getSessionId();
    ASSERT_TRUE(session);
    {
        settle();
        CapturedLog log;
        sdk->reset();
        EXPECT_TRUE(log.contains("(Session was reset)"));
    }
    EXPECT_NE(sdk->getAnonymousId(), anonymous);
    EXPECT_EQ(sdk->getDistinctId(), sdk->getAnonymousId());
    EXPECT_NE(sdk->getSessionId(), session);

    sdk->capture("after reset");
    sdk->identify("user-1"); // a new person may become user-1 again
    deliver();
    const json after = onlyEvent("after reset");
    EXPECT_EQ(after["distinct_id"], sdk->getAnonymousId());
    EXPECT_FALSE(after["properties"].contains("plan"));
    EXPECT_FALSE(after["properties"].contains("$groups"));
    EXPECT_EQ(after["properties"]["$is_identified"], false);
    EXPECT_EQ(uploadedEvents(server, "$identify").size(), 2u);
}

TEST_F(BeaconSdkTest, SessionOperationsReachTheAnalyticsSession)
{
    sdk->setup(config);
    harness.lifecycle->send(
        BeaconLifecycleEvent::didResignActive); // in the background: no new session by itself
    const auto first = sdk->getSessionId();
    ASSERT_TRUE(first);
    sdk->startSession();
    const auto second = sdk->getSessionId();
    ASSERT_TRUE(second);
    EXPECT_NE(first, second);
    sdk->capture("in session");
    sdk->endSession();
    EXPECT_EQ(sdk->getSessionId(), std::nullopt);
    sdk->capture("without session");
    deliver();
    EXPECT_EQ(onlyEvent("in session")["properties"]["$session_id"], *second);
    EXPECT_FALSE(onlyEvent("without session")["properties"].contains("$session_id"));
}

TEST_F(BeaconSdkTest, CloseStopsEverythingAndASecondSetupStartsAfresh)
{
    config->captureApplicationLifecycleEvents = true;
    sdk->setup(config);
    sdk->identify("user-1");
    sdk->capture("before close");
    ASSERT_EQ(sdk->installedIntegrations().size(), 1u);
    // The new identity's flag reload logs from another thread; let it finish first.
    std::promise<void> flagsLoaded;
    sdk->reloadFeatureFlags([&](const std::optional<json>&) { flagsLoaded.set_value(); });
    ASSERT_EQ(flagsLoaded.get_future().wait_for(10s), std::future_status::ready);
    ASSERT_TRUE(sdk->waitUntilIdleForTesting());
    {
        settle();
        CapturedLog log;
        sdk->close();
        EXPECT_FALSE(beacon::isDebugLogEnabled()) << "close turns the debug log off";
        beacon::setDebugLogEnabled(true);
        sdk->capture("after close");
        EXPECT_EQ(log.lines(),
            (std::vector<std::string> {
                "[Beacon] Session id cleared - reason: (Session ended)", kGateLine }));
    }
    EXPECT_FALSE(sdk->isEnabled());
    EXPECT_TRUE(sdk->installedIntegrations().empty());
    EXPECT_NE(sdk->config(), config);
    EXPECT_EQ(sdk->config()->apiKey, "") << "a fresh default configuration";
    EXPECT_FALSE(config->storageManager);
    EXPECT_FALSE(fs::exists(harness.storageFolder() / "beacon.distinctId")) << "close forgets the identity";

    sdk->setup(harness.makeConfig(server.baseUrl()));
    EXPECT_TRUE(sdk->isEnabled());
    EXPECT_NE(sdk->getDistinctId(), "user-1");
    deliver();
    EXPECT_EQ(onlyEvent("before close")["distinct_id"], "user-1") << "queued events stay and go out later";
    EXPECT_TRUE(uploadedEvents(server, "after close").empty());
}

TEST_F(BeaconSdkTest, AClientReleasedWhileItsFlagsAreLoadingGoesAwayCleanly)
{
    // The flags request asks for the default person properties on its own thread; a client
    // released at that moment must not be torn down there, in the middle of the request.
    config->setDefaultPersonProperties = true;
    for (int round = 0; round < 300; ++round) {
        sdk->setup(round == 0 ? config : harness.makeConfig(server.baseUrl()));
        sdk->reloadFeatureFlags();
        sdk = BeaconSDK::create();
    }
    EXPECT_FALSE(sdk->isEnabled());
}

TEST_F(BeaconSdkTest, DebugSwitchesTheLogOnlyAfterSetup)
{
    sdk->debug(true);
    EXPECT_FALSE(beacon::isDebugLogEnabled());
    sdk->setup(config);
    sdk->debug(true);
    EXPECT_TRUE(beacon::isDebugLogEnabled());
    sdk->debug(false);
    EXPECT_FALSE(beacon::isDebugLogEnabled());
}

// --- integrations ----------------------------------------------------------------------------------

TEST_F(BeaconSdkTest, TheApplicationsConfigurationInstallsNoIntegrationAndRecordsNoLifecycleEvents)
{
    sdk->setup(config); // screen views and lifecycle events off, as Velto sets them
    EXPECT_TRUE(sdk->installedIntegrations().empty());
    harness.lifecycle->send(BeaconLifecycleEvent::didFinishLaunching);
    harness.lifecycle->send(BeaconLifecycleEvent::didBecomeActive);
    harness.lifecycle->send(BeaconLifecycleEvent::didResignActive);
    sdk->capture("only this");
    deliver();
    EXPECT_EQ(namesOf(uploadedEvents(server)), std::vector<std::string> { "only this" });
}

TEST_F(BeaconSdkTest, IntegrationsFollowTheConfigurationAndTheOptOut)
{
    config->captureScreenViews = true;
    config->captureApplicationLifecycleEvents = true;
    config->enableSwizzling = false;
    config->debug = true;
    {
        CapturedLog log;
        sdk->setup(config);
        EXPECT_TRUE(
            log.contains("[Beacon] Integration BeaconScreenViewIntegration skipped. Integration requires "
                         "swizzling but enableSwizzling is disabled in config"));
        EXPECT_TRUE(log.contains("[Beacon] Integration BeaconAppLifeCycleIntegration installed"));
    }
    EXPECT_EQ(integrationNames(*sdk), std::vector<std::string> { "BeaconAppLifeCycleIntegration" });
    sdk->optOut();
    EXPECT_TRUE(sdk->installedIntegrations().empty());
    sdk->optIn();
    EXPECT_EQ(integrationNames(*sdk), std::vector<std::string> { "BeaconAppLifeCycleIntegration" });
    settle();
    CapturedLog log;
    sdk->optIn();
    EXPECT_TRUE(log.contains("[Beacon] Integrations already installed. Call uninstallIntegrations() first."));
}

TEST_F(BeaconSdkTest, AnIntegrationServesOneClientAtATime)
{
    config->captureScreenViews = true;
    config->captureApplicationLifecycleEvents = true;
    sdk->setup(config);
    ASSERT_EQ(sdk->installedIntegrations().size(), 2u);

    SdkHarness elsewhere;
    auto second = BeaconSDK::create();
    auto secondConfig = elsewhere.makeConfig(server.baseUrl(), "second-key");
    secondConfig->captureScreenViews = true;
    secondConfig->captureApplicationLifecycleEvents = true;
    secondConfig->debug = true;
    {
        CapturedLog log;
        second->setup(secondConfig);
        EXPECT_TRUE(log.contains("[Beacon] Integration BeaconScreenViewIntegration failed to install: "
                                 "Autocapture integration already installed to another BeaconSDK instance."));
        EXPECT_TRUE(
            log.contains("[Beacon] Integration BeaconAppLifeCycleIntegration failed to install: App life "
                         "cycle integration already installed to another BeaconSDK instance."));
    }
    EXPECT_TRUE(second->installedIntegrations().empty());

    sdk->optOut(); // frees them
    second->optIn();
    EXPECT_EQ(second->installedIntegrations().size(), 2u);
    second->close();
}

TEST_F(BeaconSdkTest, TheScreenViewIntegrationRecordsScreensItIsToldAbout)
{
    config->captureScreenViews = true;
    sdk->setup(config);
    const auto installed = sdk->installedIntegrations();
    ASSERT_EQ(installed.size(), 1u);
    auto* screens = dynamic_cast<beacon::BeaconScreenViewIntegration*>(installed.front().get());
    ASSERT_NE(screens, nullptr);
    screens->screenDidAppear("Dashboard");
    deliver();
    EXPECT_EQ(onlyEvent("$screen")["properties"]["$screen_name"], "Dashboard");
}

} // namespace
