#pragma once

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include <nlohmann/json.hpp>

namespace beacon {

class BeaconConfig;
namespace detail {
class ApiTransfers;
}

/// HTTP client for the ingestion service: batch and snapshot uploads, feature flags and remote
/// configuration.
///
/// Every call returns at once; the request runs on a worker thread of its own and the completion is
/// called on that worker (never on the caller's thread, never before the call returns). Callers
/// re-dispatch as needed. Destroying the client aborts requests still in flight and waits for the
/// workers; completions that have not started by then are not called.
class BeaconApi {
public:
    /// HTTP status (0 when there was no response) and whether the request failed before or in
    /// transport. A received non-2xx status is not a failure.
    using UploadCompletion = std::function<void(int statusCode, bool failed)>;
    /// The response object, or nothing on any failure.
    using JsonCompletion = std::function<void(std::optional<nlohmann::json> response)>;

    static constexpr double defaultTimeout = 10.0;
    static constexpr const char* euHost = "https://eu.i.beacon-analytics.com";
    static constexpr const char* usAssetsHost = "https://us-assets.i.beacon-analytics.com";
    static constexpr const char* euAssetsHost = "https://eu-assets.i.beacon-analytics.com";
    /// Responses are read into memory up to this size; a larger one is a transport failure.
    static constexpr std::size_t maxResponseBytes = 10 * 1024 * 1024;

    /// The configuration's fields are read when each call is made. Without a configuration every call
    /// fails as if the host were malformed.
    explicit BeaconApi(std::shared_ptr<const BeaconConfig> config);
    ~BeaconApi();
    BeaconApi(const BeaconApi&) = delete;
    BeaconApi& operator=(const BeaconApi&) = delete;

    /// POSTs {"api_key", "batch": events, "sent_at"} gzip-compressed to host + "/batch".
    void batch(std::vector<nlohmann::json> events, UploadCompletion completion);
    /// POSTs the events, each given "api_key", as a gzip-compressed array to host + snapshotEndpoint.
    void snapshot(std::vector<nlohmann::json> events, UploadCompletion completion);
    /// POSTs the flag evaluation request to host + "/flags?v=2&config=true".
    /// `personProperties` and `groupProperties` are JSON objects (sent only when non-empty).
    void flags(std::string distinctId, std::optional<std::string> anonymousId,
        std::map<std::string, std::string> groups, nlohmann::json personProperties,
        nlohmann::json groupProperties, JsonCompletion completion);
    /// GETs (assets host) + "/array/" + apiKey + "/config".
    void remoteConfig(JsonCompletion completion);

    /// The timeout applied to every request: the configuration's override when it is a positive
    /// number, else `defaultTimeout`.
    static double requestTimeoutSeconds(const BeaconConfig& config);
    /// The host that serves remote configuration for `host`: the vendor's US and EU ingestion hosts
    /// map to their assets hosts, any other host is used as it is.
    static std::string remoteConfigHost(std::string_view host);
    /// host's path + "/" + path with every run of slashes collapsed, the host's query and fragment
    /// replaced by `query`. Nothing when `host` is not an absolute http(s) URL.
    static std::optional<std::string> endpointUrl(
        std::string_view host, std::string_view path, std::string_view query = {});

private:
    void upload(bool isSnapshot, std::vector<nlohmann::json> events, UploadCompletion completion);
    /// Runs `job` on a new worker. `onFailure` reports a worker that cannot be started (on the caller's
    /// thread) or a job that throws (on the worker).
    void start(std::function<void()> job, std::function<void(const std::string&)> onFailure);

    std::shared_ptr<const BeaconConfig> m_config;
    std::shared_ptr<detail::ApiTransfers> m_transfers;
    std::mutex m_workersMutex;
    std::vector<std::thread> m_workers;
};

} // namespace beacon
