#include "BeaconAnalyticsClient.h"

#include "beacon/BeaconSDK.h"

BeaconAnalyticsClient::BeaconAnalyticsClient() : m_client(beacon::BeaconSDK::shared()) { }

BeaconAnalyticsClient::BeaconAnalyticsClient(beacon::BeaconSDK& client) : m_client(client) { }

void BeaconAnalyticsClient::setup(std::shared_ptr<beacon::BeaconConfig> config) { m_client.setup(std::move(config)); }

void BeaconAnalyticsClient::identify(const std::string& distinctId) { m_client.identify(distinctId); }

void BeaconAnalyticsClient::capture(const std::string& event, const std::map<std::string, std::string>& properties)
{
    beacon::BeaconProperties converted;
    for (const auto& [key, value] : properties)
        converted.emplace(key, value);
    m_client.capture(event, converted);
}
