// The Settings page's decisions: lengths within limits and only while no interval
// runs, the switches and what they change, and the login entry.
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <gtest/gtest.h>

#include "DashboardFixture.h"
#include "platform/PreferenceValues.h"

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
    const std::pair<const char*, int> typed[] = { { "0", 1 },      { "181", 180 }, { "99999999999999999999999", 180 },
                                                  { "12", 12 },    { "-5", 12 },   { "4.5", 12 },
                                                  { "", 12 },      { "ten", 12 },  { "٣", 12 } };
    for (const auto& [text, minutes] : typed) {
        durations.clear();
        settings.enterFocusMinutes(QString::fromUtf8(text));
        EXPECT_EQ(settings.focusMinutes(), minutes) << text;
        // Taken, clamped or refused: the field is told what is in force.
        EXPECT_FALSE(durations.isEmpty()) << text;
    }
    settings.enterFocusMinutes(QStringLiteral("180"));
    settings.stepFocusMinutes(5);
    EXPECT_EQ(settings.focusMinutes(), 180);
    settings.enterFocusMinutes(QStringLiteral("1"));
    settings.stepFocusMinutes(-1);
    EXPECT_EQ(settings.focusMinutes(), 1);

    settings.enterBreakMinutes(QStringLiteral("10"));
    EXPECT_EQ(f.timer.shortBreakDuration(), 600);
    EXPECT_EQ(f.timer.longBreakDuration(), 1800);
    EXPECT_EQ(settings.longBreakText(), QStringLiteral("Long breaks: 30 min"));
    f.popover.selectTab(false);
    EXPECT_EQ(f.popover.selectedPreset(), 10);
    settings.stepBreakMinutes(-10);
    EXPECT_EQ(settings.breakMinutes(), 1);
}

TEST_F(SettingsModelTest, ARunningIntervalKeepsItsLengthsUntilPaused)
{
    QSignalSpy editable(&settings, &SettingsViewModel::durationsEditableChanged);
    EXPECT_TRUE(settings.durationsEditable());
    EXPECT_TRUE(settings.durationsNote().isEmpty());

    f.timer.start(false);
    EXPECT_FALSE(editable.isEmpty());
    EXPECT_FALSE(settings.durationsEditable());
    EXPECT_FALSE(settings.durationsNote().isEmpty());
    settings.stepFocusMinutes(5);
    settings.enterBreakMinutes(QStringLiteral("20"));
    EXPECT_EQ(f.timer.workDuration(), 1500);
    EXPECT_EQ(f.timer.shortBreakDuration(), 300);

    // Paused, the interval keeps its time left and the next one takes the new length.
    f.timer.pause();
    EXPECT_TRUE(settings.durationsEditable());
    EXPECT_TRUE(settings.durationsNote().isEmpty());
    settings.stepFocusMinutes(5);
    EXPECT_EQ(f.timer.workDuration(), 1800);
    EXPECT_EQ(f.timer.timeRemaining(), 1500);
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
    SettingsViewModel locked(f.timer, f.prefs, optedOut, AutostartEntry(f.autostartPath(), QStringLiteral("velto")));
    EXPECT_TRUE(locked.shareUsageLocked());
    EXPECT_FALSE(locked.shareUsage());
    locked.toggleShareUsage();
    EXPECT_FALSE(locked.shareUsage());
    EXPECT_TRUE(client.setups.empty());
    EXPECT_TRUE(locked.privacyNote().contains(QStringLiteral("DO_NOT_TRACK")));
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
