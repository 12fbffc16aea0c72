#include "AnalyticsPlatform.h"

#include <QCoreApplication>

#include "beacon/BeaconPlatform.h"
#include "platform/AppIds.h"

std::shared_ptr<beacon::BeaconPlatform> makeAnalyticsPlatform(std::shared_ptr<beacon::BeaconNetworkStateSource> network)
{
    auto platform = std::make_shared<beacon::BeaconPlatform>();
    const QString name = QCoreApplication::applicationName();
    if (!name.isEmpty()) {
        platform->application.name = name.toStdString();
        platform->application.displayName = name.toStdString();
    }
    const QString version = QCoreApplication::applicationVersion();
    if (!version.isEmpty())
        platform->application.shortVersion = version.toStdString();
    // The storage folder is named after this id, beside Velto's own data.
    platform->application.bundleIdentifier = AppIds::application;
    platform->folders = std::make_shared<beacon::XdgDataFolders>();
    platform->lifecycle = std::make_shared<beacon::SilentLifecycleSource>();
    platform->network = std::move(network);
    return platform;
}
