#include "TimerState.h"

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

} // namespace Velto
