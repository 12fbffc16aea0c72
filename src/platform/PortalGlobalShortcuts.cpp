#include "PortalGlobalShortcuts.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusMetaType>

#include "DBusCalls.h"
#include "PlatformLogging.h"

namespace {
const QString kPortal = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPortalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kInterface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
const QString kRequest = QStringLiteral("org.freedesktop.portal.Request");

/// One entry of the portal's `a(sa{sv})` shortcut lists.
struct PortalShortcut {
    QString id;
    QVariantMap properties;
};

QDBusArgument& operator<<(QDBusArgument& argument, const PortalShortcut& shortcut)
{
    argument.beginStructure();
    argument << shortcut.id << shortcut.properties;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, PortalShortcut& shortcut)
{
    argument.beginStructure();
    argument >> shortcut.id >> shortcut.properties;
    argument.endStructure();
    return argument;
}

QList<PortalShortcut> velto()
{
    return {
        { QString::fromLatin1(GlobalShortcuts::toggleId),
            { { QStringLiteral("description"), PortalGlobalShortcuts::tr("Start or pause") } } },
        { QString::fromLatin1(GlobalShortcuts::skipId),
            { { QStringLiteral("description"), PortalGlobalShortcuts::tr("Skip") } } },
        { QString::fromLatin1(GlobalShortcuts::extendId),
            { { QStringLiteral("description"), PortalGlobalShortcuts::tr("Extend 5 minutes") } } },
        { QString::fromLatin1(GlobalShortcuts::openId),
            { { QStringLiteral("description"), PortalGlobalShortcuts::tr("Open Velto") } } },
    };
}

/// A session handle, whichever of the two types a portal answers with.
QString objectPathText(const QVariant& value)
{
    return value.canConvert<QDBusObjectPath>() && value.userType() == qMetaTypeId<QDBusObjectPath>()
        ? value.value<QDBusObjectPath>().path()
        : value.toString();
}
} // namespace

PortalGlobalShortcuts::PortalGlobalShortcuts(QDBusConnection bus, QObject* parent)
    : GlobalShortcuts(parent)
    , m_bus(std::move(bus))
{
    qDBusRegisterMetaType<PortalShortcut>();
    qDBusRegisterMetaType<QList<PortalShortcut>>();
    DBusCalls::call(m_bus,
        DBusCalls::propertyGet(kPortal, kPortalPath, kInterface, QStringLiteral("version")), this,
        [this](const QDBusMessage& reply) {
            const uint version = DBusCalls::firstArgument(reply).toUInt();
            if (version < 1) {
                qCInfo(lcDesktop) << "The desktop portal offers no global shortcuts" << reply.errorMessage();
                return;
            }
            m_bus.connect(kPortal, kPortalPath, kInterface, QStringLiteral("Activated"), this,
                SLOT(onActivated(QDBusMessage)));
            createSession();
        });
}

void PortalGlobalShortcuts::createSession()
{
    const QVariantMap options { { QStringLiteral("session_handle_token"), QStringLiteral("velto") } };
    request(QStringLiteral("CreateSession"), { options }, QStringLiteral("session"),
        [this](const QVariantMap& results) {
            m_session = objectPathText(results.value(QStringLiteral("session_handle")));
            if (m_session.isEmpty()) {
                qCWarning(lcDesktop) << "The desktop portal opened no shortcut session";
                return;
            }
            listShortcuts();
        });
}

void PortalGlobalShortcuts::listShortcuts()
{
    request(QStringLiteral("ListShortcuts"),
        { QVariant::fromValue(QDBusObjectPath(m_session)), QVariantMap() }, QStringLiteral("shortcut list"),
        [this](const QVariantMap& results) {
            const auto listed = qdbus_cast<QList<PortalShortcut>>(results.value(QStringLiteral("shortcuts")));
            QStringList known;
            for (const PortalShortcut& shortcut : listed)
                known.append(shortcut.id);
            for (const PortalShortcut& shortcut : velto()) {
                if (!known.contains(shortcut.id)) {
                    bindShortcuts();
                    return;
                }
            }
            setAvailable();
        });
}

void PortalGlobalShortcuts::bindShortcuts()
{
    request(QStringLiteral("BindShortcuts"),
        { QVariant::fromValue(QDBusObjectPath(m_session)), QVariant::fromValue(velto()), QString(),
            QVariantMap() },
        QStringLiteral("shortcuts"), [this](const QVariantMap&) { setAvailable(); });
}

void PortalGlobalShortcuts::request(
    const QString& method, QVariantList arguments, const QString& what, ResponseHandler onSuccess)
{
    // The answer may come before the call returns: listen on the Request path the portal
    // will use, built from Velto's bus name and a token of its own.
    const QString token = QStringLiteral("velto%1").arg(++m_nextToken);
    QString sender = m_bus.baseService().mid(1);
    sender.replace(QLatin1Char('.'), QLatin1Char('_'));
    const QString path = QStringLiteral("%1/request/%2/%3").arg(kPortalPath, sender, token);
    m_bus.connect(kPortal, path, kRequest, QStringLiteral("Response"), this,
        SLOT(onResponse(uint, QVariantMap, QDBusMessage)));
    m_requests.insert(path, { what, std::move(onSuccess) });

    QVariantMap options = arguments.takeLast().toMap();
    options.insert(QStringLiteral("handle_token"), token);
    arguments.append(options);
    QDBusMessage call = QDBusMessage::createMethodCall(kPortal, kPortalPath, kInterface, method);
    call.setArguments(arguments);
    DBusCalls::call(m_bus, call, this, [this, path, what](const QDBusMessage& reply) {
        if (reply.type() == QDBusMessage::ReplyMessage)
            return;
        qCWarning(lcDesktop) << "The desktop portal refused the" << what << reply.errorMessage();
        m_requests.remove(path);
        m_bus.disconnect(kPortal, path, kRequest, QStringLiteral("Response"), this,
            SLOT(onResponse(uint, QVariantMap, QDBusMessage)));
    });
}

void PortalGlobalShortcuts::onResponse(uint response, const QVariantMap& results, const QDBusMessage& message)
{
    const auto pending = m_requests.take(message.path());
    m_bus.disconnect(kPortal, message.path(), kRequest, QStringLiteral("Response"), this,
        SLOT(onResponse(uint, QVariantMap, QDBusMessage)));
    if (!pending.second)
        return;
    if (response != 0) { // 1: the user cancelled, 2: another failure
        qCInfo(lcDesktop) << "The desktop portal gave no" << pending.first << "(response" << response << ")";
        return;
    }
    pending.second(results);
}

void PortalGlobalShortcuts::onActivated(const QDBusMessage& message)
{
    // Activated(o session_handle, s shortcut_id, t timestamp, a{sv} options)
    const QVariantList arguments = message.arguments();
    if (arguments.size() < 2 || objectPathText(arguments.at(0)) != m_session)
        return;
    const QString id = arguments.at(1).toString();
    for (const PortalShortcut& shortcut : velto()) {
        if (shortcut.id == id) {
            emit activated(id);
            return;
        }
    }
}

void PortalGlobalShortcuts::setAvailable()
{
    if (std::exchange(m_available, true))
        return;
    emit availabilityChanged();
}
