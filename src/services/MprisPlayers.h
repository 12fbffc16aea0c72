#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>

#include "MediaPlayerRoster.h"

/// Follows the MPRIS media players on the session bus (names org.mpris.MediaPlayer2.*)
/// and their playback status, and pauses or resumes the one the roster picks.
/// Every call is asynchronous: a slow player never blocks the interface, and one that
/// has gone when the call arrives only costs a line in the debug log.
class MprisPlayers final : public QObject {
    Q_OBJECT

public:
    explicit MprisPlayers(QDBusConnection bus = QDBusConnection::sessionBus(), QObject* parent = nullptr);

    /// Resumes the player that was playing most recently, if Velto paused it.
    void play();
    /// Pauses the player that was playing most recently, if it still plays.
    void pause();

    const MediaPlayerRoster& roster() const { return m_roster; }

private slots:
    void onNameOwnerChanged(const QString& name, const QString& oldOwner, const QString& newOwner);
    void onPropertiesChanged(const QDBusMessage& message);

private:
    void listPlayers();
    void watchPlayer(const QString& name, const QString& owner);
    void fetchStatus(const QString& name, const QString& owner);
    void send(const MediaPlayerRoster::Target& target, const QString& method);

    QDBusConnection m_bus;
    MediaPlayerRoster m_roster;
};
