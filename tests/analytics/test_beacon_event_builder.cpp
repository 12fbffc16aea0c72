// Event assembly: what every captured event carries, which values win, and the hooks.
#include "beacon/BeaconEventBuilder.h"

#include <algorithm>
#include <chrono>
#include <fstream>
#include <limits>
#include <map>
#include <set>
#include <stdexcept>
#include <thread>

#include <gtest/gtest.h>

#include "CapturedLog.h"
#include "LoopbackHttpServer.h"
#include "ManualClock.h"
#include "TemporaryDirectory.h"
#include "beacon/BeaconApi.h"
#include "beacon/BeaconApiDateFormatter.h"
#include "beacon/BeaconConfig.h"
#include "beacon/BeaconContext.h"
#include "beacon/BeaconEvent.h"
#include "beacon/BeaconNotificationCenter.h"
#include "beacon/BeaconRemoteConfig.h"
#include "beacon/BeaconSessionManager.h"
#include "beacon/BeaconStorage.h"
#include "beacon/BeaconStorageManager.h"

namespace {
using beacon::BeaconCaptureInput;
using beacon::BeaconConfig;
using beacon::BeaconEvent;
using beacon::BeaconEventBuilder;
using beacon::BeaconOpaqueValue;
using beacon::BeaconPersonProfiles;
using beacon::BeaconProperties;
using beacon::BeaconPropertyValue;
using beacon::StorageKey;
using beacon::test::CapturedLog;
using beacon::test::ManualClock;
using beacon::test::TemporaryDirectory;
using nlohmann::json;
using namespace std::chrono_literals;

class RenamingSanitizer final : public beacon::BeaconPropertiesSanitizer {
public:
    json sanitize(json properties) override
    {
        properties.erase("secret");
        properties["sanitized"] = true;
        return properties;
    }
};

class ThrowingSanitizer final : public beacon::BeaconPropertiesSanitizer {
public:
    json sanitize(json) override { throw std::runtime_error("no"); }
};

class EventBuilderTest : public ::testing::Test {
protected:
    TemporaryDirectory folder;
    TemporaryDirectory systemRoot;
    beacon::test::RefusingPort nowhere; // no request may leave these tests
    std::shared_ptr<ManualClock> clock = std::make_shared<ManualClock>();
    std::shared_ptr<BeaconConfig> config;
    std::shared_ptr<beacon::BeaconStorage> storage;
    std::shared_ptr<beacon::BeaconStorageManager> storageManager;
    std::shared_ptr<beacon::BeaconSessionManager> sessions = beacon::BeaconSessionManager::create();
    std::shared_ptr<beacon::BeaconContext> context;
    beacon::BeaconNotificationCenter center;
    std::shared_ptr<beacon::BeaconRemoteConfig> remoteConfig;
    std::unique_ptr<BeaconEventBuilder> builder;

    void SetUp() override
    {
        config = std::make_shared<BeaconConfig>("key", nowhere.baseUrl());
        config->clock = clock;
        config->remoteConfig = false;
        config->preloadFeatureFlags = false;
        storage = std::make_shared<beacon::BeaconStorage>(folder.path());
        storageManager = std::make_shared<beacon::BeaconStorageManager>(storage, nullptr);
        sessions->setup(config);

        std::filesystem::create_directories(systemRoot.path() / "etc");
        std::ofstream(systemRoot.path() / "etc/os-release") << "NAME=TestOS\nVERSION_ID=3\n";
        beacon::BeaconSystemProbe probe;
        probe.root = systemRoot.path(); // no DMI, no zone files
        probe.environment = [](const std::string& name) -> std::optional<std::string> {
            if (name == "LANG")
                return "en_US.UTF-8";
            return std::nullopt;
        };
        probe.machine = [] { return std::optional<std::string>("x86_64"); };
        beacon::BeaconApplicationInfo info;
        info.name = "Velto";
        info.shortVersion = "1.0.0";
        info.bundleIdentifier = "studio.murv.Velto";
        context = std::make_shared<beacon::BeaconContext>(info, nullptr, probe);
    }

