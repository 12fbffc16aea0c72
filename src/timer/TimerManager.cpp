#include "TimerManager.h"

#include <QUuid>
#include <cmath>

#include "ClockText.h"
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
const QString kIntervalsBeforeLongBreakKey = QStringLiteral("veltoIntervalsBeforeLongBreak");

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

constexpr double kMinimumSeconds = TimerManager::minimumMinutes * 60.0;
constexpr double kMaximumSeconds = TimerManager::maximumMinutes * 60.0;
/// A day with a clock change can last 25 hours.
constexpr double kLongestDaySeconds = 25 * 3600.0;
/// As many intervals as a day can hold at the shortest length.
constexpr qint64 kMostSessionsInADay = qint64(kLongestDaySeconds / kMinimumSeconds);

/// A stored length within the limits: a number outside them reads as the nearest limit,
/// anything else (absent, not a number) as `fallback`.
double storedDuration(const QVariant& stored, double fallback, double longest)
{
    return PreferenceValues::numberWithin(stored, kMinimumSeconds, longest).value_or(fallback);
}

double minutesWithinLimits(int minutes)
{
    return std::clamp(minutes, TimerManager::minimumMinutes, TimerManager::maximumMinutes) * 60.0;
}

/// A stored count within the limits, as `storedDuration` reads a length.
int storedIntervalsBeforeLongBreak(const QVariant& stored)
{
    return static_cast<int>(PreferenceValues::numberWithin(
        stored, TimerManager::minimumIntervalsBeforeLongBreak, TimerManager::maximumIntervalsBeforeLongBreak)
                                .value_or(TimerManager::defaultIntervalsBeforeLongBreak));
}
} // namespace

TimerManager::TimerManager(Dependencies dependencies, QObject* parent)
    : QObject(parent)
    , m_deps(std::move(dependencies))
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
    m_discardTimer.setSingleShot(true);
    connect(&m_discardTimer, &QTimer::timeout, this, &TimerManager::expireDiscard);

    for (auto signal : { &TimerManager::currentStateChanged, &TimerManager::timeRemainingChanged,
             &TimerManager::workDurationChanged, &TimerManager::shortBreakDurationChanged,
             &TimerManager::longBreakDurationChanged })
        connect(this, signal, this, &TimerManager::progressChanged);
}

void TimerManager::loadSettings()
{
    // What the file holds stays there until the user changes that setting: only the value in use is bounded.
    const Preferences& stored = m_deps.preferences;
    m_workDuration = storedDuration(stored.value(kWorkDurationKey), m_workDuration, kMaximumSeconds);
    m_shortBreakDuration
        = storedDuration(stored.value(kShortBreakDurationKey), m_shortBreakDuration, kMaximumSeconds);
    m_longBreakDuration
        = storedDuration(stored.value(kLongBreakDurationKey), m_longBreakDuration, 3 * kMaximumSeconds);
    m_autoStartNext = PreferenceValues::boolean(m_deps.preferences.value(kAutoStartNextKey));
    m_intervalsBeforeLongBreak = storedIntervalsBeforeLongBreak(stored.value(kIntervalsBeforeLongBreakKey));
}

