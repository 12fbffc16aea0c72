// The on-disk event queue: one file per item in a real folder.
#include "beacon/BeaconFileBackedQueue.h"

#include <algorithm>
#include <chrono>
#include <fstream>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "RawFiles.h"
#include <nlohmann/json.hpp>

#include "CapturedLog.h"
#include "ManualClock.h"
#include "TemporaryDirectory.h"

namespace {
namespace fs = std::filesystem;
using beacon::BeaconFileBackedQueue;
using beacon::test::CapturedLog;
using beacon::test::ManualClock;
using beacon::test::TemporaryDirectory;
using nlohmann::json;
using namespace std::chrono_literals;
using TimePoint = std::chrono::system_clock::time_point;

double valueOf(const std::string& name)
{
    const auto value = BeaconFileBackedQueue::valueOf(name);
    EXPECT_TRUE(value) << name << " is not a number";
    return value.value_or(0);
}

class FileBackedQueueTest : public testing::Test {
protected:
    TemporaryDirectory temporary;
    fs::path folder = temporary.path() / "beacon.queueFolder";
    // 2023-11-14T22:13:20.250Z
    std::shared_ptr<ManualClock> clock = std::make_shared<ManualClock>(TimePoint(1'700'000'000'250ms));

    std::unique_ptr<BeaconFileBackedQueue> open(const std::optional<fs::path>& oldQueue = std::nullopt)
    {
        auto queue = std::make_unique<BeaconFileBackedQueue>(folder, clock);
        queue->setup(oldQueue);
        return queue;
    }
};

// --- names and order -----------------------------------------------------------------------

TEST(FileNameTest, WritesTheShortestDecimalThatReadsBackExactly)
{
    EXPECT_EQ(BeaconFileBackedQueue::fileName(1700000000.25), "1700000000.25");
    EXPECT_EQ(BeaconFileBackedQueue::fileName(1700000000.0), "1700000000.0");
    const double next = std::nextafter(1700000000.0, 2e9);
    EXPECT_EQ(BeaconFileBackedQueue::valueOf(BeaconFileBackedQueue::fileName(next)), next);
    EXPECT_EQ(BeaconFileBackedQueue::valueOf("1e3"), 1000.0);
    EXPECT_EQ(BeaconFileBackedQueue::valueOf("abc"), std::nullopt);
    EXPECT_EQ(BeaconFileBackedQueue::valueOf("12abc"), std::nullopt);
    EXPECT_EQ(BeaconFileBackedQueue::valueOf(""), std::nullopt);
    EXPECT_EQ(BeaconFileBackedQueue::valueOf("inf"), std::nullopt);
    EXPECT_EQ(BeaconFileBackedQueue::valueOf("nan"), std::nullopt);
}

TEST_F(FileBackedQueueTest, EachItemIsAWholeFileNamedByItsTimeAndPeekReadsOldestFirst)
{
    const mode_t previousMask = ::umask(022);
    auto queue = open();
    ::umask(previousMask);
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_EQ(fs::status(folder).permissions(), fs::perms::owner_all) << "the listing is the user's alone";
    EXPECT_EQ(queue->add(R"({"n":1})"), "1700000000.25");
    clock->advance(1500ms);
    EXPECT_EQ(queue->add(R"({"n":2})"), "1700000001.75");
    const auto third = queue->add(R"({"n":3})"); // same instant as the second
    ASSERT_TRUE(third);
    EXPECT_GT(valueOf(*third), 1700000001.75);
    EXPECT_LT(valueOf(*third), 1700000001.75 + 1e-6) << "bumped by the smallest step, not by seconds";

    EXPECT_EQ(entriesOf(folder), (std::set<std::string> { "1700000000.25", "1700000001.75", *third }))
        << "one file per item and no temporary file left";
    EXPECT_EQ(readRaw(folder / *third), R"({"n":3})");
    EXPECT_EQ(queue->depth(), 3u);
    EXPECT_EQ(queue->peek(2), (std::vector<std::string> { R"({"n":1})", R"({"n":2})" }));
    EXPECT_EQ(queue->peek(10).size(), 3u);
    EXPECT_EQ(queue->peek(0).size(), 0u);
    EXPECT_EQ(queue->depth(), 3u) << "peeking removes nothing";
    const auto items = queue->peekItems(1);
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].name, "1700000000.25");
}

