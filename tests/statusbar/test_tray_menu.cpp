// The tray item's menu as hosts see it, and its icon at the sizes it offers them.
#include <QApplication>
#include <QMenu>
#include <QSignalSpy>
#include <QStandardPaths>
#include <gtest/gtest.h>

#include "PopoverFixture.h"
#include "services/UpdateManager.h"
#include "statusbar/MiniTimerPopover.h"
#include "ui/ViewEngine.h"

namespace {

struct TrayFixture : PopoverFixture {
    UpdateManager& updates()
    {
        ++updateManagerUses;
        if (!updateManager)
            updateManager = std::make_unique<UpdateManager>(
                prefs, clock, UpdaterSettings { QUrl(QStringLiteral("http://127.0.0.1:9/appcast.xml")) });
        return *updateManager;
    }

    int updateManagerUses = 0;
    std::unique_ptr<UpdateManager> updateManager;
    ViewEngine views;
    MiniTimerPopover tray { { timer, theme, views, [this]() -> UpdateManager& { return updates(); } } };
};

QStringList titles(const QMenu& menu)
{
    QStringList titles;
    for (const QAction* action : menu.actions())
        titles << (action->isSeparator() ? QStringLiteral("--") : action->text());
    return titles;
}

TEST(TrayMenu, IsInPlaceFromTheStartAndStartsTheUpdateManagerWhenFirstAboutToShow)
{
    TrayFixture f;
    QMenu& menu = f.tray.statusMenu();
    EXPECT_EQ(f.tray.statusItem().contextMenu(), &menu);
    EXPECT_EQ(titles(menu), QStringList({ "Check for Updates...", "Auto Updates", "--", "Quit Velto" }));
    EXPECT_EQ(f.updateManagerUses, 0);

    emit menu.aboutToShow();
    ASSERT_TRUE(f.updateManager);
    QAction* automatic = menu.actions().at(1);
    EXPECT_TRUE(automatic->isCheckable());
    EXPECT_TRUE(f.updateManager->automaticallyChecksForUpdates()); // switched on at the first run
    EXPECT_TRUE(automatic->isChecked());

    // The host may draw the entries without asking again: they follow the manager.
    f.updateManager->setAutomaticallyChecksForUpdates(false);
    EXPECT_FALSE(automatic->isChecked());
    automatic->trigger();
    EXPECT_TRUE(f.updateManager->automaticallyChecksForUpdates());
    EXPECT_TRUE(automatic->isChecked());

    QSignalSpy quit(&f.tray, &MiniTimerPopover::quitRequested);
    menu.actions().at(3)->trigger();
    EXPECT_EQ(quit.size(), 1);
}

TEST(TrayMenu, AutoUpdatesClickedBeforeTheMenuWasEverShownShowsTheRealState)
{
    TrayFixture f;
    QAction* automatic = f.tray.statusMenu().actions().at(1);
    automatic->trigger(); // a host that never sent AboutToShow
    ASSERT_TRUE(f.updateManager);
    EXPECT_EQ(automatic->isChecked(), f.updateManager->automaticallyChecksForUpdates());
}

TEST(TrayIcon, TheClockFaceFillsEverySizeOffered)
{
    TrayFixture f;
    const QIcon icon = f.tray.statusItem().icon();
    for (const int side : { 22, 44 }) {
        const QImage image = icon.pixmap(QSize(side, side)).toImage();
        ASSERT_EQ(image.width(), side);
        int left = side, right = -1;
        for (int y = 0; y < side; ++y) {
            for (int x = 0; x < side; ++x) {
                if (image.pixelColor(x, y).alpha() > 128) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
            }
        }
        // The 18-point face in a 22-point slot: most of the width at every size.
        EXPECT_GE(right - left + 1, side * 15 / 22) << side;
    }
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv); // the menu is a widget
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
