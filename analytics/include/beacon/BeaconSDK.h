#pragma once

#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "beacon/BeaconEventBuilder.h"
#include "beacon/BeaconFlagCallTracker.h"
#include "beacon/BeaconPropertyValue.h"
#include "beacon/BeaconRemoteConfig.h"

namespace beacon {

class BeaconConfig;
class BeaconIntegration;
class BeaconSerialQueue;

/// The analytics client: set up once with a `BeaconConfig`, then called from any thread.
///
/// Every operation but `setup` is ignored (with a debug line) until `setup` has completed, and
/// the ones that send data are ignored while the user has opted out. Nothing here throws or
/// blocks on the network: `capture` writes the event to the on-disk queue on the calling thread,
/// and uploads run on the queues' own threads.
class BeaconSDK : public std::enable_shared_from_this<BeaconSDK> {
public:
    /// Posted on the default notification centre, from another thread, once `setup` has completed.
    static constexpr const char* didStartNotification = "BeaconDidStart";

    /// The process-wide client. Never destroyed: uploads may still be finishing while the process exits.
    static BeaconSDK& shared();
    /// A client of its own (tests; hosts that need a second project key). Several clients share the
    /// process-wide analytics session and lifecycle publisher.
    static std::shared_ptr<BeaconSDK> create();
    /// Stops the queues; queued events stay on disk for the next client.
    ~BeaconSDK();

    BeaconSDK(const BeaconSDK&) = delete;
    BeaconSDK& operator=(const BeaconSDK&) = delete;

    /// Takes ownership of `config` (the client writes back `optOut` and `storageManager`) and
    /// starts: storage, identity, flags, both queues, the analytics session and the integrations.
    /// Only the first call counts until `close`.
    void setup(std::shared_ptr<BeaconConfig> config);
    /// True between a completed `setup` and `close`.
    bool isEnabled() const;

    /// Queues one event. Empty dictionaries count as not given.
    void capture(const std::string& event, const BeaconProperties& properties = {},
        const BeaconProperties& userProperties = {}, const BeaconProperties& userPropertiesSetOnce = {},
        const std::map<std::string, std::string>& groups = {});
    /// The same with every argument, including another distinct id and a timestamp.
    void capture(const BeaconCaptureInput& input);

    /// Links the events from now on to `distinctId`; see the three cases in the implementation.
    void identify(const std::string& distinctId, const BeaconProperties& userProperties = {},
        const BeaconProperties& userPropertiesSetOnce = {});
    /// Queues `$create_alias` for the current distinct id.
    void alias(const std::string& alias);
    /// Adds the current person to a group (remembered for later events) and queues `$groupidentify`.
    void group(const std::string& type, const std::string& key,
        const std::optional<BeaconProperties>& groupProperties = std::nullopt);
    /// Queues `$screen` named `title`.
    void screen(const std::string& title, const BeaconProperties& properties = {});

    /// Super properties: kept on disk and added to every later event.
    void registerProperties(const BeaconProperties& properties);
    void unregisterProperties(const std::string& key);
    /// Queues `$set` unless the same properties were just sent for the same person.
    void setPersonProperties(
        const BeaconProperties& userPropertiesToSet, const BeaconProperties& userPropertiesToSetOnce = {});

    /// Sends the next batch of each queue that may send now.
    void flush();
    /// Forgets the person: a new anonymous id (unless `reuseAnonymousId`), no super properties or
    /// groups, a new analytics session, and fresh flags.
    void reset();
    /// Stops and returns to "not set up": queues, timers and reachability stop, the identity files are
    /// deleted (as `reset` does), the session ends, the debug log goes off and integrations come out.
    void close();

    /// Persisted; while opted out nothing is captured and integrations are uninstalled.
    void optIn();
    void optOut();
    bool isOptOut() const;
    /// Switches the debug log on or off.
    void debug(bool enabled = true);

    /// Empty before `setup`.
    std::string getDistinctId() const;
    std::string getAnonymousId() const;
    std::optional<std::string> getSessionId() const;
    void startSession();
    void endSession();

