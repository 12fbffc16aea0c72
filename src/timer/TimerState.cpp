#include "TimerState.h"

#include <QCoreApplication>

namespace Velto {

QString rawValue(TimerState state)
{
    switch (state) {
    case TimerState::idle:
        return QStringLiteral("idle");
    case TimerState::work:
        return QStringLiteral("work");
    case TimerState::shortBreak:
        return QStringLiteral("shortBreak");
    case TimerState::longBreak:
        return QStringLiteral("longBreak");
    }
    return QStringLiteral("idle");
}

QString stateTitle(TimerState state)
{
    switch (state) {
    case TimerState::idle:
        break;
    case TimerState::work:
        return QCoreApplication::translate("TimerState", "Focus");
    case TimerState::shortBreak:
        return QCoreApplication::translate("TimerState", "Short Break");
    case TimerState::longBreak:
        return QCoreApplication::translate("TimerState", "Long Break");
    }
    return QCoreApplication::translate("TimerState", "Idle");
}

} // namespace Velto
