// Velto: a focus timer in the system tray.
#include <QApplication>
#include <QQuickWindow>
#include <QTimer>
#include <QtQml/qqmlextensionplugin.h>

#include "AppDelegate.h"
#include "AppFocusProtection.h"
#include "AppServices.h"
#include "AppViews.h"
#include "BusObject.h"
#include "DisplayCheck.h"
#include "FileDialogs.h"
#include "SelfTest.h"
#include "SingleInstance.h"
#include "cli/Cli.h"
#include "data/SessionStore.h"
#include "i18n/Translations.h"
#include "platform/AppIds.h"
#include "platform/QuitOnSignals.h"
#include "services/AnalyticsLifecycleSource.h"
#include "services/AnalyticsPlatform.h"
#include "services/AnalyticsService.h"
#include "services/BeaconAnalyticsClient.h"
#include "services/LogindResumeWatcher.h"
#include "services/NetworkManagerStateSource.h"
#include "services/UpdateManager.h"
#include "ui/DialogWindows.h"
#include "ui/ViewEngine.h"

Q_IMPORT_QML_PLUGIN(VeltoPlugin)

namespace {
/// The analytics host can be pointed elsewhere for tests and staging.
std::optional<std::string> analyticsHostOverride()
{
    const QByteArray host = qgetenv("VELTO_ANALYTICS_HOST");
    return host.isEmpty() ? std::nullopt : std::optional<std::string>(host.toStdString());
}
} // namespace

int main(int argc, char** argv)
{
    // `velto <command>` talks to the running Velto and never creates a GUI or claims the bus name.
    if (Cli::handles(argc, argv))
        return Cli::run(argc, argv);

    if (!DisplayCheck::displayNamed(argc, argv))
        return DisplayCheck::fail();

    // A small popover and a few cards: the software renderer draws them with a
    // fraction of the memory an OpenGL context takes. QT_QUICK_BACKEND still overrides.
    if (qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND"))
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    FileDialogs::preferDesktopPortal();
    auto displayCheck = std::make_unique<DisplayCheck::Guard>();
    QApplication app(argc, argv);
    displayCheck.reset();
    FileDialogs::forgetPortalChoice();
    QApplication::setApplicationName(QStringLiteral("Velto"));
    QApplication::setApplicationVersion(QStringLiteral(VELTO_VERSION));
    QApplication::setDesktopFileName(QString::fromLatin1(AppIds::application));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/velto/app-icon.svg")));
    QApplication::setQuitOnLastWindowClosed(false);
    Translations::installForUser();

    if (QApplication::arguments().contains(QStringLiteral("--self-test")))
        return SelfTest::run();

    QDBusConnection bus = QDBusConnection::sessionBus();
    const SingleInstance::Claim claim = SingleInstance::claim(bus);
    if (claim == SingleInstance::Claim::alreadyRunning)
        return SingleInstance::activateRunning(bus) ? 0 : 1;

    AppPlatform platform;

    // Launch, in order: analytics first, then the tray item and the managers behind it.
    BeaconAnalyticsClient analyticsClient;
    auto lifecycle = std::make_shared<AnalyticsLifecycleSource>();
    AnalyticsService analytics({ analyticsClient, platform.preferences, platform.clock, MachineIdentity(),
        makeAnalyticsPlatform(std::make_shared<NetworkManagerStateSource>(), lifecycle),
        AnalyticsService::doNotTrackRequested(), analyticsHostOverride() });
    analytics.setup();
    QObject::connect(&app, &QGuiApplication::applicationStateChanged, lifecycle.get(),
        &AnalyticsLifecycleSource::setApplicationState);

    AppManagers managers(platform);
    // A resume after midnight starts the new day at once, not at the next tick.
    LogindResumeWatcher resumeWatcher;
    QObject::connect(&resumeWatcher, &LogindResumeWatcher::resumed, &managers.timer, &TimerManager::checkDay);
    AppFocusProtection focusProtection(platform, managers.timer);
    AppViews views(platform, managers, analytics);
    views.publish(managers, &focusProtection.viewModel);
    QObject::connect(&views.navigation, &DashboardNavigation::sectionSelected, &analytics,
        &AnalyticsService::trackDashboardOpened);

    ViewEngine engine;
    DialogWindows dialogs(engine);
    std::unique_ptr<UpdateManager> updates;
    AppDelegate delegate({ managers.timer, managers.theme, views.popover, engine, dialogs,
        [&]() -> UpdateManager& {
            if (!updates) {
                updates = std::make_unique<UpdateManager>(platform.preferences, platform.clock);
                QObject::connect(updates.get(), &UpdateManager::checkForUpdatesFinished, &dialogs,
                    &DialogWindows::showUpdateResult);
                QObject::connect(
                    updates.get(), &UpdateManager::updateFound, &dialogs, &DialogWindows::showUpdateResult);
            }
            return *updates;
        },
        platform.preferences });
    delegate.applicationDidFinishLaunching();
    // Back after focus was paused for them, or a click on the end notification: the timer shows.
    QObject::connect(
        &focusProtection.protection, &FocusProtection::returned, &delegate, &AppDelegate::showPopover);
    QObject::connect(
        &managers.timer, &TimerManager::endNotificationOpened, &delegate, &AppDelegate::showPopover);
    QObject::connect(
        &focusProtection.shortcuts, &GlobalShortcuts::activated, &delegate, [&delegate](const QString& id) {
            if (id == QLatin1String(GlobalShortcuts::openId))
                delegate.showPopover();
        });
    // Once the tray item is up and nothing else competes: read the history in the background.
    QTimer::singleShot(std::chrono::seconds(2), &app, [&managers] { managers.preloadHistory(); });
    QObject::connect(
        &delegate, &AppDelegate::quitRequested, &app, &QCoreApplication::quit, Qt::QueuedConnection);
    QObject::connect(&views.navigation, &DashboardNavigation::quitRequested, &app, &QCoreApplication::quit,
        Qt::QueuedConnection);
    QObject::connect(
        &views.navigation, &DashboardNavigation::aboutRequested, &delegate, &AppDelegate::showAbout);
    QuitOnSignals signalHandling;
    QObject::connect(&signalHandling, &QuitOnSignals::quitRequested, &app, &QCoreApplication::quit);

    BusObject busObject(managers.timer, managers.tags);
    QObject::connect(&busObject, &BusObject::activated, &delegate,
        [&delegate] { delegate.applicationShouldHandleReopen(delegate.hasVisibleWindows()); });
    QObject::connect(&busObject, &BusObject::dashboardRequested, &delegate, &AppDelegate::openDashboard);
    if (claim != SingleInstance::Claim::claimed || !busObject.registerOn(bus))
        qInfo("No session bus: Velto runs without its D-Bus interface");

    // A history or preferences save that failed is tried once more; what still fails is lost,
    // which Velto says, and its exit status shows.
    bool everythingSaved = true;
    QObject::connect(
        &app, &QCoreApplication::aboutToQuit, [&] { everythingSaved = managers.saveBeforeQuit(); });
    const int status = QApplication::exec();
    return everythingSaved ? status : EXIT_FAILURE;
}
