#pragma once

#include <QString>
#include <future>
#include <memory>

#include "SaveFailureReporter.h"
#include "data/TagManager.h"
#include "data/ThemeManager.h"
#include "platform/Calendar.h"
#include "platform/CanberraSoundPlayer.h"
#include "platform/Clock.h"
#include "platform/DBusCompanionMessenger.h"
#include "platform/FreedesktopNotifier.h"
#include "platform/JsonFilePreferences.h"
#include "services/HookRunner.h"
#include "services/IntegrationDetector.h"
#include "services/MediaPlayerSync.h"
#include "services/MprisPlayers.h"
#include "services/TimerHooks.h"
#include "timer/DailyGoal.h"
#include "timer/DailyGoalNotice.h"
#include "timer/TimerManager.h"

#include "data/SessionStore.h"

/// The desktop as Velto's core sees it: files, clock, calendar, notifications, sound and
/// the companion message. Built first, so analytics can start before anything else.
struct AppPlatform {
    struct Paths {
        QString preferences;
        QString history;
    };
    /// The user's files in the XDG folders.
    static Paths userPaths();

    explicit AppPlatform(const Paths& paths = userPaths())
        : preferences(paths.preferences)
        , historyPath(paths.history)
    { }

    JsonFilePreferences preferences;
    QString historyPath;
    SystemClock clock;
    const Calendar calendar = Calendar::system();
    FreedesktopNotifier notifier;
    CanberraSoundPlayer sound;
    DBusCompanionMessenger companion;
};

/// The managers every view shares, each created once. The history file is read on
/// first use: the first completed interval or the first dashboard page that asks.
class AppManagers {
public:
    explicit AppManagers(AppPlatform& platform);
    ~AppManagers();
    AppManagers(const AppManagers&) = delete;
    AppManagers& operator=(const AppManagers&) = delete;

    SessionStore& sessionStore();
    /// Reads the history file on a worker thread, so that the first page or interval that
    /// needs the history does not stall the interface while a long one is decoded.
    void preloadHistory();
    /// Saves what is still unsaved, once more; says what is lost when that fails. True when
    /// everything is on disk.
    bool saveBeforeQuit();

    TagManager tags;
    ThemeManager theme;
    TimerManager timer;
    IntegrationDetector detector;
    MprisPlayers mediaPlayers;
    /// Follows the timer's music cues with the player the user listens to.
    MediaPlayerSync mediaSync;
    DailyGoal dailyGoal;
    /// Runs the user's commands for the timer's events.
    HookRunner hooks;

private:
    AppPlatform& m_platform;
    SaveFailureReporter m_saveFailures;
    DailyGoalNotice m_goalNotice;
    TimerHooks m_timerHooks;
    std::unique_ptr<SessionStore> m_store;
    std::future<SessionStore::FileRead> m_preload;
};
