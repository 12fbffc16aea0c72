#include "AppServices.h"

#include "data/SessionStore.h"
#include "platform/AppPaths.h"

AppPlatform::Paths AppPlatform::userPaths() { return { AppPaths::preferencesFile(), AppPaths::historyFile() }; }

AppManagers::AppManagers(AppPlatform& platform)
    : tags(platform.preferences)
    , theme(platform.preferences)
    , timer({ platform.preferences, platform.clock, platform.calendar,
              [this]() -> SessionStore& { return sessionStore(); }, tags, platform.notifier, platform.sound,
              platform.companion })
    , mediaSync(platform.preferences, mediaPlayers,
                [this] { return timer.isRunning() && timer.currentState() == TimerState::work; })
    , m_platform(platform)
    , m_saveFailures(platform.notifier)
{
    QObject::connect(&timer, &TimerManager::musicCue, &mediaSync, &MediaPlayerSync::follow);
    QObject::connect(&platform.preferences, &JsonFilePreferences::saveFailed, &m_saveFailures,
                     [this](const QString& reason) { m_saveFailures.reportFailure(QStringLiteral("settings"), reason); });
}

AppManagers::~AppManagers() = default;

SessionStore& AppManagers::sessionStore()
{
    if (!m_store) {
        // A preload still running is waited for: reading the file twice would not be faster.
        m_store = m_preload.valid()
            ? std::make_unique<SessionStore>(m_platform.historyPath, m_preload.get(), m_platform.clock,
                                             m_platform.calendar)
            : std::make_unique<SessionStore>(m_platform.historyPath, m_platform.clock, m_platform.calendar);
        QObject::connect(m_store.get(), &SessionStore::saveFailed, &m_saveFailures,
                         [this](const QString& reason) { m_saveFailures.reportFailure(QStringLiteral("history"), reason); });
    }
    return *m_store;
}

void AppManagers::preloadHistory()
{
    if (m_store || m_preload.valid())
        return;
    m_preload = std::async(std::launch::async, &SessionStore::readFile, m_platform.historyPath);
}