    /// Builds the builder over the current config and storage (cached flags included).
    void make(bool withRemoteConfig = true)
    {
        if (withRemoteConfig) {
            remoteConfig = beacon::BeaconRemoteConfig::create(config, storage, storageManager,
                std::make_shared<beacon::BeaconApi>(config), nullptr, &center);
        }
        builder = std::make_unique<BeaconEventBuilder>(
            config, storage, storageManager, sessions, remoteConfig, context);
    }

    std::shared_ptr<BeaconEvent> capture(BeaconCaptureInput input)
    {
        if (!builder)
            make();
        return builder->buildCaptureEvent(input);
    }

    std::shared_ptr<BeaconEvent> capture(const std::string& event, BeaconProperties properties = {})
    {
        BeaconCaptureInput input;
        input.event = event;
        input.properties = std::move(properties);
        return capture(std::move(input));
    }
};

TEST_F(EventBuilderTest, AnEventCarriesContextLibraryIdentityAndItsOwnProperties)
{
    sessions->startSession();
    const auto event = capture("dashboard_section_opened", { { "section", "tags" } });
    ASSERT_TRUE(event);
    EXPECT_EQ(event->event, "dashboard_section_opened");
    EXPECT_EQ(event->distinctId, storageManager->getDistinctId());
    EXPECT_EQ(event->timestamp, clock->now());
    EXPECT_EQ(event->uuid.version(), 7);
    EXPECT_FALSE(event->apiKey);
    const json& p = event->properties;
    EXPECT_EQ(p["section"], "tags");
    EXPECT_EQ(p["$app_version"], "1.0.0");
    EXPECT_EQ(p["$device_type"], "Desktop");
    EXPECT_EQ(p["$locale"], "en");
    EXPECT_EQ(p["$lib"], "beacon-desktop");
    EXPECT_EQ(p["$lib_version"], "1.0.0");
    EXPECT_EQ(p["$is_identified"], false);
    EXPECT_EQ(p["$process_person_profile"], false);
    EXPECT_EQ(p["$session_id"], sessions->getSessionId(clock->now(), true));
    EXPECT_FALSE(p.contains("$set"));
    EXPECT_FALSE(p.contains("$set_once"));
    EXPECT_FALSE(p.contains("$groups"));
    EXPECT_FALSE(p.contains("distinct_id"));
}

TEST_F(EventBuilderTest, CallerPropertiesNeverReplaceTheLibrarysOwn)
{
    sessions->startSession();
    const auto event = capture("e",
        { { "$app_version", "hacked" }, { "$lib", "other" }, { "$process_person_profile", true },
            { "$session_id", "" } });
    EXPECT_EQ(event->properties["$app_version"], "1.0.0");
    EXPECT_EQ(event->properties["$lib"], "beacon-desktop");
    EXPECT_EQ(event->properties["$process_person_profile"], false);
    EXPECT_EQ(event->properties["$session_id"], sessions->getSessionId(clock->now(), true));
}

TEST_F(EventBuilderTest, ACallersNonEmptySessionIdWins)
{
    sessions->startSession();
    EXPECT_EQ(capture("e", { { "$session_id", "mine" } })->properties["$session_id"], "mine");
    // Not text: the session manager's id is used.
    EXPECT_EQ(capture("e", { { "$session_id", 5 } })->properties["$session_id"],
        sessions->getSessionId(clock->now(), true));
}

TEST_F(EventBuilderTest, WithoutASessionNoSessionIdIsSent)
{
    EXPECT_FALSE(capture("e")->properties.contains("$session_id"));
}

TEST_F(EventBuilderTest, RegisteredPropertiesJoinEveryEventButNotOverContext)
{
    make();
    builder->registerProperties(
        { { "plan", "pro" }, { "$os_name", "Registered" }, { "bad", BeaconOpaqueValue {} } });
    builder->registerProperties({ { "plan", "team" }, { "theme", "coral" } });
    EXPECT_EQ(storage->getDictionary(StorageKey::registerProperties),
        (json { { "plan", "team" }, { "$os_name", "Registered" }, { "theme", "coral" } }));

    auto event = capture("e", { { "plan", "caller" } });
    EXPECT_EQ(event->properties["plan"], "team");
    EXPECT_EQ(event->properties["theme"], "coral");
    EXPECT_EQ(event->properties["$os_name"], "TestOS");

    builder->unregisterProperties("plan");
    event = capture("e", { { "plan", "caller" } });
    EXPECT_EQ(event->properties["plan"], "caller");
}

TEST_F(EventBuilderTest, FlagsBecomeFeaturePropertiesAndActiveFlagsSkipFalse)
{
    storage->setJson(
        StorageKey::enabledFeatureFlags, json { { "beta", true }, { "off", false }, { "layout", "wide" } });
    const auto event = capture("e");
    const json& p = event->properties;
    EXPECT_EQ(p["$feature/beta"], true);
    EXPECT_EQ(p["$feature/off"], false);
    EXPECT_EQ(p["$feature/layout"], "wide");
    EXPECT_EQ(p["$active_feature_flags"], (json { "beta", "layout" }));
}

TEST_F(EventBuilderTest, NoActiveFlagsListWhenEveryFlagIsFalse)
{
    storage->setJson(StorageKey::enabledFeatureFlags, json { { "off", false } });
    const auto event = capture("e");
    EXPECT_EQ(event->properties["$feature/off"], false);
    EXPECT_FALSE(event->properties.contains("$active_feature_flags"));
}

TEST_F(EventBuilderTest, PersistedGroupsWinOverTheEventsGroups)
{
    make();
    EXPECT_TRUE(builder->addGroup("company", "acme"));
    EXPECT_FALSE(builder->addGroup("company", "acme"));
    EXPECT_EQ(storage->getDictionary(StorageKey::groups), (json { { "company", "acme" } }));

    BeaconCaptureInput input;
    input.event = "e";
    input.groups = { { "company", "other" }, { "team", "design" } };
    const auto event = capture(input);
    EXPECT_EQ(event->properties["$groups"], (json { { "company", "acme" }, { "team", "design" } }));

    EXPECT_TRUE(builder->addGroup("company", "globex"));
    EXPECT_EQ(builder->groups(), (std::map<std::string, std::string> { { "company", "globex" } }));
}

TEST_F(EventBuilderTest, UserPropertiesBecomeSetAndSetOnceAndFeedFlagEvaluation)
{
    BeaconCaptureInput input;
    input.event = "e";
    input.userProperties = { { "plan", "pro" }, { "seats", 3 } };
    input.userPropertiesSetOnce = { { "plan", "free" }, { "first_seen", "2024" } };
    const auto event = capture(input);
    EXPECT_EQ(event->properties["$set"], (json { { "plan", "pro" }, { "seats", 3 } }));
    EXPECT_EQ(event->properties["$set_once"], (json { { "plan", "free" }, { "first_seen", "2024" } }));
    EXPECT_EQ(remoteConfig->personPropertiesForFlags(),
        (json { { "plan", "pro" }, { "seats", 3 }, { "first_seen", "2024" } }));
}

TEST_F(EventBuilderTest, PersonProcessingFollowsThePolicy)
{
    struct Case {
        BeaconPersonProfiles policy;
        bool identified;
        bool personProcessing;
        bool expected;
    };
    const std::vector<Case> cases = {
        { BeaconPersonProfiles::never, true, true, false },
        { BeaconPersonProfiles::always, false, false, true },
        { BeaconPersonProfiles::identifiedOnly, false, false, false },
        { BeaconPersonProfiles::identifiedOnly, false, true, true },
        { BeaconPersonProfiles::identifiedOnly, true, false, true },
    };
    for (const Case& c : cases) {
        config->personProfiles = c.policy;
        storageManager->setIdentified(c.identified);
        storageManager->setPersonProcessing(c.personProcessing);
        make(false);
        const auto event = capture("e");
        EXPECT_EQ(event->properties["$process_person_profile"], c.expected)
            << static_cast<int>(c.policy) << c.identified << c.personProcessing;
        EXPECT_EQ(event->properties["$is_identified"], c.identified);
    }
}

TEST_F(EventBuilderTest, WithoutAStorageManagerPersonProcessingIsOn)
{
    builder = std::make_unique<BeaconEventBuilder>(config, storage, nullptr, sessions, nullptr, context);
    const auto event
        = builder->buildCaptureEvent(BeaconCaptureInput { .event = "e", .distinctId = "someone" });
    EXPECT_EQ(event->properties["$process_person_profile"], true);
    EXPECT_FALSE(event->properties.contains("$is_identified"));
    EXPECT_EQ(event->distinctId, "someone");
}

TEST_F(EventBuilderTest, SnapshotsCarryOnlyLibrarySessionAndDistinctId)
{
    storage->setJson(StorageKey::enabledFeatureFlags, json { { "beta", true } });
    sessions->startSession();
    make();
    builder->registerProperties({ { "plan", "pro" } });
    BeaconCaptureInput input;
    input.event = "$snapshot";
    input.properties = { { "$snapshot_data", json::array({ 1, 2 }) } };
    input.userProperties = { { "ignored", true } };
    const auto event = capture(input);
    ASSERT_TRUE(event);
    std::set<std::string> keys;
    for (const auto& [key, value] : event->properties.items())
        keys.insert(key);
    EXPECT_EQ(keys,
        (std::set<std::string> { "$lib", "$lib_version", "$session_id", "distinct_id", "$snapshot_data" }));
    EXPECT_EQ(event->properties["distinct_id"], storageManager->getDistinctId());

    input.properties["distinct_id"] = "from the caller";
    EXPECT_EQ(capture(input)->properties["distinct_id"], "from the caller");
}

TEST_F(EventBuilderTest, ASnapshotWithoutASessionIsDiscardedSilently)
{
    CapturedLog log;
    EXPECT_FALSE(capture("$snapshot"));
    EXPECT_TRUE(log.lines().empty());
    EXPECT_TRUE(capture("$snapshot", { { "$session_id", "s-1" } }));
}

TEST_F(EventBuilderTest, DatesAreSentAsTextAndObjectsAreRemoved)
{
    const auto date = *beacon::BeaconApiDateFormatter::parse("2024-01-02T03:04:05.250Z");
    CapturedLog log;
    const auto event
        = capture("e", { { "when", date }, { "handle", BeaconOpaqueValue { std::make_shared<int>(1) } } });
    EXPECT_EQ(event->properties["when"], "2024-01-02T03:04:05Z");
    EXPECT_FALSE(event->properties.contains("handle"));
    EXPECT_TRUE(log.contains("[Beacon] property handle isn't serializable, dropping the item"));
}

TEST_F(EventBuilderTest, TheSanitizerHookReplacesTheProperties)
{
    config->propertiesSanitizer = std::make_shared<RenamingSanitizer>();
    const auto event = capture("e", { { "secret", "pin" }, { "kept", 1 } });
    EXPECT_FALSE(event->properties.contains("secret"));
    EXPECT_EQ(event->properties["sanitized"], true);
    EXPECT_EQ(event->properties["kept"], 1);
}

TEST_F(EventBuilderTest, ASanitizerThatThrowsDropsTheEvent)
{
    config->propertiesSanitizer = std::make_shared<ThrowingSanitizer>();
    CapturedLog log;
    EXPECT_FALSE(capture("e", { { "secret", "pin" } }));
    EXPECT_TRUE(log.contains("[Beacon] Beacon event e was dropped: the properties sanitizer failed: no"));
}

TEST_F(EventBuilderTest, BeforeSendMayChangeOrDropTheEvent)
{
    config->beforeSend = [](std::shared_ptr<BeaconEvent> event) -> std::shared_ptr<BeaconEvent> {
        if (event->event == "drop me" || event->event == "$identify")
            return nullptr;
        event->properties["edited"] = true;
        return event;
    };
    EXPECT_EQ(capture("keep")->properties["edited"], true);

    CapturedLog log;
    EXPECT_FALSE(capture("drop me"));
    EXPECT_FALSE(capture(beacon::makeIdentifyEvent("new-id", std::nullopt, {}, {})));
    const auto& lines = log.lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "[Beacon] Beacon event drop me was dropped");
    EXPECT_EQ(lines[1], "[Beacon] Beacon event $identify was dropped. This can cause unexpected behavior.");
}

