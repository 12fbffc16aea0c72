#include "SettingsViewModel.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

#include "services/AnalyticsService.h"
#include "timer/EndAlerts.h"
#include "timer/TimerManager.h"

namespace {
int wholeMinutes(double seconds)
{
    const double minutes = std::trunc(seconds / 60.0);
    return std::isfinite(minutes) ? int(std::clamp(minutes, -1e6, 1e6)) : 0;
}

int withinLimits(qint64 minutes)
{
    return int(std::clamp<qint64>(minutes, SettingsViewModel::minimumMinutes(), SettingsViewModel::maximumMinutes()));
}

/// Whole minutes typed by the user: ASCII digits, with blanks around them.
std::optional<qint64> typedMinutes(const QString& text)
{
    const QString digits = text.trimmed();
    if (digits.isEmpty() || !std::all_of(digits.begin(), digits.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
        return std::nullopt;
    bool ok = false;
    const qint64 minutes = digits.toLongLong(&ok);
    return ok ? minutes : std::numeric_limits<qint64>::max(); // too many digits: as many minutes as allowed
}
} // namespace

SettingsViewModel::SettingsViewModel(TimerManager& timer, Preferences& preferences, AnalyticsService& analytics,
                                     AutostartEntry autostart, QObject* parent)
    : QObject(parent)
    , m_timer(timer)
    , m_preferences(preferences)
    , m_analytics(analytics)
    , m_autostart(std::move(autostart))
{
    for (const auto signal : { &TimerManager::workDurationChanged, &TimerManager::shortBreakDurationChanged,
                               &TimerManager::longBreakDurationChanged })
        connect(&m_timer, signal, this, &SettingsViewModel::durationsChanged);
    connect(&m_timer, &TimerManager::isRunningChanged, this, &SettingsViewModel::durationsEditableChanged);
    connect(&m_timer, &TimerManager::currentStateChanged, this, &SettingsViewModel::durationsEditableChanged);
    connect(&m_timer, &TimerManager::autoStartNextChanged, this, &SettingsViewModel::autoStartNextChanged);
    connect(&m_analytics, &AnalyticsService::sharingChanged, this, &SettingsViewModel::sharingChanged);
}

int SettingsViewModel::focusMinutes() const { return wholeMinutes(m_timer.workDuration()); }

int SettingsViewModel::breakMinutes() const { return wholeMinutes(m_timer.shortBreakDuration()); }

QString SettingsViewModel::longBreakText() const
{
    return tr("Long breaks: %1 min").arg(wholeMinutes(m_timer.longBreakDuration()));
}

bool SettingsViewModel::durationsEditable() const
{
    // The engine's own guard: a paused interval may still be given new lengths.
    return m_timer.currentState() == TimerState::idle || !m_timer.isRunning();
}

QString SettingsViewModel::durationsNote() const
{
    return durationsEditable() ? QString() : tr("The timer is running: pause or reset it to change the lengths.");
}

bool SettingsViewModel::autoStartNext() const { return m_timer.autoStartNext(); }

bool SettingsViewModel::endSound() const { return EndAlerts::soundOn(m_preferences); }

bool SettingsViewModel::endNotification() const { return EndAlerts::notificationOn(m_preferences); }

bool SettingsViewModel::shareUsage() const { return m_analytics.isSharing(); }

bool SettingsViewModel::shareUsageLocked() const { return m_analytics.isOptedOutByEnvironment(); }

QString SettingsViewModel::privacyNote() const
{
    if (shareUsageLocked())
        return tr("Off because DO_NOT_TRACK is set in your environment.");
    if (shareUsage())
        return tr("A daily heartbeat and the dashboard sections you open; never your sessions or tags.");
    return tr("Off: nothing is collected or sent.");
}

void SettingsViewModel::setFocusMinutes(int minutes)
{
    if (durationsEditable())
        m_timer.setWorkDuration(minutes);
    emit durationsChanged(); // a refused or clamped entry goes back to what is in force
}

void SettingsViewModel::setBreakMinutes(int minutes)
{
    if (durationsEditable())
        m_timer.setBreakDuration(minutes);
    emit durationsChanged();
}

void SettingsViewModel::stepFocusMinutes(int delta) { setFocusMinutes(withinLimits(qint64(focusMinutes()) + delta)); }

void SettingsViewModel::stepBreakMinutes(int delta) { setBreakMinutes(withinLimits(qint64(breakMinutes()) + delta)); }

void SettingsViewModel::enterFocusMinutes(const QString& text)
{
    if (const auto minutes = typedMinutes(text))
        setFocusMinutes(withinLimits(*minutes));
    else
        emit durationsChanged();
}

void SettingsViewModel::enterBreakMinutes(const QString& text)
{
    if (const auto minutes = typedMinutes(text))
        setBreakMinutes(withinLimits(*minutes));
    else
        emit durationsChanged();
}

void SettingsViewModel::toggleAutoStart() { m_timer.toggleAutoStart(); }

void SettingsViewModel::toggleEndSound()
{
    EndAlerts::setSoundOn(m_preferences, !endSound());
    emit endAlertsChanged();
}

void SettingsViewModel::toggleEndNotification()
{
    EndAlerts::setNotificationOn(m_preferences, !endNotification());
    emit endAlertsChanged();
}

void SettingsViewModel::toggleShareUsage()
{
    if (!shareUsageLocked())
        m_analytics.setUserAllowsSharing(!m_analytics.userAllowsSharing());
}

void SettingsViewModel::toggleOpenAtLogin()
{
    QString error;
    m_openAtLoginError = m_autostart.setEnabled(!openAtLogin(), &error)
        ? QString()
        : tr("Could not change the login entry: %1").arg(error);
    m_openAtLogin = m_autostart.isEnabled();
    emit openAtLoginChanged();
}

bool SettingsViewModel::openAtLogin() const
{
    if (!m_openAtLogin)
        m_openAtLogin = m_autostart.isEnabled();
    return *m_openAtLogin;
}

void SettingsViewModel::refresh()
{
    const bool enabled = m_autostart.isEnabled();
    if (m_openAtLogin && enabled == *m_openAtLogin)
        return;
    m_openAtLogin = enabled;
    emit openAtLoginChanged();
}
