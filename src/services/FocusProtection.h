#pragma once

#include <QObject>

#include "platform/Instant.h"

class Clock;
class DoNotDisturb;
class IdleMonitor;
class Preferences;
class ScreenLockWatcher;
class TimerManager;

/// Keeps focus time honest and quiet: holds desktop notifications back while a focus
/// interval runs, pauses it at the moment the screen locked or the user walked away, and on
/// their return says how long they were gone so they choose how to go on. Each switch is
/// stored in the preferences and applies at once.
class FocusProtection : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool doNotDisturb READ doNotDisturb NOTIFY settingsChanged)
    Q_PROPERTY(bool pauseOnLock READ pauseOnLock NOTIFY settingsChanged)
    Q_PROPERTY(bool idleDetection READ idleDetection NOTIFY settingsChanged)
    Q_PROPERTY(int idleMinutes READ idleMinutes NOTIFY settingsChanged)
    Q_PROPERTY(Away away READ away NOTIFY awayChanged)
    Q_PROPERTY(double awaySeconds READ awaySeconds NOTIFY awayChanged)

public:
    static constexpr const char* doNotDisturbKey = "veltoDoNotDisturb";
    static constexpr const char* pauseOnLockKey = "veltoPauseOnLock";
    static constexpr const char* idleDetectionKey = "veltoIdleDetection";
    static constexpr const char* idleMinutesKey = "veltoIdleMinutes";
    static constexpr int defaultIdleMinutes = 5;

    /// Why focus was paused while the user was gone, until they choose how to go on.
    enum class Away { none, locked, idle };
    Q_ENUM(Away)

    struct Dependencies {
        TimerManager& timer;
        Preferences& preferences;
        const Clock& clock;
        ScreenLockWatcher& screenLock;
        IdleMonitor& idle;
        DoNotDisturb& doNotDisturb;
    };

    explicit FocusProtection(Dependencies dependencies, QObject* parent = nullptr);
    ~FocusProtection() override;

    bool doNotDisturb() const;
    bool pauseOnLock() const;
    bool idleDetection() const;
    /// Within 1–60.
    int idleMinutes() const;
    Away away() const { return m_away; }
    double awaySeconds() const { return m_awaySeconds; }

    Q_INVOKABLE void setDoNotDisturb(bool on);
    Q_INVOKABLE void setPauseOnLock(bool on);
    Q_INVOKABLE void setIdleDetection(bool on);
    Q_INVOKABLE void setIdleMinutes(int minutes);

    /// Goes on from where focus paused: the time away is not counted.
    Q_INVOKABLE void resume();
    /// Goes on as if the user had never left: the time away counts as focus.
    Q_INVOKABLE void keepTimeAway();
    Q_INVOKABLE void dismissAway();

signals:
    void settingsChanged();
    void awayChanged();
    /// The user is back after focus was paused for them: show them the note.
    void returned();

private:
    bool focusRuns() const;
    void applyDoNotDisturb();
    void applyIdleWatch();
    void onLocked(Instant since);
    void onUnlocked(double lockedSeconds);
    void onIdleSince(Instant began);
    void onActive();
    void setAway(Away away, double seconds);

    Dependencies m_deps;
    /// Paused for this reason and not yet back.
    Away m_pausedFor = Away::none;
    Instant m_pausedSince;
    Away m_away = Away::none;
    double m_awaySeconds = 0.0;
};
