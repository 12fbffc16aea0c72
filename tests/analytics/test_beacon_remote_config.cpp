// Remote configuration and feature flags against a real HTTP server on the loopback interface.
#include "beacon/BeaconRemoteConfig.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <future>
#include <limits>
#include <mutex>
#include <set>
#include <stdexcept>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "CapturedLog.h"
#include "LoopbackHttpServer.h"
#include "TemporaryDirectory.h"
#include "beacon/BeaconApi.h"
#include "beacon/BeaconConfig.h"
#include "beacon/BeaconEvent.h"
#include "beacon/BeaconEventBuilder.h"
#include "beacon/BeaconFlagCallTracker.h"
#include "beacon/BeaconNotificationCenter.h"
#include "beacon/BeaconStorage.h"
#include "beacon/BeaconStorageManager.h"

namespace {
using beacon::BeaconConfig;
using beacon::BeaconFeatureFlagResult;
using beacon::BeaconFlagCallTracker;
using beacon::BeaconNotificationCenter;
using beacon::BeaconRemoteConfig;
using beacon::StorageKey;
using beacon::test::CannedResponse;
using beacon::test::CapturedLog;
using beacon::test::LoopbackHttpServer;
using beacon::test::RecordedRequest;
using beacon::test::TemporaryDirectory;
using nlohmann::json;
using namespace std::chrono_literals;

constexpr auto kWaitLimit = 20s;
constexpr const char* kConfigPath = "/array/test-key/config";

const json kFlagsV2 = json::parse(R"({
    "flags": {
        "beta": {
            "key": "beta", "enabled": true, "variant": null,
            "reason": { "code": "condition_match", "description": "Matched condition set 1" },
            "metadata": { "id": 11, "version": 3, "payload": "{\"color\":\"blue\"}" }
        },
        "layout": { "key": "layout", "enabled": true, "variant": "wide", "metadata": { "id": 12, "version": 1 } },
        "off": { "key": "off", "enabled": false, "metadata": { "id": 13, "version": 2 } }
    },
    "errorsWhileComputingFlags": false,
    "quotaLimited": [],
    "requestId": "req-1",
    "evaluatedAt": 1700000000123
})");

const json kFlagValuesV2 = { { "beta", true }, { "layout", "wide" }, { "off", false } };

/// Counts the flag-load notifications posted on one centre.
class FlagLoadCounter {
public:
    explicit FlagLoadCounter(BeaconNotificationCenter& center)
        : m_token(center.addObserver(BeaconRemoteConfig::didReceiveFeatureFlagsNotification,
            [this](const beacon::BeaconNotification& notification) {
                const std::lock_guard lock(m_lock);
                ++m_count;
                m_lastObject = notification.object;
                m_changed.notify_all();
            }))
    { }

    bool waitFor(int count)
    {
        std::unique_lock lock(m_lock);
        return m_changed.wait_for(lock, kWaitLimit, [&] { return m_count >= count; });
    }
    int count() const
    {
        const std::lock_guard lock(m_lock);
        return m_count;
    }
    const void* lastObject() const
    {
        const std::lock_guard lock(m_lock);
        return m_lastObject;
    }

private:
    mutable std::mutex m_lock;
    std::condition_variable m_changed;
    int m_count = 0;
    const void* m_lastObject = nullptr;
    std::unique_ptr<beacon::RegistrationToken> m_token;
};

/// Reloads and waits for this reload's answer.
std::optional<json> reload(BeaconRemoteConfig& remote)
{
    auto promise = std::make_shared<std::promise<std::optional<json>>>();
    std::future<std::optional<json>> future = promise->get_future();
    remote.reloadFeatureFlags([promise](const std::optional<json>& flags) { promise->set_value(flags); });
    if (future.wait_for(kWaitLimit) != std::future_status::ready) {
        ADD_FAILURE() << "the reload never called back";
        return std::nullopt;
    }
    return future.get();
}

class RemoteConfigTest : public ::testing::Test {
protected:
    LoopbackHttpServer server;
    TemporaryDirectory folder;
    std::shared_ptr<BeaconConfig> config;
    std::shared_ptr<beacon::BeaconStorage> storage;
    std::shared_ptr<beacon::BeaconStorageManager> storageManager;
    BeaconNotificationCenter center;
    FlagLoadCounter loads { center };
    std::shared_ptr<BeaconRemoteConfig> remote;

    void SetUp() override
    {
        config = std::make_shared<BeaconConfig>("test-key", server.baseUrl());
        storage = std::make_shared<beacon::BeaconStorage>(folder.path());
        storageManager = std::make_shared<beacon::BeaconStorageManager>(storage, nullptr);
        server.setResponse(kConfigPath, { 200, R"({"hasFeatureFlags": true, "sessionRecording": false})" });
        setFlags(kFlagsV2);
    }

