// The usage analytics service over the real analytics client and Velto's view of the desktop, delivering to
// an HTTP server on the loopback interface: what leaves the machine, and that nothing does under
// DO_NOT_TRACK.
#include <QCoreApplication>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "FakeClock.h"
#include "LoopbackHttpServer.h"
#include "MemoryPreferences.h"
#include "SdkHarness.h"
#include "beacon/BeaconConfig.h"
#include "beacon/BeaconPlatform.h"
#include "beacon/BeaconSDK.h"
#include "beacon/BeaconStorage.h"
#include "services/AnalyticsLifecycleSource.h"
#include "services/AnalyticsPlatform.h"
#include "services/AnalyticsService.h"
#include "services/BeaconAnalyticsClient.h"

namespace {

using beacon::test::LoopbackHttpServer;
using beacon::test::SdkHarness;
using beacon::test::uploadedEvents;
using nlohmann::json;
using namespace std::chrono_literals;

/// Environment variables set or cleared for one scope.
class ScopedEnvironment {
public:
    ScopedEnvironment(std::initializer_list<std::pair<const char*, std::optional<QByteArray>>> values)
    {
        for (const auto& [name, value] : values) {
            m_saved.emplace_back(
                name, qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt);
            value ? qputenv(name, *value) : qunsetenv(name);
        }
    }
    ~ScopedEnvironment()
    {
        for (const auto& [name, value] : m_saved)
            value ? qputenv(name, *value) : qunsetenv(name);
    }

private:
    std::vector<std::pair<const char*, std::optional<QByteArray>>> m_saved;
};

class AnalyticsDeliveryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QCoreApplication::setApplicationVersion(QStringLiteral("2.3.1"));
        const QString path = dir.filePath(QStringLiteral("machine-id"));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("0f1e2d3c4b5a69788796a5b4c3d2e1f0\n");
        machineId = path;
    }

    void TearDown() override
    {
        if (sdk->isEnabled()) {
            EXPECT_TRUE(sdk->waitUntilIdleForTesting());
            sdk->close();
        }
    }

    std::unique_ptr<AnalyticsService> makeService(bool doNotTrack)
    {
        return std::make_unique<AnalyticsService>(AnalyticsService::Dependencies { client, prefs, clock,
            MachineIdentity({ machineId }), harness.platform, doNotTrack, server.baseUrl() });
    }
    /// The service over Velto's own view of the desktop, keeping its files in the harness's folder.
    std::unique_ptr<AnalyticsService> makeVeltoService()
    {
        const auto platform = makeAnalyticsPlatform(harness.network, lifecycle);
        platform->folders = harness.platform->folders;
        queueFolder = harness.data.path() / *platform->application.bundleIdentifier / "beacon.queueFolder";
        return std::make_unique<AnalyticsService>(AnalyticsService::Dependencies { client, prefs, clock,
            MachineIdentity({ machineId }), platform, false, server.baseUrl(), harness.clock });
    }

    QTemporaryDir dir;
    QString machineId;
    LoopbackHttpServer server;
    SdkHarness harness;
    std::shared_ptr<beacon::BeaconSDK> sdk = beacon::BeaconSDK::create();
    BeaconAnalyticsClient client { *sdk };
    MemoryPreferences prefs;
    FakeClock clock;
    std::shared_ptr<AnalyticsLifecycleSource> lifecycle = std::make_shared<AnalyticsLifecycleSource>();
    std::filesystem::path queueFolder;
};

TEST_F(AnalyticsDeliveryTest, HeartbeatAndDashboardSectionsArriveUnderTheHashedMachineId)
{
    const auto service = makeService(false);
    service->setup();
    service->trackDashboardOpened(QStringLiteral("Insights"));
    service->trackDashboardOpened(QStringLiteral("settings"));
    ASSERT_TRUE(beacon::test::deliverAll(*sdk, harness.queueFolder()));

    const std::string distinctId = service->deviceIdentifier().toStdString();
    const auto heartbeats = uploadedEvents(server, "app_heartbeat");
    ASSERT_EQ(heartbeats.size(), 1u);
    EXPECT_EQ(heartbeats[0]["distinct_id"], distinctId);
    EXPECT_EQ(heartbeats[0]["properties"]["app"], "velto");
    EXPECT_EQ(heartbeats[0]["properties"]["version"], "2.3.1");
    EXPECT_TRUE(heartbeats[0]["properties"]["os_version"].is_string());

    const auto sections = uploadedEvents(server, "dashboard_opened");
    ASSERT_EQ(sections.size(), 2u);
    EXPECT_EQ(sections[0]["properties"]["section"], "insights");
    EXPECT_EQ(sections[1]["properties"]["section"], "settings");
    for (const json& event : sections)
        EXPECT_EQ(event["distinct_id"], distinctId);

    // The machine id itself never leaves the machine, in any request.
    for (const auto& request : server.requests())
        EXPECT_EQ(request.body.find("0f1e2d3c4b5a6978"), std::string::npos) << request.path;
}

