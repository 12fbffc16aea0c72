#include "beacon/BeaconQueue.h"

#include <algorithm>
#include <cmath>
#include <condition_variable>
#include <ctime>
#include <functional>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "beacon/BeaconApi.h"
#include "beacon/BeaconClock.h"
#include "beacon/BeaconConfig.h"
#include "beacon/BeaconEvent.h"
#include "beacon/BeaconFileBackedQueue.h"
#include "beacon/BeaconLog.h"
#include "beacon/BeaconSerialQueue.h"
#include "beacon/BeaconStorage.h"
#include "beacon/Reachability.h"
#include "beacon/RegistrationToken.h"

#include "BeaconDecimalText.h"
#include "fileio/JsonNesting.h"

namespace beacon {
namespace {
using TimePoint = BeaconClock::TimePoint;

/// "2024-01-02 03:04:05 +0000", the way the log has always shown dates.
std::string describe(TimePoint time)
{
    const std::time_t seconds = std::chrono::system_clock::to_time_t(time);
    std::tm utc {};
    if (!::gmtime_r(&seconds, &utc))
        return std::to_string(seconds);
    char text[40];
    const std::size_t length = std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S +0000", &utc);
    return std::string(text, length);
}

std::size_t atLeastOne(int value)
{
    return static_cast<std::size_t>(std::max(value, 1));
}

/// Calls `tick` every `interval` on a thread of its own until destroyed. The library has no run loop
/// to put a timer on.
class RepeatingTimer {
public:
    RepeatingTimer(std::chrono::duration<double> interval, std::function<void()> tick)
        : m_state(std::make_shared<State>())
    {
        // Longer waits would overflow the steady clock; nobody waits that long for a flush.
        const auto wait = std::chrono::duration_cast<std::chrono::steady_clock::duration>(
            std::min(interval, std::chrono::duration<double>(1e7)));
        // The thread shares its state rather than using this object, so that it may be let go.
        m_thread = std::thread([state = m_state, wait, tick = std::move(tick)] {
            std::unique_lock lock(state->lock);
            while (!state->wake.wait_for(lock, wait, [&] { return state->stopping; })) {
                lock.unlock();
                tick();
                lock.lock();
            }
        });
    }

    ~RepeatingTimer()
    {
        {
            const std::lock_guard lock(m_state->lock);
            m_state->stopping = true;
        }
        m_state->wake.notify_all();
        if (m_thread.get_id() == std::this_thread::get_id())
            m_thread.detach(); // destroyed from its own tick: it stops once the tick returns
        else
            m_thread.join();
    }

    RepeatingTimer(const RepeatingTimer&) = delete;
    RepeatingTimer& operator=(const RepeatingTimer&) = delete;

private:
    struct State {
        std::mutex lock;
        std::condition_variable wake;
        bool stopping = false; // lock
    };
    std::shared_ptr<State> m_state;
    std::thread m_thread;
};
} // namespace

struct BeaconQueue::Impl : std::enable_shared_from_this<Impl> {
    Impl(std::shared_ptr<const BeaconConfig> config, std::shared_ptr<BeaconApi> api,
        BeaconApiEndpoint endpoint, const std::filesystem::path& folder,
        std::shared_ptr<Reachability> reachability)
        : config(std::move(config))
        , api(std::move(api))
        , clock(clockOrSystem(this->config->clock))
        , reachability(std::move(reachability))
        , endpoint(endpoint)
        , dispatchQueue(std::make_shared<BeaconSerialQueue>(
              endpoint == BeaconApiEndpoint::batch ? "com.beacon.queue" : "com.beacon.replayQueue"))
        , fileQueue(folder, clock)
    { }

    const std::shared_ptr<const BeaconConfig> config;
    const std::shared_ptr<BeaconApi> api;
    const std::shared_ptr<BeaconClock> clock;

    mutable std::mutex pausedLock;
    bool paused = false; // pausedLock

    mutable std::mutex backoffLock;
    std::optional<TimePoint> pausedUntil; // backoffLock
    double retryCount = 0; // backoffLock

