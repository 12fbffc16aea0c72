// Delivery through the client facade: batching, retry and back-off, a killed process, the queue
// bound and captures from several threads, against a real HTTP server on the loopback interface.
// Back-off time comes from a manual clock; nothing here sleeps to wait it out.
#include "beacon/BeaconSDK.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <future>
#include <map>
#include <regex>
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
#include "SdkClientTest.h"
#include "SdkHarness.h"
#include "UploadHelpers.h"
#include "beacon/BeaconConfig.h"
#include "beacon/BeaconLog.h"

namespace {
namespace fs = std::filesystem;
using beacon::BeaconConfig;
using beacon::BeaconSDK;
using beacon::test::CannedResponse;
using beacon::test::CapturedLog;
using beacon::test::indexesByThread;
using beacon::test::indexesOf;
using beacon::test::LoopbackHttpServer;
using beacon::test::range;
using beacon::test::RecordedRequest;
using beacon::test::RefusingPort;
using beacon::test::SdkHarness;
using beacon::test::uploadedBatches;
using beacon::test::uploadedEvents;
using beacon::test::utcText;
using nlohmann::json;
using namespace std::chrono_literals;

std::size_t batchUploads(const LoopbackHttpServer& server)
{
    std::size_t count = 0;
    for (const RecordedRequest& request : server.requests())
        count += request.path == "/batch" ? 1 : 0;
    return count;
}

class BeaconSdkDeliveryTest : public beacon::test::SdkClientTest {
protected:
    /// Sets up and lets the start-up flush that the first network report starts finish, so that
    /// it does not take a batch from among the test's own captures.
    void start(std::shared_ptr<BeaconConfig> withConfig = nullptr)
    {
        sdk->setup(withConfig ? std::move(withConfig) : config);
        ASSERT_TRUE(sdk->waitUntilIdleForTesting());
    }

    void flushAndWait()
    {
        sdk->flush();
        ASSERT_TRUE(sdk->waitUntilIdleForTesting());
    }

    void captureIndexes(int from, int to)
    {
        for (int i = from; i < to; ++i)
            sdk->capture("tick", { { "index", i } });
    }
};

// --- batches ---------------------------------------------------------------------------------------

TEST_F(BeaconSdkDeliveryTest, EveryCaptureArrivesOnceInOrderInGzippedBatchesOfAtMostFifty)
{
    start(); // flushAt 20, maxBatchSize 50: captures start the flushes themselves
    captureIndexes(0, 120);
    deliver();

    const auto batches = uploadedBatches(server);
    ASSERT_GE(batches.size(), 3u);
    for (const auto& batch : batches)
        EXPECT_LE(batch.size(), 50u);
    EXPECT_EQ(indexesOf(uploadedEvents(server)), range(0, 120));

    const std::regex sentAt(R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3}Z)");
    for (const RecordedRequest& request : server.requests()) {
        ASSERT_EQ(request.path, "/batch");
        // The server has undone the gzip encoding; it refuses a body that is not gzip.
        EXPECT_EQ(request.header("Content-Encoding"), "gzip");
        const json body = json::parse(request.body);
        EXPECT_EQ(body.size(), 3u);
        EXPECT_EQ(body["api_key"], "test-key");
        EXPECT_TRUE(body["batch"].is_array());
        EXPECT_TRUE(std::regex_match(body["sent_at"].get<std::string>(), sentAt)) << body["sent_at"];
    }
    const json first = uploadedEvents(server).front();
    EXPECT_EQ(first["event"], "tick");
    EXPECT_EQ(first["distinct_id"], sdk->getDistinctId());
    EXPECT_EQ(first["properties"]["$lib"], "beacon-desktop");
    EXPECT_EQ(first["properties"]["$app_version"], "1.2.0");
    EXPECT_EQ(harness.queuedFiles(), 0u);
}

