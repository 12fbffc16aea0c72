#pragma once

#include <QObject>
#include <QString>

namespace Velto {
Q_NAMESPACE

/// The states of the focus timer; raw values are "idle", "work", "shortBreak", "longBreak".
enum class TimerState { idle, work, shortBreak, longBreak };
Q_ENUM_NS(TimerState)

QString rawValue(TimerState state);

} // namespace Velto

using Velto::TimerState;
