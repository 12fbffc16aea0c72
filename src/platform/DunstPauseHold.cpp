#include "DunstPauseHold.h"

#include <QDBusMessage>
#include <QDBusVariant>

#include "DBusCalls.h"
#include "NotificationServer.h"
#include "PlatformLogging.h"
#include "PreferenceValues.h"
#include "Preferences.h"

namespace {
const QString kInterface = QStringLiteral("org.dunstproject.cmd0");
const QString kPaused = QStringLiteral("paused");
} // namespace

const QString DunstPauseHold::pausedKey = QStringLiteral("veltoDoNotDisturbPausedDunst");

DunstPauseHold::DunstPauseHold(Preferences& preferences, QDBusConnection bus, QObject* parent)
    : BannerHold(parent)
    , m_preferences(preferences)
    , m_bus(std::move(bus))
{ }

void DunstPauseHold::hold(Done done)
{
    if (PreferenceValues::boolean(m_preferences.value(pausedKey))) {
        done(true);
        return;
    }
    DBusCalls::call(m_bus,
        DBusCalls::propertyGet(NotificationServer::service, NotificationServer::path, kInterface, kPaused),
        this, [this, done = std::move(done)](const QDBusMessage& reply) mutable {
            const QVariant paused = DBusCalls::firstArgument(reply);
            if (paused.userType() != QMetaType::Bool) {
                qCWarning(lcDesktop) << "dunst did not say whether it is paused:" << reply.errorMessage();
                done(false);
                return;
            }
            if (paused.toBool()) { // paused by the user: theirs to lift
                done(true);
                return;
            }
            // Noted before the change, so that a crash cannot leave dunst paused for good.
            m_preferences.setValue(pausedKey, true);
            setPaused(true, [this, done = std::move(done)](bool ok) {
                if (!ok)
                    m_preferences.remove(pausedKey);
                done(ok);
            });
        });
}

void DunstPauseHold::release(Done done)
{
    if (!PreferenceValues::boolean(m_preferences.value(pausedKey))) {
        done(true);
        return;
    }
    setPaused(false, [this, done = std::move(done)](bool ok) {
        // A dunst that does not answer has usually quit, and a new one starts unpaused.
        m_preferences.remove(pausedKey);
        done(ok);
    });
}

void DunstPauseHold::releaseBeforeQuit()
{
    if (!PreferenceValues::boolean(m_preferences.value(pausedKey)))
        return;
    const QDBusMessage reply = m_bus.call(setPausedCall(false), QDBus::Block, 1000);
    if (reply.type() == QDBusMessage::ErrorMessage)
        qCWarning(lcDesktop) << "dunst may still be paused:" << reply.errorMessage();
    m_preferences.remove(pausedKey);
}

void DunstPauseHold::setPaused(bool paused, Done done)
{
    DBusCalls::call(
        m_bus, setPausedCall(paused), this, [paused, done = std::move(done)](const QDBusMessage& reply) {
            const bool ok = reply.type() == QDBusMessage::ReplyMessage;
            if (!ok)
                qCWarning(lcDesktop) << (paused ? "dunst was not paused:" : "dunst was not unpaused:")
                                     << reply.errorMessage();
            done(ok);
        });
}

QDBusMessage DunstPauseHold::setPausedCall(bool paused) const
{
    QDBusMessage call = QDBusMessage::createMethodCall(NotificationServer::service, NotificationServer::path,
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Set"));
    call << kInterface << kPaused << QVariant::fromValue(QDBusVariant(paused));
    return call;
}
