#pragma once

#include <QDBusConnection>
#include <QObject>

/// Whether a StatusNotifierItem host (a tray that shows items announced on the session
/// bus) runs, and when one starts.
class TrayHostWatch : public QObject {
    Q_OBJECT

public:
    static constexpr const char* watcherService = "org.kde.StatusNotifierWatcher";

    explicit TrayHostWatch(QDBusConnection bus, QObject* parent = nullptr);

    /// Asks the items' watcher whether a host has registered with it.
    bool hostPresent() const;

signals:
    /// A host registered, or a watcher with a host came onto the bus.
    void hostAppeared();

private slots:
    void onHostRegistered();

private:
    QDBusConnection m_bus;
};
