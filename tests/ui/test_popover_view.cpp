// The real popover, driven with the mouse and with the keyboard alone: every control
// reaches the engine, the tag manager or the theme, and what they publish reaches the view.
// Each test builds its own fixture and engine.
#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QQuickWindow>
#include <QSignalSpy>
#include <QtQml/qqmlextensionplugin.h>
#include <algorithm>
#include <gtest/gtest.h>
#include <set>

#include "PopoverFixture.h"
#include "QuickTestSupport.h"
#include "i18n/Translations.h"
#include "ui/QmlPublishing.h"

Q_IMPORT_QML_PLUGIN(VeltoPlugin)

namespace {

using namespace QuickTestSupport;

/// A popover window over its own fixture and engine; QML warnings are kept.
struct LoadedPopover {
    explicit LoadedPopover(QVariantMap stored = {})
        : f(std::move(stored))
    {
        QmlPublishing::publish(f.popoverObjects());
        QmlPublishing::prepare(engine);
        QObject::connect(&engine, &QQmlEngine::warnings, [this](const QList<QQmlError>& list) {
            for (const QQmlError& warning : list)
                warnings.append(warning.toString());
        });
        engine.load(QUrl(QStringLiteral("qrc:/Velto/qml/PopoverWindow.qml")));
        if (engine.rootObjects().size() == 1)
            window = qobject_cast<QQuickWindow*>(engine.rootObjects().first());
        if (window) {
            window->show();
            window->requestActivate();
        }
    }
    bool ready() const { return window && QTest::qWaitForWindowActive(window); }
    std::string focused() const { return focusedName(window); }
    bool focusReaches(const std::string& name) const { return QuickTestSupport::focusReaches(window, name); }
    bool ringShown() const
    {
        QQuickItem* item = window->activeFocusItem();
        return item && item->property("visualFocus").toBool();
    }
    void key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, int times = 1)
    {
        for (int i = 0; i < times; ++i)
            QTest::keyClick(window, key, modifiers);
        QTest::qWait(30);
    }

    PopoverFixture f;
    QQmlApplicationEngine engine;
    QQuickWindow* window = nullptr;
    QStringList warnings;
};

TEST(PopoverView, EveryControlDrivesTheRealManagers)
{
    LoadedPopover popover;
    ASSERT_TRUE(popover.ready());
    PopoverFixture& f = popover.f;
    QQuickWindow* window = popover.window;

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
    // Undo brings it back paused, until the Break tab is chosen again.
    QTest::qWait(250);
    ASSERT_TRUE(click(window, QStringLiteral("undoDiscardButton")));
    EXPECT_EQ(f.timer.currentState(), TimerState::work);
    EXPECT_FALSE(f.timer.isRunning());
    EXPECT_TRUE(f.timer.selectedModeIsFocus());
    ASSERT_TRUE(click(window, QStringLiteral("breakTab")));
    click(window, QStringLiteral("preset:10"));
    EXPECT_EQ(f.timer.shortBreakDuration(), 600.0);

    // Extend, skip and reset.
    click(window, QStringLiteral("focusTab"));
    click(window, QStringLiteral("playButton"));
    const double left = f.timer.timeRemaining();
    ASSERT_TRUE(click(window, QStringLiteral("extendButton")));
    EXPECT_EQ(f.timer.timeRemaining(), left + 300.0);
    ASSERT_TRUE(click(window, QStringLiteral("skipButton")));
    EXPECT_EQ(f.timer.currentState(), TimerState::shortBreak);
    EXPECT_FALSE(f.timer.isRunning());
    ASSERT_TRUE(click(window, QStringLiteral("resetButton")));
    EXPECT_EQ(f.timer.currentState(), TimerState::idle);
    EXPECT_EQ(f.timer.timeRemaining(), 0.0);

    // Back after a locked screen: the note says how long, and Resume goes on.
    click(window, QStringLiteral("focusTab"));
    click(window, QStringLiteral("playButton"));
    ASSERT_TRUE(f.timer.isRunning());
    emit f.screenLock.locked(f.clock.now());
    f.clock.advance(std::chrono::minutes(12));
    emit f.screenLock.unlocked(f.clock.now(), 720.0);
    QQuickItem* awayText = findItem(window->contentItem(), QStringLiteral("awayText"));
    ASSERT_TRUE(awayText);
    EXPECT_EQ(awayText->property("text").toString(), QStringLiteral("Screen locked for 12m"));
    QTest::qWait(250);
    ASSERT_TRUE(click(window, QStringLiteral("resumeButton")));
    EXPECT_TRUE(f.timer.isRunning());
    EXPECT_FALSE(f.focusProtection.awayShown());
    click(window, QStringLiteral("resetButton"));

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

    // Tags added and renamed elsewhere reach the picker, shown or not.
    f.tags.addTag(QStringLiteral("Reading"));
    ASSERT_TRUE(click(window, QStringLiteral("tagButton")));
    QTest::qWait(300);
    EXPECT_TRUE(findItem(window->contentItem(), QStringLiteral("tagRow:Reading")));
    f.tags.renameTag(QStringLiteral("Reading"), QStringLiteral("Books"));
    f.tags.addTag(QStringLiteral("Garden"));
    QTest::qWait(50);
    EXPECT_TRUE(findItem(window->contentItem(), QStringLiteral("tagRow:Books")));
    EXPECT_TRUE(findItem(window->contentItem(), QStringLiteral("tagRow:Garden")));
    QTest::keyClick(window, Qt::Key_Escape);
    QTest::qWait(400);
    EXPECT_FALSE(f.popover.tagPickerOpen());

    // A long press on a tab opens its colour picker; Apply writes the choice.
    ASSERT_TRUE(longPress(window, QStringLiteral("breakTab")));
    ASSERT_TRUE(f.popover.colorPickerOpen());
    EXPECT_FALSE(f.popover.colorPicker()->isForFocus());
    ASSERT_TRUE(click(window, QStringLiteral("swatch:sky")));
    ASSERT_TRUE(click(window, QStringLiteral("applyColorButton")));
    EXPECT_FALSE(f.popover.colorPickerOpen());
    EXPECT_EQ(f.theme.breakColorId(), QStringLiteral("sky"));
    EXPECT_EQ(f.prefs.value(QStringLiteral("breakColorId")).toString(), QStringLiteral("sky"));
    EXPECT_EQ(popover.warnings, QStringList());
}

