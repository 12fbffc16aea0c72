#pragma once

#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>
#include <array>
#include <optional>

#include "platform/Instant.h"

class Calendar;

/// The timer's moments a user's command can follow.
enum class HookEvent {
    focusStarted, ///< a focus interval starts (not when it resumes)
    focusEnded, ///< a focus interval ends: completed, skipped or reset
    breakStarted,
    breakEnded,
    paused,
    resumed,
    intervalCompleted, ///< any interval ran to its end and was recorded
};

/// Every event, in the order the settings list them.
inline constexpr std::array<HookEvent, 7> allHookEvents { HookEvent::focusStarted, HookEvent::focusEnded,
    HookEvent::breakStarted, HookEvent::breakEnded, HookEvent::paused, HookEvent::resumed,
    HookEvent::intervalCompleted };

/// Stable names for scripts and the stored commands: "focus-started", "focus-ended", "break-started",
/// "break-ended", "paused", "resumed", "interval-completed".
QString hookEventName(HookEvent event);

/// What a command is told about the event, on standard input as one JSON object with the keys
/// "event", "state", "remaining", "tag", "sessionsToday" and "timestamp", and as the environment
/// variables VELTO_EVENT, VELTO_STATE, VELTO_REMAINING, VELTO_TAG, VELTO_SESSIONS_TODAY and
/// VELTO_TIMESTAMP.
struct HookPayload {
    HookEvent event = HookEvent::focusStarted;
    /// The timer's state after the event: "idle", "work", "shortBreak" or "longBreak". After an
    /// end, that is the next interval armed (a skip, auto-start) or "idle".
    QString state;
    /// Seconds left in the current interval after the event.
    qint64 remainingSeconds = 0;
    /// The current tag; null in JSON and an empty VELTO_TAG when there is none.
    std::optional<QString> tag;
    /// Completed focus intervals today.
    int sessionsToday = 0;
    /// When it happened; written as local time with offset ("2025-12-01T10:30:00.000+01:00").
    Instant timestamp;

    /// Plausible values for trying a command out: a 25-minute focus interval or a 5-minute break
    /// at the moment of `event` (idle after an end), no tag and no sessions (set those to the real
    /// ones if wished).
    static HookPayload sample(HookEvent event, Instant now);

    /// The JSON object on one line, ending with a line feed.
    QByteArray json(const Calendar& calendar) const;
    /// The VELTO_* variables added to `base`.
    QProcessEnvironment environment(const Calendar& calendar, QProcessEnvironment base) const;
};
