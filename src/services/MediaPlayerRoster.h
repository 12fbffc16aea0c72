#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>

/// What Velto knows of the media players on the bus, and which one it may drive:
/// the one that was playing most recently. It may pause that player while it plays,
/// and resume it only when Velto itself paused it; a player the user never played,
/// or paused themselves, is left alone.
class MediaPlayerRoster {
public:
    enum class Status { stopped, paused, playing };
    /// "Playing", "Paused" or "Stopped"; anything else counts as stopped.
    static Status statusFromText(const QString& text);

    struct Target {
        QString name;
        /// The unique bus name of the instance that was seen: a player that restarted is not the one Velto
        /// knew.
        QString owner;
    };

    /// A player appeared with `owner`, or its owner changed; its status is not known yet.
    void addPlayer(const QString& name, const QString& owner);
    void removePlayer(const QString& name);
    bool contains(const QString& name) const { return m_players.contains(name); }
    QString ownerOf(const QString& name) const;
    /// The players an instance (unique bus name) owns.
    QStringList namesOwnedBy(const QString& owner) const;

    /// The player reports `status` (on discovery or in a change).
    void setStatus(const QString& name, Status status);
    std::optional<Status> status(const QString& name) const;

    /// The player to pause now, if any; it is then taken as paused by Velto.
    std::optional<Target> takePauseTarget();
    /// The player to resume now, if any: only one Velto paused and nobody touched since.
    std::optional<Target> takePlayTarget();
    /// A pause that did not reach the player: it was not paused by Velto.
    void forgetPause(const QString& name, const QString& owner);

private:
    struct Player {
        QString owner;
        std::optional<Status> status;
        /// When it last started playing, in the order Velto saw it; 0 for never.
        quint64 startedPlaying = 0;
        bool pausedByVelto = false;
    };
    /// The player that was playing most recently among those that play or Velto paused.
    QHash<QString, Player>::iterator current();

    QHash<QString, Player> m_players;
    quint64 m_lastStart = 0;
};
