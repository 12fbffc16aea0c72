// The real dashboard window, driven with the mouse and keyboard over the real
// managers: each page shows what its models say and follows them while shown.
#include <QClipboard>
#include <QDBusConnection>
#include <QGuiApplication>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickWindow>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtQml/qqmlextensionplugin.h>
#include <gtest/gtest.h>

#include "DashboardFixture.h"
#include "LoopbackHttpServer.h"
#include "QuickTestSupport.h"
#include "SdkHarness.h"
#include "beacon/BeaconSDK.h"
#include "i18n/Translations.h"
#include "insights/HeatmapModel.h"
#include "platform/AppIds.h"
#include "services/AnalyticsService.h"
#include "services/BeaconAnalyticsClient.h"

Q_IMPORT_QML_PLUGIN(VeltoPlugin)

namespace {

using namespace QuickTestSupport;

// Every test opens its windows on one set of objects and one engine, as the application's
// windows do: the history and the tags carry over from test to test.
DashboardFixture* shared = nullptr;
QQmlEngine* engine = nullptr;

/// Whether `condition` holds within five seconds, events processed meanwhile.
bool eventually(const std::function<bool()>& condition)
{
    return QTest::qWaitFor(condition, 5000);
}

SessionRecord focusRecord(Instant end, double minutes, std::optional<QString> tag = std::nullopt)
{
    return { QUuid::createUuid(), end, minutes * 60, SessionType::focus, true, std::move(tag) };
}

class DashboardWindowTest : public ::testing::Test {
protected:
    DashboardFixture& f = *shared;

    QQuickWindow* open(const QString& section)
    {
        QQmlComponent component(engine, QUrl(QStringLiteral("qrc:/Velto/qml/DashboardWindow.qml")));
        QObject* root
            = component.createWithInitialProperties({ { QStringLiteral("initialSection"), section } });
        if (!root) {
            ADD_FAILURE() << component.errorString().toStdString();
            return nullptr;
        }
        owned.reset(root);
        window = qobject_cast<QQuickWindow*>(root);
        if (!window)
            return nullptr;
        window->show();
        window->requestActivate();
        if (!QTest::qWaitForWindowExposed(window))
            return nullptr;
        return window;
    }
    QQuickItem* item(const QString& name) const { return findItem(window->contentItem(), name); }
    /// Scrolls the section until the named item is in sight, then clicks it.
    bool clickInSight(const QString& name)
    {
        QQuickItem* target = item(name);
        QQuickItem* scroller = item(QStringLiteral("detailScroller"));
        if (!target || !scroller)
            return false;
        const QRectF box = target->mapRectToItem(scroller, QRectF(0, 0, target->width(), target->height()));
        if (box.top() < 0 || box.bottom() > scroller->height()) {
            const double contentY = scroller->property("contentY").toDouble();
            scroller->setProperty("contentY", contentY + box.center().y() - scroller->height() / 2);
            QTest::qWait(50);
        }
        return click(window, name);
    }
    bool shown(const QString& name) const
    {
        QQuickItem* found = item(name);
        return found && found->isVisible();
    }
    QString text(const QString& name) const
    {
        QQuickItem* found = item(name);
        return found ? found->property("text").toString() : QStringLiteral("<missing %1>").arg(name);
    }
    QString figure(const QString& name) const
    {
        QQuickItem* found = item(name);
        return found ? found->property("value").toString() : QStringLiteral("<missing %1>").arg(name);
    }
    QColor colorOf(const QString& name, const char* property = "color") const
    {
        QQuickItem* found = item(name);
        return found ? found->property(property).value<QColor>() : QColor();
    }

    std::string focused() const { return focusedName(window); }
    bool focusReaches(const std::string& name) const { return QuickTestSupport::focusReaches(window, name); }
    void key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, int times = 1)
    {
        for (int i = 0; i < times; ++i)
            QTest::keyClick(window, key, modifiers);
        QTest::qWait(30);
    }
    /// Tabs on until the named control has the keyboard; false after `limit` presses.
    bool tabTo(const std::string& name, int limit = 40)
    {
        for (int i = 0; i < limit && focused() != name; ++i)
            key(Qt::Key_Tab);
        return focused() == name;
    }

    std::unique_ptr<QObject> owned;
    QQuickWindow* window = nullptr;
};

