#pragma once

#include <QColor>
#include <QString>

#include "timer/TimerState.h"

/// What the tray item shows for a timer state: the clock face or the countdown, in the
/// focus or the break colour.
struct StatusIconModel {
    enum class Kind { clockFace, countdown };

    Kind kind = Kind::clockFace;
    QColor color;
    double secondsLeft = 0;
    QString timeText; ///< "MM:SS" while counting down

    /// Focus colour in focus, or idle on the Focus tab; break colour otherwise. Unknown
    /// palette ids draw #FDA4AF (focus) and #6EE7B7 (break).
    static StatusIconModel make(TimerState state, bool running, bool selectedModeIsFocus,
        double timeRemaining, const QString& focusColorId, const QString& breakColorId);

    bool operator==(const StatusIconModel&) const = default;
};
