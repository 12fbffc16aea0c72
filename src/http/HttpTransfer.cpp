#include "http/HttpTransfer.h"

#include <algorithm>
#include <climits>
#include <mutex>
#include <new>

#include <curl/curl.h>

namespace http {

struct Cancellation::State {
    mutable std::mutex mutex;
    bool cancelled = false;
    /// The multi handles of the transfers running now, to wake out of their polls.
    std::vector<CURLM*> running;
};

Cancellation::Cancellation()
    : m_state(std::make_unique<State>())
{ }

Cancellation::~Cancellation() = default;

void Cancellation::cancel()
{
    const std::lock_guard lock(m_state->mutex);
    m_state->cancelled = true;
    for (CURLM* multi : m_state->running)
        curl_multi_wakeup(multi);
}

bool Cancellation::cancelled() const
{
    const std::lock_guard lock(m_state->mutex);
    return m_state->cancelled;
}

void initialise()
{
    [[maybe_unused]] static const CURLcode code = curl_global_init(CURL_GLOBAL_DEFAULT);
}

/// Registers a running transfer with its cancellation, so that cancelling wakes it.
class TransferRegistration {
public:
    TransferRegistration(Cancellation* cancellation, CURLM* multi)
        : m_state(cancellation ? cancellation->m_state.get() : nullptr)
        , m_multi(multi)
    {
        if (!m_state)
            return;
        const std::lock_guard lock(m_state->mutex);
        m_cancelled = m_state->cancelled;
        if (!m_cancelled)
            m_state->running.push_back(m_multi);
    }
    ~TransferRegistration()
    {
        if (!m_state || m_cancelled)
            return;
        const std::lock_guard lock(m_state->mutex);
        std::erase(m_state->running, m_multi);
    }
    TransferRegistration(const TransferRegistration&) = delete;
    TransferRegistration& operator=(const TransferRegistration&) = delete;