    const std::shared_ptr<Reachability> reachability;

    mutable std::mutex isFlushingLock;
    mutable std::condition_variable flushingChanged;
    bool isFlushing = false; // isFlushingLock

    std::mutex timerLock; // also serialises start and stop
    std::unique_ptr<RepeatingTimer> timer; // timerLock
    std::unique_ptr<RegistrationToken> reachabilitySubscription; // timerLock
    bool started = false; // timerLock

    const BeaconApiEndpoint endpoint;
    const std::shared_ptr<BeaconSerialQueue> dispatchQueue;
    BeaconFileBackedQueue fileQueue;

    std::mutex addLock; // keeps the depth check and the write together, so the bound holds

    std::size_t batchSize() const { return atLeastOne(config->maxBatchSize); }

    /// The paused and back-off checks of `canFlush`, with their log lines.
    bool allowedToFlush() const
    {
        {
            const std::lock_guard lock(pausedLock);
            if (paused) {
                debugLog("[Beacon] The queue is paused due to the reachability check");
                return false;
            }
        }
        const std::lock_guard lock(backoffLock);
        if (pausedUntil && clock->now() < *pausedUntil) {
            debugLog("The queue is paused until `" + describe(*pausedUntil) + "`");
            return false;
        }
        return true;
    }

    bool canFlush() const
    {
        {
            const std::lock_guard lock(isFlushingLock);
            if (isFlushing) {
                debugLog("[Beacon] Already flushing");
                return false;
            }
        }
        return allowedToFlush();
    }

    /// `canFlush` and marking the queue as flushing in one step, so that two callers can never both
    /// start a batch (they would send the same events twice). `quietWhenFlushing` is for the timer and
    /// reachability, which skip a busy queue without a word.
    bool claimFlush(bool quietWhenFlushing)
    {
        const std::lock_guard lock(isFlushingLock);
        if (isFlushing) {
            if (!quietWhenFlushing)
                debugLog("[Beacon] Already flushing");
            return false;
        }
        if (!allowedToFlush())
            return false;
        isFlushing = true;
        return true;
    }

    /// Sends the next batch; the caller has claimed the flush.
    void take()
    {
        dispatchQueue->post([weak = weak_from_this()] {
            if (const auto self = weak.lock())
                self->sendBatch();
        });
    }

    /// The JSON to send for one queued item; nothing, with the reason in `problem`, for an item that
    /// can never be sent.
    std::optional<nlohmann::json> decode(const std::string& data, std::string& problem) const
    {
        if (fileio::nestsDeeperThan(data, BeaconStorage::maxNestingDepth)) {
            problem = "nested too deeply";
            return std::nullopt;
        }
        try {
            // The parser refuses text that is not UTF-8, which could never be encoded for upload.
            const auto event = BeaconEvent::fromJson(nlohmann::json::parse(data), clock.get());
            if (!event) {
                problem = "not an event";
                return std::nullopt;
            }
            return event->toJson();
        } catch (const std::exception& error) {
            problem = error.what();
            return std::nullopt;
        }
    }

    void sendBatch()
    {
        const std::size_t count = batchSize();
        std::vector<nlohmann::json> events;
        std::vector<std::string> names;
        std::set<std::string> seen;
        // Items that can never be sent are deleted as they are met and the batch is filled from the
        // items behind them, so that they neither block the queue nor fail a batch over and over.
        for (;;) {
            const auto items = fileQueue.peekItems(count);
            bool dropped = false;
            for (const auto& item : items) {
                if (events.size() == count)
                    break;
                if (!seen.insert(item.name).second)
                    continue;
                std::string problem;
                if (auto json = decode(item.data, problem)) {
                    events.push_back(std::move(*json));
                    names.push_back(item.name);
                } else {
                    debugLog("File " + fileQueue.url(item.name).string() + " is corrupted " + problem);
                    fileQueue.remove(std::vector<std::string> { item.name });
                    dropped = true;
                }
            }
            if (!dropped || events.size() == count || items.size() < count)
                break;
        }
        if (events.empty()) {
            finishBatch(200, false, {});
            return;
        }
        debugLog("Sending batch of " + std::to_string(events.size()) + " events to Beacon");
        if (!api) {
            finishBatch(0, true, names);
            return;
        }
        // Completions arrive on the API's worker; the result is handled back on this queue. The worker
        // must not own the queue: the queue's own thread may be waiting for the worker to end.
        auto completion
            = [weak = weak_from_this(), queue = dispatchQueue->poster(), names](int status, bool failed) {
                  queue.post([weak, names, status, failed] {
                      if (const auto self = weak.lock())
                          self->finishBatch(status, failed, names);
                  });
              };
        if (endpoint == BeaconApiEndpoint::snapshot)
            api->snapshot(std::move(events), std::move(completion));
        else
            api->batch(std::move(events), std::move(completion));
    }

