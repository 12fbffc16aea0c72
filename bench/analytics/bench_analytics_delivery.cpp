// End-to-end delivery: a burst of captures through the client facade until a loopback server has
// received them, with the client's own flush policy (a flush at 20 queued events, batches of 50, the
// next batch right after an accepted one while 20 more wait).
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#include <benchmark/benchmark.h>

#include "SdkBenchFixture.h"
#include "beacon/BeaconConfig.h"
#include "beacon/BeaconSDK.h"

namespace {
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr const char* kEventName = "session_completed";

double seconds(Clock::duration duration)
{
    return std::chrono::duration<double>(duration).count();
}

/// Each round captures `range(0)` events as fast as the caller can and is timed from the first
/// capture until the server has received the last batch the queue sends by itself. Fewer than
/// flushAt events may be left behind at the end of a burst: the queue sends those on the next tick
/// of its 30-second flush timer, not at once. They are counted in `left_for_timer`, kept out of the
/// rate, and sent with one `flush` outside the timing so that the next round starts from an empty
/// queue. `after_capture_ms` is how long delivery ran on after the last capture: near zero when the
/// captures themselves set the pace. Target: at least 5,000 events per second.
///
/// The queue folder is on the disk unless only tmpfs is at hand (see `DataFolder`). On an ext4 without a
/// journal, creating files slows down for a few minutes after many deletions, so back-to-back runs read
/// lower.
void BM_DeliveryThroughput(benchmark::State& state)
{
    const auto fixture = beacon::bench::SdkBenchFixture::createOrSkip(state, kEventName);
    if (!fixture)
        return;
    beacon::BeaconSDK& sdk = fixture->sdk();
    beacon::bench::IngestServer& server = fixture->server();
    const auto events = static_cast<std::size_t>(state.range(0));
    const auto flushAt = static_cast<std::size_t>(sdk.config()->flushAt);

    std::size_t delivered = 0; // by the flush policy within the timed part
    std::size_t leftForTimer = 0;
    Clock::duration captureTime {};
    Clock::duration afterCapture {};
    Clock::duration measured {};
    const std::size_t batchesBefore = server.batches();
    for (auto _ : state) {
        const std::size_t before = server.received();
        const auto start = Clock::now();
        for (std::size_t i = 0; i < events; ++i)
            sdk.capture(kEventName, { { "index", static_cast<std::int64_t>(i) }, { "length_minutes", 25 } });
        const auto captured = Clock::now();
        captureTime += captured - start;

        // Nothing in flight any more means the queue has sent every batch it will send by itself.
        if (!sdk.waitUntilIdleForTesting(60s)) {
            state.SkipWithError("the queue was still sending after 60 s");
            break;
        }
        const std::size_t received = server.received() - before;
        const std::size_t waiting = fixture->queuedFiles();
        if (received + waiting != events) {
            // The queue keeps at most maxQueueSize events and drops the oldest when captures outrun
            // delivery by more than that.
            state.SkipWithError(
                ("of " + std::to_string(events) + " events the server received " + std::to_string(received)
                    + " and " + std::to_string(waiting) + " are queued; the rest were dropped or lost")
                    .c_str());
            break;
        }
        if (waiting >= flushAt) {
            state.SkipWithError(
                ("delivery stopped with " + std::to_string(waiting) + " events queued").c_str());
            break;
        }
        const auto end = received > 0 ? server.lastArrival() : Clock::now();
        state.SetIterationTime(seconds(end - start));
        measured += end - start;
        afterCapture += std::max(end - captured, Clock::duration::zero());
        delivered += received;
        leftForTimer += waiting;

        if (waiting > 0) {
            sdk.flush();
            if (!server.waitForReceived(before + events, 20s)) {
                state.SkipWithError("a flush did not send the rest of the round");
                break;
            }
        }
    }

    state.SetItemsProcessed(static_cast<std::int64_t>(delivered));
    state.SetLabel("queue on " + fixture->folder().medium());
    const auto rounds = static_cast<double>(state.iterations());
    if (rounds == 0 || measured == Clock::duration::zero())
        return;
    state.counters["events_per_second"] = static_cast<double>(delivered) / seconds(measured);
    state.counters["left_for_timer"] = static_cast<double>(leftForTimer) / rounds;
    state.counters["capture_ms"] = seconds(captureTime) * 1000.0 / rounds;
    state.counters["after_capture_ms"] = seconds(afterCapture) * 1000.0 / rounds;
    state.counters["batches"] = static_cast<double>(server.batches() - batchesBefore) / rounds;
    state.counters["duplicates"] = static_cast<double>(server.duplicates());
    state.counters["malformed"] = static_cast<double>(server.malformedBatches());
}
BENCHMARK(BM_DeliveryThroughput)->Arg(2000)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