void TimerManager::loadDailyStats()
{
    const qint64 today = m_deps.calendar.dayNumber(m_deps.clock.now());
    m_countersDay = today;
    const auto lastSession = PreferenceValues::date(m_deps.preferences.value(kLastSessionDateKey));
    if (!lastSession)
        return;
    if (m_deps.calendar.dayNumber(Instant::fromDateTime(*lastSession)) == today) {
        // No more than one day can hold, whatever the file says.
        const qint64 sessions = PreferenceValues::integer(m_deps.preferences.value(kDailySessionsKey));
        const double focus = PreferenceValues::real(m_deps.preferences.value(kTotalFocusTimeTodayKey));
        setDailyCounters(static_cast<int>(std::clamp<qint64>(sessions, 0, kMostSessionsInADay)),
            std::isnan(focus) ? 0.0 : std::clamp(focus, 0.0, kLongestDaySeconds));
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
    // Under auto-start the tab shows what runs; idle leaves it where it is.
    if (m_autoStartNext && state != TimerState::idle)
        setSelectedModeIsFocus(state == TimerState::work);
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

void TimerManager::arm(TimerState state)
{
    forgetDiscard();
    clearInterval();
    setCurrentState(state);
    setTimeRemaining(durationFor(state));
}

void TimerManager::moveToNextState()
{
    if (m_currentState == TimerState::work)
        arm(m_sessionsCompleted > 0 && m_sessionsCompleted % m_intervalsBeforeLongBreak == 0
                ? TimerState::longBreak
                : TimerState::shortBreak);
    else
        arm(TimerState::work);
}

void TimerManager::run()
{
    setRunning(true);
    m_pausedSince.reset();
    m_ranSince = m_deps.clock.now();
    m_tickAnchor = m_deps.clock.steadyTime();
    scheduleNextTick();
    syncCalmix();
    announceRun();
}

void TimerManager::stop()
{
    setRunning(false);
    m_tickTimer.stop();
}

void TimerManager::returnToIdle()
{
    stop();
    clearInterval();
    setCurrentState(TimerState::idle);
    setTimeRemaining(0.0);
}

void TimerManager::clearInterval()
{
    m_intervalStarted = false;
    m_secondsRun = 0.0;
    m_extendedSeconds = 0.0;
    m_pausedSince.reset();
}

void TimerManager::abandonInterval(bool settleMusic)
{
    const std::optional<Ending> ending = takeEnding();
    returnToIdle();
    if (settleMusic)
        syncCalmix();
    announceEnd(ending, IntervalEnd::stopped);
}

void TimerManager::start(bool isBreak)
{
    // The other kind is abandoned; the kind asked for says what the music does.
    if (m_currentState != TimerState::idle && Velto::isBreak(m_currentState) != isBreak)
        abandonInterval(false);
    if (m_currentState == TimerState::idle) {
        setSelectedModeIsFocus(!isBreak);
        arm(isBreak ? TimerState::shortBreak : TimerState::work);
    } else if (m_isRunning) {
        return;
    }
    run();
}

void TimerManager::pause()
{
    if (!m_isRunning)
        return;
    stop();
    m_pausedSince = m_deps.clock.now();
    syncCalmix();
    emit intervalPaused(m_currentState);
}

void TimerManager::pauseAt(Instant since)
{
    catchUpTicks(); // what fell due before now counts first; the interval may end here
    if (!m_isRunning)
        return;
    const Instant now = m_deps.clock.now();
    const Instant from = std::min(std::max(since, m_ranSince), now);
    // The ticks of this run fell every second after m_ranSince; those after `from` go back.
    const double lastTickAfterFrom = now.secondsSince(from)
        - std::chrono::duration<double>(m_deps.clock.steadyTime() - m_tickAnchor).count();
    const double givenBack = std::clamp(std::ceil(lastTickAfterFrom), 0.0, m_secondsRun);
    stop();
    m_pausedSince = from;
    m_secondsRun -= givenBack;
    setTimeRemaining(m_timeRemaining + givenBack);
    syncCalmix();
    emit intervalPaused(m_currentState);
}

void TimerManager::resumeCountingPause()
{
    if (m_isRunning || m_currentState == TimerState::idle)
        return;
    const std::optional<Instant> since = m_pausedSince;
    run();
    if (!since)
        return;
    const double away = std::max(0.0, m_deps.clock.now().secondsSince(*since));
    m_ranSince = *since;
    m_tickAnchor -= std::chrono::milliseconds(static_cast<qint64>(away * 1000.0));
    catchUpTicks();
}

bool TimerManager::extend(int minutes)
{
    if (m_currentState == TimerState::idle || minutes < minimumExtendMinutes
        || minutes > maximumExtendMinutes)
        return false;
    forgetDiscard();
    m_extendedSeconds += minutes * 60.0;
    setTimeRemaining(m_timeRemaining + minutes * 60.0);
    return true;
}

void TimerManager::playPause()
{
    if (m_isRunning)
        pause();
    else if (m_currentState != TimerState::idle)
        run(); // whatever is armed resumes, even when the other tab shows
    else
        start(!m_selectedModeIsFocus);
}

void TimerManager::reset()
{
    if (m_currentState == TimerState::idle)
        return;
    abandonInterval(true);
}

void TimerManager::skip()
{
    if (m_currentState == TimerState::idle)
        return;
    const std::optional<Ending> ending = takeEnding();
    stop();
    moveToNextState();
    syncCalmix();
    announceEnd(ending, IntervalEnd::skipped);
}

void TimerManager::selectTab(bool focus)
{
    setSelectedModeIsFocus(focus);
    if (m_currentState == TimerState::idle)
        return;
    m_discarded = Discarded { m_currentState, m_timeRemaining, m_deps.tagManager.currentSessionTag(),
        m_deps.clock.steadyTime(), m_secondsRun, m_extendedSeconds };
    const std::optional<Ending> ending = takeEnding();
    returnToIdle();
    syncCalmix();
    m_discardTimer.start(undoWindow);
    emit discardChanged();
    announceEnd(ending, IntervalEnd::stopped);
}

TimerState TimerManager::discardedState() const
{
    if (!m_discarded || m_deps.clock.steadyTime() - m_discarded->at >= undoWindow)
        return TimerState::idle;
    return m_discarded->state;
}

void TimerManager::undoDiscard()
{
    if (!canUndoDiscard() || m_currentState != TimerState::idle) {
        expireDiscard();
        return;
    }
    const Discarded discarded = *m_discarded;
    forgetDiscard();
    // The interval comes back as it was: its tab, its tag, the second it had reached.
    if (discarded.state == TimerState::work && discarded.tag != m_deps.tagManager.currentSessionTag()
        && (!discarded.tag || m_deps.tagManager.availableTags().contains(*discarded.tag)))
        m_deps.tagManager.chooseCurrentTag(discarded.tag.value_or(QString()));
    setSelectedModeIsFocus(discarded.state == TimerState::work);
    m_extendedSeconds = discarded.extendedSeconds;
    setCurrentState(discarded.state);
    setTimeRemaining(discarded.timeRemaining);
    m_secondsRun = discarded.secondsRun; // it ended, so it starts again when it runs
}

void TimerManager::forgetDiscard()
{
    m_discardTimer.stop();
    if (!m_discarded)
        return;
    m_discarded.reset();
    emit discardChanged();
}

void TimerManager::expireDiscard()
{
    if (!m_discarded)
        return;
    const auto left = m_discarded->at + undoWindow - m_deps.clock.steadyTime();
    if (left > std::chrono::milliseconds::zero())
        m_discardTimer.start(left);
    else
        forgetDiscard();
}

void TimerManager::setWorkDuration(int minutes)
{
    if (!durationsEditable())
        return;
    const double seconds = minutesWithinLimits(minutes);
    // Written even when unchanged: the user has chosen this length, whatever the file held.
    m_deps.preferences.setValue(kWorkDurationKey, QVariant::fromValue<double>(seconds));
    if (m_workDuration == seconds)
        return;
    forgetDiscard(); // it would come back longer or shorter than it ran
    m_workDuration = seconds;
    emit workDurationChanged();
}

void TimerManager::setBreakDuration(int minutes)
{
    if (!durationsEditable())
        return;
    const double seconds = minutesWithinLimits(minutes);
    const bool longFollows = longBreakFollowsShortBreak();
    const double longSeconds = longFollows ? 3 * seconds : m_longBreakDuration;
    m_deps.preferences.setValue(kShortBreakDurationKey, QVariant::fromValue<double>(seconds));
    if (longFollows)
        m_deps.preferences.setValue(kLongBreakDurationKey, QVariant::fromValue<double>(longSeconds));
    if (m_shortBreakDuration == seconds && m_longBreakDuration == longSeconds)
        return;
    forgetDiscard();
    m_shortBreakDuration = seconds;
    m_longBreakDuration = longSeconds;
    emit shortBreakDurationChanged();
    emit longBreakDurationChanged();
}

bool TimerManager::longBreakFollowsShortBreak() const
{
    // No separate switch: a long break of exactly three short ones is what setBreakDuration
    // has always stored, so files from before the long break had its own setting follow too.
    return std::abs(m_longBreakDuration - 3 * m_shortBreakDuration) < 0.5;
}

void TimerManager::setLongBreakDuration(int minutes)
{
    if (!durationsEditable())
        return;
    const double seconds = minutesWithinLimits(minutes);
    m_deps.preferences.setValue(kLongBreakDurationKey, QVariant::fromValue<double>(seconds));
    if (m_longBreakDuration == seconds)
        return;
    forgetDiscard();
    m_longBreakDuration = seconds;
    emit longBreakDurationChanged();
}

void TimerManager::setIntervalsBeforeLongBreak(int count)
{
    const int bounded = std::clamp(count, minimumIntervalsBeforeLongBreak, maximumIntervalsBeforeLongBreak);
    m_deps.preferences.setValue(kIntervalsBeforeLongBreakKey, QVariant::fromValue<qint64>(bounded));
    if (m_intervalsBeforeLongBreak == bounded)
        return;
    m_intervalsBeforeLongBreak = bounded;
    emit intervalsBeforeLongBreakChanged();
}

void TimerManager::toggleCalmixSync()
{
    setCalmixSyncEnabled(!m_calmixSyncEnabled);
    if (!m_calmixSyncEnabled)
        postCalmixAction(QStringLiteral("pause"));
    else if (m_isRunning && m_currentState == TimerState::work)
        postCalmixAction(QStringLiteral("play"));
}

void TimerManager::postCalmixAction(const QString& action)
{
    m_deps.companion.postAction(action);
}

void TimerManager::syncCalmix()
{
    const bool focusRunning = m_isRunning && m_currentState == TimerState::work;
    if (m_calmixSyncEnabled)
        postCalmixAction(focusRunning ? QStringLiteral("play") : QStringLiteral("pause"));
    emit musicCue(focusRunning);
}

void TimerManager::toggleAutoStart()
{
    m_autoStartNext = !m_autoStartNext;
    m_deps.preferences.setValue(kAutoStartNextKey, m_autoStartNext);
    emit autoStartNextChanged();
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
    if (m_timeRemaining > 0) {
        m_secondsRun += 1.0;
        setTimeRemaining(m_timeRemaining - 1.0);
    } else {
        completeSession();
    }
}

void TimerManager::completeSession()
{
    stop();
    syncCalmix();
    const TimerState finished = m_currentState;
    SessionRecord record;
    record.id = QUuid::createUuid();
    // Dated when the interval really ended, even if the tick is applied late.
    record.date = m_deps.clock.now().addSeconds(-std::chrono::duration<double>(m_tickLateness).count());
    record.duration = currentDuration();
    record.type = sessionTypeFor(finished);
    record.completedFully = true;
    if (finished == TimerState::work)
        record.tag = m_deps.tagManager.currentSessionTag();
    // The lengths are bounded, so the history keeps it; should it ever not, nothing that never
    // ran counts either.
    const bool ran = m_deps.sessionStore().addRecord(record);

    if (finished == TimerState::work && ran) {
        ++m_sessionsCompleted;
        emit sessionsCompletedChanged();
        // The day the interval ended decides, even when its tick runs after midnight,
        // so that the counters and the history agree.
        startNewDayIfNeeded(record.date);
        setDailyCounters(m_dailySessions + 1, m_totalFocusTimeToday + record.duration);
        saveDailyStats(record.date);
    }
    if (EndAlerts::soundOn(m_deps.preferences))
        m_deps.sound.playCompletionSound();
    if (EndAlerts::notificationOn(m_deps.preferences))
        notifyEnd(finished);

    const bool autoStart = m_autoStartNext;
    if (autoStart) {
        moveToNextState();
    } else {
        returnToIdle();
        syncCalmix();
    }
    const TimerState next = m_currentState;
    emit intervalEnded(finished, IntervalEnd::completed);
    if (ran)
        emit sessionFinished(record);
    // Whoever follows those signals may have moved the timer on: only what was armed here starts.
    if (autoStart && m_currentState == next && !m_isRunning)
        run();
}

void TimerManager::notifyEnd(TimerState finished)
{
    const bool focus = finished == TimerState::work;
    const QList<NotificationAction> actions = focus
        ? QList<NotificationAction> { { QStringLiteral("default"), QString() },
              { QStringLiteral("break"), tr("Start break") }, { QStringLiteral("extend"), tr("+5 min") } }
        : QList<NotificationAction> { { QStringLiteral("default"), QString() },
              { QStringLiteral("focus"), tr("Start focus") }, { QStringLiteral("skip"), tr("Skip") } };
    m_deps.notifier.notifyWithActions(tr("Session Complete!"),
        focus ? tr("Great work! Time for a break.") : tr("Break's over. Ready to focus?"), actions, this,
        [this](const QString& key) {
            if (key == QLatin1String("default"))
                emit endNotificationOpened();
            else if (key == QLatin1String("break"))
                start(true);
            else if (key == QLatin1String("focus"))
                start(false);
            else if (key == QLatin1String("extend"))
                focusFor(notificationExtendMinutes);
            else if (key == QLatin1String("skip"))
                skip();
        });
}

void TimerManager::focusFor(int minutes)
{
    if (m_currentState != TimerState::idle)
        abandonInterval(false);
    setSelectedModeIsFocus(true);
    arm(TimerState::work);
    // An interval of its own, as long as asked: recorded with that length.
    m_extendedSeconds = minutes * 60.0 - m_workDuration;
    setTimeRemaining(minutes * 60.0);
    run();
}

void TimerManager::announceRun()
{
    if (m_intervalStarted) {
        emit intervalResumed(m_currentState);
        return;
    }
    m_intervalStarted = true;
    emit intervalStarted(m_currentState);
}

std::optional<TimerManager::Ending> TimerManager::takeEnding()
{
    if (!m_intervalStarted)
        return std::nullopt;
    m_intervalStarted = false;
    Ending ending { m_currentState, m_secondsRun, std::nullopt };
    if (m_currentState == TimerState::work)
        ending.tag = m_deps.tagManager.currentSessionTag();
    return ending;
}

void TimerManager::announceEnd(const std::optional<Ending>& ending, IntervalEnd end)
{
    if (!ending)
        return;
    emit intervalEnded(ending->state, end);
    if (end != IntervalEnd::skipped)
        return;
    SessionRecord skipped;
    skipped.date = m_deps.clock.now();
    skipped.duration = ending->secondsRun;
    skipped.type = sessionTypeFor(ending->state);
    skipped.completedFully = false;
    skipped.tag = ending->tag;
    emit sessionFinished(skipped);
}

double TimerManager::progress() const
{
    if (m_currentState == TimerState::idle)
        return 0.0;
    const double duration = currentDuration();
    if (!(duration > 0))
        return 0.0;
    return 1.0 - m_timeRemaining / duration;
}

QString TimerManager::timeString() const
{
    return clockText(m_timeRemaining);
}

QString TimerManager::focusTimeTodayText() const
{
    return durationText(wholeMinutes(m_totalFocusTimeToday));
}
