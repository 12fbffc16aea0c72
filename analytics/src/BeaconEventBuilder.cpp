#include "beacon/BeaconEventBuilder.h"

#include <algorithm>
#include <array>
#include <exception>

#include "beacon/BeaconClock.h"
#include "beacon/BeaconConfig.h"
#include "beacon/BeaconContext.h"
#include "beacon/BeaconEvent.h"
#include "beacon/BeaconLog.h"
#include "beacon/BeaconRemoteConfig.h"
#include "beacon/BeaconSessionManager.h"
#include "beacon/BeaconStorage.h"
#include "beacon/BeaconStorageManager.h"
#include "beacon/TimeBasedEpochGenerator.h"

namespace beacon {

namespace {
using nlohmann::json;

constexpr std::array<std::string_view, 10> kReservedEventNames = {
    "$snapshot",
    "$screen",
    "$set",
    "survey dismissed",
    "survey sent",
    "survey shown",
    "$identify",
    "$groupidentify",
    "$create_alias",
    "$feature_flag_called",
};

/// Adds the entries of `source` whose keys `target` does not have yet.
void mergeKeepingExisting(json& target, const json& source)
{
    if (!source.is_object())
        return;
    for (const auto& [key, value] : source.items()) {
        if (!target.contains(key))
            target[key] = value;
    }
}

bool isNonEmptyString(const json& object, const char* key)
{
    const auto it = object.find(key);
    return it != object.end() && it->is_string() && !it->get_ref<const std::string&>().empty();
}

void logDropped(const std::string& event, std::string_view why = {})
{
    std::string line = "Beacon event " + event + " was dropped";
    if (BeaconEventBuilder::isReservedEventName(event))
        line += ". This can cause unexpected behavior.";
    line += why;
    debugLog(line);
}

std::map<std::string, std::string> storedGroups(const BeaconStorage& storage)
{
    std::map<std::string, std::string> groups;
    if (const std::optional<json> stored = storage.getDictionary(StorageKey::groups)) {
        for (const auto& [type, key] : stored->items()) {
            if (key.is_string())
                groups[type] = key.get<std::string>();
        }
    }
    return groups;
}

/// Groups whose type or key is not text cannot be sent; they are dropped like any such property.
std::map<std::string, std::string> sanitizedGroups(const std::map<std::string, std::string>& groups)
{
    std::map<std::string, std::string> sanitized;
    for (const auto& [type, key] : groups) {
        if (isValidUtf8(type) && isValidUtf8(key))
            sanitized.emplace(type, key);
        else
            debugLog("property " + type + " isn't serializable, dropping the item");
    }
    return sanitized;
}
} // namespace

BeaconEventBuilder::BeaconEventBuilder(std::shared_ptr<const BeaconConfig> config,
    std::shared_ptr<BeaconStorage> storage, std::shared_ptr<BeaconStorageManager> storageManager,
    std::shared_ptr<BeaconSessionManager> sessionManager, std::shared_ptr<BeaconRemoteConfig> remoteConfig,
    std::shared_ptr<BeaconContext> context)
    : m_config(config ? std::move(config) : std::make_shared<const BeaconConfig>(""))
    , m_storage(storage ? std::move(storage) : std::make_shared<BeaconStorage>(std::filesystem::path()))
    , m_storageManager(std::move(storageManager))
    , m_sessionManager(std::move(sessionManager))
    , m_remoteConfig(std::move(remoteConfig))
    , m_context(std::move(context))
    , m_clock(clockOrSystem(m_config->clock))
{ }

BeaconEventBuilder::TimePoint BeaconEventBuilder::now() const
{
    return m_clock->now();
}

bool BeaconEventBuilder::isReservedEventName(std::string_view event)
{
    return std::find(kReservedEventNames.begin(), kReservedEventNames.end(), event)
        != kReservedEventNames.end();
}

json BeaconEventBuilder::userPropertiesForFlags(const json& userProperties, const json& userPropertiesSetOnce)
{
    json merged = userPropertiesSetOnce.is_object() ? userPropertiesSetOnce : json::object();
    if (userProperties.is_object())
        merged.update(userProperties);
    return merged;
}

std::shared_ptr<BeaconEvent> BeaconEventBuilder::buildCaptureEvent(const BeaconCaptureInput& input)
{
    const bool isSnapshot = input.event == snapshotEventName;
    const TimePoint timestamp = input.timestamp.value_or(now());
    std::string distinctId;
    if (input.distinctId && !input.distinctId->empty())
        distinctId = *input.distinctId;
    else if (m_storageManager)
        distinctId = m_storageManager->getDistinctId();

    const json userProperties = sanitizeDictionary(input.userProperties);
    const json userPropertiesSetOnce = sanitizeDictionary(input.userPropertiesSetOnce);
    json properties = buildProperties(distinctId, sanitizeDictionary(input.properties), userProperties,
        userPropertiesSetOnce, sanitizedGroups(input.groups), !isSnapshot, timestamp);

    std::shared_ptr<BeaconEvent> event
        = buildEvent(input.event, distinctId, std::move(properties), timestamp);
    if (!event)
        return nullptr;

    if (m_remoteConfig) {
        if (const json forFlags = userPropertiesForFlags(userProperties, userPropertiesSetOnce);
            !forFlags.empty())
            m_remoteConfig->setPersonPropertiesForFlags(forFlags);
    }
    // A replay without its session cannot be attached to anything.
    if (event->event == snapshotEventName) {
        const auto session = event->properties.find("$session_id");
        if (session == event->properties.end() || session->is_null())
            return nullptr;
    }
    return event;
}

json BeaconEventBuilder::buildProperties(const std::string& distinctId, const json& properties,
    const json& userProperties, const json& userPropertiesSetOnce,
    const std::map<std::string, std::string>& groups, bool appendSharedProps, TimePoint timestamp)
{
    json result = json::object();
    if (appendSharedProps) {
        if (m_context) {
            mergeKeepingExisting(result, m_context->staticContext());
            mergeKeepingExisting(result, m_context->dynamicContext());
        }
        mergeKeepingExisting(result, registeredProperties());

        if (userProperties.is_object() && !userProperties.empty())
            result["$set"] = userProperties;
        if (userPropertiesSetOnce.is_object() && !userPropertiesSetOnce.empty())
            result["$set_once"] = userPropertiesSetOnce;
        if (!groups.empty()) {
            json merged = json::object();
            if (const auto existing = result.find("$groups");
                existing != result.end() && existing->is_object())
                merged = *existing;
            mergeKeepingExisting(merged, json(groups));
            result["$groups"] = std::move(merged);
        }
        if (m_storageManager)
            result["$is_identified"] = m_storageManager->isIdentified();
        result["$process_person_profile"] = shouldProcessPerson();
    }
    if (m_context)
        mergeKeepingExisting(result, m_context->sdkInfo());

    if (properties.is_object() && isNonEmptyString(properties, "$session_id")) {
        result["$session_id"] = properties.at("$session_id");
    } else if (m_sessionManager) {
        if (const std::optional<std::string> sessionId = m_sessionManager->getSessionId(timestamp))
            result["$session_id"] = *sessionId;
    }

    if (!appendSharedProps && !(properties.is_object() && isNonEmptyString(properties, "distinct_id")))
        result["distinct_id"] = distinctId;

    mergeKeepingExisting(result, properties);
    return result;
}

json BeaconEventBuilder::registeredProperties()
{
    json registered = m_storage->getDictionary(StorageKey::registerProperties).value_or(json::object());
    if (const std::map<std::string, std::string> persisted = groups(); !persisted.empty())
        registered["$groups"] = persisted;
    if (m_remoteConfig) {
        json active = json::array();
        const json flags = m_remoteConfig->getFeatureFlags();
        for (const auto& [key, value] : flags.items()) {
            registered["$feature/" + key] = value;
            if (!(value.is_boolean() && !value.get<bool>()))
                active.push_back(key);
        }
        if (!active.empty())
            registered["$active_feature_flags"] = std::move(active);
    }
    return registered;
}

bool BeaconEventBuilder::shouldProcessPerson()
{
    switch (m_config->personProfiles) {
    case BeaconPersonProfiles::never:
        return false;
    case BeaconPersonProfiles::always:
        return true;
    case BeaconPersonProfiles::identifiedOnly:
        break;
    }
    if (!m_storageManager)
        return true;
    return m_storageManager->isIdentified() || m_storageManager->isPersonProcessing();
}

std::shared_ptr<BeaconEvent> BeaconEventBuilder::buildEvent(
    const std::string& event, const std::string& distinctId, json properties, TimePoint timestamp)
{
    // The hooks are the host's code: one that throws drops the event rather than leaking
    // unsanitised properties or escaping into the caller.
    if (m_config->propertiesSanitizer) {
        try {
            properties = m_config->propertiesSanitizer->sanitize(std::move(properties));
        } catch (const std::exception& error) {
            logDropped(event, std::string(": the properties sanitizer failed: ") + error.what());
            return nullptr;
        } catch (...) {
            logDropped(event, ": the properties sanitizer failed");
            return nullptr;
        }
    }
    const BeaconUuid uuid = TimeBasedEpochGenerator::shared().timeOrderedUuid();
    auto built = std::make_shared<BeaconEvent>(event, distinctId, std::move(properties), timestamp, uuid);

    std::shared_ptr<BeaconEvent> result = built;
    if (m_config->beforeSend) {
        try {
            result = m_config->beforeSend(built);
        } catch (const std::exception& error) {
            logDropped(event, std::string(": beforeSend failed: ") + error.what());
            return nullptr;
        } catch (...) {
            logDropped(event, ": beforeSend failed");
            return nullptr;
        }
    }
    if (!result) {
        logDropped(event);
        return nullptr;
    }
    // The hooks may have put anything in; the queue must be able to write what it gets.
    result->properties = sanitizeDictionary(result->properties);
    if (!isValidUtf8(result->event) || !isValidUtf8(result->distinctId)) {
        logDropped(event, ": its name or distinct id is not UTF-8 text");
        return nullptr;
    }
    return result;
}

std::map<std::string, std::string> BeaconEventBuilder::groups()
{
    const std::lock_guard lock(m_groupsLock);
    return storedGroups(*m_storage);
}

bool BeaconEventBuilder::addGroup(const std::string& groupType, const std::string& groupKey)
{
    if (!isValidUtf8(groupType) || !isValidUtf8(groupKey)) {
        debugLog("property " + groupType + " isn't serializable, dropping the item");
        return false;
    }
    const std::lock_guard lock(m_groupsLock);
    std::map<std::string, std::string> groups = storedGroups(*m_storage);
    if (const auto it = groups.find(groupType); it != groups.end() && it->second == groupKey)
        return false;
    groups[groupType] = groupKey;
    m_storage->setJson(StorageKey::groups, json(groups));
    return true;
}

void BeaconEventBuilder::registerProperties(const BeaconProperties& properties)
{
    const json sanitized = sanitizeDictionary(properties);
    const std::lock_guard lock(m_registerPropertiesLock);
    json registered = m_storage->getDictionary(StorageKey::registerProperties).value_or(json::object());
    registered.update(sanitized);
    m_storage->setJson(StorageKey::registerProperties, registered);
}

void BeaconEventBuilder::unregisterProperties(const std::string& key)
{
    const std::lock_guard lock(m_registerPropertiesLock);
    json registered = m_storage->getDictionary(StorageKey::registerProperties).value_or(json::object());
    if (registered.erase(key) > 0)
        m_storage->setJson(StorageKey::registerProperties, registered);
}

BeaconCaptureInput makeIdentifyEvent(const std::string& distinctId,
    const std::optional<std::string>& anonDistinctId, BeaconProperties userProperties,
    BeaconProperties userPropertiesSetOnce)
{
    BeaconCaptureInput input;
    input.event = "$identify";
    input.distinctId = distinctId;
    input.properties["distinct_id"] = distinctId;
    if (anonDistinctId)
        input.properties["$anon_distinct_id"] = *anonDistinctId;
    input.userProperties = std::move(userProperties);
    input.userPropertiesSetOnce = std::move(userPropertiesSetOnce);
    return input;
}

BeaconCaptureInput makeSetEvent(
    const std::string& distinctId, BeaconProperties userProperties, BeaconProperties userPropertiesSetOnce)
{
    BeaconCaptureInput input;
    input.event = "$set";
    input.distinctId = distinctId;
    input.userProperties = std::move(userProperties);
    input.userPropertiesSetOnce = std::move(userPropertiesSetOnce);
    return input;
}

BeaconCaptureInput makeAliasEvent(const std::string& alias)
{
    BeaconCaptureInput input;
    input.event = "$create_alias";
    input.properties["alias"] = alias;
    return input;
}

BeaconCaptureInput makeGroupIdentifyEvent(const std::string& groupType, const std::string& groupKey,
    const std::optional<BeaconProperties>& groupProperties)
{
    BeaconCaptureInput input;
    input.event = "$groupidentify";
    input.properties["$group_type"] = groupType;
    input.properties["$group_key"] = groupKey;
    // Sanitised item by item, so one bad value does not take the whole set with it.
    if (groupProperties)
        input.properties["$group_set"] = BeaconPropertyValue(sanitizeDictionary(*groupProperties));
    return input;
}

BeaconCaptureInput makeScreenEvent(const std::string& title, BeaconProperties properties)
{
    BeaconCaptureInput input;
    input.event = "$screen";
    input.properties = std::move(properties);
    input.properties["$screen_name"] = title;
    return input;
}

BeaconCaptureInput makeFeatureFlagCalledEvent(const json& properties)
{
    BeaconCaptureInput input;
    input.event = "$feature_flag_called";
    if (properties.is_object()) {
        for (const auto& [key, value] : properties.items())
            input.properties.emplace(key, BeaconPropertyValue(value));
    }
    return input;
}

} // namespace beacon
