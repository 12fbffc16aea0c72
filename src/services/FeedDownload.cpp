#include "FeedDownload.h"

#include <curl/curl.h>
#include <optional>

struct FeedDownload::Handles {
    std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> easy { curl_easy_init(), curl_easy_cleanup };
    std::unique_ptr<CURLM, decltype(&curl_multi_cleanup)> multi { curl_multi_init(), curl_multi_cleanup };
};

namespace {

struct BodySink {
    QByteArray data;
    std::size_t maxBytes = 0;
    bool tooLarge = false;
};

std::size_t writeBody(char* data, std::size_t size, std::size_t count, void* userData)
{
    auto* sink = static_cast<BodySink*>(userData);
    const std::size_t bytes = size * count;
    // Checked here as well: a chunked or compressed body announces no length.
    if (bytes > sink->maxBytes - static_cast<std::size_t>(sink->data.size())) {
        sink->tooLarge = true;
        return 0; // aborts the transfer
    }
    sink->data.append(data, static_cast<qsizetype>(bytes));
    return bytes;
}

template <typename Value> bool setOption(CURL* easy, CURLoption option, Value value)
{
    return curl_easy_setopt(easy, option, value) == CURLE_OK;
}

FeedResponse::Status statusFor(CURLcode code)
{
    switch (code) {
    case CURLE_OPERATION_TIMEDOUT:
        return FeedResponse::Status::TimedOut;
    case CURLE_FILESIZE_EXCEEDED:
        return FeedResponse::Status::TooLarge;
    default:
        return FeedResponse::Status::Unreachable;
    }
}

} // namespace

FeedDownload::FeedDownload(std::string url, std::string userAgent, FeedDownloadLimits limits)
    : m_url(std::move(url))
    , m_userAgent(std::move(userAgent))
    , m_limits(limits)
{
    // Not thread-safe on every libcurl build, so done once before any worker starts.
    [[maybe_unused]] static const CURLcode initialised = curl_global_init(CURL_GLOBAL_DEFAULT);
    m_handles = std::make_unique<Handles>();
}

FeedDownload::~FeedDownload() = default;

void FeedDownload::cancel()
{
    m_cancelled = true;
    if (m_handles->multi)
        curl_multi_wakeup(m_handles->multi.get()); // out of its poll at once
}

FeedResponse FeedDownload::run()
{
    FeedResponse response;
    CURL* easy = m_handles->easy.get();
    CURLM* multi = m_handles->multi.get();
    if (!easy || !multi) {
        response.detail = "could not create the HTTP request";
        return response;
    }
    char errorText[CURL_ERROR_SIZE] = {};
    BodySink sink { {}, m_limits.maxBytes, false };
    const bool configured = setOption(easy, CURLOPT_URL, m_url.c_str())
        && setOption(easy, CURLOPT_NOSIGNAL, 1L) // off the main thread
        && setOption(easy, CURLOPT_PROTOCOLS_STR, "http,https") && setOption(easy, CURLOPT_FOLLOWLOCATION, 1L)
        && setOption(easy, CURLOPT_MAXREDIRS, 5L)
        && setOption(easy, CURLOPT_REDIR_PROTOCOLS_STR, "https") // a redirect never drops to plain http
        && setOption(easy, CURLOPT_SSL_VERIFYPEER, 1L) && setOption(easy, CURLOPT_SSL_VERIFYHOST, 2L)
        && setOption(easy, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(m_limits.connectTimeout.count()))
        && setOption(easy, CURLOPT_TIMEOUT_MS, static_cast<long>(m_limits.totalTimeout.count()))
        && setOption(easy, CURLOPT_ACCEPT_ENCODING, "") // whatever libcurl can decode
        && setOption(easy, CURLOPT_USERAGENT, m_userAgent.c_str())
        && setOption(easy, CURLOPT_ERRORBUFFER, errorText)
        && setOption(easy, CURLOPT_WRITEFUNCTION, writeBody)
        && setOption(easy, CURLOPT_WRITEDATA, static_cast<void*>(&sink))
        && setOption(easy, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(m_limits.maxBytes));
    if (!configured || curl_multi_add_handle(multi, easy) != CURLM_OK) {
        response.detail = "could not configure the HTTP request";
        return response;
    }

    std::optional<CURLcode> result;
    for (;;) {
        if (m_cancelled) {
            response.status = FeedResponse::Status::Cancelled;
            break;
        }
        int running = 0;
        CURLMcode code = curl_multi_perform(multi, &running);
        if (code == CURLM_OK && running == 0) {
            int queued = 0;
            while (CURLMsg* message = curl_multi_info_read(multi, &queued)) {
                if (message->msg == CURLMSG_DONE)
                    result = message->data.result;
            }
            break;
        }
        if (code == CURLM_OK)
            code = curl_multi_poll(multi, nullptr, 0, 1000, nullptr);
        if (code != CURLM_OK) {
            response.detail = curl_multi_strerror(code);
            break;
        }
    }
    curl_multi_remove_handle(multi, easy);
    if (response.status == FeedResponse::Status::Cancelled || !result)
        return response;

    if (sink.tooLarge) {
        response.status = FeedResponse::Status::TooLarge;
        response.detail = "the feed is larger than " + std::to_string(m_limits.maxBytes) + " bytes";
        return response;
    }
    if (*result != CURLE_OK) {
        response.status = statusFor(*result);
        response.detail = errorText[0] ? std::string(errorText) : std::string(curl_easy_strerror(*result));
        return response;
    }
    curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &response.httpStatus);
    if (response.httpStatus < 200 || response.httpStatus > 299) {
        response.status = FeedResponse::Status::HttpError;
        response.detail = "HTTP status " + std::to_string(response.httpStatus);
        return response;
    }
    response.status = FeedResponse::Status::Received;
    response.body = std::move(sink.data);
    return response;
}
