// The event queue's flush policy against a real HTTP server on the loopback interface and a real
// queue folder. Time for back-off comes from a manual clock; nothing here sleeps to wait it out.
#include "beacon/BeaconQueue.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <ctime>
#include <fstream>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "CapturedLog.h"
#include "LoopbackHttpServer.h"
#include "ManualClock.h"
#include "ManualNetworkStateSource.h"
#include "TemporaryDirectory.h"
#include "UploadHelpers.h"
#include "beacon/BeaconApi.h"
#include "beacon/BeaconConfig.h"
#include "beacon/BeaconEvent.h"
#include "beacon/BeaconSerialQueue.h"
#include "beacon/Reachability.h"
#include "beacon/TimeBasedEpochGenerator.h"

namespace {
namespace fs = std::filesystem;
using beacon::BeaconApi;
using beacon::BeaconApiEndpoint;
using beacon::BeaconConfig;
using beacon::BeaconEvent;
using beacon::BeaconQueue;
using beacon::BeaconSerialQueue;
using beacon::Reachability;
using beacon::ReachabilityFlag;
using beacon::ReachabilityFlags;
using beacon::test::CannedResponse;
using beacon::test::CapturedLog;
using beacon::test::indexesByThread;
using beacon::test::indexesOf;
using beacon::test::LoopbackHttpServer;
using beacon::test::ManualClock;
using beacon::test::ManualNetworkStateSource;
using beacon::test::range;
using beacon::test::RecordedRequest;
using beacon::test::RefusingPort;
using beacon::test::TemporaryDirectory;
using beacon::test::utcText;
using nlohmann::json;
using namespace std::chrono_literals;

BeaconEvent makeEvent(int index, int thread = 0, std::string padding = {})
{
    json properties = { { "index", index }, { "thread", thread } };
    if (!padding.empty())
        properties["padding"] = std::move(padding);
    return BeaconEvent("tick", "user-1", std::move(properties),
        std::chrono::system_clock::time_point(1'700'000'000s),
        beacon::TimeBasedEpochGenerator::shared().timeOrderedUuid());
}

std::size_t filesIn(const fs::path& folder)
{
    std::error_code error;
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(folder, error), fs::directory_iterator()));
}

void writeRaw(const fs::path& path, const std::string& content)
{
    std::ofstream(path, std::ios::binary) << content;
}

/// The events of one upload, as the server decoded them.
std::vector<json> eventsOf(const RecordedRequest& request)
{
    const json body = json::parse(request.body, nullptr, false);
    if (body.is_array())
        return body.get<std::vector<json>>();
    if (body.is_object() && body.contains("batch"))
        return body["batch"].get<std::vector<json>>();
    ADD_FAILURE() << "not an upload body: " << request.body.substr(0, 200);
    return {};
}

std::size_t countLines(const std::vector<std::string>& lines, const std::string& line)
{
    return static_cast<std::size_t>(std::count(lines.begin(), lines.end(), line));
}

class BeaconQueueTest : public testing::Test {
protected:
    TemporaryDirectory temporary;
    fs::path folder = temporary.path() / "beacon.queueFolder";
    // 2023-11-14 22:13:20 UTC, standing still: every add happens in the same instant.
    std::shared_ptr<ManualClock> clock = std::make_shared<ManualClock>();
    LoopbackHttpServer server;
    std::shared_ptr<BeaconConfig> config = configFor(server.baseUrl());
    std::shared_ptr<BeaconApi> api = std::make_shared<BeaconApi>(config);

    std::shared_ptr<BeaconConfig> configFor(const std::string& host)
    {
        auto made = std::make_shared<BeaconConfig>("test-key", host);
        made->urlSessionConfiguration = beacon::BeaconUrlSessionConfiguration { 5.0 };
        made->clock = clock;
        return made;
    }

    std::unique_ptr<BeaconQueue> makeQueue(BeaconApiEndpoint endpoint = BeaconApiEndpoint::batch,
        std::shared_ptr<Reachability> reachability = nullptr,
        const std::optional<fs::path>& oldQueue = std::nullopt)
    {
        return std::make_unique<BeaconQueue>(
            config, api, endpoint, folder, oldQueue, std::move(reachability));
    }

    void flushAndWait(BeaconQueue& queue)
    {
        queue.flush();
        ASSERT_TRUE(queue.waitUntilIdleForTesting());
    }

