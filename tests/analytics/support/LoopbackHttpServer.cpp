#include "LoopbackHttpServer.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>
#include <thread>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <httplib.h>

#include "LoopbackServing.h"

#if defined(__SANITIZE_THREAD__)
#define VELTO_TSAN 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define VELTO_TSAN 1
#endif
#endif

#ifdef VELTO_TSAN
// cpp-httplib comes from the distribution, built without ThreadSanitizer. Its function-local statics
// are read behind an inline guard check that the sanitizer cannot see, so their first use looks like
// a race between the server's workers. Only stacks through the server library are silenced; the
// client under test never runs on them.
extern "C" const char* __tsan_default_suppressions()
{
    return "race:libcpp-httplib.so\n";
}
#endif

namespace beacon::test {
namespace {
bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

std::string percentDecode(std::string_view text)
{
    auto hexValue = [](char c) -> int {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    };
    std::string decoded;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && hexValue(text[i + 1]) >= 0
            && hexValue(text[i + 2]) >= 0) {
            decoded.push_back(static_cast<char>(hexValue(text[i + 1]) * 16 + hexValue(text[i + 2])));
            i += 2;
        } else if (text[i] == '+') {
            decoded.push_back(' ');
        } else {
            decoded.push_back(text[i]);
        }
    }
    return decoded;
}

std::vector<std::pair<std::string, std::string>> parseQuery(std::string_view query)
{
    std::vector<std::pair<std::string, std::string>> items;
    while (!query.empty()) {
        const std::size_t end = std::min(query.find('&'), query.size());
        const std::string_view item = query.substr(0, end);
        if (!item.empty()) {
            const std::size_t equals = item.find('=');
            if (equals == std::string_view::npos)
                items.emplace_back(percentDecode(item), "");
            else
                items.emplace_back(
                    percentDecode(item.substr(0, equals)), percentDecode(item.substr(equals + 1)));
        }
        query.remove_prefix(std::min(end + 1, query.size()));
    }
    return items;
}
} // namespace

std::optional<std::string> RecordedRequest::header(std::string_view name) const
{
    for (const auto& [key, value] : headers) {
        if (equalsIgnoringCase(key, name))
            return value;
    }
    return std::nullopt;
}

std::size_t RecordedRequest::headerCount(std::string_view name) const
{
    return static_cast<std::size_t>(std::count_if(headers.begin(), headers.end(),
        [&](const auto& header) { return equalsIgnoringCase(header.first, name); }));
}

struct LoopbackHttpServer::Impl {
    httplib::Server server;
    std::thread thread;
    int listeningSocket = -1;
};

LoopbackHttpServer::LoopbackHttpServer()
    : m_impl(std::make_unique<Impl>())
{
    httplib::Server& server = m_impl->server;
    server.set_keep_alive_timeout(1);
    server.set_socket_options([this](int socket) {
        httplib::default_socket_options(socket);
        m_impl->listeningSocket = socket;
    });
    const auto handler = [this](const httplib::Request& request, httplib::Response& response) {
        RecordedRequest recorded;
        recorded.method = request.method;
        recorded.target = request.target;
        const std::size_t question = request.target.find('?');
        recorded.path = request.target.substr(0, question);
        if (question != std::string::npos)
            recorded.query = parseQuery(std::string_view(request.target).substr(question + 1));
        for (const auto& [name, value] : request.headers) {
            // The server adds these itself; they were not sent.
            if (name == "REMOTE_ADDR" || name == "REMOTE_PORT" || name == "LOCAL_ADDR"
                || name == "LOCAL_PORT")
                continue;
            recorded.headers.emplace_back(name, value);
        }
        recorded.body = request.body;
        const CannedResponse canned = responseFor(recorded.path);
        record(std::move(recorded));

        hold(canned.delay, canned.neverAnswer);
        response.status = canned.neverAnswer ? 503 : canned.status;
        for (const auto& [name, value] : canned.headers)
            response.set_header(name, value);
        if (canned.chunked) {
            auto body = std::make_shared<std::string>(canned.body);
            response.set_chunked_content_provider(
                canned.contentType, [body](std::size_t offset, httplib::DataSink& sink) {
                    constexpr std::size_t piece = 64 * 1024;
                    if (offset < body->size()) {
                        const std::size_t size = std::min(piece, body->size() - offset);
                        return sink.write(body->data() + offset, size);
                    }
                    sink.done();
                    return true;
                });
        } else {
            response.set_content(canned.body, canned.contentType);
        }
    };
    server.Get(".*", handler);
    server.Post(".*", handler);
    server.Put(".*", handler);
    server.Delete(".*", handler);
    server.Patch(".*", handler);
    server.Options(".*", handler);

    // The library listens with a backlog of 5; a burst of parallel clients would then see dropped
    // connection attempts retried a second later. Listening again only raises the backlog.
    m_port = serveOnLoopback(server, m_impl->thread, [this] {
        if (m_impl->listeningSocket >= 0)
            ::listen(m_impl->listeningSocket, SOMAXCONN);
    });
}