TEST_F(BeaconSdkDeliveryTest, CaptureDoesNotWaitForTheNetwork)
{
    server.setResponse("/batch", CannedResponse { .neverAnswer = true });
    config->flushAt = 1; // every capture starts a flush
    start();
    auto capturing = std::async(std::launch::async, [&] { captureIndexes(0, 30); });
    ASSERT_EQ(capturing.wait_for(30s), std::future_status::ready) << "capture waited for an upload";
    EXPECT_EQ(harness.queuedFiles(), 30u);
    EXPECT_TRUE(server.waitForRequests(1)) << "the upload was started and is still held";
    server.releaseHeldRequests();
}

// --- answers and back-off ---------------------------------------------------------------------------

TEST_F(BeaconSdkDeliveryTest, AServerErrorDropsTheBatch)
{
    server.setResponse("/batch", CannedResponse { 503, R"({"error":"unavailable"})" });
    config->flushAt = 1000;
    start();
    captureIndexes(0, 3);
    flushAndWait();
    EXPECT_EQ(harness.queuedFiles(), 0u) << "a final answer, even an error, ends the batch";
    EXPECT_EQ(batchUploads(server), 1u);
    flushAndWait();
    EXPECT_EQ(batchUploads(server), 1u) << "nothing is retried";
}

TEST_F(BeaconSdkDeliveryTest, ARedirectKeepsTheBatchAndBacksOffFiveSecondsPerFailureUpToThirty)
{
    server.setResponse("/batch", CannedResponse { 301, "" });
    config->flushAt = 1000;
    start();
    captureIndexes(0, 2);

    const std::vector<int> delays = { 5, 10, 15, 20, 25, 30, 30 };
    for (std::size_t failure = 1; failure <= delays.size(); ++failure) {
        SCOPED_TRACE("failure " + std::to_string(failure));
        {
            CapturedLog log;
            flushAndWait();
            EXPECT_TRUE(
                log.contains("[Beacon] Pausing queue consumption for " + std::to_string(delays[failure - 1])
                    + ".0 seconds due to " + std::to_string(failure) + ".0 API failure(s)."));
        }
        EXPECT_EQ(harness.queuedFiles(), 2u) << "the batch stays";
        EXPECT_EQ(batchUploads(server), failure);

        const auto deadline = harness.clock->now() + std::chrono::seconds(delays[failure - 1]);
        harness.clock->advance(std::chrono::seconds(delays[failure - 1]) - 1ms);
        {
            CapturedLog log;
            flushAndWait();
            EXPECT_TRUE(log.contains("[Beacon] The queue is paused until `" + utcText(deadline) + "`"));
            EXPECT_FALSE(log.contains("Sending batch"));
        }
        EXPECT_EQ(batchUploads(server), failure) << "nothing is sent while backing off";
        harness.clock->advance(1ms);
    }

    server.setResponse("/batch", CannedResponse { 200 });
    flushAndWait();
    EXPECT_EQ(harness.queuedFiles(), 0u);
    EXPECT_EQ(indexesOf(uploadedBatches(server).back()), range(0, 2));

    server.setResponse("/batch", CannedResponse { 301, "" });
    captureIndexes(2, 3);
    CapturedLog log;
    flushAndWait();
    EXPECT_TRUE(log.contains("Pausing queue consumption for 5.0 seconds due to 1.0 API failure(s)."))
        << "the success started the count again";
}

TEST_F(BeaconSdkDeliveryTest, EventsADeadServerCouldNotTakeAreDeliveredByTheNextProcess)
{
    {
        RefusingPort refusing;
        auto offline = harness.makeConfig(refusing.baseUrl());
        offline->flushAt = 1000;
        start(offline);
        captureIndexes(0, 5);
        {
            CapturedLog log;
            flushAndWait();
            EXPECT_TRUE(log.contains("Pausing queue consumption for 5.0 seconds due to 1.0 API failure(s)."));
        }
        harness.clock->advance(5s);
        {
            CapturedLog log;
            flushAndWait();
            EXPECT_TRUE(
                log.contains("Pausing queue consumption for 10.0 seconds due to 2.0 API failure(s)."));
        }
        EXPECT_EQ(harness.queuedFiles(), 5u);
        sdk = BeaconSDK::create(); // the process ends
    }
    start();
    deliver();
    EXPECT_EQ(indexesOf(uploadedEvents(server)), range(0, 5)) << "the back-off is not carried over";
}

