#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "FakeClock.h"
#include "MemoryPreferences.h"
#include "RecordingAnalyticsClient.h"
#include "beacon/BeaconConfig.h"
#include "platform/PreferenceValues.h"
#include "services/AnalyticsClient.h"
#include "services/AnalyticsLifecycleSource.h"
#include "services/AnalyticsService.h"

namespace {

class AnalyticsServiceTest : public ::testing::Test {
protected:
    AnalyticsService& service(bool doNotTrack = false)
    {
        if (!m_service)
            m_service = std::make_unique<AnalyticsService>(AnalyticsService::Dependencies {
                client, prefs, clock, MachineIdentity({ machineIdFile() }), nullptr, doNotTrack });
        return *m_service;
    }
    QString machineIdFile()
    {
        const QString path = dir.filePath(QStringLiteral("machine-id"));
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write("4c2e8a1f0b9d4e7a8c6b5d3f2e1a0c9b\n");
        return path;
    }
    void storeHeartbeat(double secondsAgo)
    {
        prefs.setValue(
            QStringLiteral("veltoLastHeartbeat"), clock.now().addSeconds(-secondsAgo).toDateTime());
    }
    int heartbeats() const
    {
        return int(std::count_if(client.captures.begin(), client.captures.end(),
            [](const auto& c) { return c.first == "app_heartbeat"; }));
    }

