#pragma once

#include <QString>
#include <memory>

namespace beacon {
class BeaconLifecycleSource;
class BeaconNetworkStateSource;
class BeaconPlatform;
} // namespace beacon

/// The desktop as the analytics client sees it: Velto's name, version, build number and id,
/// the toolkit's locale, the XDG data folder, `network` for reachability and `lifecycle` for
/// the application's state (analytics sessions follow it; see AnalyticsLifecycleSource).
std::shared_ptr<beacon::BeaconPlatform> makeAnalyticsPlatform(
    std::shared_ptr<beacon::BeaconNetworkStateSource> network,
    std::shared_ptr<beacon::BeaconLifecycleSource> lifecycle);

/// The default QLocale as a BCP 47 tag ("pt-BR"); "en-US" for the C and POSIX locales,
/// whose conventions are American English.
QString toolkitLocaleName();