    /// Flushes until the queue is empty, with a bound in case it never empties.
    void drain(BeaconQueue& queue)
    {
        for (int round = 0; round < 100 && queue.depth() > 0; ++round)
            flushAndWait(queue);
        EXPECT_EQ(queue.depth(), 0u);
    }

    /// Answers the held upload (503, a final answer) and waits for the queue to take it in. Released
    /// again until then: a release that comes before the server starts holding does not count.
    void releaseUntilIdle(BeaconQueue& queue)
    {
        for (int attempt = 0; attempt < 400; ++attempt) {
            server.releaseHeldRequests();
            if (queue.waitUntilIdleForTesting(50ms))
                return;
        }
        FAIL() << "the held upload was never answered";
    }

    std::vector<RecordedRequest> uploads() const { return server.requests(); }

    std::vector<int> sentIndexes() const
    {
        std::vector<int> all;
        for (const RecordedRequest& request : uploads()) {
            const auto indexes = indexesOf(eventsOf(request));
            all.insert(all.end(), indexes.begin(), indexes.end());
        }
        return all;
    }
};

// --- batches --------------------------------------------------------------------------------

TEST_F(BeaconQueueTest, EveryEventArrivesOnceInOrderInGzippedBatchesOfAtMostFifty)
{
    config->flushAt = 1000;
    auto queue = makeQueue();
    for (int i = 0; i < 120; ++i)
        queue->add(makeEvent(i)); // all in the same instant: no file may overwrite another
    EXPECT_EQ(queue->depth(), 120u);
    EXPECT_EQ(filesIn(folder), 120u);

    CapturedLog log;
    for (int i = 0; i < 3; ++i)
        flushAndWait(*queue);
    const auto lines = log.lines();

    const auto requests = uploads();
    ASSERT_EQ(requests.size(), 3u);
    std::vector<std::size_t> sizes;
    for (const RecordedRequest& request : requests) {
        EXPECT_EQ(request.path, "/batch");
        EXPECT_EQ(request.header("Content-Encoding"), "gzip");
        const json body = json::parse(request.body);
        EXPECT_EQ(body["api_key"], "test-key");
        EXPECT_TRUE(body["batch"].is_array());
        EXPECT_TRUE(body["sent_at"].is_string());
        EXPECT_EQ(body.size(), 3u);
        sizes.push_back(body["batch"].size());
    }
    EXPECT_EQ(sizes, (std::vector<std::size_t> { 50, 50, 20 }));
    EXPECT_EQ(sentIndexes(), range(0, 120));
    const json first = eventsOf(requests[0])[0];
    EXPECT_EQ(first["event"], "tick");
    EXPECT_EQ(first["distinct_id"], "user-1");
    EXPECT_EQ(first["timestamp"], "2023-11-14T22:13:20.000Z");

    EXPECT_EQ(queue->depth(), 0u);
    EXPECT_EQ(filesIn(folder), 0u);
    EXPECT_EQ(countLines(lines, "[Beacon] Sending batch of 50 events to Beacon"), 2u);
    EXPECT_EQ(countLines(lines, "[Beacon] Sending batch of 20 events to Beacon"), 1u);
    EXPECT_EQ(countLines(lines, "[Beacon] Completed!"), 3u);
}

TEST_F(BeaconQueueTest, TheTwentiethAddFlushesTheNineteenthDoesNot)
{
    auto queue = makeQueue(); // flushAt 20 by default
    for (int i = 0; i < 19; ++i)
        queue->add(makeEvent(i));
    ASSERT_TRUE(queue->waitUntilIdleForTesting());
    EXPECT_EQ(server.requestCount(), 0u);
    EXPECT_EQ(queue->depth(), 19u);

    CapturedLog log;
    queue->add(makeEvent(19));
    ASSERT_TRUE(queue->waitUntilIdleForTesting());
    EXPECT_TRUE(log.contains("Queued event 'tick'. Depth: 20"));
    EXPECT_EQ(server.requestCount(), 1u);
    EXPECT_EQ(sentIndexes(), range(0, 20));
    EXPECT_EQ(queue->depth(), 0u);
}

