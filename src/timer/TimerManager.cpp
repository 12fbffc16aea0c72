#include "TimerManager.h"

#include <QUuid>

#include "EndAlerts.h"
#include "data/SessionStore.h"
#include "data/TagManager.h"
#include "platform/Calendar.h"
#include "platform/Clock.h"
#include "platform/CompanionMessenger.h"
#include "platform/Notifier.h"
#include "platform/PreferenceValues.h"
#include "platform/Preferences.h"
#include "platform/SoundPlayer.h"

using namespace std::chrono_literals;

namespace {
const QString kWorkDurationKey = QStringLiteral("workDuration");
const QString kShortBreakDurationKey = QStringLiteral("shortBreakDuration");
const QString kLongBreakDurationKey = QStringLiteral("longBreakDuration");
const QString kAutoStartNextKey = QStringLiteral("autoStartNext");
const QString kDailySessionsKey = QStringLiteral("dailySessions");
const QString kTotalFocusTimeTodayKey = QStringLiteral("totalFocusTimeToday");
const QString kLastSessionDateKey = QStringLiteral("lastSessionDate");
const QString kCalmixSyncKey = QStringLiteral("veltoCalmixSync");

SessionType sessionTypeFor(TimerState state)
{
    switch (state) {
    case TimerState::work:
        return SessionType::focus;
    case TimerState::shortBreak:
        return SessionType::shortBreak;
    default:
        return SessionType::longBreak;
    }
}

/// Whole seconds of a duration, clamped so absurd stored values cannot overflow.
qint64 wholeSeconds(double seconds)
{
    if (!(seconds > 0))
        return 0;
    return seconds > 9e15 ? qint64(9e15) : static_cast<qint64>(seconds);
}
} // namespace

TimerManager::TimerManager(Dependencies dependencies, QObject* parent) : QObject(parent), m_deps(std::move(dependencies))
{
    m_calmixSyncEnabled = PreferenceValues::boolean(m_deps.preferences.value(kCalmixSyncKey));
    loadSettings();
    loadDailyStats();
    // Desktop notifications need no permission on Linux.

    m_tickTimer.setTimerType(Qt::PreciseTimer);
    m_tickTimer.setSingleShot(true);
    connect(&m_tickTimer, &QTimer::timeout, this, &TimerManager::catchUpTicks);
    m_dayTimer.setTimerType(Qt::VeryCoarseTimer);
    m_dayTimer.setSingleShot(true);
    connect(&m_dayTimer, &QTimer::timeout, this, &TimerManager::checkDay);
    scheduleDayCheck();

    for (auto signal : { &TimerManager::currentStateChanged, &TimerManager::timeRemainingChanged,
                         &TimerManager::workDurationChanged, &TimerManager::shortBreakDurationChanged,
                         &TimerManager::longBreakDurationChanged })
        connect(this, signal, this, &TimerManager::progressChanged);
}

void TimerManager::loadSettings()
{
    const auto readDuration = [this](const QString& key, double& target) {
        if (const auto seconds = PreferenceValues::number(m_deps.preferences.value(key)))
            target = *seconds;
    };
    readDuration(kWorkDurationKey, m_workDuration);
    readDuration(kShortBreakDurationKey, m_shortBreakDuration);
    readDuration(kLongBreakDurationKey, m_longBreakDuration);
    m_autoStartNext = PreferenceValues::boolean(m_deps.preferences.value(kAutoStartNextKey));
}

void TimerManager::loadDailyStats()
{
    const qint64 today = m_deps.calendar.dayNumber(m_deps.clock.now());
    m_countersDay = today;
    const auto lastSession = PreferenceValues::date(m_deps.preferences.value(kLastSessionDateKey));
    if (!lastSession)
        return;
    if (m_deps.calendar.dayNumber(Instant::fromDateTime(*lastSession)) == today) {
        const qint64 sessions = PreferenceValues::integer(m_deps.preferences.value(kDailySessionsKey));
        setDailyCounters(static_cast<int>(std::clamp<qint64>(sessions, 0, std::numeric_limits<int>::max())),
                         PreferenceValues::real(m_deps.preferences.value(kTotalFocusTimeTodayKey)));
    } else {
        setDailyCounters(0, 0.0); // stored values are from another day; nothing is written yet
    }
}

void TimerManager::saveDailyStats(Instant sessionDate)
{
    m_deps.preferences.setValue(kDailySessionsKey, QVariant::fromValue<qint64>(m_dailySessions));
    m_deps.preferences.setValue(kTotalFocusTimeTodayKey, QVariant::fromValue<double>(m_totalFocusTimeToday));
    m_deps.preferences.setValue(kLastSessionDateKey, sessionDate.toDateTime());
}