TEST_F(FileBackedQueueTest, ItemsAddedInTheSameInstantOrAfterTheClockWentBackAllSurviveInOrder)
{
    std::vector<std::string> added;
    {
        auto queue = open();
        for (int i = 0; i < 100; ++i) {
            added.push_back(std::to_string(i));
            ASSERT_TRUE(queue->add(added.back()));
        }
        clock->advance(-1h);
        added.emplace_back("after the clock went back");
        ASSERT_TRUE(queue->add(added.back()));
        EXPECT_EQ(queue->peek(1000), added);
        EXPECT_EQ(entriesOf(folder).size(), 101u) << "no item overwrote another";
    }
    auto reopened = open();
    EXPECT_EQ(reopened->peek(1000), added) << "the next start reads them back in the same order";
    clock->advance(-1h);
    ASSERT_TRUE(reopened->add("after a restart"));
    EXPECT_EQ(reopened->peek(1000).back(), "after a restart") << "new names follow the loaded ones";
}

TEST_F(FileBackedQueueTest, AddsFromSeveralThreadsAllSurviveEachInItsThreadsOrder)
{
    auto queue = open();
    constexpr int kThreads = 4;
    constexpr int kPerThread = 50;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < kPerThread; ++i)
                EXPECT_TRUE(queue->add(json { { "thread", t }, { "index", i } }.dump()));
        });
    }
    for (auto& thread : threads)
        thread.join();
    constexpr auto kAll = static_cast<std::size_t>(kThreads * kPerThread);
    EXPECT_EQ(queue->depth(), kAll);
    EXPECT_EQ(entriesOf(folder).size(), kAll);
    std::vector<int> next(kThreads, 0);
    for (const std::string& data : queue->peek(1000)) {
        const json item = json::parse(data);
        const int thread = item["thread"];
        EXPECT_EQ(item["index"], next[static_cast<std::size_t>(thread)]++);
    }
    EXPECT_EQ(next, std::vector<int>(kThreads, kPerThread));
}

TEST_F(FileBackedQueueTest, StartUpOrdersTheListingByValueAndSkipsWhatIsNotAnItem)
{
    fs::create_directories(folder);
    for (const char* name : { "100.0", "9.5", "abc", "10.25", "1e3", "-1.5" })
        writeRaw(folder / name, name);
    writeRaw(folder / ".100.0.Ab12Cd", "{\"half"); // an add that died mid-write
    fs::create_directory(folder / "50.0");

    auto queue = open();
    EXPECT_EQ(queue->names(), (std::vector<std::string> { "-1.5", "9.5", "10.25", "100.0", "1e3", "abc" }));
    EXPECT_FALSE(fs::exists(folder / ".100.0.Ab12Cd")) << "the leftover of a crash is cleared";
    EXPECT_TRUE(fs::is_directory(folder / "50.0")) << "a folder is not ours to touch";

    const auto added = queue->add("new");
    ASSERT_TRUE(added);
    const auto names = queue->names();
    EXPECT_EQ(names[names.size() - 2], *added) << "after every number, before the names that are not numbers";
}

TEST_F(FileBackedQueueTest, NewNamesFollowALoadedNameThatLiesInTheFuture)
{
    fs::create_directories(folder);
    writeRaw(folder / "1800000000.0", "future");
    auto queue = open();
    const auto added = queue->add("now");
    ASSERT_TRUE(added);
    EXPECT_GT(valueOf(*added), 1800000000.0);
    EXPECT_EQ(queue->peek(2), (std::vector<std::string> { "future", "now" }));
}

// --- removing ------------------------------------------------------------------------------

