// The update manager over the real updater: the stored switches and what the user hears from
// checks against a feed on the loopback interface.
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "UpdateFeedServer.h"

namespace {

using beacon::test::CannedResponse;
using beacon::test::RefusingPort;
using Outcome = UpdateCheckResult::Outcome;
using Failure = UpdateCheckResult::Failure;
using namespace std::chrono_literals;

const QString automaticallyUpdate = QStringLiteral("SUAutomaticallyUpdate");

class UpdateManagerTest : public UpdateFeedTest { };

TEST_F(UpdateManagerTest, FirstRunStoresTheKeyAndSwitchesBothOnThenChecksQuietly)
{
    serveVersion("1.0.0");
    UpdateManager manager(prefs, clock, settings());
    QSignalSpy userResults(&manager, &UpdateManager::checkForUpdatesFinished);
    QSignalSpy found(&manager, &UpdateManager::updateFound);

    EXPECT_EQ(prefs.value(automaticallyUpdate), QVariant(true));
    EXPECT_TRUE(manager.automaticallyChecksForUpdates());
    EXPECT_TRUE(manager.updater().automaticallyChecksForUpdates());
    EXPECT_TRUE(manager.updater().automaticallyDownloadsUpdates());
    EXPECT_TRUE(manager.canCheckForUpdates());

    // Never checked before: the first scheduled check follows at once, and an up-to-date answer is not shown.
    QList<bool> canCheck;
    QObject::connect(&manager, &UpdateManager::canCheckForUpdatesChanged,
        [&] { canCheck.append(manager.canCheckForUpdates()); });
    ASSERT_TRUE(QTest::qWaitFor([&] { return canCheck.size() >= 2; }, generousWaitMs));
    EXPECT_EQ(canCheck, (QList<bool> { false, true }));
    EXPECT_EQ(server.requestCount(), 1u);
    EXPECT_EQ(prefs.value(QStringLiteral("SULastCheckTime")), QVariant(clock.now().toDateTime()));
    EXPECT_EQ(userResults.count(), 0);
    EXPECT_EQ(found.count(), 0);
}

TEST_F(UpdateManagerTest, LaterRunsKeepTheStoredChoice)
{
    prefs.setValue(automaticallyUpdate, false);
    {
        UpdateManager manager(prefs, clock, settings());
        EXPECT_FALSE(manager.automaticallyChecksForUpdates());
        EXPECT_FALSE(manager.updater().automaticallyDownloadsUpdates());
    }
    EXPECT_EQ(prefs.value(automaticallyUpdate), QVariant(false));
    EXPECT_EQ(prefs.writes(automaticallyUpdate), 1); // only the one above

    MemoryPreferences switchedOff;
    {
        UpdateManager firstRun(switchedOff, clock, settings());
        firstRun.toggleAutomaticUpdates();
    }
    UpdateManager restarted(switchedOff, clock, settings());
    EXPECT_FALSE(restarted.automaticallyChecksForUpdates());
    EXPECT_FALSE(restarted.updater().automaticallyDownloadsUpdates());
}

TEST_F(UpdateManagerTest, TogglingTwiceRestoresTheSwitchesAndTheKey)
{
    for (const bool stored : { true, false }) {
        MemoryPreferences preferences(QVariantMap { { automaticallyUpdate, stored } });
        UpdateManager manager(preferences, clock, settings());
        QSignalSpy changed(&manager, &UpdateManager::automaticallyChecksForUpdatesChanged);

        manager.toggleAutomaticUpdates();
        EXPECT_EQ(manager.automaticallyChecksForUpdates(), !stored);
        EXPECT_EQ(manager.updater().automaticallyChecksForUpdates(), !stored);
        EXPECT_EQ(manager.updater().automaticallyDownloadsUpdates(), !stored);
        EXPECT_EQ(preferences.value(automaticallyUpdate), QVariant(!stored));

        manager.toggleAutomaticUpdates();
        EXPECT_EQ(manager.automaticallyChecksForUpdates(), stored);
        EXPECT_EQ(manager.updater().automaticallyChecksForUpdates(), stored);
        EXPECT_EQ(manager.updater().automaticallyDownloadsUpdates(), stored);
        EXPECT_EQ(preferences.value(automaticallyUpdate), QVariant(stored));
        EXPECT_EQ(changed.count(), 2);
    }
}

struct FeedCase {
    const char* name;
    CannedResponse response;
    bool serverRuns = true;
    Outcome outcome;
    Failure failure = Failure::None;
    QString latestVersion = {};
    const char* message = nullptr;
};

void PrintTo(const FeedCase& feedCase, std::ostream* out)
{
    *out << feedCase.name;
}

class UserCheckTest : public UpdateManagerTest, public ::testing::WithParamInterface<FeedCase> { };

TEST_P(UserCheckTest, TellsTheOutcome)
{
    const FeedCase& feedCase = GetParam();
    serve(feedCase.response);
    prefs.setValue(automaticallyUpdate, false); // no scheduled check in the way
    RefusingPort refusing;
    UpdaterSettings checked = settings();
    if (!feedCase.serverRuns)
        checked.feedUrl = QUrl(QString::fromStdString(refusing.baseUrl() + "/appcast.xml"));
    UpdateManager manager(prefs, clock, checked);
    QSignalSpy results(&manager, &UpdateManager::checkForUpdatesFinished);

    manager.checkForUpdates();
    EXPECT_FALSE(manager.canCheckForUpdates());
    ASSERT_TRUE(results.wait(generousWaitMs));
    EXPECT_TRUE(manager.canCheckForUpdates());

    const UpdateCheckResult result = resultOf(results);
    EXPECT_EQ(result.outcome(), feedCase.outcome);
    EXPECT_EQ(result.failure(), feedCase.failure);
    EXPECT_EQ(result.latestVersion(), feedCase.latestVersion);
    EXPECT_FALSE(result.title().isEmpty());
    if (feedCase.outcome == Outcome::UpdateAvailable) {
        EXPECT_EQ(result.downloadPage(), QUrl("https://murv.studio/velto/" + feedCase.latestVersion));
        EXPECT_TRUE(result.message().contains(feedCase.latestVersion));
    } else {
        EXPECT_TRUE(result.downloadPage().isEmpty());
    }
    if (feedCase.outcome == Outcome::UpToDate) {
        EXPECT_TRUE(result.message().contains(QStringLiteral("1.0.0")));
    }
    if (feedCase.message) {
        EXPECT_EQ(result.message(), feedCase.message);
    }
}

CannedResponse feedNaming(const std::string& version)
{
    return { .status = 200, .body = appcastNaming(version) };
}

INSTANTIATE_TEST_SUITE_P(Feeds, UserCheckTest,
    ::testing::Values(
        FeedCase { "Newer", feedNaming("1.2.0"), true, Outcome::UpdateAvailable, Failure::None, "1.2.0" },
        FeedCase { "Same", feedNaming("1.0"), true, Outcome::UpToDate, Failure::None, "1.0" },
        FeedCase { "Older", feedNaming("0.9.5"), true, Outcome::UpToDate, Failure::None, "0.9.5" },
        FeedCase { "NotXml", { .status = 200, .body = "{\"version\": \"2.0.0\"}" }, true, Outcome::Failed,
            Failure::Unreadable, {}, "The update information is not readable." },
        FeedCase {
            "NotFound", { .status = 404, .body = "<rss/>" }, true, Outcome::Failed, Failure::ServerError },
        FeedCase { "NoServer", {}, false, Outcome::Failed, Failure::Unreachable, {},
            "The update server could not be reached." }),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(UpdateManagerTest, SlowServerLeavesTheEventLoopRunningAndTimesOut)
{
    serve({ .neverAnswer = true });
    prefs.setValue(automaticallyUpdate, false);
    UpdateManager manager(prefs, clock, settings());
    QSignalSpy results(&manager, &UpdateManager::checkForUpdatesFinished);

    manager.checkForUpdates();
    ASSERT_TRUE(server.waitForRequests(1));
    // The request is open on the server; timers still fire.
    QTimer tick;
    QSignalSpy ticks(&tick, &QTimer::timeout);
    tick.start(0);
    ASSERT_TRUE(ticks.wait(generousWaitMs));
    EXPECT_EQ(results.count(), 0);
    EXPECT_FALSE(manager.canCheckForUpdates());
    // The server records a request just before it starts holding it, so release until it lets go.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            server.releaseHeldRequests();
            return !results.isEmpty();
        },
        generousWaitMs));
    EXPECT_EQ(resultOf(results).failure(), Failure::ServerError); // held requests end in a 503

    // A server that never answers ends in the total timeout, not in a hang.
    UpdaterSettings impatient = settings();
    impatient.limits.totalTimeout = 200ms;
    UpdateManager second(prefs, clock, impatient);
    QSignalSpy timedOut(&second, &UpdateManager::checkForUpdatesFinished);
    second.checkForUpdates();
    ASSERT_TRUE(timedOut.wait(generousWaitMs));
    EXPECT_EQ(resultOf(timedOut).failure(), Failure::TimedOut);
    server.releaseHeldRequests();
}

