#pragma once

#include <memory>

#include "beacon/BeaconApplicationInfo.h"
#include "beacon/BeaconDataFolders.h"
#include "beacon/BeaconLifecycleSource.h"
#include "beacon/BeaconNetworkStateSource.h"

namespace beacon {

/// Everything the library needs from the desktop, handed in through `BeaconConfig::platform`.
/// A missing part is replaced by its headless default.
class BeaconPlatform {
public:
    BeaconApplicationInfo application;
    std::shared_ptr<BeaconDataFolders> folders;
    std::shared_ptr<BeaconLifecycleSource> lifecycle;
    std::shared_ptr<BeaconNetworkStateSource> network;

    /// No application facts, XDG folders, no lifecycle events, a network that is always reachable.
    static std::shared_ptr<BeaconPlatform> headless();
};

/// `platform` with every missing part filled from the headless default (all of it when null).
std::shared_ptr<const BeaconPlatform> platformOrHeadless(const std::shared_ptr<BeaconPlatform>& platform);

} // namespace beacon
