#include "FreedesktopNotifier.h"

#include <QDBusMessage>
#include <QDBusServiceWatcher>
#include <QVariantMap>

#include "AppIds.h"
#include "DBusCalls.h"
#include "NotificationServer.h"

FreedesktopNotifier::FreedesktopNotifier(QDBusConnection bus, QObject* parent)
    : QObject(parent)
    , m_bus(std::move(bus))
{ }

void FreedesktopNotifier::notify(const QString& title, const QString& body)
{
    // Fire and forget: the reply (the notification id) is not needed, so no pending call is kept
    // waiting for it, not even one the process would still hold when it quits.
    m_bus.send(notifyCall(title, body, {}));
}

void FreedesktopNotifier::notifyWithActions(const QString& title, const QString& body,
    const QList<NotificationAction>& actions, QObject* context, const ActionHandler& onAction)
{
    Posting posting { title, body, actions, context, onAction };
    if (m_serverShowsActions) {
        post(std::move(posting));
        return;
    }
    m_waitingForCapabilities.append(std::move(posting));
    askCapabilities();
}

QDBusMessage FreedesktopNotifier::notifyCall(
    const QString& title, const QString& body, const QStringList& actions) const
{
    QDBusMessage call = NotificationServer::call(QStringLiteral("Notify"));
    const QVariantMap hints {
        { QStringLiteral("desktop-entry"), QString::fromLatin1(AppIds::application) },
        { QStringLiteral("urgency"), QVariant::fromValue<uchar>(1) },
    };
    call << QStringLiteral("Velto") << quint32(0) << QString::fromLatin1(AppIds::application) << title << body
         << actions << hints << qint32(-1);
    return call;
}

void FreedesktopNotifier::notifyBeforeExit(const QString& title, const QString& body)
{
    // A message only queued would go down with the process.
    m_bus.call(notifyCall(title, body, {}), QDBus::Block, 3000);
}

void FreedesktopNotifier::askCapabilities()
{
    if (std::exchange(m_askingCapabilities, true))
        return;
    if (!m_serverWatcher) {
        m_serverWatcher = new QDBusServiceWatcher(
            NotificationServer::service, m_bus, QDBusServiceWatcher::WatchForOwnerChange, this);
        connect(m_serverWatcher, &QDBusServiceWatcher::serviceOwnerChanged, this,
            [this] { m_serverShowsActions.reset(); });
        m_bus.connect(NotificationServer::service, NotificationServer::path, NotificationServer::service,
            QStringLiteral("ActionInvoked"), this, SLOT(onActionInvoked(uint, QString)));
        m_bus.connect(NotificationServer::service, NotificationServer::path, NotificationServer::service,
            QStringLiteral("NotificationClosed"), this, SLOT(onNotificationClosed(uint, uint)));
    }
    const QDBusMessage call = NotificationServer::call(QStringLiteral("GetCapabilities"));
    DBusCalls::call(m_bus, call, this, [this](const QDBusMessage& reply) {
        m_askingCapabilities = false;
        m_serverShowsActions
            = DBusCalls::firstArgument(reply).toStringList().contains(QLatin1String("actions"));
        for (Posting& posting : std::exchange(m_waitingForCapabilities, {}))
            post(std::move(posting));
    });
}

void FreedesktopNotifier::post(Posting posting)
{
    if (!m_serverShowsActions.value_or(false) || !posting.context) {
        notify(posting.title, posting.body);
        return;
    }
    QStringList actions;
    for (const NotificationAction& action : posting.actions)
        actions << action.key << action.label;
    DBusCalls::call(m_bus, notifyCall(posting.title, posting.body, actions), this,
        [this, context = posting.context, onAction = std::move(posting.onAction)](const QDBusMessage& reply) {
            const QVariant id = DBusCalls::firstArgument(reply);
            if (id.userType() == QMetaType::UInt && context)
                m_handlers.insert(id.toUInt(), { context, onAction });
        });
}

void FreedesktopNotifier::onActionInvoked(uint id, const QString& actionKey)
{
    answer(id, actionKey);
}

void FreedesktopNotifier::onNotificationClosed(uint id, uint)
{
    answer(id, QString());
}

void FreedesktopNotifier::answer(uint id, const QString& actionKey)
{
    // Each notification is answered once: servers send NotificationClosed after ActionInvoked.
    const auto [context, onAction] = m_handlers.take(id);
    if (context && onAction)
        onAction(actionKey);
}
