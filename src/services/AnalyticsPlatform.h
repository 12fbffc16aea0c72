#pragma once

#include <memory>

namespace beacon {
class BeaconNetworkStateSource;
class BeaconPlatform;
} // namespace beacon

/// The desktop as the analytics client sees it: Velto's name, version and id, the XDG data
/// folder, and `network` for reachability. Application lifecycle events are not reported
/// (Velto does not capture them).
std::shared_ptr<beacon::BeaconPlatform> makeAnalyticsPlatform(std::shared_ptr<beacon::BeaconNetworkStateSource> network);
