#pragma once

#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>
#include <QStringList>
#include <optional>

/// A media player on a bus connection of its own, as another program would be: it owns
/// org.mpris.MediaPlayer2.<id>, implements the MPRIS root and player interfaces, and
/// announces every change of PlaybackStatus. It remembers who called Play and Pause.
class TestMediaPlayer final : public QObject {
    Q_OBJECT

public:
    struct Call {
        QString method;
        QString sender;
    };

    explicit TestMediaPlayer(const QString& id, const QString& status = QStringLiteral("Stopped"));
    ~TestMediaPlayer() override;

    QString busName() const { return m_busName; }
    QString status() const { return m_status; }
    /// The user changes playback in the player's own window.
    void setStatus(const QString& status);
    /// The methods `sender` called, in order.
    QStringList callsFrom(const QString& sender) const;
    const QList<Call>& calls() const { return m_calls; }
    /// From now on Play and Pause are taken but never answered, as by a player that hangs.
    void stopAnswering() { m_answering = false; }
    /// Leaves the bus at once, with any unanswered call.
    void vanish();

    // The player interface's methods, called by its adaptor.
    void handle(const QString& method, const QDBusMessage& message);

private:
    QString m_busName;
    QString m_connectionName;
    std::optional<QDBusConnection> m_bus;
    QString m_status;
    QList<Call> m_calls;
    bool m_answering = true;
};

/// org.mpris.MediaPlayer2: who the player is; it can neither quit nor raise.
class MprisRootAdaptor final : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2")
    Q_PROPERTY(QString Identity READ identity)
    Q_PROPERTY(bool CanQuit READ no)
    Q_PROPERTY(bool CanRaise READ no)
    Q_PROPERTY(bool HasTrackList READ no)
    Q_PROPERTY(QStringList SupportedUriSchemes READ none)
    Q_PROPERTY(QStringList SupportedMimeTypes READ none)

public:
    explicit MprisRootAdaptor(TestMediaPlayer* player)
        : QDBusAbstractAdaptor(player)
    { }
    QString identity() const { return QStringLiteral("Velto test player"); }
    bool no() const { return false; }
    QStringList none() const { return {}; }

public slots:
    void Raise() { }
    void Quit() { }
};

/// org.mpris.MediaPlayer2.Player: playback status and the play/pause controls.
class MprisPlayerAdaptor final : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
    Q_PROPERTY(QString PlaybackStatus READ playbackStatus)
    Q_PROPERTY(bool CanPlay READ yes)
    Q_PROPERTY(bool CanPause READ yes)
    Q_PROPERTY(bool CanControl READ yes)

public:
    explicit MprisPlayerAdaptor(TestMediaPlayer* player)
        : QDBusAbstractAdaptor(player)
        , m_player(player)
    { }
    QString playbackStatus() const { return m_player->status(); }
    bool yes() const { return true; }

public slots:
    void Play(const QDBusMessage& message) { m_player->handle(QStringLiteral("Play"), message); }
    void Pause(const QDBusMessage& message) { m_player->handle(QStringLiteral("Pause"), message); }
    void PlayPause(const QDBusMessage& message) { m_player->handle(QStringLiteral("PlayPause"), message); }
    void Stop(const QDBusMessage& message) { m_player->handle(QStringLiteral("Stop"), message); }

private:
    TestMediaPlayer* m_player;
};
