// The Settings page's decisions: typed lengths, the switches and what they change,
// and the login entry.
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <gtest/gtest.h>

#include "DashboardFixture.h"
#include "platform/PreferenceValues.h"

using namespace std::chrono_literals;

namespace {

class SettingsModelTest : public ::testing::Test {
protected:
    DashboardFixture f;
    SettingsViewModel& settings = f.settings;
};

TEST_F(SettingsModelTest, LengthsStayWithinLimitsAndGoThroughTheTimer)
{
    EXPECT_EQ(settings.focusMinutes(), 25);
    EXPECT_EQ(settings.breakMinutes(), 5);
    EXPECT_EQ(settings.longBreakText(), QStringLiteral("Long breaks: 15 min"));

    settings.stepFocusMinutes(1);
    EXPECT_EQ(f.timer.workDuration(), 26 * 60);
    settings.enterFocusMinutes(QStringLiteral(" 50 "));
    EXPECT_EQ(f.timer.workDuration(), 50 * 60);
    EXPECT_EQ(PreferenceValues::number(f.prefs.value(QStringLiteral("workDuration"))), 50 * 60);
    EXPECT_EQ(f.popover.selectedPreset(), 50);

    QSignalSpy durations(&settings, &SettingsViewModel::durationsChanged);
    const std::pair<const char*, int> typed[]
        = { { "0", 1 }, { "181", 180 }, { "99999999999999999999999", 180 }, { "12", 12 }, { "-5", 12 },
              { "4.5", 12 }, { "", 12 }, { "ten", 12 }, { "٣", 12 } };
    for (const auto& [text, minutes] : typed) {
        durations.clear();
        settings.enterFocusMinutes(QString::fromUtf8(text));
        EXPECT_EQ(settings.focusMinutes(), minutes) << text;
        // Taken, clamped or refused: the field is told what is in force.
        EXPECT_FALSE(durations.isEmpty()) << text;
    }

    settings.enterBreakMinutes(QStringLiteral("10"));
    EXPECT_EQ(f.timer.shortBreakDuration(), 600);
    EXPECT_EQ(f.timer.longBreakDuration(), 1800);
    EXPECT_EQ(settings.longBreakText(), QStringLiteral("Long breaks: 30 min"));
    f.popover.selectTab(false);
    EXPECT_EQ(f.popover.selectedPreset(), 10);
    settings.stepBreakMinutes(-10);
    EXPECT_EQ(settings.breakMinutes(), 1);
}

TEST_F(SettingsModelTest, LengthsAreLockedWhileAnIntervalIsUnderWay)
{
    QSignalSpy editable(&settings, &SettingsViewModel::durationsEditableChanged);
    EXPECT_TRUE(settings.durationsEditable());
    EXPECT_TRUE(settings.durationsNote().isEmpty());

    f.timer.start(false);
    f.timer.pause();
    EXPECT_FALSE(editable.isEmpty());
    EXPECT_FALSE(settings.durationsEditable());
    EXPECT_FALSE(settings.durationsNote().isEmpty());
    QSignalSpy durations(&settings, &SettingsViewModel::durationsChanged);
    settings.stepFocusMinutes(5);
    EXPECT_EQ(durations.size(), 1); // the field goes back to the length in force
    EXPECT_EQ(settings.focusMinutes(), 25);
}

TEST_F(SettingsModelTest, SwitchesChangeTheTimerThePreferencesAndAnalytics)
{
    settings.toggleAutoStart();
    EXPECT_TRUE(f.timer.autoStartNext());
    EXPECT_TRUE(PreferenceValues::boolean(f.prefs.value(QStringLiteral("autoStartNext"))));

    EXPECT_TRUE(settings.endSound());
    EXPECT_TRUE(settings.endNotification());
    QSignalSpy alerts(&settings, &SettingsViewModel::endAlertsChanged);
    settings.toggleEndSound();
    settings.toggleEndNotification();
    EXPECT_EQ(alerts.size(), 2);
    EXPECT_EQ(f.prefs.value(QStringLiteral("veltoEndSound")), QVariant(false));
    EXPECT_EQ(f.prefs.value(QStringLiteral("veltoEndNotification")), QVariant(false));
    settings.toggleEndSound();
    EXPECT_TRUE(settings.endSound());
    EXPECT_FALSE(settings.endNotification());

    f.analytics.setup();
    EXPECT_TRUE(settings.shareUsage());
    const QString sharingNote = settings.privacyNote();
    QSignalSpy sharing(&settings, &SettingsViewModel::sharingChanged);
    settings.toggleShareUsage();
    EXPECT_FALSE(settings.shareUsage());
    EXPECT_EQ(f.analyticsClient.closes, 1);
    EXPECT_EQ(f.prefs.value(QStringLiteral("veltoShareUsageStatistics")), QVariant(false));
    EXPECT_NE(settings.privacyNote(), sharingNote);
    settings.toggleShareUsage();
    EXPECT_TRUE(settings.shareUsage());
    EXPECT_EQ(f.analyticsClient.setups.size(), 2u);
    EXPECT_EQ(sharing.size(), 2);

    // DO_NOT_TRACK: off, and the switch cannot turn it on.
    RecordingAnalyticsClient client;
    AnalyticsService optedOut({ client, f.prefs, f.clock, MachineIdentity(QStringList()), nullptr, true });
    SettingsViewModel locked(
        f.timer, f.prefs, optedOut, AutostartEntry(f.autostartPath(), QStringLiteral("velto")));
    EXPECT_TRUE(locked.shareUsageLocked());
    EXPECT_FALSE(locked.shareUsage());
    locked.toggleShareUsage();
    EXPECT_FALSE(locked.shareUsage());
    EXPECT_TRUE(client.setups.empty());
    EXPECT_TRUE(locked.privacyNote().contains(QStringLiteral("DO_NOT_TRACK")));
}

TEST_F(SettingsModelTest, CycleAndGoalRowsStayWithinTheirLimits)
{
    CycleSettingsViewModel& cycle = f.cycleSettings;
    EXPECT_EQ(cycle.intervalsBeforeLongBreak(), 4);
    EXPECT_EQ(cycle.longBreakMinutes(), 15);
    const QString followsNote = cycle.longBreakNote();
    QSignalSpy changed(&cycle, &CycleSettingsViewModel::cycleChanged);
    for (const auto& [text, count] : { std::pair { "1", 2 }, { "9", 8 }, { "x", 8 }, { "3", 3 } }) {
        changed.clear();
        cycle.enterIntervals(QString::fromLatin1(text));
        EXPECT_EQ(cycle.intervalsBeforeLongBreak(), count) << text;
        EXPECT_FALSE(changed.isEmpty()) << text;
    }
    cycle.stepIntervals(-1);
    EXPECT_EQ(f.timer.intervalsBeforeLongBreak(), 2);
    cycle.enterLongBreakMinutes(QStringLiteral("0"));
    EXPECT_EQ(cycle.longBreakMinutes(), 1);
    cycle.stepLongBreakMinutes(19);
    EXPECT_EQ(f.timer.longBreakDuration(), 20 * 60);
    EXPECT_NE(cycle.longBreakNote(), followsNote);
    settings.enterBreakMinutes(QStringLiteral("10"));
    EXPECT_EQ(cycle.longBreakMinutes(), 20) << "the chosen long break stays";

    GoalSettingsViewModel& goal = f.goalSettings;
    EXPECT_FALSE(goal.isOn());
    goal.toggle();
    EXPECT_TRUE(f.goal.isOn());
    goal.enter(QStringLiteral("25"));
    EXPECT_EQ(goal.sessions(), 20);
    goal.step(-30);
    EXPECT_EQ(f.goal.sessions(), 1);
    EXPECT_EQ(PreferenceValues::integer(f.prefs.value(QStringLiteral("veltoDailyGoal"))), 1);
    goal.toggle();
    EXPECT_EQ(f.prefs.value(QStringLiteral("veltoDailyGoalOn")), QVariant(false));
}

TEST_F(SettingsModelTest, ACommandsResultIsOneLine)
{
    const auto result = [](HookResult::Outcome outcome, int exitCode, const char* error) {
        return CommandsViewModel::resultText(
            { HookEvent::paused, QStringLiteral("x"), outcome, exitCode, QString::fromUtf8(error) }, 60s);
    };
    EXPECT_EQ(result(HookResult::Outcome::exited, 0, ""), QStringLiteral("Exit status 0"));
    EXPECT_EQ(result(HookResult::Outcome::exited, 127, "sh: 1: foo: not found"),
        QStringLiteral("Exit status 127: sh: 1: foo: not found"));
    EXPECT_EQ(result(HookResult::Outcome::timedOut, -1, ""), QStringLiteral("Stopped after 60 seconds"));
    EXPECT_EQ(result(HookResult::Outcome::signalled, -1, ""), QStringLiteral("Ended by a signal"));
    EXPECT_EQ(result(HookResult::Outcome::failedToStart, -1, "execve failed"),
        QStringLiteral("Could not start: execve failed"));
}

TEST_F(SettingsModelTest, OpenAtLoginFollowsTheEntryAndSaysWhyAChangeFailed)
{
    QSignalSpy changed(&settings, &SettingsViewModel::openAtLoginChanged);
    EXPECT_FALSE(settings.openAtLogin());
    settings.toggleOpenAtLogin();
    EXPECT_TRUE(settings.openAtLogin());
    EXPECT_TRUE(QFileInfo::exists(f.autostartPath()));
    EXPECT_TRUE(settings.openAtLoginError().isEmpty());

    // Removed outside Velto: seen when the page asks again.
    ASSERT_TRUE(QFile::remove(f.autostartPath()));
    changed.clear();
    settings.refresh();
    EXPECT_FALSE(settings.openAtLogin());
    EXPECT_EQ(changed.size(), 1);

    const QString folder = QFileInfo(f.autostartPath()).absolutePath();
    ASSERT_TRUE(QDir(folder).removeRecursively());
    QFile blocker(folder);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    settings.toggleOpenAtLogin();
    EXPECT_FALSE(settings.openAtLogin());
    EXPECT_FALSE(settings.openAtLoginError().isEmpty());
}

} // namespace
