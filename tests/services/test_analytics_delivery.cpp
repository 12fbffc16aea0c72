// The usage analytics service over the real analytics client and Velto's view of the desktop, delivering to an HTTP server on the
// loopback interface: what leaves the machine, and that nothing does under DO_NOT_TRACK.
#include <QCoreApplication>
#include <QFile>
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
#include "services/AnalyticsPlatform.h"
#include "services/AnalyticsService.h"
#include "services/BeaconAnalyticsClient.h"

namespace {

using beacon::test::LoopbackHttpServer;
using beacon::test::SdkHarness;
using beacon::test::uploadedEvents;
using nlohmann::json;

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
        return std::make_unique<AnalyticsService>(AnalyticsService::Dependencies {
            client, prefs, clock, MachineIdentity({ machineId }), harness.platform, doNotTrack, server.baseUrl() });
    }

    QTemporaryDir dir;
    QString machineId;
    LoopbackHttpServer server;
    SdkHarness harness;
    std::shared_ptr<beacon::BeaconSDK> sdk = beacon::BeaconSDK::create();
    BeaconAnalyticsClient client { *sdk };
    MemoryPreferences prefs;
    FakeClock clock;
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

} // namespace

TEST(AnalyticsPlatformTest, TheClientKeepsItsFilesInVeltosFolderOfTheDataHome)
{
    QTemporaryDir home;
    qputenv("XDG_DATA_HOME", home.path().toUtf8());
    QCoreApplication::setApplicationVersion(QStringLiteral("2.3.1"));
    beacon::BeaconConfig config("key");
    config.platform = makeAnalyticsPlatform(nullptr);
    EXPECT_EQ(beacon::BeaconStorage::folderFor(config),
        std::filesystem::path(home.path().toStdString()) / "studio.murv.Velto");
    EXPECT_EQ(config.platform->application.shortVersion, "2.3.1");
    qunsetenv("XDG_DATA_HOME");
}