    /// Applies the retry rule to an upload of the items `names`.
    void finishBatch(int status, bool failedInTransport, const std::vector<std::string>& names)
    {
        const bool failed = failedInTransport || (status >= 300 && status <= 399) || status == -1;
        if (!failed) {
            {
                const std::lock_guard lock(backoffLock);
                retryCount = 0;
            }
            // By name: items dropped or added while the batch was out must not be taken for it.
            fileQueue.remove(names);
            debugLog("[Beacon] Completed!");
        } else {
            double failures = 0;
            double delay = 0;
            {
                const std::lock_guard lock(backoffLock);
                retryCount += 1;
                failures = retryCount;
                delay = std::min(retryCount * retryDelayStep, maxRetryDelay);
                pausedUntil = clock->now()
                    + std::chrono::duration_cast<std::chrono::system_clock::duration>(
                        std::chrono::duration<double>(delay));
            }
            debugLog("Pausing queue consumption for " + detail::decimalText(delay) + " seconds due to "
                + detail::decimalText(failures) + " API failure(s).");
        }
        // Events that arrived while the batch was out found the queue busy and did not flush; when a full
        // batch's worth waits, send it now rather than at the next timer tick, or a steady stream of
        // captures would outgrow the queue.
        const bool sendMore = !failed && !names.empty()
            && fileQueue.depth() >= static_cast<std::size_t>(std::max(config->flushAt, 1));
        bool again = false;
        {
            const std::lock_guard lock(isFlushingLock);
            again = sendMore && allowedToFlush();
            isFlushing = again;
        }
        flushingChanged.notify_all();
        if (again)
            take();
    }

    void whenReachable(Reachability& source)
    {
        const Reachability::Connection connection = source.connection();
        {
            const std::lock_guard lock(pausedLock);
            if (config->dataMode == BeaconDataMode::wifiOnly
                && connection != Reachability::Connection::wifi) {
                debugLog("[Beacon] Queue is paused because its not in WiFi mode");
                paused = true;
            } else {
                paused = false;
            }
        }
        if (connection != Reachability::Connection::unavailable && claimFlush(true))
            take();
    }