TEST_F(EventBuilderTest, ADroppedEventLeavesTheFlagPropertiesAlone)
{
    config->beforeSend = [](std::shared_ptr<BeaconEvent>) { return std::shared_ptr<BeaconEvent>(); };
    BeaconCaptureInput input;
    input.event = "e";
    input.userProperties = { { "plan", "pro" } };
    EXPECT_FALSE(capture(input));
    EXPECT_EQ(remoteConfig->personPropertiesForFlags(), json::object());
}

TEST_F(EventBuilderTest, WhatBeforeSendPutsInIsMadeSafeToWrite)
{
    config->beforeSend = [](std::shared_ptr<BeaconEvent> event) {
        event->properties["nan"] = std::numeric_limits<double>::quiet_NaN();
        event->properties["latin1"] = "caf\xe9";
        return event;
    };
    const auto event = capture("e", { { "fine", 1 } });
    EXPECT_FALSE(event->properties.contains("nan"));
    EXPECT_FALSE(event->properties.contains("latin1"));
    EXPECT_EQ(event->properties["fine"], 1);
    EXPECT_NO_THROW((void)event->toJson().dump());
}

TEST_F(EventBuilderTest, AnEventNameThatIsNotUtf8IsDropped)
{
    CapturedLog log;
    EXPECT_FALSE(capture("caf\xe9"));
    EXPECT_TRUE(log.contains("is not UTF-8 text"));
}

