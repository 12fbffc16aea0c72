#include "MprisPlayers.h"

#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>

#include "platform/PlatformLogging.h"

namespace {
const QString kNamePrefix = QStringLiteral("org.mpris.MediaPlayer2.");
const QString kObjectPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kPlayerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");
const QString kPropertiesInterface = QStringLiteral("org.freedesktop.DBus.Properties");
const QString kPlaybackStatus = QStringLiteral("PlaybackStatus");
const QString kBusService = QStringLiteral("org.freedesktop.DBus");
const QString kBusPath = QStringLiteral("/org/freedesktop/DBus");
/// A player that does not answer in this time has hung; its call is given up.
constexpr int kCallTimeoutMs = 5000;

QDBusMessage busCall(const QString& method, const QVariantList& arguments = {})
{
    QDBusMessage call = QDBusMessage::createMethodCall(kBusService, kBusPath, kBusService, method);
    call.setArguments(arguments);
    return call;
}

/// Runs `handle` with the answer on `context`'s thread; nothing runs once `context` is gone.
template <typename Handler> void whenAnswered(const QDBusPendingCall& call, QObject* context, Handler handle)
{
    auto* watcher = new QDBusPendingCallWatcher(call, context);
    QObject::connect(
        watcher, &QDBusPendingCallWatcher::finished, context, [handle](QDBusPendingCallWatcher* done) {
            handle(*done);
            done->deleteLater();
        });
}
} // namespace

MprisPlayers::MprisPlayers(QDBusConnection bus, QObject* parent)
    : QObject(parent)
    , m_bus(std::move(bus))
{
    if (!m_bus.isConnected())
        return;
    // Watch first, then list: a player that appears in between is seen either way.
    m_bus.connect(kBusService, kBusPath, kBusService, QStringLiteral("NameOwnerChanged"), this,
        SLOT(onNameOwnerChanged(QString, QString, QString)));
    m_bus.connect(QString(), kObjectPath, kPropertiesInterface, QStringLiteral("PropertiesChanged"),
        { kPlayerInterface }, QString(), this, SLOT(onPropertiesChanged(QDBusMessage)));
    listPlayers();
}

void MprisPlayers::listPlayers()
{
    whenAnswered(
        m_bus.asyncCall(busCall(QStringLiteral("ListNames"))), this, [this](const QDBusPendingCall& call) {
            const QDBusPendingReply<QStringList> names = call;
            if (names.isError())
                return;
            for (const QString& name : names.value()) {
                if (!name.startsWith(kNamePrefix))
                    continue;
                whenAnswered(m_bus.asyncCall(busCall(QStringLiteral("GetNameOwner"), { name })), this,
                    [this, name](const QDBusPendingCall& ownerCall) {
                        const QDBusPendingReply<QString> owner = ownerCall;
                        if (!owner.isError())
                            watchPlayer(name, owner.value());
                    });
            }
        });
}

void MprisPlayers::onNameOwnerChanged(const QString& name, const QString& oldOwner, const QString& newOwner)
{
    Q_UNUSED(oldOwner)
    if (!name.startsWith(kNamePrefix))
        return;
    if (newOwner.isEmpty())
        m_roster.removePlayer(name);
    else
        watchPlayer(name, newOwner);
}

void MprisPlayers::watchPlayer(const QString& name, const QString& owner)
{
    if (m_roster.contains(name) && m_roster.ownerOf(name) == owner)
        return;
    m_roster.addPlayer(name, owner);
    fetchStatus(name, owner);
}

void MprisPlayers::fetchStatus(const QString& name, const QString& owner)
{
    QDBusMessage get
        = QDBusMessage::createMethodCall(owner, kObjectPath, kPropertiesInterface, QStringLiteral("Get"));
    get << kPlayerInterface << kPlaybackStatus;
    whenAnswered(
        m_bus.asyncCall(get, kCallTimeoutMs), this, [this, name, owner](const QDBusPendingCall& call) {
            const QDBusPendingReply<QDBusVariant> status = call;
            // The answer belongs to that instance only: the name may have moved on meanwhile.
            if (status.isError() || !m_roster.contains(name) || m_roster.ownerOf(name) != owner)
                return;
            m_roster.setStatus(name, MediaPlayerRoster::statusFromText(status.value().variant().toString()));
        });
}

void MprisPlayers::onPropertiesChanged(const QDBusMessage& message)
{
    const QList<QVariant> arguments = message.arguments();
    if (arguments.size() < 3 || arguments.at(0).toString() != kPlayerInterface)
        return;
    const QVariantMap changed = qdbus_cast<QVariantMap>(arguments.at(1));
    const QStringList invalidated = qdbus_cast<QStringList>(arguments.at(2));
    const QString owner = message.service();
    for (const QString& name : m_roster.namesOwnedBy(owner)) {
        if (changed.contains(kPlaybackStatus))
            m_roster.setStatus(
                name, MediaPlayerRoster::statusFromText(changed.value(kPlaybackStatus).toString()));
        else if (invalidated.contains(kPlaybackStatus))
            fetchStatus(name, owner);
    }
}

void MprisPlayers::play()
{
    if (const auto target = m_roster.takePlayTarget())
        send(*target, QStringLiteral("Play"));
}

void MprisPlayers::pause()
{
    if (const auto target = m_roster.takePauseTarget())
        send(*target, QStringLiteral("Pause"));
}

void MprisPlayers::send(const MediaPlayerRoster::Target& target, const QString& method)
{
    // Addressed to the instance Velto saw, so a player started since under the same name is not driven.
    const QDBusMessage call
        = QDBusMessage::createMethodCall(target.owner, kObjectPath, kPlayerInterface, method);
    whenAnswered(
        m_bus.asyncCall(call, kCallTimeoutMs), this, [this, target, method](const QDBusPendingCall& done) {
            if (!done.isError())
                return;
            qCDebug(lcDesktop) << "Media player" << target.name << "did not take" << method << ":"
                               << done.error().message();
            if (method == QLatin1String("Pause"))
                m_roster.forgetPause(target.name, target.owner);
        });
}
