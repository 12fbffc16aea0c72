#include "DailyGoalNotice.h"

#include "DailyGoal.h"
#include "EndAlerts.h"
#include "TimerManager.h"
#include "platform/Calendar.h"
#include "platform/Clock.h"
#include "platform/Notifier.h"
#include "platform/PreferenceValues.h"
#include "platform/Preferences.h"

namespace {
const QString kReachedDateKey = QStringLiteral("veltoDailyGoalReachedDate");
}

DailyGoalNotice::DailyGoalNotice(Dependencies dependencies, QObject* parent)
    : QObject(parent)
    , m_deps(dependencies)
{
    connect(&m_deps.timer, &TimerManager::sessionFinished, this, &DailyGoalNotice::sessionFinished);
}

void DailyGoalNotice::sessionFinished(const SessionRecord& session)
{
    const int today = m_deps.timer.dailySessions();
    if (!session.isQualifying() || !m_deps.goal.isOn() || today < m_deps.goal.sessions()
        || !EndAlerts::notificationOn(m_deps.preferences))
        return;
    const Instant now = m_deps.clock.now();
    const auto said = PreferenceValues::date(m_deps.preferences.value(kReachedDateKey));
    if (said && m_deps.calendar.dayNumber(Instant::fromDateTime(*said)) == m_deps.calendar.dayNumber(now))
        return;
    m_deps.preferences.setValue(kReachedDateKey, now.toDateTime());
    m_deps.notifier.notify(tr("Daily goal reached"),
        tr("%n focus sessions today. Well done!", "the body of the daily goal notification", today));
}