// First, while nothing has asked for figures yet.
TEST_F(DashboardWindowTest, TheHistoryIsReadWhenAPageFirstNeedsFigures)
{
    if (f.storeIsOpen())
        GTEST_SKIP() << "another test opened the history first";
    ASSERT_TRUE(open(QStringLiteral("settings")));
    EXPECT_FALSE(f.storeIsOpen());
    ASSERT_TRUE(click(window, QStringLiteral("section:insights")));
    EXPECT_TRUE(f.storeIsOpen());
}

TEST_F(DashboardWindowTest, InsightsFollowTheHistoryWhileShown)
{
    ASSERT_TRUE(open(QStringLiteral("insights")));
    ASSERT_EQ(f.store().count(), 0);
    EXPECT_EQ(figure(QStringLiteral("todayCard:0")), QStringLiteral("0"));
    EXPECT_EQ(figure(QStringLiteral("todayCard:1")), QStringLiteral("0m"));
    EXPECT_EQ(figure(QStringLiteral("todayCard:2")), QStringLiteral("0"));
    EXPECT_EQ(figure(QStringLiteral("weekCard:2")), QStringLiteral("0m"));
    EXPECT_FALSE(shown(QStringLiteral("streakBadge")));
    EXPECT_TRUE(shown(QStringLiteral("insight:firstSession")));
    EXPECT_FALSE(shown(QStringLiteral("insight:streak")));

    // Today is a Wednesday: row 3 of the last column.
    const QString today = QStringLiteral("heatCell:%1").arg(3 * 12 + 11);
    const QStringList levels = f.models.heatmap().legendColors();
    EXPECT_EQ(colorOf(today), QColor(levels.at(0)));
    EXPECT_EQ(colorOf(QStringLiteral("heatCell:%1").arg(4 * 12 + 11)), QColor(Qt::transparent)); // tomorrow

    f.store().addRecord(focusRecord(f.clock.now(), 50));
    f.store().addRecord({ QUuid::createUuid(), f.clock.now(), 300, SessionType::shortBreak, true, {} });
    ASSERT_TRUE(eventually([&] { return figure(QStringLiteral("todayCard:0")) == QStringLiteral("1"); }));
    EXPECT_EQ(figure(QStringLiteral("todayCard:1")), QStringLiteral("50m"));
    EXPECT_EQ(figure(QStringLiteral("todayCard:2")), QStringLiteral("1"));
    EXPECT_EQ(figure(QStringLiteral("weekCard:0")), QStringLiteral("1"));
    EXPECT_EQ(figure(QStringLiteral("weekCard:1")), QStringLiteral("50m"));
    EXPECT_EQ(figure(QStringLiteral("weekCard:2")), QStringLiteral("50m"));
    EXPECT_TRUE(shown(QStringLiteral("streakBadge")));
    EXPECT_EQ(text(QStringLiteral("streakValue")), QStringLiteral("1"));
    EXPECT_TRUE(shown(QStringLiteral("insight:streak")));
    EXPECT_TRUE(shown(QStringLiteral("insight:averageDailyFocus")));
    EXPECT_TRUE(shown(QStringLiteral("insight:mostProductiveDay")));
    EXPECT_FALSE(shown(QStringLiteral("insight:firstSession")));
    EXPECT_EQ(colorOf(today), QColor(levels.at(3)));

    // A new focus colour reaches the grid.
    f.theme.setFocusColorId(QStringLiteral("sky"));
    ASSERT_TRUE(
        eventually([&] { return colorOf(today) == QColor(f.models.heatmap().legendColors().at(3)); }));
    EXPECT_NE(colorOf(today), QColor(levels.at(3)));
}

