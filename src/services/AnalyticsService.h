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
/// is ever sent, and with DO_NOT_TRACK set (to anything but 0 or false) nothing at all.
class AnalyticsService : public QObject {
    Q_OBJECT

public:
    static constexpr const char* lastHeartbeatKey = "veltoLastHeartbeat";

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
    /// heartbeat when one is due. Runs once; later calls do nothing.
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

private:
    Dependencies m_deps;
    bool m_initialized = false;
};
