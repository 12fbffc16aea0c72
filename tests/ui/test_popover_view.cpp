// The real popover, driven with the mouse: every control reaches the engine,
// the tag manager or the theme, and what they publish reaches the view.
#include <QGuiApplication>
#include <QStandardPaths>
#include <QQmlApplicationEngine>
#include <QQuickWindow>
#include <QtQml/qqmlextensionplugin.h>
#include <gtest/gtest.h>

#include "PopoverFixture.h"
#include "QuickTestSupport.h"
#include "ui/QmlPublishing.h"

Q_IMPORT_QML_PLUGIN(VeltoPlugin)

namespace {

using namespace QuickTestSupport;

TEST(PopoverView, EveryControlDrivesTheRealManagers)
{
    PopoverFixture f;
    QmlPublishing::publish({ &f.timer, &f.tags, &f.theme, &f.colors, &f.detector, &f.popover });
    QQmlApplicationEngine engine;
    QmlPublishing::prepare(engine);
    engine.load(QUrl(QStringLiteral("qrc:/Velto/qml/PopoverWindow.qml")));
    ASSERT_EQ(engine.rootObjects().size(), 1);
    auto* window = qobject_cast<QQuickWindow*>(engine.rootObjects().first());
    ASSERT_TRUE(window);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));

    // The first-run tip covers everything until it is dismissed.
    ASSERT_TRUE(click(window, QStringLiteral("gotItButton")));
    EXPECT_FALSE(f.popover.colorTipShown());
    EXPECT_TRUE(f.prefs.value(QStringLiteral("colorTipDismissed")).toBool());
    QTest::qWait(400);

    // Start, count, pause, resume.
    ASSERT_TRUE(click(window, QStringLiteral("playButton")));
    EXPECT_TRUE(f.timer.isRunning());
    EXPECT_EQ(f.timer.currentState(), TimerState::work);
    f.tick(3);
    EXPECT_EQ(f.popover.timeText(), QStringLiteral("24:57"));
    click(window, QStringLiteral("playButton"));
    EXPECT_FALSE(f.timer.isRunning());
    click(window, QStringLiteral("playButton"));
    EXPECT_TRUE(f.timer.isRunning());

    // Presets are locked while running.
    click(window, QStringLiteral("preset:50"));
    EXPECT_EQ(f.timer.workDuration(), 1500.0);

    // Switching tabs while running abandons the interval.
    ASSERT_TRUE(click(window, QStringLiteral("breakTab")));
    EXPECT_EQ(f.timer.currentState(), TimerState::idle);
    EXPECT_FALSE(f.timer.isRunning());
    EXPECT_FALSE(f.timer.selectedModeIsFocus());
    EXPECT_EQ(f.popover.timeText(), QStringLiteral("05:00"));
    click(window, QStringLiteral("preset:10"));
    EXPECT_EQ(f.timer.shortBreakDuration(), 600.0);

    // Skip and reset.
    click(window, QStringLiteral("focusTab"));
    click(window, QStringLiteral("playButton"));
    ASSERT_TRUE(click(window, QStringLiteral("skipButton")));
    EXPECT_EQ(f.timer.currentState(), TimerState::shortBreak);
    EXPECT_FALSE(f.timer.isRunning());
    ASSERT_TRUE(click(window, QStringLiteral("resetButton")));
    EXPECT_EQ(f.timer.currentState(), TimerState::idle);
    EXPECT_EQ(f.timer.timeRemaining(), 0.0);

    // Pick a tag, then clear it.
    ASSERT_TRUE(click(window, QStringLiteral("tagButton")));
    EXPECT_TRUE(f.popover.tagPickerOpen());
    QTest::qWait(300);
    ASSERT_TRUE(click(window, QStringLiteral("tagRow:Deep Work")));
    EXPECT_EQ(f.tags.currentSessionTagText(), QStringLiteral("Deep Work"));
    EXPECT_FALSE(f.popover.tagPickerOpen());
    QTest::qWait(400);
    ASSERT_TRUE(click(window, QStringLiteral("tagButton")));
    ASSERT_TRUE(f.popover.tagPickerOpen());
    QTest::qWait(300);
    ASSERT_TRUE(click(window, QStringLiteral("clearTagButton")));
    EXPECT_FALSE(f.tags.currentSessionTag().has_value());
    QTest::qWait(400);

    // A long press on a tab opens its colour picker; Apply writes the choice.
    ASSERT_TRUE(longPress(window, QStringLiteral("breakTab")));
    ASSERT_TRUE(f.popover.colorPickerOpen());
    EXPECT_FALSE(f.popover.colorPicker()->isForFocus());
    ASSERT_TRUE(click(window, QStringLiteral("swatch:sky")));
    ASSERT_TRUE(click(window, QStringLiteral("applyColorButton")));
    EXPECT_FALSE(f.popover.colorPickerOpen());
    EXPECT_EQ(f.theme.breakColorId(), QStringLiteral("sky"));
    EXPECT_EQ(f.prefs.value(QStringLiteral("breakColorId")).toString(), QStringLiteral("sky"));
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    setenv("TZ", "Europe/Berlin", 1);
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    QStandardPaths::setTestModeEnabled(true);
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
