#pragma once

#include <chrono>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace http {

/// What a transfer may cost before it is given up.
struct Limits {
    /// Zero leaves connecting to the total timeout alone.
    std::chrono::milliseconds connectTimeout { 0 };
    std::chrono::milliseconds totalTimeout { 30'000 };
    /// A larger body, announced or not, ends the transfer as `tooLarge`.
    std::size_t maxResponseBytes = std::size_t(2) * 1024 * 1024;
};

/// What a 3xx answer leads to.
enum class Redirects {
    handBack, ///< the 3xx is the response
    followHttps, ///< followed (at most five), but only to https: a redirect to plain http fails the transfer
};

struct Request {
    enum class Method { get, post };
    Method method = Method::get;
    /// http or https; any other scheme fails the transfer.
    std::string url;
    /// Whole lines ("Name: value"). "Name:" removes a header libcurl would add.
    std::vector<std::string> headers;
    /// Sent with `post`, as it is.
    std::string body;
    std::string userAgent;
    /// The Accept-Encoding header, decoded on arrival; empty sends every encoding libcurl can decode.
    /// Without it the body arrives as the server sends it.
    std::optional<std::string> acceptEncoding;
    Redirects redirects = Redirects::handBack;
    Limits limits {};
};

struct Response {
    enum class Status {
        received, ///< an HTTP answer of any status
        failed, ///< no answer: refused, unresolved, TLS, a refused redirect...
        timedOut,
        tooLarge,
        cancelled,
    };
    Status status = Status::failed;
    long httpStatus = 0;
    std::string body;
    /// Why it failed, in libcurl's words or ours; empty when received.
    std::string error;
};

/// Stops transfers from any thread: those running return `cancelled` at once (they wait in a poll
/// that this wakes), later ones before they send anything. One may serve any number of transfers.
class Cancellation {
public:
    Cancellation();
    ~Cancellation();
    Cancellation(const Cancellation&) = delete;
    Cancellation& operator=(const Cancellation&) = delete;

    void cancel();
    bool cancelled() const;

private:
    friend class TransferRegistration;
    struct State;
    std::unique_ptr<State> m_state;
};

/// Prepares libcurl for use. Not thread-safe on every libcurl build, so call it once on the main
/// thread before any worker transfers; later calls do nothing.
void initialise();

/// One HTTP transfer with libcurl. Blocks until it ends, so it belongs on a worker thread.
Response perform(const Request& request, Cancellation* cancellation = nullptr);

} // namespace http