TEST_F(DashboardWindowTest, CommandsTheGoalAndTheExportWorkFromTheWindow)
{
    ASSERT_TRUE(open(QStringLiteral("settings")));
    ASSERT_TRUE(clickInSight(QStringLiteral("command:focus-started")));
    typeText(window, QStringLiteral("exit 3"));
    QTest::keyClick(window, Qt::Key_Tab); // leaving the field stores the command
    EXPECT_EQ(f.hooks.command(HookEvent::focusStarted), QStringLiteral("exit 3"));
    ASSERT_TRUE(clickInSight(QStringLiteral("test:focus-started")));
    EXPECT_TRUE(eventually([&] { return text(QStringLiteral("result:focus-started")) == "Exit status 3"; }))
        << text(QStringLiteral("result:focus-started")).toStdString();
    EXPECT_FALSE(shown(QStringLiteral("result:paused")));

    EXPECT_FALSE(shown(QStringLiteral("dailyGoalSessions")));
    ASSERT_TRUE(clickInSight(QStringLiteral("dailyGoalSwitch")));
    EXPECT_TRUE(f.goal.isOn());
    EXPECT_TRUE(eventually([&] { return shown(QStringLiteral("dailyGoalSessions")); }));

    ASSERT_TRUE(click(window, QStringLiteral("section:insights")));
    EXPECT_EQ(text(QStringLiteral("todayCard:goal")), f.models.insights().todayGoalText());
    EXPECT_TRUE(text(QStringLiteral("todayCard:goal")).endsWith(QStringLiteral(" of 8 sessions")));
    QTemporaryDir exports;
    f.exportPath = exports.filePath(QStringLiteral("history.csv"));
    ASSERT_TRUE(clickInSight(QStringLiteral("exportButton")));
    EXPECT_TRUE(QFileInfo::exists(f.exportPath));
    EXPECT_TRUE(text(QStringLiteral("exportMessage")).endsWith(f.exportPath));
    f.exportPath = exports.filePath(QStringLiteral("missing/history.csv"));
    ASSERT_TRUE(clickInSight(QStringLiteral("exportButton")));
    EXPECT_TRUE(text(QStringLiteral("exportMessage")).startsWith(QStringLiteral("Could not write")));
    const QByteArray history = [&] {
        QFile file(f.store().filePath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();
    f.exportPath = f.store().filePath();
    ASSERT_TRUE(clickInSight(QStringLiteral("exportButton")));
    EXPECT_TRUE(text(QStringLiteral("exportMessage"))
                    .endsWith(QStringLiteral("choose another file for the export.")));
    QFile file(f.store().filePath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), history) << "the history is never written over";
    f.goal.setOn(false);
}

TEST_F(DashboardWindowTest, FocusProtectionSwitchesApplyAndTheCommandsAreCopied)
{
    ASSERT_TRUE(open(QStringLiteral("settings")));
    ASSERT_TRUE(clickInSight(QStringLiteral("idleDetectionSwitch")));
    EXPECT_TRUE(f.protection.idleDetection());
    EXPECT_EQ(f.idle.threshold, FocusProtection::defaultIdleMinutes);
    ASSERT_TRUE(clickInSight(QStringLiteral("pauseOnLockSwitch")));
    EXPECT_FALSE(f.protection.pauseOnLock());
    ASSERT_TRUE(clickInSight(QStringLiteral("doNotDisturbSwitch")));
    EXPECT_TRUE(f.protection.doNotDisturb());
    // This desktop has no global shortcuts: the commands to bind are shown and copied.
    EXPECT_TRUE(shown(QStringLiteral("shortcutCommands")));
    ASSERT_TRUE(clickInSight(QStringLiteral("copyShortcutCommands")));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), FocusProtectionViewModel::shortcutCommands());
}