TEST_F(BeaconQueueTest, TheSnapshotQueueUploadsToTheSnapshotEndpoint)
{
    config->flushAt = 1000;
    auto queue = makeQueue(BeaconApiEndpoint::snapshot);
    queue->add(makeEvent(0));
    queue->add(makeEvent(1));
    flushAndWait(*queue);
    const auto requests = uploads();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].path, "/s/");
    const auto events = eventsOf(requests[0]);
    EXPECT_EQ(indexesOf(events), range(0, 2));
    for (const json& event : events)
        EXPECT_EQ(event["api_key"], "test-key");
}

// --- the retry rule ---------------------------------------------------------------------------

class FinalAnswerTest : public BeaconQueueTest, public testing::WithParamInterface<int> { };

TEST_P(FinalAnswerTest, DeletesTheBatchWithoutBackingOff)
{
    server.setResponse("/batch", CannedResponse { GetParam(), R"({"error":"no"})" });
    config->flushAt = 1000;
    auto queue = makeQueue();
    for (int i = 0; i < 3; ++i)
        queue->add(makeEvent(i));
    CapturedLog log;
    flushAndWait(*queue);
    EXPECT_EQ(server.requestCount(), 1u);
    EXPECT_EQ(queue->depth(), 0u);
    EXPECT_EQ(filesIn(folder), 0u);
    EXPECT_TRUE(queue->canFlush()) << "no back-off after a final answer";
    EXPECT_TRUE(log.contains("[Beacon] Completed!"));
    EXPECT_FALSE(log.contains("Pausing queue consumption"));
}

INSTANTIATE_TEST_SUITE_P(Statuses, FinalAnswerTest, testing::Values(200, 204, 400, 401, 413, 500, 503));

class RedirectTest : public BeaconQueueTest, public testing::WithParamInterface<int> { };

TEST_P(RedirectTest, KeepsTheBatchAndBacksOff)
{
    server.setResponse("/batch", CannedResponse { GetParam(), "" });
    config->flushAt = 1000;
    auto queue = makeQueue();
    queue->add(makeEvent(0));
    CapturedLog log;
    flushAndWait(*queue);
    EXPECT_EQ(queue->depth(), 1u);
    EXPECT_TRUE(log.contains("Pausing queue consumption for 5.0 seconds due to 1.0 API failure(s)."));
}

INSTANTIATE_TEST_SUITE_P(Statuses, RedirectTest, testing::Values(301, 302, 307, 308));

TEST_F(BeaconQueueTest, FailuresBackOffInFiveSecondStepsUpToThirtyAndASuccessResetsTheDelay)
{
    server.setResponse("/batch", CannedResponse { 301, "" });
    config->flushAt = 1000;
    auto queue = makeQueue();
    queue->add(makeEvent(0));
    queue->add(makeEvent(1));

    const std::vector<std::string> delays = { "5.0", "10.0", "15.0", "20.0", "25.0", "30.0", "30.0" };
    for (std::size_t failure = 1; failure <= delays.size(); ++failure) {
        SCOPED_TRACE("failure " + std::to_string(failure));
        {
            CapturedLog log;
            flushAndWait(*queue);
            EXPECT_EQ(log.lines(),
                (std::vector<std::string> { "[Beacon] Sending batch of 2 events to Beacon",
                    "[Beacon] Error sending events to batch API: status: 301, body: nil.",
                    "[Beacon] Pausing queue consumption for " + delays[failure - 1] + " seconds due to "
                        + std::to_string(failure) + ".0 API failure(s)." }));
        }
        EXPECT_EQ(queue->depth(), 2u) << "the batch stays";
        EXPECT_EQ(server.requestCount(), failure);

        const auto delay = std::chrono::seconds(std::stoi(delays[failure - 1]));
        const auto deadline = clock->now() + delay;
        clock->advance(delay - 1ms);
        {
            CapturedLog log;
            queue->flush(); // refused while backing off
            EXPECT_EQ(log.lines(),
                std::vector<std::string> {
                    "[Beacon] The queue is paused until `" + utcText(deadline) + "`" });
        }
        ASSERT_TRUE(queue->waitUntilIdleForTesting());
        EXPECT_EQ(server.requestCount(), failure) << "nothing sent while backing off";
        clock->advance(1ms);
        EXPECT_TRUE(queue->canFlush());
    }

    server.setResponse("/batch", CannedResponse { 200 });
    flushAndWait(*queue);
    EXPECT_EQ(queue->depth(), 0u);
    EXPECT_EQ(sentIndexes().size(), 2u * 8);

    server.setResponse("/batch", CannedResponse { 301, "" });
    queue->add(makeEvent(2));
    CapturedLog log;
    flushAndWait(*queue);
    EXPECT_TRUE(log.contains("Pausing queue consumption for 5.0 seconds due to 1.0 API failure(s)."))
        << "the success started the count again";
}

