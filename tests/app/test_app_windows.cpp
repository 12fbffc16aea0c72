// The application's windows over the real views: one dashboard, raised and switched to
// the section asked for, and the window that stands in for a missing tray.
#include <QApplication>
#include <QQuickWindow>
#include <QSignalSpy>
#include <QTest>
#include <QtQml/qqmlextensionplugin.h>
#include <gtest/gtest.h>

#include "DashboardFixture.h"
#include "QuickTestSupport.h"
#include "app/AppDelegate.h"
#include "services/UpdateManager.h"
#include "statusbar/PopoverHost.h"
#include "ui/DialogWindows.h"
#include "ui/ViewEngine.h"

Q_IMPORT_QML_PLUGIN(VeltoPlugin)

namespace {

// QML singletons serve one engine per process: every test shares the objects and views.
DashboardFixture* shared = nullptr;
ViewEngine* views = nullptr;

class AppWindowsTest : public ::testing::Test {
protected:
    std::unique_ptr<AppDelegate> launch()
    {
        auto delegate = std::make_unique<AppDelegate>(
            AppDelegate::Dependencies { f.timer, f.theme, f.popover, *views, dialogs,
                [this]() -> UpdateManager& {
                    if (!updates)
                        updates = std::make_unique<UpdateManager>(f.prefs, f.clock);
                    return *updates;
                },
                f.prefs });
        delegate->applicationDidFinishLaunching();
        return delegate;
    }
    static QString section(QQuickWindow* window)
    {
        return window->property("view").value<QObject*>()->property("selectedSection").toString();
    }
    static int visibleDashboards()
    {
        int count = 0;
        for (QWindow* window : QGuiApplication::topLevelWindows())
            count += window->isVisible() && window->property("initialSection").isValid();
        return count;
    }

    DashboardFixture& f = *shared;
    DialogWindows dialogs { *views, [](const QUrl&) { return true; } };
    std::unique_ptr<UpdateManager> updates;
};

TEST_F(AppWindowsTest, OneDashboardComesForwardOnTheSectionAskedFor)
{
    auto delegate = launch();
    QSignalSpy reported(&f.navigation, &DashboardNavigation::sectionSelected);
    delegate->openDashboard(QStringLiteral("tags"));
    QQuickWindow* dashboard = delegate->fullDashboardWindow();
    ASSERT_TRUE(dashboard);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dashboard));
    EXPECT_EQ(section(dashboard), QStringLiteral("tags"));

    for (const char* asked : { "settings", "integrations", "Settings" }) {
        delegate->openDashboard(QLatin1String(asked));
        EXPECT_EQ(delegate->fullDashboardWindow(), dashboard);
        EXPECT_EQ(visibleDashboards(), 1);
    }
    EXPECT_EQ(section(dashboard), QStringLiteral("insights")); // ids are lower case
    EXPECT_EQ(reported.size(), 0); // opening is not a sidebar selection
    delegate->applicationShouldHandleReopen(delegate->hasVisibleWindows());
    EXPECT_EQ(visibleDashboards(), 1);

    // Closed, it goes; asked for again, a new one opens.
    QSignalSpy closed(delegate.get(), &AppDelegate::dashboardWindowClosed);
    dashboard->close();
    EXPECT_EQ(closed.size(), 1);
    EXPECT_FALSE(delegate->fullDashboardWindow());
    delegate->openDashboard(QStringLiteral("settings"));
    ASSERT_TRUE(delegate->fullDashboardWindow());
    EXPECT_EQ(section(delegate->fullDashboardWindow()), QStringLiteral("settings"));
    EXPECT_EQ(visibleDashboards(), 1);
}

TEST_F(AppWindowsTest, WithoutATrayAFixedSizeWindowSaysOnceWhatATrayNeeds)
{
    f.prefs.remove(QLatin1String(AppDelegate::trayNoteShownKey));
    const auto windowOf = [](AppDelegate& delegate) -> QQuickWindow* {
        PopoverHost* host = delegate.noTrayPopover();
        return host && host->isShown() ? host->window() : nullptr;
    };
    {
        auto delegate = launch(); // a private bus has no tray host; offscreen has no XEmbed tray
        QQuickWindow* window = windowOf(*delegate);
        ASSERT_TRUE(window);
        EXPECT_TRUE(window->flags().testFlag(Qt::Dialog));
        EXPECT_EQ(window->minimumSize(), QSize(320, 540));
        EXPECT_EQ(window->maximumSize(), QSize(320, 540));
        EXPECT_TRUE(window->property("note").toString().contains(QStringLiteral("AppIndicator extension")));
        EXPECT_TRUE(f.prefs.value(QLatin1String(AppDelegate::trayNoteShownKey)).toBool());
    }
    auto again = launch();
    QQuickWindow* window = windowOf(*again);
    ASSERT_TRUE(window);
    EXPECT_TRUE(window->property("note").toString().isEmpty());
}

} // namespace

int main(int argc, char** argv)
{
    QuickTestSupport::prepareHeadlessViews();
    QApplication app(argc, argv);
    DashboardFixture fixture;
    shared = &fixture;
    QmlPublishing::publish(fixture.sharedObjects());
    ViewEngine engine;
    views = &engine;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
