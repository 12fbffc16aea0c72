#include "FocusProtection.h"

#include <QVariant>
#include <algorithm>

#include "platform/Clock.h"
#include "platform/DoNotDisturb.h"
#include "platform/IdleMonitor.h"
#include "platform/PreferenceValues.h"
#include "platform/Preferences.h"
#include "platform/ScreenLockWatcher.h"
#include "timer/TimerManager.h"

namespace {
bool storedSwitch(const Preferences& preferences, const char* key, bool fallback)
{
    return PreferenceValues::exactBoolean(preferences.value(QLatin1String(key))).value_or(fallback);
}
} // namespace

FocusProtection::FocusProtection(Dependencies dependencies, QObject* parent)
    : QObject(parent)
    , m_deps(dependencies)
{
    TimerManager& timer = m_deps.timer;
    for (auto signal : { &TimerManager::isRunningChanged, &TimerManager::currentStateChanged })
        connect(&timer, signal, this, [this] {
            applyDoNotDisturb();
            // Whatever the user did next answers the note.
            if (m_deps.timer.isRunning() || m_deps.timer.currentState() != TimerState::work) {
                m_pausedFor = Away::none;
                setAway(Away::none, 0.0);
            }
        });
    connect(&m_deps.screenLock, &ScreenLockWatcher::locked, this, &FocusProtection::onLocked);
    connect(&m_deps.screenLock, &ScreenLockWatcher::unlocked, this,
        [this](Instant, double lockedSeconds) { onUnlocked(lockedSeconds); });
    connect(&m_deps.idle, &IdleMonitor::idleSince, this, &FocusProtection::onIdleSince);
    connect(&m_deps.idle, &IdleMonitor::active, this, &FocusProtection::onActive);
    applyIdleWatch();
    applyDoNotDisturb();
}

FocusProtection::~FocusProtection()
{
    m_deps.doNotDisturb.release();
}

bool FocusProtection::doNotDisturb() const
{
    return storedSwitch(m_deps.preferences, doNotDisturbKey, false);
}

bool FocusProtection::pauseOnLock() const
{
    // Counting a locked screen as focus would be a wrong result: on unless turned off.
    return storedSwitch(m_deps.preferences, pauseOnLockKey, true);
}

bool FocusProtection::idleDetection() const
{
    return storedSwitch(m_deps.preferences, idleDetectionKey, false);
}

int FocusProtection::idleMinutes() const
{
    return static_cast<int>(
        PreferenceValues::numberWithin(m_deps.preferences.value(QLatin1String(idleMinutesKey)),
            IdleMonitor::minThresholdMinutes, IdleMonitor::maxThresholdMinutes)
            .value_or(defaultIdleMinutes));
}

void FocusProtection::setDoNotDisturb(bool on)
{
    m_deps.preferences.setValue(QLatin1String(doNotDisturbKey), on);
    applyDoNotDisturb();
    emit settingsChanged();
}

void FocusProtection::setPauseOnLock(bool on)
{
    m_deps.preferences.setValue(QLatin1String(pauseOnLockKey), on);
    emit settingsChanged();
}

void FocusProtection::setIdleDetection(bool on)
{
    m_deps.preferences.setValue(QLatin1String(idleDetectionKey), on);
    applyIdleWatch();
    emit settingsChanged();
}

void FocusProtection::setIdleMinutes(int minutes)
{
    const int bounded
        = std::clamp(minutes, IdleMonitor::minThresholdMinutes, IdleMonitor::maxThresholdMinutes);
    m_deps.preferences.setValue(QLatin1String(idleMinutesKey), QVariant::fromValue<qint64>(bounded));
    applyIdleWatch();
    emit settingsChanged();
}

bool FocusProtection::focusRuns() const
{
    return m_deps.timer.isRunning() && m_deps.timer.currentState() == TimerState::work;
}

void FocusProtection::applyDoNotDisturb()
{
    if (doNotDisturb() && focusRuns())
        m_deps.doNotDisturb.hold();
    else
        m_deps.doNotDisturb.release();
}

void FocusProtection::applyIdleWatch()
{
    if (idleDetection())
        m_deps.idle.watch(idleMinutes());
    else
        m_deps.idle.stop();
}

void FocusProtection::onLocked(Instant since)
{
    if (!pauseOnLock() || !focusRuns())
        return;
    m_deps.timer.pauseAt(since);
    if (m_deps.timer.isRunning() || m_deps.timer.currentState() != TimerState::work)
        return; // it ended before the lock was heard of
    m_pausedFor = Away::locked;
    m_pausedSince = since;
}

void FocusProtection::onUnlocked(double lockedSeconds)
{
    if (m_pausedFor != Away::locked)
        return;
    m_pausedFor = Away::none;
    setAway(Away::locked, lockedSeconds);
    emit returned();
}

void FocusProtection::onIdleSince(Instant began)
{
    if (!idleDetection() || !focusRuns())
        return;
    m_deps.timer.pauseAt(began);
    if (m_deps.timer.isRunning() || m_deps.timer.currentState() != TimerState::work)
        return;
    m_pausedFor = Away::idle;
    m_pausedSince = began;
}

void FocusProtection::onActive()
{
    if (m_pausedFor != Away::idle)
        return;
    m_pausedFor = Away::none;
    setAway(Away::idle, std::max(0.0, m_deps.clock.now().secondsSince(m_pausedSince)));
    emit returned();
}

void FocusProtection::setAway(Away away, double seconds)
{
    if (m_away == away && m_awaySeconds == seconds)
        return;
    m_away = away;
    m_awaySeconds = seconds;
    emit awayChanged();
}

void FocusProtection::resume()
{
    setAway(Away::none, 0.0);
    if (!m_deps.timer.isRunning() && m_deps.timer.currentState() != TimerState::idle)
        m_deps.timer.playPause();
}

void FocusProtection::keepTimeAway()
{
    setAway(Away::none, 0.0);
    m_deps.timer.resumeCountingPause();
}

void FocusProtection::dismissAway()
{
    setAway(Away::none, 0.0);
}
