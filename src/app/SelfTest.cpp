#include "SelfTest.h"

#include <QFontDatabase>
#include <QQuickWindow>
#include <QTemporaryDir>
#include <QTextStream>

#include "AppFocusProtection.h"
#include "AppViews.h"
#include "services/AnalyticsService.h"
#include "services/BeaconAnalyticsClient.h"
#include "ui/ViewEngine.h"

namespace SelfTest {

int run()
{
    QTextStream out(stdout);
    QTemporaryDir profile;
    AppPlatform platform({ profile.filePath(QStringLiteral("preferences.json")),
        profile.filePath(QStringLiteral("sessions.json")) });
    AppManagers managers(platform);
    // Never set up: the self-test sends nothing.
    BeaconAnalyticsClient analyticsClient;
    AnalyticsService analytics(
        { analyticsClient, platform.preferences, platform.clock, MachineIdentity(), nullptr, true });
    AppFocusProtection focusProtection(platform, managers.timer);
    AppViews views(platform, managers, analytics);
    views.publish(managers, &focusProtection.viewModel);

    QStringList failures;
    for (const char* family : { "Quicksand", "JetBrains Mono" }) {
        if (!QFontDatabase::hasFamily(QString::fromLatin1(family)))
            failures.append(QStringLiteral("font %1 is not installed").arg(QLatin1String(family)));
    }
    ViewEngine engine;
    const QList<QPair<QString, QVariantMap>> roots {
        { QStringLiteral("PopoverWindow.qml"), {} },
        { QStringLiteral("DashboardWindow.qml"),
            { { QStringLiteral("initialSection"), QStringLiteral("insights") } } },
        { QStringLiteral("DashboardWindow.qml"),
            { { QStringLiteral("initialSection"), QStringLiteral("tags") } } },
        { QStringLiteral("DashboardWindow.qml"),
            { { QStringLiteral("initialSection"), QStringLiteral("integrations") } } },
        { QStringLiteral("DashboardWindow.qml"),
            { { QStringLiteral("initialSection"), QStringLiteral("settings") } } },
        { QStringLiteral("dialogs/AboutDialog.qml"),
            { { QStringLiteral("versionText"), QStringLiteral("1") } } },
        { QStringLiteral("dialogs/UpdateResultDialog.qml"),
            { { QStringLiteral("heading"), QStringLiteral("-") },
                { QStringLiteral("message"), QStringLiteral("-") },
                { QStringLiteral("offersDownload"), true } } },
    };
    for (const auto& [root, properties] : roots) {
        std::unique_ptr<QQuickWindow> window(engine.createWindow(root, properties));
        if (!window) {
            failures.append(root + QStringLiteral(" did not load"));
            continue;
        }
        window->show();
        // Render one frame so that lazily created parts bind too.
        window->grabWindow();
        out << "self-test: loaded " << root << ' '
            << properties.value(QStringLiteral("initialSection")).toString() << '\n';
    }
    failures += engine.errors();
    for (const QString& failure : failures)
        out << "self-test: FAILED: " << failure << '\n';
    out << (failures.isEmpty() ? "self-test: ok\n" : "self-test: failed\n");
    return failures.isEmpty() ? 0 : 1;
}

} // namespace SelfTest
