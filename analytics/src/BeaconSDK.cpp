#include "beacon/BeaconSDK.h"

#include <cstdint>
#include <functional>
#include <set>
#include <string_view>
#include <utility>
#include <vector>

#include "beacon/ApplicationLifecyclePublisher.h"
#include "beacon/BeaconApi.h"
#include "beacon/BeaconAppLifeCycleIntegration.h"
#include "beacon/BeaconConfig.h"
#include "beacon/BeaconContext.h"
#include "beacon/BeaconEvent.h"
#include "beacon/BeaconIntegration.h"
#include "beacon/BeaconLog.h"
#include "beacon/BeaconNotificationCenter.h"
#include "beacon/BeaconPlatform.h"
#include "beacon/BeaconQueue.h"
#include "beacon/BeaconScreenViewIntegration.h"
#include "beacon/BeaconSerialQueue.h"
#include "beacon/BeaconSessionManager.h"
#include "beacon/BeaconStorage.h"
#include "beacon/BeaconStorageManager.h"
#include "beacon/Reachability.h"

namespace beacon {
namespace {
using nlohmann::json;

constexpr const char* kGateLine
    = "[Beacon] Beacon method was called without `setup` being complete. Call wil be ignored.";
constexpr const char* kOptOutLine = "[Beacon] Beacon is in OptOut state.";

// The API keys of the clients set up in this process.
std::mutex g_apiKeysLock;
std::set<std::string> g_apiKeys; // g_apiKeysLock

/// A digest of the person properties sent for one person, kept in memory only. Over the CBOR
/// encoding: object keys are sorted, so equal dictionaries give equal bytes, and unlike the JSON
/// writer it accepts a distinct id that is not UTF-8 (a host's storage manager may hand one over).
std::string personPropertiesHash(const std::string& distinctId, const json& set, const json& setOnce)
{
    const std::vector<std::uint8_t> bytes = json::to_cbor(json::array({ distinctId, set, setOnce }));
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return std::to_string(std::hash<std::string_view> {}(text)) + ":" + std::to_string(bytes.size());
}
} // namespace

struct BeaconSDK::State {
    std::shared_ptr<BeaconConfig> config;
    std::shared_ptr<const BeaconPlatform> platform;
    std::shared_ptr<BeaconStorage> storage;
    std::shared_ptr<BeaconApi> api;
    std::shared_ptr<BeaconStorageManager> storageManager;
    std::shared_ptr<Reachability> reachability;
    std::shared_ptr<BeaconContext> context;
    std::shared_ptr<BeaconRemoteConfig> remoteConfig;
    std::shared_ptr<BeaconSessionManager> sessionManager;
    std::shared_ptr<BeaconEventBuilder> builder;
    // Absent when there is no storage folder: events would otherwise land in the working directory.
    std::shared_ptr<BeaconQueue> queue;
    std::shared_ptr<BeaconQueue> replayQueue;

