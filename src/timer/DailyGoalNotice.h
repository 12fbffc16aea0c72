#pragma once

#include <QObject>

#include "data/SessionRecord.h"

class Calendar;
class Clock;
class DailyGoal;
class Notifier;
class Preferences;
class TimerManager;

/// Says "Daily goal reached" when a completed focus interval brings today's count to the goal
/// (or past it, when the goal was lowered meanwhile): at most once a calendar day, even across
/// restarts, since the day it was said is stored as "veltoDailyGoalReachedDate". Quiet while
/// the desktop notification for the end of an interval is switched off.
class DailyGoalNotice : public QObject {
    Q_OBJECT

public:
    struct Dependencies {
        const DailyGoal& goal;
        const TimerManager& timer;
        Notifier& notifier;
        Preferences& preferences;
        const Clock& clock;
        const Calendar& calendar;
    };

    explicit DailyGoalNotice(Dependencies dependencies, QObject* parent = nullptr);

private:
    void sessionFinished(const SessionRecord& session);

    Dependencies m_deps;
};
