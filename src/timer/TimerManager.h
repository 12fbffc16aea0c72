#pragma once

#include <QObject>
#include <QTimer>
#include <chrono>
#include <functional>
#include <optional>

#include "TimerState.h"
#include "data/SessionRecord.h"
#include "platform/Instant.h"

class Calendar;
class Clock;
class CompanionMessenger;
class Notifier;
class Preferences;
class SessionStore;
class SoundPlayer;
class TagManager;

/// The focus-timer state machine and every rule of it: counts focus intervals and breaks
/// down once per second, records every interval that runs to its end, keeps today's
/// counters, announces the end, and asks Calmix to play or pause while sync is on.
///
/// The popover, the tray, the bus and the command line only call its operations: an
/// operation that makes no sense in the current state does nothing and messages no one.
class TimerManager : public QObject {
    Q_OBJECT
    Q_PROPERTY(Velto::TimerState currentState READ currentState NOTIFY currentStateChanged)
    Q_PROPERTY(double timeRemaining READ timeRemaining NOTIFY timeRemainingChanged)
    Q_PROPERTY(bool isRunning READ isRunning NOTIFY isRunningChanged)
    Q_PROPERTY(int sessionsCompleted READ sessionsCompleted NOTIFY sessionsCompletedChanged)
    Q_PROPERTY(int dailySessions READ dailySessions NOTIFY dailySessionsChanged)
    Q_PROPERTY(double workDuration READ workDuration NOTIFY workDurationChanged)
    Q_PROPERTY(double shortBreakDuration READ shortBreakDuration NOTIFY shortBreakDurationChanged)
    Q_PROPERTY(double longBreakDuration READ longBreakDuration NOTIFY longBreakDurationChanged)
    Q_PROPERTY(bool autoStartNext READ autoStartNext NOTIFY autoStartNextChanged)
    Q_PROPERTY(double totalFocusTimeToday READ totalFocusTimeToday NOTIFY totalFocusTimeTodayChanged)
    Q_PROPERTY(bool selectedModeIsFocus READ selectedModeIsFocus NOTIFY selectedModeIsFocusChanged)
    Q_PROPERTY(bool calmixSyncEnabled READ calmixSyncEnabled NOTIFY calmixSyncEnabledChanged)
    /// Skip and reset apply: an interval is armed, running or paused.
    Q_PROPERTY(bool canSkipOrReset READ canSkipOrReset NOTIFY currentStateChanged)
    /// The lengths can be changed: only while idle, so an interval keeps the length it started with.
    Q_PROPERTY(bool durationsEditable READ durationsEditable NOTIFY currentStateChanged)
    /// The state of the interval a tab switch just discarded while it can be brought back; idle otherwise.
    Q_PROPERTY(Velto::TimerState discardedState READ discardedState NOTIFY discardChanged)
    Q_PROPERTY(bool canUndoDiscard READ canUndoDiscard NOTIFY discardChanged)
    // Figures derived for the views.
    Q_PROPERTY(double progress READ progress NOTIFY progressChanged)
    Q_PROPERTY(QString timeString READ timeString NOTIFY timeRemainingChanged)
    Q_PROPERTY(QString focusTimeTodayText READ focusTimeTodayText NOTIFY totalFocusTimeTodayChanged)
    // The cycle.
    /// How many focus intervals come before a long break.
    Q_PROPERTY(
        int intervalsBeforeLongBreak READ intervalsBeforeLongBreak NOTIFY intervalsBeforeLongBreakChanged)
    /// The long break is three times the short one until the user chooses another length.
    Q_PROPERTY(
        bool longBreakFollowsShortBreak READ longBreakFollowsShortBreak NOTIFY longBreakDurationChanged)

public:
    struct Dependencies {
        Preferences& preferences;
        const Clock& clock;
        const Calendar& calendar;
        /// The history; created on first use, so reading the file waits for the first completed interval.
        std::function<SessionStore&()> sessionStore;
        TagManager& tagManager;
        Notifier& notifier;
        SoundPlayer& sound;
        CompanionMessenger& companion;
    };

