#pragma once

#include <QString>
#include <memory>

#include "data/TagManager.h"
#include "data/ThemeManager.h"
#include "platform/Calendar.h"
#include "platform/CanberraSoundPlayer.h"
#include "platform/Clock.h"
#include "platform/DBusCompanionMessenger.h"
#include "platform/FreedesktopNotifier.h"
#include "platform/JsonFilePreferences.h"
#include "services/IntegrationDetector.h"
#include "timer/TimerManager.h"

class SessionStore;

/// The core objects of one Velto process, each created once and wired to the desktop.
/// The history file is read on first use: the first completed interval or the first
/// dashboard page that asks for figures.
class AppServices {
public:
    struct Paths {
        QString preferences;
        QString history;
    };
    /// The user's files in the XDG folders.
    static Paths userPaths();

    explicit AppServices(const Paths& paths = userPaths());
    ~AppServices();
    AppServices(const AppServices&) = delete;
    AppServices& operator=(const AppServices&) = delete;

    SessionStore& sessionStore();

    JsonFilePreferences preferences;
    SystemClock clock;
    const Calendar calendar = Calendar::system();
    FreedesktopNotifier notifier;
    CanberraSoundPlayer sound;
    DBusCompanionMessenger companion;
    TagManager tags;
    ThemeManager theme;
    TimerManager timer;
    IntegrationDetector detector;

private:
    QString m_historyPath;
    std::unique_ptr<SessionStore> m_store;
};