TEST_F(EventBuilderTest, EachEventGetsANewTimeOrderedId)
{
    const auto first = capture("e");
    const auto second = capture("e");
    EXPECT_LT(first->uuid, second->uuid);
}

TEST_F(EventBuilderTest, AGivenDistinctIdAndTimestampAreUsed)
{
    BeaconCaptureInput input;
    input.event = "e";
    input.distinctId = "other-person";
    input.timestamp = clock->now() - 1h;
    const auto event = capture(input);
    EXPECT_EQ(event->distinctId, "other-person");
    EXPECT_EQ(event->timestamp, clock->now() - 1h);
}

TEST_F(EventBuilderTest, IdentifyCarriesBothIdsAndThePersonProperties)
{
    const auto event
        = capture(beacon::makeIdentifyEvent("user-7", "anon-1", { { "plan", "pro" } }, { { "first", 1 } }));
    EXPECT_EQ(event->event, "$identify");
    EXPECT_EQ(event->distinctId, "user-7");
    EXPECT_EQ(event->properties["distinct_id"], "user-7");
    EXPECT_EQ(event->properties["$anon_distinct_id"], "anon-1");
    EXPECT_EQ(event->properties["$set"], (json { { "plan", "pro" } }));
    EXPECT_EQ(event->properties["$set_once"], (json { { "first", 1 } }));

    const auto reused = capture(beacon::makeIdentifyEvent("user-8", std::nullopt, {}, {}));
    EXPECT_FALSE(reused->properties.contains("$anon_distinct_id"));
}

