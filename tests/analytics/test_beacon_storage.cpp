#include "beacon/BeaconStorage.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include <sys/stat.h>

#include <gtest/gtest.h>

#include "RawFiles.h"

#include "CapturedLog.h"
#include "TemporaryDirectory.h"
#include "beacon/BeaconConfig.h"
#include "beacon/BeaconPlatform.h"

namespace {

namespace fs = std::filesystem;
using beacon::BeaconConfig;
using beacon::BeaconPlatform;
using beacon::BeaconStorage;
using beacon::StorageKey;
using beacon::test::CapturedLog;
using beacon::test::TemporaryDirectory;
using Json = nlohmann::json;

/// Folders each test names after the fixture has handed them to the configuration.
class ChangeableDataFolders final : public beacon::BeaconDataFolders {
public:
    std::optional<fs::path> support;
    std::optional<fs::path> container;

    std::optional<fs::path> applicationSupportFolder() const override { return support; }
    std::optional<fs::path> sharedContainer(const std::string&) const override { return container; }
};

/// Sets or clears one environment variable for the test's duration.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const char* value)
        : m_name(name)
    {
        if (const char* old = std::getenv(name))
            m_old = old;
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~ScopedEnvironment()
    {
        if (m_old)
            setenv(m_name, m_old->c_str(), 1);
        else
            unsetenv(m_name);
    }

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

class BeaconStorageTest : public ::testing::Test {
protected:
    TemporaryDirectory dir;
    fs::path folder = dir.path() / "studio.murv.Velto";
    BeaconStorage storage { folder };
};

TEST(StorageKeyTest, FileNamesAreTheOnesOnDiskInDeclarationOrder)
{
    const std::vector<std::string> expected { "beacon.distinctId", "beacon.anonymousId", "beacon.queueFolder",
        "beacon.queue.plist", "beacon.replayFolder", "beacon.enabledFeatureFlags",
        "beacon.enabledFeatureFlagPayloads", "beacon.flags", "beacon.groups", "beacon.registerProperties",
        "beacon.optOut", "beacon.sessionReplay", "beacon.isIdentified", "beacon.enabledPersonProcessing",
        "beacon.remoteConfig", "beacon.surveySeen", "beacon.requestId", "beacon.evaluatedAt",
        "beacon.personPropertiesForFlags", "beacon.groupPropertiesForFlags" };
    std::vector<std::string> actual;
    for (const StorageKey key : beacon::allStorageKeys())
        actual.emplace_back(beacon::rawValue(key));
    EXPECT_EQ(actual, expected);
    EXPECT_EQ(beacon::rawValue(StorageKey::oldQeueue), "beacon.queue.plist");
    EXPECT_EQ(beacon::rawValue(StorageKey::replayQeueue), "beacon.replayFolder");
    EXPECT_EQ(beacon::rawValue(StorageKey::personProcessingEnabled), "beacon.enabledPersonProcessing");
}

// --- where the folder is ------------------------------------------------------------

class StorageFolderTest : public ::testing::Test {
protected:
    TemporaryDirectory dir;
    std::shared_ptr<ChangeableDataFolders> folders = std::make_shared<ChangeableDataFolders>();
    BeaconConfig config { "key" };

    void SetUp() override
    {
        config.platform = std::make_shared<BeaconPlatform>();
        config.platform->folders = folders;
    }
};

TEST_F(StorageFolderTest, IsTheDataFolderPlusTheBundleIdentifierCreatedPrivateWithItsParents)
{
    folders->support = dir.path() / "deep" / "share";
    config.platform->application.bundleIdentifier = "studio.murv.Velto";
    const mode_t previousMask = ::umask(022);
    const BeaconStorage storage(config);
    ::umask(previousMask);
    EXPECT_EQ(storage.appFolderUrl(), dir.path() / "deep" / "share" / "studio.murv.Velto");
    EXPECT_TRUE(fs::is_directory(storage.appFolderUrl()));
    EXPECT_EQ(storage.url(StorageKey::distinctId), storage.appFolderUrl() / "beacon.distinctId");
    for (const fs::path& folder :
        { dir.path() / "deep", dir.path() / "deep" / "share", storage.appFolderUrl() })
        EXPECT_EQ(fs::status(folder).permissions(), fs::perms::owner_all)
            << folder << " lists the queue and identity";
}

TEST_F(StorageFolderTest, FallsBackToTheLibraryIdentifierWhenTheApplicationHasNone)
{
    folders->support = dir.path();
    EXPECT_EQ(BeaconStorage::folderFor(config), dir.path() / beacon::kBeaconFallbackBundleIdentifier);
    config.platform->application.bundleIdentifier = "";
    EXPECT_EQ(BeaconStorage::folderFor(config), dir.path() / beacon::kBeaconFallbackBundleIdentifier);
}

TEST_F(StorageFolderTest, UsesTheGroupContainerOnlyWhenThePlatformHasOne)
{
    folders->support = dir.path() / "support";
    config.platform->application.bundleIdentifier = "studio.murv.Velto";
    config.appGroupIdentifier = "group.studio.murv";
    EXPECT_EQ(BeaconStorage::folderFor(config), dir.path() / "support" / "studio.murv.Velto");

    folders->container = dir.path() / "container";
    EXPECT_EQ(BeaconStorage::folderFor(config),
        dir.path() / "container" / "Library" / "Application Support" / "group.studio.murv");
}

TEST(StorageFolderHeadlessTest, FollowsTheXdgDataHomeRules)
{
    TemporaryDirectory dir;
    const BeaconConfig config("key"); // no platform: the headless one
    const auto fallback = std::string(beacon::kBeaconFallbackBundleIdentifier);
    const ScopedEnvironment home("HOME", (dir.path() / "home").c_str());
    {
        const ScopedEnvironment xdg("XDG_DATA_HOME", (dir.path() / "xdg").c_str());
        EXPECT_EQ(BeaconStorage::folderFor(config), dir.path() / "xdg" / fallback);
    }
    {
        const ScopedEnvironment xdg("XDG_DATA_HOME", "relative/data");
        EXPECT_EQ(BeaconStorage::folderFor(config), dir.path() / "home" / ".local" / "share" / fallback)
            << "a relative XDG_DATA_HOME is invalid and ignored";
    }
    {
        const ScopedEnvironment xdg("XDG_DATA_HOME", nullptr);
        EXPECT_EQ(BeaconStorage::folderFor(config), dir.path() / "home" / ".local" / "share" / fallback);
    }
}

TEST_F(StorageFolderTest, AFolderThatCannotBeCreatedIsLoggedAndEveryOperationYieldsNothing)
{
    writeRaw(dir.path() / "blocked", "a file, not a folder");
    folders->support = dir.path() / "blocked";
    CapturedLog log;
    const BeaconStorage storage(config);
    storage.setString(StorageKey::distinctId, "someone");
    EXPECT_EQ(storage.getString(StorageKey::distinctId), std::nullopt);
    EXPECT_EQ(storage.getJson(StorageKey::flags), std::nullopt);
    storage.remove(StorageKey::distinctId);
    storage.reset(false);
    const auto& lines = log.lines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front().rfind("[Beacon] Error creating storage directory: ", 0), 0u) << lines.front();
    EXPECT_TRUE(log.contains("Failed to write data for key 'beacon.distinctId' error: "));
}

TEST_F(StorageFolderTest, NoKnownDataFolderIsLoggedAndNothingIsWrittenAnywhere)
{
    CapturedLog log;
    const BeaconStorage storage(config);
    EXPECT_TRUE(storage.appFolderUrl().empty());
    EXPECT_TRUE(storage.url(StorageKey::distinctId).empty());
    storage.setString(StorageKey::distinctId, "someone");
    EXPECT_EQ(storage.getString(StorageKey::distinctId), std::nullopt);
    EXPECT_FALSE(fs::exists("beacon.distinctId")) << "must not fall back to the working directory";
    EXPECT_TRUE(log.contains("Error creating storage directory: "));
    EXPECT_TRUE(log.contains("Failed to write data for key 'beacon.distinctId' error: no storage folder"));
}

// --- file format ----------------------------------------------------------------------

TEST_F(BeaconStorageTest, ScalarsAreWrappedUnderTheirFileName)
{
    storage.setString(StorageKey::anonymousId, "0190A1B2-C3D4-7E5F-8A9B-0C1D2E3F4A5B");
    storage.setBool(StorageKey::optOut, true);
    storage.setJson(StorageKey::evaluatedAt, 1712345678.25);

    EXPECT_EQ(Json::parse(readRaw(folder / "beacon.anonymousId")),
        (Json { { "beacon.anonymousId", "0190A1B2-C3D4-7E5F-8A9B-0C1D2E3F4A5B" } }));
    EXPECT_EQ(Json::parse(readRaw(folder / "beacon.optOut")), (Json { { "beacon.optOut", true } }));
    EXPECT_EQ(storage.getJson(StorageKey::evaluatedAt), (Json { { "beacon.evaluatedAt", 1712345678.25 } }));
    EXPECT_EQ(storage.getString(StorageKey::anonymousId), "0190A1B2-C3D4-7E5F-8A9B-0C1D2E3F4A5B");
    EXPECT_EQ(storage.getBool(StorageKey::optOut), true);
}

TEST_F(BeaconStorageTest, DictionariesAndArraysAreStoredAsTheyAre)
{
    const Json groups { { "company", "42" }, { "team", "core" } };
    const Json seen = Json::array({ "survey-1", "survey-2" });
    storage.setJson(StorageKey::groups, groups);
    storage.setJson(StorageKey::surveySeen, seen);

    EXPECT_EQ(Json::parse(readRaw(folder / "beacon.groups")), groups);
    EXPECT_EQ(Json::parse(readRaw(folder / "beacon.surveySeen")), seen);
    EXPECT_EQ(storage.getDictionary(StorageKey::groups), groups);
    EXPECT_EQ(storage.getJson(StorageKey::surveySeen), seen);
}

TEST_F(BeaconStorageTest, StringsSurviveQuotingAndUnicode)
{
    const std::string tricky = "line\nbreak \"quoted\" \\ back – ünïcödé 🎧";
    storage.setString(StorageKey::distinctId, tricky);
    EXPECT_EQ(storage.getString(StorageKey::distinctId), tricky);
    storage.setBool(StorageKey::optOut, false);
    EXPECT_EQ(storage.getBool(StorageKey::optOut), false) << "false is a value, not an absence";
}

TEST_F(BeaconStorageTest, BareValuesAreAcceptedWhenRead)
{
    writeRaw(folder / "beacon.distinctId", R"("user@example.com")");
    writeRaw(folder / "beacon.optOut", "true");
    EXPECT_EQ(storage.getString(StorageKey::distinctId), "user@example.com");
    EXPECT_EQ(storage.getBool(StorageKey::optOut), true);
}

TEST_F(BeaconStorageTest, AMissingKeyIsSimplyAbsent)
{
    CapturedLog log;
    EXPECT_EQ(storage.getJson(StorageKey::flags), std::nullopt);
    EXPECT_EQ(storage.getString(StorageKey::distinctId), std::nullopt);
    EXPECT_EQ(storage.getBool(StorageKey::optOut), std::nullopt);
    EXPECT_EQ(storage.getDictionary(StorageKey::groups), std::nullopt);
    storage.remove(StorageKey::requestId);
    EXPECT_TRUE(log.lines().empty());
}

// --- bad files ------------------------------------------------------------------------

TEST_F(BeaconStorageTest, GarbageAndEmptyFilesAreLoggedAndReadAsNothing)
{
    for (const std::string& bytes : { std::string("{not json"), std::string(), std::string("{\"a\":"),
             std::string("\x00\x01\xff\xfe", 4), std::string("\"\xff\xfe\"") }) {
        SCOPED_TRACE(testing::PrintToString(bytes));
        writeRaw(folder / "beacon.flags", bytes);
        CapturedLog log;
        EXPECT_EQ(storage.getJson(StorageKey::flags), std::nullopt);
        EXPECT_EQ(storage.getDictionary(StorageKey::flags), std::nullopt);
        EXPECT_TRUE(log.contains("[Beacon] Failed to serialize key 'beacon.flags' error: "));
    }
}

TEST_F(BeaconStorageTest, AWrappedValueOfTheWrongTypeIsLoggedAndReadAsNothing)
{
    writeRaw(folder / "beacon.optOut", R"({"beacon.optOut":"yes"})");
    writeRaw(folder / "beacon.distinctId", "42");
    writeRaw(folder / "beacon.requestId", R"({"somethingElse":"abc"})");
    writeRaw(folder / "beacon.groups", R"(["not","a","dictionary"])");
    CapturedLog log;
    EXPECT_EQ(storage.getBool(StorageKey::optOut), std::nullopt);
    EXPECT_EQ(storage.getString(StorageKey::distinctId), std::nullopt);
    EXPECT_EQ(storage.getString(StorageKey::requestId), std::nullopt);
    EXPECT_EQ(storage.getDictionary(StorageKey::groups), std::nullopt);
    EXPECT_TRUE(log.contains("Failed to serialize key 'beacon.optOut' error: expected a bool"));
    EXPECT_TRUE(log.contains("Failed to serialize key 'beacon.distinctId' error: expected a string"));
    EXPECT_TRUE(log.contains("Failed to serialize key 'beacon.requestId' error: expected a string"));
    EXPECT_TRUE(log.contains("Failed to serialize key 'beacon.groups' error: expected a dictionary"));
}

TEST_F(BeaconStorageTest, ADirectoryWhereAKeyFileBelongsIsLoggedAndLeftAlone)
{
    fs::create_directory(folder / "beacon.distinctId");
    writeRaw(folder / "beacon.distinctId" / "inside", "x");
    CapturedLog log;
    EXPECT_EQ(storage.getString(StorageKey::distinctId), std::nullopt);
    storage.setString(StorageKey::distinctId, "someone");
    storage.remove(StorageKey::distinctId);
    storage.reset(false);
    EXPECT_TRUE(log.contains("Failed to read data for key 'beacon.distinctId' error: "));
    EXPECT_TRUE(log.contains("Failed to write data for key 'beacon.distinctId' error: "));
    EXPECT_TRUE(log.contains("Failed to remove data for key 'beacon.distinctId' error: "));
    EXPECT_TRUE(fs::exists(folder / "beacon.distinctId" / "inside"));
    EXPECT_EQ(entriesOf(folder), std::set<std::string> { "beacon.distinctId" })
        << "no temporary file left behind";
}

TEST_F(BeaconStorageTest, DeepNestingIsRefusedInsteadOfExhaustingTheStack)
{
    const std::size_t deep = 100'000;
    writeRaw(folder / "beacon.flags", std::string(deep, '[') + std::string(deep, ']'));
    CapturedLog log;
    EXPECT_EQ(storage.getJson(StorageKey::flags), std::nullopt);
    EXPECT_TRUE(log.contains("Failed to serialize key 'beacon.flags' error: nested too deeply"));

    // Brackets inside strings do not count, and ordinary depth is fine.
    const std::string inString = R"({"a":")" + std::string(1000, '[') + R"("})";
    writeRaw(folder / "beacon.groups", inString);
    EXPECT_EQ(storage.getDictionary(StorageKey::groups), Json::parse(inString));
    const std::string nested = std::string(100, '[') + std::string(100, ']');
    writeRaw(folder / "beacon.surveySeen", nested);
    EXPECT_EQ(storage.getJson(StorageKey::surveySeen), Json::parse(nested));
}

TEST_F(BeaconStorageTest, AValueThatCannotBeEncodedKeepsThePreviousFile)
{
    storage.setString(StorageKey::distinctId, "good");
    CapturedLog log;
    storage.setString(StorageKey::distinctId, std::string("\xff\xfe broken utf-8"));
    EXPECT_TRUE(log.contains("[Beacon] Failed to serialize key 'beacon.distinctId' error: "));
    EXPECT_EQ(storage.getString(StorageKey::distinctId), "good");
}

TEST_F(BeaconStorageTest, WritesReplaceFilesWholeAndPrivately)
{
    storage.setJson(StorageKey::registerProperties, Json { { "plan", std::string(100'000, 'x') } });
    storage.setJson(StorageKey::registerProperties, Json { { "plan", "short" } });
    EXPECT_EQ(readRaw(folder / "beacon.registerProperties"), R"({"plan":"short"})");
    EXPECT_EQ(entriesOf(folder), std::set<std::string> { "beacon.registerProperties" });
    struct stat info { };
    ASSERT_EQ(stat((folder / "beacon.registerProperties").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u) << "identity and properties are the user's alone";
}

// --- remove and reset -------------------------------------------------------------------

TEST_F(BeaconStorageTest, ResetDeletesTheListedFilesAndKeepsTheQueuesAndEvaluationTime)
{
    for (const bool keepAnonymousId : { false, true }) {
        SCOPED_TRACE(keepAnonymousId ? "keeping the anonymous id" : "dropping the anonymous id");
        std::set<std::string> all;
        for (const StorageKey key : beacon::allStorageKeys()) {
            const fs::path path = storage.url(key);
            if (key == StorageKey::queue || key == StorageKey::replayQeueue) {
                fs::create_directories(path);
                writeRaw(path / "0001.json", "{}");
            } else {
                writeRaw(path, "{}");
            }
            all.insert(path.filename().string());
        }
        storage.reset(keepAnonymousId);

        std::set<std::string> expected { "beacon.queueFolder", "beacon.replayFolder", "beacon.evaluatedAt" };
        if (keepAnonymousId)
            expected.insert("beacon.anonymousId");
        EXPECT_EQ(entriesOf(folder), expected);
        EXPECT_TRUE(fs::exists(folder / "beacon.queueFolder" / "0001.json"));
    }
}

TEST_F(BeaconStorageTest, ResetDeletesInTheAgreedOrderAndToleratesMissingFiles)
{
    const std::vector<std::string> order { "beacon.distinctId", "beacon.anonymousId", "beacon.queue.plist",
        "beacon.flags", "beacon.enabledFeatureFlags", "beacon.enabledFeatureFlagPayloads", "beacon.groups",
        "beacon.registerProperties", "beacon.optOut", "beacon.sessionReplay", "beacon.isIdentified",
        "beacon.enabledPersonProcessing", "beacon.remoteConfig", "beacon.surveySeen", "beacon.requestId",
        "beacon.personPropertiesForFlags", "beacon.groupPropertiesForFlags" };
    const auto names = [](bool keep) {
        std::vector<std::string> result;
        for (const StorageKey key : BeaconStorage::keysClearedByReset(keep))
            result.emplace_back(beacon::rawValue(key));
        return result;
    };
    EXPECT_EQ(names(false), order);
    std::vector<std::string> keeping = order;
    keeping.erase(keeping.begin() + 1);
    EXPECT_EQ(names(true), keeping);

    CapturedLog log;
    storage.reset(false);
    EXPECT_TRUE(log.lines().empty()) << "missing files are not an error";
}

TEST_F(BeaconStorageTest, RemoveDeletesOneKeyFile)
{
    storage.setString(StorageKey::requestId, "r-1");
    storage.setString(StorageKey::distinctId, "d-1");
    storage.remove(StorageKey::requestId);
    EXPECT_EQ(storage.getString(StorageKey::requestId), std::nullopt);
    EXPECT_EQ(storage.getString(StorageKey::distinctId), "d-1");
}

} // namespace
