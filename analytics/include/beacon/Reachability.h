#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "beacon/BeaconNetworkStateSource.h"
#include "beacon/ReachabilityFlags.h"
#include "beacon/RegistrationToken.h"

namespace beacon {

class BeaconNotificationCenter;
class BeaconSerialQueue;

class ReachabilityError : public std::runtime_error {
public:
    enum class Kind {
        failedToCreateWithAddress,
        failedToCreateWithHostname,
        unableToSetCallback,
        unableToSetDispatchQueue,
        unableToGetFlags,
    };

    ReachabilityError(Kind kind, std::error_code code);
    Kind kind() const noexcept { return m_kind; }
    /// The error the network state source (or the system) reported.
    std::error_code code() const noexcept { return m_code; }

private:
    Kind m_kind;
    std::error_code m_code;
};

/// Watches whether the internet can be reached. Changes are read on a serial queue of
/// its own; the reachable/unreachable callbacks and the "ReachabilityChangedNotification"
/// (with this instance as object) are delivered on the notification queue.
class Reachability : public std::enable_shared_from_this<Reachability> {
public:
    enum class Connection { unavailable, wifi, cellular };
    using Callback = std::function<void(Reachability&)>;

    static constexpr const char* changedNotification = "ReachabilityChangedNotification";

    /// Throws `ReachabilityError` (failedToCreateWithAddress) without a source or when its
    /// queue cannot be started. Without a notification queue it delivers on one of its own;
    /// without a centre it posts on the default one.
    static std::shared_ptr<Reachability> create(std::shared_ptr<BeaconNetworkStateSource> source,
        std::shared_ptr<BeaconSerialQueue> notificationQueue = nullptr,
        BeaconNotificationCenter* notificationCenter = nullptr);
    ~Reachability();

    Reachability(const Reachability&) = delete;
    Reachability& operator=(const Reachability&) = delete;

    void setWhenReachable(Callback callback);
    void setWhenUnreachable(Callback callback);
    /// For the several listeners one instance serves (both event queues): calls the pair after the
    /// handlers above, in subscription order, until the token is released. The token may outlive
    /// this object; a delivery already under way may still arrive just after the release.
    [[nodiscard]] std::unique_ptr<RegistrationToken> subscribe(
        Callback whenReachable, Callback whenUnreachable);
    /// Kept for callers that set it; this platform never reports a cellular connection.
    bool allowsCellularConnection() const { return m_allowsCellularConnection.load(); }
    void setAllowsCellularConnection(bool allows) { m_allowsCellularConnection.store(allows); }

    /// Starts watching and reads the flags once (which notifies when they are new); no-op while
    /// running. Throws `ReachabilityError` (unableToSetCallback, unableToGetFlags).
    void startNotifier();
    void stopNotifier();
    bool isNotifierRunning() const;

    /// Reads the flags first when none are known yet.
    Connection connection();
    /// `connection()`, or nothing when the source could only assume it (flag `assumed`).
    std::optional<Connection> knownConnection();
    /// "WiFi" or "No Connection".
    std::string description();
    std::optional<ReachabilityFlags> flags() const;

    /// Waits until every change reported so far has been read and delivered.
    void flushForTesting();

    /// `wifi` when reachable and either no connection is required, or one comes up by
    /// itself (on traffic or on demand) without the user; `unavailable` otherwise.
    static Connection connectionFor(std::optional<ReachabilityFlags> flags);

private:
    Reachability(std::shared_ptr<BeaconNetworkStateSource> source,
        std::shared_ptr<BeaconSerialQueue> notificationQueue, BeaconNotificationCenter* notificationCenter);

    /// The flags, read first when none are known yet.
    std::optional<ReachabilityFlags> currentFlags();
    /// Runs on the serial queue: reads the flags and notifies when they changed.
    std::error_code updateFlags();
    void notify();
    void setRunning(bool running);

    const std::shared_ptr<BeaconNetworkStateSource> m_source;
    BeaconNotificationCenter* const m_notificationCenter;
    std::atomic<bool> m_allowsCellularConnection { true };

    mutable std::mutex m_callbackLock;
    Callback m_whenReachable; // m_callbackLock
    Callback m_whenUnreachable; // m_callbackLock
    struct Subscriber {
        std::uint64_t id;
        Callback whenReachable;
        Callback whenUnreachable;
    };
    std::vector<Subscriber> m_subscribers; // m_callbackLock
    std::uint64_t m_nextSubscriberId = 0; // m_callbackLock

    std::mutex m_startStopLock; // serialises startNotifier/stopNotifier; never taken on the queues
    mutable std::mutex m_notifierLock;
    bool m_notifierRunning = false; // m_notifierLock

    mutable std::mutex m_flagsLock;
    std::optional<ReachabilityFlags> m_flags; // m_flagsLock

    std::shared_ptr<BeaconSerialQueue> m_reachabilitySerialQueue;
    std::shared_ptr<BeaconSerialQueue> m_notificationQueue;
};

/// "WiFi", "Cellular" or "No Connection".
std::string_view toString(Reachability::Connection connection);

} // namespace beacon
