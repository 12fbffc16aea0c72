#include "CanberraSoundPlayer.h"

#include <canberra.h>

#include "AppIds.h"
#include "PlatformLogging.h"

CanberraSoundPlayer::CanberraSoundPlayer() = default;

CanberraSoundPlayer::~CanberraSoundPlayer()
{
    if (m_context)
        ca_context_destroy(m_context);
}

void CanberraSoundPlayer::playCompletionSound()
{
    if (!m_context) {
        if (ca_context_create(&m_context) != CA_SUCCESS) {
            m_context = nullptr;
            return;
        }
        ca_context_change_props(m_context, CA_PROP_APPLICATION_NAME, "Velto", CA_PROP_APPLICATION_ID,
            AppIds::application, nullptr);
    }
    const int result = ca_context_play(
        m_context, 0, CA_PROP_EVENT_ID, "complete", CA_PROP_EVENT_DESCRIPTION, "Session complete", nullptr);
    if (result != CA_SUCCESS)
        qCDebug(lcDesktop) << "No completion sound:" << ca_strerror(result);
}
