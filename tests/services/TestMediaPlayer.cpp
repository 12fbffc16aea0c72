#include "TestMediaPlayer.h"

#include <QVariantMap>
#include <gtest/gtest.h>

namespace {
const QString kObjectPath = QStringLiteral("/org/mpris/MediaPlayer2");
int connectionCount = 0;
} // namespace

TestMediaPlayer::TestMediaPlayer(const QString& id, const QString& status)
    : m_busName(QStringLiteral("org.mpris.MediaPlayer2.") + id)
    , m_connectionName(QStringLiteral("test-player-%1-%2").arg(id).arg(++connectionCount))
    , m_status(status)
{
    new MprisRootAdaptor(this);
    new MprisPlayerAdaptor(this);
    m_bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, m_connectionName);
    m_bus->registerObject(kObjectPath, this, QDBusConnection::ExportAdaptors);
    if (!m_bus->registerService(m_busName))
        ADD_FAILURE() << "cannot own " << m_busName.toStdString();
}

TestMediaPlayer::~TestMediaPlayer()
{
    vanish();
}

void TestMediaPlayer::vanish()
{
    if (!m_bus)
        return;
    m_bus.reset(); // the last reference: the connection closes and the bus frees the name
    QDBusConnection::disconnectFromBus(m_connectionName);
}

void TestMediaPlayer::setStatus(const QString& status)
{
    if (status == m_status || !m_bus)
        return;
    m_status = status;
    QDBusMessage changed = QDBusMessage::createSignal(
        kObjectPath, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("PropertiesChanged"));
    changed << QStringLiteral("org.mpris.MediaPlayer2.Player")
            << QVariantMap { { QStringLiteral("PlaybackStatus"), status } } << QStringList();
    m_bus->send(changed);
}

QStringList TestMediaPlayer::callsFrom(const QString& sender) const
{
    QStringList methods;
    for (const Call& call : m_calls) {
        if (call.sender == sender)
            methods.append(call.method);
    }
    return methods;
}

void TestMediaPlayer::handle(const QString& method, const QDBusMessage& message)
{
    m_calls.append({ method, message.service() });
    if (!m_answering) {
        message.setDelayedReply(true);
        return;
    }
    if (method == QLatin1String("Play"))
        setStatus(QStringLiteral("Playing"));
    else if (method == QLatin1String("Pause"))
        setStatus(m_status == QLatin1String("Playing") ? QStringLiteral("Paused") : m_status);
    else if (method == QLatin1String("PlayPause"))
        setStatus(
            m_status == QLatin1String("Playing") ? QStringLiteral("Paused") : QStringLiteral("Playing"));
    else if (method == QLatin1String("Stop"))
        setStatus(QStringLiteral("Stopped"));
}
