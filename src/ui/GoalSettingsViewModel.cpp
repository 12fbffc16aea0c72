#include "GoalSettingsViewModel.h"

#include "TypedNumber.h"

GoalSettingsViewModel::GoalSettingsViewModel(DailyGoal& goal, QObject* parent)
    : QObject(parent)
    , m_goal(goal)
{
    connect(&m_goal, &DailyGoal::goalChanged, this, &GoalSettingsViewModel::goalChanged);
}

void GoalSettingsViewModel::toggle()
{
    m_goal.setOn(!m_goal.isOn());
}

void GoalSettingsViewModel::setSessions(int count)
{
    m_goal.setSessions(count);
    emit goalChanged();
}

void GoalSettingsViewModel::step(int delta)
{
    setSessions(TypedNumber::stepped(sessions(), delta));
}

void GoalSettingsViewModel::enter(const QString& text)
{
    if (const auto count = TypedNumber::parse(text))
        setSessions(*count);
    else
        emit goalChanged();
}