TEST(PopoverView, OverlaysShrinkWithAPopoverThatHadToShrink)
{
    LoadedPopover popover;
    ASSERT_TRUE(popover.ready());
    PopoverFixture& f = popover.f;
    QQuickWindow* window = popover.window;
    // As on a screen too small for the popover: its window shows the view at 60 %.
    constexpr qreal scale = 0.6;
    window->setProperty("contentScale", scale);
    window->resize(QSize(192, 324));
    QTest::qWait(50);
    const QRectF inside(QPointF(0, 0), QSizeF(window->size()));
    const auto sceneRect = [&](const QString& name) {
        QQuickItem* item = findItem(window->contentItem(), name);
        return item ? item->mapRectToScene(QRectF(0, 0, item->width(), item->height())) : QRectF();
    };

    // The first-run tip covers the shrunken view exactly.
    ASSERT_TRUE(f.popover.colorTipShown());
    EXPECT_TRUE(inside.contains(sceneRect(QStringLiteral("gotItButton"))));
    ASSERT_TRUE(click(window, QStringLiteral("gotItButton")));
    QTest::qWait(400);

    // The tag picker keeps its margins and rows, shrunk, and its rows still take clicks.
    f.popover.toggleTagPicker();
    QTest::qWait(400);
    const QRectF picker = sceneRect(QStringLiteral("tagPicker"));
    EXPECT_TRUE(inside.contains(picker)) << picker.x() << "," << picker.y() << " " << picker.width();
    EXPECT_NEAR(picker.width(), (320 - 80) * scale, 1.0);
    ASSERT_TRUE(click(window, QStringLiteral("tagRow:Deep Work")));
    EXPECT_EQ(f.tags.currentSessionTagText(), QStringLiteral("Deep Work"));
    QTest::qWait(400);

    // The colour sheet, wider than the shrunken window at full size, fits inside it.
    ASSERT_TRUE(longPress(window, QStringLiteral("breakTab")));
    QTest::qWait(500);
    // Its column sits 16 points inside the card's edges.
    const qreal margin = 16 * scale;
    const QRectF sheet = sceneRect(QStringLiteral("colorPicker")).adjusted(-margin, -margin, margin, margin);
    EXPECT_TRUE(inside.contains(sheet)) << sheet.x() << "," << sheet.y() << " " << sheet.width();
    ASSERT_TRUE(click(window, QStringLiteral("swatch:sky")));
    ASSERT_TRUE(click(window, QStringLiteral("applyColorButton")));
    EXPECT_EQ(f.theme.breakColorId(), QStringLiteral("sky"));
    EXPECT_EQ(popover.warnings, QStringList());
}

