#include "SdkHarness.h"

#include <gtest/gtest.h>

#include "LoopbackHttpServer.h"
#include "beacon/BeaconConfig.h"
#include "beacon/BeaconSDK.h"

namespace beacon::test {

SdkHarness::SdkHarness()
    : platform(std::make_shared<BeaconPlatform>())
{
    platform->application.name = "Beacon Test";
    platform->application.shortVersion = "1.2.0";
    platform->application.build = "42";
    platform->application.bundleIdentifier = bundleIdentifier;
    platform->folders = std::make_shared<FixedDataFolders>(data.path());
    platform->lifecycle = lifecycle;
    platform->network = network;
}

std::shared_ptr<BeaconConfig> SdkHarness::makeConfig(const std::string& host, const std::string& apiKey) const
{
    auto config = std::make_shared<BeaconConfig>(apiKey, host);
    config->remoteConfig = false;
    config->preloadFeatureFlags = false;
    config->disableQueueTimerForTesting = true;
    config->captureApplicationLifecycleEvents = false;
    config->captureScreenViews = false;
    config->urlSessionConfiguration = BeaconUrlSessionConfiguration { 5.0 };
    config->clock = clock;
    config->platform = platform;
    return config;
}

std::size_t SdkHarness::queuedFiles() const
{
    std::error_code error;
    std::size_t count = 0;
    for (std::filesystem::directory_iterator it(queueFolder(), error), end; !error && it != end;
         it.increment(error))
        ++count;
    return count;
}

std::vector<std::vector<nlohmann::json>> uploadedBatches(const LoopbackHttpServer& server)
{
    std::vector<std::vector<nlohmann::json>> batches;
    for (const RecordedRequest& request : server.requests()) {
        if (request.path != "/batch")
            continue;
        const nlohmann::json body = nlohmann::json::parse(request.body, nullptr, false);
        if (!body.is_object() || !body.contains("batch") || !body["batch"].is_array()) {
            ADD_FAILURE() << "not a batch body: " << request.body.substr(0, 200);
            continue;
        }
        batches.push_back(body["batch"].get<std::vector<nlohmann::json>>());
    }
    return batches;
}

std::vector<nlohmann::json> uploadedEvents(const LoopbackHttpServer& server)
{
    std::vector<nlohmann::json> events;
    for (auto& batch : uploadedBatches(server))
        events.insert(events.end(), batch.begin(), batch.end());
    return events;
}

std::vector<nlohmann::json> uploadedEvents(const LoopbackHttpServer& server, const std::string& name)
{
    std::vector<nlohmann::json> named;
    for (auto& event : uploadedEvents(server)) {
        if (event.value("event", "") == name)
            named.push_back(std::move(event));
    }
    return named;
}

bool deliverAll(BeaconSDK& sdk, const std::filesystem::path& queueFolder)
{
    const auto empty = [&] {
        std::error_code error;
        return std::filesystem::is_empty(queueFolder, error) || error;
    };
    for (int round = 0; round < 100; ++round) {
        if (!sdk.waitUntilIdleForTesting())
            return false;
        if (empty())
            return true;
        sdk.flush();
    }
    return empty();
}

} // namespace beacon::test
