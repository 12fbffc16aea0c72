#include "beacon/BeaconStorageManager.h"

#include "beacon/BeaconConfig.h"
#include "beacon/BeaconLog.h"
#include "beacon/BeaconStorage.h"
#include "beacon/TimeBasedEpochGenerator.h"

namespace beacon {
namespace {
/// An empty stored id is as good as none: handing it out would merge every user into "".
std::optional<std::string> nonEmpty(std::optional<std::string> value)
{
    if (value && value->empty())
        return std::nullopt;
    return value;
}
} // namespace

BeaconStorageManager::BeaconStorageManager(const BeaconConfig& config)
    : BeaconStorageManager(std::make_shared<BeaconStorage>(config), config.getAnonymousId)
{ }

BeaconStorageManager::BeaconStorageManager(std::shared_ptr<BeaconStorage> storage, AnonymousIdHook idGen)
    : m_storage(std::move(storage))
    , m_idGen(std::move(idGen))
{ }

std::string BeaconStorageManager::getAnonymousId()
{
    const std::lock_guard lock(m_anonLock);
    if (!m_anonymousId)
        m_anonymousId = nonEmpty(m_storage->getString(StorageKey::anonymousId));
    if (!m_anonymousId) {
        BeaconUuid uuid = TimeBasedEpochGenerator::shared().timeOrderedUuid();
        if (m_idGen)
            uuid = m_idGen(uuid);
        m_anonymousId = uuid.toString();
        m_storage->setString(StorageKey::anonymousId, *m_anonymousId);
    }
    return *m_anonymousId;
}

void BeaconStorageManager::setAnonymousId(const std::string& id)
{
    const std::lock_guard lock(m_anonLock);
    m_anonymousId = id;
    m_storage->setString(StorageKey::anonymousId, id);
}

std::string BeaconStorageManager::getDistinctId()
{
    const std::lock_guard lock(m_distinctLock);
    if (!m_cachedDistinctId)
        m_cachedDistinctId = nonEmpty(m_storage->getString(StorageKey::distinctId));
    if (m_cachedDistinctId)
        return *m_cachedDistinctId;
    return getAnonymousId();
}

void BeaconStorageManager::setDistinctId(const std::string& id)
{
    const std::lock_guard lock(m_distinctLock);
    m_cachedDistinctId = id;
    m_storage->setString(StorageKey::distinctId, id);
}

bool BeaconStorageManager::isIdentified()
{
    const std::lock_guard lock(m_identifiedLock);
    if (!m_isIdentifiedValue)
        m_isIdentifiedValue = m_storage->getBool(StorageKey::isIdentified);
    if (!m_isIdentifiedValue)
        m_isIdentifiedValue = getDistinctId() != getAnonymousId();
    return *m_isIdentifiedValue;
}

void BeaconStorageManager::setIdentified(bool identified)
{
    const std::lock_guard lock(m_identifiedLock);
    m_isIdentifiedValue = identified;
    m_storage->setBool(StorageKey::isIdentified, identified);
}

bool BeaconStorageManager::isPersonProcessing()
{
    const std::lock_guard lock(m_personProcessingLock);
    if (!m_personProcessingEnabled)
        m_personProcessingEnabled = m_storage->getBool(StorageKey::personProcessingEnabled).value_or(false);
    return *m_personProcessingEnabled;
}

void BeaconStorageManager::setPersonProcessing(bool enabled)
{
    const std::lock_guard lock(m_personProcessingLock);
    m_personProcessingEnabled = enabled;
    m_storage->setBool(StorageKey::personProcessingEnabled, enabled);
}

bool BeaconStorageManager::requirePersonProcessing(BeaconPersonProfiles policy, std::string_view functionName)
{
    if (policy == BeaconPersonProfiles::never) {
        debugLog(std::string(functionName)
            + " was called, but `personProfiles` is set to `never`. This call will be ignored.");
        return false;
    }
    const std::lock_guard lock(m_personProcessingLock);
    if (!m_personProcessingEnabled)
        m_personProcessingEnabled = m_storage->getBool(StorageKey::personProcessingEnabled).value_or(false);
    if (!*m_personProcessingEnabled) {
        m_personProcessingEnabled = true;
        m_storage->setBool(StorageKey::personProcessingEnabled, true);
    }
    return true;
}

void BeaconStorageManager::reset(bool keepAnonymousId)
{
    {
        const std::lock_guard lock(m_distinctLock);
        m_cachedDistinctId.reset();
        m_storage->remove(StorageKey::distinctId);
    }
    if (!keepAnonymousId) {
        const std::lock_guard lock(m_anonLock);
        m_anonymousId.reset();
        m_storage->remove(StorageKey::anonymousId);
    }
    {
        const std::lock_guard lock(m_identifiedLock);
        m_isIdentifiedValue.reset();
        m_storage->remove(StorageKey::isIdentified);
    }
    {
        const std::lock_guard lock(m_personProcessingLock);
        m_personProcessingEnabled.reset();
        m_storage->remove(StorageKey::personProcessingEnabled);
    }
}

} // namespace beacon
