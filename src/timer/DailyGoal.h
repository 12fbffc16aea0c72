#pragma once

#include <QObject>
#include <QString>

class Preferences;

/// The user's daily goal: so many focus intervals a day, or none.
///
/// Stored as "veltoDailyGoalOn" (Boolean; absent or not a Boolean: off) and "veltoDailyGoal"
/// (integer; absent or not a number: 8). A stored count out of range counts as the nearest
/// limit; what the file holds stays there until the user changes the goal.
class DailyGoal : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool isOn READ isOn NOTIFY goalChanged)
    Q_PROPERTY(int sessions READ sessions NOTIFY goalChanged)

public:
    static constexpr int minimumSessions = 1;
    static constexpr int maximumSessions = 20;
    static constexpr int defaultSessions = 8;

    explicit DailyGoal(Preferences& preferences, QObject* parent = nullptr);

    bool isOn() const { return m_on; }
    /// The goal; while it is off, the one switching it on brings back.
    int sessions() const { return m_sessions; }
    void setOn(bool on);
    /// Within the limits.
    void setSessions(int count);

    /// "3 of 8 sessions" for `done` focus intervals; empty while the goal is off.
    QString progressText(int done) const;
    /// How much of the goal `done` intervals make, 0 to 1; 0 while the goal is off.
    double progress(int done) const;

signals:
    void goalChanged();

private:
    Preferences& m_preferences;
    bool m_on = false;
    int m_sessions = defaultSessions;
};
