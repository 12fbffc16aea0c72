#include "beacon/BeaconStorageManager.h"

#include <fstream>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "CapturedLog.h"
#include "TemporaryDirectory.h"
#include "beacon/BeaconConfig.h"
#include "beacon/BeaconPlatform.h"
#include "beacon/BeaconStorage.h"

namespace {

namespace fs = std::filesystem;
using beacon::BeaconPersonProfiles;
using beacon::BeaconStorage;
using beacon::BeaconStorageManager;
using beacon::BeaconUuid;
using beacon::StorageKey;
using beacon::test::CapturedLog;
using beacon::test::TemporaryDirectory;
using Json = nlohmann::json;

class StorageManagerTest : public ::testing::Test {
protected:
    TemporaryDirectory dir;
    std::shared_ptr<BeaconStorage> storage = std::make_shared<BeaconStorage>(dir.path());

    /// A manager as a fresh process would make it, over the same folder.
    std::unique_ptr<BeaconStorageManager> restart(BeaconStorageManager::AnonymousIdHook hook = nullptr) const
    {
        return std::make_unique<BeaconStorageManager>(
            std::make_shared<BeaconStorage>(dir.path()), std::move(hook));
    }

    void writeRaw(StorageKey key, const std::string& bytes) const
    {
        std::ofstream(storage->url(key), std::ios::trunc) << bytes;
    }
};

TEST_F(StorageManagerTest, FirstLaunchMakesOneTimeOrderedAnonymousIdThatIsAlsoTheDistinctId)
{
    BeaconStorageManager manager(storage, nullptr);
    const std::string distinct = manager.getDistinctId();
    const auto parsed = BeaconUuid::fromString(distinct);
    ASSERT_TRUE(parsed) << distinct;
    EXPECT_EQ(parsed->version(), 7);
    EXPECT_EQ(parsed->toString(), distinct) << "upper-case hyphenated text";
    EXPECT_EQ(manager.getAnonymousId(), distinct);
    EXPECT_FALSE(manager.isIdentified());

    std::ifstream file(dir.path() / "beacon.anonymousId");
    EXPECT_EQ(Json::parse(file), (Json { { "beacon.anonymousId", distinct } }));
    EXPECT_FALSE(fs::exists(dir.path() / "beacon.distinctId"))
        << "the distinct id falls back, it is not copied";
    EXPECT_EQ(restart()->getAnonymousId(), distinct);
}

TEST_F(StorageManagerTest, TheAnonymousIdHookMayReplaceTheGeneratedId)
{
    const BeaconUuid replacement(
        BeaconUuid::Bytes { 0xAB, 0xCD, 0, 0, 0, 0, 0x40, 0, 0x80, 0, 0, 0, 0, 0, 0, 1 });
    std::optional<BeaconUuid> offered;
    BeaconStorageManager manager(storage, [&](BeaconUuid generated) {
        offered = generated;
        return replacement;
    });
    EXPECT_EQ(manager.getAnonymousId(), "ABCD0000-0000-4000-8000-000000000001");
    ASSERT_TRUE(offered);
    EXPECT_EQ(offered->version(), 7);
    manager.getAnonymousId();
    EXPECT_EQ(storage->getString(StorageKey::anonymousId), "ABCD0000-0000-4000-8000-000000000001");
}

TEST_F(StorageManagerTest, TheConfigSuppliesTheHook)
{
    beacon::BeaconConfig config("key");
    config.platform = std::make_shared<beacon::BeaconPlatform>();
    config.platform->folders = std::make_shared<beacon::FixedDataFolders>(dir.path());
    config.platform->application.bundleIdentifier = "studio.murv.Velto";
    config.getAnonymousId = [](BeaconUuid) { return BeaconUuid(BeaconUuid::Bytes { 1 }); };
    BeaconStorageManager manager(config);
    EXPECT_EQ(manager.getAnonymousId(), "01000000-0000-0000-0000-000000000000");
    EXPECT_TRUE(fs::exists(dir.path() / "studio.murv.Velto" / "beacon.anonymousId"));
}

TEST_F(StorageManagerTest, AnIdentifiedPersonSurvivesARestart)
{
    {
        BeaconStorageManager manager(storage, nullptr);
        const std::string anonymous = manager.getDistinctId();
        manager.setAnonymousId(anonymous);
        manager.setDistinctId("X");
        manager.setIdentified(true);
    }
    const auto before = storage->getString(StorageKey::anonymousId);
    auto manager = restart();
    EXPECT_EQ(manager->getDistinctId(), "X");
    EXPECT_EQ(manager->getAnonymousId(), before);
    EXPECT_TRUE(manager->isIdentified());
}

TEST_F(StorageManagerTest, WithoutAStoredFlagIdentifiedMeansTheIdsDiffer)
{
    BeaconStorageManager first(storage, nullptr);
    first.getAnonymousId();
    first.setDistinctId("someone-else");
    auto manager = restart();
    EXPECT_TRUE(manager->isIdentified());
    EXPECT_FALSE(fs::exists(dir.path() / "beacon.isIdentified")) << "a derived answer is not persisted";

    storage->setBool(StorageKey::isIdentified, false);
    EXPECT_FALSE(restart()->isIdentified()) << "a stored flag wins over the derivation";
}

TEST_F(StorageManagerTest, StoredIdsAreReadInEitherFormAndEmptyOnesAreIgnored)
{
    writeRaw(StorageKey::anonymousId, R"("LEGACY-ANONYMOUS")");
    writeRaw(StorageKey::distinctId, R"({"beacon.distinctId":"wrapped-user"})");
    auto manager = restart();
    EXPECT_EQ(manager->getAnonymousId(), "LEGACY-ANONYMOUS");
    EXPECT_EQ(manager->getDistinctId(), "wrapped-user");

    writeRaw(StorageKey::anonymousId, R"({"beacon.anonymousId":""})");
    writeRaw(StorageKey::distinctId, R"("")");
    manager = restart();
    const std::string fresh = manager->getAnonymousId();
    EXPECT_TRUE(BeaconUuid::fromString(fresh)) << fresh;
    EXPECT_EQ(manager->getDistinctId(), fresh);
}

TEST_F(StorageManagerTest, AGarbledIdentityFileStartsAFreshIdentityWithoutThrowing)
{
    writeRaw(StorageKey::anonymousId, "\x01garbage{");
    writeRaw(StorageKey::isIdentified, R"({"beacon.isIdentified":"maybe"})");
    CapturedLog log;
    auto manager = restart();
    const std::string fresh = manager->getAnonymousId();
    EXPECT_TRUE(BeaconUuid::fromString(fresh));
    EXPECT_FALSE(manager->isIdentified());
    EXPECT_TRUE(log.contains("Failed to serialize key 'beacon.anonymousId' error: "));
    EXPECT_EQ(storage->getString(StorageKey::anonymousId), fresh) << "the garbage is replaced";
}

TEST_F(StorageManagerTest, ResetForgetsTheIdentityAndMakesANewAnonymousIdOnTheNextRead)
{
    BeaconStorageManager manager(storage, nullptr);
    const std::string anonymous = manager.getAnonymousId();
    manager.setDistinctId("X");
    manager.setIdentified(true);
    manager.setPersonProcessing(true);

    manager.reset(false);
    for (const char* name : { "beacon.distinctId", "beacon.anonymousId", "beacon.isIdentified",
             "beacon.enabledPersonProcessing" })
        EXPECT_FALSE(fs::exists(dir.path() / name)) << name;
    const std::string fresh = manager.getAnonymousId();
    EXPECT_NE(fresh, anonymous);
    EXPECT_EQ(manager.getDistinctId(), fresh);
    EXPECT_FALSE(manager.isIdentified());
    EXPECT_FALSE(manager.isPersonProcessing());
}

TEST_F(StorageManagerTest, ResetCanKeepTheAnonymousId)
{
    BeaconStorageManager manager(storage, nullptr);
    const std::string anonymous = manager.getAnonymousId();
    manager.setDistinctId("X");
    manager.setIdentified(true);
    manager.reset(true);
    EXPECT_EQ(manager.getAnonymousId(), anonymous);
    EXPECT_EQ(manager.getDistinctId(), anonymous);
    EXPECT_FALSE(manager.isIdentified());
    EXPECT_EQ(restart()->getAnonymousId(), anonymous);
}

TEST_F(StorageManagerTest, PersonProcessingIsOffUntilAnOperationNeedsIt)
{
    BeaconStorageManager manager(storage, nullptr);
    EXPECT_FALSE(manager.isPersonProcessing());

    CapturedLog log;
    EXPECT_FALSE(manager.requirePersonProcessing(
        BeaconPersonProfiles::never, "identify(_:userProperties:userPropertiesSetOnce:)"));
    EXPECT_EQ(log.lines(),
        (std::vector<std::string> {
            "[Beacon] identify(_:userProperties:userPropertiesSetOnce:) was called, but "
            "`personProfiles` is set to `never`. This call will be ignored." }));
    EXPECT_FALSE(manager.isPersonProcessing());

    EXPECT_TRUE(manager.requirePersonProcessing(BeaconPersonProfiles::identifiedOnly, "alias(_:)"));
    EXPECT_TRUE(manager.isPersonProcessing());
    EXPECT_TRUE(restart()->isPersonProcessing());

    manager.setPersonProcessing(false);
    EXPECT_FALSE(restart()->isPersonProcessing());
    EXPECT_TRUE(
        manager.requirePersonProcessing(BeaconPersonProfiles::always, "group(type:key:groupProperties:)"));
    EXPECT_TRUE(restart()->isPersonProcessing());
}

// --- many threads ---------------------------------------------------------------------

TEST_F(StorageManagerTest, ThreadsRacingForTheFirstAnonymousIdAllGetTheSameOne)
{
    BeaconStorageManager manager(storage, nullptr);
    constexpr int kThreads = 8;
    std::vector<std::string> seen(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            seen[static_cast<std::size_t>(t)] = t % 2 ? manager.getDistinctId() : manager.getAnonymousId();
        });
    }
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(std::set<std::string>(seen.begin(), seen.end()).size(), 1u);
    EXPECT_EQ(storage->getString(StorageKey::anonymousId), seen.front());
}

