#pragma once

#include <QObject>
#include <QtQml/qqmlregistration.h>

#include "timer/DailyGoal.h"

/// The Settings card of the daily goal: on or off, and how many focus intervals a day.
class GoalSettingsViewModel : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool isOn READ isOn NOTIFY goalChanged)
    Q_PROPERTY(int sessions READ sessions NOTIFY goalChanged)
    Q_PROPERTY(int minimumSessions READ minimumSessions CONSTANT)
    Q_PROPERTY(int maximumSessions READ maximumSessions CONSTANT)

public:
    explicit GoalSettingsViewModel(DailyGoal& goal, QObject* parent = nullptr);

    bool isOn() const { return m_goal.isOn(); }
    int sessions() const { return m_goal.sessions(); }
    static constexpr int minimumSessions() { return DailyGoal::minimumSessions; }
    static constexpr int maximumSessions() { return DailyGoal::maximumSessions; }

    Q_INVOKABLE void toggle();
    /// Steps or typed whole numbers, kept within 1–20; the field is told what is in force.
    Q_INVOKABLE void step(int delta);
    Q_INVOKABLE void enter(const QString& text);

signals:
    void goalChanged();

private:
    void setSessions(int count);

    DailyGoal& m_goal;
};