    void TearDown() override
    {
        // Nothing is delivered once it is gone: the centre and the server may go after it.
        remote.reset();
    }

    void setFlags(const json& body) { server.setResponse("/flags", { 200, body.dump() }); }

    /// Without any fetch at construction, so that a test drives every request itself.
    void quietConfig()
    {
        config->remoteConfig = false;
        config->preloadFeatureFlags = false;
    }

    std::shared_ptr<BeaconRemoteConfig> start()
    {
        remote = BeaconRemoteConfig::create(
            config, storage, storageManager, std::make_shared<beacon::BeaconApi>(config),
            [] {
                return json { { "$app_version", "1.0.0" }, { "$os_name", "TestOS" } };
            },
            &center);
        return remote;
    }

    std::vector<RecordedRequest> flagRequests() const
    {
        std::vector<RecordedRequest> flags;
        for (RecordedRequest& request : server.requests()) {
            if (request.path == "/flags")
                flags.push_back(std::move(request));
        }
        return flags;
    }

    json lastFlagsBody() const
    {
        const auto requests = flagRequests();
        if (requests.empty()) {
            ADD_FAILURE() << "no flags request";
            return json();
        }
        return json::parse(requests.back().body);
    }
};

TEST_F(RemoteConfigTest, SetUpFetchesTheRemoteConfigThenTheFlags)
{
    start();
    ASSERT_TRUE(loads.waitFor(1));
    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].method, "GET");
    EXPECT_EQ(requests[0].path, kConfigPath);
    EXPECT_EQ(requests[1].method, "POST");
    EXPECT_EQ(requests[1].path, "/flags");
    EXPECT_EQ(requests[1].query,
        (std::vector<std::pair<std::string, std::string>> { { "v", "2" }, { "config", "true" } }));

    const json body = json::parse(requests[1].body);
    EXPECT_EQ(body["api_key"], "test-key");
    EXPECT_EQ(body["distinct_id"], storageManager->getDistinctId());
    EXPECT_EQ(body["$anon_distinct_id"], storageManager->getAnonymousId());
    EXPECT_EQ(body["groups"], json::object());
    EXPECT_EQ(body["person_properties"], (json { { "$app_version", "1.0.0" }, { "$os_name", "TestOS" } }));
    EXPECT_FALSE(body.contains("group_properties"));

    EXPECT_EQ(remote->getFeatureFlags(), kFlagValuesV2);
    EXPECT_EQ(
        remote->getRemoteConfig(), (json { { "hasFeatureFlags", true }, { "sessionRecording", false } }));
    EXPECT_TRUE(remote->remoteConfigDidFetch());
    EXPECT_EQ(loads.lastObject(), remote.get());
}

TEST_F(RemoteConfigTest, HasFeatureFlagsFalseClearsTheFlagsAndSkipsTheFlagRequest)
{
    storage->setJson(StorageKey::enabledFeatureFlags, json { { "old", true } });
    storage->setJson(StorageKey::enabledFeatureFlagPayloads, json { { "old", 1 } });
    storage->setJson(StorageKey::flags, json { { "old", { { "enabled", true } } } });
    // Answered late, so the cache can be seen before the answer replaces it.
    server.setResponse(kConfigPath, { 200, R"({"hasFeatureFlags": false})", "application/json", {}, 200ms });
    CapturedLog log;
    start();
    EXPECT_EQ(remote->getFeatureFlags(), (json { { "old", true } })); // the cache is there at once
    ASSERT_TRUE(loads.waitFor(1));
    remote->flushForTesting();

    EXPECT_EQ(remote->getFeatureFlags(), json::object());
    EXPECT_EQ(remote->getFeatureFlagPayload("old"), std::nullopt);
    EXPECT_EQ(storage->getDictionary(StorageKey::enabledFeatureFlags), json::object());
    EXPECT_EQ(storage->getDictionary(StorageKey::enabledFeatureFlagPayloads), json::object());
    EXPECT_EQ(storage->getDictionary(StorageKey::flags), json::object());
    EXPECT_TRUE(log.contains("[Beacon] hasFeatureFlags is false, clearing flags and skipping loading flags"));

    // Only an explicit reload asks for flags now.
    ASSERT_TRUE(reload(*remote));
    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].path, kConfigPath);
    EXPECT_EQ(requests[1].path, "/flags");
}

TEST_F(RemoteConfigTest, AFailedRemoteConfigKeepsTheCacheAndLoadsNoFlags)
{
    storage->setJson(StorageKey::enabledFeatureFlags, json { { "cached", "v1" } });
    storage->setJson(StorageKey::remoteConfig, json { { "hasFeatureFlags", true }, { "old", 1 } });
    server.setResponse(kConfigPath, { 500, "{}" });
    CapturedLog log;
    start();
    ASSERT_TRUE(loads.waitFor(1));
    remote->flushForTesting();
    EXPECT_TRUE(log.contains("[Beacon] Remote config response is missing, skipping loading flags"));
    EXPECT_EQ(remote->getFeatureFlags(), (json { { "cached", "v1" } }));
    EXPECT_EQ(remote->getRemoteConfig(), (json { { "hasFeatureFlags", true }, { "old", 1 } }));
    EXPECT_FALSE(remote->remoteConfigDidFetch());

    ASSERT_TRUE(reload(*remote));
    EXPECT_EQ(flagRequests().size(), 1u);
}

