#pragma once

#include <QDBusConnection>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <optional>

#include "Notifier.h"

class QDBusServiceWatcher;

/// Notifications through org.freedesktop.Notifications on the session bus.
/// Calls are asynchronous; a missing notification server is not an error. Actions go in
/// the standard `actions` list when the server lists the "actions" capability (asked once,
/// and again when another server takes the name); the server's `ActionInvoked` and
/// `NotificationClosed` for Velto's own notifications reach their handlers.
class FreedesktopNotifier final : public QObject, public Notifier {
    Q_OBJECT

public:
    explicit FreedesktopNotifier(
        QDBusConnection bus = QDBusConnection::sessionBus(), QObject* parent = nullptr);
    void notify(const QString& title, const QString& body) override;
    void notifyBeforeExit(const QString& title, const QString& body) override;
    void notifyWithActions(const QString& title, const QString& body,
        const QList<NotificationAction>& actions, QObject* context, const ActionHandler& onAction) override;

private slots:
    void onActionInvoked(uint id, const QString& actionKey);
    void onNotificationClosed(uint id, uint reason);

private:
    struct Posting {
        QString title;
        QString body;
        QList<NotificationAction> actions;
        QPointer<QObject> context;
        ActionHandler onAction;
    };

    QDBusMessage notifyCall(const QString& title, const QString& body, const QStringList& actions) const;
    void askCapabilities();
    void post(Posting posting);
    void answer(uint id, const QString& actionKey);

    QDBusConnection m_bus;
    std::optional<bool> m_serverShowsActions;
    bool m_askingCapabilities = false;
    QList<Posting> m_waitingForCapabilities;
    QDBusServiceWatcher* m_serverWatcher = nullptr;
    QHash<uint, std::pair<QPointer<QObject>, ActionHandler>> m_handlers;
};
