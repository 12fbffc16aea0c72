#include "SingleInstance.h"

#include <QDBusConnectionInterface>

#include "applicationinterface.h"
#include "platform/AppIds.h"

namespace SingleInstance {

Claim claim(const QDBusConnection& bus)
{
    if (!bus.isConnected())
        return Claim::noBus;
    const auto reply = bus.interface()->registerService(QString::fromLatin1(AppIds::application),
        QDBusConnectionInterface::DontQueueService, QDBusConnectionInterface::DontAllowReplacement);
    if (reply.isValid() && reply.value() == QDBusConnectionInterface::ServiceRegistered)
        return Claim::claimed;
    return reply.isValid() ? Claim::alreadyRunning : Claim::noBus;
}

bool activateRunning(const QDBusConnection& bus)
{
    OrgFreedesktopApplicationInterface running(
        QString::fromLatin1(AppIds::application), QString::fromLatin1(AppIds::objectPath), bus);
    running.setTimeout(5000);
    QDBusPendingReply<> reply = running.Activate({});
    reply.waitForFinished();
    return reply.isValid();
}

} // namespace SingleInstance