TEST_F(RemoteConfigTest, WithoutRemoteConfigTheFlagsAreLoadedDirectly)
{
    config->remoteConfig = false;
    start();
    ASSERT_TRUE(loads.waitFor(1));
    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].path, "/flags");
    EXPECT_EQ(remote->getFeatureFlags(), kFlagValuesV2);
    EXPECT_EQ(remote->getRemoteConfig(), std::nullopt);
}

TEST_F(RemoteConfigTest, WithoutPreloadOnlyTheRemoteConfigIsFetched)
{
    config->preloadFeatureFlags = false;
    start();
    ASSERT_TRUE(server.waitForRequests(1));
    ASSERT_TRUE(reload(*remote));
    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].path, kConfigPath);
    EXPECT_EQ(requests[1].path, "/flags");
}

TEST_F(RemoteConfigTest, WithBothOffNothingIsFetchedUntilAsked)
{
    quietConfig();
    start();
    ASSERT_TRUE(reload(*remote));
    EXPECT_EQ(server.requestCount(), 1u);
}

TEST_F(RemoteConfigTest, RemoteConfigListenersHearEachFetchUntilReleased)
{
    quietConfig();
    start();
    std::mutex lock;
    std::vector<std::optional<json>> heard;
    auto first = std::make_shared<std::promise<void>>();
    auto token = remote->onRemoteConfigLoaded([&, first](const std::optional<json>& config) {
        const std::lock_guard guard(lock);
        heard.push_back(config);
        if (heard.size() == 1)
            first->set_value();
    });
    remote->loadRemoteConfig();
    ASSERT_EQ(first->get_future().wait_for(kWaitLimit), std::future_status::ready);
    const json expected = { { "hasFeatureFlags", true }, { "sessionRecording", false } };
    EXPECT_EQ(remote->getRemoteConfig(), expected);
    EXPECT_EQ(storage->getDictionary(StorageKey::remoteConfig), expected);
    EXPECT_TRUE(remote->remoteConfigDidFetch());

    token.reset();
    auto second = std::make_shared<std::promise<std::optional<json>>>();
    const auto other = remote->onRemoteConfigLoaded(
        [second](const std::optional<json>& config) { second->set_value(config); });
    server.setResponse(kConfigPath, { 404, "{}" });
    remote->loadRemoteConfig();
    auto failed = second->get_future();
    ASSERT_EQ(failed.wait_for(kWaitLimit), std::future_status::ready);
    EXPECT_EQ(failed.get(), std::nullopt); // a failed fetch is heard as nothing
    EXPECT_EQ(remote->getRemoteConfig(), expected);
    const std::lock_guard guard(lock);
    EXPECT_EQ(heard.size(), 1u);
}

TEST_F(RemoteConfigTest, AQuotaLimitedAnswerKeepsTheCachedFlags)
{
    quietConfig();
    start();
    ASSERT_EQ(reload(*remote), kFlagValuesV2);
    ASSERT_TRUE(loads.waitFor(1));

    setFlags(json { { "quotaLimited", { "recordings", "feature_flags" } },
        { "flags", { { "beta", { { "enabled", false } } } } } });
    CapturedLog log;
    const int before = loads.count();
    EXPECT_EQ(reload(*remote), kFlagValuesV2);
    EXPECT_EQ(remote->getFeatureFlags(), kFlagValuesV2);
    EXPECT_EQ(storage->getDictionary(StorageKey::enabledFeatureFlags), kFlagValuesV2);
    EXPECT_TRUE(
        log.contains("[Beacon] Warning: Feature flags quota limit reached - flags could not be updated. See "
                     "https://beacon-analytics.com/docs/billing/limits-alerts for more information."));
    EXPECT_TRUE(loads.waitFor(before + 1)); // posted after the reload answered

    // A limit on something else does not hold the flags back.
    setFlags(
        json { { "quotaLimited", { "recordings" } }, { "flags", { { "beta", { { "enabled", false } } } } } });
    EXPECT_EQ(reload(*remote), (json { { "beta", false } }));
}