    /// The lengths a focus interval or a break can have, in minutes; a long break that follows
    /// the short one is three times as long, whatever that comes to.
    static constexpr int minimumMinutes = 1;
    static constexpr int maximumMinutes = 180;
    /// How long a discarded interval can be brought back.
    static constexpr std::chrono::seconds undoWindow { 5 };
    /// The cycle: a long break after every so many focus intervals.
    static constexpr int minimumIntervalsBeforeLongBreak = 2;
    static constexpr int maximumIntervalsBeforeLongBreak = 8;
    static constexpr int defaultIntervalsBeforeLongBreak = 4;
    /// How many minutes one `extend` can add.
    static constexpr int minimumExtendMinutes = 1;
    static constexpr int maximumExtendMinutes = 60;
    /// The "+5 min" of the end-of-focus notification: five more minutes of focus.
    static constexpr int notificationExtendMinutes = 5;

    /// How an interval that had started came to its end.
    enum class IntervalEnd {
        completed, ///< it ran to its end and was recorded
        skipped, ///< the next interval was armed in its place; not recorded
        stopped, ///< reset, a tab switch, or the other kind started; not recorded
    };
    Q_ENUM(IntervalEnd)

    explicit TimerManager(Dependencies dependencies, QObject* parent = nullptr);

    TimerState currentState() const { return m_currentState; }
    double timeRemaining() const { return m_timeRemaining; }
    bool isRunning() const { return m_isRunning; }
    int sessionsCompleted() const { return m_sessionsCompleted; }
    int dailySessions() const { return m_dailySessions; }
    double workDuration() const { return m_workDuration; }
    double shortBreakDuration() const { return m_shortBreakDuration; }
    double longBreakDuration() const { return m_longBreakDuration; }
    bool autoStartNext() const { return m_autoStartNext; }
    double totalFocusTimeToday() const { return m_totalFocusTimeToday; }
    bool selectedModeIsFocus() const { return m_selectedModeIsFocus; }
    bool calmixSyncEnabled() const { return m_calmixSyncEnabled; }
    bool canSkipOrReset() const { return m_currentState != TimerState::idle; }
    bool durationsEditable() const { return m_currentState == TimerState::idle; }
    TimerState discardedState() const;
    bool canUndoDiscard() const { return discardedState() != TimerState::idle; }

    /// Idle: arms and runs a focus interval (or a short break) and shows its tab. The same
    /// kind armed: resumes it, or nothing when it runs. The other kind armed: abandons it,
    /// as choosing the other tab does, and starts the requested kind from its full length.
    Q_INVOKABLE void start(bool isBreak);
    /// Pauses the running interval; nothing when none runs.
    Q_INVOKABLE void pause();
    /// Pauses the running interval as of `since`, a moment already past (the screen locked,
    /// the user walked away): the seconds counted after it are given back, so the interval
    /// and its record leave them out. Nothing when none runs.
    void pauseAt(Instant since);
    /// Resumes the paused interval as if it had run on since it paused: the time in between
    /// counts, and the interval ends at once when that was longer than it had left. Nothing
    /// unless an interval is paused.
    void resumeCountingPause();
    /// Adds 1–60 minutes to the running or paused interval; its recorded length grows by as
    /// much. Nothing when idle or out of range; true when added.
    Q_INVOKABLE bool extend(int minutes);
    /// Minutes within the limits; ignored unless idle.
    Q_INVOKABLE void setWorkDuration(int minutes);
    /// Sets the short break, and the long break to three times that while it follows the
    /// short one; ignored unless idle.
    Q_INVOKABLE void setBreakDuration(int minutes);
    /// Chooses the long break's own length, within the limits; ignored unless idle. It no longer
    /// follows the short break, unless it is exactly three times as long.
    Q_INVOKABLE void setLongBreakDuration(int minutes);
    /// Within 2–8; takes effect at the end of the current focus interval.
    Q_INVOKABLE void setIntervalsBeforeLongBreak(int count);
    Q_INVOKABLE void toggleCalmixSync();

