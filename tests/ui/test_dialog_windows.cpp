// "About Velto" and the update result: windows of their own that open with the
// default button focused, press it on Return and close on Escape.
#include <QGuiApplication>
#include <QPointer>
#include <QQuickItem>
#include <QQuickWindow>
#include <QtQml/qqmlextensionplugin.h>
#include <gtest/gtest.h>

#include "QuickTestSupport.h"
#include "i18n/Translations.h"
#include "services/UpdateCheckResult.h"
#include "ui/DialogWindows.h"
#include "ui/ViewEngine.h"

Q_IMPORT_QML_PLUGIN(VeltoPlugin)

namespace {

using QuickTestSupport::findItem;

QQuickItem* item(QQuickWindow* window, const char* name)
{
    return findItem(window->contentItem(), QString::fromLatin1(name));
}

TEST(DialogWindows, AboutOpensOnOkAndEscapeClosesIt)
{
    QCoreApplication::setApplicationVersion(QStringLiteral("1.0.0"));
    ViewEngine views;
    DialogWindows dialogs(views);
    dialogs.showAbout();
    QPointer<QQuickWindow> window = dialogs.aboutWindow();
    ASSERT_TRUE(window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    EXPECT_EQ(window->title(), QStringLiteral("About Velto"));
    EXPECT_EQ(item(window, "aboutVersion")->property("text").toString(), QStringLiteral("Version 1.0.0"));
    EXPECT_EQ(window->activeFocusItem(), item(window, "aboutOk"));

    QTest::keyClick(window, Qt::Key_Escape);
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.isNull(); })); // a closed dialog is deleted
    EXPECT_TRUE(views.errors().isEmpty()) << views.errors().join('\n').toStdString();
}

TEST(DialogWindows, ANewerVersionIsDownloadedWithReturnAndUpToDateHasOneButton)
{
    ViewEngine views;
    QList<QUrl> opened;
    DialogWindows dialogs(views, [&](const QUrl& url) {
        opened.append(url);
        return true;
    });
    dialogs.showUpdateResult(UpdateCheckResult::upToDate(QStringLiteral("1.0.0"), QStringLiteral("1.0.0")));
    QPointer<QQuickWindow> upToDate = dialogs.updateWindow();
    ASSERT_TRUE(upToDate);
    ASSERT_TRUE(QTest::qWaitForWindowActive(upToDate));
    EXPECT_EQ(upToDate->activeFocusItem(), item(upToDate, "updateOk"));
    EXPECT_FALSE(item(upToDate, "updateDownload")->isVisible());
    EXPECT_EQ(
        item(upToDate, "updateHeading")->property("text").toString(), QStringLiteral("You're up to date"));

    // A second answer replaces the first window.
    const QUrl page(QStringLiteral("https://example.org/velto-1.1.0"));
    dialogs.showUpdateResult(
        UpdateCheckResult::updateAvailable(QStringLiteral("1.0.0"), QStringLiteral("1.1.0"), page));
    QPointer<QQuickWindow> available = dialogs.updateWindow();
    EXPECT_TRUE(upToDate.isNull());
    ASSERT_TRUE(available);
    ASSERT_TRUE(QTest::qWaitForWindowActive(available));
    EXPECT_EQ(available->activeFocusItem(), item(available, "updateDownload"));
    EXPECT_TRUE(item(available, "updateLater")->isVisible());
    EXPECT_FALSE(item(available, "updateOk")->isVisible());

    QTest::keyClick(available, Qt::Key_Return);
    EXPECT_EQ(opened, QList<QUrl> { page });
    EXPECT_TRUE(QTest::qWaitFor([&] { return available.isNull(); }));
    EXPECT_TRUE(views.errors().isEmpty()) << views.errors().join('\n').toStdString();
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    QGuiApplication app(argc, argv);
    Translations::install({});
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
