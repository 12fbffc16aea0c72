#include "beacon/BeaconApi.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <climits>
#include <cmath>
#include <utility>

#include <curl/curl.h>

#include "beacon/BeaconApiDateFormatter.h"
#include "beacon/BeaconApiResponse.h"
#include "beacon/BeaconClock.h"
#include "beacon/BeaconConfig.h"
#include "beacon/BeaconGzip.h"
#include "beacon/BeaconLog.h"
#include "beacon/BeaconVersion.h"
#include "http/HttpTransfer.h"

namespace beacon {

namespace detail {
/// The requests a client has in flight, so that destroying the client can abort them at once, and
/// the workers that have finished, so that the next request can join them.
class ApiTransfers {
public:
    http::Cancellation& cancellation() { return m_cancellation; }
    void stopAll() { m_cancellation.cancel(); }
    bool stopping() const { return m_cancellation.cancelled(); }

    void markFinished(std::thread::id worker)
    {
        const std::lock_guard lock(m_mutex);
        m_finished.push_back(worker);
    }

    std::vector<std::thread::id> takeFinished()
    {
        const std::lock_guard lock(m_mutex);
        return std::exchange(m_finished, {});
    }

private:
    http::Cancellation m_cancellation;
    std::mutex m_mutex;
    std::vector<std::thread::id> m_finished;
};
} // namespace detail

namespace {
using nlohmann::json;

struct HttpResponse {
    long status = 0;
    std::string body;
    std::optional<std::string> error; ///< set when the transport failed
    bool cancelled = false; ///< the client is going away: report nothing
};

std::chrono::milliseconds timeoutMilliseconds(double seconds)
{
    const double milliseconds = std::ceil(seconds * 1000.0);
    if (!(milliseconds < static_cast<double>(LONG_MAX)))
        return std::chrono::milliseconds(LONG_MAX);
    return std::chrono::milliseconds(std::max(1L, static_cast<long>(milliseconds)));
}

HttpResponse perform(detail::ApiTransfers& transfers, const http::Request& request)
{
    http::Response answer = http::perform(request, &transfers.cancellation());
    HttpResponse response;
    switch (answer.status) {
    case http::Response::Status::received:
        response.status = answer.httpStatus;
        response.body = std::move(answer.body);
        break;
    case http::Response::Status::cancelled:
        response.cancelled = true;
        break;
    case http::Response::Status::failed:
    case http::Response::Status::timedOut:
    case http::Response::Status::tooLarge:
        response.error = std::move(answer.error);
        break;
    }
    return response;
}

bool isSuccess(long status)
{
    return status >= 200 && status <= 299;
}

std::string lowercase(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
        [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

/// Escapes everything but unreserved characters, so a key can never change the URL's shape.
std::string escapePathSegment(std::string_view segment)
{
    static constexpr char hex[] = "0123456789ABCDEF";
    std::string escaped;
    for (const char c : segment) {
        const auto byte = static_cast<unsigned char>(c);
        const bool unreserved = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (unreserved || c == '-' || c == '.' || c == '_' || c == '~') {
            escaped.push_back(c);
        } else {
            escaped.push_back('%');
            escaped.push_back(hex[byte >> 4]);
            escaped.push_back(hex[byte & 0x0f]);
        }
    }
    return escaped;
}

std::string collapseSlashes(std::string_view path)
{
    std::string collapsed;
    for (const char c : path) {
        if (c == '/' && !collapsed.empty() && collapsed.back() == '/')
            continue;
        collapsed.push_back(c);
    }
    return collapsed;
}

/// A completion that is called at most once, never after its client started going away, and whose
/// exceptions do not end the worker (and with it the process).
template <typename Completion> class OnceCompletion {
public:
    OnceCompletion(Completion completion, std::shared_ptr<detail::ApiTransfers> transfers)
        : m_completion(std::move(completion))
        , m_transfers(std::move(transfers))
    { }

    template <typename... Args> void operator()(Args&&... args)
    {
        if (m_called.exchange(true) || !m_completion || m_transfers->stopping())
            return;
        try {
            m_completion(std::forward<Args>(args)...);
        } catch (...) {
            // The caller's own fault; nothing useful to do with it on this thread.
        }
    }

private:
    Completion m_completion;
    std::shared_ptr<detail::ApiTransfers> m_transfers;
    std::atomic<bool> m_called { false };
};

/// What a call reads from the configuration, taken on the caller's thread.
struct CallSettings {
    std::string host;
    std::string apiKey;
    std::string userAgent;
    double timeoutSeconds = BeaconApi::defaultTimeout;
};

CallSettings settingsFrom(const BeaconConfig& config)
{
    return { config.host, config.apiKey, BeaconVersion::userAgent(),
        BeaconApi::requestTimeoutSeconds(config) };
}

/// Stands in for a missing configuration: no URL can be built from it, so every call fails cleanly
/// instead of sending anywhere.
std::shared_ptr<const BeaconConfig> unusableConfig()
{
    auto config = std::make_shared<BeaconConfig>("");
    config->host.clear();
    return config;
}

http::Request makeRequest(
    const CallSettings& settings, bool post, std::string url, std::string body = {}, bool gzipped = false)
{
    http::Request request;
    request.method = post ? http::Request::Method::post : http::Request::Method::get;
    request.url = std::move(url);
    request.body = std::move(body);
    request.userAgent = settings.userAgent;
    request.headers = {
        "Content-Type: application/json; charset=utf-8",
        "Expect:", // no 100-continue round trip before the body
    };
    if (gzipped) {
        request.headers.emplace_back("Content-Encoding: gzip");
        request.acceptEncoding = "gzip"; // libcurl then also decodes a gzip answer
    }
    request.redirects = http::Redirects::handBack; // the queue decides what a 3xx means
    request.limits.totalTimeout = timeoutMilliseconds(settings.timeoutSeconds);
    request.limits.maxResponseBytes = BeaconApi::maxResponseBytes;
    return request;
}
} // namespace

BeaconApi::BeaconApi(std::shared_ptr<const BeaconConfig> config)
    : m_config(config ? std::move(config) : unusableConfig())
    , m_transfers(std::make_shared<detail::ApiTransfers>())
{
    http::initialise();
}

BeaconApi::~BeaconApi()
{
    m_transfers->stopAll();
    std::vector<std::thread> workers;
    {
        const std::lock_guard lock(m_workersMutex);
        workers.swap(m_workers);
    }
    for (std::thread& worker : workers) {
        // A completion may destroy its own client; that worker cannot join itself. It only holds
        // shared state from here on, so letting it run out is safe.
        if (worker.get_id() == std::this_thread::get_id())
            worker.detach();
        else
            worker.join();
    }
}

double BeaconApi::requestTimeoutSeconds(const BeaconConfig& config)
{
    if (config.urlSessionConfiguration && config.urlSessionConfiguration->requestTimeoutSeconds) {
        const double seconds = *config.urlSessionConfiguration->requestTimeoutSeconds;
        if (std::isfinite(seconds) && seconds > 0)
            return seconds;
    }
    return defaultTimeout;
}

std::string BeaconApi::remoteConfigHost(std::string_view host)
{
    if (host == BeaconConfig::defaultHost)
        return usAssetsHost;
    if (host == euHost)
        return euAssetsHost;
    return std::string(host);
}

std::optional<std::string> BeaconApi::endpointUrl(
    std::string_view host, std::string_view path, std::string_view query)
{
    const std::unique_ptr<CURLU, decltype(&curl_url_cleanup)> url(curl_url(), curl_url_cleanup);
    if (!url)
        return std::nullopt;
    const std::string hostText(host);
    if (curl_url_set(url.get(), CURLUPART_URL, hostText.c_str(), 0) != CURLUE_OK)
        return std::nullopt;

    auto get = [&](CURLUPart part) -> std::optional<std::string> {
        char* value = nullptr;
        if (curl_url_get(url.get(), part, &value, 0) != CURLUE_OK || !value)
            return std::nullopt;
        std::string text(value);
        curl_free(value);
        return text;
    };
    const std::optional<std::string> scheme = get(CURLUPART_SCHEME);
    if (!scheme || (lowercase(*scheme) != "http" && lowercase(*scheme) != "https"))
        return std::nullopt;
    const std::string joined = collapseSlashes(get(CURLUPART_PATH).value_or("") + "/" + std::string(path));
    const std::string queryText(query);
    if (curl_url_set(url.get(), CURLUPART_PATH, joined.c_str(), 0) != CURLUE_OK
        || curl_url_set(url.get(), CURLUPART_QUERY, queryText.empty() ? nullptr : queryText.c_str(), 0)
            != CURLUE_OK
        || curl_url_set(url.get(), CURLUPART_FRAGMENT, nullptr, 0) != CURLUE_OK)
        return std::nullopt;
    return get(CURLUPART_URL);
}

void BeaconApi::batch(std::vector<json> events, UploadCompletion completion)
{
    upload(false, std::move(events), std::move(completion));
}

void BeaconApi::snapshot(std::vector<json> events, UploadCompletion completion)
{
    upload(true, std::move(events), std::move(completion));
}

void BeaconApi::upload(bool isSnapshot, std::vector<json> events, UploadCompletion completion)
{
    const BeaconConfig& config = *m_config;
    const CallSettings settings = settingsFrom(config);
    const std::string endpoint = isSnapshot ? config.snapshotEndpoint : std::string("/batch");
    const std::string sentAt
        = BeaconApiDateFormatter::formatWithMilliseconds(clockOrSystem(config.clock)->now());
    auto done = std::make_shared<OnceCompletion<UploadCompletion>>(std::move(completion), m_transfers);
    const char* name = isSnapshot ? "snapshot" : "batch";

    auto job = [transfers = m_transfers, settings, endpoint, sentAt, isSnapshot, name, done,
                   events = std::move(events)]() mutable {
        auto finish = [&](int status, bool failed) { (*done)(status, failed); };
        const std::optional<std::string> url = endpointUrl(settings.host, endpoint);
        if (!url) {
            debugLog(std::string("[Beacon] Malformed ") + name + " URL error.");
            return finish(0, true);
        }
        std::string body;
        try {
            json payload;
            if (isSnapshot) {
                payload = json::array();
                for (json& event : events) {
                    if (event.is_object())
                        event["api_key"] = settings.apiKey;
                    payload.push_back(std::move(event));
                }
            } else {
                payload = json::object();
                payload["api_key"] = settings.apiKey;
                payload["batch"] = json(std::move(events));
                payload["sent_at"] = sentAt;
            }
            body = payload.dump(); // throws on text that is not UTF-8
        } catch (const std::exception&) {
            debugLog(std::string("[Beacon] Error parsing the ") + name + " body");
            return finish(0, true);
        }
        GzipResult compressed = gzipCompress(body);
        if (!compressed) {
            debugLog(std::string("Error gzipping the ") + name + " body: " + compressed.error->message + ".");
            return finish(0, true);
        }
        body = std::string();

        const HttpResponse response
            = perform(*transfers, makeRequest(settings, true, *url, std::move(compressed.data), true));
        if (response.cancelled)
            return;
        if (response.error) {
            debugLog(std::string("Error calling the ") + name + " API: " + *response.error + ".");
            return finish(0, true);
        }
        const int status = static_cast<int>(response.status);
        if (isSuccess(response.status)) {
            debugLog(
                isSnapshot ? "[Beacon] Snapshots sent successfully." : "[Beacon] Events sent successfully.");
            return finish(status, false);
        }
        const BeaconJsonObjectParse parsed = parseJsonObjectResponse(response.body);
        debugLog(std::string("Error sending events to ") + name + " API: status: " + std::to_string(status)
            + ", body: " + (parsed.object ? parsed.object->dump() : std::string("nil")) + ".");
        finish(status, false);
    };
    start(std::move(job), [name, done](const std::string& error) {
        debugLog(std::string("Error calling the ") + name + " API: " + error + ".");
        (*done)(0, true);
    });
}

void BeaconApi::flags(std::string distinctId, std::optional<std::string> anonymousId,
    std::map<std::string, std::string> groups, json personProperties, json groupProperties,
    JsonCompletion completion)
{
    const BeaconConfig& config = *m_config;
    const CallSettings settings = settingsFrom(config);
    const std::optional<std::vector<std::string>> evaluationContexts = config.evaluationContexts;
    auto done = std::make_shared<OnceCompletion<JsonCompletion>>(std::move(completion), m_transfers);

    auto job = [transfers = m_transfers, settings, evaluationContexts, done,
                   distinctId = std::move(distinctId), anonymousId = std::move(anonymousId),
                   groups = std::move(groups), personProperties = std::move(personProperties),
                   groupProperties = std::move(groupProperties)]() mutable {
        auto finish = [&](std::optional<json> response) { (*done)(std::move(response)); };
        const std::optional<std::string> url = endpointUrl(settings.host, "/flags", "v=2&config=true");
        if (!url) {
            debugLog("[Beacon] Malformed flags URL error.");
            return finish(std::nullopt);
        }
        std::string body;
        try {
            json payload = json::object();
            payload["api_key"] = settings.apiKey;
            payload["distinct_id"] = std::move(distinctId);
            payload["groups"] = std::move(groups);
            if (anonymousId)
                payload["$anon_distinct_id"] = std::move(*anonymousId);
            if (personProperties.is_object() && !personProperties.empty())
                payload["person_properties"] = std::move(personProperties);
            if (groupProperties.is_object() && !groupProperties.empty())
                payload["group_properties"] = std::move(groupProperties);
            if (evaluationContexts && !evaluationContexts->empty())
                payload["evaluation_contexts"] = *evaluationContexts;
            body = payload.dump();
        } catch (const std::exception&) {
            debugLog("[Beacon] Error parsing the flags body");
            return finish(std::nullopt);
        }

        const HttpResponse response = perform(*transfers, makeRequest(settings, true, *url, std::move(body)));
        if (response.cancelled)
            return;
        if (response.error) {
            debugLog("Error calling the flags API: " + *response.error);
            return finish(std::nullopt);
        }
        if (!isSuccess(response.status)) {
            debugLog("Error calling flags API: status: " + std::to_string(response.status));
            return finish(std::nullopt);
        }
        if (response.body.empty()) {
            debugLog("[Beacon] Error parsing the flags response: no data");
            return finish(std::nullopt);
        }
        BeaconJsonObjectParse parsed = parseJsonObjectResponse(response.body);
        if (!parsed.object) {
            debugLog("Error parsing the flags response: " + parsed.error);
            return finish(std::nullopt);
        }
        debugLog("[Beacon] Flags called successfully.");
        finish(std::move(parsed.object));
    };
    start(std::move(job), [done](const std::string& error) {
        debugLog("Error calling the flags API: " + error);
        (*done)(std::nullopt);
    });
}

void BeaconApi::remoteConfig(JsonCompletion completion)
{
    const CallSettings settings = settingsFrom(*m_config);
    auto done = std::make_shared<OnceCompletion<JsonCompletion>>(std::move(completion), m_transfers);

    auto job = [transfers = m_transfers, settings, done]() {
        auto finish = [&](std::optional<json> response) { (*done)(std::move(response)); };
        const std::optional<std::string> url = endpointUrl(
            remoteConfigHost(settings.host), "/array/" + escapePathSegment(settings.apiKey) + "/config");
        if (!url) {
            debugLog("[Beacon] Error calling the remote config API: unable to create request");
            return finish(std::nullopt);
        }

        const HttpResponse response = perform(*transfers, makeRequest(settings, false, *url));
        if (response.cancelled)
            return;
        if (response.error) {
            debugLog("Error calling the remote config API: " + *response.error);
            return finish(std::nullopt);
        }
        if (!isSuccess(response.status)) {
            debugLog("Error calling the remote config API: status: " + std::to_string(response.status));
            return finish(std::nullopt);
        }
        if (response.body.empty()) {
            debugLog("[Beacon] Error parsing the remote config response: no data");
            return finish(std::nullopt);
        }
        BeaconJsonObjectParse parsed = parseJsonObjectResponse(response.body);
        if (!parsed.object) {
            debugLog("Error parsing the remote config response: " + parsed.error);
            return finish(std::nullopt);
        }
        debugLog("[Beacon] Remote config called successfully.");
        finish(std::move(parsed.object));
    };
    start(std::move(job), [done](const std::string& error) {
        debugLog("Error calling the remote config API: " + error);
        (*done)(std::nullopt);
    });
}

void BeaconApi::start(std::function<void()> job, std::function<void(const std::string&)> onFailure)
{
    const std::lock_guard lock(m_workersMutex);
    // Join workers that have finished so the list only holds live ones.
    for (const std::thread::id finished : m_transfers->takeFinished()) {
        const auto worker = std::find_if(m_workers.begin(), m_workers.end(),
            [&](const std::thread& thread) { return thread.get_id() == finished; });
        if (worker != m_workers.end()) {
            worker->join();
            m_workers.erase(worker);
        }
    }
    try {
        m_workers.emplace_back([transfers = m_transfers, job = std::move(job), onFailure] {
            try {
                job();
            } catch (const std::exception& error) {
                // Out of memory mid-request: this request fails, the process goes on.
                onFailure(error.what());
            }
            transfers->markFinished(std::this_thread::get_id());
        });
    } catch (const std::exception& error) {
        onFailure(error.what());
    }
}

} // namespace beacon
