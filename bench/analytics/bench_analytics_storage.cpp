// Speed of the analytics identity layer: ids are drawn for every event, key files are
// read and written on identity and settings changes.
#include <filesystem>
#include <string>

#include <stdlib.h>

#include <benchmark/benchmark.h>
#include <nlohmann/json.hpp>

#include "beacon/BeaconStorage.h"
#include "beacon/TimeBasedEpochGenerator.h"

namespace {

// Target: at least 5 million ids per second on one thread.
void BM_TimeOrderedUuid(benchmark::State& state)
{
    auto& generator = beacon::TimeBasedEpochGenerator::shared();
    for (auto _ : state)
        benchmark::DoNotOptimize(generator.timeOrderedUuid());
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_TimeOrderedUuid)->Threads(1)->Threads(2)->UseRealTime();

/// One setJson and one getJson of a small dictionary in a real folder under the temp directory.
void BM_StorageSetGetJson(benchmark::State& state)
{
    std::string pattern = (std::filesystem::temp_directory_path() / "bench-beacon-storage-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        state.SkipWithError("cannot create a temporary folder");
        return;
    }
    const std::filesystem::path folder(pattern);
    {
        const beacon::BeaconStorage storage(folder);
        const nlohmann::json properties { { "plan", "pro" }, { "seats", 5 },
            { "tags", { "focus", "deep-work" } } };
        for (auto _ : state) {
            storage.setJson(beacon::StorageKey::registerProperties, properties);
            benchmark::DoNotOptimize(storage.getJson(beacon::StorageKey::registerProperties));
        }
        state.SetItemsProcessed(state.iterations());
    }
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}
BENCHMARK(BM_StorageSetGetJson)->UseRealTime(); // waits on the disk, so wall time is what counts

} // namespace
