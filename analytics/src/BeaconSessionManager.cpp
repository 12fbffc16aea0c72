#include "beacon/BeaconSessionManager.h"

#include <chrono>

#include "beacon/ApplicationLifecyclePublisher.h"
#include "beacon/BeaconConfig.h"
#include "beacon/BeaconLog.h"
#include "beacon/BeaconVersion.h"
#include "beacon/TimeBasedEpochGenerator.h"

namespace beacon {
namespace {
double epochSeconds(BeaconClock::TimePoint time)
{
    return std::chrono::duration<double>(time.time_since_epoch()).count();
}

std::string newSessionId()
{
    return TimeBasedEpochGenerator::shared().timeOrderedUuid().toString();
}

/// A wrapping SDK that manages sessions itself.
bool sessionsManagedByWrapper()
{
    return BeaconVersion::libraryName() == BeaconSessionManager::reactNativeLibraryName;
}
} // namespace

std::string_view description(SessionIDChangeReason reason)
{
    switch (reason) {
    case SessionIDChangeReason::sessionIdEmpty:
        return "Session id was empty";
    case SessionIDChangeReason::sessionStart:
        return "Session started";
    case SessionIDChangeReason::sessionEnd:
        return "Session ended";
    case SessionIDChangeReason::sessionReset:
        return "Session was reset";
    case SessionIDChangeReason::sessionTimeout:
        return "Session timed out";
    case SessionIDChangeReason::sessionPastMaximumLength:
        return "Session past maximum length";
    case SessionIDChangeReason::customSessionId:
        break;
    }
    return "Custom session set";
}

std::shared_ptr<BeaconSessionManager> BeaconSessionManager::create()
{
    return std::shared_ptr<BeaconSessionManager>(new BeaconSessionManager);
}

const std::shared_ptr<BeaconSessionManager>& BeaconSessionManager::shared()
{
    // Never destroyed: lifecycle callbacks may still arrive while the process exits.
    static const auto* instance = new std::shared_ptr<BeaconSessionManager>(create());
    return *instance;
}

void BeaconSessionManager::setup(const std::shared_ptr<const BeaconConfig>& config)
{
    const std::lock_guard lock(m_configLock);
    m_clock = config ? config->clock : nullptr;
}

BeaconClock::TimePoint BeaconSessionManager::currentTime() const
{
    std::shared_ptr<BeaconClock> clock;
    {
        const std::lock_guard lock(m_configLock);
        clock = m_clock;
    }
    return clock ? clock->now() : std::chrono::system_clock::now();
}

double BeaconSessionManager::now() const
{
    return epochSeconds(currentTime());
}

BeaconSessionManager::Change BeaconSessionManager::changeLocked(
    std::optional<std::string> id, double timestamp, SessionIDChangeReason reason)
{
    if (id && !id->empty()) {
        m_sessionId = id;
        m_sessionStartTimestamp = timestamp;
        m_sessionActivityTimestamp = timestamp;
    } else {
        id.reset();
        m_sessionId.reset();
        m_sessionStartTimestamp.reset();
        m_sessionActivityTimestamp.reset();
    }
    return { std::move(id), reason };
}

void BeaconSessionManager::announce(const std::optional<Change>& change)
{
    if (!change)
        return;
    if (change->id)
        debugLog(
            "New session id created " + *change->id + " (" + std::string(description(change->reason)) + ")");
    else
        debugLog("Session id cleared - reason: (" + std::string(description(change->reason)) + ")");
    std::shared_ptr<const std::function<void()>> callback;
    {
        const std::lock_guard lock(m_callbackLock);
        callback = m_onSessionIdChanged;
    }
    if (callback && *callback)
        (*callback)();
}

std::optional<std::string> BeaconSessionManager::getSessionId()
{
    return getSessionId(currentTime());
}

std::optional<std::string> BeaconSessionManager::getSessionId(BeaconClock::TimePoint timestamp, bool readOnly)
{
    if (readOnly || sessionsManagedByWrapper()) {
        const std::lock_guard lock(m_sessionLock);
        return m_sessionId;
    }
    const double at = epochSeconds(timestamp);
    std::optional<Change> change;
    std::optional<std::string> result;
    {
        // Checked and changed under one lock: two events racing past a timeout must end
        // up in the same new session, not in one each.
        const std::lock_guard lock(m_sessionLock);
        const auto rotateOrClear = [&](SessionIDChangeReason reason) {
            change = changeLocked(
                m_isAppInBackground ? std::nullopt : std::optional(newSessionId()), at, reason);
            result = change->id;
        };
        if (!m_sessionId && !m_isAppInBackground) {
            change = changeLocked(newSessionId(), at, SessionIDChangeReason::sessionIdEmpty);
            result = change->id;
        } else if (m_sessionActivityTimestamp
            && at - *m_sessionActivityTimestamp > sessionActivityThreshold) {
            rotateOrClear(SessionIDChangeReason::sessionTimeout);
        } else if (m_sessionStartTimestamp && at - *m_sessionStartTimestamp > sessionMaxLengthThreshold) {
            rotateOrClear(SessionIDChangeReason::sessionPastMaximumLength);
        } else {
            result = m_sessionId;
        }
    }
    announce(change);
    return result;
}

void BeaconSessionManager::startSession()
{
    if (sessionsManagedByWrapper())
        return;
    const double at = now();
    std::optional<Change> change;
    {
        const std::lock_guard lock(m_sessionLock);
        change = changeLocked(newSessionId(), at, SessionIDChangeReason::sessionStart);
    }
    announce(change);
}

void BeaconSessionManager::endSession()
{
    const double at = now();
    std::optional<Change> change;
    {
        const std::lock_guard lock(m_sessionLock);
        change = changeLocked(std::nullopt, at, SessionIDChangeReason::sessionEnd);
    }
    announce(change);
}

void BeaconSessionManager::resetSession()
{
    if (sessionsManagedByWrapper())
        return;
    const double at = now();
    std::optional<Change> change;
    {
        const std::lock_guard lock(m_sessionLock);
        change = changeLocked(newSessionId(), at, SessionIDChangeReason::sessionReset);
    }
    announce(change);
}

void BeaconSessionManager::setSessionId(const std::string& id)
{
    const double at = now();
    std::optional<Change> change;
    {
        const std::lock_guard lock(m_sessionLock);
        change = changeLocked(id, at, SessionIDChangeReason::customSessionId);
    }
    announce(change);
}

std::optional<BeaconSessionManager::Change> BeaconSessionManager::touchLocked(double timestamp)
{
    if (!m_sessionId)
        return std::nullopt;
    if (m_sessionActivityTimestamp && timestamp - *m_sessionActivityTimestamp > sessionActivityThreshold)
        return changeLocked(newSessionId(), timestamp, SessionIDChangeReason::sessionTimeout);
    m_sessionActivityTimestamp = timestamp;
    return std::nullopt;
}

void BeaconSessionManager::touchSession()
{
    if (sessionsManagedByWrapper())
        return;
    const double at = now();
    std::optional<Change> change;
    {
        const std::lock_guard lock(m_sessionLock);
        change = touchLocked(at);
    }
    announce(change);
}

void BeaconSessionManager::applicationDidTransition(bool toBackground)
{
    const bool touch = !sessionsManagedByWrapper();
    const double at = now();
    std::optional<Change> change;
    {
        // Touch and flag change together, so an event built meanwhile sees either both or neither.
        const std::lock_guard lock(m_sessionLock);
        if (touch)
            change = touchLocked(at);
        m_isAppInBackground = toBackground;
    }
    announce(change);
}

void BeaconSessionManager::registerApplicationLifecycle(BaseApplicationLifecyclePublisher& publisher)
{
    // Weak: the publisher may call in after this manager is gone.
    const std::weak_ptr<BeaconSessionManager> weak = weak_from_this();
    auto active = publisher.registerDidBecomeActive([weak] {
        if (const auto self = weak.lock())
            self->applicationDidTransition(false);
    });
    auto background = publisher.registerDidEnterBackground([weak] {
        if (const auto self = weak.lock())
            self->applicationDidTransition(true);
    });
    {
        const std::lock_guard lock(m_tokenLock);
        std::swap(m_didBecomeActiveToken, active);
        std::swap(m_didEnterBackgroundToken, background);
    }
    // The previous registrations, if any, end here, outside the lock.
}

void BeaconSessionManager::registerApplicationLifecycle()
{
    registerApplicationLifecycle(ApplicationLifecyclePublisher::shared());
}

bool BeaconSessionManager::isAppInBackground() const
{
    const std::lock_guard lock(m_sessionLock);
    return m_isAppInBackground;
}

void BeaconSessionManager::setOnSessionIdChanged(std::function<void()> callback)
{
    const std::lock_guard lock(m_callbackLock);
    m_onSessionIdChanged = std::make_shared<const std::function<void()>>(std::move(callback));
}

} // namespace beacon
