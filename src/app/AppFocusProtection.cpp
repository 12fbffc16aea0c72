#include "AppFocusProtection.h"

#include "platform/x11/XScreenSaverIdleTime.h"
#include "ui/MiniTimerViewModel.h"

AppFocusProtection::AppFocusProtection(AppPlatform& platform, TimerManager& timer)
    : doNotDisturb(platform.preferences)
    , screenLock(platform.clock)
    , idle(platform.clock, QDBusConnection::sessionBus(),
          []() -> std::unique_ptr<IdleTimeReader> { return XScreenSaverIdleTime::open(); })
    , protection({ timer, platform.preferences, platform.clock, screenLock, idle, doNotDisturb })
    , viewModel(protection, doNotDisturb, shortcuts)
{
    QObject::connect(&shortcuts, &GlobalShortcuts::activated, &timer, [&timer](const QString& id) {
        if (id == QLatin1String(GlobalShortcuts::toggleId))
            timer.playPause();
        else if (id == QLatin1String(GlobalShortcuts::skipId))
            timer.skip();
        else if (id == QLatin1String(GlobalShortcuts::extendId))
            timer.extend(MiniTimerViewModel::extendMinutes);
    });
}