TEST_F(FileBackedQueueTest, PopRemoveAndRemoveByNameDeleteExactlyTheirItems)
{
    auto queue = open();
    std::vector<std::string> names;
    for (const char* data : { "a", "b", "c", "d", "e", "f" })
        names.push_back(queue->add(data).value_or(""));

    queue->remove(std::size_t { 1 }); // b
    queue->remove(std::size_t { 99 }); // nothing there
    EXPECT_EQ(queue->peek(10), (std::vector<std::string> { "a", "c", "d", "e", "f" }));

    queue->remove(std::vector<std::string> { names[3], "not-queued", names[1] }); // d; b is gone already
    EXPECT_EQ(queue->peek(10), (std::vector<std::string> { "a", "c", "e", "f" }));

    queue->pop(1);
    EXPECT_EQ(queue->peek(10), (std::vector<std::string> { "c", "e", "f" }));
    EXPECT_EQ(entriesOf(folder), (std::set<std::string> { names[2], names[4], names[5] }));

    queue->pop(10);
    EXPECT_EQ(queue->depth(), 0u);
    EXPECT_TRUE(entriesOf(folder).empty());
}

TEST_F(FileBackedQueueTest, AFileDeletedBehindTheQueuesBackIsReportedAndSkipped)
{
    auto queue = open();
    queue->add("a");
    const auto gone = queue->add("b");
    queue->add("c");
    fs::remove(folder / *gone);

    CapturedLog log;
    EXPECT_EQ(queue->peek(3), (std::vector<std::string> { "a", "c" }));
    EXPECT_EQ(queue->depth(), 2u) << "its name leaves the queue";
    EXPECT_EQ(log.lines(),
        std::vector<std::string> { "[Beacon] File " + (folder / *gone).string() + " does not exist" });
}

TEST_F(FileBackedQueueTest, ItemsThatCannotBeReadAreReportedDeletedAndSkippedWithoutHanging)
{
    auto queue = open();
    const auto fifo = queue->add("pipe");
    const auto directory = queue->add("directory");
    const auto huge = queue->add("huge");
    queue->add("fine");
    // A pipe would block an ordinary open for ever; a folder and an oversized file cannot be items.
    fs::remove(folder / *fifo);
    ASSERT_EQ(::mkfifo((folder / *fifo).c_str(), 0600), 0);
    fs::remove(folder / *directory);
    fs::create_directory(folder / *directory);
    writeRaw(folder / *directory / "inside", "x");
    fs::resize_file(folder / *huge, BeaconFileBackedQueue::maxItemSize + 1);

    CapturedLog log;
    EXPECT_EQ(queue->peek(10), std::vector<std::string> { "fine" });
    EXPECT_EQ(queue->depth(), 1u);
    EXPECT_TRUE(log.contains("File " + (folder / *fifo).string() + " is corrupted not a regular file"));
    EXPECT_TRUE(log.contains("File " + (folder / *directory).string() + " is corrupted not a regular file"));
    EXPECT_TRUE(log.contains("File " + (folder / *huge).string() + " is corrupted file too large"));
    EXPECT_TRUE(log.contains("Error trying to delete file Is a directory"));
    EXPECT_FALSE(fs::exists(folder / *fifo));
    EXPECT_FALSE(fs::exists(folder / *huge));
    EXPECT_TRUE(fs::exists(folder / *directory / "inside"));
}

// --- legacy queue file -----------------------------------------------------------------------

TEST_F(FileBackedQueueTest, TheLegacyQueueFileBecomesOneFilePerEventAndIsRemoved)
{
    const fs::path legacy = temporary.path() / "beacon.queue.plist";
    const json a = { { "event", "a" }, { "timestamp", "2024-01-02T03:04:05.678Z" } };
    const json b = { { "event", "b" }, { "timestamp", "2024-01-02T03:04:05.678Z" } }; // same instant
    const json c = { { "event", "c" } }; // no timestamp: the current time
    const json d = { { "event", "d" }, { "timestamp", "2024-01-02T03:04:05Z" } };
    writeRaw(legacy, json::array({ a, b, 42, "text", c, d }).dump());

    CapturedLog log;
    auto queue = open(legacy);
    EXPECT_TRUE(log.lines().empty());
    EXPECT_FALSE(fs::exists(legacy));
    const auto names = queue->names();
    ASSERT_EQ(names.size(), 4u) << "objects only";
    EXPECT_EQ(names[0], "1700000000.25");
    EXPECT_EQ(names[1], "1704164645.0");
    EXPECT_EQ(names[2], "1704164645.678");
    EXPECT_GT(valueOf(names[3]), 1704164645.678) << "the second event of an instant keeps its own file";
    std::vector<json> items;
    for (const std::string& data : queue->peek(10))
        items.push_back(json::parse(data));
    EXPECT_EQ(items, (std::vector<json> { c, d, a, b }));

    const auto added = queue->add("new");
    ASSERT_TRUE(added);
    EXPECT_GT(valueOf(*added), valueOf(names[3]));
    EXPECT_EQ(open(legacy)->depth(), 5u) << "nothing is migrated twice";
}

