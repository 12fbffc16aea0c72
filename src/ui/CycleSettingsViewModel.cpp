#include "CycleSettingsViewModel.h"

#include "TypedNumber.h"
#include "timer/ClockText.h"

CycleSettingsViewModel::CycleSettingsViewModel(TimerManager& timer, QObject* parent)
    : QObject(parent)
    , m_timer(timer)
{
    for (const auto signal : { &TimerManager::intervalsBeforeLongBreakChanged,
             &TimerManager::longBreakDurationChanged, &TimerManager::shortBreakDurationChanged })
        connect(&m_timer, signal, this, &CycleSettingsViewModel::cycleChanged);
    connect(&m_timer, &TimerManager::currentStateChanged, this,
        &CycleSettingsViewModel::durationsEditableChanged);
}

int CycleSettingsViewModel::longBreakMinutes() const
{
    return static_cast<int>(wholeMinutes(m_timer.longBreakDuration()));
}

QString CycleSettingsViewModel::longBreakNote() const
{
    return m_timer.longBreakFollowsShortBreak()
        ? tr("Three times the short break, until you choose another length")
        : tr("Your own length, kept when the short break changes");
}

void CycleSettingsViewModel::setIntervals(int count)
{
    m_timer.setIntervalsBeforeLongBreak(count);
    emit cycleChanged(); // a clamped entry goes back to what is in force
}

void CycleSettingsViewModel::setLongBreakMinutes(int minutes)
{
    m_timer.setLongBreakDuration(minutes);
    emit cycleChanged();
}

void CycleSettingsViewModel::stepIntervals(int delta)
{
    setIntervals(TypedNumber::stepped(intervalsBeforeLongBreak(), delta));
}

void CycleSettingsViewModel::enterIntervals(const QString& text)
{
    if (const auto count = TypedNumber::parse(text))
        setIntervals(*count);
    else
        emit cycleChanged();
}

void CycleSettingsViewModel::stepLongBreakMinutes(int delta)
{
    setLongBreakMinutes(TypedNumber::stepped(longBreakMinutes(), delta));
}

void CycleSettingsViewModel::enterLongBreakMinutes(const QString& text)
{
    if (const auto minutes = TypedNumber::parse(text))
        setLongBreakMinutes(*minutes);
    else
        emit cycleChanged();
}
