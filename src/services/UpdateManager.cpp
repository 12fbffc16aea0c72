#include "UpdateManager.h"

#include "platform/Preferences.h"

UpdateManager::UpdateManager(
    Preferences& preferences, const Clock& clock, UpdaterSettings settings, QObject* parent)
    : QObject(parent)
    , m_preferences(preferences)
    , m_updater(preferences, clock, std::move(settings))
{
    // The updater starts first; its first scheduled look comes from the event loop,
    // so it already sees the switches set below.
    m_updater.startUpdater();

    const QString key = QLatin1String(automaticallyUpdateKey);
    if (!m_preferences.value(key).isValid()) {
        m_preferences.setValue(key, true);
        m_updater.setAutomaticallyChecksForUpdates(true);
        m_updater.setAutomaticallyDownloadsUpdates(true);
    }
    m_automaticallyChecksForUpdates = m_updater.automaticallyChecksForUpdates();

    const auto mirror = [this] {
        m_canCheckForUpdates = m_updater.canCheckForUpdates();
        emit canCheckForUpdatesChanged();
    };
    connect(&m_updater, &Updater::canCheckForUpdatesChanged, this, mirror);
    mirror();
    connect(&m_updater, &Updater::checkFinished, this, &UpdateManager::onCheckFinished);
}

void UpdateManager::setAutomaticallyChecksForUpdates(bool on)
{
    m_automaticallyChecksForUpdates = on;
    m_updater.setAutomaticallyChecksForUpdates(on);
    emit automaticallyChecksForUpdatesChanged();
}

void UpdateManager::toggleAutomaticUpdates()
{
    setAutomaticallyChecksForUpdates(!m_automaticallyChecksForUpdates);
    m_updater.setAutomaticallyDownloadsUpdates(m_automaticallyChecksForUpdates);
    m_preferences.setValue(QLatin1String(automaticallyUpdateKey), m_automaticallyChecksForUpdates);
}

void UpdateManager::checkForUpdates()
{
    m_updater.checkForUpdates();
}

void UpdateManager::onCheckFinished(const UpdateCheckResult& result, bool userInitiated)
{
    if (userInitiated)
        emit checkForUpdatesFinished(result);
    else if (result.outcome() == UpdateCheckResult::Outcome::UpdateAvailable)
        emit updateFound(result);
}