TEST_F(BeaconQueueTest, ThePauseLineShowsTheDeadline)
{
    server.setResponse("/batch", CannedResponse { 301, "" });
    config->flushAt = 1000;
    auto queue = makeQueue();
    queue->add(makeEvent(0));
    flushAndWait(*queue);
    CapturedLog log;
    EXPECT_FALSE(queue->canFlush());
    EXPECT_EQ(log.lines(),
        std::vector<std::string> { "[Beacon] The queue is paused until `2023-11-14 22:13:25 +0000`" });
}

TEST_F(BeaconQueueTest, AServerThatCannotBeReachedKeepsTheBatchAndBacksOff)
{
    RefusingPort refusing;
    config = configFor(refusing.baseUrl());
    api = std::make_shared<BeaconApi>(config);
    config->flushAt = 1000;
    auto queue = makeQueue();
    queue->add(makeEvent(0));
    CapturedLog log;
    flushAndWait(*queue);
    EXPECT_EQ(queue->depth(), 1u);
    EXPECT_TRUE(log.contains("Pausing queue consumption for 5.0 seconds due to 1.0 API failure(s)."));
}

TEST_F(BeaconQueueTest, ATimedOutUploadKeepsTheBatchAndTheNextSuccessDeliversIt)
{
    server.setResponse("/batch", CannedResponse { .neverAnswer = true });
    config->urlSessionConfiguration = beacon::BeaconUrlSessionConfiguration { 0.5 };
    config->flushAt = 1000;
    auto queue = makeQueue();
    queue->add(makeEvent(0));
    {
        CapturedLog log;
        flushAndWait(*queue);
        EXPECT_TRUE(log.contains("Pausing queue consumption for 5.0 seconds due to 1.0 API failure(s)."));
    }
    EXPECT_EQ(queue->depth(), 1u);

    server.setResponse("/batch", CannedResponse { 200 });
    clock->advance(5s);
    flushAndWait(*queue);
    EXPECT_EQ(queue->depth(), 0u);
    EXPECT_EQ(server.requestCount(), 2u);
    server.releaseHeldRequests();
}

// --- one batch at a time ----------------------------------------------------------------------

TEST_F(BeaconQueueTest, ASecondFlushWhileOneIsInFlightIsRefused)
{
    server.setResponse("/batch", CannedResponse { .neverAnswer = true });
    config->flushAt = 1000;
    auto queue = makeQueue();
    queue->add(makeEvent(0));
    {
        CapturedLog log;
        queue->flush();
        queue->flush();
        EXPECT_TRUE(queue->isFlushing());
        ASSERT_TRUE(server.waitForRequests(1));
        const auto& lines = log.lines(); // the batch's own line comes from the queue's thread
        EXPECT_EQ(countLines(lines, "[Beacon] Already flushing"), 1u);
        EXPECT_EQ(countLines(lines, "[Beacon] Sending batch of 1 events to Beacon"), 1u);
        EXPECT_EQ(lines.size(), 2u);
    }
    releaseUntilIdle(*queue);
    EXPECT_FALSE(queue->isFlushing());
    EXPECT_EQ(server.requestCount(), 1u) << "the second flush sent nothing";
    EXPECT_EQ(queue->depth(), 0u);
}

TEST_F(BeaconQueueTest, ASuccessDeletesExactlyTheEventsSentNotThoseDroppedOrAddedMeanwhile)
{
    server.setResponse("/batch", CannedResponse { .neverAnswer = true });
    config->flushAt = 1000;
    config->maxQueueSize = 5;
    auto queue = makeQueue();
    for (int i = 0; i < 5; ++i)
        queue->add(makeEvent(i));
    queue->flush(); // 0…4 go out
    ASSERT_TRUE(server.waitForRequests(1));
    {
        CapturedLog log;
        for (int i = 5; i < 8; ++i)
            queue->add(makeEvent(i)); // each drops the oldest: 0, 1, 2
        EXPECT_EQ(countLines(log.lines(), "[Beacon] Queue is full, dropping oldest event"), 3u);
    }
    EXPECT_EQ(queue->depth(), 5u);

    server.setResponse("/batch", CannedResponse { 200 });
    releaseUntilIdle(*queue); // 503: the batch 0…4 counts as delivered
    EXPECT_EQ(queue->depth(), 3u) << "5, 6 and 7 were never sent";

    server.clearRequests();
    flushAndWait(*queue);
    EXPECT_EQ(sentIndexes(), range(5, 8));
}

