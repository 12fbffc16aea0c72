#include "DailyGoal.h"

#include <algorithm>

#include "platform/PreferenceValues.h"
#include "platform/Preferences.h"

namespace {
const QString kOnKey = QStringLiteral("veltoDailyGoalOn");
const QString kSessionsKey = QStringLiteral("veltoDailyGoal");

int storedSessions(const QVariant& stored)
{
    return static_cast<int>(
        PreferenceValues::numberWithin(stored, DailyGoal::minimumSessions, DailyGoal::maximumSessions)
            .value_or(DailyGoal::defaultSessions));
}
} // namespace

DailyGoal::DailyGoal(Preferences& preferences, QObject* parent)
    : QObject(parent)
    , m_preferences(preferences)
{
    m_on = PreferenceValues::exactBoolean(preferences.value(kOnKey)).value_or(false);
    m_sessions = storedSessions(preferences.value(kSessionsKey));
}

void DailyGoal::setOn(bool on)
{
    m_preferences.setValue(kOnKey, on);
    if (m_on == on)
        return;
    m_on = on;
    emit goalChanged();
}

void DailyGoal::setSessions(int count)
{
    const int bounded = std::clamp(count, minimumSessions, maximumSessions);
    // Written even when unchanged: the user has chosen it, whatever the file held.
    m_preferences.setValue(kSessionsKey, QVariant::fromValue<qint64>(bounded));
    if (m_sessions == bounded)
        return;
    m_sessions = bounded;
    emit goalChanged();
}

QString DailyGoal::progressText(int done) const
{
    if (!m_on)
        return {};
    return tr("%1 of %n sessions", "today's completed focus intervals of the daily goal", m_sessions)
        .arg(done);
}

double DailyGoal::progress(int done) const
{
    if (!m_on)
        return 0.0;
    return std::clamp(double(done) / m_sessions, 0.0, 1.0);
}
