#include "BeaconAnalyticsClient.h"

#include <filesystem>
#include <optional>

#include "beacon/BeaconSDK.h"
#include "beacon/BeaconStorage.h"

BeaconAnalyticsClient::BeaconAnalyticsClient()
    : m_client(beacon::BeaconSDK::shared())
{ }

BeaconAnalyticsClient::BeaconAnalyticsClient(beacon::BeaconSDK& client)
    : m_client(client)
{ }

void BeaconAnalyticsClient::setup(std::shared_ptr<beacon::BeaconConfig> config)
{
    m_client.setup(std::move(config));
}

void BeaconAnalyticsClient::identify(const std::string& distinctId)
{
    m_client.identify(distinctId);
}

void BeaconAnalyticsClient::capture(
    const std::string& event, const std::map<std::string, std::string>& properties)
{
    beacon::BeaconProperties converted;
    for (const auto& [key, value] : properties)
        converted.emplace(key, value);
    m_client.capture(event, converted);
}

void BeaconAnalyticsClient::close()
{
    // Closing keeps the queued files for the next start; once the user stops sharing they must never go out.
    const std::optional<std::filesystem::path> folder
        = m_client.isEnabled() ? beacon::BeaconStorage::folderFor(*m_client.config()) : std::nullopt;
    m_client.close();
    if (!folder)
        return;
    for (const beacon::StorageKey key :
        { beacon::StorageKey::queue, beacon::StorageKey::oldQeueue, beacon::StorageKey::replayQeueue }) {
        std::error_code ignored;
        std::filesystem::remove_all(*folder / beacon::rawValue(key), ignored);
    }
}
