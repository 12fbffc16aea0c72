#pragma once

#include <QObject>
#include <QString>
#include <memory>
#include <optional>
#include <string>

#include "MachineIdentity.h"

class AnalyticsClient;
class Clock;
class Preferences;
namespace beacon {
class BeaconClock;
class BeaconPlatform;
} // namespace beacon

/// Velto's two anonymous usage events: a daily heartbeat at launch and the
/// dashboard section the user opens. Nothing about sessions, tags or durations
/// is ever sent, and nothing at all while the user's switch is off or DO_NOT_TRACK
/// is set (to anything but 0 or false).
class AnalyticsService : public QObject {
    Q_OBJECT

public:
    static constexpr const char* lastHeartbeatKey = "veltoLastHeartbeat";
    static constexpr const char* shareUsageKey = "veltoShareUsageStatistics";

    struct Dependencies {
        AnalyticsClient& client;
        Preferences& preferences;
        const Clock& clock;
        MachineIdentity identity;
        /// The desktop as the analytics client sees it (folders, network, lifecycle).
        std::shared_ptr<beacon::BeaconPlatform> platform;
        /// Whether the user asked not to be tracked; by default the DO_NOT_TRACK environment variable.
        bool doNotTrack = doNotTrackRequested();
        /// The ingestion host; the build's own when absent (tests point it at a local server).
        std::optional<std::string> host = std::nullopt;
        /// The analytics client's clock (event times, session timeouts); the system's when absent.
        std::shared_ptr<beacon::BeaconClock> clientClock = nullptr;
    };

    explicit AnalyticsService(Dependencies dependencies, QObject* parent = nullptr);

    /// Configures and starts the client, identifies the installation and sends the
    /// heartbeat when one is due. Runs once, and only while sharing; later calls do nothing.
    void setup();
    bool isInitialized() const { return m_initialized; }

    /// Reports the dashboard section the user selected ("insights", "tags", "integrations", "settings").
    Q_INVOKABLE void trackDashboardOpened(const QString& section);

    QString deviceIdentifier() const { return m_deps.identity.deviceIdentifier(); }
    /// The application's version text, or "unknown".
    static QString appVersion();
    void sendHeartbeatIfNeeded();

    /// DO_NOT_TRACK holds any value other than empty, "0" or "false".
    static bool doNotTrackRequested();

    /// The user's switch; on unless stored off.
    bool userAllowsSharing() const;
    /// Anything is captured and sent: the switch is on and the environment does not opt out.
    bool isSharing() const { return !m_deps.doNotTrack && userAllowsSharing(); }
    bool isOptedOutByEnvironment() const { return m_deps.doNotTrack; }
    /// Stores the switch. Off closes the client at once, deleting the events not yet sent;
    /// on starts it as a launch would. Ignored while the environment opts out.
    void setUserAllowsSharing(bool allowed);

signals:
    void sharingChanged();

private:
    Dependencies m_deps;
    bool m_initialized = false;
};
