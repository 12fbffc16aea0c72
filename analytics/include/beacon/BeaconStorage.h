#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

namespace beacon {

class BeaconConfig;

/// The library's stored values; each raw value is a file name inside the storage folder.
/// The misspelled queue cases keep the names other code already uses.
enum class StorageKey {
    distinctId,
    anonymousId,
    queue,
    oldQeueue,
    replayQeueue,
    enabledFeatureFlags,
    enabledFeatureFlagPayloads,
    flags,
    groups,
    registerProperties,
    optOut,
    sessionReplay,
    isIdentified,
    personProcessingEnabled,
    remoteConfig,
    surveySeen,
    requestId,
    evaluatedAt,
    personPropertiesForFlags,
    groupPropertiesForFlags,
};

/// The file name of `key`, e.g. "beacon.distinctId".
std::string_view rawValue(StorageKey key);

/// Every key, in declaration order.
const std::vector<StorageKey>& allStorageKeys();

/// One small JSON file per key in one folder. Dictionaries and arrays are stored as
/// they are; any other value is wrapped as {"<file name>": value}. Nothing here throws:
/// failures are logged and read as "no value".
class BeaconStorage {
public:
    /// Uses (and creates) the folder that `config` resolves to.
    explicit BeaconStorage(const BeaconConfig& config);
    /// Uses (and creates) `appFolder`.
    explicit BeaconStorage(std::filesystem::path appFolder);

    /// The app-group container when configured and present, else the application data
    /// folder + the bundle identifier (or the fallback identifier); nothing when neither is known.
    static std::optional<std::filesystem::path> folderFor(const BeaconConfig& config);

    /// Empty when no folder could be determined.
    const std::filesystem::path& appFolderUrl() const { return m_appFolder; }
    std::filesystem::path url(StorageKey key) const;

    std::optional<nlohmann::json> getJson(StorageKey key) const;
    void setJson(StorageKey key, const nlohmann::json& value) const;

    /// Accept the bare value as well as the wrapped one.
    std::optional<std::string> getString(StorageKey key) const;
    void setString(StorageKey key, std::string_view value) const;
    std::optional<bool> getBool(StorageKey key) const;
    void setBool(StorageKey key, bool value) const;
    /// The stored object; anything else yields nothing.
    std::optional<nlohmann::json> getDictionary(StorageKey key) const;

    /// Deletes the key's file; a missing file is fine.
    void remove(StorageKey key) const;
    /// Deletes the identity, flag, property and setting files (see `keysClearedByReset`);
    /// the queue folders and the flag evaluation time stay.
    void reset(bool keepAnonymousId) const;
    /// The keys `reset` deletes, in the order it deletes them.
    static std::vector<StorageKey> keysClearedByReset(bool keepAnonymousId);

    /// Key files larger than this are refused rather than read into memory.
    static constexpr std::size_t maxFileSize = std::size_t { 32 } * 1024 * 1024;
    /// Deeper nesting is refused: writing such a value back would exhaust the stack.
    static constexpr std::size_t maxNestingDepth = 256;

private:
    void createFolder();
    std::optional<nlohmann::json> unwrapped(
        StorageKey key, nlohmann::json::value_t type, const char* typeName) const;

    std::filesystem::path m_appFolder;
};

} // namespace beacon
