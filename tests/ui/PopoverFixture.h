#pragma once

#include <QTemporaryDir>
#include <memory>

#include "FakeFocusDesktop.h"
#include "TimerSurroundings.h"
#include "data/SessionStore.h"
#include "data/ThemeManager.h"
#include "services/FocusProtection.h"
#include "services/IntegrationDetector.h"
#include "timer/DailyGoal.h"
#include "timer/TimerManager.h"
#include "ui/FocusProtectionViewModel.h"
#include "ui/MiniTimerViewModel.h"
#include "ui/QmlPublishing.h"
#include "ui/ThemeColors.h"

/// The real popover model over the real managers, with a fake clock and desktop.
struct PopoverFixture : TimerSurroundings {
    using Seconds = std::chrono::seconds;

    explicit PopoverFixture(QVariantMap stored = {})
        : TimerSurroundings(std::move(stored))
    { }

    /// One second passes and the tick timer fires.
    void tick(int seconds = 1)
    {
        for (int i = 0; i < seconds; ++i) {
            clock.advance(Seconds(1));
            timer.catchUpTicks();
        }
    }
    SessionStore& store()
    {
        if (!storePtr)
            storePtr = std::make_unique<SessionStore>(
                dir.filePath(QStringLiteral("sessions.json")), clock, calendar);
        return *storePtr;
    }

    ThemeManager theme { prefs };
    std::unique_ptr<SessionStore> storePtr;
    TimerManager timer { timerDependencies([this]() -> SessionStore& { return store(); }) };
    ThemeColors colors { theme };
    IntegrationDetector detector;
    DailyGoal goal { prefs };
    MiniTimerViewModel popover { timer, tags, colors, detector, prefs, goal };
    FakeScreenLock screenLock;
    FakeIdleMonitor idle;
    FakeDoNotDisturb doNotDisturb;
    FakeGlobalShortcuts shortcuts;
    FocusProtection protection { { timer, prefs, clock, screenLock, idle, doNotDisturb } };
    FocusProtectionViewModel focusProtection { protection, doNotDisturb, shortcuts };

    /// What the popover binds to.
    SharedObjects popoverObjects()
    {
        SharedObjects objects { &timer, &tags, &theme, &colors, &detector, &popover };
        objects.focusProtection = &focusProtection;
        return objects;
    }
};
