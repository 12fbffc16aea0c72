// Cost of `BeaconSDK::capture` on the caller's thread, the way the application calls it: the event is
// built and written to the on-disk queue there, while full batches go to a live loopback server in
// the background and compete for the same cores.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "SdkBenchFixture.h"
#include "beacon/BeaconSDK.h"

namespace {
using Clock = std::chrono::steady_clock;

constexpr const char* kEventName = "dashboard_opened";

/// The nearest-rank percentile `q` (0 < q <= 1) of `sorted`, in microseconds.
double percentileMicroseconds(const std::vector<Clock::duration>& sorted, double q)
{
    const auto rank = static_cast<std::size_t>(std::ceil(q * static_cast<double>(sorted.size())));
    const Clock::duration value = sorted[std::clamp<std::size_t>(rank, 1, sorted.size()) - 1];
    return std::chrono::duration<double, std::micro>(value).count();
}

/// One capture with the properties the dashboard sends, through a client set up with the defaults
/// (flushAt 20, batches of 50, queue bound 1,000). The queue folder is under the system's temporary
/// directory, or beside the executable when that is a tmpfs; the label says which medium it was.
/// Most of the cost is the file system's: on an ext4 without a journal, creating files slows down for
/// a few minutes after many deletions, so back-to-back runs read higher.
/// Targets: median under 200 µs, 99th percentile under 2 ms.
void BM_Capture(benchmark::State& state)
{
    const auto fixture = beacon::bench::SdkBenchFixture::createOrSkip(state, kEventName);
    if (!fixture)
        return;
    beacon::BeaconSDK& sdk = fixture->sdk();
    const beacon::BeaconProperties properties = { { "app", "velto" }, { "section", "insights" } };

    std::vector<Clock::duration> durations;
    durations.reserve(static_cast<std::size_t>(state.max_iterations));
    for (auto _ : state) {
        const auto start = Clock::now();
        sdk.capture(kEventName, properties);
        durations.push_back(Clock::now() - start);
    }

    state.SetItemsProcessed(state.iterations());
    state.SetLabel("queue on " + fixture->folder().medium());
    if (durations.empty())
        return;
    std::sort(durations.begin(), durations.end());
    state.counters["p50_us"] = percentileMicroseconds(durations, 0.50);
    state.counters["p99_us"] = percentileMicroseconds(durations, 0.99);
    state.counters["max_us"] = percentileMicroseconds(durations, 1.0);
    // Whether delivery kept up: what the server had and what still waited when the loop ended.
    state.counters["delivered"] = static_cast<double>(fixture->server().received());
    state.counters["queued"] = static_cast<double>(fixture->queuedFiles());
}
BENCHMARK(BM_Capture)->UseRealTime()->Unit(benchmark::kMicrosecond); // waits on the disk and on locks

} // namespace

BENCHMARK_MAIN();
