#include "IntegrationsViewModel.h"

#include "services/IntegrationDetector.h"
#include "services/MediaPlayerSync.h"
#include "timer/TimerManager.h"

IntegrationsViewModel::IntegrationsViewModel(
    TimerManager& timer, IntegrationDetector& detector, MediaPlayerSync& mediaSync, QObject* parent)
    : QObject(parent)
    , m_timer(timer)
    , m_detector(detector)
    , m_mediaSync(mediaSync)
{
    connect(&m_detector, &IntegrationDetector::isCalmixRunningChanged, this, &IntegrationsViewModel::changed);
    connect(&m_timer, &TimerManager::calmixSyncEnabledChanged, this, &IntegrationsViewModel::changed);
    connect(&m_mediaSync, &MediaPlayerSync::enabledChanged, this, &IntegrationsViewModel::changed);
}

bool IntegrationsViewModel::running() const
{
    return m_detector.isCalmixRunning();
}

bool IntegrationsViewModel::connected() const
{
    return running() && m_timer.calmixSyncEnabled();
}

QString IntegrationsViewModel::statusText() const
{
    if (connected())
        return tr("Connected - music syncs with your focus sessions");
    if (running())
        return tr("Calmix is running - toggle on to sync music with focus");
    return tr("Calmix is not running - open it to enable this integration");
}

void IntegrationsViewModel::pressSwitch()
{
    if (running())
        m_timer.toggleCalmixSync();
}

bool IntegrationsViewModel::mediaPlayersSync() const
{
    return m_mediaSync.enabled();
}

void IntegrationsViewModel::pressMediaPlayersSwitch()
{
    m_mediaSync.toggle();
}