TEST_F(UpdateManagerTest, GoingAwayDuringACheckStopsItAtOnce)
{
    serve({ .neverAnswer = true });
    prefs.setValue(automaticallyUpdate, false);
    auto manager = std::make_unique<UpdateManager>(prefs, clock, settings());
    manager->checkForUpdates();
    ASSERT_TRUE(server.waitForRequests(1));
    const auto started = std::chrono::steady_clock::now();
    manager.reset();
    // Without cancelling, the worker would wait for the 30-second transfer limit.
    EXPECT_LT(std::chrono::steady_clock::now() - started, 10s);
    server.releaseHeldRequests();
}

TEST_F(UpdateManagerTest, ScheduledChecksRunOnceADayAndAnnounceOnlyANewerVersion)
{
    serveVersion("1.1.0");
    prefs.setValue(automaticallyUpdate, true);
    prefs.setValue(QStringLiteral("SUEnableAutomaticChecks"), true);
    prefs.setValue(QStringLiteral("SULastCheckTime"), clock.now().addSeconds(-2 * 3600).toDateTime());
    UpdaterSettings often = settings();
    often.scheduleTick = 10ms;
    UpdateManager manager(prefs, clock, often);
    QSignalSpy found(&manager, &UpdateManager::updateFound);
    QSignalSpy userResults(&manager, &UpdateManager::checkForUpdatesFinished);

    // Checked two hours ago, before a restart: not yet.
    EXPECT_FALSE(found.wait(300));
    EXPECT_EQ(server.requestCount(), 0u);

    clock.advance(22h);
    ASSERT_TRUE(found.wait(generousWaitMs));
    const UpdateCheckResult result = resultOf(found);
    EXPECT_EQ(result.latestVersion(), "1.1.0");
    EXPECT_EQ(result.downloadPage(), QUrl("https://murv.studio/velto/1.1.0"));
    EXPECT_EQ(userResults.count(), 0);

    // Once a day: the next ticks find the check just made.
    EXPECT_FALSE(found.wait(300));
    EXPECT_EQ(server.requestCount(), 1u);

    // Switched off, nothing is checked however long it has been.
    manager.toggleAutomaticUpdates();
    clock.advance(72h);
    EXPECT_FALSE(found.wait(300));
    EXPECT_EQ(server.requestCount(), 1u);

    // A last check "in the future" means the clock was set back: check rather than wait for it.
    manager.toggleAutomaticUpdates();
    prefs.setValue(QStringLiteral("SULastCheckTime"), clock.now().addSeconds(30 * 86400).toDateTime());
    ASSERT_TRUE(found.wait(generousWaitMs));
    EXPECT_EQ(server.requestCount(), 2u);
}

} // namespace
