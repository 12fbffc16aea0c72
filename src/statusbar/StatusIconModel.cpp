#include "StatusIconModel.h"

#include "data/ThemeColorOption.h"
#include "timer/ClockText.h"

StatusIconModel StatusIconModel::make(TimerState state, bool running, bool selectedModeIsFocus,
    double timeRemaining, const QString& focusColorId, const QString& breakColorId)
{
    const bool focusRole = state == TimerState::work || (state == TimerState::idle && selectedModeIsFocus);
    StatusIconModel model;
    model.color = QColor::fromRgb(focusRole ? themeColorForId(focusColorId).value_or(fallbackFocusColor)
                                            : themeColorForId(breakColorId).value_or(fallbackBreakColor));
    if (running) {
        model.kind = Kind::countdown;
        model.secondsLeft = timeRemaining;
        model.timeText = clockText(timeRemaining);
    }
    return model;
}
