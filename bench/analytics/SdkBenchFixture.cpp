#include "SdkBenchFixture.h"

#include <optional>
#include <stdexcept>
#include <thread>
#include <utility>

#include <linux/magic.h>
#include <stdlib.h>
#include <sys/vfs.h>

#include <benchmark/benchmark.h>
#include <httplib.h>
#include <nlohmann/json.hpp>

#include "LoopbackServing.h"

#include "beacon/BeaconConfig.h"
#include "beacon/BeaconDataFolders.h"
#include "beacon/BeaconPlatform.h"
#include "beacon/BeaconSDK.h"

namespace beacon::bench {
namespace {

bool isInMemory(const std::filesystem::path& folder)
{
    struct statfs info { };
    if (::statfs(folder.c_str(), &info) != 0)
        return false;
    return info.f_type == TMPFS_MAGIC || info.f_type == RAMFS_MAGIC;
}

std::filesystem::path makeFolderIn(const std::filesystem::path& parent)
{
    std::string pattern = (parent / "bench-beacon-sdk-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create a folder in " + parent.string());
    return pattern;
}

} // namespace

// --- folder --------------------------------------------------------------------------------------

DataFolder::DataFolder()
{
    std::filesystem::path parent = std::filesystem::temp_directory_path();
    if (isInMemory(parent)) {
        std::error_code error;
        const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
        if (!error && !isInMemory(executable.parent_path()))
            parent = executable.parent_path();
    }
    m_path = makeFolderIn(parent);
    m_medium = isInMemory(m_path) ? "tmpfs" : "disk";
}

DataFolder::~DataFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

// --- server --------------------------------------------------------------------------------------

struct IngestServer::Impl {
    httplib::Server server;
    std::thread thread;
};

IngestServer::IngestServer(std::string countedEvent)
    : m_countedEvent(std::move(countedEvent))
    , m_impl(std::make_unique<Impl>())
{
    httplib::Server& server = m_impl->server;
    // The client opens a connection per request and closes it; nothing is gained by holding one open.
    server.set_keep_alive_timeout(1);
    server.Post("/batch", [this](const httplib::Request& request, httplib::Response& response) {
        recordBatch(request.body);
        response.set_content("{}", "application/json");
    });
    // Flags and remote configuration: an empty answer is a valid one.
    const auto empty = [](const httplib::Request&, httplib::Response& response) {
        response.set_content("{}", "application/json");
    };
    server.Get(".*", empty);
    server.Post(".*", empty);

    m_port = test::serveOnLoopback(server, m_impl->thread);
}

IngestServer::~IngestServer()
{
    test::stopServing(m_impl->server, m_impl->thread);
}

std::string IngestServer::baseUrl() const
{
    return test::loopbackUrl(m_port);
}

void IngestServer::recordBatch(const std::string& body)
{
    const auto arrival = Clock::now();
    // Parsed outside the lock: a batch is tens of kilobytes, and the next request may already be in.
    const nlohmann::json parsed = nlohmann::json::parse(body, nullptr, false);
    const auto batch = parsed.is_object() ? parsed.find("batch") : parsed.end();
    const bool wellFormed = parsed.is_object() && batch != parsed.end() && batch->is_array();
    {
        const std::lock_guard lock(m_mutex);
        ++m_batches;
        if (!wellFormed) {
            ++m_malformed;
            return;
        }
        bool news = false;
        for (const nlohmann::json& event : *batch) {
            if (!event.is_object() || event.value("event", "") != m_countedEvent)
                continue;
            if (m_seen.insert(event.value("uuid", "")).second)
                news = true;
            else
                ++m_duplicates;
        }
        if (news)
            m_lastArrival = arrival;
    }
    m_changed.notify_all();
}

std::size_t IngestServer::received() const
{
    const std::lock_guard lock(m_mutex);
    return m_seen.size();
}

std::size_t IngestServer::duplicates() const
{
    const std::lock_guard lock(m_mutex);
    return m_duplicates;
}

std::size_t IngestServer::batches() const
{
    const std::lock_guard lock(m_mutex);
    return m_batches;
}

std::size_t IngestServer::malformedBatches() const
{
    const std::lock_guard lock(m_mutex);
    return m_malformed;
}

IngestServer::Clock::time_point IngestServer::lastArrival() const
{
    const std::lock_guard lock(m_mutex);
    return m_lastArrival;
}

bool IngestServer::waitForReceived(std::size_t count, std::chrono::milliseconds timeout) const
{
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, timeout, [&] { return m_seen.size() >= count; });
}

// --- client --------------------------------------------------------------------------------------

std::unique_ptr<SdkBenchFixture> SdkBenchFixture::createOrSkip(
    benchmark::State& state, const std::string& countedEvent)
{
    try {
        return std::make_unique<SdkBenchFixture>(countedEvent);
    } catch (const std::exception& error) {
        state.SkipWithError(error.what());
        return nullptr;
    }
}

SdkBenchFixture::SdkBenchFixture(const std::string& countedEvent)
    : m_server(countedEvent)
    , m_sdk(BeaconSDK::create())
{
    // As the application sets up its client: defaults but for the two integrations it leaves out,
    // then an identify with the device id. Only the folders and the network differ.
    auto platform = std::make_shared<BeaconPlatform>();
    platform->application.name = "Velto";
    platform->application.displayName = "Velto";
    platform->application.shortVersion = "1.0.0";
    platform->application.bundleIdentifier = bundleIdentifier;
    platform->folders = std::make_shared<FixedDataFolders>(m_folder.path());
    platform->lifecycle = std::make_shared<SilentLifecycleSource>();
    platform->network = std::make_shared<AlwaysReachableNetworkSource>();

    auto config = std::make_shared<BeaconConfig>("bench-key", m_server.baseUrl());
    config->captureScreenViews = false;
    config->captureApplicationLifecycleEvents = false;
    config->platform = std::move(platform);
    m_sdk->setup(std::move(config));
    if (!m_sdk->isEnabled())
        throw std::runtime_error("the client did not set up");
    m_sdk->identify("3f0c2a9e5b1d4c7e8a6f0b2d4e6a8c0e");
}

SdkBenchFixture::~SdkBenchFixture()
{
    // Closed only once nothing is being sent: a batch still finishing when the client goes would keep
    // working in the folder removed next.
    m_sdk->waitUntilIdleForTesting(std::chrono::seconds(20));
    if (m_sdk->isEnabled())
        m_sdk->close();
    m_sdk.reset();
}

std::size_t SdkBenchFixture::queuedFiles() const
{
    const std::filesystem::path queue = m_folder.path() / bundleIdentifier / "beacon.queueFolder";
    std::error_code error;
    std::size_t count = 0;
    for (std::filesystem::directory_iterator it(queue, error), end; !error && it != end;
         it.increment(error)) {
        // Dot files are writes still under way.
        if (it->path().filename().string().front() != '.')
            ++count;
    }
    return count;
}

} // namespace beacon::bench