TEST_F(RemoteConfigTest, ErrorsWhileComputingFlagsKeepTheFlagsMissingFromTheAnswer)
{
    quietConfig();
    start();
    ASSERT_EQ(reload(*remote), kFlagValuesV2);

    setFlags(json { { "flags", { { "beta", { { "enabled", false } } }, { "new", { { "enabled", true } } } } },
        { "errorsWhileComputingFlags", true } });
    EXPECT_EQ(reload(*remote),
        (json { { "beta", false }, { "layout", "wide" }, { "off", false }, { "new", true } }));
    // The answered flag takes its payload and record from the answer, even when they are gone.
    EXPECT_EQ(remote->getFeatureFlagPayload("beta", false), std::nullopt);
    EXPECT_EQ(storage->getDictionary(StorageKey::flags)->at("beta"), (json { { "enabled", false } }));
    EXPECT_EQ(storage->getDictionary(StorageKey::flags)->at("layout")["metadata"]["id"], 12);

    setFlags(json {
        { "flags", { { "beta", { { "enabled", true } } } } }, { "errorsWhileComputingFlags", false } });
    EXPECT_EQ(reload(*remote), (json { { "beta", true } }));
    EXPECT_EQ(storage->getDictionary(StorageKey::enabledFeatureFlags), (json { { "beta", true } }));
}

TEST_F(RemoteConfigTest, TheOlderFormIsReadAsItIs)
{
    quietConfig();
    start();
    setFlags(json::parse(R"({
        "featureFlags": { "a": true, "b": "variant-b", "c": false },
        "featureFlagPayloads": { "a": { "x": 1 }, "b": null }
    })"));
    EXPECT_EQ(reload(*remote), (json { { "a", true }, { "b", "variant-b" }, { "c", false } }));
    EXPECT_EQ(remote->getFeatureFlagPayload("a", false), (json { { "x", 1 } }));
    EXPECT_EQ(remote->getFeatureFlagPayload("b", false), std::nullopt);

    // Both forms: the newer one is used.
    setFlags(
        json { { "featureFlags", { { "a", true } } }, { "flags", { { "z", { { "enabled", true } } } } } });
    EXPECT_EQ(reload(*remote), (json { { "z", true } }));
}

TEST_F(RemoteConfigTest, FlagResultsBundleValueVariantAndPayload)
{
    quietConfig();
    start();
    ASSERT_TRUE(reload(*remote));
    EXPECT_EQ(remote->getFeatureFlagResult("beta", false),
        (BeaconFeatureFlagResult { "beta", true, std::nullopt, json("{\"color\":\"blue\"}") }));
    EXPECT_EQ(remote->getFeatureFlagResult("layout", false),
        (BeaconFeatureFlagResult { "layout", true, "wide", std::nullopt }));
    EXPECT_EQ(remote->getFeatureFlagResult("off", false),
        (BeaconFeatureFlagResult { "off", false, std::nullopt, std::nullopt }));
    EXPECT_EQ(remote->getFeatureFlagResult("unknown", false), std::nullopt);

    EXPECT_TRUE(remote->isFeatureEnabled("beta", false));
    EXPECT_TRUE(remote->isFeatureEnabled("layout", false));
    EXPECT_FALSE(remote->isFeatureEnabled("off", false));
    EXPECT_FALSE(remote->isFeatureEnabled("unknown", false));
    EXPECT_EQ(remote->getFeatureFlag("layout", false), json("wide"));
    EXPECT_EQ(remote->getFeatureFlag("unknown", false), std::nullopt);

    setFlags(json { { "featureFlags", { { "empty", "" } } } });
    ASSERT_TRUE(reload(*remote));
    EXPECT_FALSE(remote->isFeatureEnabled("empty", false));
}

