#pragma once

#include <QTemporaryDir>
#include <memory>

#include "FakeClock.h"
#include "FakeFocusDesktop.h"
#include "MemoryPreferences.h"
#include "RecordingDesktop.h"
#include "TestCalendars.h"
#include "data/SessionStore.h"
#include "data/TagManager.h"
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
struct PopoverFixture {
    using Seconds = std::chrono::seconds;

    explicit PopoverFixture(QVariantMap stored = {})
        : prefs(std::move(stored))
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

    QTemporaryDir dir;
    FakeClock clock { localTime(QTimeZone("Europe/Berlin"), 2026, 12, 9, 10, 0) };
    Calendar calendar = berlinCalendar();
    MemoryPreferences prefs;
    TagManager tags { prefs };
    ThemeManager theme { prefs };
    RecordingNotifier notifier;
    RecordingSound sound;
    RecordingCompanion companion;
    std::unique_ptr<SessionStore> storePtr;
    TimerManager timer { { prefs, clock, calendar, [this]() -> SessionStore& { return store(); }, tags,
        notifier, sound, companion } };
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
