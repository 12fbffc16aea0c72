#pragma once

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

#include "timer/TimerManager.h"

/// The Settings rows of the cycle: how many focus intervals come before a long break, and the
/// long break's length. The timer decides; this passes the user's steps and typing on.
class CycleSettingsViewModel : public QObject {
    Q_OBJECT
    Q_PROPERTY(int intervalsBeforeLongBreak READ intervalsBeforeLongBreak NOTIFY cycleChanged)
    Q_PROPERTY(int longBreakMinutes READ longBreakMinutes NOTIFY cycleChanged)
    /// Under the long break: whether it follows the short break or has a length of its own.
    Q_PROPERTY(QString longBreakNote READ longBreakNote NOTIFY cycleChanged)
    /// The timer's rule: lengths change only while no interval is under way.
    Q_PROPERTY(bool durationsEditable READ durationsEditable NOTIFY durationsEditableChanged)
    Q_PROPERTY(int minimumIntervals READ minimumIntervals CONSTANT)
    Q_PROPERTY(int maximumIntervals READ maximumIntervals CONSTANT)
    Q_PROPERTY(int minimumMinutes READ minimumMinutes CONSTANT)
    Q_PROPERTY(int maximumMinutes READ maximumMinutes CONSTANT)

public:
    explicit CycleSettingsViewModel(TimerManager& timer, QObject* parent = nullptr);

    int intervalsBeforeLongBreak() const { return m_timer.intervalsBeforeLongBreak(); }
    int longBreakMinutes() const;
    QString longBreakNote() const;
    bool durationsEditable() const { return m_timer.durationsEditable(); }
    static constexpr int minimumIntervals() { return TimerManager::minimumIntervalsBeforeLongBreak; }
    static constexpr int maximumIntervals() { return TimerManager::maximumIntervalsBeforeLongBreak; }
    static constexpr int minimumMinutes() { return TimerManager::minimumMinutes; }
    static constexpr int maximumMinutes() { return TimerManager::maximumMinutes; }

    /// Steps or typed whole numbers; the timer keeps them within its limits. Either way the
    /// fields are told to show what is in force.
    Q_INVOKABLE void stepIntervals(int delta);
    Q_INVOKABLE void enterIntervals(const QString& text);
    Q_INVOKABLE void stepLongBreakMinutes(int delta);
    Q_INVOKABLE void enterLongBreakMinutes(const QString& text);

signals:
    void cycleChanged();
    void durationsEditableChanged();

private:
    void setIntervals(int count);
    void setLongBreakMinutes(int minutes);

    TimerManager& m_timer;
};
