#include "beacon/BeaconPlatform.h"

namespace beacon {

std::shared_ptr<BeaconPlatform> BeaconPlatform::headless()
{
    auto platform = std::make_shared<BeaconPlatform>();
    platform->folders = std::make_shared<XdgDataFolders>();
    platform->lifecycle = std::make_shared<SilentLifecycleSource>();
    platform->network = std::make_shared<AlwaysReachableNetworkSource>();
    return platform;
}

std::shared_ptr<const BeaconPlatform> platformOrHeadless(const std::shared_ptr<BeaconPlatform>& platform)
{
    if (!platform)
        return BeaconPlatform::headless();
    if (platform->folders && platform->lifecycle && platform->network)
        return platform;
    auto filled = std::make_shared<BeaconPlatform>(*platform);
    if (!filled->folders)
        filled->folders = std::make_shared<XdgDataFolders>();
    if (!filled->lifecycle)
        filled->lifecycle = std::make_shared<SilentLifecycleSource>();
    if (!filled->network)
        filled->network = std::make_shared<AlwaysReachableNetworkSource>();
    return filled;
}

} // namespace beacon
