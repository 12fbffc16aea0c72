#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "beacon/BeaconUuid.h"

namespace beacon {

class BeaconConfig;
class BeaconStorage;
enum class BeaconPersonProfiles : int;

/// The person behind the events: anonymous id, distinct id and the identified and
/// person-processing flags, cached in memory and kept in storage. Safe from any thread.
class BeaconStorageManager {
public:
    using AnonymousIdHook = std::function<BeaconUuid(BeaconUuid)>;

    /// Storage in the folder `config` resolves to; new anonymous ids pass `config.getAnonymousId`.
    explicit BeaconStorageManager(const BeaconConfig& config);
    BeaconStorageManager(std::shared_ptr<BeaconStorage> storage, AnonymousIdHook idGen);

    BeaconStorageManager(const BeaconStorageManager&) = delete;
    BeaconStorageManager& operator=(const BeaconStorageManager&) = delete;

    /// The stored id, or a new time-ordered one (made once, then stored).
    std::string getAnonymousId();
    void setAnonymousId(const std::string& id);
    /// The stored distinct id, else the anonymous id.
    std::string getDistinctId();
    void setDistinctId(const std::string& id);
    /// The stored flag, else whether the distinct id differs from the anonymous id.
    bool isIdentified();
    void setIdentified(bool identified);
    /// The stored flag; absent counts as false.
    bool isPersonProcessing();
    void setPersonProcessing(bool enabled);

    /// The check before an operation that needs a person profile: refused (with a log
    /// line naming `functionName`) under `never`, otherwise switches person processing on.
    bool requirePersonProcessing(BeaconPersonProfiles policy, std::string_view functionName);

    /// Forgets the distinct id, the flags and, unless `keepAnonymousId`, the anonymous id.
    void reset(bool keepAnonymousId);

    const std::shared_ptr<BeaconStorage>& storage() const { return m_storage; }

private:
    std::shared_ptr<BeaconStorage> m_storage;
    std::mutex m_anonLock;
    std::mutex m_distinctLock;
    std::mutex m_identifiedLock;
    std::mutex m_personProcessingLock;
    AnonymousIdHook m_idGen;
    std::optional<std::string> m_cachedDistinctId; // m_distinctLock
    std::optional<std::string> m_anonymousId; // m_anonLock
    std::optional<bool> m_isIdentifiedValue; // m_identifiedLock; nothing = not known yet
    std::optional<bool> m_personProcessingEnabled; // m_personProcessingLock; nothing = not known yet
};

} // namespace beacon
