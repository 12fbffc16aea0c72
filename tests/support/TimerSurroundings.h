#pragma once

#include <QTemporaryDir>
#include <QTimeZone>
#include <functional>

#include "FakeClock.h"
#include "MemoryPreferences.h"
#include "RecordingDesktop.h"
#include "TestCalendars.h"
#include "data/TagManager.h"
#include "timer/TimerManager.h"

/// What a TimerManager needs around it in a test: a clock that stands at 10:00 in Berlin on
/// 9 December 2026 until moved, preferences in memory, tags, and a desktop that records what
/// it is asked. Fixtures inherit it and keep their own history and timer.
struct TimerSurroundings {
    explicit TimerSurroundings(QVariantMap stored = {})
        : prefs(std::move(stored))
    { }

    TimerManager::Dependencies timerDependencies(std::function<SessionStore&()> sessionStore)
    {
        return { prefs, clock, calendar, std::move(sessionStore), tags, notifier, sound, companion };
    }

    QTemporaryDir dir;
    FakeClock clock { localTime(QTimeZone("Europe/Berlin"), 2026, 12, 9, 10, 0) };
    Calendar calendar = berlinCalendar();
    MemoryPreferences prefs;
    TagManager tags { prefs };
    RecordingNotifier notifier;
    RecordingSound sound;
    RecordingCompanion companion;
};
