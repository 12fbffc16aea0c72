#pragma once

#include <chrono>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "beacon/BeaconPropertyValue.h"

namespace beacon {

class BeaconClock;
class BeaconConfig;
class BeaconContext;
class BeaconEvent;
class BeaconRemoteConfig;
class BeaconSessionManager;
class BeaconStorage;
class BeaconStorageManager;

/// What one `capture` call hands in. Empty dictionaries count as not given.
struct BeaconCaptureInput {
    std::string event {};
    /// The current distinct id when absent (or empty).
    std::optional<std::string> distinctId {};
    BeaconProperties properties {};
    BeaconProperties userProperties {}; ///< sent as `$set`
    BeaconProperties userPropertiesSetOnce {}; ///< sent as `$set_once`
    /// Group type → group key, merged into `$groups`.
    std::map<std::string, std::string> groups {};
    /// Now when absent.
    std::optional<std::chrono::system_clock::time_point> timestamp {};
};

/// Turns the caller's event name and properties into a `BeaconEvent`: device and library
/// context, registered (super) properties, groups, feature flags, person-processing markers
/// and the analytics session id, then the host's sanitizer and `beforeSend` hook.
///
/// Runs on the calling thread; safe from any thread. The persisted groups and registered
/// properties it reads are also written through it, each under its own lock.
class BeaconEventBuilder {
public:
    using TimePoint = std::chrono::system_clock::time_point;

    static constexpr const char* snapshotEventName = "$snapshot";

    /// Only `config` and `storage` are required; a missing part leaves its properties out
    /// (no storage manager: person processing counts as on).
    BeaconEventBuilder(std::shared_ptr<const BeaconConfig> config, std::shared_ptr<BeaconStorage> storage,
        std::shared_ptr<BeaconStorageManager> storageManager,
        std::shared_ptr<BeaconSessionManager> sessionManager,
        std::shared_ptr<BeaconRemoteConfig> remoteConfig, std::shared_ptr<BeaconContext> context);

    BeaconEventBuilder(const BeaconEventBuilder&) = delete;
    BeaconEventBuilder& operator=(const BeaconEventBuilder&) = delete;

    /// The event `capture` queues, or null when it must not be queued (dropped by `beforeSend`
    /// or a hook that failed, or a "$snapshot" without `$session_id`). Sanitises the three
    /// dictionaries, builds the properties (no shared properties for "$snapshot") and the
    /// event, and records the user properties (`$set` over `$set_once`) for flag evaluation.
    /// An event named "$snapshot" belongs in the replay queue, every other in the event queue.
    std::shared_ptr<BeaconEvent> buildCaptureEvent(const BeaconCaptureInput& input);

    /// The properties of an event. Keys already present win over later ones, so the caller's
    /// `properties` (merged last) never replace the library's.
    nlohmann::json buildProperties(const std::string& distinctId, const nlohmann::json& properties,
        const nlohmann::json& userProperties, const nlohmann::json& userPropertiesSetOnce,
        const std::map<std::string, std::string>& groups, bool appendSharedProps, TimePoint timestamp);

    /// Applies the sanitizer hook, stamps a time-ordered id and offers the event to
    /// `beforeSend`; null when dropped (logged). Whatever the hooks return is made safe to write.
    std::shared_ptr<BeaconEvent> buildEvent(const std::string& event, const std::string& distinctId,
        nlohmann::json properties, TimePoint timestamp);

    /// Super properties, `$groups`, `$feature/<key>` and `$active_feature_flags`.
    nlohmann::json registeredProperties();
    /// The value of `$process_person_profile` under the configured policy.
    bool shouldProcessPerson();

    /// The persisted group map (group type → key).
    std::map<std::string, std::string> groups();
    /// Records type → key; true when that changed the map (the caller then reloads flags).
    bool addGroup(const std::string& groupType, const std::string& groupKey);

    /// Merges into the persisted super properties (new values win), after sanitising.
    void registerProperties(const BeaconProperties& properties);
    void unregisterProperties(const std::string& key);

    static bool isReservedEventName(std::string_view event);
    /// The person properties for flag evaluation that one event carries: `$set_once`
    /// overlaid with `$set`.
    static nlohmann::json userPropertiesForFlags(
        const nlohmann::json& userProperties, const nlohmann::json& userPropertiesSetOnce);

private:
    TimePoint now() const;

    const std::shared_ptr<const BeaconConfig> m_config;
    const std::shared_ptr<BeaconStorage> m_storage;
    const std::shared_ptr<BeaconStorageManager> m_storageManager;
    const std::shared_ptr<BeaconSessionManager> m_sessionManager;
    const std::shared_ptr<BeaconRemoteConfig> m_remoteConfig;
    const std::shared_ptr<BeaconContext> m_context;
    const std::shared_ptr<BeaconClock> m_clock;

    std::mutex m_groupsLock; // the persisted "beacon.groups"
    std::mutex m_registerPropertiesLock; // the persisted "beacon.registerProperties"
};

// The library's own events, as capture input for the same path as any other event.

/// "$identify" for `distinctId`, carrying `distinct_id` and, when given, `$anon_distinct_id`.
BeaconCaptureInput makeIdentifyEvent(const std::string& distinctId,
    const std::optional<std::string>& anonDistinctId, BeaconProperties userProperties,
    BeaconProperties userPropertiesSetOnce);
/// "$set" for `distinctId` with `$set` / `$set_once`.
BeaconCaptureInput makeSetEvent(
    const std::string& distinctId, BeaconProperties userProperties, BeaconProperties userPropertiesSetOnce);
/// "$create_alias" with `alias`, for the current distinct id.
BeaconCaptureInput makeAliasEvent(const std::string& alias);
/// "$groupidentify" with `$group_type`, `$group_key` and, when given, `$group_set`.
BeaconCaptureInput makeGroupIdentifyEvent(const std::string& groupType, const std::string& groupKey,
    const std::optional<BeaconProperties>& groupProperties);
/// "$screen" with `$screen_name` (the title wins over a property of that name).
BeaconCaptureInput makeScreenEvent(const std::string& title, BeaconProperties properties);
/// "$feature_flag_called" with the properties the flag reader built.
BeaconCaptureInput makeFeatureFlagCalledEvent(const nlohmann::json& properties);

} // namespace beacon
