#include "MediaPlayerRoster.h"

MediaPlayerRoster::Status MediaPlayerRoster::statusFromText(const QString& text)
{
    if (text == QLatin1String("Playing"))
        return Status::playing;
    if (text == QLatin1String("Paused"))
        return Status::paused;
    return Status::stopped;
}

void MediaPlayerRoster::addPlayer(const QString& name, const QString& owner)
{
    const auto found = m_players.constFind(name);
    if (found != m_players.constEnd() && found->owner == owner)
        return;
    m_players.insert(name, Player { owner, std::nullopt, 0, false });
}

void MediaPlayerRoster::removePlayer(const QString& name)
{
    m_players.remove(name);
}

QString MediaPlayerRoster::ownerOf(const QString& name) const
{
    return m_players.value(name).owner;
}

QStringList MediaPlayerRoster::namesOwnedBy(const QString& owner) const
{
    QStringList names;
    for (auto it = m_players.cbegin(); it != m_players.cend(); ++it) {
        if (it->owner == owner)
            names.append(it.key());
    }
    return names;
}

void MediaPlayerRoster::setStatus(const QString& name, Status status)
{
    const auto found = m_players.find(name);
    if (found == m_players.end())
        return;
    const std::optional<Status> before = found->status;
    found->status = status;
    if (before == status)
        return; // a repeated report is no news: it must not undo a pause Velto is waiting to see
    if (status == Status::playing) {
        // Whatever started playing now is what the user listens to; an older pause by Velto is stale.
        for (Player& player : m_players)
            player.pausedByVelto = false;
        found->startedPlaying = ++m_lastStart;
    } else if (status == Status::stopped) {
        found->pausedByVelto = false;
    }
}

std::optional<MediaPlayerRoster::Status> MediaPlayerRoster::status(const QString& name) const
{
    const auto found = m_players.constFind(name);
    return found == m_players.constEnd() ? std::nullopt : found->status;
}

QHash<QString, MediaPlayerRoster::Player>::iterator MediaPlayerRoster::current()
{
    auto best = m_players.end();
    for (auto it = m_players.begin(); it != m_players.end(); ++it) {
        const bool candidate = it->status == Status::playing || it->pausedByVelto;
        if (candidate && (best == m_players.end() || it->startedPlaying > best->startedPlaying))
            best = it;
    }
    return best;
}

std::optional<MediaPlayerRoster::Target> MediaPlayerRoster::takePauseTarget()
{
    // Already paused by Velto and only waiting for the player to say so: once is enough.
    const auto player = current();
    if (player == m_players.end() || player->status != Status::playing || player->pausedByVelto)
        return std::nullopt;
    player->pausedByVelto = true;
    return Target { player.key(), player->owner };
}

std::optional<MediaPlayerRoster::Target> MediaPlayerRoster::takePlayTarget()
{
    // Still reported as playing when a pause was sent a moment ago: resuming it is still right.
    const auto player = current();
    if (player == m_players.end() || !player->pausedByVelto)
        return std::nullopt;
    player->pausedByVelto = false;
    return Target { player.key(), player->owner };
}

void MediaPlayerRoster::forgetPause(const QString& name, const QString& owner)
{
    const auto found = m_players.find(name);
    if (found != m_players.end() && found->owner == owner)
        found->pausedByVelto = false;
}