TEST(PopoverView, TheKeyboardAloneReachesEveryControl)
{
    LoadedPopover popover;
    ASSERT_TRUE(popover.ready());
    PopoverFixture& f = popover.f;
    QSignalSpy dismissed(popover.window, SIGNAL(dismissRequested()));
    QSignalSpy dashboard(&f.popover, &MiniTimerViewModel::dashboardRequested);

    // The first-run tip holds the keyboard; Return is its "Got it!".
    ASSERT_TRUE(f.popover.colorTipShown());
    ASSERT_TRUE(popover.focusReaches("gotItButton"));
    popover.key(Qt::Key_Return);
    EXPECT_FALSE(f.popover.colorTipShown());
    QTest::qWait(350);

    // Tab reaches every control in reading order, each with its ring, and comes round again.
    const std::vector<std::string> order { "focusTab", "preset:25", "playButton", "tagButton",
        "insightsButton", "settingsButton", "autoStartSwitch", "syncButton", "focusTab" };
    for (const std::string& expected : order) {
        popover.key(Qt::Key_Tab);
        EXPECT_EQ(popover.focused(), expected);
        EXPECT_TRUE(popover.ringShown()) << expected;
    }
    popover.key(Qt::Key_Backtab);
    EXPECT_EQ(popover.focused(), "syncButton");
    popover.key(Qt::Key_Tab);

    // The arrows move between the tabs; Return chooses one.
    popover.key(Qt::Key_Right);
    EXPECT_EQ(popover.focused(), "breakTab");
    EXPECT_TRUE(f.timer.selectedModeIsFocus());
    popover.key(Qt::Key_Return);
    EXPECT_FALSE(f.timer.selectedModeIsFocus());
    popover.key(Qt::Key_Left);
    popover.key(Qt::Key_Return);
    EXPECT_TRUE(f.timer.selectedModeIsFocus());

    // The chips: Tab lands on the chosen one, the arrows move, Return picks.
    popover.key(Qt::Key_Tab);
    EXPECT_EQ(popover.focused(), "preset:25");
    popover.key(Qt::Key_Right);
    EXPECT_EQ(popover.focused(), "preset:50");
    popover.key(Qt::Key_Return);
    EXPECT_EQ(f.timer.workDuration(), 3000.0);

    // Return on play starts; Space pauses and resumes wherever the keyboard is.
    popover.key(Qt::Key_Tab);
    EXPECT_EQ(popover.focused(), "playButton");
    popover.key(Qt::Key_Return);
    EXPECT_TRUE(f.timer.isRunning());
    popover.key(Qt::Key_Tab, Qt::NoModifier, 4); // skip, now enabled
    EXPECT_EQ(popover.focused(), "skipButton");
    popover.key(Qt::Key_Space);
    EXPECT_FALSE(f.timer.isRunning());
    popover.key(Qt::Key_Tab);
    EXPECT_EQ(popover.focused(), "extendButton");
    popover.key(Qt::Key_Tab);
    EXPECT_EQ(popover.focused(), "autoStartSwitch");
    popover.key(Qt::Key_Space);
    EXPECT_TRUE(f.timer.isRunning());
    EXPECT_FALSE(f.timer.autoStartNext()); // Space never flips the switch
    popover.key(Qt::Key_Return);
    EXPECT_TRUE(f.timer.autoStartNext());

    // The other tab discards the running interval; Shift+Tab from the tabs reaches Undo,
    // which Space presses (not play/pause), and Undo brings the interval back paused.
    while (popover.focused() != "focusTab")
        popover.key(Qt::Key_Backtab);
    popover.key(Qt::Key_Right);
    popover.key(Qt::Key_Return);
    ASSERT_EQ(f.timer.currentState(), TimerState::idle);
    popover.key(Qt::Key_Backtab);
    EXPECT_EQ(popover.focused(), "undoDiscardButton");
    EXPECT_TRUE(popover.ringShown());
    popover.key(Qt::Key_Space);
    EXPECT_EQ(f.timer.currentState(), TimerState::work);
    EXPECT_FALSE(f.timer.isRunning());
    EXPECT_TRUE(f.timer.selectedModeIsFocus());
    EXPECT_FALSE(f.popover.canUndoDiscard());

    // The tag picker: the arrows walk the tags, Return picks one, Escape closes only the picker.
    while (popover.focused() != "tagButton")
        popover.key(Qt::Key_Tab);
    popover.key(Qt::Key_Return);
    ASSERT_TRUE(popover.focusReaches("tagRow:Work"));
    popover.key(Qt::Key_Down, Qt::NoModifier, 3);
    EXPECT_EQ(popover.focused(), "tagRow:Deep Work");
    popover.key(Qt::Key_Return);
    EXPECT_EQ(f.tags.currentSessionTagText(), QStringLiteral("Deep Work"));
    EXPECT_FALSE(f.popover.tagPickerOpen());
    QTest::qWait(400);
    EXPECT_EQ(popover.focused(), "tagButton");
    popover.key(Qt::Key_Return);
    ASSERT_TRUE(popover.focusReaches("tagRow:Deep Work")); // the current tag
    popover.key(Qt::Key_Escape);
    EXPECT_FALSE(f.popover.tagPickerOpen());
    EXPECT_EQ(dismissed.size(), 0);
    QTest::qWait(400);

    // The colour picker from the keyboard: the menu key on a tab, the arrows, Return, Escape.
    while (popover.focused() != "focusTab")
        popover.key(Qt::Key_Backtab);
    popover.key(Qt::Key_Menu);
    ASSERT_TRUE(f.popover.colorPickerOpen());
    QTest::qWait(400);
    EXPECT_EQ(popover.focused(), "swatch:coral");
    popover.key(Qt::Key_Right);
    popover.key(Qt::Key_Return);
    EXPECT_NE(f.popover.colorPicker()->selectedColorId(), QStringLiteral("coral"));
    popover.key(Qt::Key_Escape);
    EXPECT_FALSE(f.popover.colorPickerOpen());
    EXPECT_EQ(f.theme.focusColorId(), QStringLiteral("coral"));
    QTest::qWait(400);

    // Insights opens the dashboard on its section.
    while (popover.focused() != "insightsButton")
        popover.key(Qt::Key_Tab);
    popover.key(Qt::Key_Return);
    ASSERT_EQ(dashboard.size(), 1);
    EXPECT_EQ(dashboard.first().first().toString(), QStringLiteral("insights"));

    // Escape with nothing open closes the popover; shown again, the keyboard starts afresh.
    popover.key(Qt::Key_Tab, Qt::NoModifier, 4);
    EXPECT_EQ(popover.focused(), "autoStartSwitch");
    popover.key(Qt::Key_Escape);
    EXPECT_EQ(dismissed.size(), 1);
    popover.window->hide();
    QTest::qWait(50);
    popover.window->show();
    popover.window->requestActivate();
    ASSERT_TRUE(QTest::qWaitForWindowActive(popover.window));
    EXPECT_NE(popover.focused(), "autoStartSwitch");
    EXPECT_FALSE(popover.ringShown());
    const bool running = f.timer.isRunning();
    popover.key(Qt::Key_Space);
    EXPECT_NE(f.timer.isRunning(), running);
    popover.key(Qt::Key_Tab);
    EXPECT_EQ(popover.focused(), "focusTab");

    // Tab and Shift+Tab held down: the keyboard keeps going round the same controls.
    std::set<std::string> visited;
    for (int i = 0; i < 300; ++i) {
        QTest::keyClick(popover.window, Qt::Key_Tab, i < 150 ? Qt::NoModifier : Qt::ShiftModifier);
        visited.insert(popover.focused());
    }
    EXPECT_GE(visited.size(), 9);
    const std::set<std::string> controls { "focusTab", "breakTab", "preset:25", "preset:50", "preset:90",
        "playButton", "tagButton", "insightsButton", "settingsButton", "skipButton", "extendButton",
        "autoStartSwitch", "syncButton", "resetButton" };
    EXPECT_TRUE(std::includes(controls.begin(), controls.end(), visited.begin(), visited.end()));
    EXPECT_EQ(popover.warnings, QStringList());
}

} // namespace

int main(int argc, char** argv)
{
    QuickTestSupport::prepareHeadlessViews();
    QGuiApplication app(argc, argv);
    Translations::install({}); // English, with its plural forms
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