// --- the queue on disk ---------------------------------------------------------------------------------

TEST_F(BeaconSdkDeliveryTest, AThousandAndOneCapturesKeepTheNewestThousand)
{
    config->flushAt = 100'000;
    start();
    captureIndexes(0, 1001);
    EXPECT_EQ(harness.queuedFiles(), 1000u);
    deliver();
    EXPECT_EQ(indexesOf(uploadedEvents(server)), range(1, 1001));
}

// A client killed between capture and flush leaves its events on disk, and the next process sends
// each of them once, in order. Forked before this test starts any thread of its own.
TEST(BeaconSdkCrashTest, EventsOfAKilledClientAreDeliveredByTheNextProcess)
{
    SdkHarness harness;
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        RefusingPort nobody; // nothing is sent: only the disk matters
        auto config = harness.makeConfig(nobody.baseUrl());
        config->flushAt = 1'000'000;
        auto sdk = BeaconSDK::create();
        sdk->setup(config);
        for (int i = 0;; ++i)
            sdk->capture("tick", { { "index", i }, { "padding", std::string(2048, 'x') } });
        _exit(0);
    }
    // Killed somewhere in the middle of a capture (one entry may be its temporary file).
    const auto deadline = std::chrono::steady_clock::now() + 30s;
    while (harness.queuedFiles() < 61 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(1ms);
    ::kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));

    LoopbackHttpServer server;
    auto sdk = BeaconSDK::create();
    sdk->setup(harness.makeConfig(server.baseUrl()));
    ASSERT_TRUE(beacon::test::deliverAll(*sdk, harness.queueFolder()));
    const auto sent = indexesOf(uploadedEvents(server));
    EXPECT_GE(sent.size(), 60u);
    EXPECT_EQ(sent, range(0, static_cast<int>(sent.size()))) << "every event written, once, in order";
    EXPECT_EQ(harness.queuedFiles(), 0u) << "no half-written file is left behind";
    sdk->close();
}

// --- threads ---------------------------------------------------------------------------------------------

TEST_F(BeaconSdkDeliveryTest, CapturesFromSeveralThreadsWhileFlushesRunArriveOnceInTheirThreadsOrder)
{
    server.setDefaultResponse(CannedResponse { .delay = 2ms });
    config->flushIntervalSeconds = 0.01;
    config->disableQueueTimerForTesting = false;
    start();

    constexpr int kThreads = 4;
    constexpr int kPerThread = 100;
    std::atomic<bool> capturing { true };
    std::thread flusher([&] {
        while (capturing) {
            sdk->flush();
            std::this_thread::sleep_for(1ms);
        }
    });
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < kPerThread; ++i) {
                sdk->capture("tick", { { "index", i }, { "thread", t } });
                if (i % 25 == 0)
                    sdk->registerProperties({ { "thread-" + std::to_string(t), i } });
            }
        });
    }
    for (auto& thread : threads)
        thread.join();
    capturing = false;
    flusher.join();
    deliver();

    for (const auto& batch : uploadedBatches(server))
        EXPECT_LE(batch.size(), 50u);
    const auto byThread = indexesByThread(uploadedEvents(server));
    ASSERT_EQ(byThread.size(), std::size_t { kThreads });
    for (const auto& [thread, indexes] : byThread)
        EXPECT_EQ(indexes, range(0, kPerThread)) << "thread " << thread;
}

