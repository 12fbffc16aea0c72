#pragma once

#include <QObject>
#include <QTimer>
#include <QUrl>
#include <chrono>
#include <memory>
#include <thread>

#include "UpdateCheckResult.h"
#include "http/HttpTransfer.h"

class Clock;
class Preferences;

/// Where and how the updater looks for new versions. The defaults are the build's; tests
/// point the feed at a local server and shorten the waits.
struct UpdaterSettings {
    /// The appcast's address, fixed at build time (VELTO_UPDATE_FEED).
    QUrl feedUrl = defaultFeedUrl();
    /// The running version ("1.0.0", the project version).
    QString currentVersion = defaultVersion();
    http::Limits limits { .connectTimeout = std::chrono::seconds(10),
        .totalTimeout = std::chrono::seconds(30),
        .maxResponseBytes = std::size_t(2) * 1024 * 1024 };
    /// How often the updater looks whether a scheduled check is due. Looking at the wall
    /// clock instead of arming one long timer keeps the day right across suspend.
    std::chrono::milliseconds scheduleTick = std::chrono::hours(1);

    static QUrl defaultFeedUrl();
    static QString defaultVersion();
};

/// Looks for a newer Velto in the update feed: when asked, and once a day while automatic
/// checks are on. The download runs on a worker thread; the result arrives on this object's
/// thread. Nothing is ever installed: a newer version is offered with its download page.
class Updater : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool automaticallyChecksForUpdates READ automaticallyChecksForUpdates WRITE
            setAutomaticallyChecksForUpdates NOTIFY automaticallyChecksForUpdatesChanged)
    Q_PROPERTY(bool automaticallyDownloadsUpdates READ automaticallyDownloadsUpdates WRITE
            setAutomaticallyDownloadsUpdates NOTIFY automaticallyDownloadsUpdatesChanged)
    Q_PROPERTY(bool canCheckForUpdates READ canCheckForUpdates NOTIFY canCheckForUpdatesChanged)

public:
    static constexpr const char* automaticChecksKey = "SUEnableAutomaticChecks";
    static constexpr const char* automaticDownloadsKey = "SUAutomaticallyUpdate";
    /// When the last check started, so that a restart does not check again too soon.
    static constexpr const char* lastCheckTimeKey = "SULastCheckTime";
    static constexpr std::chrono::hours checkInterval { 24 };

    Updater(Preferences& preferences, const Clock& clock, UpdaterSettings settings = {},
        QObject* parent = nullptr);
    ~Updater() override;

    /// Enables checks: scheduled ones from now on (when due and switched on) and the user's.
    void startUpdater();

    bool automaticallyChecksForUpdates() const { return m_automaticallyChecks; }
    void setAutomaticallyChecksForUpdates(bool on);
    /// Stored under "SUAutomaticallyUpdate". On Linux nothing is downloaded or installed behind
    /// the user's back: "download" means an automatic check offers the newer version, which it
    /// does whenever it finds one, so this switch changes nothing beyond what is stored.
    bool automaticallyDownloadsUpdates() const { return m_automaticallyDownloads; }
    void setAutomaticallyDownloadsUpdates(bool on);
    /// False before the updater starts and while a check runs.
    bool canCheckForUpdates() const { return m_started && !m_check; }

    /// A check the user asked for; its result is reported with `userInitiated` true. During a
    /// scheduled check the user's request takes that check over instead of starting a second one.
    Q_INVOKABLE void checkForUpdates();

signals:
    void automaticallyChecksForUpdatesChanged();
    void automaticallyDownloadsUpdatesChanged();
    void canCheckForUpdatesChanged();
    /// Every finished check, on this object's thread.
    void checkFinished(const UpdateCheckResult& result, bool userInitiated);

private:
    struct RunningCheck {
        std::shared_ptr<http::Cancellation> cancellation = std::make_shared<http::Cancellation>();
        std::thread worker;
        bool userInitiated = false;
    };

    void checkIfDue();
    void updateSchedule();
    void startCheck(bool userInitiated);
    void finishCheck(const UpdateCheckResult& result);

    Preferences& m_preferences;
    const Clock& m_clock;
    UpdaterSettings m_settings;
    bool m_automaticallyChecks = false;
    bool m_automaticallyDownloads = false;
    bool m_started = false;
    QTimer m_scheduleTimer;
    std::unique_ptr<RunningCheck> m_check;
};
