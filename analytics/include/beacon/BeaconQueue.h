#pragma once

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <memory>
#include <optional>

namespace beacon {

class BeaconApi;
class BeaconConfig;
class BeaconEvent;
class Reachability;

/// Which upload call a queue uses.
enum class BeaconApiEndpoint : int { batch = 0, snapshot = 1 };

/// Captured events on their way to the ingestion service.
///
/// `add` writes each event to its own file on the caller's thread; batches of up to `maxBatchSize`
/// are read and sent on the queue's own serial queue, one batch at a time, when the depth reaches
/// `flushAt`, right after an accepted batch while `flushAt` items still wait, on every tick of the
/// flush timer, when the network comes back, or on `flush`. An
/// accepted batch (any status but 3xx) is deleted; a failed one stays and sending pauses for 5
/// seconds per consecutive failure, at most 30. Safe to use from several threads.
class BeaconQueue {
public:
    static constexpr double retryDelayStep = 5.0;
    static constexpr double maxRetryDelay = 30.0;

    /// Uses `folder` (created when missing) and first moves the events of the legacy queue file
    /// `oldQueue` into it. Reads `flushAt`, `maxQueueSize`, `maxBatchSize`, `flushIntervalSeconds`,
    /// `dataMode` and `clock` from `config`; `reachability` may be null. Nothing runs before `start`
    /// apart from flushes that `add` and `flush` start.
    BeaconQueue(std::shared_ptr<const BeaconConfig> config, std::shared_ptr<BeaconApi> api,
        BeaconApiEndpoint endpoint, const std::filesystem::path& folder,
        const std::optional<std::filesystem::path>& oldQueue = std::nullopt,
        std::shared_ptr<Reachability> reachability = nullptr);
    /// Stops, then lets go. A batch still in flight is forgotten; its events stay on disk.
    ~BeaconQueue();

    BeaconQueue(const BeaconQueue&) = delete;
    BeaconQueue& operator=(const BeaconQueue&) = delete;

    /// Follows reachability (unless disabled, or there is none) and starts the flush timer (unless
    /// disabled, or the interval is not a positive number of seconds). Only the first call counts.
    void start(bool disableReachabilityForTesting, bool disableQueueTimerForTesting);
    /// `start` with the configuration's two switches.
    void start();
    /// Stops the flush timer, stops following reachability and stops its notifier. `add` and `flush`
    /// keep working. Called when the client closes.
    void stop();

    void add(const BeaconEvent& event);
    /// Sends the next batch when `canFlush` allows.
    void flush();
    /// False, with the reason in the debug log, while a batch is in flight, while the network is
    /// unreachable (or not Wi-Fi in Wi-Fi-only mode), or while backing off after a failure.
    bool canFlush() const;
    bool isFlushing() const;
    std::size_t depth() const;
    const std::filesystem::path& folder() const;

    /// Waits until nothing is being sent or is about to be; false when `timeout` passes first.
    bool waitUntilIdleForTesting(std::chrono::milliseconds timeout = std::chrono::seconds(20)) const;

private:
    struct Impl;
    std::shared_ptr<Impl> m_impl;
};

} // namespace beacon
