#include "AppServices.h"

#include "data/SessionStore.h"
#include "platform/AppPaths.h"

AppServices::Paths AppServices::userPaths() { return { AppPaths::preferencesFile(), AppPaths::historyFile() }; }

AppServices::AppServices(const Paths& paths)
    : preferences(paths.preferences)
    , tags(preferences)
    , theme(preferences)
    , timer({ preferences, clock, calendar, [this]() -> SessionStore& { return sessionStore(); }, tags, notifier,
              sound, companion })
    , m_historyPath(paths.history)
{
}

AppServices::~AppServices() = default;

SessionStore& AppServices::sessionStore()
{
    if (!m_store)
        m_store = std::make_unique<SessionStore>(m_historyPath, clock, calendar);
    return *m_store;
}
