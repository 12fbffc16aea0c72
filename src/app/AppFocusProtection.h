#pragma once

#include "AppServices.h"
#include "platform/LinuxDoNotDisturb.h"
#include "platform/LinuxIdleMonitor.h"
#include "platform/LinuxScreenLockWatcher.h"
#include "platform/PortalGlobalShortcuts.h"
#include "services/FocusProtection.h"
#include "ui/FocusProtectionViewModel.h"

/// Focus protection on this desktop: its Do Not Disturb, screen lock, idleness and global
/// shortcuts, the rules over them, and the settings card's view of them.
struct AppFocusProtection {
    AppFocusProtection(AppPlatform& platform, TimerManager& timer);
    AppFocusProtection(const AppFocusProtection&) = delete;
    AppFocusProtection& operator=(const AppFocusProtection&) = delete;

    LinuxDoNotDisturb doNotDisturb;
    LinuxScreenLockWatcher screenLock;
    LinuxIdleMonitor idle;
    PortalGlobalShortcuts shortcuts;
    FocusProtection protection;
    FocusProtectionViewModel viewModel;
};