TEST_F(RemoteConfigTest, AnswersOfTheWrongShapeNeverBreakTheCache)
{
    struct Case {
        const char* name;
        std::string body;
        std::optional<json> expected; ///< the flags afterwards; nothing: the cache stays
    };
    const std::vector<Case> cases = {
        { "flags is a list", R"({"flags": [1, 2]})", std::nullopt },
        { "no flags at all", R"({"requestId": "r"})", std::nullopt },
        { "flags of the wrong type beside older ones", R"({"flags": "x", "featureFlags": {"a": true}})",
            json { { "a", true } } },
        { "records that are not objects",
            R"({"flags": {"a": 1, "b": [], "c": {"enabled": true}, "d": null}})", json { { "c", true } } },
        { "enabled that is not a bool", R"({"flags": {"a": {"enabled": "yes"}}})", json { { "a", false } } },
        { "variant that is not text", R"({"flags": {"a": {"enabled": true, "variant": 7}}})",
            json { { "a", true } } },
        { "empty variant", R"({"flags": {"a": {"enabled": true, "variant": ""}}})", json { { "a", true } } },
        { "metadata of the wrong type",
            R"({"flags": {"a": {"enabled": true, "metadata": "oops", "reason": 3}}})",
            json { { "a", true } } },
        { "quotaLimited that is not a list",
            R"({"quotaLimited": "feature_flags", "flags": {"a": {"enabled": true}}})",
            json { { "a", true } } },
        { "quotaLimited of odd members", R"({"quotaLimited": [1, null, {}], "featureFlags": {"a": true}})",
            json { { "a", true } } },
        { "payloads of the wrong type", R"({"featureFlags": {"a": true}, "featureFlagPayloads": "nope"})",
            json { { "a", true } } },
        { "older values that are not flags", R"({"featureFlags": {"a": null, "b": 3, "c": {}, "d": "on"}})",
            json { { "d", "on" } } },
        { "errors flag that is not a bool", R"({"flags": {}, "errorsWhileComputingFlags": "true"})",
            json::object() },
        { "request facts of the wrong type",
            R"({"flags": {"a": {"enabled": true}}, "requestId": 5, "evaluatedAt": "x"})",
            json { { "a", true } } },
        { "a list instead of an object", R"([1, 2])", std::nullopt },
        { "a bare string", R"("flags")", std::nullopt },
        { "not JSON", "{\"flags\": {", std::nullopt },
        { "empty body", "", std::nullopt },
    };
    const json cached = { { "cached", true } };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        storage->setJson(StorageKey::enabledFeatureFlags, cached);
        quietConfig();
        start();
        server.setResponse("/flags", { 200, c.body });
        const std::optional<json> answered = reload(*remote);
        EXPECT_EQ(answered, c.expected);
        EXPECT_EQ(remote->getFeatureFlags(), c.expected.value_or(cached));
        // Reading every flag of such an answer is safe too.
        const json flags = remote->getFeatureFlags();
        for (const auto& [key, value] : flags.items()) {
            EXPECT_TRUE(remote->getFeatureFlagResult(key, true));
            EXPECT_TRUE(value.is_boolean() || value.is_string());
        }
        remote.reset();
    }
}

TEST_F(RemoteConfigTest, ANewInstanceReadsEverythingBackFromStorage)
{
    start();
    ASSERT_TRUE(loads.waitFor(1));
    remote->setPersonPropertiesForFlags(json { { "plan", "pro" } });
    remote->setGroupPropertiesForFlags("company", json { { "size", 5 } });
    remote.reset();

    quietConfig();
    start();
    EXPECT_EQ(remote->getFeatureFlags(), kFlagValuesV2);
    EXPECT_EQ(remote->getFeatureFlagPayload("beta", false), json("{\"color\":\"blue\"}"));
    EXPECT_EQ(
        remote->getRemoteConfig(), (json { { "hasFeatureFlags", true }, { "sessionRecording", false } }));
    EXPECT_FALSE(remote->remoteConfigDidFetch());
    EXPECT_EQ(remote->personPropertiesForFlags(), (json { { "plan", "pro" } }));
    EXPECT_EQ(remote->groupPropertiesForFlags(), (json { { "company", { { "size", 5 } } } }));

    json reported;
    remote->setFlagCalledReporter(
        [&](const std::string&, const json&, const json& properties) { reported = properties; });
    remote->getFeatureFlag("beta");
    EXPECT_EQ(reported,
        (json {
            { "$feature_flag", "beta" },
            { "$feature_flag_response", true },
            { "$feature_flag_request_id", "req-1" },
            { "$feature_flag_evaluated_at", 1700000000123 },
            { "$feature_flag_id", 11 },
            { "$feature_flag_version", 3 },
            { "$feature_flag_reason", "Matched condition set 1" },
        }));
}

/// The client's side of flag reads: the tracker decides, the builder makes the event.
class FlagCallRecorder {
public:
    FlagCallRecorder(BeaconRemoteConfig& remote, beacon::BeaconEventBuilder& builder)
    {
        remote.setFlagCalledReporter(
            [this, &builder](const std::string& key, const json& value, const json& properties) {
                if (!tracker.markReported(key, value))
                    return;
                auto event = builder.buildCaptureEvent(beacon::makeFeatureFlagCalledEvent(properties));
                const std::lock_guard lock(m_lock);
                m_events.push_back(std::move(event));
            });
    }

    std::vector<std::shared_ptr<beacon::BeaconEvent>> events() const
    {
        const std::lock_guard lock(m_lock);
        return m_events;
    }

    BeaconFlagCallTracker tracker;

private:
    mutable std::mutex m_lock;
    std::vector<std::shared_ptr<beacon::BeaconEvent>> m_events;
};