TEST_F(AnalyticsDeliveryTest, DoNotTrackLeavesTheNetworkAndTheDiskAlone)
{
    const auto service = makeService(true);
    service->setup();
    service->trackDashboardOpened(QStringLiteral("tags"));
    service->sendHeartbeatIfNeeded();
    EXPECT_FALSE(sdk->isEnabled());
    EXPECT_EQ(server.requestCount(), 0u);
    EXPECT_FALSE(std::filesystem::exists(harness.storageFolder()));
}

TEST_F(AnalyticsDeliveryTest, SwitchingSharingOffDropsWhatWaitsAndSendsNothingMore)
{
    const auto service = makeService(false);
    service->setup();
    service->trackDashboardOpened(QStringLiteral("insights"));
    ASSERT_GT(harness.queuedFiles(), 0u);

    service->setUserAllowsSharing(false);
    EXPECT_FALSE(sdk->isEnabled());
    EXPECT_EQ(harness.queuedFiles(), 0u);
    service->trackDashboardOpened(QStringLiteral("tags"));
    EXPECT_FALSE(sdk->isEnabled());
    EXPECT_TRUE(uploadedEvents(server).empty());

    // Switched on again, only what comes after goes out.
    service->setUserAllowsSharing(true);
    service->trackDashboardOpened(QStringLiteral("settings"));
    ASSERT_TRUE(beacon::test::deliverAll(*sdk, harness.queueFolder()));
    EXPECT_TRUE(uploadedEvents(server, "app_heartbeat").empty()); // today's was dropped with the rest
    const auto sections = uploadedEvents(server, "dashboard_opened");
    ASSERT_EQ(sections.size(), 1u);
    EXPECT_EQ(sections[0]["properties"]["section"], "settings");
}

TEST_F(AnalyticsDeliveryTest, SessionsFollowTheFocusOfVeltosWindows)
{
    const auto service = makeVeltoService();
    service->setup();
    lifecycle->setApplicationState(Qt::ApplicationActive); // the popover took focus
    harness.clock->advance(31min);
    service->trackDashboardOpened(QStringLiteral("insights"));
    lifecycle->setApplicationState(Qt::ApplicationInactive);
    harness.clock->advance(31min);
    service->trackDashboardOpened(QStringLiteral("tags"));
    lifecycle->setApplicationState(Qt::ApplicationActive);
    service->trackDashboardOpened(QStringLiteral("settings"));
    ASSERT_TRUE(beacon::test::deliverAll(*sdk, queueFolder));

    const auto heartbeats = uploadedEvents(server, "app_heartbeat");
    const auto sections = uploadedEvents(server, "dashboard_opened");
    ASSERT_EQ(heartbeats.size(), 1u);
    ASSERT_EQ(sections.size(), 3u);
    const auto sessionOf = [](const json& event) { return event["properties"].value("$session_id", json()); };
    const json first = sessionOf(heartbeats[0]);
    const json rotated = sessionOf(sections[0]);
    const json next = sessionOf(sections[2]);
    ASSERT_TRUE(first.is_string());
    // In the foreground the session rotates 30 minutes after the activation, and goes on.
    ASSERT_TRUE(rotated.is_string());
    EXPECT_NE(rotated, first);
    // In the background it times out, and the next activation starts a new one.
    EXPECT_EQ(sessionOf(sections[1]), json());
    ASSERT_TRUE(next.is_string());
    EXPECT_NE(next, rotated);
}

TEST_F(AnalyticsDeliveryTest, EventsCarryTheBuildNumberAndALocaleWithoutLang)
{
    const ScopedEnvironment environment { { "LANG", "C" }, { "LC_ALL", std::nullopt },
        { "LC_MESSAGES", std::nullopt } };
    const QLocale toolkitLocale;
    QLocale::setDefault(QLocale(QLocale::Portuguese, QLocale::Brazil));
    const auto service = makeVeltoService();
    service->setup();
    service->trackDashboardOpened(QStringLiteral("insights"));
    ASSERT_TRUE(beacon::test::deliverAll(*sdk, queueFolder));
    ASSERT_EQ(uploadedEvents(server, "dashboard_opened").size(), 1u);
    for (const json& event : uploadedEvents(server)) { // the heartbeat and $identify too
        EXPECT_EQ(event["properties"].value("$app_build", json()), std::stoll(VELTO_BUILD_NUMBER))
            << event["event"];
        EXPECT_EQ(event["properties"].value("$locale", json()), "pt") << event["event"];
    }

    QLocale::setDefault(QLocale::c());
    EXPECT_EQ(toolkitLocaleName(), QStringLiteral("en-US"));
    QLocale::setDefault(toolkitLocale);
}

} // namespace

TEST(AnalyticsPlatformTest, TheClientKeepsItsFilesInVeltosFolderOfTheDataHome)
{
    QTemporaryDir home;
    qputenv("XDG_DATA_HOME", home.path().toUtf8());
    QCoreApplication::setApplicationVersion(QStringLiteral("2.3.1"));
    beacon::BeaconConfig config("key");
    config.platform = makeAnalyticsPlatform(nullptr, nullptr);
    EXPECT_EQ(beacon::BeaconStorage::folderFor(config),
        std::filesystem::path(home.path().toStdString()) / "studio.murv.Velto");
    EXPECT_EQ(config.platform->application.shortVersion, "2.3.1");
    qunsetenv("XDG_DATA_HOME");
}
