// Cost of preparing an upload: a full 50-event batch serialised and gzip-compressed, as each flush does.
#include <benchmark/benchmark.h>

#include <nlohmann/json.hpp>

#include "beacon/BeaconApiResponse.h"
#include "beacon/BeaconGzip.h"

namespace {
using nlohmann::json;

std::string batchBody(int events)
{
    json batch = json::array();
    for (int i = 0; i < events; ++i) {
        batch.push_back(
            { { "event", "dashboard_section_opened" }, { "distinct_id", "3f0c2a9e5b1d4c7e8a6f0b2d4e6a8c0e" },
                { "timestamp", "2024-01-02T03:04:05.678Z" },
                { "uuid", "0190A2B1-7C3D-7E4F-8A5B-6C7D8E9F0A" + std::to_string(10 + i) },
                { "properties",
                    { { "section", "insights" }, { "$lib", "beacon-desktop" }, { "$lib_version", "1.0.0" },
                        { "$os_name", "Linux" }, { "$os_version", "12.5.0" }, { "$app_version", "1.0.0" },
                        { "$device_type", "Desktop" }, { "$locale", "en" }, { "$timezone", "Europe/Berlin" },
                        { "$session_id", "0190A2B1-7C3D-7E4F-8A5B-6C7D8E9F0A1B" },
                        { "$process_person_profile", false } } } });
    }
    return json {
        { "api_key", "phc_project_key" }, { "batch", batch }, { "sent_at", "2024-01-02T03:04:05.678Z" }
    }.dump();
}

void BM_GzipBatchOf50Events(benchmark::State& state)
{
    const std::string body = batchBody(50);
    std::size_t compressed = 0;
    for (auto _ : state) {
        const beacon::GzipResult result = beacon::gzipCompress(body);
        compressed = result.data.size();
        benchmark::DoNotOptimize(result.data.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * body.size()));
    state.counters["input_bytes"] = static_cast<double>(body.size());
    state.counters["output_bytes"] = static_cast<double>(compressed);
}
BENCHMARK(BM_GzipBatchOf50Events);

void BM_ParseFlagsResponse(benchmark::State& state)
{
    json flags = json::object();
    for (int i = 0; i < 100; ++i) {
        flags["flag-" + std::to_string(i)] = { { "key", "flag-" + std::to_string(i) },
            { "enabled", i % 3 != 0 }, { "variant", i % 5 == 0 ? json("variant-b") : json(nullptr) },
            { "metadata", { { "id", i }, { "version", 2 }, { "payload", nullptr } } },
            { "reason", { { "description", "Matched condition set 1" } } } };
    }
    const std::string body = json { { "flags", flags }, { "requestId", "r-1" } }.dump();
    for (auto _ : state) {
        const beacon::BeaconJsonObjectParse parsed = beacon::parseJsonObjectResponse(body);
        benchmark::DoNotOptimize(parsed.object.has_value());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * body.size()));
}
BENCHMARK(BM_ParseFlagsResponse);

} // namespace

BENCHMARK_MAIN();
