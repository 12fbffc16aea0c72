#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "beacon/BeaconClock.h"
#include "beacon/RegistrationToken.h"

namespace beacon {

class BaseApplicationLifecyclePublisher;
class BeaconConfig;

enum class SessionIDChangeReason {
    sessionIdEmpty,
    sessionStart,
    sessionEnd,
    sessionReset,
    sessionTimeout,
    sessionPastMaximumLength,
    customSessionId,
};

/// The reason as it appears in the log, e.g. "Session timed out".
std::string_view description(SessionIDChangeReason reason);

/// The analytics session carried by every event as `$session_id`: started at set-up,
/// rotated after 30 minutes without activity or 24 hours in all, and following the
/// application into the background and back. Safe from any thread.
class BeaconSessionManager : public std::enable_shared_from_this<BeaconSessionManager> {
public:
    static constexpr double sessionActivityThreshold = 30 * 60; // seconds
    static constexpr double sessionMaxLengthThreshold = 24 * 3600; // seconds
    /// A wrapping library with this name keeps its own sessions.
    static constexpr const char* reactNativeLibraryName = "beacon-react-native";

    static std::shared_ptr<BeaconSessionManager> create();
    /// The process-wide instance.
    static const std::shared_ptr<BeaconSessionManager>& shared();

    BeaconSessionManager(const BeaconSessionManager&) = delete;
    BeaconSessionManager& operator=(const BeaconSessionManager&) = delete;

    /// Takes the configuration's clock; before this the system clock is used.
    void setup(const std::shared_ptr<const BeaconConfig>& config);

    /// The id for an event at `timestamp`, rotating or clearing it when it ran out
    /// (unless `readOnly`); creates one in the foreground when there is none.
    std::optional<std::string> getSessionId(BeaconClock::TimePoint timestamp, bool readOnly = false);
    /// The same at the current time.
    std::optional<std::string> getSessionId();

    void startSession();
    void endSession();
    void resetSession();
    /// Uses a caller's id; an empty one clears the session.
    void setSessionId(const std::string& id);

    /// Follows the application's activation and backgrounding through `publisher`.
    void registerApplicationLifecycle(BaseApplicationLifecyclePublisher& publisher);
    /// The same with the process-wide publisher.
    void registerApplicationLifecycle();
    /// Called on every activation and backgrounding, before the background flag changes.
    void touchSession();

    bool isAppInBackground() const;
    /// Called after every change of the id, on the thread that changed it.
    void setOnSessionIdChanged(std::function<void()> callback);

private:
    BeaconSessionManager() = default;

    struct Change {
        std::optional<std::string> id;
        SessionIDChangeReason reason;
    };

    BeaconClock::TimePoint currentTime() const;
    double now() const;
    /// Sets (or with no id clears) the session; caller holds m_sessionLock.
    Change changeLocked(std::optional<std::string> id, double timestamp, SessionIDChangeReason reason);
    /// Logs and reports the changes made under the lock.
    void announce(const std::optional<Change>& change);
    void applicationDidTransition(bool toBackground);
    std::optional<Change> touchLocked(double timestamp);

    mutable std::mutex m_configLock;
    std::shared_ptr<BeaconClock> m_clock; // m_configLock; the system clock when null

    mutable std::mutex m_sessionLock;
    std::optional<std::string> m_sessionId; // m_sessionLock
    std::optional<double> m_sessionStartTimestamp; // m_sessionLock, epoch seconds
    std::optional<double> m_sessionActivityTimestamp; // m_sessionLock, epoch seconds
    bool m_isAppInBackground = true; // m_sessionLock

    std::mutex m_callbackLock;
    std::shared_ptr<const std::function<void()>> m_onSessionIdChanged; // m_callbackLock

    std::mutex m_tokenLock;
    std::unique_ptr<RegistrationToken> m_didBecomeActiveToken; // m_tokenLock
    std::unique_ptr<RegistrationToken> m_didEnterBackgroundToken; // m_tokenLock
};

} // namespace beacon