    /// Cancelled before the transfer could start.
    bool cancelledAlready() const { return m_cancelled; }
    bool cancelled() const
    {
        if (!m_state)
            return false;
        const std::lock_guard lock(m_state->mutex);
        return m_state->cancelled;
    }

private:
    Cancellation::State* m_state;
    CURLM* m_multi;
    bool m_cancelled = false;
};

namespace {

struct BodySink {
    std::string data;
    std::size_t maxBytes = 0;
    bool tooLarge = false;
};

std::size_t writeBody(char* data, std::size_t size, std::size_t count, void* userData)
{
    auto* sink = static_cast<BodySink*>(userData);
    const std::size_t bytes = size * count;
    // Checked here as well: a chunked or compressed body announces no length.
    if (bytes > sink->maxBytes - sink->data.size()) {
        sink->tooLarge = true;
        return 0; // makes libcurl abort the transfer
    }
    try {
        sink->data.append(data, bytes);
    } catch (const std::bad_alloc&) {
        sink->tooLarge = true;
        return 0;
    }
    return bytes;
}

long milliseconds(std::chrono::milliseconds duration)
{
    return static_cast<long>(std::clamp<std::chrono::milliseconds::rep>(duration.count(), 0, LONG_MAX));
}

template <typename Value> bool setOption(CURL* easy, CURLoption option, Value value)
{
    return curl_easy_setopt(easy, option, value) == CURLE_OK;
}

bool configure(CURL* easy, const Request& request, curl_slist* headers, char* errorText, BodySink& sink)
{
    const Limits& limits = request.limits;
    bool configured = setOption(easy, CURLOPT_URL, request.url.c_str())
        && setOption(easy, CURLOPT_NOSIGNAL, 1L) // safe off the main thread
        && setOption(easy, CURLOPT_PROTOCOLS_STR, "http,https") && setOption(easy, CURLOPT_SSL_VERIFYPEER, 1L)
        && setOption(easy, CURLOPT_SSL_VERIFYHOST, 2L)
        && setOption(easy, CURLOPT_TIMEOUT_MS, milliseconds(limits.totalTimeout))
        && setOption(easy, CURLOPT_CONNECTTIMEOUT_MS, milliseconds(limits.connectTimeout))
        && setOption(easy, CURLOPT_ERRORBUFFER, errorText)
        && setOption(easy, CURLOPT_WRITEFUNCTION, writeBody)
        && setOption(easy, CURLOPT_WRITEDATA, static_cast<void*>(&sink))
        && setOption(easy, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(limits.maxResponseBytes));
    if (configured && headers)
        configured = setOption(easy, CURLOPT_HTTPHEADER, headers);
    if (configured && !request.userAgent.empty())
        configured = setOption(easy, CURLOPT_USERAGENT, request.userAgent.c_str());
    if (configured && request.acceptEncoding)
        configured = setOption(easy, CURLOPT_ACCEPT_ENCODING, request.acceptEncoding->c_str());
    if (configured && request.redirects == Redirects::followHttps) {
        configured = setOption(easy, CURLOPT_FOLLOWLOCATION, 1L) && setOption(easy, CURLOPT_MAXREDIRS, 5L)
            && setOption(easy, CURLOPT_REDIR_PROTOCOLS_STR, "https");
    } else if (configured) {
        configured = setOption(easy, CURLOPT_FOLLOWLOCATION, 0L);
    }
    if (configured && request.method == Request::Method::post) {
        configured = setOption(easy, CURLOPT_POST, 1L)
            && setOption(easy, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(request.body.size()))
            && setOption(easy, CURLOPT_POSTFIELDS, request.body.data());
    } else if (configured) {
        configured = setOption(easy, CURLOPT_HTTPGET, 1L);
    }
    return configured;
}

Response failure(Response::Status status, std::string error)
{
    Response response;
    response.status = status;
    response.error = std::move(error);
    return response;
}

} // namespace

Response perform(const Request& request, Cancellation* cancellation)
{
    initialise();
    if (cancellation && cancellation->cancelled())
        return failure(Response::Status::cancelled, {});

    const std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> easy(curl_easy_init(), curl_easy_cleanup);
    const std::unique_ptr<CURLM, decltype(&curl_multi_cleanup)> multi(curl_multi_init(), curl_multi_cleanup);
    std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)> headers(nullptr, curl_slist_free_all);
    if (!easy || !multi)
        return failure(Response::Status::failed, "could not create the HTTP request");
    for (const std::string& line : request.headers) {
        curl_slist* appended = curl_slist_append(headers.get(), line.c_str());
        if (!appended)
            return failure(Response::Status::failed, "could not create the HTTP request");
        if (!headers)
            headers.reset(appended); // later appends return the same head
    }
    char errorText[CURL_ERROR_SIZE] = {};
    BodySink sink { {}, request.limits.maxResponseBytes, false };
    if (!configure(easy.get(), request, headers.get(), errorText, sink)
        || curl_multi_add_handle(multi.get(), easy.get()) != CURLM_OK)
        return failure(Response::Status::failed, "could not configure the HTTP request");

    Response response;
    std::optional<CURLcode> result;
    {
        const TransferRegistration registration(cancellation, multi.get());
        for (bool cancelled = registration.cancelledAlready(); !cancelled;
             cancelled = registration.cancelled()) {
            int running = 0;
            CURLMcode code = curl_multi_perform(multi.get(), &running);
            if (code == CURLM_OK && running == 0) {
                int queued = 0;
                while (CURLMsg* message = curl_multi_info_read(multi.get(), &queued)) {
                    if (message->msg == CURLMSG_DONE)
                        result = message->data.result;
                }
                if (!result)
                    response.error = "the HTTP transfer ended without a result";
                break;
            }
            if (code == CURLM_OK)
                code = curl_multi_poll(multi.get(), nullptr, 0, 1000, nullptr);
            if (code != CURLM_OK) {
                response.error = curl_multi_strerror(code);
                break;
            }
        }
    }
    curl_multi_remove_handle(multi.get(), easy.get());

    if (!result) {
        response.status = response.error.empty() ? Response::Status::cancelled : Response::Status::failed;
        return response;
    }
    if (sink.tooLarge || *result == CURLE_FILESIZE_EXCEEDED) {
        return failure(Response::Status::tooLarge,
            "the response is larger than " + std::to_string(request.limits.maxResponseBytes) + " bytes");
    }
    if (*result != CURLE_OK) {
        return failure(
            *result == CURLE_OPERATION_TIMEDOUT ? Response::Status::timedOut : Response::Status::failed,
            errorText[0] ? std::string(errorText) : std::string(curl_easy_strerror(*result)));
    }
    response.status = Response::Status::received;
    curl_easy_getinfo(easy.get(), CURLINFO_RESPONSE_CODE, &response.httpStatus);
    response.body = std::move(sink.data);
    return response;
}

} // namespace http
