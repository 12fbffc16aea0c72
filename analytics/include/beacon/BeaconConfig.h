#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "beacon/BeaconUuid.h"

namespace beacon {

class BeaconClock;
class BeaconEvent;
class BeaconPlatform;
class BeaconStorageManager;

/// Network restriction for sending; only `wifiOnly` changes behaviour.
enum class BeaconDataMode : int { wifiOnly = 0, cellular = 1, any = 2 };

/// Person-processing policy.
enum class BeaconPersonProfiles : int { never = 0, always = 1, identifiedOnly = 2 };

/// Called with each event's properties before the event is built.
class BeaconPropertiesSanitizer {
public:
    virtual ~BeaconPropertiesSanitizer() = default;
    virtual nlohmann::json sanitize(nlohmann::json properties) = 0;
};

/// Survey presentation hooks; nothing is rendered on the desktop.
class BeaconSurveysDelegate {
public:
    virtual ~BeaconSurveysDelegate() = default;
    virtual void renderSurvey() { }
    virtual void cleanupSurveys() { }
};
class BeaconSurveysDefaultDelegate final : public BeaconSurveysDelegate { };

struct BeaconSurveysConfig {
    std::shared_ptr<BeaconSurveysDelegate> surveysDelegate = std::make_shared<BeaconSurveysDefaultDelegate>();
};

/// What every HTTP request starts from (the desktop's stand-in for a URL-session configuration).
struct BeaconUrlSessionConfiguration {
    /// Replaces the client's 10-second request timeout when set (tests shorten it).
    std::optional<double> requestTimeoutSeconds;
};

/// Configuration handed to `BeaconSDK::setup`; the client owns it from then on.
class BeaconConfig {
public:
    static constexpr const char* defaultHost = "https://us.i.beacon-analytics.com";

    explicit BeaconConfig(std::string apiKey);
    BeaconConfig(std::string apiKey, const std::string& host);

    std::string host; ///< base URL of the ingestion service (always a valid absolute URL)
    std::string apiKey;
    int flushAt = 20;
    int maxQueueSize = 1000;
    int maxBatchSize = 50;
    double flushIntervalSeconds = 30.0;
    BeaconDataMode dataMode = BeaconDataMode::any;
    bool sendFeatureFlagEvent = true;
    bool preloadFeatureFlags = true;
    bool remoteConfig = true;
    bool captureApplicationLifecycleEvents = true;
    bool captureScreenViews = true;
    bool enableSwizzling = true;
    bool debug = false;
    bool optOut = false;
    std::function<BeaconUuid(BeaconUuid)> getAnonymousId = [](BeaconUuid id) { return id; };
    bool reuseAnonymousId = false;
    std::shared_ptr<BeaconPropertiesSanitizer> propertiesSanitizer;
    BeaconPersonProfiles personProfiles = BeaconPersonProfiles::identifiedOnly;
    bool setDefaultPersonProperties = true;
    std::optional<std::vector<std::string>> evaluationContexts;
    std::optional<std::string> appGroupIdentifier;
    std::string snapshotEndpoint = "/s/";
    std::optional<BeaconUrlSessionConfiguration> urlSessionConfiguration;
    bool disableReachabilityForTesting = false;
    bool disableQueueTimerForTesting = false;
    std::shared_ptr<BeaconStorageManager> storageManager;
    bool surveys = true;
    BeaconSurveysConfig surveysConfig;
    /// Last hook before queueing; returning null drops the event.
    std::function<std::shared_ptr<BeaconEvent>(std::shared_ptr<BeaconEvent>)> beforeSend
        = [](std::shared_ptr<BeaconEvent> event) { return event; };

    /// Deprecated alias of `evaluationContexts`.
    const std::optional<std::vector<std::string>>& evaluationEnvironments() const
    {
        return evaluationContexts;
    }
    void setEvaluationEnvironments(std::optional<std::vector<std::string>> contexts);

    // Desktop hooks: where the library meets the application (and tests).
    /// Application facts, folders, lifecycle and network state; a headless default when absent.
    std::shared_ptr<BeaconPlatform> platform;
    /// Wall-clock time source; the system clock when absent.
    std::shared_ptr<BeaconClock> clock;
};

} // namespace beacon
