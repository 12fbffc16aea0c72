#pragma once

#include <QPair>
#include <QStringList>

#include "platform/CompanionMessenger.h"
#include "platform/Notifier.h"
#include "platform/SoundPlayer.h"

/// Desktop stand-ins that remember what the core asked of them.
class RecordingNotifier final : public Notifier {
public:
    void notify(const QString& title, const QString& body) override { notifications.append({ title, body }); }
    void notifyWithActions(const QString& title, const QString& body,
        const QList<NotificationAction>& actions, QObject*, const ActionHandler& onAction) override
    {
        notify(title, body);
        lastActions.clear();
        for (const NotificationAction& action : actions)
            lastActions.append(action.key);
        lastHandler = std::move(onAction);
    }
    QList<QPair<QString, QString>> notifications;
    /// The keys of the last notification's actions, and what answers them.
    QStringList lastActions;
    ActionHandler lastHandler;
};

class RecordingSound final : public SoundPlayer {
public:
    void playCompletionSound() override { ++plays; }
    int plays = 0;
};

class RecordingCompanion final : public CompanionMessenger {
public:
    void postAction(const QString& action) override { actions.append(action); }
    QStringList actions;
};
