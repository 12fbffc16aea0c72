#include "AnalyticsPlatform.h"

#include <QCoreApplication>
#include <QLocale>

#include "beacon/BeaconPlatform.h"
#include "platform/AppIds.h"

std::shared_ptr<beacon::BeaconPlatform> makeAnalyticsPlatform(
    std::shared_ptr<beacon::BeaconNetworkStateSource> network,
    std::shared_ptr<beacon::BeaconLifecycleSource> lifecycle)
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
    platform->application.build = VELTO_BUILD_NUMBER;
    // For $locale when LANG and LC_* name no language (unset, C or POSIX).
    platform->application.locale = toolkitLocaleName().toStdString();
    // The storage folder is named after this id, beside Velto's own data.
    platform->application.bundleIdentifier = AppIds::application;
    platform->folders = std::make_shared<beacon::XdgDataFolders>();
    platform->lifecycle = std::move(lifecycle);
    platform->network = std::move(network);
    return platform;
}

QString toolkitLocaleName()
{
    const QLocale locale;
    if (locale.language() == QLocale::C)
        return QStringLiteral("en-US");
    return locale.name().replace(QLatin1Char('_'), QLatin1Char('-'));
}