    // What the popover's controls do.
    /// Pauses a running interval, resumes a paused one, or starts one of the kind the selected tab shows.
    Q_INVOKABLE void playPause();
    /// Stops and returns to idle; nothing when idle.
    Q_INVOKABLE void reset();
    /// Moves on to the next interval, paused, without recording the current one; nothing when idle.
    Q_INVOKABLE void skip();
    /// Shows the Focus or Breaks tab; an armed interval is stopped, and kept for `undoWindow`.
    Q_INVOKABLE void selectTab(bool focus);
    /// Brings back the interval the last tab switch stopped, paused where it was.
    Q_INVOKABLE void undoDiscard();
    Q_INVOKABLE void toggleAutoStart();

    double durationFor(TimerState state) const;
    /// The current interval's length, with what `extend` added; 0 when idle.
    double currentDuration() const { return durationFor(m_currentState) + m_extendedSeconds; }
    /// 0 when idle or the duration is not positive, else the share of the interval that has passed.
    double progress() const;
    /// "MM:SS" of the remaining whole seconds.
    QString timeString() const;
    /// "25m", "1h", "1h 1m".
    QString focusTimeTodayText() const;

    /// Applies one decrement for each whole second the steady clock has moved on
    /// since the last one, then re-checks the day; the tick timer calls this, and tests call it directly.
    void catchUpTicks();
    /// Starts the new day's counters when the calendar day has changed since they were last checked
    /// (a suspend across midnight, a clock change). Runs on every tick, about once a minute, and
    /// should run when the machine resumes.
    Q_INVOKABLE void checkDay();

    int intervalsBeforeLongBreak() const { return m_intervalsBeforeLongBreak; }
    bool longBreakFollowsShortBreak() const;

signals:
    void currentStateChanged();
    void timeRemainingChanged();
    void isRunningChanged();
    void sessionsCompletedChanged();
    void dailySessionsChanged();
    void workDurationChanged();
    void shortBreakDurationChanged();
    void longBreakDurationChanged();
    void autoStartNextChanged();
    void totalFocusTimeTodayChanged();
    void selectedModeIsFocusChanged();
    void calmixSyncEnabledChanged();
    void discardChanged();
    void progressChanged();
    /// Music should follow the timer now (the moments Calmix is messaged while its sync is on):
    /// play while a focus interval runs, pause otherwise.
    void musicCue(bool play);

    // The moments of an interval, for what follows the timer from outside (the user's commands,
    // the bus). Each is emitted once the timer has reached the state the moment leads to.
    /// An interval runs for the first time: started, auto-started, or run after a skip armed it.
    /// An interval a tab switch ended starts again when it runs after Undo brought it back.
    void intervalStarted(Velto::TimerState state);
    void intervalPaused(Velto::TimerState state);
    void intervalResumed(Velto::TimerState state);
    /// An interval that had started is over; every start is followed by exactly one end.
    void intervalEnded(Velto::TimerState state, TimerManager::IntervalEnd end);
    /// An interval completed or was skipped, after its `intervalEnded`. A completed one is the
    /// record just added to the history; a skipped one is not kept: it has no id,
    /// `completedFully` is false and `duration` holds the seconds it counted down.
    void sessionFinished(const SessionRecord& session);
    void intervalsBeforeLongBreakChanged();
    /// The user clicked the end-of-interval notification itself: show the timer.
    void endNotificationOpened();

private:
    /// What a tab switch stopped, kept for `undoWindow`.
    struct Discarded {
        TimerState state = TimerState::idle;
        double timeRemaining = 0.0;
        std::optional<QString> tag;
        std::chrono::milliseconds at { 0 };
        double secondsRun = 0.0;
        double extendedSeconds = 0.0;
    };
    /// The interval being left, when it had started.
    struct Ending {
        TimerState state = TimerState::idle;
        double secondsRun = 0.0;
        std::optional<QString> tag;
    };

