#pragma once

#include <QObject>

#include "UpdateCheckResult.h"
#include "Updater.h"

class Clock;
class Preferences;

/// The tray menu's view of the updater: starts it, switches automatic updates on the first
/// time Velto runs, mirrors its state as properties and passes the user's commands on.
/// Lives on the GUI thread.
class UpdateManager : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool canCheckForUpdates READ canCheckForUpdates NOTIFY canCheckForUpdatesChanged)
    Q_PROPERTY(bool automaticallyChecksForUpdates READ automaticallyChecksForUpdates WRITE
            setAutomaticallyChecksForUpdates NOTIFY automaticallyChecksForUpdatesChanged)

public:
    /// Its absence marks the first run.
    static constexpr const char* automaticallyUpdateKey = Updater::automaticDownloadsKey;

    UpdateManager(Preferences& preferences, const Clock& clock, UpdaterSettings settings = {},
        QObject* parent = nullptr);

    Updater& updater() { return m_updater; }

    bool canCheckForUpdates() const { return m_canCheckForUpdates; }
    bool automaticallyChecksForUpdates() const { return m_automaticallyChecksForUpdates; }
    /// Every assignment is passed on to the updater and published.
    void setAutomaticallyChecksForUpdates(bool on);

    /// Flips automatic checks, sets automatic downloads to match and stores the choice.
    Q_INVOKABLE void toggleAutomaticUpdates();
    /// A check the user asked for; its outcome arrives through `checkForUpdatesFinished`.
    Q_INVOKABLE void checkForUpdates();

signals:
    void canCheckForUpdatesChanged();
    void automaticallyChecksForUpdatesChanged();
    /// The outcome of a check the user asked for: up to date, a newer version, or why it failed.
    void checkForUpdatesFinished(const UpdateCheckResult& result);
    /// A scheduled check found a newer version. Scheduled checks say nothing otherwise.
    void updateFound(const UpdateCheckResult& result);

private:
    void onCheckFinished(const UpdateCheckResult& result, bool userInitiated);

    Preferences& m_preferences;
    bool m_canCheckForUpdates = false;
    Updater m_updater;
    bool m_automaticallyChecksForUpdates = false;
};
