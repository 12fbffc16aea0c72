#pragma once

#include <map>
#include <memory>
#include <string>

namespace beacon {
class BeaconConfig;
}

/// The slice of the analytics client that Velto uses.
class AnalyticsClient {
public:
    virtual ~AnalyticsClient() = default;
    virtual void setup(std::shared_ptr<beacon::BeaconConfig> config) = 0;
    virtual void identify(const std::string& distinctId) = 0;
    virtual void capture(const std::string& event, const std::map<std::string, std::string>& properties) = 0;
    /// Stops the client: nothing more is sent, and events still waiting to be sent are deleted.
    /// `setup` may start it again.
    virtual void close() = 0;
};
