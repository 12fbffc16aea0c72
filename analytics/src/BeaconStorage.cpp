#include "beacon/BeaconStorage.h"

#include <array>
#include <cerrno>
#include <system_error>
#include <utility>

#include <unistd.h>

#include "beacon/BeaconConfig.h"
#include "beacon/BeaconLog.h"
#include "beacon/BeaconPlatform.h"

#include "fileio/AtomicWrite.h"
#include "fileio/ErrnoText.h"
#include "fileio/Folders.h"
#include "fileio/JsonNesting.h"
#include "fileio/ReadFile.h"

namespace beacon {
namespace {
using Json = nlohmann::json;
using fileio::errnoText;
using fileio::FileContents;

constexpr std::array<std::pair<StorageKey, std::string_view>, 20> kFileNames { {
    { StorageKey::distinctId, "beacon.distinctId" },
    { StorageKey::anonymousId, "beacon.anonymousId" },
    { StorageKey::queue, "beacon.queueFolder" },
    { StorageKey::oldQeueue, "beacon.queue.plist" },
    { StorageKey::replayQeueue, "beacon.replayFolder" },
    { StorageKey::enabledFeatureFlags, "beacon.enabledFeatureFlags" },
    { StorageKey::enabledFeatureFlagPayloads, "beacon.enabledFeatureFlagPayloads" },
    { StorageKey::flags, "beacon.flags" },
    { StorageKey::groups, "beacon.groups" },
    { StorageKey::registerProperties, "beacon.registerProperties" },
    { StorageKey::optOut, "beacon.optOut" },
    { StorageKey::sessionReplay, "beacon.sessionReplay" },
    { StorageKey::isIdentified, "beacon.isIdentified" },
    { StorageKey::personProcessingEnabled, "beacon.enabledPersonProcessing" },
    { StorageKey::remoteConfig, "beacon.remoteConfig" },
    { StorageKey::surveySeen, "beacon.surveySeen" },
    { StorageKey::requestId, "beacon.requestId" },
    { StorageKey::evaluatedAt, "beacon.evaluatedAt" },
    { StorageKey::personPropertiesForFlags, "beacon.personPropertiesForFlags" },
    { StorageKey::groupPropertiesForFlags, "beacon.groupPropertiesForFlags" },
} };

void logKeyFailure(std::string_view what, StorageKey key, std::string_view error)
{
    std::string line(what);
    line.append(" '").append(rawValue(key)).append("' error: ").append(error);
    debugLog(line);
}
} // namespace

std::string_view rawValue(StorageKey key)
{
    for (const auto& [candidate, name] : kFileNames) {
        if (candidate == key)
            return name;
    }
    return {};
}

const std::vector<StorageKey>& allStorageKeys()
{
    static const std::vector<StorageKey> keys = [] {
        std::vector<StorageKey> all;
        all.reserve(kFileNames.size());
        for (const auto& entry : kFileNames)
            all.push_back(entry.first);
        return all;
    }();
    return keys;
}

BeaconStorage::BeaconStorage(const BeaconConfig& config)
{
    if (auto folder = folderFor(config)) {
        m_appFolder = std::move(*folder);
        createFolder();
    } else {
        debugLog(
            "Error creating storage directory: no data folder is known (XDG_DATA_HOME and HOME are unset)");
    }
}

BeaconStorage::BeaconStorage(std::filesystem::path appFolder)
    : m_appFolder(std::move(appFolder))
{
    createFolder();
}

std::optional<std::filesystem::path> BeaconStorage::folderFor(const BeaconConfig& config)
{
    const auto platform = platformOrHeadless(config.platform);
    try {
        if (config.appGroupIdentifier) {
            if (auto container = platform->folders->sharedContainer(*config.appGroupIdentifier))
                return *container / "Library" / "Application Support" / *config.appGroupIdentifier;
        }
        auto support = platform->folders->applicationSupportFolder();
        if (!support)
            return std::nullopt;
        const auto& identifier = platform->application.bundleIdentifier;
        return *support
            / (identifier && !identifier->empty() ? *identifier : kBeaconFallbackBundleIdentifier);
    } catch (const std::exception& error) {
        debugLog(std::string("Error creating storage directory: ") + error.what());
        return std::nullopt;
    }
}

void BeaconStorage::createFolder()
{
    // Private: the folder lists the queued events and holds the identity.
    const std::error_code error = fileio::createPrivateFolders(m_appFolder);
    if (error)
        debugLog("Error creating storage directory: " + error.message());
}

std::filesystem::path BeaconStorage::url(StorageKey key) const
{
    if (m_appFolder.empty())
        return {};
    return m_appFolder / rawValue(key);
}

std::optional<Json> BeaconStorage::getJson(StorageKey key) const
{
    if (m_appFolder.empty())
        return std::nullopt;
    const FileContents file = fileio::readWholeFile(url(key), maxFileSize);
    if (file.status == FileContents::Status::missing)
        return std::nullopt;
    if (file.status == FileContents::Status::failed) {
        logKeyFailure("Failed to read data for key", key, file.error);
        return std::nullopt;
    }
    if (fileio::nestsDeeperThan(file.bytes, maxNestingDepth)) {
        logKeyFailure("Failed to serialize key", key, "nested too deeply");
        return std::nullopt;
    }
    try {
        return Json::parse(file.bytes);
    } catch (const std::exception& error) {
        logKeyFailure("Failed to serialize key", key, error.what());
        return std::nullopt;
    }
}

void BeaconStorage::setJson(StorageKey key, const Json& value) const
{
    std::string bytes;
    try {
        if (value.is_object() || value.is_array())
            bytes = value.dump();
        else
            bytes = Json::object({ { std::string(rawValue(key)), value } }).dump();
    } catch (const std::exception& error) {
        logKeyFailure("Failed to serialize key", key, error.what());
        return;
    }
    if (m_appFolder.empty()) {
        logKeyFailure("Failed to write data for key", key, "no storage folder");
        return;
    }
    if (const std::error_code error = fileio::writeFileAtomically(url(key), bytes))
        logKeyFailure("Failed to write data for key", key, error.message());
}

std::optional<Json> BeaconStorage::unwrapped(StorageKey key, Json::value_t type, const char* typeName) const
{
    auto value = getJson(key);
    if (!value)
        return std::nullopt;
    if (value->type() == type)
        return value;
    if (value->is_object()) {
        const auto wrapped = value->find(rawValue(key));
        if (wrapped != value->end() && wrapped->type() == type)
            return *wrapped;
    }
    logKeyFailure("Failed to serialize key", key, std::string("expected ") + typeName);
    return std::nullopt;
}

std::optional<std::string> BeaconStorage::getString(StorageKey key) const
{
    if (auto value = unwrapped(key, Json::value_t::string, "a string"))
        return value->get<std::string>();
    return std::nullopt;
}

void BeaconStorage::setString(StorageKey key, std::string_view value) const
{
    setJson(key, Json(value));
}

std::optional<bool> BeaconStorage::getBool(StorageKey key) const
{
    if (auto value = unwrapped(key, Json::value_t::boolean, "a bool"))
        return value->get<bool>();
    return std::nullopt;
}

void BeaconStorage::setBool(StorageKey key, bool value) const
{
    setJson(key, Json(value));
}

std::optional<Json> BeaconStorage::getDictionary(StorageKey key) const
{
    auto value = getJson(key);
    if (!value || value->is_object())
        return value;
    logKeyFailure("Failed to serialize key", key, "expected a dictionary");
    return std::nullopt;
}

void BeaconStorage::remove(StorageKey key) const
{
    if (m_appFolder.empty())
        return;
    // unlink, not remove: a folder that stands where a file belongs is not ours to delete.
    if (::unlink(url(key).c_str()) != 0 && errno != ENOENT)
        logKeyFailure("Failed to remove data for key", key, errnoText(errno));
}

std::vector<StorageKey> BeaconStorage::keysClearedByReset(bool keepAnonymousId)
{
    std::vector<StorageKey> keys { StorageKey::distinctId };
    if (!keepAnonymousId)
        keys.push_back(StorageKey::anonymousId);
    keys.insert(keys.end(),
        { StorageKey::oldQeueue, StorageKey::flags, StorageKey::enabledFeatureFlags,
            StorageKey::enabledFeatureFlagPayloads, StorageKey::groups, StorageKey::registerProperties,
            StorageKey::optOut, StorageKey::sessionReplay, StorageKey::isIdentified,
            StorageKey::personProcessingEnabled, StorageKey::remoteConfig, StorageKey::surveySeen,
            StorageKey::requestId, StorageKey::personPropertiesForFlags,
            StorageKey::groupPropertiesForFlags });
    return keys;
}

void BeaconStorage::reset(bool keepAnonymousId) const
{
    for (const StorageKey key : keysClearedByReset(keepAnonymousId))
        remove(key);
}

} // namespace beacon