// Captures from several threads while another identifies, registers, resets and flushes, until the
// client is closed in the middle of it all.
TEST_F(BeaconSdkDeliveryTest, CapturesWhileFlushResetAndCloseRunKeepEverythingCapturedBeforeTheClose)
{
    config->flushAt = 10;
    start();

    constexpr int kThreads = 3;
    constexpr int kMostPerThread = 250; // all of them fit the queue bound of 1000
    std::atomic<bool> closing { false };
    std::array<std::atomic<int>, kThreads> lastBeforeClose {};
    for (auto& last : lastBeforeClose)
        last = -1;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < kMostPerThread; ++i) {
                const bool before = !closing;
                sdk->capture("tick", { { "index", i }, { "thread", t } });
                if (!before)
                    break; // one capture into the closing client is enough
                if (!closing)
                    lastBeforeClose[t] = i;
            }
        });
    }
    threads.emplace_back([&] {
        for (int n = 0; !closing; ++n) {
            sdk->identify("user-" + std::to_string(n), { { "n", n } });
            sdk->setPersonProperties({ { "n", n } });
            sdk->registerProperties({ { "n", n } });
            sdk->flush();
            if (n % 2 == 1)
                sdk->reset();
        }
    });
    const auto deadline = std::chrono::steady_clock::now() + 30s;
    const auto midway = [&] {
        return std::all_of(
            lastBeforeClose.begin(), lastBeforeClose.end(), [](const auto& last) { return last >= 100; });
    };
    while (!midway() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::yield();
    closing = true;
    sdk->close();
    for (auto& thread : threads)
        thread.join();

    EXPECT_FALSE(fs::exists(harness.storageFolder() / "beacon.distinctId")) << "close forgets the person";
    EXPECT_FALSE(fs::exists(harness.storageFolder() / "beacon.isIdentified"));

    sdk = BeaconSDK::create();
    start(harness.makeConfig(server.baseUrl()));
    EXPECT_FALSE(sdk->getDistinctId().starts_with("user-")) << "nobody is identified after the close";
    deliver();
    std::map<int, std::set<int>> byThread;
    for (const json& event : uploadedEvents(server, "tick"))
        byThread[event["properties"]["thread"].get<int>()].insert(event["properties"]["index"].get<int>());
    for (int t = 0; t < kThreads; ++t) {
        SCOPED_TRACE("thread " + std::to_string(t));
        ASSERT_GE(lastBeforeClose[t], 0);
        for (int i = 0; i <= lastBeforeClose[t]; ++i)
            ASSERT_TRUE(byThread[t].contains(i)) << "lost capture " << i;
    }
}

} // namespace

namespace {
std::string threadNames()
{
    std::string names;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator("/proc/self/task", error)) {
        std::ifstream comm(entry.path() / "comm");
        std::string name;
        std::getline(comm, name);
        names += name + "; ";
    }
    return names;
}

std::size_t threadCount()
{
    std::error_code error;
    return static_cast<std::size_t>(std::distance(fs::directory_iterator("/proc/self/task", error), {}));
}
} // namespace

// A client dropped while an upload is out must still wind down completely: the upload's thread and
// the queue's thread must not end up waiting for each other.
TEST_F(BeaconSdkDeliveryTest, ClientsDroppedDuringAnUploadLeaveNoThreadBehind)
{
    server.setDefaultResponse(CannedResponse { .delay = 2ms });
    // Closes one client while its upload is surely out (`waitForUpload`) or may still be starting.
    const auto dropClientDuringUpload = [&](bool waitForUpload) {
        SdkHarness local;
        auto client = BeaconSDK::create();
        client->setup(local.makeConfig(server.baseUrl()));
        const std::size_t sent = server.requestCount();
        for (int i = 0; i < 25; ++i) // past flushAt: an upload starts
            client->capture("tick", { { "index", i } });
        if (waitForUpload) {
            EXPECT_TRUE(server.waitForRequests(sent + 1, 5s));
        }
        client->close();
        client.reset();
    };
    // Counts threads once they stop changing, or after 5 seconds.
    const auto settledThreadCount = [] {
        std::size_t count = threadCount();
        for (int stable = 0, round = 0; stable < 20 && round < 500; ++round) {
            std::this_thread::sleep_for(10ms);
            const std::size_t now = threadCount();
            stable = now == count ? stable + 1 : 0;
            count = now;
        }
        return count;
    };

    // The first round starts what lives for the whole process (and the server's workers).
    dropClientDuringUpload(true);
    const std::size_t before = settledThreadCount();
    for (int round = 0; round < 100; ++round)
        dropClientDuringUpload(round % 2 == 0);
    EXPECT_LE(settledThreadCount(), before) << threadNames();
}