// --- what is queued -----------------------------------------------------------------------------

TEST_F(BeaconQueueTest, AThousandAndOneAddsKeepTheNewestThousand)
{
    config->flushAt = 5000;
    auto queue = makeQueue();
    for (int i = 0; i < 1000; ++i)
        queue->add(makeEvent(i));
    CapturedLog log;
    queue->add(makeEvent(1000));
    EXPECT_EQ(log.lines(),
        (std::vector<std::string> {
            "[Beacon] Queue is full, dropping oldest event", "[Beacon] Queued event 'tick'. Depth: 1000" }));
    EXPECT_EQ(queue->depth(), 1000u);
    EXPECT_EQ(filesIn(folder), 1000u);
    flushAndWait(*queue);
    EXPECT_EQ(sentIndexes(), range(1, 51)) << "the oldest went";
}

TEST_F(BeaconQueueTest, AnEventThatCannotBeSerialisedIsRefusedAndCostsNoOtherEvent)
{
    config->flushAt = 1000;
    config->maxQueueSize = 2;
    auto queue = makeQueue();
    queue->add(makeEvent(0));
    queue->add(makeEvent(1));
    BeaconEvent broken = makeEvent(2);
    broken.properties["text"] = std::string("\xff\xfe not UTF-8");
    CapturedLog log;
    queue->add(broken);
    EXPECT_EQ(log.lines(), std::vector<std::string> { "[Beacon] Tried to queue unserialisable BeaconEvent" });
    EXPECT_EQ(queue->depth(), 2u);
    flushAndWait(*queue);
    EXPECT_EQ(sentIndexes(), range(0, 2));
}

TEST_F(BeaconQueueTest, ItemsThatCanNeverBeSentAreDeletedAndDoNotHoldBackTheRest)
{
    const std::vector<std::string> broken = {
        "",
        R"({"event":"x","distinct_)",
        "not json",
        R"({"distinct_id":"u"})",
        R"({"event":"x"})",
        std::string(10'000, '[') + std::string(10'000, ']'),
        "{\"event\":\"\xff\",\"distinct_id\":\"u\"}",
        R"({"event":"\ud800","distinct_id":"u"})",
    };
    fs::create_directories(folder);
    // More broken items than fit in a batch, ahead of the good ones.
    for (int i = 0; i < 60; ++i)
        writeRaw(
            folder / (std::to_string(1000 + i) + ".0"), broken[static_cast<std::size_t>(i) % broken.size()]);
    for (int i = 0; i < 3; ++i)
        writeRaw(folder / (std::to_string(2000 + i) + ".0"), makeEvent(i).toJson().dump());
    config->flushAt = 1000;
    auto queue = makeQueue();
    queue->add(makeEvent(3));
    EXPECT_EQ(queue->depth(), 64u);

    CapturedLog log;
    flushAndWait(*queue);
    EXPECT_EQ(server.requestCount(), 1u);
    EXPECT_EQ(sentIndexes(), range(0, 4)) << "one flush sends every good event";
    EXPECT_EQ(queue->depth(), 0u);
    EXPECT_EQ(filesIn(folder), 0u);
    const auto& lines = log.lines();
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                  [](const std::string& line) { return line.find(" is corrupted ") != std::string::npos; }),
        60);
    EXPECT_TRUE(log.contains("File " + (folder / "1005.0").string() + " is corrupted nested too deeply"));
    EXPECT_TRUE(log.contains("File " + (folder / "1003.0").string() + " is corrupted not an event"));
}

TEST_F(BeaconQueueTest, TheLegacyQueueFileIsDelivered)
{
    const fs::path legacy = temporary.path() / "beacon.queue.plist";
    json second = makeEvent(1).toJson();
    second["timestamp"] = "2024-01-02T03:04:06.000Z";
    json first = makeEvent(0).toJson();
    first["timestamp"] = "2024-01-02T03:04:05.000Z";
    writeRaw(legacy, json::array({ second, first }).dump());
    config->flushAt = 1000;
    auto queue = makeQueue(BeaconApiEndpoint::batch, nullptr, legacy);
    EXPECT_FALSE(fs::exists(legacy));
    flushAndWait(*queue);
    EXPECT_EQ(sentIndexes(), range(0, 2)) << "in the order of their timestamps";
}

