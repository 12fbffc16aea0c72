#pragma once

#include <QString>
#include <QUuid>
#include <optional>
#include <string_view>

#include "platform/Instant.h"

enum class SessionType { focus, shortBreak, longBreak };

/// "focus", "shortBreak" or "longBreak".
std::string_view rawValue(SessionType type);
std::optional<SessionType> sessionTypeFromRawValue(std::string_view raw);

/// One completed interval of the history.
struct SessionRecord {
    QUuid id;
    Instant date; ///< the moment the interval ended
    double duration = 0.0; ///< the configured length in seconds, not the time elapsed
    SessionType type = SessionType::focus;
    bool completedFully = false;
    std::optional<QString> tag;

    bool operator==(const SessionRecord&) const = default;

    /// A completed focus interval: the only kind that counts towards focus time and streaks.
    bool isQualifying() const { return type == SessionType::focus && completedFully; }
    /// `duration` in whole minutes, truncated toward zero (saturating for absurd values).
    qint64 wholeMinutes() const;
};

/// Sum of whole minutes that saturates instead of overflowing.
qint64 addMinutes(qint64 total, qint64 minutes);