    void whenUnreachable()
    {
        const std::lock_guard lock(pausedLock);
        debugLog("[Beacon] Queue is paused because network is unreachable");
        paused = true;
    }
};

BeaconQueue::BeaconQueue(std::shared_ptr<const BeaconConfig> config, std::shared_ptr<BeaconApi> api,
    BeaconApiEndpoint endpoint, const std::filesystem::path& folder,
    const std::optional<std::filesystem::path>& oldQueue, std::shared_ptr<Reachability> reachability)
    : m_impl(std::make_shared<Impl>(config ? std::move(config) : std::make_shared<const BeaconConfig>(""),
        std::move(api), endpoint, folder, std::move(reachability)))
{
    m_impl->fileQueue.setup(oldQueue);
}

BeaconQueue::~BeaconQueue()
{
    stop();
}

void BeaconQueue::start()
{
    start(m_impl->config->disableReachabilityForTesting, m_impl->config->disableQueueTimerForTesting);
}

void BeaconQueue::start(bool disableReachabilityForTesting, bool disableQueueTimerForTesting)
{
    Impl& impl = *m_impl;
    const std::lock_guard lock(impl.timerLock);
    if (impl.started)
        return;
    impl.started = true;
    // Callbacks and ticks hold the queue weakly: they must not keep it alive, nor find it gone.
    const std::weak_ptr<Impl> weak = m_impl;
    if (!disableReachabilityForTesting && impl.reachability) {
        impl.reachabilitySubscription = impl.reachability->subscribe(
            [weak](Reachability& source) {
                if (const auto self = weak.lock())
                    self->whenReachable(source);
            },
            [weak](Reachability&) {
                if (const auto self = weak.lock())
                    self->whenUnreachable();
            });
        try {
            impl.reachability->startNotifier();
        } catch (const std::exception& error) {
            debugLog(std::string("Error: Unable to monitor network reachability: ") + error.what());
        }
    }
    const double interval = impl.config->flushIntervalSeconds;
    if (!disableQueueTimerForTesting && std::isfinite(interval) && interval > 0) {
        try {
            impl.timer = std::make_unique<RepeatingTimer>(std::chrono::duration<double>(interval), [weak] {
                if (const auto self = weak.lock(); self && self->claimFlush(true))
                    self->take();
            });
        } catch (const std::system_error& error) {
            debugLog(std::string("Error: Unable to start the flush timer: ") + error.what());
        }
    }
}

void BeaconQueue::stop()
{
    Impl& impl = *m_impl;
    std::unique_ptr<RepeatingTimer> timer;
    {
        const std::lock_guard lock(impl.timerLock);
        if (impl.reachabilitySubscription) {
            impl.reachabilitySubscription.reset();
            impl.reachability->stopNotifier();
        }
        timer = std::move(impl.timer);
    }
    timer.reset(); // waits for a tick in progress
}

void BeaconQueue::add(const BeaconEvent& event)
{
    Impl& impl = *m_impl;
    std::string data;
    try {
        data = event.toJson().dump();
    } catch (const std::exception&) {
        data.clear();
    }
    // Refused before anything is dropped to make room: what cannot be read back is not worth an old event.
    if (data.empty() || fileio::nestsDeeperThan(data, BeaconStorage::maxNestingDepth)) {
        debugLog("[Beacon] Tried to queue unserialisable BeaconEvent");
        return;
    }
    std::size_t depth = 0;
    {
        const std::lock_guard lock(impl.addLock);
        const std::size_t limit = atLeastOne(impl.config->maxQueueSize);
        while (impl.fileQueue.depth() >= limit) {
            debugLog("[Beacon] Queue is full, dropping oldest event");
            impl.fileQueue.remove(std::size_t { 0 });
        }
        if (!impl.fileQueue.add(data))
            return;
        depth = impl.fileQueue.depth();
    }
    debugLog("Queued event '" + event.event + "'. Depth: " + std::to_string(depth));
    if (depth >= static_cast<std::size_t>(std::max(impl.config->flushAt, 0)) && impl.claimFlush(false))
        impl.take();
}

void BeaconQueue::flush()
{
    if (m_impl->claimFlush(false))
        m_impl->take();
}

bool BeaconQueue::canFlush() const
{
    return m_impl->canFlush();
}

bool BeaconQueue::isFlushing() const
{
    const std::lock_guard lock(m_impl->isFlushingLock);
    return m_impl->isFlushing;
}

std::size_t BeaconQueue::depth() const
{
    return m_impl->fileQueue.depth();
}

const std::filesystem::path& BeaconQueue::folder() const
{
    return m_impl->fileQueue.queue();
}

bool BeaconQueue::waitUntilIdleForTesting(std::chrono::milliseconds timeout) const
{
    Impl& impl = *m_impl;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        impl.dispatchQueue->flushForTesting();
        std::unique_lock lock(impl.isFlushingLock);
        if (!impl.flushingChanged.wait_until(lock, deadline, [&] { return !impl.isFlushing; }))
            return false;
        lock.unlock();
        // A result handled just now may have been the last task; anything started since shows up here.
        impl.dispatchQueue->flushForTesting();
        lock.lock();
        if (!impl.isFlushing)
            return true;
    }
}

} // namespace beacon
