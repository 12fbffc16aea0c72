#pragma once

#include <QObject>
#include <functional>

class MprisPlayers;
class Preferences;

/// Music sync with the desktop's media players: while switched on, the player that
/// was playing most recently follows the timer at the moments Calmix does, playing
/// during focus and pausing otherwise. The switch is stored under "veltoMprisSync".
class MediaPlayerSync final : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool enabled READ enabled NOTIFY enabledChanged)

public:
    /// `focusRunning` tells whether a focus interval is running now.
    MediaPlayerSync(Preferences& preferences, MprisPlayers& players, std::function<bool()> focusRunning,
        QObject* parent = nullptr);

    bool enabled() const { return m_enabled; }
    /// Flips and stores the switch. Switched on while a focus interval runs, the music
    /// resumes; switched off, it pauses.
    Q_INVOKABLE void toggle();
    /// The timer's cue: play while a focus interval runs, pause otherwise. Ignored while off.
    void follow(bool play);

signals:
    void enabledChanged();

private:
    void drive(bool play);

    Preferences& m_preferences;
    MprisPlayers& m_players;
    std::function<bool()> m_focusRunning;
    bool m_enabled = false;
};
