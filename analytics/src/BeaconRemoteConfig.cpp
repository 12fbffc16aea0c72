#include "beacon/BeaconRemoteConfig.h"

#include <algorithm>
#include <cstdint>
#include <exception>
#include <map>
#include <utility>

#include "beacon/BeaconApi.h"
#include "beacon/BeaconConfig.h"
#include "beacon/BeaconLog.h"
#include "beacon/BeaconNotificationCenter.h"
#include "beacon/BeaconPropertyValue.h"
#include "beacon/BeaconSerialQueue.h"
#include "beacon/BeaconStorage.h"
#include "beacon/BeaconStorageManager.h"

namespace beacon {

namespace {
using nlohmann::json;

/// Host callbacks run on the queue: one that throws must not stop the rest of the work.
template <typename Function, typename... Args> void callSafely(const Function& function, Args&&... args)
{
    if (!function)
        return;
    try {
        function(std::forward<Args>(args)...);
    } catch (const std::exception& error) {
        debugLog(std::string("A feature flag callback failed: ") + error.what());
    } catch (...) {
        debugLog("A feature flag callback failed");
    }
}

bool isFlagValue(const json& value)
{
    return value.is_boolean() || value.is_string();
}

bool isEnabledValue(const json& value)
{
    return (value.is_boolean() && value.get<bool>())
        || (value.is_string() && !value.get_ref<const std::string&>().empty());
}

/// A member of `object` when `object` is an object and has it; null otherwise.
const json* member(const json& object, const char* key)
{
    if (!object.is_object())
        return nullptr;
    const auto it = object.find(key);
    return it == object.end() ? nullptr : &*it;
}

/// The object stored under `key`, keeping only the entries `keep` accepts.
template <typename Keep> json storedObject(const BeaconStorage& storage, StorageKey key, Keep keep)
{
    json result = json::object();
    if (const std::optional<json> stored = storage.getDictionary(key)) {
        for (const auto& [name, value] : stored->items()) {
            if (keep(value))
                result[name] = value;
        }
    }
    return result;
}

std::optional<json> storedNumber(const BeaconStorage& storage, StorageKey key)
{
    const std::optional<json> stored = storage.getJson(key);
    if (!stored)
        return std::nullopt;
    if (stored->is_number())
        return stored;
    if (const json* wrapped = member(*stored, std::string(rawValue(key)).c_str());
        wrapped && wrapped->is_number())
        return *wrapped;
    return std::nullopt;
}

/// Values, payloads and full records read from one flags answer.
struct ParsedFlags {
    json values = json::object();
    json payloads = json::object();
    json records = json::object();
};

/// The newer form: "flags" maps each key to a record with "enabled", "variant", "metadata"
/// (holding "payload", "id", "version") and "reason".
ParsedFlags parseFlagRecords(const json& flags)
{
    ParsedFlags parsed;
    for (const auto& [key, record] : flags.items()) {
        if (!record.is_object())
            continue; // a record of the wrong shape says nothing about the flag
        const json* variant = member(record, "variant");
        const json* enabled = member(record, "enabled");
        if (variant && variant->is_string() && !variant->get_ref<const std::string&>().empty())
            parsed.values[key] = *variant;
        else
            parsed.values[key] = enabled && enabled->is_boolean() && enabled->get<bool>();
        if (const json* metadata = member(record, "metadata")) {
            if (const json* payload = member(*metadata, "payload"); payload && !payload->is_null())
                parsed.payloads[key] = *payload;
        }
        parsed.records[key] = record;
    }
    return parsed;
}

/// The older form: "featureFlags" (key → value) and "featureFlagPayloads" (key → payload).
ParsedFlags parseLegacyFlags(const json& featureFlags, const json* payloads)
{
    ParsedFlags parsed;
    for (const auto& [key, value] : featureFlags.items()) {
        if (isFlagValue(value))
            parsed.values[key] = value;
    }
    if (payloads && payloads->is_object()) {
        for (const auto& [key, payload] : payloads->items()) {
            if (!payload.is_null())
                parsed.payloads[key] = payload;
        }
    }
    return parsed;
}

/// Takes `key` from `source` into `target`, or removes it from `target` when `source` lacks it.
void replaceEntry(json& target, const json& source, const std::string& key)
{
    if (const auto it = source.find(key); it != source.end())
        target[key] = *it;
    else
        target.erase(key);
}
} // namespace

/// Lets answers from the network and queued tasks reach the object only while it exists.
struct BeaconRemoteConfig::Gate {
    std::mutex lock;
    BeaconRemoteConfig* self = nullptr; // lock; null once destruction began
};

/// The listener lists; tokens hold them weakly so they may outlive the object.
struct BeaconRemoteConfig::Callbacks {
    std::mutex lock;
    std::uint64_t nextId = 1;
    std::vector<std::pair<std::uint64_t, std::shared_ptr<const FeatureFlagsCallback>>> featureFlags;
    std::vector<std::pair<std::uint64_t, std::shared_ptr<const RemoteConfigCallback>>> remoteConfig;
};

std::shared_ptr<BeaconRemoteConfig> BeaconRemoteConfig::create(std::shared_ptr<const BeaconConfig> config,
    std::shared_ptr<BeaconStorage> storage, std::shared_ptr<BeaconStorageManager> storageManager,
    std::shared_ptr<BeaconApi> api, PersonPropertiesProvider getDefaultPersonProperties,
    BeaconNotificationCenter* notificationCenter)
{
    std::shared_ptr<BeaconRemoteConfig> remoteConfig(
        new BeaconRemoteConfig(std::move(config), std::move(storage), std::move(storageManager),
            std::move(api), std::move(getDefaultPersonProperties), notificationCenter));
    remoteConfig->loadCachedValues();
    if (remoteConfig->m_config->remoteConfig)
        remoteConfig->loadRemoteConfig();
    else if (remoteConfig->m_config->preloadFeatureFlags)
        remoteConfig->reloadFeatureFlags();
    return remoteConfig;
}

BeaconRemoteConfig::BeaconRemoteConfig(std::shared_ptr<const BeaconConfig> config,
    std::shared_ptr<BeaconStorage> storage, std::shared_ptr<BeaconStorageManager> storageManager,
    std::shared_ptr<BeaconApi> api, PersonPropertiesProvider getDefaultPersonProperties,
    BeaconNotificationCenter* notificationCenter)
    : m_config(config ? std::move(config) : std::make_shared<const BeaconConfig>(""))
    , m_storage(storage ? std::move(storage) : std::make_shared<BeaconStorage>(std::filesystem::path()))
    , m_storageManager(std::move(storageManager))
    , m_api(api ? std::move(api) : std::make_shared<BeaconApi>(m_config))
    , m_getDefaultPersonProperties(std::move(getDefaultPersonProperties))
    , m_notificationCenter(
          notificationCenter ? *notificationCenter : BeaconNotificationCenter::defaultCenter())
    , m_callbacks(std::make_shared<Callbacks>())
    , m_gate(std::make_shared<Gate>())
    , m_dispatchQueue(std::make_unique<BeaconSerialQueue>(dispatchQueueLabel))
{
    m_gate->self = this;
}

BeaconRemoteConfig::~BeaconRemoteConfig()
{
    // From here on answers are dropped and queued tasks skipped; a task already running finishes
    // before the queue (the last member) lets the other members go.
    const std::lock_guard lock(m_gate->lock);
    m_gate->self = nullptr;
}

void BeaconRemoteConfig::loadCachedValues()
{
    {
        const std::lock_guard lock(m_featureFlagsLock);
        m_featureFlags = storedObject(*m_storage, StorageKey::enabledFeatureFlags, isFlagValue);
        m_featureFlagPayloads = storedObject(
            *m_storage, StorageKey::enabledFeatureFlagPayloads, [](const json& v) { return !v.is_null(); });
        m_flags = storedObject(*m_storage, StorageKey::flags, [](const json& v) { return v.is_object(); });
        m_requestId = m_storage->getString(StorageKey::requestId);
        m_evaluatedAt = storedNumber(*m_storage, StorageKey::evaluatedAt);
    }
    {
        const std::lock_guard lock(m_remoteConfigLock);
        m_remoteConfig = m_storage->getDictionary(StorageKey::remoteConfig);
    }
    {
        const std::lock_guard lock(m_personPropertiesForFlagsLock);
        if (const std::optional<json> stored = m_storage->getDictionary(StorageKey::personPropertiesForFlags))
            m_personPropertiesForFlags = sanitizeDictionary(*stored);
    }
    {
        const std::lock_guard lock(m_groupPropertiesForFlagsLock);
        m_groupPropertiesForFlags = storedObject(
            *m_storage, StorageKey::groupPropertiesForFlags, [](const json& v) { return v.is_object(); });
        for (auto& [type, properties] : m_groupPropertiesForFlags.items())
            properties = sanitizeDictionary(properties);
    }
}

void BeaconRemoteConfig::post(std::function<void(BeaconRemoteConfig&)> task)
{
    m_dispatchQueue->post([gate = m_gate, task = std::move(task)] {
        BeaconRemoteConfig* self = nullptr;
        {
            const std::lock_guard lock(gate->lock);
            self = gate->self;
        }
        if (self)
            task(*self);
    });
}

void BeaconRemoteConfig::flushForTesting()
{
    m_dispatchQueue->flushForTesting();
}

// Remote configuration

void BeaconRemoteConfig::loadRemoteConfig()
{
    post([](BeaconRemoteConfig& self) { self.loadRemoteConfigOnQueue(); });
}

void BeaconRemoteConfig::loadRemoteConfigOnQueue()
{
    {
        const std::lock_guard lock(m_loadingRemoteConfigLock);
        if (m_loadingRemoteConfig)
            return;
        m_loadingRemoteConfig = true;
    }
    m_api->remoteConfig([gate = m_gate](std::optional<json> response) {
        const std::lock_guard lock(gate->lock);
        if (gate->self) {
            gate->self->post([response = std::move(response)](BeaconRemoteConfig& self) mutable {
                self.handleRemoteConfig(std::move(response));
            });
        }
    });
}

void BeaconRemoteConfig::handleRemoteConfig(std::optional<json> response)
{
    if (response && !response->is_object())
        response.reset();
    if (response) {
        {
            const std::lock_guard lock(m_remoteConfigLock);
            m_remoteConfig = *response;
            m_remoteConfigDidFetch = true;
        }
        m_storage->setJson(StorageKey::remoteConfig, *response);
    }
    {
        const std::lock_guard lock(m_loadingRemoteConfigLock);
        m_loadingRemoteConfig = false;
    }
    Delivery delivery = prepareDelivery();
    delivery.remoteConfigLoaded = true;
    delivery.remoteConfig = response;

    if (!response) {
        debugLog("[Beacon] Remote config response is missing, skipping loading flags");
        delivery.featureFlagsLoaded = true;
    } else if (const json* hasFlags = member(*response, hasFeatureFlagsKey); hasFlags && *hasFlags == false) {
        debugLog("[Beacon] hasFeatureFlags is false, clearing flags and skipping loading flags");
        clearFeatureFlags();
        delivery.featureFlagsLoaded = true;
        delivery.featureFlags = json::object();
    } else if (m_config->preloadFeatureFlags) {
        reloadFeatureFlagsOnQueue({});
    }
    deliver(std::move(delivery));
}

std::optional<json> BeaconRemoteConfig::getRemoteConfig() const
{
    const std::lock_guard lock(m_remoteConfigLock);
    return m_remoteConfig;
}

bool BeaconRemoteConfig::remoteConfigDidFetch() const
{
    const std::lock_guard lock(m_remoteConfigLock);
    return m_remoteConfigDidFetch;
}

// Feature flags: loading

void BeaconRemoteConfig::reloadFeatureFlags(FeatureFlagsCallback callback)
{
    post([callback = std::move(callback)](
             BeaconRemoteConfig& self) mutable { self.reloadFeatureFlagsOnQueue(std::move(callback)); });
}

void BeaconRemoteConfig::reloadFeatureFlagsOnQueue(FeatureFlagsCallback callback)
{
    if (!m_storageManager) {
        debugLog("[Beacon] No BeaconStorageManager found in config, skipping loading feature flags");
        callSafely(
            callback, std::optional<json>()); // the task's last step: nothing of this object is used after it
        return;
    }
    {
        const std::lock_guard lock(m_loadingFeatureFlagsLock);
        if (m_loadingFeatureFlags) {
            // The answer in flight may be for an older identity: ask again once it is in.
            m_reloadPending = true;
            if (callback)
                m_pendingReloadCallbacks.push_back(std::move(callback));
            return;
        }
        m_loadingFeatureFlags = true;
    }
    std::vector<FeatureFlagsCallback> callbacks;
    if (callback)
        callbacks.push_back(std::move(callback));
    requestFlags(std::move(callbacks));
}

void BeaconRemoteConfig::requestFlags(std::vector<FeatureFlagsCallback> callbacks)
{
    std::map<std::string, std::string> groups;
    if (const std::optional<json> stored = m_storage->getDictionary(StorageKey::groups)) {
        for (const auto& [type, key] : stored->items()) {
            if (key.is_string())
                groups[type] = key.get<std::string>();
        }
    }
    const std::string distinctId = m_storageManager->getDistinctId();
    std::optional<std::string> anonymousId;
    if (!m_config->reuseAnonymousId)
        anonymousId = m_storageManager->getAnonymousId();

    json personProperties = json::object();
    if (m_config->setDefaultPersonProperties && m_getDefaultPersonProperties) {
        try {
            personProperties = sanitizeDictionary(m_getDefaultPersonProperties());
        } catch (const std::exception& error) {
            debugLog(std::string("Reading the person properties for flags failed: ") + error.what());
        } catch (...) {
            debugLog("Reading the person properties for flags failed");
        }
    }
    personProperties.update(personPropertiesForFlags());
    const json groupProperties = groupPropertiesForFlags();

    m_api->flags(distinctId, std::move(anonymousId), std::move(groups), std::move(personProperties),
        groupProperties,
        [gate = m_gate, callbacks = std::move(callbacks)](std::optional<json> response) mutable {
            const std::lock_guard lock(gate->lock);
            if (gate->self) {
                gate->self->post([response = std::move(response), callbacks = std::move(callbacks)](
                                     BeaconRemoteConfig& self) mutable {
                    self.handleFlagsResponse(std::move(response), std::move(callbacks));
                });
            }
        });
}

void BeaconRemoteConfig::handleFlagsResponse(
    std::optional<json> response, std::vector<FeatureFlagsCallback> callbacks)
{
    bool loaded = false;
    if (response)
        loaded = applyFlagsResponse(*response);
    else
        debugLog("[Beacon] Error: Flags response data is nil");

    Delivery delivery = prepareDelivery();
    if (loaded) {
        delivery.featureFlagsLoaded = true;
        delivery.featureFlags = getFeatureFlags();
    }
    delivery.reloadCallbacks = std::move(callbacks);

    std::vector<FeatureFlagsCallback> pending;
    bool again = false;
    {
        const std::lock_guard lock(m_loadingFeatureFlagsLock);
        again = m_reloadPending;
        m_reloadPending = false;
        m_loadingFeatureFlags = again;
        pending.swap(m_pendingReloadCallbacks);
    }
    if (again)
        requestFlags(std::move(pending));
    deliver(std::move(delivery));
}

bool BeaconRemoteConfig::applyFlagsResponse(const json& response)
{
    if (const json* quota = member(response, "quotaLimited"); quota && quota->is_array()
        && std::find(quota->begin(), quota->end(), json("feature_flags")) != quota->end()) {
        debugLog(std::string(
                     "[Beacon] Warning: Feature flags quota limit reached - flags could not be updated. See ")
            + quotaLimitsDocumentation + " for more information.");
        return true; // listeners hear the cached flags
    }

    ParsedFlags parsed;
    if (const json* records = member(response, "flags"); records && records->is_object()) {
        parsed = parseFlagRecords(*records);
    } else if (const json* values = member(response, "featureFlags"); values && values->is_object()) {
        parsed = parseLegacyFlags(*values, member(response, "featureFlagPayloads"));
    } else {
        debugLog("[Beacon] Error: Flags response missing correct featureFlags format");
        return false;
    }

    const json* errors = member(response, "errorsWhileComputingFlags");
    const bool partial = errors && *errors == true;
    const json* requestId = member(response, "requestId");
    const json* evaluatedAt = member(response, "evaluatedAt");

    json values, payloads, records;
    std::optional<std::string> storedRequestId;
    std::optional<json> storedEvaluatedAt;
    {
        const std::lock_guard lock(m_featureFlagsLock);
        if (partial) {
            // Flags the server failed to compute are missing from the answer: keep what we had for them.
            std::vector<std::string> answered;
            for (const auto& [key, value] : parsed.values.items())
                answered.push_back(key);
            for (const auto& [key, value] : parsed.payloads.items())
                answered.push_back(key);
            for (const std::string& key : answered) {
                replaceEntry(m_featureFlags, parsed.values, key);
                replaceEntry(m_featureFlagPayloads, parsed.payloads, key);
                replaceEntry(m_flags, parsed.records, key);
            }
        } else {
            m_featureFlags = std::move(parsed.values);
            m_featureFlagPayloads = std::move(parsed.payloads);
            m_flags = std::move(parsed.records);
        }
        if (requestId && requestId->is_string())
            m_requestId = requestId->get<std::string>();
        if (evaluatedAt && evaluatedAt->is_number())
            m_evaluatedAt = *evaluatedAt;
        values = m_featureFlags;
        payloads = m_featureFlagPayloads;
        records = m_flags;
        storedRequestId = m_requestId;
        storedEvaluatedAt = m_evaluatedAt;
    }
    // Only this queue writes these keys, so writing outside the lock keeps their order.
    m_storage->setJson(StorageKey::enabledFeatureFlags, values);
    m_storage->setJson(StorageKey::enabledFeatureFlagPayloads, payloads);
    m_storage->setJson(StorageKey::flags, records);
    if (storedRequestId)
        m_storage->setString(StorageKey::requestId, *storedRequestId);
    if (storedEvaluatedAt)
        m_storage->setJson(StorageKey::evaluatedAt, *storedEvaluatedAt);
    return true;
}

void BeaconRemoteConfig::clearFeatureFlags()
{
    {
        const std::lock_guard lock(m_featureFlagsLock);
        m_featureFlags = json::object();
        m_featureFlagPayloads = json::object();
        m_flags = json::object();
    }
    m_storage->setJson(StorageKey::enabledFeatureFlags, json::object());
    m_storage->setJson(StorageKey::enabledFeatureFlagPayloads, json::object());
    m_storage->setJson(StorageKey::flags, json::object());
}

BeaconRemoteConfig::Delivery BeaconRemoteConfig::prepareDelivery() const
{
    Delivery delivery;
    {
        const std::lock_guard lock(m_callbacks->lock);
        for (const auto& entry : m_callbacks->featureFlags)
            delivery.featureFlagsListeners.push_back(entry.second);
        for (const auto& entry : m_callbacks->remoteConfig)
            delivery.remoteConfigListeners.push_back(entry.second);
    }
    delivery.center = &m_notificationCenter;
    delivery.sender = this;
    return delivery;
}

void BeaconRemoteConfig::deliver(Delivery delivery)
{
    // Static, and only from the copies: a callback may release the last reference to the object.
    if (delivery.remoteConfigLoaded) {
        for (const auto& listener : delivery.remoteConfigListeners)
            callSafely(*listener, delivery.remoteConfig);
    }
    if (delivery.featureFlagsLoaded) {
        for (const auto& listener : delivery.featureFlagsListeners)
            callSafely(*listener, delivery.featureFlags);
    }
    for (const FeatureFlagsCallback& callback : delivery.reloadCallbacks)
        callSafely(callback, delivery.featureFlags);
    if (delivery.featureFlagsLoaded) {
        try {
            delivery.center->post({ didReceiveFeatureFlagsNotification, delivery.sender });
        } catch (const std::exception& error) {
            debugLog(std::string("A feature flag observer failed: ") + error.what());
        } catch (...) {
            debugLog("A feature flag observer failed");
        }
    }
}

std::unique_ptr<RegistrationToken> BeaconRemoteConfig::onFeatureFlagsLoaded(FeatureFlagsCallback callback)
{
    const std::lock_guard lock(m_callbacks->lock);
    const std::uint64_t id = m_callbacks->nextId++;
    m_callbacks->featureFlags.emplace_back(
        id, std::make_shared<const FeatureFlagsCallback>(std::move(callback)));
    return std::make_unique<RegistrationToken>([weak = std::weak_ptr<Callbacks>(m_callbacks), id] {
        if (const std::shared_ptr<Callbacks> callbacks = weak.lock()) {
            const std::lock_guard lock(callbacks->lock);
            std::erase_if(callbacks->featureFlags, [id](const auto& entry) { return entry.first == id; });
        }
    });
}

std::unique_ptr<RegistrationToken> BeaconRemoteConfig::onRemoteConfigLoaded(RemoteConfigCallback callback)
{
    const std::lock_guard lock(m_callbacks->lock);
    const std::uint64_t id = m_callbacks->nextId++;
    m_callbacks->remoteConfig.emplace_back(
        id, std::make_shared<const RemoteConfigCallback>(std::move(callback)));
    return std::make_unique<RegistrationToken>([weak = std::weak_ptr<Callbacks>(m_callbacks), id] {
        if (const std::shared_ptr<Callbacks> callbacks = weak.lock()) {
            const std::lock_guard lock(callbacks->lock);
            std::erase_if(callbacks->remoteConfig, [id](const auto& entry) { return entry.first == id; });
        }
    });
}

// Feature flags: reading

json BeaconRemoteConfig::getFeatureFlags() const
{
    const std::lock_guard lock(m_featureFlagsLock);
    return m_featureFlags;
}

void BeaconRemoteConfig::setFlagCalledReporter(FlagCalledReporter reporter)
{
    auto shared = reporter ? std::make_shared<const FlagCalledReporter>(std::move(reporter)) : nullptr;
    const std::lock_guard lock(m_reporterLock);
    m_flagCalledReporter = std::move(shared);
}

BeaconRemoteConfig::FlagRead BeaconRemoteConfig::readFlag(
    const std::string& key, std::optional<bool> sendFeatureFlagEvent)
{
    FlagRead read;
    json properties = json::object();
    {
        // Value, record and evaluation facts from one moment, even while a load replaces them.
        const std::lock_guard lock(m_featureFlagsLock);
        if (const auto it = m_featureFlags.find(key); it != m_featureFlags.end())
            read.value = *it;
        if (const auto it = m_featureFlagPayloads.find(key); it != m_featureFlagPayloads.end())
            read.payload = *it;
        if (m_requestId)
            properties["$feature_flag_request_id"] = *m_requestId;
        if (m_evaluatedAt)
            properties["$feature_flag_evaluated_at"] = *m_evaluatedAt;
        if (const auto record = m_flags.find(key); record != m_flags.end()) {
            if (const json* metadata = member(*record, "metadata")) {
                if (const json* id = member(*metadata, "id"); id && !id->is_null())
                    properties["$feature_flag_id"] = *id;
                if (const json* version = member(*metadata, "version"); version && !version->is_null())
                    properties["$feature_flag_version"] = *version;
            }
            if (const json* reason = member(*record, "reason")) {
                if (const json* description = member(*reason, "description");
                    description && description->is_string())
                    properties["$feature_flag_reason"] = *description;
            }
        }
    }

    if (!sendFeatureFlagEvent.value_or(m_config->sendFeatureFlagEvent))
        return read;
    std::shared_ptr<const FlagCalledReporter> reporter;
    {
        const std::lock_guard lock(m_reporterLock);
        reporter = m_flagCalledReporter;
    }
    if (!reporter)
        return read;
    const json value = read.value.value_or(json(nullptr));
    properties["$feature_flag"] = key;
    properties["$feature_flag_response"] = value;
    callSafely(*reporter, key, value, properties);
    return read;
}

std::optional<json> BeaconRemoteConfig::getFeatureFlag(
    const std::string& key, std::optional<bool> sendFeatureFlagEvent)
{
    return readFlag(key, sendFeatureFlagEvent).value;
}

bool BeaconRemoteConfig::isFeatureEnabled(const std::string& key, std::optional<bool> sendFeatureFlagEvent)
{
    const std::optional<json> value = readFlag(key, sendFeatureFlagEvent).value;
    return value && isEnabledValue(*value);
}

std::optional<json> BeaconRemoteConfig::getFeatureFlagPayload(
    const std::string& key, std::optional<bool> sendFeatureFlagEvent)
{
    return readFlag(key, sendFeatureFlagEvent).payload;
}

std::optional<BeaconFeatureFlagResult> BeaconRemoteConfig::getFeatureFlagResult(
    const std::string& key, std::optional<bool> sendFeatureFlagEvent)
{
    FlagRead read = readFlag(key, sendFeatureFlagEvent);
    if (!read.value)
        return std::nullopt;
    BeaconFeatureFlagResult result;
    result.key = key;
    result.enabled = isEnabledValue(*read.value);
    if (read.value->is_string())
        result.variant = read.value->get<std::string>();
    result.payload = std::move(read.payload);
    return result;
}

// Person and group properties for flags

void BeaconRemoteConfig::setPersonPropertiesForFlags(const json& properties, bool reloadFeatureFlags)
{
    // Sanitised here: one value that cannot be sent would make every later flag request fail.
    const json sanitized = sanitizeDictionary(properties);
    {
        const std::lock_guard lock(m_personPropertiesForFlagsLock);
        m_personPropertiesForFlags.update(sanitized);
        // Written under the lock so that concurrent writers persist in the order they changed memory.
        m_storage->setJson(StorageKey::personPropertiesForFlags, m_personPropertiesForFlags);
    }
    if (reloadFeatureFlags)
        this->reloadFeatureFlags();
}

void BeaconRemoteConfig::resetPersonPropertiesForFlags(bool reloadFeatureFlags)
{
    {
        const std::lock_guard lock(m_personPropertiesForFlagsLock);
        m_personPropertiesForFlags = json::object();
        m_storage->setJson(StorageKey::personPropertiesForFlags, m_personPropertiesForFlags);
    }
    if (reloadFeatureFlags)
        this->reloadFeatureFlags();
}

void BeaconRemoteConfig::setGroupPropertiesForFlags(
    const std::string& groupType, const json& properties, bool reloadFeatureFlags)
{
    const json sanitized = sanitizeDictionary(properties);
    if (!isValidUtf8(groupType)) {
        debugLog("property " + groupType + " isn't serializable, dropping the item");
        return;
    }
    {
        const std::lock_guard lock(m_groupPropertiesForFlagsLock);
        json& group = m_groupPropertiesForFlags[groupType];
        if (!group.is_object())
            group = json::object();
        group.update(sanitized);
        m_storage->setJson(StorageKey::groupPropertiesForFlags, m_groupPropertiesForFlags);
    }
    if (reloadFeatureFlags)
        this->reloadFeatureFlags();
}

void BeaconRemoteConfig::resetGroupPropertiesForFlags(
    const std::optional<std::string>& groupType, bool reloadFeatureFlags)
{
    {
        const std::lock_guard lock(m_groupPropertiesForFlagsLock);
        if (groupType)
            m_groupPropertiesForFlags.erase(*groupType);
        else
            m_groupPropertiesForFlags = json::object();
        m_storage->setJson(StorageKey::groupPropertiesForFlags, m_groupPropertiesForFlags);
    }
    if (reloadFeatureFlags)
        this->reloadFeatureFlags();
}

json BeaconRemoteConfig::personPropertiesForFlags() const
{
    const std::lock_guard lock(m_personPropertiesForFlagsLock);
    return m_personPropertiesForFlags;
}

json BeaconRemoteConfig::groupPropertiesForFlags() const
{
    const std::lock_guard lock(m_groupPropertiesForFlagsLock);
    return m_groupPropertiesForFlags;
}

} // namespace beacon