void TimerManager::saveSettings()
{
    m_deps.preferences.setValue(kWorkDurationKey, QVariant::fromValue<double>(m_workDuration));
    m_deps.preferences.setValue(kShortBreakDurationKey, QVariant::fromValue<double>(m_shortBreakDuration));
    m_deps.preferences.setValue(kLongBreakDurationKey, QVariant::fromValue<double>(m_longBreakDuration));
    m_deps.preferences.setValue(kAutoStartNextKey, m_autoStartNext);
}

void TimerManager::setDailyCounters(int sessions, double focusSeconds)
{
    if (m_dailySessions != sessions) {
        m_dailySessions = sessions;
        emit dailySessionsChanged();
    }
    if (m_totalFocusTimeToday != focusSeconds) {
        m_totalFocusTimeToday = focusSeconds;
        emit totalFocusTimeTodayChanged();
    }
}

void TimerManager::startNewDayIfNeeded(Instant at)
{
    // Today's counters belong to one calendar day; a process that runs past
    // midnight starts the new day from zero instead of adding to yesterday's.
    const qint64 day = m_deps.calendar.dayNumber(at);
    if (day == m_countersDay)
        return;
    m_countersDay = day;
    setDailyCounters(0, 0.0);
}

void TimerManager::checkDay()
{
    // Ticks that fell due first, so an interval that ended before midnight counts for its own day.
    catchUpTicks();
    scheduleDayCheck();
}

void TimerManager::scheduleDayCheck()
{
    const Instant now = m_deps.clock.now();
    const Instant nextDay = m_deps.calendar.startOfDayNumber(m_deps.calendar.dayNumber(now) + 1);
    // A little past midnight, so the new day has certainly begun when it fires.
    const double wait = std::clamp(nextDay.secondsSince(now) + 1.0, 1.0, 60.0);
    m_dayTimer.start(std::chrono::milliseconds(static_cast<qint64>(wait * 1000.0)));
}

void TimerManager::setCurrentState(TimerState state)
{
    if (m_currentState == state)
        return;
    m_currentState = state;
    emit currentStateChanged();
}

void TimerManager::setTimeRemaining(double seconds)
{
    if (m_timeRemaining == seconds)
        return;
    m_timeRemaining = seconds;
    emit timeRemainingChanged();
}

void TimerManager::setRunning(bool running)
{
    if (m_isRunning == running)
        return;
    m_isRunning = running;
    emit isRunningChanged();
}

void TimerManager::setAutoStartNext(bool on)
{
    if (m_autoStartNext == on)
        return;
    m_autoStartNext = on;
    emit autoStartNextChanged();
}

void TimerManager::setSelectedModeIsFocus(bool focus)
{
    if (m_selectedModeIsFocus == focus)
        return;
    m_selectedModeIsFocus = focus;
    emit selectedModeIsFocusChanged();
}

void TimerManager::setCalmixSyncEnabled(bool on)
{
    m_calmixSyncEnabled = on;
    m_deps.preferences.setValue(kCalmixSyncKey, on);
    emit calmixSyncEnabledChanged();
}

double TimerManager::durationFor(TimerState state) const
{
    switch (state) {
    case TimerState::work:
        return m_workDuration;
    case TimerState::shortBreak:
        return m_shortBreakDuration;
    case TimerState::longBreak:
        return m_longBreakDuration;
    case TimerState::idle:
        break;
    }
    return 0.0;
}

void TimerManager::start(bool isBreak)
{
    if (m_currentState == TimerState::idle) {
        setCurrentState(isBreak ? TimerState::shortBreak : TimerState::work);
        setTimeRemaining(durationFor(m_currentState));
    }
    setRunning(true);
    m_tickAnchor = m_deps.clock.steadyTime();
    scheduleNextTick();
    syncCalmix();
}

void TimerManager::pause()
{
    setRunning(false);
    m_tickTimer.stop();
    syncCalmix();
}

void TimerManager::moveToNextState()
{
    if (m_currentState == TimerState::work)
        setCurrentState(m_sessionsCompleted > 0 && m_sessionsCompleted % 4 == 0 ? TimerState::longBreak
                                                                                 : TimerState::shortBreak);
    else
        setCurrentState(TimerState::work);
    setTimeRemaining(durationFor(m_currentState));
}

void TimerManager::setWorkDuration(int minutes)
{
    if (m_currentState != TimerState::idle && m_isRunning)
        return;
    m_workDuration = minutes * 60.0;
    emit workDurationChanged();
    saveSettings();
}

void TimerManager::setBreakDuration(int minutes)
{
    if (m_currentState != TimerState::idle && m_isRunning)
        return;
    m_shortBreakDuration = minutes * 60.0;
    m_longBreakDuration = minutes * 180.0;
    emit shortBreakDurationChanged();
    emit longBreakDurationChanged();
    saveSettings();
}

