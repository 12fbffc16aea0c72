#pragma once

#include "AnalyticsClient.h"

namespace beacon {
class BeaconSDK;
}

/// Velto's analytics calls, passed on to the analytics library's client.
class BeaconAnalyticsClient final : public AnalyticsClient {
public:
    /// Uses the process-wide client.
    BeaconAnalyticsClient();
    /// Uses `client`, which must outlive this object.
    explicit BeaconAnalyticsClient(beacon::BeaconSDK& client);

    void setup(std::shared_ptr<beacon::BeaconConfig> config) override;
    void identify(const std::string& distinctId) override;
    void capture(const std::string& event, const std::map<std::string, std::string>& properties) override;
    void close() override;

private:
    beacon::BeaconSDK& m_client;
};