    QTemporaryDir dir;
    RecordingAnalyticsClient client;
    MemoryPreferences prefs;
    FakeClock clock;
    std::unique_ptr<AnalyticsService> m_service;
};

TEST_F(AnalyticsServiceTest, SetupConfiguresIdentifiesAndSendsTheFirstHeartbeatOnce)
{
    QCoreApplication::setApplicationVersion(QStringLiteral("1.0.0"));
    service().setup();
    service().setup();
    ASSERT_EQ(client.setups.size(), 1u);
    const beacon::BeaconConfig& config = *client.setups.front();
    EXPECT_EQ(config.apiKey, "vlt_Qm7LrT2vXa9KdE4sW8nHb3YpC6uJf1ZgN5oVxRt0iLk");
    EXPECT_TRUE(config.host.starts_with("https://"));
    EXPECT_FALSE(config.captureScreenViews);
    EXPECT_FALSE(config.captureApplicationLifecycleEvents);
    EXPECT_TRUE(config.remoteConfig); // everything else keeps the client's defaults
    EXPECT_EQ(config.flushAt, 20);

    ASSERT_EQ(client.identities.size(), 1u);
    EXPECT_EQ(client.identities.front(), service().deviceIdentifier().toStdString());
    ASSERT_EQ(client.captures.size(), 1u);
    EXPECT_EQ(client.captures.front().first, "app_heartbeat");
    const auto& properties = client.captures.front().second;
    EXPECT_EQ(properties.at("app"), "velto");
    EXPECT_EQ(properties.at("version"), "1.0.0");
    EXPECT_FALSE(properties.at("os_version").empty());
    EXPECT_EQ(properties.size(), 3u);
    EXPECT_EQ(
        PreferenceValues::date(prefs.value(QStringLiteral("veltoLastHeartbeat"))), clock.now().toDateTime());
}

TEST_F(AnalyticsServiceTest, HeartbeatWaitsADayAfterTheStoredDate)
{
    storeHeartbeat(86399);
    service().setup();
    EXPECT_EQ(heartbeats(), 0);

    storeHeartbeat(86400);
    service().sendHeartbeatIfNeeded();
    EXPECT_EQ(heartbeats(), 1);
    EXPECT_EQ(
        PreferenceValues::date(prefs.value(QStringLiteral("veltoLastHeartbeat"))), clock.now().toDateTime());

    // A date in the future (the clock was set back) holds the heartbeat until a day after it.
    storeHeartbeat(-3600);
    clock.advance(std::chrono::hours(24));
    service().sendHeartbeatIfNeeded();
    EXPECT_EQ(heartbeats(), 1);
    clock.advance(std::chrono::hours(1));
    service().sendHeartbeatIfNeeded();
    EXPECT_EQ(heartbeats(), 2);
}

TEST_F(AnalyticsServiceTest, DashboardSectionsAreReportedInLowerCase)
{
    service().setup();
    service().trackDashboardOpened(QStringLiteral("Integrations"));
    const auto& [event, properties] = client.captures.back();
    EXPECT_EQ(event, "dashboard_opened");
    EXPECT_EQ(properties,
        (std::map<std::string, std::string> { { "app", "velto" }, { "section", "integrations" } }));
}

TEST_F(AnalyticsServiceTest, DoNotTrackSendsNothingAtAll)
{
    service(true).setup();
    service().trackDashboardOpened(QStringLiteral("tags"));
    service().sendHeartbeatIfNeeded();
    EXPECT_TRUE(client.setups.empty());
    EXPECT_TRUE(client.identities.empty());
    EXPECT_TRUE(client.captures.empty());
    EXPECT_FALSE(prefs.contains(QStringLiteral("veltoLastHeartbeat")));
}

TEST_F(AnalyticsServiceTest, TheUserSwitchStopsEverythingAndStartsItAgain)
{
    prefs.setValue(QStringLiteral("veltoShareUsageStatistics"), false); // switched off in an earlier run
    service().setup();
    service().trackDashboardOpened(QStringLiteral("tags"));
    EXPECT_FALSE(service().isSharing());
    EXPECT_TRUE(client.setups.empty());
    EXPECT_TRUE(client.captures.empty());

    service().setUserAllowsSharing(true);
    EXPECT_TRUE(service().isInitialized());
    EXPECT_EQ(client.setups.size(), 1u);
    EXPECT_EQ(heartbeats(), 1);
    service().trackDashboardOpened(QStringLiteral("tags"));

    service().setUserAllowsSharing(false);
    EXPECT_FALSE(service().isInitialized());
    EXPECT_EQ(client.closes, 1);
    EXPECT_EQ(prefs.value(QStringLiteral("veltoShareUsageStatistics")), QVariant(false));
    const std::size_t captured = client.captures.size();
    service().trackDashboardOpened(QStringLiteral("insights"));
    service().sendHeartbeatIfNeeded();
    service().setup();
    EXPECT_EQ(client.captures.size(), captured);
    EXPECT_EQ(client.setups.size(), 1u);
    service().setUserAllowsSharing(false);
    EXPECT_EQ(client.closes, 1); // nothing left to close

    service().setUserAllowsSharing(true);
    EXPECT_EQ(client.setups.size(), 2u);
    EXPECT_EQ(heartbeats(), 1); // the day's heartbeat went out already
}

TEST_F(AnalyticsServiceTest, DoNotTrackWinsOverTheUserSwitch)
{
    service(true).setUserAllowsSharing(true);
    EXPECT_FALSE(service().isSharing());
    EXPECT_TRUE(service().userAllowsSharing());
    EXPECT_TRUE(client.setups.empty());
    EXPECT_FALSE(prefs.contains(QStringLiteral("veltoShareUsageStatistics")));
}

TEST(DoNotTrackTest, AnyValueButZeroOrFalseOptsOut)
{
    const std::pair<const char*, bool> cases[] = { { "1", true }, { "true", true }, { "yes", true },
        { "TRUE", true }, { "0", false }, { "false", false }, { "False", false }, { "", false } };
    for (const auto& [value, optOut] : cases) {
        qputenv("DO_NOT_TRACK", value);
        EXPECT_EQ(AnalyticsService::doNotTrackRequested(), optOut) << value;
    }
    qunsetenv("DO_NOT_TRACK");
    EXPECT_FALSE(AnalyticsService::doNotTrackRequested());
}

TEST(AnalyticsLifecycleSourceTest, PassesOnChangesAndTellsANewListenerWhatItMissed)
{
    using Event = beacon::BeaconLifecycleEvent;
    AnalyticsLifecycleSource source;
    std::vector<Event> first;
    std::vector<Event> second;
    source.setApplicationState(Qt::ApplicationActive); // focus before the client was set up
    source.setHandler([&](Event event) { first.push_back(event); });
    source.setApplicationState(Qt::ApplicationActive);
    source.setApplicationState(Qt::ApplicationInactive);
    source.setApplicationState(Qt::ApplicationHidden);
    source.setActive(true);
    EXPECT_EQ(first,
        (std::vector<Event> { Event::didFinishLaunching, Event::didBecomeActive, Event::didResignActive,
            Event::didBecomeActive }));
    source.setHandler([&](Event event) { second.push_back(event); }); // launching is reported once
    source.setHandler(nullptr);
    source.setActive(false);
    EXPECT_EQ(first.size(), 4u);
    EXPECT_EQ(second, std::vector<Event> { Event::didBecomeActive });
}

TEST_F(AnalyticsServiceTest, DeviceIdentifierIsAStableTruncatedHash)
{
    const QString id = service().deviceIdentifier();
    EXPECT_EQ(id.size(), 32);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^[0-9a-f]{32}$")).match(id).hasMatch())
        << id.toStdString();
    EXPECT_EQ(id, service().deviceIdentifier());
    EXPECT_EQ(id, MachineIdentity::hashedIdentifier(QStringLiteral("4c2e8a1f0b9d4e7a8c6b5d3f2e1a0c9b")));
    EXPECT_FALSE(id.contains(QStringLiteral("4c2e8a1f")));
    // SHA-256("abc") starts ba7816bf8f01cfea414140de5dae2223.
    EXPECT_EQ(MachineIdentity::hashedIdentifier(QStringLiteral("abc")),
        QStringLiteral("ba7816bf8f01cfea414140de5dae2223"));

    const MachineIdentity missing({ dir.filePath(QStringLiteral("nothing")) });
    EXPECT_EQ(missing.deviceIdentifier().size(), 32);
    EXPECT_NE(missing.deviceIdentifier(), missing.deviceIdentifier());
}

} // namespace