TEST_F(DashboardWindowTest, SectionsReportEverySelectionAndTheWindowReachesTheApplication)
{
    QSignalSpy selected(&f.navigation, &DashboardNavigation::sectionSelected);
    ASSERT_TRUE(open(QStringLiteral("Settings"))); // not an id: Insights
    EXPECT_EQ(text(QStringLiteral("sectionTitle")), QStringLiteral("Insights"));
    EXPECT_TRUE(shown(QStringLiteral("todayCard")));
    EXPECT_EQ(text(QStringLiteral("versionText")), QStringLiteral("v1.0.0"));

    const QStringList order { "tags", "tags", "integrations", "settings", "insights" };
    const QStringList titles { "Tags", "Tags", "Integrations", "Settings", "Insights" };
    const QStringList content { "panelSwitch", "panelSwitch", "statusRow", "settingsCard:Timer Defaults",
        "todayCard" };
    for (int i = 0; i < order.size(); ++i) {
        ASSERT_TRUE(click(window, QStringLiteral("section:") + order[i]));
        EXPECT_EQ(text(QStringLiteral("sectionTitle")), titles[i]);
        EXPECT_TRUE(shown(content[i])) << content[i].toStdString();
    }
    ASSERT_EQ(selected.size(), order.size()); // opening reported nothing
    for (int i = 0; i < order.size(); ++i)
        EXPECT_EQ(selected.at(i).at(0).toString(), order[i]);

    f.openedUrls.clear();
    ASSERT_TRUE(click(window, QStringLiteral("makerLink")));
    EXPECT_EQ(f.openedUrls, QList<QUrl>({ DashboardNavigation::makerSiteUrl() }));

    QSignalSpy about(&f.navigation, &DashboardNavigation::aboutRequested);
    QSignalSpy quit(&f.navigation, &DashboardNavigation::quitRequested);
    QSignalSpy windowQuit(window, SIGNAL(quitRequested()));
    ASSERT_TRUE(click(window, QStringLiteral("menuButton")));
    ASSERT_TRUE(click(window, QStringLiteral("aboutItem")));
    EXPECT_EQ(about.size(), 1);
    EXPECT_FALSE(shown(QStringLiteral("aboutItem")));
    ASSERT_TRUE(click(window, QStringLiteral("menuButton")));
    ASSERT_TRUE(click(window, QStringLiteral("quitItem")));
    EXPECT_EQ(quit.size(), 1);
    QTest::keyClick(window, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(quit.size(), 2);
    EXPECT_EQ(windowQuit.size(), 2);
}

TEST_F(DashboardWindowTest, TagsAreAddedRenamedAndDeletedAndTheLegendFollows)
{
    ASSERT_TRUE(open(QStringLiteral("tags")));
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    const Instant now = f.clock.now();
    // Only what earlier tests recorded, none of it tagged.
    EXPECT_TRUE(shown(QStringLiteral("tagsEmpty")));
    EXPECT_EQ(text(QStringLiteral("tagTotal")), QStringLiteral("0m total"));

    // Add "Reading" through the dialog.
    ASSERT_TRUE(clickInSight(QStringLiteral("panel:manage")));
    ASSERT_TRUE(eventually([&] { return shown(QStringLiteral("tagCountText")); }));
    EXPECT_EQ(text(QStringLiteral("tagCountText")), QStringLiteral("6 tags"));
    EXPECT_FALSE(shown(QStringLiteral("rename:Deep Work"))); // default tags keep their names
    ASSERT_TRUE(click(window, QStringLiteral("addTagButton")));
    ASSERT_TRUE(shown(QStringLiteral("addTagDialog")));
    typeText(window, QStringLiteral("Reading"));
    ASSERT_TRUE(click(window, QStringLiteral("addTagDialog:confirm")));
    EXPECT_FALSE(shown(QStringLiteral("addTagDialog")));
    ASSERT_TRUE(eventually([&] { return shown(QStringLiteral("tagRow:Reading")); }));
    EXPECT_EQ(text(QStringLiteral("tagCountText")), QStringLiteral("7 tags"));
    EXPECT_EQ(f.tags.availableTags().last(), QStringLiteral("Reading"));

    // Sessions tagged with it, and one ten days old, show in the legend.
    f.store().addRecord(focusRecord(now, 150, QStringLiteral("Reading")));
    f.store().addRecord(focusRecord(now, 50, QStringLiteral("Deep Work")));
    f.store().addRecord(focusRecord(now.addSeconds(-10 * 86400.0), 25, QStringLiteral("Old")));
    ASSERT_TRUE(clickInSight(QStringLiteral("panel:insights")));
    ASSERT_TRUE(eventually([&] { return shown(QStringLiteral("legend:Reading")); }));
    EXPECT_FALSE(shown(QStringLiteral("tagsEmpty")));
    EXPECT_EQ(text(QStringLiteral("tagCount")), QStringLiteral("3"));
    EXPECT_EQ(text(QStringLiteral("tagTotal")), QStringLiteral("3h 45m total"));
    const QColor readingColour = ThemeColors::rgb(f.tags.colorForTag(QStringLiteral("Reading")));
    EXPECT_EQ(colorOf(QStringLiteral("legend:Reading")), readingColour);
    ASSERT_TRUE(clickInSight(QStringLiteral("range:7d")));
    ASSERT_TRUE(eventually([&] { return !shown(QStringLiteral("legend:Old")); }));
    EXPECT_EQ(text(QStringLiteral("tagTotal")), QStringLiteral("3h 20m total"));
    ASSERT_TRUE(clickInSight(QStringLiteral("range:7d"))); // again: all time
    ASSERT_TRUE(eventually([&] { return shown(QStringLiteral("legend:Old")); }));

    // Rename in place: the tag keeps its colour; the stored name gets another one.
    ASSERT_TRUE(clickInSight(QStringLiteral("panel:manage")));
    ASSERT_TRUE(eventually([&] { return shown(QStringLiteral("rename:Reading")); }));
    ASSERT_TRUE(clickInSight(QStringLiteral("rename:Reading")));
    ASSERT_TRUE(eventually([&] { return shown(QStringLiteral("renameField")); }));
    typeText(window, QStringLiteral("Books"));
    QTest::keyClick(window, Qt::Key_Return);
    ASSERT_TRUE(eventually([&] { return shown(QStringLiteral("tagRow:Books")); }));
    EXPECT_FALSE(shown(QStringLiteral("tagRow:Reading")));
    EXPECT_FALSE(shown(QStringLiteral("renameField")));
    EXPECT_EQ(ThemeColors::rgb(f.tags.colorForTag(QStringLiteral("Books"))), readingColour);
    f.store().addRecord(focusRecord(now, 25, QStringLiteral("Books")));
    ASSERT_TRUE(clickInSight(QStringLiteral("panel:insights")));
    ASSERT_TRUE(eventually([&] { return shown(QStringLiteral("legend:Books")); }));
    EXPECT_EQ(colorOf(QStringLiteral("legend:Books")), readingColour);
    EXPECT_TRUE(shown(QStringLiteral("legend:Reading")));
    EXPECT_NE(colorOf(QStringLiteral("legend:Reading")), readingColour);
    EXPECT_EQ(text(QStringLiteral("tagCount")), QStringLiteral("4"));

    // Delete after confirming; cancelling keeps the tag.
    ASSERT_TRUE(clickInSight(QStringLiteral("panel:manage")));
    ASSERT_TRUE(eventually([&] { return shown(QStringLiteral("delete:Books")); }));
    ASSERT_TRUE(clickInSight(QStringLiteral("delete:Books")));
    ASSERT_TRUE(shown(QStringLiteral("deleteTagDialog")));
    EXPECT_EQ(text(QStringLiteral("deleteTagDialog:message")),
        QStringLiteral("Delete \"Books\"? This can't be undone."));
    ASSERT_TRUE(click(window, QStringLiteral("deleteTagDialog:cancel")));
    EXPECT_TRUE(f.tags.availableTags().contains(QStringLiteral("Books")));
    ASSERT_TRUE(clickInSight(QStringLiteral("delete:Books")));
    ASSERT_TRUE(click(window, QStringLiteral("deleteTagDialog:confirm")));
    EXPECT_FALSE(f.tags.availableTags().contains(QStringLiteral("Books")));
    ASSERT_TRUE(eventually([&] { return item(QStringLiteral("tagList"))->property("count").toInt() == 6; }));
    EXPECT_EQ(text(QStringLiteral("tagCountText")), QStringLiteral("6 tags"));
    ASSERT_TRUE(clickInSight(QStringLiteral("panel:insights")));
    ASSERT_TRUE(
        eventually([&] { return shown(QStringLiteral("legend:Books")); })); // the records keep their tag
}

TEST_F(DashboardWindowTest, TheKeyboardAloneWalksEverySectionAndManagesTags)
{
    ASSERT_TRUE(open(QStringLiteral("insights")));
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    QSignalSpy about(&f.navigation, &DashboardNavigation::aboutRequested);
    QSignalSpy warnings(engine, &QQmlEngine::warnings);

    // The sections take one Tab stop: the arrows move, Return opens.
    key(Qt::Key_Tab);
    EXPECT_EQ(focused(), "section:insights");
    EXPECT_TRUE(window->activeFocusItem()->property("visualFocus").toBool());
    const QStringList titles { "Tags", "Integrations", "Settings" };
    for (const QString& title : titles) {
        key(Qt::Key_Down);
        key(Qt::Key_Return);
        EXPECT_EQ(text(QStringLiteral("sectionTitle")), title);
    }
    key(Qt::Key_Home);
    key(Qt::Key_Return);
    EXPECT_EQ(text(QStringLiteral("sectionTitle")), QStringLiteral("Insights"));

    // The footer: the maker's link, then the menu, whose first item takes the keyboard.
    ASSERT_TRUE(tabTo("menuButton"));
    key(Qt::Key_Return);
    ASSERT_TRUE(focusReaches("aboutItem"));
    key(Qt::Key_Down);
    EXPECT_EQ(focused(), "quitItem");
    key(Qt::Key_Escape);
    EXPECT_FALSE(shown(QStringLiteral("quitItem")));
    key(Qt::Key_Return);
    ASSERT_TRUE(focusReaches("aboutItem"));
    key(Qt::Key_Return);
    EXPECT_EQ(about.size(), 1);
    ASSERT_TRUE(focusReaches("menuButton"));

    // Tags: the panel switch, then the list.
    key(Qt::Key_Backtab, Qt::NoModifier, 2);
    EXPECT_EQ(focused(), "section:insights");
    key(Qt::Key_Down);
    key(Qt::Key_Return);
    ASSERT_TRUE(tabTo("panel:insights"));
    key(Qt::Key_Right);
    key(Qt::Key_Return);
    ASSERT_TRUE(eventually([&] { return shown(QStringLiteral("addTagButton")); }));
    const int before = int(f.tags.availableTags().size());

    // Add: Escape gives up, Return in the field adds, and the new row comes into sight.
    ASSERT_TRUE(tabTo("addTagButton"));
    key(Qt::Key_Return);
    ASSERT_TRUE(focusReaches("newTagField"));
    typeText(window, QStringLiteral("Garden"));
    key(Qt::Key_Escape);
    EXPECT_FALSE(shown(QStringLiteral("addTagDialog")));
    EXPECT_EQ(f.tags.availableTags().size(), before);
    ASSERT_TRUE(focusReaches("addTagButton"));
    key(Qt::Key_Return);
    ASSERT_TRUE(focusReaches("newTagField"));
    EXPECT_TRUE(text(QStringLiteral("newTagField")).isEmpty());
    typeText(window, QStringLiteral("Garden"));
    key(Qt::Key_Return);
    ASSERT_TRUE(eventually([&] { return shown(QStringLiteral("tagRow:Garden")); }));
    EXPECT_EQ(f.tags.availableTags().size(), before + 1);
    QQuickItem* scroller = item(QStringLiteral("detailScroller"));
    QQuickItem* row = item(QStringLiteral("tagRow:Garden"));
    const QRectF inPane = row->mapRectToItem(scroller, QRectF(0, 0, row->width(), row->height()));
    EXPECT_GE(inPane.top(), 0);
    EXPECT_LE(inPane.bottom(), scroller->height());

    // Rename in place: Return commits.
    ASSERT_TRUE(tabTo("rename:Garden", 200));
    key(Qt::Key_Return);
    ASSERT_TRUE(focusReaches("renameField"));
    typeText(window, QStringLiteral("Plants"));
    key(Qt::Key_Return);
    ASSERT_TRUE(eventually([&] { return shown(QStringLiteral("tagRow:Plants")); }));
    EXPECT_TRUE(f.tags.availableTags().contains(QStringLiteral("Plants")));

    // Delete: the dialog starts on Cancel, so Return keeps the tag; Tab and Return delete it.
    ASSERT_TRUE(tabTo("delete:Plants", 200));
    key(Qt::Key_Return);
    ASSERT_TRUE(focusReaches("deleteTagDialog:cancel"));
    key(Qt::Key_Return);
    EXPECT_FALSE(shown(QStringLiteral("deleteTagDialog")));
    EXPECT_TRUE(f.tags.availableTags().contains(QStringLiteral("Plants")));
    ASSERT_TRUE(focusReaches("delete:Plants"));
    key(Qt::Key_Return);
    ASSERT_TRUE(focusReaches("deleteTagDialog:cancel"));
    key(Qt::Key_Tab);
    EXPECT_EQ(focused(), "deleteTagDialog:confirm");
    key(Qt::Key_Return);
    EXPECT_FALSE(f.tags.availableTags().contains(QStringLiteral("Plants")));
    EXPECT_EQ(f.tags.availableTags().size(), before);

    // Integrations and Settings: the switches and the minutes fields answer Space, Return and the arrows.
    while (focused() != "section:tags")
        key(Qt::Key_Backtab);
    key(Qt::Key_Down, Qt::NoModifier, 2);
    key(Qt::Key_Return);
    EXPECT_EQ(text(QStringLiteral("sectionTitle")), QStringLiteral("Settings"));
    ASSERT_TRUE(tabTo("focusMinutes:input"));
    const int minutes = f.settings.focusMinutes();
    key(Qt::Key_Up);
    EXPECT_EQ(f.settings.focusMinutes(), minutes + 1);
    key(Qt::Key_Down);
    EXPECT_EQ(f.settings.focusMinutes(), minutes);
    ASSERT_TRUE(tabTo("autoStartSwitch"));
    const bool autoStart = f.timer.autoStartNext();
    key(Qt::Key_Space);
    EXPECT_NE(f.timer.autoStartNext(), autoStart);
    key(Qt::Key_Return);
    EXPECT_EQ(f.timer.autoStartNext(), autoStart);
    // The cycle, the daily goal and the commands: every field and button in reading order.
    ASSERT_TRUE(tabTo("intervalsBeforeLongBreak:input"));
    const int intervals = f.timer.intervalsBeforeLongBreak();
    key(Qt::Key_Up);
    EXPECT_EQ(f.timer.intervalsBeforeLongBreak(), intervals + 1);
    key(Qt::Key_Down);
    key(Qt::Key_Tab);
    EXPECT_EQ(focused(), "longBreakMinutes:input");
    key(Qt::Key_Tab);
    EXPECT_EQ(focused(), "dailyGoalSwitch");
    const bool goalOn = f.goal.isOn();
    key(Qt::Key_Space);
    EXPECT_NE(f.goal.isOn(), goalOn);
    if (!f.goal.isOn())
        key(Qt::Key_Return);
    ASSERT_TRUE(f.goal.isOn());
    ASSERT_TRUE(eventually([&] { return shown(QStringLiteral("dailyGoalSessions")); }));
    ASSERT_TRUE(tabTo("dailyGoalSessions:input", 1));
    const int sessions = f.goal.sessions();
    key(Qt::Key_Up);
    EXPECT_EQ(f.goal.sessions(), sessions + 1);
    ASSERT_TRUE(tabTo("command:focus-ended"));
    key(Qt::Key_A, Qt::ControlModifier);
    typeText(window, QStringLiteral("exit 4"));
    key(Qt::Key_Tab);
    EXPECT_EQ(focused(), "test:focus-ended");
    EXPECT_TRUE(window->activeFocusItem()->property("visualFocus").toBool());
    key(Qt::Key_Return);
    EXPECT_TRUE(eventually([&] { return text(QStringLiteral("result:focus-ended")) == "Exit status 4"; }));
    f.goal.setOn(false);
    // The pane keeps the control with the keyboard in sight.
    ASSERT_TRUE(tabTo("openAtLoginSwitch"));
    QQuickItem* login = item(QStringLiteral("openAtLoginSwitch"));
    EXPECT_LE(login->mapRectToItem(scroller, QRectF(0, 0, login->width(), login->height())).bottom(),
        item(QStringLiteral("detailScroller"))->height());
    EXPECT_EQ(warnings.size(), 0);
}

/// Calmix runs while its name is owned on the private test bus.
TEST_F(DashboardWindowTest, IntegrationsFollowCalmixAndTheSyncFlag)
{
    ASSERT_TRUE(f.timer.calmixSyncEnabled() == false);
    ASSERT_TRUE(open(QStringLiteral("integrations")));
    const QString notRunning = QStringLiteral("Calmix is not running - open it to enable this integration");
    EXPECT_EQ(text(QStringLiteral("statusText")), notRunning);
    EXPECT_TRUE(shown(QStringLiteral("downloadLink")));
    ASSERT_TRUE(click(window, QStringLiteral("syncSwitch")));
    EXPECT_FALSE(f.timer.calmixSyncEnabled());
    f.openedUrls.clear();
    ASSERT_TRUE(click(window, QStringLiteral("downloadLink")));
    EXPECT_EQ(f.openedUrls, QList<QUrl>({ DashboardNavigation::toolsPageUrl() }));

    QDBusConnection bus = QDBusConnection::sessionBus();
    ASSERT_TRUE(bus.isConnected());
    ASSERT_TRUE(bus.registerService(QString::fromLatin1(AppIds::calmix)));
    f.detector.checkIfRunning();
    const QString runningText = QStringLiteral("Calmix is running - toggle on to sync music with focus");
    ASSERT_TRUE(eventually([&] { return text(QStringLiteral("statusText")) == runningText; }));
    EXPECT_FALSE(shown(QStringLiteral("downloadLink")));
    EXPECT_DOUBLE_EQ(item(QStringLiteral("syncSwitch"))->property("dim").toDouble(), 1.0);
    ASSERT_TRUE(click(window, QStringLiteral("syncSwitch")));
    EXPECT_TRUE(f.timer.calmixSyncEnabled());
    EXPECT_EQ(text(QStringLiteral("statusText")),
        QStringLiteral("Connected - music syncs with your focus sessions"));
    EXPECT_TRUE(item(QStringLiteral("syncSwitch"))->property("checked").toBool());

    // Calmix quits: the flag stays on, the switch is drawn off and dimmed.
    bus.unregisterService(QString::fromLatin1(AppIds::calmix));
    f.detector.checkIfRunning();
    ASSERT_TRUE(eventually([&] { return text(QStringLiteral("statusText")) == notRunning; }));
    EXPECT_TRUE(f.timer.calmixSyncEnabled());
    EXPECT_FALSE(item(QStringLiteral("syncSwitch"))->property("checked").toBool());
    EXPECT_LT(item(QStringLiteral("syncSwitch"))->property("dim").toDouble(), 1.0);
    EXPECT_TRUE(shown(QStringLiteral("downloadLink")));
    f.timer.toggleCalmixSync();
}

/// What a click in the sidebar sends: "dashboard_opened" with the section, through the
/// real analytics client to an ingestion server on the loopback interface.
TEST_F(DashboardWindowTest, SelectedSectionsReachTheAnalyticsServer)
{
    QTemporaryDir identity;
    QFile machineId(identity.filePath(QStringLiteral("machine-id")));
    ASSERT_TRUE(
        machineId.open(QIODevice::WriteOnly) && machineId.write("4c2b1a0f9e8d7c6b5a49382716059483\n") > 0);
    machineId.close();
    beacon::test::LoopbackHttpServer server;
    beacon::test::SdkHarness harness;
    const std::shared_ptr<beacon::BeaconSDK> sdk = beacon::BeaconSDK::create();
    BeaconAnalyticsClient client(*sdk);
    AnalyticsService analytics({ client, f.prefs, f.clock, MachineIdentity({ machineId.fileName() }),
        harness.platform, false, server.baseUrl() });
    analytics.setup();
    const QMetaObject::Connection wiring = QObject::connect(&f.navigation,
        &DashboardNavigation::sectionSelected, &analytics, &AnalyticsService::trackDashboardOpened);

    ASSERT_TRUE(open(QStringLiteral("insights")));
    const QStringList clicked { "integrations", "tags", "settings", "settings" };
    for (const QString& section : clicked)
        ASSERT_TRUE(click(window, QStringLiteral("section:") + section));
    QObject::disconnect(wiring);
    ASSERT_TRUE(beacon::test::deliverAll(*sdk, harness.queueFolder()));

    const auto events = beacon::test::uploadedEvents(server, "dashboard_opened");
    ASSERT_EQ(events.size(), static_cast<std::size_t>(clicked.size())); // opening the window sent nothing
    for (int i = 0; i < clicked.size(); ++i) {
        EXPECT_EQ(events[i]["properties"]["section"], clicked[i].toStdString());
        EXPECT_EQ(events[i]["properties"]["app"], "velto");
        EXPECT_EQ(events[i]["distinct_id"], analytics.deviceIdentifier().toStdString());
    }
    EXPECT_TRUE(sdk->waitUntilIdleForTesting());
    sdk->close();
}

} // namespace

int main(int argc, char** argv)
{
    QuickTestSupport::prepareHeadlessViews();
    QGuiApplication app(argc, argv);
    Translations::install({}); // English, with its plural forms
    QGuiApplication::setApplicationVersion(QStringLiteral("1.0.0"));
    DashboardFixture fixture;
    shared = &fixture;
    QmlPublishing::publish(fixture.sharedObjects());
    QQmlEngine qml;
    QmlPublishing::prepare(qml);
    engine = &qml;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
