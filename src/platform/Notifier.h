#pragma once

#include <QList>
#include <QString>
#include <functional>

class QObject;

/// A button on a notification: the key reported back and its translated label. The key
/// "default" is the click on the notification itself; desktops show no button for it.
struct NotificationAction {
    QString key;
    QString label;
};

/// Posts a desktop notification.
class Notifier {
public:
    /// Gets the key of the action the user chose, or an empty key when the notification
    /// was closed without one.
    using ActionHandler = std::function<void(const QString& actionKey)>;

    virtual ~Notifier() = default;
    virtual void notify(const QString& title, const QString& body) = 0;
    /// The same for a process about to exit: returns once the notification is delivered, or
    /// after a short wait when nobody answers.
    virtual void notifyBeforeExit(const QString& title, const QString& body) { notify(title, body); }
    /// A notification with buttons. Where the desktop shows no actions it is posted as by
    /// `notify` and `onAction` is never called; nothing is called once `context` is destroyed.
    virtual void notifyWithActions(const QString& title, const QString& body,
        const QList<NotificationAction>& actions, QObject* context, const ActionHandler& onAction)
    {
        (void)actions, (void)context, (void)onAction;
        notify(title, body);
    }
};