TEST_F(RemoteConfigTest, ReadingAFlagIsReportedOncePerValue)
{
    quietConfig();
    start();
    beacon::BeaconEventBuilder builder(config, storage, storageManager, nullptr, remote, nullptr);
    FlagCallRecorder recorder(*remote, builder);
    ASSERT_TRUE(reload(*remote));

    EXPECT_EQ(remote->getFeatureFlag("beta"), json(true));
    EXPECT_EQ(remote->getFeatureFlag("beta"), json(true));
    EXPECT_TRUE(remote->isFeatureEnabled("beta"));
    EXPECT_TRUE(remote->getFeatureFlagPayload("beta"));
    EXPECT_TRUE(remote->getFeatureFlagResult("beta"));
    auto events = recorder.events();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0]->event, "$feature_flag_called");
    EXPECT_EQ(events[0]->properties["$feature_flag"], "beta");
    EXPECT_EQ(events[0]->properties["$feature_flag_response"], true);
    EXPECT_EQ(events[0]->properties["$feature_flag_id"], 11);
    EXPECT_EQ(events[0]->properties["$feature_flag_request_id"], "req-1");
    EXPECT_EQ(events[0]->properties["$feature/beta"], true);

    json changed = kFlagsV2;
    changed["flags"]["beta"]["variant"] = "v2";
    changed["requestId"] = "req-2";
    setFlags(changed);
    ASSERT_TRUE(reload(*remote));
    EXPECT_EQ(remote->getFeatureFlag("beta"), json("v2"));
    EXPECT_EQ(remote->getFeatureFlag("beta"), json("v2"));
    events = recorder.events();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[1]->properties["$feature_flag_response"], "v2");
    EXPECT_EQ(events[1]->properties["$feature_flag_request_id"], "req-2");

    // Back to the first value: already reported in this life.
    setFlags(kFlagsV2);
    ASSERT_TRUE(reload(*remote));
    remote->getFeatureFlag("beta");
    EXPECT_EQ(recorder.events().size(), 2u);

    // A reset forgets what was reported.
    recorder.tracker.clear();
    remote->getFeatureFlag("beta");
    EXPECT_EQ(recorder.events().size(), 3u);
}

TEST_F(RemoteConfigTest, AnUnknownFlagIsReportedWithNoValue)
{
    quietConfig();
    start();
    beacon::BeaconEventBuilder builder(config, storage, storageManager, nullptr, remote, nullptr);
    FlagCallRecorder recorder(*remote, builder);
    EXPECT_FALSE(remote->getFeatureFlag("missing"));
    EXPECT_FALSE(remote->isFeatureEnabled("missing"));
    const auto events = recorder.events();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0]->properties["$feature_flag"], "missing");
    EXPECT_TRUE(events[0]->properties["$feature_flag_response"].is_null());
    EXPECT_FALSE(events[0]->properties.contains("$feature_flag_id"));
}

TEST_F(RemoteConfigTest, TheEventSwitchAndItsOverrideDecideWhetherAReadIsReported)
{
    quietConfig();
    start();
    beacon::BeaconEventBuilder builder(config, storage, storageManager, nullptr, remote, nullptr);
    FlagCallRecorder recorder(*remote, builder);
    ASSERT_TRUE(reload(*remote));

    remote->getFeatureFlag("beta", false);
    EXPECT_TRUE(recorder.events().empty());
    EXPECT_FALSE(recorder.tracker.wasReported("beta", true));
    remote->getFeatureFlag("beta");
    EXPECT_EQ(recorder.events().size(), 1u);

    config->sendFeatureFlagEvent = false;
    remote->getFeatureFlag("layout");
    EXPECT_EQ(recorder.events().size(), 1u);
    remote->getFeatureFlag("layout", true);
    EXPECT_EQ(recorder.events().size(), 2u);
}

TEST_F(RemoteConfigTest, PersonAndGroupPropertiesForFlagsAreMergedPersistedAndSent)
{
    quietConfig();
    start();
    storage->setJson(StorageKey::groups, json { { "company", "acme" }, { "bad", 5 } });
    remote->setPersonPropertiesForFlags(json { { "plan", "pro" }, { "$app_version", "custom" } });
    remote->setPersonPropertiesForFlags(json { { "plan", "team" }, { "seats", 2 } });
    remote->setGroupPropertiesForFlags("company", json { { "size", 5 } });
    remote->setGroupPropertiesForFlags("company", json { { "tier", "gold" } });
    remote->setGroupPropertiesForFlags("team", json { { "name", "design" } });
    EXPECT_EQ(storage->getDictionary(StorageKey::personPropertiesForFlags),
        (json { { "plan", "team" }, { "$app_version", "custom" }, { "seats", 2 } }));

    ASSERT_TRUE(reload(*remote));
    json body = lastFlagsBody();
    EXPECT_EQ(body["groups"], (json { { "company", "acme" } }));
    EXPECT_EQ(body["person_properties"],
        (json {
            { "$app_version", "custom" }, { "$os_name", "TestOS" }, { "plan", "team" }, { "seats", 2 } }));
    EXPECT_EQ(body["group_properties"],
        (json {
            { "company", { { "size", 5 }, { "tier", "gold" } } }, { "team", { { "name", "design" } } } }));

    remote->resetGroupPropertiesForFlags("team");
    remote->resetPersonPropertiesForFlags(true); // reloads by itself
    ASSERT_TRUE(server.waitForRequests(2));
    remote->flushForTesting();
    body = lastFlagsBody();
    EXPECT_EQ(body["person_properties"], (json { { "$app_version", "1.0.0" }, { "$os_name", "TestOS" } }));
    EXPECT_EQ(body["group_properties"], (json { { "company", { { "size", 5 }, { "tier", "gold" } } } }))
        << body;
    EXPECT_EQ(storage->getDictionary(StorageKey::personPropertiesForFlags), json::object());

    remote->resetGroupPropertiesForFlags();
    EXPECT_EQ(storage->getDictionary(StorageKey::groupPropertiesForFlags), json::object());
    ASSERT_TRUE(reload(*remote));
    EXPECT_FALSE(lastFlagsBody().contains("group_properties"));
}

