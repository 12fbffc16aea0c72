#pragma once

#include <QString>
#include <QVariantMap>

#include "CliArguments.h"

namespace Cli {

/// The timer as the running Velto reports it on the bus.
struct TimerStatus {
    uint state = 0;
    double timeRemaining = 0.0;
    bool isRunning = false;
    double progress = 0.0;
    QString currentTag;
    int dailySessions = 0;
    double focusTimeToday = 0.0;

    /// Takes over the properties present in `properties` (a GetAll reply or a change), by their bus names.
    void apply(const QVariantMap& properties);
};

/// "idle", "work", "shortBreak", "longBreak"; "unknown" for values this build does not know.
QString stateName(uint state);
/// One line (text) or one compact JSON object (json, waybar), without the line break.
QString formatStatus(const TimerStatus& status, Format format);
/// The same for no running Velto: "Velto is not running.", or an object whose state (json)
/// or class (waybar, with an empty text so the module hides and a tooltip) is "stopped".
QString formatNotRunning(Format format);
/// "Velto is not running."
QString notRunningText();

} // namespace Cli
