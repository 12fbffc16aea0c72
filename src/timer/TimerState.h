#pragma once

#include <QObject>
#include <QString>

namespace Velto {
Q_NAMESPACE

/// The states of the focus timer; raw values are "idle", "work", "shortBreak", "longBreak".
enum class TimerState { idle, work, shortBreak, longBreak };
Q_ENUM_NS(TimerState)

QString rawValue(TimerState state);
/// What people call the state: "Idle", "Focus", "Short Break", "Long Break" (translated).
QString stateTitle(TimerState state);
inline bool isBreak(TimerState state)
{
    return state == TimerState::shortBreak || state == TimerState::longBreak;
}

} // namespace Velto

using Velto::TimerState;