TEST_F(BeaconQueueTest, EventsAnInstanceCouldNotSendAreDeliveredByTheNext)
{
    {
        RefusingPort refusing;
        auto offline = configFor(refusing.baseUrl());
        auto offlineApi = std::make_shared<BeaconApi>(offline);
        BeaconQueue queue(offline, offlineApi, BeaconApiEndpoint::batch, folder);
        for (int i = 0; i < 30; ++i)
            queue.add(makeEvent(i)); // the 20th tries, fails and backs off
        ASSERT_TRUE(queue.waitUntilIdleForTesting());
        EXPECT_EQ(queue.depth(), 30u);
    }
    config->flushAt = 1000;
    auto queue = makeQueue();
    EXPECT_EQ(queue->depth(), 30u);
    EXPECT_TRUE(queue->canFlush()) << "back-off is not carried over";
    flushAndWait(*queue);
    EXPECT_EQ(sentIndexes(), range(0, 30));
}

// A process killed while it adds leaves whole files only, and the next instance sends them all.
TEST(BeaconQueueCrashTest, EventsQueuedByAKilledProcessAreDeliveredByTheNextInstance)
{
    TemporaryDirectory temporary;
    const fs::path folder = temporary.path() / "beacon.queueFolder";
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // No threads of the parent's live on here, and nothing is sent: only the disk matters.
        auto config = std::make_shared<BeaconConfig>("test-key", "http://127.0.0.1:9");
        config->flushAt = 1'000'000;
        config->maxQueueSize = 1'000'000;
        BeaconQueue queue(config, nullptr, BeaconApiEndpoint::batch, folder);
        for (int i = 0;; ++i)
            queue.add(makeEvent(i, 0, std::string(4096, 'x')));
        _exit(0);
    }
    // Kill it somewhere in the middle of a write (one of the entries may be its temporary file).
    const auto deadline = std::chrono::steady_clock::now() + 30s;
    while (filesIn(folder) < 41 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(1ms);
    ::kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));

    LoopbackHttpServer server;
    auto config = std::make_shared<BeaconConfig>("test-key", server.baseUrl());
    config->flushAt = 1'000'000;
    auto api = std::make_shared<BeaconApi>(config);
    BeaconQueue queue(config, api, BeaconApiEndpoint::batch, folder);
    const auto queued = static_cast<int>(queue.depth());
    EXPECT_GE(queued, 40);
    for (int round = 0; round < 100 && queue.depth() > 0; ++round) {
        queue.flush();
        ASSERT_TRUE(queue.waitUntilIdleForTesting());
    }
    std::vector<int> sent;
    for (const RecordedRequest& request : server.requests()) {
        const auto indexes = indexesOf(eventsOf(request));
        sent.insert(sent.end(), indexes.begin(), indexes.end());
    }
    EXPECT_EQ(sent, range(0, queued)) << "every event that was written, once, in order";
    EXPECT_EQ(filesIn(folder), 0u) << "nothing left over, no half-written file";
}

// --- timer ------------------------------------------------------------------------------------

TEST_F(BeaconQueueTest, TheTimerFlushesUntilStopped)
{
    config->flushAt = 1000;
    config->flushIntervalSeconds = 0.05;
    auto queue = makeQueue();
    queue->start(true, false);
    queue->add(makeEvent(0));
    ASSERT_TRUE(server.waitForRequests(1));
    ASSERT_TRUE(queue->waitUntilIdleForTesting());
    EXPECT_EQ(queue->depth(), 0u);

    queue->stop();
    queue->add(makeEvent(1));
    std::this_thread::sleep_for(300ms); // several periods
    EXPECT_EQ(server.requestCount(), 1u);
    EXPECT_EQ(queue->depth(), 1u);
}

TEST_F(BeaconQueueTest, WithoutAStartNoTimerRuns)
{
    config->flushAt = 1000;
    config->flushIntervalSeconds = 0.02;
    auto queue = makeQueue();
    queue->start(true, true);
    queue->add(makeEvent(0));
    std::this_thread::sleep_for(200ms);
    EXPECT_EQ(server.requestCount(), 0u);
}

