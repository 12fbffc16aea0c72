#pragma once

#include <functional>
#include <system_error>

#include "beacon/ReachabilityFlags.h"

namespace beacon {

/// Where the network state comes from (on Linux: NetworkManager over D-Bus, where a
/// usable primary connection maps to `reachable`, one still being set up to
/// `reachable | connectionRequired | connectionOnTraffic`, and a captive portal adds
/// `interventionRequired`; without NetworkManager it reports `reachable | assumed`).
/// Implemented by the host application.
class BeaconNetworkStateSource {
public:
    using ChangeHandler = std::function<void()>;
    virtual ~BeaconNetworkStateSource() = default;
    /// Reads the current flags into `flags`; an error leaves `flags` as it was.
    virtual std::error_code readFlags(ReachabilityFlags& flags) = 0;
    /// Calls `onChange`, from any thread, whenever the flags may have changed, until
    /// `stopWatching`. Replaces an earlier handler. `onChange` returns at once.
    virtual std::error_code startWatching(ChangeHandler onChange) = 0;
    /// Drops the handler; may be called from any thread and when not watching.
    virtual void stopWatching() = 0;
};

/// Without a network manager to ask, the network counts as reachable (an assumption).
class AlwaysReachableNetworkSource final : public BeaconNetworkStateSource {
public:
    std::error_code readFlags(ReachabilityFlags& flags) override
    {
        flags = ReachabilityFlag::reachable | ReachabilityFlag::assumed;
        return {};
    }
    std::error_code startWatching(ChangeHandler) override { return {}; }
    void stopWatching() override { }
};

} // namespace beacon