TEST_F(FileBackedQueueTest, ALegacyFileThatCannotBeMigratedIsReportedAndStillRemoved)
{
    const fs::path legacy = temporary.path() / "beacon.queue.plist";
    for (const std::string& content : { std::string("not json"), std::string(R"({"event":"x"})"),
             std::string(100'000, '[') + std::string(100'000, ']') }) {
        writeRaw(legacy, content);
        CapturedLog log;
        auto queue = open(legacy);
        ASSERT_EQ(log.lines().size(), 1u) << content.substr(0, 20);
        EXPECT_TRUE(log.lines()[0].starts_with("[Beacon] Failed to migrate queue ")) << log.lines()[0];
        EXPECT_FALSE(fs::exists(legacy));
        EXPECT_EQ(queue->depth(), 0u);
    }
}

// --- failing disks ----------------------------------------------------------------------------

TEST_F(FileBackedQueueTest, AFileWhereTheFolderBelongsIsReportedAndNothingIsRecorded)
{
    writeRaw(folder, "in the way");
    CapturedLog log;
    auto queue = open();
    EXPECT_EQ(queue->add("lost"), std::nullopt);
    EXPECT_EQ(queue->depth(), 0u);
    const auto& lines = log.lines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_TRUE(lines[0].starts_with("[Beacon] Error trying to create caching folder ")) << lines[0];
    EXPECT_TRUE(lines[1].starts_with("[Beacon] Failed to load files for queue ")) << lines[1];
    EXPECT_EQ(lines[2], "[Beacon] Could not write file Not a directory");
    EXPECT_EQ(readRaw(folder), "in the way");
}

TEST_F(FileBackedQueueTest, AFolderThatVanishedIsMadeAgainOnTheNextAdd)
{
    auto queue = open();
    const auto lost = queue->add("lost with the folder");
    fs::remove_all(folder);

    CapturedLog log;
    const auto kept = queue->add("kept");
    ASSERT_TRUE(kept);
    EXPECT_EQ(entriesOf(folder), std::set<std::string> { *kept });
    EXPECT_EQ(queue->peek(10), std::vector<std::string> { "kept" });
    EXPECT_EQ(log.lines(),
        std::vector<std::string> { "[Beacon] File " + (folder / *lost).string() + " does not exist" });
}

TEST_F(FileBackedQueueTest, AWriteThatFailsHalfwayLeavesNoFileAndRecordsNothing)
{
    auto queue = open();
    const auto first = queue->add("small");
    const std::string large(std::size_t { 256 } * 1024, 'x');

    // The file size limit makes write() stop partway, as a full disk does.
    rlimit previous {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &previous), 0);
    const auto previousSignal = ::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = previous;
    limited.rlim_cur = rlim_t { 64 } * 1024;
    std::optional<std::string> refused;
    std::vector<std::string> lines;
    {
        CapturedLog log;
        ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
        refused = queue->add(large);
        ::setrlimit(RLIMIT_FSIZE, &previous);
        lines = log.lines();
    }
    ::signal(SIGXFSZ, previousSignal);

    EXPECT_EQ(refused, std::nullopt);
    EXPECT_EQ(lines, std::vector<std::string> { "[Beacon] Could not write file File too large" });
    EXPECT_EQ(entriesOf(folder), std::set<std::string> { *first }) << "no partial or temporary file";
    EXPECT_EQ(queue->depth(), 1u);
    EXPECT_TRUE(queue->add(large)) << "works again once there is room";
    EXPECT_EQ(queue->peek(10), (std::vector<std::string> { "small", large }));
}

} // namespace
