#include "FreedesktopNotifier.h"

#include <QDBusMessage>
#include <QVariantMap>

#include "AppIds.h"

FreedesktopNotifier::FreedesktopNotifier(QDBusConnection bus) : m_bus(std::move(bus)) { }

void FreedesktopNotifier::notify(const QString& title, const QString& body)
{
    QDBusMessage call = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.Notifications"),
                                                       QStringLiteral("/org/freedesktop/Notifications"),
                                                       QStringLiteral("org.freedesktop.Notifications"),
                                                       QStringLiteral("Notify"));
    const QVariantMap hints {
        { QStringLiteral("desktop-entry"), QString::fromLatin1(AppIds::application) },
        { QStringLiteral("urgency"), QVariant::fromValue<uchar>(1) },
    };
    call << QStringLiteral("Velto") << quint32(0) << QString::fromLatin1(AppIds::application) << title << body
         << QStringList() << hints << qint32(-1);
    // Fire and forget: the reply (the notification id) is not needed, so no pending call is kept
    // waiting for it, not even one the process would still hold when it quits.
    m_bus.send(call);
}
