#pragma once

#include <QObject>
#include <QTimer>
#include <chrono>
#include <functional>

#include "TimerState.h"
#include "platform/Instant.h"

class Calendar;
class Clock;
class CompanionMessenger;
class Notifier;
class Preferences;
class SessionStore;
class SoundPlayer;
class TagManager;

/// The focus-timer state machine: counts focus intervals and breaks down once
/// per second, records every interval that runs to its end, keeps today's
/// counters, announces the end, and asks Calmix to play or pause while sync is on.
class TimerManager : public QObject {
    Q_OBJECT
    Q_PROPERTY(Velto::TimerState currentState READ currentState WRITE setCurrentState NOTIFY currentStateChanged)
    Q_PROPERTY(double timeRemaining READ timeRemaining WRITE setTimeRemaining NOTIFY timeRemainingChanged)
    Q_PROPERTY(bool isRunning READ isRunning NOTIFY isRunningChanged)
    Q_PROPERTY(int sessionsCompleted READ sessionsCompleted NOTIFY sessionsCompletedChanged)
    Q_PROPERTY(int dailySessions READ dailySessions NOTIFY dailySessionsChanged)
    Q_PROPERTY(double workDuration READ workDuration NOTIFY workDurationChanged)
    Q_PROPERTY(double shortBreakDuration READ shortBreakDuration NOTIFY shortBreakDurationChanged)
    Q_PROPERTY(double longBreakDuration READ longBreakDuration NOTIFY longBreakDurationChanged)
    Q_PROPERTY(bool autoStartNext READ autoStartNext WRITE setAutoStartNext NOTIFY autoStartNextChanged)
    Q_PROPERTY(double totalFocusTimeToday READ totalFocusTimeToday NOTIFY totalFocusTimeTodayChanged)
    Q_PROPERTY(bool selectedModeIsFocus READ selectedModeIsFocus WRITE setSelectedModeIsFocus NOTIFY selectedModeIsFocusChanged)
    Q_PROPERTY(bool calmixSyncEnabled READ calmixSyncEnabled NOTIFY calmixSyncEnabledChanged)
    // Figures derived for the views.
    Q_PROPERTY(double progress READ progress NOTIFY progressChanged)
    Q_PROPERTY(QString timeString READ timeString NOTIFY timeRemainingChanged)
    Q_PROPERTY(QString focusTimeTodayText READ focusTimeTodayText NOTIFY totalFocusTimeTodayChanged)

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

    explicit TimerManager(Dependencies dependencies, QObject* parent = nullptr);

    TimerState currentState() const { return m_currentState; }
    void setCurrentState(TimerState state);
    double timeRemaining() const { return m_timeRemaining; }
    void setTimeRemaining(double seconds);
    bool isRunning() const { return m_isRunning; }
    int sessionsCompleted() const { return m_sessionsCompleted; }
    int dailySessions() const { return m_dailySessions; }
    double workDuration() const { return m_workDuration; }
    double shortBreakDuration() const { return m_shortBreakDuration; }
    double longBreakDuration() const { return m_longBreakDuration; }
    bool autoStartNext() const { return m_autoStartNext; }
    void setAutoStartNext(bool on);
    double totalFocusTimeToday() const { return m_totalFocusTimeToday; }
    bool selectedModeIsFocus() const { return m_selectedModeIsFocus; }
    void setSelectedModeIsFocus(bool focus);
    bool calmixSyncEnabled() const { return m_calmixSyncEnabled; }

    /// Arms a focus interval (or a short break) when idle, then runs; a paused interval resumes.
    Q_INVOKABLE void start(bool isBreak);
    Q_INVOKABLE void pause();
    /// Arms the next interval without starting it; a long break follows every fourth focus interval.
    Q_INVOKABLE void moveToNextState();
    /// Ignored while an interval runs.
    Q_INVOKABLE void setWorkDuration(int minutes);
    /// Sets the short break and a long break three times as long; ignored while an interval runs.
    Q_INVOKABLE void setBreakDuration(int minutes);
    Q_INVOKABLE void toggleCalmixSync();
    void saveSettings();
    void postCalmixAction(const QString& action);

    // What the popover's controls do.
    /// Pauses a running interval, or starts one of the kind the selected tab shows.
    Q_INVOKABLE void playPause();
    Q_INVOKABLE void reset();
    /// Moves on without recording the current interval.
    Q_INVOKABLE void skip();
    /// Shows the Focus or Breaks tab; an armed interval is abandoned.
    Q_INVOKABLE void selectTab(bool focus);
    Q_INVOKABLE void toggleAutoStart();

    double durationFor(TimerState state) const;
    /// 0 when idle or the duration is not positive, else the share of the interval that has passed.
    double progress() const;
    /// "MM:SS" of the remaining whole seconds.
    QString timeString() const;
    /// "25m", "1h 1m".
    QString focusTimeTodayText() const;

    /// Applies one decrement for each whole second the steady clock has moved on
    /// since the last one, then re-checks the day; the tick timer calls this, and tests call it directly.
    void catchUpTicks();
    /// Starts the new day's counters when the calendar day has changed since they were last checked
    /// (a suspend across midnight, a clock change). Runs on every tick, about once a minute, and
    /// should run when the machine resumes.
    Q_INVOKABLE void checkDay();

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
    void progressChanged();
    /// An interval ran to its end and was recorded.
    void sessionCompleted(Velto::TimerState state);
    /// Music should follow the timer now (the moments Calmix is messaged while its sync is on):
    /// play while a focus interval runs, pause otherwise.
    void musicCue(bool play);

private:
    void loadSettings();
    void loadDailyStats();
    /// `sessionDate` is the completed interval's date, stored as "lastSessionDate".
    void saveDailyStats(Instant sessionDate);
    void tick();
    void completeSession();
    void syncCalmix();
    void setRunning(bool running);
    void setCalmixSyncEnabled(bool on);
    void setDailyCounters(int sessions, double focusSeconds);
    void startNewDayIfNeeded(Instant at);
    void scheduleNextTick();
    void scheduleDayCheck();

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
};
