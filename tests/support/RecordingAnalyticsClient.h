#pragma once

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "beacon/BeaconConfig.h"
#include "services/AnalyticsClient.h"

/// An analytics client that keeps what it is asked to do.
struct RecordingAnalyticsClient final : AnalyticsClient {
    std::vector<std::shared_ptr<beacon::BeaconConfig>> setups;
    std::vector<std::string> identities;
    std::vector<std::pair<std::string, std::map<std::string, std::string>>> captures;
    int closes = 0;

    void setup(std::shared_ptr<beacon::BeaconConfig> config) override { setups.push_back(std::move(config)); }
    void identify(const std::string& id) override { identities.push_back(id); }
    void capture(const std::string& event, const std::map<std::string, std::string>& properties) override
    {
        captures.emplace_back(event, properties);
    }
    void close() override { ++closes; }
};