// --- reachability -------------------------------------------------------------------------------

class BeaconQueueReachabilityTest : public BeaconQueueTest {
protected:
    std::shared_ptr<ManualNetworkStateSource> source = std::make_shared<ManualNetworkStateSource>();
    std::shared_ptr<BeaconSerialQueue> notifications
        = std::make_shared<BeaconSerialQueue>("test.reachability");
    std::shared_ptr<Reachability> reachability = Reachability::create(source, notifications);

    void change(ReachabilityFlags flags)
    {
        source->change(flags);
        reachability->flushForTesting();
    }
};

TEST_F(BeaconQueueReachabilityTest, LosingTheNetworkPausesAndRegainingItSendsWhatWaited)
{
    auto queue = makeQueue(BeaconApiEndpoint::batch, reachability);
    queue->start(false, true);
    reachability->flushForTesting();
    ASSERT_TRUE(queue->waitUntilIdleForTesting());
    {
        CapturedLog log;
        change(ReachabilityFlags());
        EXPECT_EQ(log.lines(),
            std::vector<std::string> { "[Beacon] Queue is paused because network is unreachable" });
    }
    {
        CapturedLog log;
        for (int i = 0; i < 20; ++i)
            queue->add(makeEvent(i));
        EXPECT_TRUE(log.contains("[Beacon] The queue is paused due to the reachability check"));
    }
    ASSERT_TRUE(queue->waitUntilIdleForTesting());
    EXPECT_EQ(server.requestCount(), 0u);

    change(ReachabilityFlag::reachable);
    ASSERT_TRUE(server.waitForRequests(1));
    ASSERT_TRUE(queue->waitUntilIdleForTesting());
    EXPECT_EQ(sentIndexes(), range(0, 20));
}

TEST_F(BeaconQueueReachabilityTest, BothQueuesOfOneReachabilityFollowIt)
{
    config->flushAt = 1000;
    auto events = makeQueue(BeaconApiEndpoint::batch, reachability);
    BeaconQueue replay(config, api, BeaconApiEndpoint::snapshot, temporary.path() / "beacon.replayFolder",
        std::nullopt, reachability);
    events->start(false, true);
    replay.start(false, true);
    reachability->flushForTesting();
    {
        CapturedLog log;
        change(ReachabilityFlags());
        EXPECT_EQ(countLines(log.lines(), "[Beacon] Queue is paused because network is unreachable"), 2u);
    }
    events->add(makeEvent(0));
    replay.add(makeEvent(1));
    EXPECT_FALSE(events->canFlush());
    EXPECT_FALSE(replay.canFlush());

    change(ReachabilityFlag::reachable);
    ASSERT_TRUE(server.waitForRequests(2));
    ASSERT_TRUE(events->waitUntilIdleForTesting());
    ASSERT_TRUE(replay.waitUntilIdleForTesting());
    std::set<std::string> paths;
    for (const RecordedRequest& request : uploads())
        paths.insert(request.path);
    EXPECT_EQ(paths, (std::set<std::string> { "/batch", "/s/" }));
}

TEST_F(BeaconQueueReachabilityTest, WifiOnlyModeSendsOverWifi)
{
    config->dataMode = beacon::BeaconDataMode::wifiOnly;
    config->flushAt = 1000;
    auto queue = makeQueue(BeaconApiEndpoint::batch, reachability);
    queue->add(makeEvent(0));
    CapturedLog log;
    queue->start(false, true); // the first reading finds Wi-Fi and flushes
    reachability->flushForTesting();
    ASSERT_TRUE(server.waitForRequests(1));
    ASSERT_TRUE(queue->waitUntilIdleForTesting());
    EXPECT_EQ(queue->depth(), 0u);
    EXPECT_FALSE(log.contains("not in WiFi mode"));
}

TEST_F(BeaconQueueReachabilityTest, StoppingStopsFollowingTheNetwork)
{
    config->flushAt = 1000;
    auto queue = makeQueue(BeaconApiEndpoint::batch, reachability);
    queue->start(false, true);
    reachability->flushForTesting();
    ASSERT_TRUE(queue->waitUntilIdleForTesting()); // the first reading flushed the empty queue
    EXPECT_TRUE(source->isWatched());
    queue->stop();
    EXPECT_FALSE(source->isWatched());
    EXPECT_FALSE(reachability->isNotifierRunning());
    source->change(ReachabilityFlags());
    reachability->flushForTesting();
    EXPECT_TRUE(queue->canFlush()) << "a change after stop does not pause the queue";
}

