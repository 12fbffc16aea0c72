#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "beacon/RegistrationToken.h"

namespace beacon {

class BeaconApi;
class BeaconConfig;
class BeaconNotificationCenter;
class BeaconSerialQueue;
class BeaconStorage;
class BeaconStorageManager;

/// One flag as the host reads it.
struct BeaconFeatureFlagResult {
    std::string key;
    bool enabled = false;
    std::optional<std::string> variant;
    std::optional<nlohmann::json> payload;

    bool operator==(const BeaconFeatureFlagResult&) const = default;
};

/// The project's remote configuration and the feature flags evaluated for the current
/// person: fetched from the ingestion service, cached in memory and in storage, and read
/// from any thread.
///
/// Fetches and response handling run on a serial queue of its own; each cached field has its
/// own lock. Callbacks and the "BeaconDidReceiveFeatureFlags" notification are delivered on
/// that queue, outside every lock. Once the destructor returns nothing more is delivered, and
/// answers still on the network are dropped.
class BeaconRemoteConfig {
public:
    static constexpr const char* hasFeatureFlagsKey = "hasFeatureFlags";
    static constexpr const char* didReceiveFeatureFlagsNotification = "BeaconDidReceiveFeatureFlags";
    static constexpr const char* dispatchQueueLabel = "com.beacon.remoteConfigQueue";
    static constexpr const char* quotaLimitsDocumentation
        = "https://beacon-analytics.com/docs/billing/limits-alerts";

    /// The person-properties context sent with flag requests (empty when the host turned it off).
    using PersonPropertiesProvider = std::function<nlohmann::json()>;
    /// The flag values (key → true/false/variant) after a load; nothing when none was loaded.
    using FeatureFlagsCallback = std::function<void(const std::optional<nlohmann::json>& flags)>;
    /// The remote configuration after a fetch; nothing when the fetch failed.
    using RemoteConfigCallback = std::function<void(const std::optional<nlohmann::json>& config)>;
    /// Asked to report one read of a flag as `$feature_flag_called` with `properties`. The
    /// client installs it and decides, per (key, value), whether it was reported already.
    using FlagCalledReporter = std::function<void(
        const std::string& key, const nlohmann::json& value, const nlohmann::json& properties)>;

    /// Loads the cached flags, remote configuration and flag properties from `storage`, then
    /// starts the remote-configuration fetch (when `config.remoteConfig`) or else a flag load
    /// (when `config.preloadFeatureFlags`). Without a storage manager flags are never fetched.
    /// `notificationCenter` defaults to the process-wide one.
    static std::shared_ptr<BeaconRemoteConfig> create(std::shared_ptr<const BeaconConfig> config,
        std::shared_ptr<BeaconStorage> storage, std::shared_ptr<BeaconStorageManager> storageManager,
        std::shared_ptr<BeaconApi> api, PersonPropertiesProvider getDefaultPersonProperties,
        BeaconNotificationCenter* notificationCenter = nullptr);
    ~BeaconRemoteConfig();

    BeaconRemoteConfig(const BeaconRemoteConfig&) = delete;
    BeaconRemoteConfig& operator=(const BeaconRemoteConfig&) = delete;

    /// Fetches the remote configuration; ignored while a fetch is in flight.
    void loadRemoteConfig();
    /// Fetches the flags for the current person. A reload asked for while one is in flight
    /// runs when it ends, so the answer always reflects the latest identity and properties.
    /// `callback` gets the flags once this reload is done, or nothing when it failed.
    void reloadFeatureFlags(FeatureFlagsCallback callback = {});

    /// Every known flag: key → true, false or the variant name.
    nlohmann::json getFeatureFlags() const;
    std::optional<nlohmann::json> getRemoteConfig() const;
    bool remoteConfigDidFetch() const;

    /// The flag's value (true, false or a variant name); nothing when unknown. Reports the read
    /// through the reporter when flag events are on (`sendFeatureFlagEvent` overrides the config).
    std::optional<nlohmann::json> getFeatureFlag(
        const std::string& key, std::optional<bool> sendFeatureFlagEvent = std::nullopt);
    /// True for the value true or a non-empty variant name. Reports like `getFeatureFlag`.
    bool isFeatureEnabled(const std::string& key, std::optional<bool> sendFeatureFlagEvent = std::nullopt);
    /// The flag's payload; nothing when it has none. Reports like `getFeatureFlag`.
    std::optional<nlohmann::json> getFeatureFlagPayload(
        const std::string& key, std::optional<bool> sendFeatureFlagEvent = std::nullopt);
    /// Key, enabled, variant and payload together; nothing for an unknown flag. Reports like
    /// `getFeatureFlag`.
    std::optional<BeaconFeatureFlagResult> getFeatureFlagResult(
        const std::string& key, std::optional<bool> sendFeatureFlagEvent = std::nullopt);

    /// Installed by the client; called on the reading thread, outside every lock.
    void setFlagCalledReporter(FlagCalledReporter reporter);

    /// Merged over the stored person properties for flags (new values win) and persisted.
    void setPersonPropertiesForFlags(const nlohmann::json& properties, bool reloadFeatureFlags = false);
    void resetPersonPropertiesForFlags(bool reloadFeatureFlags = false);
    /// Merged over the stored properties of `groupType` (new values win) and persisted.
    void setGroupPropertiesForFlags(
        const std::string& groupType, const nlohmann::json& properties, bool reloadFeatureFlags = false);
    /// Forgets the properties of one group type, or of every type when none is given. (One
    /// function, not two overloads: a string literal would pick a `bool` overload.)
    void resetGroupPropertiesForFlags(
        const std::optional<std::string>& groupType = std::nullopt, bool reloadFeatureFlags = false);
    nlohmann::json personPropertiesForFlags() const;
    nlohmann::json groupPropertiesForFlags() const;

