#include "DBusCompanionMessenger.h"

#include <QDBusMessage>
#include <QDBusMetaType>
#include <QMap>

#include "AppIds.h"

using StringMap = QMap<QString, QString>;

DBusCompanionMessenger::DBusCompanionMessenger(QDBusConnection bus)
    : m_bus(std::move(bus))
{
    qDBusRegisterMetaType<StringMap>(); // marshalled as a{ss}
}

void DBusCompanionMessenger::postAction(const QString& action)
{
    QDBusMessage signal = QDBusMessage::createSignal(QLatin1String(AppIds::companionSignalPath),
        QLatin1String(AppIds::companionSignalInterface), QLatin1String(AppIds::companionSignalMember));
    const StringMap userInfo { { QStringLiteral("action"), action },
        { QStringLiteral("source"), QStringLiteral("velto") } };
    signal << QVariant::fromValue(userInfo);
    m_bus.send(signal);
}
