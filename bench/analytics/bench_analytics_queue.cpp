// Cost of queueing one event: serialised and written whole (temporary file renamed into place, not
// synced) on the caller's thread, as every capture does.
#include <climits>
#include <filesystem>
#include <memory>
#include <string>

#include <stdlib.h>

#include <benchmark/benchmark.h>
#include <nlohmann/json.hpp>

#include "beacon/BeaconConfig.h"
#include "beacon/BeaconEvent.h"
#include "beacon/BeaconQueue.h"
#include "beacon/TimeBasedEpochGenerator.h"

namespace {

beacon::BeaconEvent typicalEvent()
{
    const nlohmann::json properties = { { "section", "insights" }, { "$lib", "beacon-desktop" },
        { "$lib_version", "1.0.0" }, { "$os_name", "Linux" }, { "$os_version", "12.5.0" },
        { "$app_version", "1.0.0" }, { "$device_type", "Desktop" }, { "$locale", "en" },
        { "$timezone", "Europe/Berlin" }, { "$session_id", "0190A2B1-7C3D-7E4F-8A5B-6C7D8E9F0A1B" },
        { "$process_person_profile", false } };
    return beacon::BeaconEvent("dashboard_section_opened", "3f0c2a9e5b1d4c7e8a6f0b2d4e6a8c0e", properties,
        std::chrono::system_clock::now(), beacon::TimeBasedEpochGenerator::shared().timeOrderedUuid());
}

/// One `add` into a queue folder on the disk that holds the temporary directory. Past 1,000 items each
/// add also deletes the oldest file, as a full queue does. Target: well under 20 ms per add, so that a
/// capture on the UI thread never drops a frame for long.
void BM_QueueAdd(benchmark::State& state)
{
    std::string pattern = (std::filesystem::temp_directory_path() / "bench-beacon-queue-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        state.SkipWithError("cannot create a temporary folder");
        return;
    }
    const std::filesystem::path folder(pattern);
    {
        auto config = std::make_shared<beacon::BeaconConfig>("bench-key", "http://127.0.0.1:9");
        config->flushAt = INT_MAX; // measure the write alone: nothing is ever sent
        beacon::BeaconQueue queue(
            config, nullptr, beacon::BeaconApiEndpoint::batch, folder / "beacon.queueFolder");
        const beacon::BeaconEvent event = typicalEvent();
        for (auto _ : state)
            queue.add(event);
        state.SetItemsProcessed(state.iterations());
        state.counters["depth"] = static_cast<double>(queue.depth());
    }
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}
BENCHMARK(BM_QueueAdd)->UseRealTime()->Unit(benchmark::kMicrosecond); // waits on the disk

} // namespace

BENCHMARK_MAIN();