    void loadSettings();
    void loadDailyStats();
    /// `sessionDate` is the completed interval's date, stored as "lastSessionDate".
    void saveDailyStats(Instant sessionDate);
    /// Gives `state` its full length, not yet running.
    void arm(TimerState state);
    /// Arms the next interval: a long break follows every `intervalsBeforeLongBreak`-th focus interval.
    void moveToNextState();
    /// Runs the armed interval from its time left.
    void run();
    /// Stops the ticks without telling anyone.
    void stop();
    void returnToIdle();
    /// Forgets what the interval ran, was extended by and when it paused.
    void clearInterval();
    /// Ends the armed interval as stopped and returns to idle; `settleMusic` when no new
    /// interval follows to say what the music does.
    void abandonInterval(bool settleMusic);
    void tick();
    void completeSession();
    /// Posts the end-of-interval notification, with what can follow as its buttons.
    void notifyEnd(TimerState finished);
    /// Stops what is armed and runs a focus interval of `minutes`.
    void focusFor(int minutes);
    void syncCalmix();
    void postCalmixAction(const QString& action);
    void setCurrentState(TimerState state);
    void setTimeRemaining(double seconds);
    void setSelectedModeIsFocus(bool focus);
    void setRunning(bool running);
    void setCalmixSyncEnabled(bool on);
    void setDailyCounters(int sessions, double focusSeconds);
    void startNewDayIfNeeded(Instant at);
    void scheduleNextTick();
    void scheduleDayCheck();
    void forgetDiscard();
    /// Forgets the discarded interval once its time to be brought back is over.
    void expireDiscard();
    /// Emits `intervalStarted` the first time the current interval runs, `intervalResumed` after.
    void announceRun();
    /// The current interval if it had started; from now on it counts as ended.
    std::optional<Ending> takeEnding();
    /// Emits `intervalEnded` (and `sessionFinished` for a skip) for what `takeEnding` gave.
    void announceEnd(const std::optional<Ending>& ending, IntervalEnd end);

    Dependencies m_deps;
    TimerState m_currentState = TimerState::idle;
    double m_timeRemaining = 0.0;
    bool m_isRunning = false;
    int m_sessionsCompleted = 0;
    int m_dailySessions = 0;
    double m_workDuration = 1500.0;
    double m_shortBreakDuration = 300.0;
    double m_longBreakDuration = 900.0;
    bool m_autoStartNext = false;
    double m_totalFocusTimeToday = 0.0;
    bool m_selectedModeIsFocus = true;
    bool m_calmixSyncEnabled = false;
    std::optional<Discarded> m_discarded;
    int m_intervalsBeforeLongBreak = defaultIntervalsBeforeLongBreak;
    /// The current interval has been announced as started and not yet as ended.
    bool m_intervalStarted = false;
    /// Seconds the current interval has counted down.
    double m_secondsRun = 0.0;
    /// Seconds `extend` added to the current interval.
    double m_extendedSeconds = 0.0;
    /// When the current interval last began to run, and when it last paused (wall clock).
    Instant m_ranSince;
    std::optional<Instant> m_pausedSince;

    QTimer m_tickTimer;
    /// Steady-clock time of the last applied tick.
    std::chrono::milliseconds m_tickAnchor { 0 };
    /// How long after it was due the tick being applied runs (non-zero while catching up).
    std::chrono::milliseconds m_tickLateness { 0 };
    /// The calendar day today's counters belong to.
    qint64 m_countersDay = 0;
    /// Fires just after midnight, and at least once a minute: it runs on the steady clock,
    /// which neither counts a suspend nor follows a change of the wall clock.
    QTimer m_dayTimer;
    QTimer m_discardTimer;
};
