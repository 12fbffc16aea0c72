#include "SettingsViewModel.h"

#include "TypedNumber.h"
#include "services/AnalyticsService.h"
#include "timer/ClockText.h"
#include "timer/EndAlerts.h"
#include "timer/TimerManager.h"

SettingsViewModel::SettingsViewModel(TimerManager& timer, Preferences& preferences,
    AnalyticsService& analytics, AutostartEntry autostart, QObject* parent)
    : QObject(parent)
    , m_timer(timer)
    , m_preferences(preferences)
    , m_analytics(analytics)
    , m_autostart(std::move(autostart))
{
    for (const auto signal : { &TimerManager::workDurationChanged, &TimerManager::shortBreakDurationChanged,
             &TimerManager::longBreakDurationChanged })
        connect(&m_timer, signal, this, &SettingsViewModel::durationsChanged);
    connect(&m_timer, &TimerManager::currentStateChanged, this, &SettingsViewModel::durationsEditableChanged);
    connect(&m_timer, &TimerManager::autoStartNextChanged, this, &SettingsViewModel::autoStartNextChanged);
    connect(&m_analytics, &AnalyticsService::sharingChanged, this, &SettingsViewModel::sharingChanged);
}

int SettingsViewModel::focusMinutes() const
{
    return static_cast<int>(wholeMinutes(m_timer.workDuration()));
}

int SettingsViewModel::breakMinutes() const
{
    return static_cast<int>(wholeMinutes(m_timer.shortBreakDuration()));
}

QString SettingsViewModel::longBreakText() const
{
    return tr("Long breaks: %n min", nullptr, static_cast<int>(wholeMinutes(m_timer.longBreakDuration())));
}

bool SettingsViewModel::durationsEditable() const
{
    return m_timer.durationsEditable();
}

QString SettingsViewModel::durationsNote() const
{
    return durationsEditable() ? QString() : tr("An interval is under way: reset it to change the lengths.");
}

bool SettingsViewModel::autoStartNext() const
{
    return m_timer.autoStartNext();
}

bool SettingsViewModel::endSound() const
{
    return EndAlerts::soundOn(m_preferences);
}

bool SettingsViewModel::endNotification() const
{
    return EndAlerts::notificationOn(m_preferences);
}

bool SettingsViewModel::shareUsage() const
{
    return m_analytics.isSharing();
}

bool SettingsViewModel::shareUsageLocked() const
{
    return m_analytics.isOptedOutByEnvironment();
}

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
    m_timer.setWorkDuration(minutes);
    emit durationsChanged(); // a refused or clamped entry goes back to what is in force
}

void SettingsViewModel::setBreakMinutes(int minutes)
{
    m_timer.setBreakDuration(minutes);
    emit durationsChanged();
}

void SettingsViewModel::stepFocusMinutes(int delta)
{
    setFocusMinutes(TypedNumber::stepped(focusMinutes(), delta));
}

void SettingsViewModel::stepBreakMinutes(int delta)
{
    setBreakMinutes(TypedNumber::stepped(breakMinutes(), delta));
}

void SettingsViewModel::enterFocusMinutes(const QString& text)
{
    if (const auto minutes = TypedNumber::parse(text))
        setFocusMinutes(*minutes);
    else
        emit durationsChanged();
}

void SettingsViewModel::enterBreakMinutes(const QString& text)
{
    if (const auto minutes = TypedNumber::parse(text))
        setBreakMinutes(*minutes);
    else
        emit durationsChanged();
}

void SettingsViewModel::toggleAutoStart()
{
    m_timer.toggleAutoStart();
}

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
