#pragma once

#include <QDBusConnection>
#include <QObject>

/// Tells when the machine wakes from suspend or hibernation, from logind's
/// `PrepareForSleep(false)` on the system bus. Timers on the steady clock stand
/// still while the machine sleeps, so what depends on the wall clock re-checks here.
/// Without logind it never reports anything.
class LogindResumeWatcher final : public QObject {
    Q_OBJECT

public:
    explicit LogindResumeWatcher(
        QDBusConnection bus = QDBusConnection::systemBus(), QObject* parent = nullptr);

signals:
    void resumed();

private slots:
    void onPrepareForSleep(bool goingToSleep);
};
