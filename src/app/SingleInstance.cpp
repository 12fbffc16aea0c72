#include "SingleInstance.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>

#include "platform/AppIds.h"

namespace SingleInstance {

Claim claim(QDBusConnection bus)
{
    if (!bus.isConnected())
        return Claim::noBus;
    const auto reply = bus.interface()->registerService(QString::fromLatin1(AppIds::application),
                                                        QDBusConnectionInterface::DontQueueService,
                                                        QDBusConnectionInterface::DontAllowReplacement);
    if (reply.isValid() && reply.value() == QDBusConnectionInterface::ServiceRegistered)
        return Claim::claimed;
    return reply.isValid() ? Claim::alreadyRunning : Claim::noBus;
}

bool activateRunning(QDBusConnection bus)
{
    QDBusMessage call = QDBusMessage::createMethodCall(QString::fromLatin1(AppIds::application),
                                                       QString::fromLatin1(AppIds::objectPath),
                                                       QStringLiteral("org.freedesktop.Application"),
                                                       QStringLiteral("Activate"));
    call << QVariantMap();
    return bus.call(call, QDBus::Block, 5000).type() == QDBusMessage::ReplyMessage;
}

} // namespace SingleInstance

void ApplicationAdaptor::Activate(const QVariantMap&) { emit activated(); }

void ApplicationAdaptor::Open(const QStringList&, const QVariantMap&) { emit activated(); }

void ApplicationAdaptor::ActivateAction(const QString&, const QVariantList&, const QVariantMap&) { emit activated(); }
