#pragma once

#include <QObject>
#include <QTimer>
#include <chrono>
#include <deque>

#include "HookEvent.h"

class Calendar;
class Preferences;
class QProcess;

/// How one run of a command went.
struct HookResult {
    enum class Outcome {
        exited, ///< the command ended by itself; see `exitCode`
        signalled, ///< a signal ended it
        timedOut, ///< it ran too long and was stopped
        failedToStart,
    };
    HookEvent event = HookEvent::focusStarted;
    QString command;
    Outcome outcome = Outcome::exited;
    int exitCode = 0;
    /// The first line of what the command wrote to standard error (at most `errorLineLimit` bytes).
    QString firstErrorLine;
};

/// Runs the user's command for a timer event with `/bin/sh -c`, telling it about the event
/// (see `HookPayload`) on standard input and in VELTO_* environment variables.
///
/// Commands run one after another in the order of their events, so a script sees "focus-ended"
/// before "interval-completed" and "break-started" even when they happen together; each waits
/// its turn without ever blocking the event loop. A command starts in the user's home folder
/// in a session and process group of its own. Its standard output is discarded; of its error
/// output only the first line is kept, for the log. A command still running after `timeout`
/// (60 seconds unless changed) gets SIGTERM with its whole process group, and SIGKILL two
/// seconds later if the shell still runs: `sleep` children and background jobs go with it,
/// while a daemon that moved to a session of its own with setsid is left alone. A background
/// job that outlives its shell is left alone too. Commands still running when the runner is
/// destroyed (the app quits) are killed with their group. Results go to the "velto.hooks"
/// log and to `finished`.
///
/// The commands are stored as one preference, "veltoHookCommands": a map from event name
/// ("focus-started", ...) to command line. An event without an entry, or with a blank
/// command, runs nothing.
class HookRunner final : public QObject {
    Q_OBJECT

public:
    static constexpr std::chrono::seconds defaultTimeout { 60 };
    /// Time between SIGTERM and SIGKILL for a command that ran too long.
    static constexpr std::chrono::seconds killGrace { 2 };
    /// Events waiting beyond this many are dropped (and logged): a stuck command cannot pile them up.
    static constexpr std::size_t maxWaiting = 32;
    /// Bytes of standard error kept for the log.
    static constexpr qsizetype errorLineLimit = 512;
    static QString preferenceKey() { return QStringLiteral("veltoHookCommands"); }

    HookRunner(Preferences& preferences, const Calendar& calendar, QObject* parent = nullptr);
    ~HookRunner() override;

    /// The stored command for `event`; empty when none.
    QString command(HookEvent event) const;
    /// Stores the command for `event`; a blank one removes it.
    void setCommand(HookEvent event, const QString& command);

    /// Runs the stored command for the payload's event, if there is one.
    void run(const HookPayload& payload);
    /// Runs `command` once, stored or not (the settings' "Test" button, with `HookPayload::sample`).
    void runCommand(const QString& command, const HookPayload& payload);

    std::chrono::milliseconds timeout() const { return m_timeout; }
    void setTimeout(std::chrono::milliseconds timeout) { m_timeout = timeout; }
    /// Nothing running and nothing waiting.
    bool isIdle() const { return !m_process && m_waiting.empty(); }

signals:
    void finished(const HookResult& result);

private:
    struct Job {
        HookEvent event;
        QString command;
        QByteArray input;
        QProcessEnvironment environment;
    };

    void startNext();
    void readErrorOutput();
    void stopForTimeout();
    void complete(HookResult::Outcome outcome, int exitCode);

    Preferences& m_preferences;
    const Calendar& m_calendar;
    std::chrono::milliseconds m_timeout = defaultTimeout;
    std::deque<Job> m_waiting;
    QProcess* m_process = nullptr;
    Job m_current;
    QByteArray m_errorHead;
    bool m_errorHeadDone = false;
    bool m_timedOut = false;
    QTimer m_deadline;
    QTimer m_killTimer;
};

Q_DECLARE_METATYPE(HookResult)