TEST_F(EventBuilderTest, SpecialEventsHaveTheirProperties)
{
    const auto set = capture(beacon::makeSetEvent("user-7", { { "plan", "pro" } }, {}));
    EXPECT_EQ(set->event, "$set");
    EXPECT_EQ(set->distinctId, "user-7");
    EXPECT_EQ(set->properties["$set"], (json { { "plan", "pro" } }));

    const auto alias = capture(beacon::makeAliasEvent("alias-1"));
    EXPECT_EQ(alias->event, "$create_alias");
    EXPECT_EQ(alias->properties["alias"], "alias-1");
    EXPECT_EQ(alias->distinctId, storageManager->getDistinctId());

    const auto screen
        = capture(beacon::makeScreenEvent("Insights", { { "$screen_name", "x" }, { "tab", 2 } }));
    EXPECT_EQ(screen->event, "$screen");
    EXPECT_EQ(screen->properties["$screen_name"], "Insights");
    EXPECT_EQ(screen->properties["tab"], 2);

    const auto flag = capture(beacon::makeFeatureFlagCalledEvent(
        json { { "$feature_flag", "beta" }, { "$feature_flag_response", nullptr } }));
    EXPECT_EQ(flag->event, "$feature_flag_called");
    EXPECT_EQ(flag->properties["$feature_flag"], "beta");
    EXPECT_TRUE(flag->properties["$feature_flag_response"].is_null());
}