TEST_F(StorageManagerTest, MixedOperationsFromManyThreadsStayConsistent)
{
    BeaconStorageManager manager(storage, nullptr);
    const std::string anonymous = manager.getAnonymousId();
    constexpr int kThreads = 4;
    constexpr int kRounds = 60;
    std::vector<std::vector<std::string>> distinctSeen(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            auto& seen = distinctSeen[static_cast<std::size_t>(t)];
            for (int round = 0; round < kRounds; ++round) {
                switch ((t + round) % 4) {
                case 0:
                    manager.setDistinctId("user-" + std::to_string(t));
                    manager.setIdentified(true);
                    break;
                case 1:
                    manager.reset(true);
                    break;
                case 2:
                    manager.requirePersonProcessing(BeaconPersonProfiles::identifiedOnly, "identify");
                    manager.isIdentified();
                    break;
                default:
                    break;
                }
                seen.push_back(manager.getDistinctId());
                manager.isPersonProcessing();
            }
        });
    }
    for (auto& thread : threads)
        thread.join();

    std::set<std::string> allowed { anonymous };
    for (int t = 0; t < kThreads; ++t)
        allowed.insert("user-" + std::to_string(t));
    for (const auto& seen : distinctSeen) {
        for (const auto& id : seen)
            ASSERT_TRUE(allowed.count(id)) << "unexpected distinct id " << id;
    }
    EXPECT_EQ(manager.getAnonymousId(), anonymous) << "reset(true) never drops the anonymous id";
    EXPECT_EQ(restart()->getDistinctId(), manager.getDistinctId()) << "memory and disk agree at rest";
}

} // namespace
