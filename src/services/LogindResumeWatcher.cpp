#include "LogindResumeWatcher.h"

LogindResumeWatcher::LogindResumeWatcher(QDBusConnection bus, QObject* parent)
    : QObject(parent)
{
    if (!bus.isConnected())
        return;
    // Bound to logind's name: another client on the bus cannot fake the signal.
    bus.connect(QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
        QStringLiteral("org.freedesktop.login1.Manager"), QStringLiteral("PrepareForSleep"), this,
        SLOT(onPrepareForSleep(bool)));
}

void LogindResumeWatcher::onPrepareForSleep(bool goingToSleep)
{
    if (!goingToSleep)
        emit resumed();
}
