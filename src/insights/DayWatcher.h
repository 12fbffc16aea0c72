#pragma once

#include <QObject>
#include <QTimer>
#include <chrono>

class Calendar;
class Clock;

/// Says when the clock's calendar day has moved on: at midnight, and soon
/// after a resume from suspend or a change of the system clock.
class DayWatcher : public QObject {
    Q_OBJECT

public:
    DayWatcher(const Clock& clock, const Calendar& calendar, QObject* parent = nullptr);

    /// Starts watching; until something needs the day, nothing runs.
    void start();
    bool isStarted() const { return m_started; }
    /// Compares the clock's day with the last one seen, signals a change and looks again later.
    void check();
    /// Until the next start of day, but at most a minute: the timer does not count time
    /// spent suspended, and the wall clock may be set while it waits.
    std::chrono::milliseconds nextCheckIn() const;

signals:
    void dayChanged();

private:
    void arm();

    const Clock& m_clock;
    const Calendar& m_calendar;
    QTimer m_timer;
    qint64 m_day = 0;
    bool m_started = false;
};
