#pragma once

#include <QObject>
#include <QString>

#include "services/FocusProtection.h"

class DoNotDisturb;
class GlobalShortcuts;

/// The "Focus protection" card's switches and shortcut help, and the note the popover shows
/// when the user comes back to focus that was paused for them.
class FocusProtectionViewModel : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool doNotDisturb READ doNotDisturb NOTIFY settingsChanged)
    Q_PROPERTY(bool doNotDisturbAvailable READ doNotDisturbAvailable NOTIFY settingsChanged)
    /// Why Do Not Disturb cannot be offered here; empty while it can.
    Q_PROPERTY(QString doNotDisturbUnavailableText READ doNotDisturbUnavailableText NOTIFY settingsChanged)
    Q_PROPERTY(bool pauseOnLock READ pauseOnLock NOTIFY settingsChanged)
    Q_PROPERTY(bool idleDetection READ idleDetection NOTIFY settingsChanged)
    Q_PROPERTY(int idleMinutes READ idleMinutes NOTIFY settingsChanged)
    Q_PROPERTY(int minimumIdleMinutes READ minimumIdleMinutes CONSTANT)
    Q_PROPERTY(int maximumIdleMinutes READ maximumIdleMinutes CONSTANT)
    /// The desktop has Velto's shortcuts; otherwise `shortcutCommands` can be bound by hand.
    Q_PROPERTY(bool shortcutsRegistered READ shortcutsRegistered NOTIFY shortcutsChanged)
    Q_PROPERTY(QString shortcutsText READ shortcutsText NOTIFY shortcutsChanged)
    Q_PROPERTY(QString shortcutCommands READ shortcutCommands CONSTANT)
    /// The popover's note after the user came back: shown, its text, and whether it offers to keep the time.
    Q_PROPERTY(bool awayShown READ awayShown NOTIFY awayChanged)
    Q_PROPERTY(QString awayText READ awayText NOTIFY awayChanged)
    Q_PROPERTY(bool awayOffersKeep READ awayOffersKeep NOTIFY awayChanged)

public:
    FocusProtectionViewModel(FocusProtection& protection, DoNotDisturb& doNotDisturb,
        GlobalShortcuts& shortcuts, QObject* parent = nullptr);

    bool doNotDisturb() const { return m_protection.doNotDisturb(); }
    bool doNotDisturbAvailable() const;
    QString doNotDisturbUnavailableText() const;
    bool pauseOnLock() const { return m_protection.pauseOnLock(); }
    bool idleDetection() const { return m_protection.idleDetection(); }
    int idleMinutes() const { return m_protection.idleMinutes(); }
    static int minimumIdleMinutes();
    static int maximumIdleMinutes();
    bool shortcutsRegistered() const;
    QString shortcutsText() const;
    static QString shortcutCommands();
    bool awayShown() const { return m_protection.away() != FocusProtection::Away::none; }
    QString awayText() const;
    bool awayOffersKeep() const { return m_protection.away() == FocusProtection::Away::idle; }

    Q_INVOKABLE void setDoNotDisturb(bool on) { m_protection.setDoNotDisturb(on); }
    Q_INVOKABLE void setPauseOnLock(bool on) { m_protection.setPauseOnLock(on); }
    Q_INVOKABLE void setIdleDetection(bool on) { m_protection.setIdleDetection(on); }
    Q_INVOKABLE void setIdleMinutes(int minutes) { m_protection.setIdleMinutes(minutes); }
    /// Puts `shortcutCommands` on the clipboard.
    Q_INVOKABLE void copyShortcutCommands();
    /// "Resume", and "Discard the time away": focus goes on from where it paused.
    Q_INVOKABLE void resume() { m_protection.resume(); }
    /// "Keep the time": the time away counts as focus.
    Q_INVOKABLE void keepTimeAway() { m_protection.keepTimeAway(); }

signals:
    void settingsChanged();
    void shortcutsChanged();
    void awayChanged();

private:
    FocusProtection& m_protection;
    DoNotDisturb& m_doNotDisturb;
    GlobalShortcuts& m_shortcuts;
};