TEST_F(RemoteConfigTest, PropertiesThatCannotBeSentAreDroppedBeforeTheyBlockEveryRequest)
{
    quietConfig();
    start();
    CapturedLog log;
    remote->setPersonPropertiesForFlags(json { { "ok", 1 }, { "latin1", "caf\xe9" } });
    remote->setGroupPropertiesForFlags(
        "company", json { { "ratio", std::numeric_limits<double>::quiet_NaN() } });
    EXPECT_TRUE(log.contains("property latin1 isn't serializable, dropping the item"));
    ASSERT_EQ(reload(*remote), kFlagValuesV2);
    EXPECT_EQ(lastFlagsBody()["person_properties"]["ok"], 1);
}

TEST_F(RemoteConfigTest, TheDefaultPersonPropertiesAndAnonymousIdCanBeLeftOut)
{
    quietConfig();
    config->setDefaultPersonProperties = false;
    config->reuseAnonymousId = true;
    start();
    ASSERT_TRUE(reload(*remote));
    const json body = lastFlagsBody();
    EXPECT_FALSE(body.contains("person_properties"));
    EXPECT_FALSE(body.contains("$anon_distinct_id"));
}

TEST_F(RemoteConfigTest, AReloadAskedForDuringALoadRunsOnceMoreForTheNewIdentity)
{
    quietConfig();
    server.setResponse("/flags", { 200, kFlagsV2.dump(), "application/json", {}, 300ms });
    start();
    std::vector<std::future<std::optional<json>>> answers;
    auto reloadAsync = [&] {
        auto promise = std::make_shared<std::promise<std::optional<json>>>();
        answers.push_back(promise->get_future());
        remote->reloadFeatureFlags(
            [promise](const std::optional<json>& flags) { promise->set_value(flags); });
    };
    reloadAsync();
    ASSERT_TRUE(server.waitForRequests(1));
    storageManager->setDistinctId("user-2");
    reloadAsync();
    reloadAsync();
    for (auto& answer : answers) {
        ASSERT_EQ(answer.wait_for(kWaitLimit), std::future_status::ready);
        EXPECT_EQ(answer.get(), kFlagValuesV2);
    }
    const auto requests = flagRequests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_NE(json::parse(requests[0].body)["distinct_id"], "user-2");
    EXPECT_EQ(json::parse(requests[1].body)["distinct_id"], "user-2");
}

TEST_F(RemoteConfigTest, WithoutAStorageManagerFlagsAreNeverFetched)
{
    quietConfig();
    CapturedLog log;
    remote = BeaconRemoteConfig::create(
        config, storage, nullptr, std::make_shared<beacon::BeaconApi>(config), nullptr, &center);
    EXPECT_EQ(reload(*remote), std::nullopt);
    EXPECT_TRUE(
        log.contains("[Beacon] No BeaconStorageManager found in config, skipping loading feature flags"));
    EXPECT_EQ(server.requestCount(), 0u);
}

TEST_F(RemoteConfigTest, AFailedFlagRequestKeepsTheCacheAndSaysWhy)
{
    storage->setJson(StorageKey::enabledFeatureFlags, json { { "cached", true } });
    quietConfig();
    start();
    server.setResponse("/flags", { 503, "{}" });
    CapturedLog log;
    EXPECT_EQ(reload(*remote), std::nullopt);
    EXPECT_TRUE(log.contains("[Beacon] Error: Flags response data is nil"));
    EXPECT_EQ(remote->getFeatureFlags(), (json { { "cached", true } }));
}

TEST_F(RemoteConfigTest, ListenersThatThrowDoNotStopLoading)
{
    quietConfig();
    start();
    std::atomic<int> calls { 0 };
    const auto token = remote->onFeatureFlagsLoaded([&](const std::optional<json>&) {
        ++calls;
        throw std::runtime_error("listener failed");
    });
    remote->setFlagCalledReporter([](const std::string&, const json&, const json&) { throw 42; });
    EXPECT_EQ(reload(*remote), kFlagValuesV2);
    EXPECT_EQ(reload(*remote), kFlagValuesV2);
    EXPECT_EQ(calls.load(), 2);
    EXPECT_EQ(remote->getFeatureFlag("beta"), json(true));
}