void TimerManager::toggleCalmixSync()
{
    setCalmixSyncEnabled(!m_calmixSyncEnabled);
    if (!m_calmixSyncEnabled)
        postCalmixAction(QStringLiteral("pause"));
    else if (m_isRunning && m_currentState == TimerState::work)
        postCalmixAction(QStringLiteral("play"));
}

void TimerManager::postCalmixAction(const QString& action) { m_deps.companion.postAction(action); }

void TimerManager::syncCalmix()
{
    const bool focusRunning = m_isRunning && m_currentState == TimerState::work;
    if (m_calmixSyncEnabled)
        postCalmixAction(focusRunning ? QStringLiteral("play") : QStringLiteral("pause"));
    emit musicCue(focusRunning);
}

void TimerManager::playPause()
{
    if (m_isRunning)
        pause();
    else
        start(!m_selectedModeIsFocus);
}

void TimerManager::reset()
{
    pause();
    setCurrentState(TimerState::idle);
    setTimeRemaining(0.0);
}

void TimerManager::skip()
{
    pause();
    moveToNextState();
}

void TimerManager::selectTab(bool focus)
{
    setSelectedModeIsFocus(focus);
    if (m_currentState != TimerState::idle)
        reset();
}

void TimerManager::toggleAutoStart()
{
    setAutoStartNext(!m_autoStartNext);
    saveSettings();
}

void TimerManager::scheduleNextTick()
{
    const auto wait = m_tickAnchor + 1s - m_deps.clock.steadyTime();
    m_tickTimer.start(std::max(wait, 0ms));
}

void TimerManager::catchUpTicks()
{
    // The event loop can be late (a busy GUI thread, a blocked call): apply one
    // tick per whole second that has really passed, so the interval keeps time.
    const auto now = m_deps.clock.steadyTime();
    while (m_isRunning && now - m_tickAnchor >= 1s) {
        const auto due = m_tickAnchor + 1s;
        m_tickAnchor = due;
        m_tickLateness = now - due;
        tick();
        // An auto-started interval counts on from when this tick was due, not from now.
        if (m_isRunning)
            m_tickAnchor = due;
    }
    m_tickLateness = 0ms;
    startNewDayIfNeeded(m_deps.clock.now());
    if (m_isRunning)
        scheduleNextTick();
}

void TimerManager::tick()
{
    if (m_timeRemaining > 0)
        setTimeRemaining(m_timeRemaining - 1.0);
    else
        completeSession();
}

void TimerManager::completeSession()
{
    pause();
    const TimerState finished = m_currentState;
    SessionRecord record;
    record.id = QUuid::createUuid();
    // Dated when the interval really ended, even if the tick is applied late.
    record.date = m_deps.clock.now().addSeconds(-std::chrono::duration<double>(m_tickLateness).count());
    record.duration = durationFor(finished);
    record.type = sessionTypeFor(finished);
    record.completedFully = true;
    if (finished == TimerState::work)
        record.tag = m_deps.tagManager.currentSessionTag();
    m_deps.sessionStore().addRecord(record);

    if (finished == TimerState::work) {
        ++m_sessionsCompleted;
        emit sessionsCompletedChanged();
        // The day the interval ended decides, even when its tick runs after midnight,
        // so that the counters and the history agree.
        startNewDayIfNeeded(record.date);
        setDailyCounters(m_dailySessions + 1, m_totalFocusTimeToday + m_workDuration);
        saveDailyStats(record.date);
    }
    if (EndAlerts::soundOn(m_deps.preferences))
        m_deps.sound.playCompletionSound();
    if (EndAlerts::notificationOn(m_deps.preferences))
        m_deps.notifier.notify(tr("Session Complete!"), finished == TimerState::work
                                   ? tr("Great work! Time for a break.")
                                   : tr("Break's over. Ready to focus?"));
    emit sessionCompleted(finished);

    if (m_autoStartNext) {
        moveToNextState();
        start(false);
    } else {
        setCurrentState(TimerState::idle);
        setTimeRemaining(0.0);
        syncCalmix();
    }
}

double TimerManager::progress() const
{
    if (m_currentState == TimerState::idle)
        return 0.0;
    const double duration = durationFor(m_currentState);
    if (!(duration > 0))
        return 0.0;
    return 1.0 - m_timeRemaining / duration;
}

QString TimerManager::timeString() const
{
    const qint64 seconds = wholeSeconds(m_timeRemaining);
    return QStringLiteral("%1:%2").arg(seconds / 60, 2, 10, QLatin1Char('0')).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

QString TimerManager::focusTimeTodayText() const
{
    const qint64 seconds = wholeSeconds(m_totalFocusTimeToday);
    if (seconds < 3600)
        return tr("%1m").arg((seconds % 3600) / 60);
    return tr("%1h %2m").arg(seconds / 3600).arg((seconds % 3600) / 60);
}
