#pragma once

#include <QDBusConnection>
#include <QTimer>
#include <QVariantMap>

#include "ScreenLockWatcher.h"

class Clock;

/// The screen lock on the Linux desktop, from every source there is: logind's `Lock` and
/// `Unlock` signals and `LockedHint` for Velto's session on the system bus, and the
/// screensavers' `ActiveChanged` (`org.freedesktop.ScreenSaver`, `org.gnome.ScreenSaver`)
/// on the session bus. The latest change from any source counts. The session is
/// `XDG_SESSION_ID`, else the one logind picks for Velto ("auto").
class LinuxScreenLockWatcher final : public ScreenLockWatcher {
    Q_OBJECT

public:
    /// How long the lock must stay changed before the change is reported.
    static constexpr std::chrono::milliseconds settleTime { 250 };

    LinuxScreenLockWatcher(const Clock& clock, QDBusConnection systemBus = QDBusConnection::systemBus(),
        QDBusConnection sessionBus = QDBusConnection::sessionBus(), QObject* parent = nullptr);

    bool isLocked() const override { return m_locked; }

private slots:
    void onLogindLock();
    void onLogindUnlock();
    void onSessionPropertiesChanged(
        const QString& interface, const QVariantMap& changed, const QStringList& invalidated);
    void onScreenSaverActiveChanged(bool active);

private:
    void watchLogindSession(const QString& sessionPath);
    void readLockedHint();
    void sourceSaid(bool locked);
    void settle();

    const Clock& m_clock;
    QDBusConnection m_systemBus;
    QString m_sessionPath;
    QTimer m_settle;
    bool m_locked = false;
    Instant m_lockedSince;
    /// Where the sources say the lock is, and since when, before it has settled.
    bool m_heard = false;
    Instant m_heardSince;
};