    // Feature flags. Reads report `$feature_flag_called` once per (flag, value) in this client's life
    // (until `reset`), when flag events are on.
    void reloadFeatureFlags(BeaconRemoteConfig::FeatureFlagsCallback callback = {});
    std::optional<nlohmann::json> getFeatureFlag(
        const std::string& key, std::optional<bool> sendFeatureFlagEvent = std::nullopt);
    bool isFeatureEnabled(const std::string& key, std::optional<bool> sendFeatureFlagEvent = std::nullopt);
    std::optional<nlohmann::json> getFeatureFlagPayload(
        const std::string& key, std::optional<bool> sendFeatureFlagEvent = std::nullopt);
    std::optional<BeaconFeatureFlagResult> getFeatureFlagResult(
        const std::string& key, std::optional<bool> sendFeatureFlagEvent = std::nullopt);
    void setPersonPropertiesForFlags(const BeaconProperties& properties, bool reloadFeatureFlags = true);
    void resetPersonPropertiesForFlags(bool reloadFeatureFlags = true);
    void setGroupPropertiesForFlags(
        const std::string& groupType, const BeaconProperties& properties, bool reloadFeatureFlags = true);
    void resetGroupPropertiesForFlags(
        const std::optional<std::string>& groupType = std::nullopt, bool reloadFeatureFlags = true);

    /// The configuration in use; a default one before `setup` and after `close`. Read-only: the
    /// client owns it.
    std::shared_ptr<const BeaconConfig> config() const;
    /// The integrations installed now, in installation order.
    std::vector<std::shared_ptr<BeaconIntegration>> installedIntegrations() const;

    /// Waits until both queues have nothing in flight; false when `timeout` passes first.
    bool waitUntilIdleForTesting(std::chrono::milliseconds timeout = std::chrono::seconds(20)) const;

private:
    struct State;

    BeaconSDK();

    /// The set-up parts, or null (with the gate's debug line) before `setup` and after `close`.
    std::shared_ptr<State> gate() const;
    std::shared_ptr<State> state() const;
    /// The opt-out check of operations that send data, with its debug line.
    bool optedOut(const State& state) const;
    /// The opt-out flag as it is now, without logging.
    bool isOptedOutNow(const State& state) const;
    /// Sets and stores the opt-out flag; the set-up parts it was set on, or null before `setup`.
    std::shared_ptr<State> persistOptOut(bool optedOut);
    /// Builds the event and adds it to the queue it belongs in.
    void enqueue(const State& state, const BeaconCaptureInput& input) const;
    /// True when `userProperties`/`userPropertiesSetOnce` for `distinctId` were the last ones sent
    /// (logging `duplicateLine`); otherwise remembers them.
    bool isDuplicatePersonProperties(const std::string& distinctId, const nlohmann::json& userProperties,
        const nlohmann::json& userPropertiesSetOnce, const char* duplicateLine);
    void reportFlagCalled(
        const std::string& key, const nlohmann::json& value, const nlohmann::json& properties);

    // Both called with m_setupLock held.
    void installIntegrations(const State& state);
    void uninstallIntegrations();

    /// Stands in for the main queue: reachability changes and "BeaconDidStart" are delivered on it.
    std::shared_ptr<BeaconSerialQueue> mainQueue() const;

    mutable std::mutex m_setupLock; // setup, close and integration changes
    mutable std::mutex m_optOutLock; // the configuration's optOut
    std::mutex m_personPropsLock; // super properties
    std::mutex m_cachedPersonPropertiesLock;
    std::optional<std::string> m_cachedPersonPropertiesHash; // m_cachedPersonPropertiesLock
    std::mutex m_identityLock; // identify, reset and close, so an identity change is never half seen

    // Set early in `setup`. Shared with the person-properties provider, which runs on the flags
    // queue and must not hold the client: dropping the last hold there would destroy the client,
    // and with it the remote configuration, in the middle of the flags request.
    const std::shared_ptr<std::atomic<bool>> m_enabled = std::make_shared<std::atomic<bool>>(false);
    mutable std::mutex m_stateLock;
    std::shared_ptr<State> m_state; // m_stateLock; null while not set up
    std::shared_ptr<const BeaconConfig> m_idleConfig; // m_stateLock; what `config()` shows while not set up
    std::string m_apiKey; // m_setupLock

    BeaconFlagCallTracker m_flagCallReported;

    mutable std::mutex m_integrationsLock;
    std::vector<std::shared_ptr<BeaconIntegration>> m_installedIntegrations; // m_integrationsLock

    mutable std::mutex m_mainQueueLock;
    mutable std::shared_ptr<BeaconSerialQueue> m_mainQueue; // m_mainQueueLock; delivers notifications
};

} // namespace beacon