TEST_F(BeaconQueueReachabilityTest, ANotifierThatCannotStartIsReportedAndSendingGoesOn)
{
    source->failWatching(std::make_error_code(std::errc::permission_denied));
    config->flushAt = 1000;
    auto queue = makeQueue(BeaconApiEndpoint::batch, reachability);
    {
        CapturedLog log;
        queue->start(false, true);
        ASSERT_EQ(log.lines().size(), 1u);
        EXPECT_TRUE(log.lines()[0].starts_with("[Beacon] Error: Unable to monitor network reachability: "
                                               "unableToSetCallback"))
            << log.lines()[0];
    }
    queue->add(makeEvent(0));
    flushAndWait(*queue);
    EXPECT_EQ(sentIndexes(), range(0, 1));
}

TEST_F(BeaconQueueReachabilityTest, CanFlushGivesOnlyTheFirstReasonInItsOrder)
{
    config->flushAt = 1000;
    auto queue = makeQueue(BeaconApiEndpoint::batch, reachability);
    queue->start(false, true);
    reachability->flushForTesting();
    ASSERT_TRUE(queue->waitUntilIdleForTesting());

    // Backing off, then a batch in flight, then the clock set back so the back-off lies ahead again.
    server.setResponse("/batch", CannedResponse { 301, "" });
    queue->add(makeEvent(0));
    flushAndWait(*queue);
    clock->advance(5s);
    server.setResponse("/batch", CannedResponse { .neverAnswer = true });
    queue->flush();
    ASSERT_TRUE(server.waitForRequests(2));
    clock->advance(-10s);
    change(ReachabilityFlags());

    {
        CapturedLog log;
        EXPECT_FALSE(queue->canFlush());
        EXPECT_EQ(log.lines(), std::vector<std::string> { "[Beacon] Already flushing" });
    }
    releaseUntilIdle(*queue);
    {
        CapturedLog log;
        EXPECT_FALSE(queue->canFlush());
        EXPECT_EQ(log.lines(),
            std::vector<std::string> { "[Beacon] The queue is paused due to the reachability check" });
    }
    change(ReachabilityFlag::reachable);
    {
        CapturedLog log;
        EXPECT_FALSE(queue->canFlush());
        EXPECT_EQ(log.lines(),
            std::vector<std::string> { "[Beacon] The queue is paused until `2023-11-14 22:13:25 +0000`" });
    }
    clock->advance(10s);
    CapturedLog log;
    EXPECT_TRUE(queue->canFlush());
    EXPECT_TRUE(log.lines().empty());
}

// --- threads ----------------------------------------------------------------------------------

TEST_F(BeaconQueueTest, AddsFromSeveralThreadsWhileFlushesRunSendEachEventOnceInItsThreadsOrder)
{
    server.setDefaultResponse(CannedResponse { .delay = 5ms });
    config->flushIntervalSeconds = 0.01;
    auto queue = makeQueue(); // flushAt 20: adds start flushes too
    queue->start(true, false);

    constexpr int kThreads = 4;
    constexpr int kPerThread = 100;
    std::atomic<bool> adding { true };
    std::thread flusher([&] {
        while (adding) {
            queue->flush();
            std::this_thread::sleep_for(1ms);
        }
    });
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < kPerThread; ++i)
                queue->add(makeEvent(i, t));
        });
    }
    for (auto& thread : threads)
        thread.join();
    adding = false;
    flusher.join();
    queue->stop();
    ASSERT_TRUE(queue->waitUntilIdleForTesting());
    drain(*queue);

    std::vector<json> uploaded;
    for (const RecordedRequest& request : uploads()) {
        const auto events = eventsOf(request);
        EXPECT_LE(events.size(), 50u);
        uploaded.insert(uploaded.end(), events.begin(), events.end());
    }
    const auto byThread = indexesByThread(uploaded);
    ASSERT_EQ(byThread.size(), std::size_t { kThreads });
    for (const auto& [thread, indexes] : byThread)
        EXPECT_EQ(indexes, range(0, kPerThread)) << "thread " << thread;
    EXPECT_EQ(filesIn(folder), 0u);
}

} // namespace
