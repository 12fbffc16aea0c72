#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "ManualClock.h"
#include "ManualLifecycleSource.h"
#include "ManualNetworkStateSource.h"
#include "TemporaryDirectory.h"
#include "beacon/BeaconDataFolders.h"
#include "beacon/BeaconPlatform.h"

namespace beacon {
class BeaconConfig;
class BeaconSDK;
} // namespace beacon

namespace beacon::test {

class LoopbackHttpServer;

/// A desktop for clients under test: a data folder of its own, a clock that stands still, and a
/// lifecycle and network the test drives by hand.
struct SdkHarness {
    static constexpr const char* bundleIdentifier = "studio.murv.BeaconTest";

    SdkHarness();

    /// A configuration for `host` that stays quiet unless asked: no remote configuration, no flag
    /// preload, no flush timer, a 5-second request timeout, and this harness's clock and platform.
    std::shared_ptr<BeaconConfig> makeConfig(
        const std::string& host, const std::string& apiKey = "test-key") const;

    std::filesystem::path storageFolder() const { return data.path() / bundleIdentifier; }
    std::filesystem::path queueFolder() const { return storageFolder() / "beacon.queueFolder"; }
    /// The event files waiting in the queue folder.
    std::size_t queuedFiles() const;

    TemporaryDirectory data;
    std::shared_ptr<ManualClock> clock = std::make_shared<ManualClock>();
    std::shared_ptr<ManualLifecycleSource> lifecycle = std::make_shared<ManualLifecycleSource>();
    std::shared_ptr<ManualNetworkStateSource> network = std::make_shared<ManualNetworkStateSource>();
    std::shared_ptr<BeaconPlatform> platform;
};

/// The events of every "/batch" upload, each upload's list in the order the server received them.
std::vector<std::vector<nlohmann::json>> uploadedBatches(const LoopbackHttpServer& server);
/// All of them in one list.
std::vector<nlohmann::json> uploadedEvents(const LoopbackHttpServer& server);
/// The uploaded events named `name`.
std::vector<nlohmann::json> uploadedEvents(const LoopbackHttpServer& server, const std::string& name);

/// Flushes and waits until `queueFolder` is empty; false when it does not empty within 100 rounds.
bool deliverAll(BeaconSDK& sdk, const std::filesystem::path& queueFolder);

} // namespace beacon::test
