#include "AppServices.h"

#include "SaveBeforeQuit.h"
#include "data/SessionStore.h"
#include "platform/AppPaths.h"

AppPlatform::Paths AppPlatform::userPaths()
{
    return { AppPaths::preferencesFile(), AppPaths::historyFile() };
}

AppManagers::AppManagers(AppPlatform& platform)
    : tags(platform.preferences)
    , theme(platform.preferences)
    , timer({ platform.preferences, platform.clock, platform.calendar,
          [this]() -> SessionStore& { return sessionStore(); }, tags, platform.notifier, platform.sound,
          platform.companion })
    , mediaSync(platform.preferences, mediaPlayers,
          [this] { return timer.isRunning() && timer.currentState() == TimerState::work; })
    , dailyGoal(platform.preferences)
    , hooks(platform.preferences, platform.calendar)
    , m_platform(platform)
    , m_saveFailures(platform.notifier)
    , m_goalNotice(
          { dailyGoal, timer, platform.notifier, platform.preferences, platform.clock, platform.calendar })
    , m_timerHooks(
          { timer, tags, platform.clock, [this](const HookPayload& payload) { hooks.run(payload); } })
{
    QObject::connect(&timer, &TimerManager::musicCue, &mediaSync, &MediaPlayerSync::follow);
    QObject::connect(&platform.preferences, &JsonFilePreferences::saveFailed, &m_saveFailures,
        [this](const QString& reason) {
            m_saveFailures.reportFailure(SaveFailureReporter::What::settings, reason);
        });
}

AppManagers::~AppManagers() = default;

SessionStore& AppManagers::sessionStore()
{
    if (!m_store) {
        // A preload still running is waited for: reading the file twice would not be faster.
        m_store = m_preload.valid()
            ? std::make_unique<SessionStore>(
                m_platform.historyPath, m_preload.get(), m_platform.clock, m_platform.calendar)
            : std::make_unique<SessionStore>(m_platform.historyPath, m_platform.clock, m_platform.calendar);
        QObject::connect(
            m_store.get(), &SessionStore::saveFailed, &m_saveFailures, [this](const QString& reason) {
                m_saveFailures.reportFailure(SaveFailureReporter::What::history, reason);
            });
    }
    return *m_store;
}

bool AppManagers::saveBeforeQuit()
{
    return ::saveBeforeQuit(m_store.get(), m_platform.preferences, m_saveFailures);
}

void AppManagers::preloadHistory()
{
    if (m_store || m_preload.valid())
        return;
    m_preload = std::async(std::launch::async, &SessionStore::readFile, m_platform.historyPath);
}
