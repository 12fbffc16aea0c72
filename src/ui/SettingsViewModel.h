#pragma once

#include <QObject>
#include <QString>
#include <optional>

#include "platform/AutostartEntry.h"
#include "timer/TimerManager.h"

class AnalyticsService;
class Preferences;

/// What the Settings page shows and what its controls do: the timer's lengths and
/// auto-start, the end-of-interval sound and notification, sharing usage statistics,
/// and opening at login.
class SettingsViewModel : public QObject {
    Q_OBJECT
    Q_PROPERTY(int minimumMinutes READ minimumMinutes CONSTANT)
    Q_PROPERTY(int maximumMinutes READ maximumMinutes CONSTANT)
    Q_PROPERTY(int focusMinutes READ focusMinutes NOTIFY durationsChanged)
    Q_PROPERTY(int breakMinutes READ breakMinutes NOTIFY durationsChanged)
    /// "Long breaks: 15 min"
    Q_PROPERTY(QString longBreakText READ longBreakText NOTIFY durationsChanged)
    /// The timer's own rule: lengths change only while no interval is under way.
    Q_PROPERTY(bool durationsEditable READ durationsEditable NOTIFY durationsEditableChanged)
    /// Why the lengths cannot be changed, or empty.
    Q_PROPERTY(QString durationsNote READ durationsNote NOTIFY durationsEditableChanged)
    Q_PROPERTY(bool autoStartNext READ autoStartNext NOTIFY autoStartNextChanged)
    Q_PROPERTY(bool endSound READ endSound NOTIFY endAlertsChanged)
    Q_PROPERTY(bool endNotification READ endNotification NOTIFY endAlertsChanged)
    Q_PROPERTY(bool shareUsage READ shareUsage NOTIFY sharingChanged)
    /// The environment opts out (DO_NOT_TRACK): the switch is off and cannot be turned on.
    Q_PROPERTY(bool shareUsageLocked READ shareUsageLocked CONSTANT)
    /// One line under the switch: what is shared, or that nothing is.
    Q_PROPERTY(QString privacyNote READ privacyNote NOTIFY sharingChanged)
    Q_PROPERTY(bool openAtLogin READ openAtLogin NOTIFY openAtLoginChanged)
    /// Why the last change of the login entry failed, or empty.
    Q_PROPERTY(QString openAtLoginError READ openAtLoginError NOTIFY openAtLoginChanged)

public:
    static constexpr int minimumMinutes() { return TimerManager::minimumMinutes; }
    static constexpr int maximumMinutes() { return TimerManager::maximumMinutes; }

    SettingsViewModel(TimerManager& timer, Preferences& preferences, AnalyticsService& analytics,
        AutostartEntry autostart, QObject* parent = nullptr);

    int focusMinutes() const;
    int breakMinutes() const;
    QString longBreakText() const;
    bool durationsEditable() const;
    QString durationsNote() const;
    bool autoStartNext() const;
    bool endSound() const;
    bool endNotification() const;
    bool shareUsage() const;
    bool shareUsageLocked() const;
    QString privacyNote() const;
    bool openAtLogin() const;
    QString openAtLoginError() const { return m_openAtLoginError; }

    /// Moves a length by `delta` minutes; the timer keeps it within its limits, and changes
    /// nothing while an interval is under way.
    Q_INVOKABLE void stepFocusMinutes(int delta);
    Q_INVOKABLE void stepBreakMinutes(int delta);
    /// Takes typed minutes (the timer brings them within its limits); text that is not a whole
    /// number is refused. Either way the fields are told to show the length in force.
    Q_INVOKABLE void enterFocusMinutes(const QString& text);
    Q_INVOKABLE void enterBreakMinutes(const QString& text);
    Q_INVOKABLE void toggleAutoStart();
    Q_INVOKABLE void toggleEndSound();
    Q_INVOKABLE void toggleEndNotification();
    Q_INVOKABLE void toggleShareUsage();
    Q_INVOKABLE void toggleOpenAtLogin();
    /// Reads the login entry again: it may have been changed outside Velto.
    Q_INVOKABLE void refresh();

signals:
    void durationsChanged();
    void durationsEditableChanged();
    void autoStartNextChanged();
    void endAlertsChanged();
    void sharingChanged();
    void openAtLoginChanged();

private:
    void setFocusMinutes(int minutes);
    void setBreakMinutes(int minutes);

    TimerManager& m_timer;
    Preferences& m_preferences;
    AnalyticsService& m_analytics;
    AutostartEntry m_autostart;
    /// Read when first asked for, not at start-up.
    mutable std::optional<bool> m_openAtLogin;
    QString m_openAtLoginError;
};