TEST_F(RemoteConfigTest, DestroyingWhileARequestIsOpenIsSafe)
{
    quietConfig();
    CannedResponse held;
    held.neverAnswer = true;
    server.setResponse("/flags", held);
    auto api = std::make_shared<beacon::BeaconApi>(config);
    remote = BeaconRemoteConfig::create(config, storage, storageManager, api, nullptr, &center);
    std::atomic<bool> called { false };
    remote->reloadFeatureFlags([&](const std::optional<json>&) { called = true; });
    ASSERT_TRUE(server.waitForRequests(1));
    remote.reset();
    server.releaseHeldRequests();
    api.reset(); // waits for the request's worker
    EXPECT_FALSE(called.load());
}

TEST_F(RemoteConfigTest, ACallbackMayReleaseTheLastReference)
{
    quietConfig();
    start();
    std::promise<void> released;
    remote->reloadFeatureFlags([&](const std::optional<json>& flags) {
        EXPECT_EQ(flags, kFlagValuesV2);
        remote.reset(); // destroys it on its own queue, in the middle of delivering
        released.set_value();
    });
    ASSERT_EQ(released.get_future().wait_for(kWaitLimit), std::future_status::ready);
    EXPECT_TRUE(loads.waitFor(1)); // the notification still goes out
}

TEST_F(RemoteConfigTest, FlagsCanBeReadOnManyThreadsWhileTheyReload)
{
    quietConfig();
    start();
    beacon::BeaconEventBuilder builder(config, storage, storageManager, nullptr, remote, nullptr);
    FlagCallRecorder recorder(*remote, builder);
    json other = kFlagsV2;
    other["flags"]["beta"]["variant"] = "v2";
    other["flags"].erase("off");
    const std::set<json> betaValues = { json(true), json("v2") };

    std::atomic<bool> stop { false };
    std::vector<std::thread> readers;
    for (int r = 0; r < 4; ++r) {
        readers.emplace_back([&, r] {
            for (int round = 0; !stop.load(); ++round) {
                if (const auto value = remote->getFeatureFlag("beta")) {
                    EXPECT_TRUE(betaValues.contains(*value)) << *value;
                }
                if (const auto result = remote->getFeatureFlagResult("layout")) {
                    EXPECT_EQ(result->variant, "wide");
                }
                remote->isFeatureEnabled("off");
                remote->getFeatureFlagPayload("beta");
                const json all = remote->getFeatureFlags();
                EXPECT_TRUE(all.empty() || all.contains("layout"));
                if (round % 50 == 0) // each write is synced to disk
                    remote->setPersonPropertiesForFlags(json { { "reader", r } });
            }
        });
    }
    for (int i = 0; i < 8; ++i) {
        setFlags(i % 2 == 0 ? kFlagsV2 : other);
        ASSERT_TRUE(reload(*remote));
    }
    stop = true;
    for (std::thread& reader : readers)
        reader.join();

    // Each (flag, value) pair seen was reported exactly once.
    std::set<std::pair<std::string, std::string>> reported;
    for (const auto& event : recorder.events()) {
        ASSERT_TRUE(event);
        const auto pair = std::make_pair(event->properties["$feature_flag"].get<std::string>(),
            event->properties["$feature_flag_response"].dump());
        EXPECT_TRUE(reported.insert(pair).second) << pair.first << " " << pair.second;
    }
    EXPECT_TRUE(reported.contains({ "beta", "true" }));
    EXPECT_TRUE(reported.contains({ "beta", "\"v2\"" }));
}

TEST(FlagCallTrackerTest, MarksEachPairOnceUntilCleared)
{
    BeaconFlagCallTracker tracker;
    EXPECT_TRUE(tracker.markReported("a", true));
    EXPECT_FALSE(tracker.markReported("a", true));
    EXPECT_TRUE(tracker.markReported("a", "variant"));
    EXPECT_TRUE(tracker.markReported("a", nullptr));
    EXPECT_TRUE(tracker.markReported("b", true));
    EXPECT_TRUE(tracker.markReported("a", 1)); // a number is not the bool true
    EXPECT_TRUE(tracker.wasReported("a", "variant"));
    EXPECT_FALSE(tracker.wasReported("a", false));
    tracker.clear();
    EXPECT_FALSE(tracker.wasReported("a", true));
    EXPECT_TRUE(tracker.markReported("a", true));
}

TEST(FlagCallTrackerTest, ConcurrentReadersReportOnce)
{
    BeaconFlagCallTracker tracker;
    std::atomic<int> winners { 0 };
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 100; ++i) {
                if (tracker.markReported("flag-" + std::to_string(i), true))
                    ++winners;
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(winners.load(), 100);
}

} // namespace
