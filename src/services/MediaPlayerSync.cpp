#include "MediaPlayerSync.h"

#include "MprisPlayers.h"
#include "platform/PreferenceValues.h"
#include "platform/Preferences.h"

namespace {
const QString kSyncKey = QStringLiteral("veltoMprisSync");
}

MediaPlayerSync::MediaPlayerSync(
    Preferences& preferences, MprisPlayers& players, std::function<bool()> focusRunning, QObject* parent)
    : QObject(parent)
    , m_preferences(preferences)
    , m_players(players)
    , m_focusRunning(std::move(focusRunning))
    , m_enabled(PreferenceValues::boolean(preferences.value(kSyncKey)))
{ }

void MediaPlayerSync::toggle()
{
    m_enabled = !m_enabled;
    m_preferences.setValue(kSyncKey, m_enabled);
    emit enabledChanged();
    // As with Calmix: switching on mid-focus brings the music in, switching off stops it.
    if (!m_enabled)
        drive(false);
    else if (m_focusRunning())
        drive(true);
}

void MediaPlayerSync::follow(bool play)
{
    if (m_enabled)
        drive(play);
}

void MediaPlayerSync::drive(bool play)
{
    if (play)
        m_players.play();
    else
        m_players.pause();
}
