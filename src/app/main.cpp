// Velto: a focus timer in the system tray.
#include <QApplication>
#include <QQuickWindow>
#include <QTimer>
#include <QtQml/qqmlextensionplugin.h>

#include "AppDelegate.h"
#include "AppServices.h"
#include "AppViews.h"
#include "QuitOnSignals.h"
#include "SelfTest.h"
#include "SingleInstance.h"
#include "TimerBusAdaptor.h"
#include "cli/Cli.h"
#include "data/SessionStore.h"
#include "platform/AppIds.h"
#include "services/AnalyticsLifecycleSource.h"
#include "services/AnalyticsPlatform.h"
#include "services/AnalyticsService.h"
#include "services/BeaconAnalyticsClient.h"
#include "services/LogindResumeWatcher.h"
#include "services/NetworkManagerStateSource.h"
#include "services/UpdateManager.h"
#include "statusbar/UpdateDialog.h"
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

    // A small popover and a few cards: the software renderer draws them with a
    // fraction of the memory an OpenGL context takes. QT_QUICK_BACKEND still overrides.
    if (qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND"))
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velto"));
    QApplication::setApplicationVersion(QStringLiteral(VELTO_VERSION));
    QApplication::setDesktopFileName(QString::fromLatin1(AppIds::application));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/velto/app-icon.svg")));
    QApplication::setQuitOnLastWindowClosed(false);

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
    AppViews views(platform, managers, analytics);
    views.publish(managers);
    QObject::connect(&views.navigation, &DashboardNavigation::sectionSelected, &analytics,
                     &AnalyticsService::trackDashboardOpened);

    ViewEngine engine;
    std::unique_ptr<UpdateManager> updates;
    AppDelegate delegate({ managers.timer, managers.theme, views.popover, engine, [&]() -> UpdateManager& {
                              if (!updates) {
                                  updates = std::make_unique<UpdateManager>(platform.preferences, platform.clock);
                                  QObject::connect(updates.get(), &UpdateManager::checkForUpdatesFinished, &UpdateDialog::show);
                                  QObject::connect(updates.get(), &UpdateManager::updateFound, &UpdateDialog::show);
                              }
                              return *updates;
                          } });
    delegate.applicationDidFinishLaunching();
    // Once the tray item is up and nothing else competes: read the history in the background.
    QTimer::singleShot(std::chrono::seconds(2), &app, [&managers] { managers.preloadHistory(); });
    QObject::connect(&delegate, &AppDelegate::quitRequested, &app, &QCoreApplication::quit, Qt::QueuedConnection);
    QObject::connect(&views.navigation, &DashboardNavigation::quitRequested, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    QObject::connect(&views.navigation, &DashboardNavigation::aboutRequested, &delegate, &AppDelegate::showAbout);
    QuitOnSignals signalHandling;
    QObject::connect(&signalHandling, &QuitOnSignals::quitRequested, &app, &QCoreApplication::quit);

    ApplicationAdaptor* adaptor = new ApplicationAdaptor(&delegate);
    QObject::connect(adaptor, &ApplicationAdaptor::activated, &delegate,
                     [&delegate] { delegate.applicationShouldHandleReopen(delegate.hasVisibleWindows()); });
    if (claim == SingleInstance::Claim::claimed) {
        new TimerBusAdaptor(delegate, managers.timer, managers.tags, bus);
        bus.registerObject(QString::fromLatin1(AppIds::objectPath), &delegate);
    } else {
        qInfo("No session bus: Velto runs without its D-Bus interface");
    }

    // Nothing unsaved is left behind: a history or preferences save that failed is tried once more.
    QObject::connect(&app, &QCoreApplication::aboutToQuit, [&] {
        if (managers.hasSessionStore())
            managers.sessionStore().flush();
        platform.preferences.flush();
    });
    return QApplication::exec();
}