    /// Called after each flag load (also after a quota-limited answer, which keeps the cached
    /// flags) and with nothing when the remote configuration could not be fetched.
    [[nodiscard]] std::unique_ptr<RegistrationToken> onFeatureFlagsLoaded(FeatureFlagsCallback callback);
    /// Called after each remote-configuration fetch.
    [[nodiscard]] std::unique_ptr<RegistrationToken> onRemoteConfigLoaded(RemoteConfigCallback callback);

    /// Waits until the work queued so far has run (not for requests still on the network).
    void flushForTesting();

private:
    struct Callbacks;
    struct Gate;

    /// Host code a task runs as its very last step, from copies: a callback may even release the
    /// last reference to this object.
    struct Delivery {
        std::vector<std::shared_ptr<const RemoteConfigCallback>> remoteConfigListeners;
        std::vector<std::shared_ptr<const FeatureFlagsCallback>> featureFlagsListeners;
        bool remoteConfigLoaded = false;
        std::optional<nlohmann::json> remoteConfig;
        bool featureFlagsLoaded = false; ///< listeners and the notification hear `featureFlags`
        std::optional<nlohmann::json> featureFlags;
        std::vector<FeatureFlagsCallback>
            reloadCallbacks; ///< hear `featureFlags` (nothing when the load failed)
        BeaconNotificationCenter* center = nullptr;
        const void* sender = nullptr;
    };

    BeaconRemoteConfig(std::shared_ptr<const BeaconConfig> config, std::shared_ptr<BeaconStorage> storage,
        std::shared_ptr<BeaconStorageManager> storageManager, std::shared_ptr<BeaconApi> api,
        PersonPropertiesProvider getDefaultPersonProperties, BeaconNotificationCenter* notificationCenter);

    void loadCachedValues();
    void post(std::function<void(BeaconRemoteConfig&)> task);
    void loadRemoteConfigOnQueue();
    void handleRemoteConfig(std::optional<nlohmann::json> response);
    void reloadFeatureFlagsOnQueue(FeatureFlagsCallback callback);
    void requestFlags(std::vector<FeatureFlagsCallback> callbacks);
    void handleFlagsResponse(
        std::optional<nlohmann::json> response, std::vector<FeatureFlagsCallback> callbacks);
    /// Applies a flags answer; false when it held no usable flags.
    bool applyFlagsResponse(const nlohmann::json& response);
    void clearFeatureFlags();
    Delivery prepareDelivery() const;
    static void deliver(Delivery delivery);

    struct FlagRead {
        std::optional<nlohmann::json> value;
        std::optional<nlohmann::json> payload;
    };
    FlagRead readFlag(const std::string& key, std::optional<bool> sendFeatureFlagEvent);

    const std::shared_ptr<const BeaconConfig> m_config;
    const std::shared_ptr<BeaconStorage> m_storage;
    const std::shared_ptr<BeaconStorageManager> m_storageManager;
    const std::shared_ptr<BeaconApi> m_api;
    const PersonPropertiesProvider m_getDefaultPersonProperties;
    BeaconNotificationCenter& m_notificationCenter;

    std::mutex m_loadingFeatureFlagsLock;
    bool m_loadingFeatureFlags = false; // m_loadingFeatureFlagsLock
    bool m_reloadPending = false; // m_loadingFeatureFlagsLock
    std::vector<FeatureFlagsCallback> m_pendingReloadCallbacks; // m_loadingFeatureFlagsLock

    mutable std::mutex m_featureFlagsLock;
    nlohmann::json m_flags = nlohmann::json::object(); // m_featureFlagsLock; key → full record
    nlohmann::json m_featureFlags = nlohmann::json::object(); // m_featureFlagsLock; key → value
    nlohmann::json m_featureFlagPayloads = nlohmann::json::object(); // m_featureFlagsLock
    std::optional<std::string> m_requestId; // m_featureFlagsLock
    std::optional<nlohmann::json> m_evaluatedAt; // m_featureFlagsLock; a number

    mutable std::mutex m_remoteConfigLock;
    std::optional<nlohmann::json> m_remoteConfig; // m_remoteConfigLock
    bool m_remoteConfigDidFetch = false; // m_remoteConfigLock

    std::mutex m_loadingRemoteConfigLock;
    bool m_loadingRemoteConfig = false; // m_loadingRemoteConfigLock

    mutable std::mutex m_personPropertiesForFlagsLock;
    nlohmann::json m_personPropertiesForFlags = nlohmann::json::object(); // m_personPropertiesForFlagsLock

    mutable std::mutex m_groupPropertiesForFlagsLock;
    nlohmann::json m_groupPropertiesForFlags = nlohmann::json::object(); // m_groupPropertiesForFlagsLock

    std::mutex m_reporterLock;
    std::shared_ptr<const FlagCalledReporter> m_flagCalledReporter; // m_reporterLock

    const std::shared_ptr<Callbacks> m_callbacks;
    const std::shared_ptr<Gate> m_gate;

    // Last, so it is stopped first: a task still running finishes while everything else exists.
    std::unique_ptr<BeaconSerialQueue> m_dispatchQueue;
};

} // namespace beacon
