// The lifecycle-event integration through the client: launches, updates, activations and
// backgrounding delivered by a lifecycle source the test drives, events checked at the server.
#include "beacon/BeaconAppLifeCycleIntegration.h"

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "CapturedLog.h"
#include "LoopbackHttpServer.h"
#include "ManualLifecycleSource.h"
#include "SdkHarness.h"
#include "beacon/ApplicationLifecyclePublisher.h"
#include "beacon/BeaconConfig.h"
#include "beacon/BeaconLog.h"
#include "beacon/BeaconSDK.h"

namespace {
namespace fs = std::filesystem;
using beacon::BeaconAppLifeCycleIntegration;
using beacon::BeaconConfig;
using beacon::BeaconLifecycleEvent;
using beacon::BeaconSDK;
using beacon::test::CapturedLog;
using beacon::test::LoopbackHttpServer;
using beacon::test::ManualLifecycleSource;
using beacon::test::SdkHarness;
using beacon::test::uploadedEvents;
using nlohmann::json;

constexpr const char* kLifecycleEvents[]
    = { "Application Installed", "Application Updated", "Application Opened", "Application Backgrounded" };

class LifecycleIntegrationTest : public testing::Test {
protected:
    void TearDown() override
    {
        finishClient();
        beacon::setDebugLogEnabled(false);
    }

    /// Lets the running client finish its uploads and stop, as a process would before exiting, so that
    /// nothing it still does is seen by the next client or test.
    void finishClient()
    {
        if (!sdk)
            return;
        EXPECT_TRUE(sdk->waitUntilIdleForTesting());
        if (sdk->isEnabled())
            sdk->close();
        sdk.reset();
    }

    /// Starts a client as a new process would, for an application of `version` and `build`.
    void launch(
        const std::optional<std::string>& version = "1.2.0", const std::optional<std::string>& build = "42")
    {
        harness.platform->application.shortVersion = version;
        harness.platform->application.build = build;
        finishClient();
        sdk = BeaconSDK::create();
        auto config = harness.makeConfig(server.baseUrl());
        config->captureApplicationLifecycleEvents = true;
        sdk->setup(config);
        harness.lifecycle->send(BeaconLifecycleEvent::didFinishLaunching);
    }

    void send(BeaconLifecycleEvent event) { harness.lifecycle->send(event); }

    /// The lifecycle events uploaded so far, in order (the server keeps all of them).
    std::vector<json> lifecycleEvents()
    {
        EXPECT_TRUE(beacon::test::deliverAll(*sdk, harness.queueFolder()));
        std::vector<json> events;
        for (json& event : uploadedEvents(server)) {
            for (const char* name : kLifecycleEvents) {
                if (event["event"] == name)
                    events.push_back(std::move(event));
            }
        }
        return events;
    }

    /// Just the properties the integration adds (the context has `$`-prefixed keys only).
    static json ownProperties(const json& event)
    {
        json own = json::object();
        for (const auto& [key, value] : event["properties"].items()) {
            if (!key.starts_with("$"))
                own[key] = value;
        }
        return own;
    }

    LoopbackHttpServer server;
    SdkHarness harness;
    std::shared_ptr<BeaconSDK> sdk;
};

TEST_F(LifecycleIntegrationTest, AFirstLaunchIsAnInstallThenOpensComeBackFromTheBackground)
{
    launch();
    send(BeaconLifecycleEvent::didBecomeActive);
    send(BeaconLifecycleEvent::didResignActive);
    send(BeaconLifecycleEvent::didBecomeActive);

    const auto events = lifecycleEvents();
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events[0]["event"], "Application Installed");
    EXPECT_EQ(ownProperties(events[0]), (json { { "version", "1.2.0" }, { "build", 42 } }));
    EXPECT_TRUE(events[0]["properties"]["build"].is_number_integer()) << "a whole number goes out as one";
    EXPECT_EQ(events[1]["event"], "Application Opened");
    EXPECT_EQ(ownProperties(events[1]),
        (json { { "from_background", false }, { "version", "1.2.0" }, { "build", 42 } }));
    EXPECT_EQ(events[2]["event"], "Application Backgrounded");
    EXPECT_EQ(ownProperties(events[2]), json::object());
    EXPECT_EQ(events[3]["event"], "Application Opened");
    EXPECT_EQ(ownProperties(events[3]), (json { { "from_background", true } }));
}

TEST_F(LifecycleIntegrationTest, ALaunchAfterABuildChangeIsAnUpdateAndTheSameBuildIsNothing)
{
    launch("1.2.0", "42");
    launch("1.3.0", "43");
    launch("1.3.0", "43");

    const auto events = lifecycleEvents();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0]["event"], "Application Installed");
    EXPECT_EQ(events[1]["event"], "Application Updated");
    EXPECT_EQ(ownProperties(events[1]),
        (json { { "version", "1.3.0" }, { "build", 43 }, { "previous_version", "1.2.0" },
            { "previous_build", 42 } }));

    std::ifstream file(harness.storageFolder() / BeaconAppLifeCycleIntegration::preferencesFileName);
    EXPECT_EQ(json::parse(file, nullptr, false),
        (json { { "BCNVersionKey", "1.3.0" }, { "BCNBuildKeyV2", "43" } }));
}

TEST_F(LifecycleIntegrationTest, ABuildThatIsNotAWholeNumberGoesOutAsText)
{
    launch("1.0.0", "1.0.0-rc1");
    launch("1.0.1", "+7");
    const auto events = lifecycleEvents();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0]["properties"]["build"], "1.0.0-rc1");
    EXPECT_EQ(events[1]["properties"]["build"], 7);
    EXPECT_EQ(events[1]["properties"]["previous_build"], "1.0.0-rc1");
}

