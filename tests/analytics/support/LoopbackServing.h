// Serving a cpp-httplib server on a free loopback port. Header-only: the benchmarks serve their own
// ingestion stand-in this way without linking the tests' support library.
#pragma once

#include <chrono>
#include <functional>
#include <stdexcept>
#include <string>
#include <thread>

#include <httplib.h>

namespace beacon::test {

/// The base URL of a server on 127.0.0.1 at `port`.
inline std::string loopbackUrl(int port)
{
    return "http://127.0.0.1:" + std::to_string(port);
}

/// Stops `server` and waits for `thread`, which serves it.
inline void stopServing(httplib::Server& server, std::thread& thread)
{
    server.stop();
    if (thread.joinable())
        thread.join();
}

/// Binds `server` to a free port on 127.0.0.1, serves it on `thread` and returns the port once it
/// accepts connections. `afterBind` runs between binding and serving. Throws std::runtime_error when
/// the port cannot be bound or the server does not start.
inline int serveOnLoopback(
    httplib::Server& server, std::thread& thread, const std::function<void()>& afterBind = {})
{
    const int port = server.bind_to_any_port("127.0.0.1");
    if (port <= 0)
        throw std::runtime_error("cannot bind a loopback port");
    if (afterBind)
        afterBind();
    thread = std::thread([&server] { server.listen_after_bind(); });
    for (int attempt = 0; attempt < 500 && !server.is_running(); ++attempt)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (!server.is_running()) {
        stopServing(server, thread);
        throw std::runtime_error("the loopback server did not start");
    }
    return port;
}

} // namespace beacon::test
