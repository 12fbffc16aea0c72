#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace beacon::test {

using HeaderList = std::vector<std::pair<std::string, std::string>>;

/// One request as the server saw it.
struct RecordedRequest {
    std::string method;
    std::string path; ///< as sent (not percent-decoded), without the query
    std::string target; ///< path and query exactly as sent
    std::vector<std::pair<std::string, std::string>> query; ///< percent-decoded, in the order sent
    HeaderList headers {};
    /// The body as received. The server undoes a gzip Content-Encoding before the handler sees the
    /// body (and answers 400 itself when it is not valid gzip), so this is the decoded body.
    std::string body;

    /// First value of a header, names compared without case.
    std::optional<std::string> header(std::string_view name) const;
    std::size_t headerCount(std::string_view name) const;
};

/// What the server answers on a path.
struct CannedResponse {
    int status = 200;
    std::string body = "{}";
    std::string contentType = "application/json";
    HeaderList headers {};
    /// Waits this long before answering.
    std::chrono::milliseconds delay { 0 };
    /// Holds the request open without answering until `releaseHeldRequests` or the server stops.
    bool neverAnswer = false;
    /// Sends the body with chunked transfer encoding (no Content-Length).
    bool chunked = false;
};

/// An HTTP/1.1 server on 127.0.0.1 and a free port, running on its own threads from construction to
/// destruction. Records every request (before answering it) and answers from per-path responses.
class LoopbackHttpServer {
public:
    LoopbackHttpServer();
    ~LoopbackHttpServer();
    LoopbackHttpServer(const LoopbackHttpServer&) = delete;
    LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

    int port() const { return m_port; }
    /// "http://127.0.0.1:<port>", no trailing slash.
    std::string baseUrl() const;

    /// The answer for requests whose path (as sent, without the query) equals `path`.
    void setResponse(const std::string& path, CannedResponse response);
    /// The answer for every other path; initially 200 with "{}".
    void setDefaultResponse(CannedResponse response);

    std::vector<RecordedRequest> requests() const;
    std::size_t requestCount() const;
    /// True once at least `count` requests have been recorded; false when `timeout` passes first.
    bool waitForRequests(
        std::size_t count, std::chrono::milliseconds timeout = std::chrono::seconds(10)) const;
    void clearRequests();
    /// Lets every held (never answering) request finish with a 503.
    void releaseHeldRequests();

private:
    struct Impl;
    CannedResponse responseFor(const std::string& path) const;
    void record(RecordedRequest request);
    /// Sleeps for `delay`, or until released when `untilReleased`; returns early when the server stops.
    void hold(std::chrono::milliseconds delay, bool untilReleased);

    std::unique_ptr<Impl> m_impl;
    int m_port = 0;

    mutable std::mutex m_mutex;
    mutable std::condition_variable m_changed;
    std::vector<RecordedRequest> m_requests;
    std::map<std::string, CannedResponse> m_responses;
    CannedResponse m_defaultResponse;
    std::size_t m_releases = 0;
    bool m_stopping = false;
};

/// A loopback port that refuses connections: bound, never listening, for as long as this lives.
class RefusingPort {
public:
    RefusingPort();
    ~RefusingPort();
    RefusingPort(const RefusingPort&) = delete;
    RefusingPort& operator=(const RefusingPort&) = delete;

    int port() const { return m_port; }
    std::string baseUrl() const;

private:
    int m_socket = -1;
    int m_port = 0;
};

} // namespace beacon::test