TEST_F(LifecycleIntegrationTest, AnApplicationWithoutABuildIsInstalledOnceAndItsFirstBuildIsAnUpdate)
{
    launch("1.0.0", std::nullopt);
    launch("1.0.0", std::nullopt);
    launch("1.1.0", "43");
    const auto events = lifecycleEvents();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0]["event"], "Application Installed");
    EXPECT_EQ(ownProperties(events[0]), (json { { "version", "1.0.0" } }));
    EXPECT_EQ(events[1]["event"], "Application Updated");
    EXPECT_EQ(ownProperties(events[1]),
        (json { { "version", "1.1.0" }, { "build", 43 }, { "previous_version", "1.0.0" } }))
        << "there was no previous build to name";
}

TEST_F(LifecycleIntegrationTest, AnApplicationWithoutAVersionHasNoPreviousVersionAfterAnUpdate)
{
    launch(std::nullopt, "42");
    {
        std::ifstream file(harness.storageFolder() / BeaconAppLifeCycleIntegration::preferencesFileName);
        EXPECT_EQ(json::parse(file, nullptr, false), (json { { "BCNBuildKeyV2", "42" } }));
    }
    launch("1.3.0", "43");
    const auto events = lifecycleEvents();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(ownProperties(events[0]), (json { { "build", 42 } }));
    EXPECT_EQ(events[1]["event"], "Application Updated");
    EXPECT_EQ(ownProperties(events[1]),
        (json { { "version", "1.3.0" }, { "build", 43 }, { "previous_build", 42 } }));
}

TEST_F(LifecycleIntegrationTest, TwoActivationsInARowOpenOnceAndABackgroundingInTheBackgroundIsNothing)
{
    launch();
    send(BeaconLifecycleEvent::didResignActive); // still in the background since launch: nothing
    send(BeaconLifecycleEvent::didBecomeActive);
    {
        CapturedLog log;
        send(BeaconLifecycleEvent::didBecomeActive);
        EXPECT_EQ(log.lines(),
            std::vector<std::string> {
                "[Beacon] Skipping Application Opened event - app already in foreground" });
    }
    const auto events = lifecycleEvents();
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[1]["event"], "Application Opened");
}

TEST_F(LifecycleIntegrationTest, NothingIsRecordedOnceUninstalledByOptOut)
{
    launch();
    sdk->optOut();
    sdk->optIn();
    sdk->optOut();
    send(BeaconLifecycleEvent::didBecomeActive);
    sdk->optIn();
    EXPECT_EQ(lifecycleEvents().size(), 1u) << "only the install at launch";
}

// Installed by hand into a client whose configuration does not ask for lifecycle events.
TEST_F(LifecycleIntegrationTest, WithCapturingOffEachRuleOnlyLogsWhyItSkipped)
{
    auto source = std::make_shared<ManualLifecycleSource>();
    beacon::ApplicationLifecyclePublisher publisher(source);
    sdk = BeaconSDK::create();
    sdk->setup(harness.makeConfig(server.baseUrl()));
    const auto integration = BeaconAppLifeCycleIntegration::create(&publisher);
    ASSERT_EQ(integration->install(sdk), std::nullopt);
    {
        CapturedLog log;
        source->send(BeaconLifecycleEvent::didFinishLaunching);
        source->send(BeaconLifecycleEvent::didBecomeActive);
        source->send(BeaconLifecycleEvent::didResignActive);
        // The client's own queue may report a flush meanwhile, from its threads.
        std::vector<std::string> lines = log.lines();
        std::erase_if(
            lines, [](const std::string& line) { return line.find("Skipping") == std::string::npos; });
        EXPECT_EQ(lines,
            (std::vector<std::string> { "[Beacon] Skipping Application Installed/Application Updated event - "
                                        "captureApplicationLifecycleEvents "
                                        "is disabled in configuration",
                "[Beacon] Skipping Application Opened event - captureApplicationLifecycleEvents is disabled "
                "in "
                "configuration",
                "[Beacon] Skipping Application Backgrounded event - captureApplicationLifecycleEvents is "
                "disabled in "
                "configuration" }));
    }
    EXPECT_TRUE(lifecycleEvents().empty());
    EXPECT_FALSE(fs::exists(harness.storageFolder() / BeaconAppLifeCycleIntegration::preferencesFileName));
    integration->uninstall(*sdk);
}

TEST_F(LifecycleIntegrationTest, OneIntegrationServesOneClientAndOneClientAtATimeHasOne)
{
    auto source = std::make_shared<ManualLifecycleSource>();
    beacon::ApplicationLifecyclePublisher publisher(source);
    sdk = BeaconSDK::create();
    sdk->setup(harness.makeConfig(server.baseUrl()));
    SdkHarness elsewhere;
    auto other = BeaconSDK::create();
    other->setup(elsewhere.makeConfig(server.baseUrl(), "other-key"));

    const auto integration = BeaconAppLifeCycleIntegration::create(&publisher);
    ASSERT_EQ(integration->install(sdk), std::nullopt);
    const std::string refusal = "App life cycle integration already installed to another BeaconSDK instance.";
    EXPECT_EQ(integration->install(other), refusal);
    const auto second = BeaconAppLifeCycleIntegration::create(&publisher);
    EXPECT_EQ(second->install(other), refusal) << "lifecycle events are the whole process's";

    integration->uninstall(*other); // not its client: nothing happens
    EXPECT_EQ(second->install(other), refusal);
    integration->uninstall(*sdk);
    EXPECT_EQ(second->install(other), std::nullopt);
    second->uninstall(*other);
    other->close();
}

} // namespace
