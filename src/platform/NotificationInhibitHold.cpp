#include "NotificationInhibitHold.h"

#include <QDBusMessage>

#include "AppIds.h"
#include "DBusCalls.h"
#include "NotificationServer.h"
#include "PlatformLogging.h"

NotificationInhibitHold::NotificationInhibitHold(QDBusConnection bus, QObject* parent)
    : BannerHold(parent)
    , m_bus(std::move(bus))
{ }

void NotificationInhibitHold::hold(Done done)
{
    if (m_cookie) {
        done(true);
        return;
    }
    QDBusMessage call = NotificationServer::call(QStringLiteral("Inhibit"));
    call << QString::fromLatin1(AppIds::application) << tr("Focusing") << QVariantMap();
    DBusCalls::call(m_bus, call, this, [this, done = std::move(done)](const QDBusMessage& reply) {
        const QVariant cookie = DBusCalls::firstArgument(reply);
        if (cookie.userType() != QMetaType::UInt) {
            qCWarning(lcDesktop) << "Notifications were not held back:"
                                 << (reply.type() == QDBusMessage::ErrorMessage ? reply.errorMessage()
                                                                                : reply.signature());
            done(false);
            return;
        }
        m_cookie = cookie.toUInt();
        done(true);
    });
}

void NotificationInhibitHold::release(Done done)
{
    if (!m_cookie) {
        done(true);
        return;
    }
    const QDBusMessage call = unInhibitCall();
    m_cookie.reset();
    DBusCalls::call(m_bus, call, this, [done = std::move(done)](const QDBusMessage& reply) {
        const bool ok = reply.type() == QDBusMessage::ReplyMessage;
        if (!ok)
            qCWarning(lcDesktop) << "Notifications may still be held back:" << reply.errorMessage();
        done(ok);
    });
}

void NotificationInhibitHold::releaseBeforeQuit()
{
    if (!m_cookie)
        return;
    m_bus.call(unInhibitCall(), QDBus::Block, 1000);
    m_cookie.reset();
}

QDBusMessage NotificationInhibitHold::unInhibitCall() const
{
    QDBusMessage call = NotificationServer::call(QStringLiteral("UnInhibit"));
    call << *m_cookie;
    return call;
}