    /// The queues there are: the event queue, then the replay queue.
    std::vector<BeaconQueue*> queues() const
    {
        std::vector<BeaconQueue*> present;
        for (const auto& each : { queue, replayQueue }) {
            if (each)
                present.push_back(each.get());
        }
        return present;
    }
};

BeaconSDK& BeaconSDK::shared()
{
    static const auto* instance = new std::shared_ptr<BeaconSDK>(create());
    return **instance;
}

std::shared_ptr<BeaconSDK> BeaconSDK::create()
{
    return std::shared_ptr<BeaconSDK>(new BeaconSDK);
}

BeaconSDK::BeaconSDK()
    : m_idleConfig(std::make_shared<BeaconConfig>(""))
{ }

BeaconSDK::~BeaconSDK()
{
    *m_enabled = false;
    std::shared_ptr<State> state;
    {
        const std::lock_guard lock(m_stateLock);
        state = std::move(m_state);
    }
    if (state) {
        for (BeaconQueue* queue : state->queues())
            queue->stop();
        const std::lock_guard lock(g_apiKeysLock);
        g_apiKeys.erase(m_apiKey);
    }
    uninstallIntegrations();
}

std::shared_ptr<BeaconSDK::State> BeaconSDK::state() const
{
    const std::lock_guard lock(m_stateLock);
    return m_state;
}

std::shared_ptr<BeaconSDK::State> BeaconSDK::gate() const
{
    auto current = state();
    if (!current)
        debugLog(kGateLine);
    return current;
}

bool BeaconSDK::isEnabled() const
{
    return state() != nullptr;
}

bool BeaconSDK::isOptedOutNow(const State& state) const
{
    const std::lock_guard lock(m_optOutLock);
    return state.config->optOut;
}

bool BeaconSDK::optedOut(const State& state) const
{
    if (!isOptedOutNow(state))
        return false;
    debugLog(kOptOutLine);
    return true;
}

std::shared_ptr<const BeaconConfig> BeaconSDK::config() const
{
    const std::lock_guard lock(m_stateLock);
    if (m_state)
        return m_state->config;
    return m_idleConfig;
}

std::shared_ptr<BeaconSerialQueue> BeaconSDK::mainQueue() const
{
    const std::lock_guard lock(m_mainQueueLock);
    if (!m_mainQueue)
        m_mainQueue = std::make_shared<BeaconSerialQueue>("com.beacon.main");
    return m_mainQueue;
}

// --- set-up and tear-down ---------------------------------------------------------------------

void BeaconSDK::setup(std::shared_ptr<BeaconConfig> config)
{
    if (!config)
        return;
    std::shared_ptr<BeaconLifecycleSource> lifecycle;
    {
        const std::lock_guard setupLock(m_setupLock);
        setDebugLogEnabled(config->debug);
        if (state()) {
            debugLog("[Beacon] Setup called despite already being setup!");
            return;
        }
        {
            const std::lock_guard lock(g_apiKeysLock);
            if (!g_apiKeys.insert(config->apiKey).second)
                debugLog("API Key: " + config->apiKey + " already has a Beacon instance.");
        }
        m_apiKey = config->apiKey;
        *m_enabled = true;

        auto s = std::make_shared<State>();
        s->config = config;
        s->platform = platformOrHeadless(config->platform);
        s->storage = std::make_shared<BeaconStorage>(*config);
        s->api = std::make_shared<BeaconApi>(config);
        if (!config->storageManager)
            config->storageManager
                = std::make_shared<BeaconStorageManager>(s->storage, config->getAnonymousId);
        s->storageManager = config->storageManager;

        // Made before the remote configuration, whose first flag request already wants the context.
        try {
            s->reachability = Reachability::create(s->platform->network, mainQueue());
        } catch (const std::exception& error) {
            debugLog(std::string("Error: Unable to create reachability: ") + error.what());
        }
        s->context = std::make_shared<BeaconContext>(s->platform->application, s->reachability);

        const std::weak_ptr<BeaconSDK> weak = weak_from_this();
        auto personPropertiesContext
            = [enabled = m_enabled, config = std::shared_ptr<const BeaconConfig>(config),
                  context = s->context]() -> json {
            if (!*enabled || !config->setDefaultPersonProperties)
                return json::object();
            return context->personPropertiesContext();
        };
        s->remoteConfig = BeaconRemoteConfig::create(
            config, s->storage, s->storageManager, s->api, std::move(personPropertiesContext));
        s->remoteConfig->setFlagCalledReporter(
            [weak](const std::string& key, const json& value, const json& properties) {
                if (const auto self = weak.lock())
                    self->reportFlagCalled(key, value, properties);
            });

        bool optedOutNow = false;
        {
            const std::lock_guard lock(m_optOutLock);
            if (const std::optional<bool> persisted = s->storage->getBool(StorageKey::optOut))
                config->optOut = *persisted;
            optedOutNow = config->optOut;
        }

        if (!s->storage->appFolderUrl().empty()) {
            s->queue = std::make_shared<BeaconQueue>(config, s->api, BeaconApiEndpoint::batch,
                s->storage->url(StorageKey::queue), s->storage->url(StorageKey::oldQeueue), s->reachability);
            s->replayQueue = std::make_shared<BeaconQueue>(config, s->api, BeaconApiEndpoint::snapshot,
                s->storage->url(StorageKey::replayQeueue), std::nullopt, s->reachability);
            s->queue->start();
            s->replayQueue->start();
        }

        s->sessionManager = BeaconSessionManager::shared();
        s->sessionManager->setup(config);
        s->sessionManager->registerApplicationLifecycle();
        s->sessionManager->startSession();

        s->builder = std::make_shared<BeaconEventBuilder>(
            config, s->storage, s->storageManager, s->sessionManager, s->remoteConfig, s->context);

        {
            const std::lock_guard lock(m_stateLock);
            m_state = s;
        }
        if (!optedOutNow)
            installIntegrations(*s);
        lifecycle = s->platform->lifecycle;
    }

    // Outside the set-up lock: a source may deliver the launch at once, and its listeners capture.
    ApplicationLifecyclePublisher::shared().observe(lifecycle);

    mainQueue()->post([weak = weak_from_this(), sender = static_cast<const void*>(this)] {
        if (!weak.expired())
            BeaconNotificationCenter::defaultCenter().post({ didStartNotification, sender });
    });
}

void BeaconSDK::close()
{
    const std::lock_guard setupLock(m_setupLock);
    std::shared_ptr<State> s;
    {
        const std::lock_guard lock(m_stateLock);
        s = std::exchange(m_state, nullptr);
        if (s)
            m_idleConfig = std::make_shared<BeaconConfig>("");
    }
    if (!s) {
        debugLog(kGateLine);
        return;
    }
    *m_enabled = false;
    {
        const std::lock_guard lock(g_apiKeysLock);
        g_apiKeys.erase(m_apiKey);
    }
    for (BeaconQueue* queue : s->queues())
        queue->stop();
    // Waits for an identify or reset in progress, so that it cannot write the identity back afterwards.
    const std::lock_guard identityLock(m_identityLock);
    s->storageManager->reset(s->config->reuseAnonymousId);
    s->config->storageManager.reset();
    if (s->reachability)
        s->reachability->stopNotifier();
    s->remoteConfig->setFlagCalledReporter({});
    m_flagCallReported.clear();
    s->sessionManager->endSession();
    {
        const std::lock_guard lock(m_cachedPersonPropertiesLock);
        m_cachedPersonPropertiesHash.reset();
    }
    setDebugLogEnabled(false);
    uninstallIntegrations();
    // Dropped here, so that a following `setup` never finds the old queues still running; a thread
    // that is still capturing keeps its parts until it is done.
    s.reset();
}

// --- integrations -----------------------------------------------------------------------------

void BeaconSDK::installIntegrations(const State& state)
{
    {
        const std::lock_guard lock(m_integrationsLock);
        if (!m_installedIntegrations.empty()) {
            debugLog("[Beacon] Integrations already installed. Call uninstallIntegrations() first.");
            return;
        }
    }
    std::vector<std::shared_ptr<BeaconIntegration>> candidates;
    if (state.config->captureScreenViews)
        candidates.push_back(std::make_shared<BeaconScreenViewIntegration>());
    if (state.config->captureApplicationLifecycleEvents)
        candidates.push_back(BeaconAppLifeCycleIntegration::create());

    std::vector<std::shared_ptr<BeaconIntegration>> installed;
    for (const auto& integration : candidates) {
        const std::string name(integration->name());
        if (integration->requiresSwizzling() && !state.config->enableSwizzling) {
            debugLog("Integration " + name
                + " skipped. Integration requires swizzling but enableSwizzling is disabled in config");
            continue;
        }
        if (const std::optional<std::string> error = integration->install(shared_from_this())) {
            debugLog("Integration " + name + " failed to install: " + *error);
            continue;
        }
        debugLog("Integration " + name + " installed");
        installed.push_back(integration);
    }
    const std::lock_guard lock(m_integrationsLock);
    m_installedIntegrations = std::move(installed);
}

void BeaconSDK::uninstallIntegrations()
{
    std::vector<std::shared_ptr<BeaconIntegration>> installed;
    {
        const std::lock_guard lock(m_integrationsLock);
        installed = std::move(m_installedIntegrations);
        m_installedIntegrations.clear();
    }
    for (const auto& integration : installed)
        integration->uninstall(*this);
}

std::vector<std::shared_ptr<BeaconIntegration>> BeaconSDK::installedIntegrations() const
{
    const std::lock_guard lock(m_integrationsLock);
    return m_installedIntegrations;
}

// --- events ------------------------------------------------------------------------------------

void BeaconSDK::enqueue(const State& state, const BeaconCaptureInput& input) const
{
    if (!state.queue)
        return;
    const std::shared_ptr<BeaconEvent> event = state.builder->buildCaptureEvent(input);
    if (!event)
        return;
    if (event->event == BeaconEventBuilder::snapshotEventName) {
        if (state.replayQueue)
            state.replayQueue->add(*event);
        return;
    }
    state.queue->add(*event);
}

void BeaconSDK::capture(const std::string& event, const BeaconProperties& properties,
    const BeaconProperties& userProperties, const BeaconProperties& userPropertiesSetOnce,
    const std::map<std::string, std::string>& groups)
{
    const auto s = gate();
    if (!s || optedOut(*s))
        return;
    BeaconCaptureInput input;
    input.event = event;
    input.properties = properties;
    input.userProperties = userProperties;
    input.userPropertiesSetOnce = userPropertiesSetOnce;
    input.groups = groups;
    enqueue(*s, input);
}

void BeaconSDK::capture(const BeaconCaptureInput& input)
{
    const auto s = gate();
    if (!s || optedOut(*s))
        return;
    enqueue(*s, input);
}

bool BeaconSDK::isDuplicatePersonProperties(const std::string& distinctId, const json& userProperties,
    const json& userPropertiesSetOnce, const char* duplicateLine)
{
    const std::string hash = personPropertiesHash(distinctId, userProperties, userPropertiesSetOnce);
    {
        const std::lock_guard lock(m_cachedPersonPropertiesLock);
        if (m_cachedPersonPropertiesHash != hash) {
            m_cachedPersonPropertiesHash = hash;
            return false;
        }
    }
    debugLog(duplicateLine);
    return true;
}

void BeaconSDK::identify(const std::string& distinctId, const BeaconProperties& userProperties,
    const BeaconProperties& userPropertiesSetOnce)
{
    const auto s = gate();
    if (!s)
        return;
    // Not UTF-8 is refused like empty: such an id cannot be stored or sent, so every later event
    // would be dropped while the person stayed marked as identified for good.
    if (distinctId.empty() || !isValidUtf8(distinctId)) {
        debugLog("identify call not allowed, distinctId is invalid: " + distinctId);
        return;
    }
    if (optedOut(*s)
        || !s->storageManager->requirePersonProcessing(
            s->config->personProfiles, "identify(_:userProperties:userPropertiesSetOnce:)"))
        return;

    const std::lock_guard identityLock(m_identityLock);
    // Closed (or closed and set up again) meanwhile: the identity `close` just deleted stays deleted.
    if (state() != s)
        return;
    const std::string oldDistinctId = s->storageManager->getDistinctId();
    const bool identified = s->storageManager->isIdentified();

    if (distinctId != oldDistinctId && !identified) {
        std::optional<std::string> anonDistinctId;
        if (!s->config->reuseAnonymousId) {
            s->storageManager->setAnonymousId(oldDistinctId);
            anonDistinctId = oldDistinctId;
        }
        s->storageManager->setDistinctId(distinctId);
        s->storageManager->setIdentified(true);
        enqueue(*s, makeIdentifyEvent(distinctId, anonDistinctId, userProperties, userPropertiesSetOnce));
        const json forFlags = BeaconEventBuilder::userPropertiesForFlags(
            sanitizeDictionary(userProperties), sanitizeDictionary(userPropertiesSetOnce));
        if (!forFlags.empty())
            s->remoteConfig->setPersonPropertiesForFlags(forFlags);
        s->remoteConfig->reloadFeatureFlags();
        return;
    }
    if (distinctId == oldDistinctId) {
        if (userProperties.empty() && userPropertiesSetOnce.empty())
            return;
        if (isDuplicatePersonProperties(distinctId, sanitizeDictionary(userProperties),
                sanitizeDictionary(userPropertiesSetOnce),
                "[Beacon] A duplicate identify call was made with the same properties. The $set event has "
                "been "
                "ignored."))
            return;
        enqueue(*s, makeSetEvent(distinctId, userProperties, userPropertiesSetOnce));
        return;
    }
    debugLog("already identified with id: " + oldDistinctId);
}

void BeaconSDK::alias(const std::string& alias)
{
    const auto s = gate();
    if (!s || optedOut(*s)
        || !s->storageManager->requirePersonProcessing(s->config->personProfiles, "alias(_:)"))
        return;
    enqueue(*s, makeAliasEvent(alias));
}

void BeaconSDK::group(
    const std::string& type, const std::string& key, const std::optional<BeaconProperties>& groupProperties)
{
    const auto s = gate();
    if (!s || optedOut(*s)
        || !s->storageManager->requirePersonProcessing(
            s->config->personProfiles, "group(type:key:groupProperties:)"))
        return;
    const bool changed = s->builder->addGroup(type, key);
    if (groupProperties && !groupProperties->empty())
        s->remoteConfig->setGroupPropertiesForFlags(type, sanitizeDictionary(*groupProperties));
    enqueue(*s, makeGroupIdentifyEvent(type, key, groupProperties));
    if (changed)
        s->remoteConfig->reloadFeatureFlags();
}

void BeaconSDK::screen(const std::string& title, const BeaconProperties& properties)
{
    const auto s = gate();
    if (!s || optedOut(*s))
        return;
    enqueue(*s, makeScreenEvent(title, properties));
}

void BeaconSDK::registerProperties(const BeaconProperties& properties)
{
    const auto s = gate();
    if (!s)
        return;
    const std::lock_guard lock(m_personPropsLock);
    s->builder->registerProperties(properties);
}

void BeaconSDK::unregisterProperties(const std::string& key)
{
    const auto s = gate();
    if (!s)
        return;
    const std::lock_guard lock(m_personPropsLock);
    s->builder->unregisterProperties(key);
}

void BeaconSDK::setPersonProperties(
    const BeaconProperties& userPropertiesToSet, const BeaconProperties& userPropertiesToSetOnce)
{
    const auto s = gate();
    if (!s || optedOut(*s)
        || !s->storageManager->requirePersonProcessing(
            s->config->personProfiles, "setPersonProperties(userPropertiesToSet:userPropertiesToSetOnce:)"))
        return;
    if (userPropertiesToSet.empty() && userPropertiesToSetOnce.empty())
        return;
    const json set = sanitizeDictionary(userPropertiesToSet);
    const json setOnce = sanitizeDictionary(userPropertiesToSetOnce);
    const std::string distinctId = s->storageManager->getDistinctId();
    if (isDuplicatePersonProperties(distinctId, set, setOnce,
            "[Beacon] A duplicate setPersonProperties call was made with the same properties. It has been "
            "ignored."))
        return;
    if (const json forFlags = BeaconEventBuilder::userPropertiesForFlags(set, setOnce); !forFlags.empty())
        s->remoteConfig->setPersonPropertiesForFlags(forFlags);
    enqueue(*s, makeSetEvent(distinctId, userPropertiesToSet, userPropertiesToSetOnce));
}

void BeaconSDK::flush()
{
    const auto s = gate();
    if (!s)
        return;
    for (BeaconQueue* queue : s->queues())
        queue->flush();
}

void BeaconSDK::reset()
{
    const auto s = gate();
    if (!s)
        return;
    const bool keepAnonymousId = s->config->reuseAnonymousId;
    // Both locks: a registration or identify meanwhile must not write back what was just deleted.
    const std::scoped_lock locks(m_identityLock, m_personPropsLock);
    // Closed meanwhile: the shared session must not be restarted, nor a next client's files deleted.
    if (state() != s)
        return;
    s->storage->reset(keepAnonymousId);
    s->storageManager->reset(keepAnonymousId);
    m_flagCallReported.clear();
    s->sessionManager->resetSession();
    s->remoteConfig->resetPersonPropertiesForFlags();
    s->remoteConfig->resetGroupPropertiesForFlags();
    {
        // The person properties for flags were just cleared: repeating the last ones must get through
        // again (with a kept anonymous id the hash alone would call them duplicates).
        const std::lock_guard lock(m_cachedPersonPropertiesLock);
        m_cachedPersonPropertiesHash.reset();
    }
    s->remoteConfig->reloadFeatureFlags();
}

// --- opt-out and debug ----------------------------------------------------------------------

std::shared_ptr<BeaconSDK::State> BeaconSDK::persistOptOut(bool optedOut)
{
    auto s = gate();
    if (!s)
        return nullptr;
    const std::lock_guard lock(m_optOutLock);
    s->config->optOut = optedOut;
    s->storage->setBool(StorageKey::optOut, optedOut);
    return s;
}

void BeaconSDK::optOut()
{
    const auto s = persistOptOut(true);
    if (!s)
        return;
    const std::lock_guard setupLock(m_setupLock);
    // An opt-in that came in between wins, integrations included; after a close (and a new set-up)
    // the integrations are not this state's to take out.
    if (state() == s && isOptedOutNow(*s))
        uninstallIntegrations();
}

void BeaconSDK::optIn()
{
    const auto s = persistOptOut(false);
    if (!s)
        return;
    const std::lock_guard setupLock(m_setupLock);
    // Closed meanwhile: nothing to install into. An opt-out that came in between wins.
    if (state() == s && !isOptedOutNow(*s))
        installIntegrations(*s);
}

bool BeaconSDK::isOptOut() const
{
    const auto s = gate();
    return s && isOptedOutNow(*s);
}

void BeaconSDK::debug(bool enabled)
{
    if (gate())
        setDebugLogEnabled(enabled);
}

// --- identity and session ---------------------------------------------------------------------

std::string BeaconSDK::getDistinctId() const
{
    const auto s = gate();
    return s ? s->storageManager->getDistinctId() : std::string();
}

std::string BeaconSDK::getAnonymousId() const
{
    const auto s = gate();
    return s ? s->storageManager->getAnonymousId() : std::string();
}

std::optional<std::string> BeaconSDK::getSessionId() const
{
    const auto s = gate();
    if (!s)
        return std::nullopt;
    return s->sessionManager->getSessionId();
}

void BeaconSDK::startSession()
{
    if (const auto s = gate())
        s->sessionManager->startSession();
}

void BeaconSDK::endSession()
{
    if (const auto s = gate())
        s->sessionManager->endSession();
}

// --- feature flags ------------------------------------------------------------------------------

void BeaconSDK::reportFlagCalled(const std::string& key, const json& value, const json& properties)
{
    const auto s = state();
    // Checked before marking: a read while opted out must not use up the report of this value.
    if (!s || optedOut(*s) || !m_flagCallReported.markReported(key, value))
        return;
    enqueue(*s, makeFeatureFlagCalledEvent(properties));
}

void BeaconSDK::reloadFeatureFlags(BeaconRemoteConfig::FeatureFlagsCallback callback)
{
    if (const auto s = gate())
        s->remoteConfig->reloadFeatureFlags(std::move(callback));
}

std::optional<json> BeaconSDK::getFeatureFlag(
    const std::string& key, std::optional<bool> sendFeatureFlagEvent)
{
    const auto s = gate();
    return s ? s->remoteConfig->getFeatureFlag(key, sendFeatureFlagEvent) : std::nullopt;
}

bool BeaconSDK::isFeatureEnabled(const std::string& key, std::optional<bool> sendFeatureFlagEvent)
{
    const auto s = gate();
    return s && s->remoteConfig->isFeatureEnabled(key, sendFeatureFlagEvent);
}

std::optional<json> BeaconSDK::getFeatureFlagPayload(
    const std::string& key, std::optional<bool> sendFeatureFlagEvent)
{
    const auto s = gate();
    return s ? s->remoteConfig->getFeatureFlagPayload(key, sendFeatureFlagEvent) : std::nullopt;
}

std::optional<BeaconFeatureFlagResult> BeaconSDK::getFeatureFlagResult(
    const std::string& key, std::optional<bool> sendFeatureFlagEvent)
{
    const auto s = gate();
    return s ? s->remoteConfig->getFeatureFlagResult(key, sendFeatureFlagEvent) : std::nullopt;
}

void BeaconSDK::setPersonPropertiesForFlags(const BeaconProperties& properties, bool reloadFeatureFlags)
{
    if (const auto s = gate())
        s->remoteConfig->setPersonPropertiesForFlags(sanitizeDictionary(properties), reloadFeatureFlags);
}

void BeaconSDK::resetPersonPropertiesForFlags(bool reloadFeatureFlags)
{
    if (const auto s = gate())
        s->remoteConfig->resetPersonPropertiesForFlags(reloadFeatureFlags);
}

void BeaconSDK::setGroupPropertiesForFlags(
    const std::string& groupType, const BeaconProperties& properties, bool reloadFeatureFlags)
{
    if (const auto s = gate())
        s->remoteConfig->setGroupPropertiesForFlags(
            groupType, sanitizeDictionary(properties), reloadFeatureFlags);
}

void BeaconSDK::resetGroupPropertiesForFlags(
    const std::optional<std::string>& groupType, bool reloadFeatureFlags)
{
    if (const auto s = gate())
        s->remoteConfig->resetGroupPropertiesForFlags(groupType, reloadFeatureFlags);
}

// --- testing -----------------------------------------------------------------------------------

bool BeaconSDK::waitUntilIdleForTesting(std::chrono::milliseconds timeout) const
{
    const auto s = state();
    if (!s)
        return true;
    // Reachability changes arrive on the main queue and may start a flush from there.
    mainQueue()->flushForTesting();
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (BeaconQueue* queue : s->queues()) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0 || !queue->waitUntilIdleForTesting(left))
            return false;
    }
    return true;
}

} // namespace beacon