LoopbackHttpServer::~LoopbackHttpServer()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_changed.notify_all(); // held handlers return, so the server's workers can be joined
    stopServing(m_impl->server, m_impl->thread);
}

std::string LoopbackHttpServer::baseUrl() const
{
    return loopbackUrl(m_port);
}

void LoopbackHttpServer::setResponse(const std::string& path, CannedResponse response)
{
    const std::lock_guard lock(m_mutex);
    m_responses[path] = std::move(response);
}

void LoopbackHttpServer::setDefaultResponse(CannedResponse response)
{
    const std::lock_guard lock(m_mutex);
    m_defaultResponse = std::move(response);
}

std::vector<RecordedRequest> LoopbackHttpServer::requests() const
{
    const std::lock_guard lock(m_mutex);
    return m_requests;
}

std::size_t LoopbackHttpServer::requestCount() const
{
    const std::lock_guard lock(m_mutex);
    return m_requests.size();
}

bool LoopbackHttpServer::waitForRequests(std::size_t count, std::chrono::milliseconds timeout) const
{
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, timeout, [&] { return m_requests.size() >= count; });
}

void LoopbackHttpServer::clearRequests()
{
    const std::lock_guard lock(m_mutex);
    m_requests.clear();
}

void LoopbackHttpServer::releaseHeldRequests()
{
    {
        const std::lock_guard lock(m_mutex);
        ++m_releases;
    }
    m_changed.notify_all();
}

CannedResponse LoopbackHttpServer::responseFor(const std::string& path) const
{
    const std::lock_guard lock(m_mutex);
    const auto found = m_responses.find(path);
    return found != m_responses.end() ? found->second : m_defaultResponse;
}

void LoopbackHttpServer::record(RecordedRequest request)
{
    {
        const std::lock_guard lock(m_mutex);
        m_requests.push_back(std::move(request));
    }
    m_changed.notify_all();
}

void LoopbackHttpServer::hold(std::chrono::milliseconds delay, bool untilReleased)
{
    std::unique_lock lock(m_mutex);
    if (untilReleased) {
        const std::size_t releases = m_releases;
        m_changed.wait(lock, [&] { return m_stopping || m_releases != releases; });
    } else if (delay.count() > 0) {
        m_changed.wait_for(lock, delay, [&] { return m_stopping; });
    }
}

RefusingPort::RefusingPort()
{
    m_socket = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (m_socket < 0)
        throw std::runtime_error("RefusingPort: socket failed");
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    socklen_t length = sizeof address;
    if (::bind(m_socket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0
        || ::getsockname(m_socket, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        ::close(m_socket);
        throw std::runtime_error("RefusingPort: bind failed");
    }
    // Bound but not listening: connecting gets a reset, and no other test can take the port meanwhile.
    m_port = ntohs(address.sin_port);
}

RefusingPort::~RefusingPort()
{
    ::close(m_socket);
}

std::string RefusingPort::baseUrl() const
{
    return loopbackUrl(m_port);
}

} // namespace beacon::test