TEST_F(EventBuilderTest, GroupIdentifySendsTheGroupSetOnlyWhenGiven)
{
    CapturedLog log;
    const auto withSet = capture(beacon::makeGroupIdentifyEvent(
        "company", "acme", BeaconProperties { { "size", 12 }, { "handle", BeaconOpaqueValue {} } }));
    EXPECT_EQ(withSet->event, "$groupidentify");
    EXPECT_EQ(withSet->properties["$group_type"], "company");
    EXPECT_EQ(withSet->properties["$group_key"], "acme");
    EXPECT_EQ(withSet->properties["$group_set"], (json { { "size", 12 } }));
    EXPECT_TRUE(log.contains("property handle isn't serializable"));

    const auto without = capture(beacon::makeGroupIdentifyEvent("company", "acme", std::nullopt));
    EXPECT_FALSE(without->properties.contains("$group_set"));
}

TEST_F(EventBuilderTest, ReservedNamesAreKnown)
{
    for (const char* name : { "$snapshot", "$screen", "$set", "survey dismissed", "survey sent",
             "survey shown", "$identify", "$groupidentify", "$create_alias", "$feature_flag_called" })
        EXPECT_TRUE(BeaconEventBuilder::isReservedEventName(name)) << name;
    EXPECT_FALSE(BeaconEventBuilder::isReservedEventName("$pageview"));
    EXPECT_FALSE(BeaconEventBuilder::isReservedEventName("heartbeat"));
}

TEST_F(EventBuilderTest, EventsAreBuiltFromManyThreadsWhileGroupsAndPropertiesChange)
{
    storage->setJson(StorageKey::enabledFeatureFlags, json { { "beta", true } });
    sessions->startSession();
    make();
    std::vector<std::thread> threads;
    for (int t = 0; t < 3; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < 40; ++i) {
                const auto event = capture("e", { { "thread", t } });
                ASSERT_TRUE(event);
                EXPECT_EQ(event->properties["$feature/beta"], true);
                EXPECT_EQ(event->properties["thread"], t);
            }
        });
    }
    threads.emplace_back([&] {
        for (int i = 0; i < 40; ++i) {
            builder->addGroup("team", "t" + std::to_string(i));
            builder->registerProperties({ { "round", i } });
        }
    });
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(builder->groups().at("team"), "t39");
    EXPECT_EQ(storage->getDictionary(StorageKey::registerProperties)->at("round"), 39);
}

} // namespace
