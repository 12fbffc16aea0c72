#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include "FakeClock.h"
#include "MemoryPreferences.h"
#include "RecordingDesktop.h"
#include "TestCalendars.h"
#include "data/SessionStore.h"
#include "data/TagManager.h"
#include "platform/PreferenceValues.h"
#include "timer/EndAlerts.h"
#include "timer/TimerManager.h"

using namespace std::chrono_literals;

namespace {

const QTimeZone kBerlin("Europe/Berlin");
const QStringList kPlay { QStringLiteral("play") };

class TimerManagerTest : public ::testing::Test {
protected:
    TimerManager& timer()
    {
        if (!m_timer)
            m_timer = std::make_unique<TimerManager>(TimerManager::Dependencies {
                prefs, clock, calendar, [this]() -> SessionStore& { return store(); }, tags, notifier, sound, companion });
        return *m_timer;
    }
    SessionStore& store()
    {
        if (!m_store)
            m_store = std::make_unique<SessionStore>(dir.filePath(QStringLiteral("sessions.json")), clock, calendar);
        return *m_store;
    }
    /// One second passes and the tick timer fires.
    void tick(int seconds = 1)
    {
        for (int i = 0; i < seconds; ++i) {
            clock.advance(1s);
            timer().catchUpTicks();
        }
    }
    void runToEnd()
    {
        for (int guard = 0; guard < 100000 && m_store_count() == recordsBefore; ++guard)
            tick();
    }
    std::size_t m_store_count() { return store().sessions().size(); }

    /// Completes the armed interval by ticking through it.
    void completeCurrent()
    {
        recordsBefore = m_store_count();
        runToEnd();
    }

    QTemporaryDir dir;
    FakeClock clock { localTime(kBerlin, 2026, 12, 9, 10, 0) };
    Calendar calendar = berlinCalendar();
    MemoryPreferences prefs;
    TagManager tags { prefs };
    RecordingNotifier notifier;
    RecordingSound sound;
    RecordingCompanion companion;
    std::size_t recordsBefore = 0;
    std::unique_ptr<SessionStore> m_store;
    std::unique_ptr<TimerManager> m_timer;
};

TEST_F(TimerManagerTest, FocusIntervalCountsDownAndCompletesOnTheTickAfterZero)
{
    tags.chooseCurrentTag(QStringLiteral("Deep Work"));
    timer().start(false);
    EXPECT_EQ(timer().currentState(), TimerState::work);
    EXPECT_EQ(timer().timeString(), QStringLiteral("25:00"));
    EXPECT_TRUE(timer().isRunning());
    tick(1500);
    EXPECT_EQ(timer().timeString(), QStringLiteral("00:00"));
    EXPECT_TRUE(store().sessions().empty());
    tick();
    ASSERT_EQ(store().sessions().size(), 1u);
    const SessionRecord& record = store().sessions().front();
    EXPECT_EQ(record.type, SessionType::focus);
    EXPECT_EQ(record.duration, 1500.0);
    EXPECT_TRUE(record.completedFully);
    EXPECT_EQ(record.tag, QStringLiteral("Deep Work"));
    EXPECT_EQ(record.date, clock.now());
    EXPECT_EQ(timer().currentState(), TimerState::idle);
    EXPECT_EQ(timer().timeRemaining(), 0.0);
    EXPECT_FALSE(timer().isRunning());
    EXPECT_EQ(timer().dailySessions(), 1);
    EXPECT_EQ(timer().sessionsCompleted(), 1);
    EXPECT_EQ(timer().focusTimeTodayText(), QStringLiteral("25m"));
    EXPECT_EQ(sound.plays, 1);
    ASSERT_EQ(notifier.notifications.size(), 1);
    EXPECT_EQ(notifier.notifications.first(),
              qMakePair(QStringLiteral("Session Complete!"), QStringLiteral("Great work! Time for a break.")));
    EXPECT_EQ(PreferenceValues::integer(prefs.value(QStringLiteral("dailySessions"))), 1);
    EXPECT_EQ(prefs.value(QStringLiteral("totalFocusTimeToday")).typeId(), QMetaType::Double);
    EXPECT_EQ(PreferenceValues::date(prefs.value(QStringLiteral("lastSessionDate"))), clock.now().toDateTime());
}

TEST_F(TimerManagerTest, PauseAndResumeContinueWhereTheyStopped)
{
    timer().start(false);
    tick(12 * 60 + 26);
    EXPECT_EQ(timer().timeString(), QStringLiteral("12:34"));
    timer().pause();
    EXPECT_FALSE(timer().isRunning());
    clock.advance(10min);
    timer().catchUpTicks();
    EXPECT_EQ(timer().timeString(), QStringLiteral("12:34"));
    timer().start(true); // resuming ignores the kind asked for
    EXPECT_EQ(timer().currentState(), TimerState::work);
    tick();
    EXPECT_EQ(timer().timeString(), QStringLiteral("12:33"));
}

TEST_F(TimerManagerTest, BreakRecordsNoTagAndLeavesTodaysCountersAlone)
{
    tags.chooseCurrentTag(QStringLiteral("Work"));
    timer().start(true);
    EXPECT_EQ(timer().currentState(), TimerState::shortBreak);
    EXPECT_EQ(timer().timeString(), QStringLiteral("05:00"));
    completeCurrent();
    const SessionRecord& record = store().sessions().front();
    EXPECT_EQ(record.type, SessionType::shortBreak);
    EXPECT_FALSE(record.tag);
    EXPECT_EQ(timer().dailySessions(), 0);
    EXPECT_EQ(notifier.notifications.first().second, QStringLiteral("Break's over. Ready to focus?"));
}

TEST_F(TimerManagerTest, TheEndSoundAndNotificationFollowTheirSwitches)
{
    EndAlerts::setSoundOn(prefs, false);
    timer().start(true);
    completeCurrent();
    EXPECT_EQ(sound.plays, 0);
    EXPECT_EQ(notifier.notifications.size(), 1);

    EndAlerts::setNotificationOn(prefs, false);
    prefs.setValue(QLatin1String(EndAlerts::soundKey), QStringLiteral("off")); // not a Boolean: on
    timer().start(false);
    completeCurrent();
    EXPECT_EQ(sound.plays, 1);
    EXPECT_EQ(notifier.notifications.size(), 1);
    // Only the announcements are skipped: the interval is recorded and counted.
    EXPECT_EQ(store().sessions().size(), 2u);
    EXPECT_EQ(timer().dailySessions(), 1);
    EXPECT_EQ(timer().currentState(), TimerState::idle);
}

TEST_F(TimerManagerTest, AutoStartGivesALongBreakAfterEveryFourthFocusInterval)
{
    timer().toggleAutoStart();
    EXPECT_TRUE(PreferenceValues::boolean(prefs.value(QStringLiteral("autoStartNext"))));
    timer().start(false);
    QList<TimerState> breaks;
    for (int i = 0; i < 5; ++i) {
        completeCurrent(); // focus
        breaks.append(timer().currentState());
        EXPECT_TRUE(timer().isRunning());
        EXPECT_EQ(timer().timeRemaining(), timer().durationFor(timer().currentState()));
        completeCurrent(); // the break
        EXPECT_EQ(timer().currentState(), TimerState::work);
    }
    EXPECT_EQ(breaks, (QList<TimerState> { TimerState::shortBreak, TimerState::shortBreak, TimerState::shortBreak,
                                           TimerState::longBreak, TimerState::shortBreak }));
    EXPECT_EQ(store().sessions().at(7).type, SessionType::longBreak);
    EXPECT_EQ(timer().dailySessions(), 5);
}

TEST_F(TimerManagerTest, ResetAndSkipRecordNothing)
{
    timer().start(false);
    tick(30);
    timer().reset();
    EXPECT_EQ(timer().currentState(), TimerState::idle);
    EXPECT_EQ(timer().timeRemaining(), 0.0);
    timer().start(false);
    tick(30);
    timer().skip();
    EXPECT_EQ(timer().currentState(), TimerState::shortBreak);
    EXPECT_FALSE(timer().isRunning());
    EXPECT_EQ(timer().timeRemaining(), 300.0);
    tick(400);
    EXPECT_TRUE(store().sessions().empty());
    EXPECT_EQ(timer().sessionsCompleted(), 0);
}

TEST_F(TimerManagerTest, TabSwitchAbandonsAnArmedIntervalAndPlayPauseFollowsTheTab)
{
    timer().selectTab(false);
    timer().playPause();
    EXPECT_EQ(timer().currentState(), TimerState::shortBreak);
    timer().playPause();
    EXPECT_FALSE(timer().isRunning());
    timer().selectTab(true);
    EXPECT_TRUE(timer().selectedModeIsFocus());
    EXPECT_EQ(timer().currentState(), TimerState::idle);
    timer().playPause();
    EXPECT_EQ(timer().currentState(), TimerState::work);
}

TEST_F(TimerManagerTest, DurationsChangeOnlyWhileNotRunning)
{
    timer().start(false);
    timer().setWorkDuration(50);
    EXPECT_EQ(timer().workDuration(), 1500.0);
    tick(750);
    EXPECT_DOUBLE_EQ(timer().progress(), 0.5);
    timer().pause();
    timer().setWorkDuration(50);
    EXPECT_EQ(timer().workDuration(), 3000.0);
    EXPECT_EQ(timer().timeRemaining(), 750.0);
    EXPECT_DOUBLE_EQ(timer().progress(), 0.75);

    timer().setBreakDuration(10);
    EXPECT_EQ(prefs.value(QStringLiteral("shortBreakDuration")), QVariant(600.0));
    EXPECT_EQ(prefs.value(QStringLiteral("longBreakDuration")), QVariant(1800.0));
    EXPECT_EQ(prefs.value(QStringLiteral("workDuration")).typeId(), QMetaType::Double);
    timer().reset();
    EXPECT_EQ(timer().progress(), 0.0);
}

TEST_F(TimerManagerTest, StoredSettingsAreReadOnlyWhenTheyHaveTheRightType)
{
    prefs.setValue(QStringLiteral("workDuration"), QStringLiteral("3000"));
    prefs.setValue(QStringLiteral("shortBreakDuration"), QVariant::fromValue<qint64>(120));
    prefs.setValue(QStringLiteral("longBreakDuration"), true);
    prefs.setValue(QStringLiteral("autoStartNext"), QStringLiteral("yes"));
    prefs.setValue(QStringLiteral("veltoCalmixSync"), true);
    EXPECT_EQ(timer().workDuration(), 1500.0);
    EXPECT_EQ(timer().shortBreakDuration(), 120.0);
    EXPECT_EQ(timer().longBreakDuration(), 900.0);
    EXPECT_FALSE(timer().autoStartNext());
    EXPECT_TRUE(timer().calmixSyncEnabled());
}

TEST_F(TimerManagerTest, TodaysCountersComeBackOnlyOnTheSameDay)
{
    prefs.setValue(QStringLiteral("dailySessions"), QVariant::fromValue<qint64>(3));
    prefs.setValue(QStringLiteral("totalFocusTimeToday"), 3599.0);
    prefs.setValue(QStringLiteral("lastSessionDate"), localTime(kBerlin, 2026, 12, 9, 0, 5).toDateTime());
    EXPECT_EQ(timer().dailySessions(), 3);
    EXPECT_EQ(timer().focusTimeTodayText(), QStringLiteral("59m"));

    m_timer.reset();
    prefs.setValue(QStringLiteral("totalFocusTimeToday"), 3600.0);
    EXPECT_EQ(timer().focusTimeTodayText(), QStringLiteral("1h 0m"));

    m_timer.reset();
    prefs.setValue(QStringLiteral("lastSessionDate"), localTime(kBerlin, 2026, 12, 8, 23, 55).toDateTime());
    const int writesBefore = prefs.totalWrites();
    EXPECT_EQ(timer().dailySessions(), 0);
    EXPECT_EQ(timer().focusTimeTodayText(), QStringLiteral("0m"));
    EXPECT_EQ(prefs.totalWrites(), writesBefore);
}

TEST_F(TimerManagerTest, RunningPastMidnightStartsTheNewDayFromZero)
{
    clock.setNow(localTime(kBerlin, 2026, 12, 9, 23, 0));
    timer().start(false);
    completeCurrent();
    EXPECT_EQ(timer().dailySessions(), 1);
    clock.setNow(localTime(kBerlin, 2026, 12, 10, 9, 0));
    timer().start(false);
    completeCurrent();
    EXPECT_EQ(timer().dailySessions(), 1);
    EXPECT_EQ(timer().totalFocusTimeToday(), 1500.0);
    EXPECT_EQ(timer().sessionsCompleted(), 2);
}

TEST_F(TimerManagerTest, AnIntervalDueBeforeMidnightCountsForTheDayItEnded)
{
    prefs.setValue(QStringLiteral("dailySessions"), QVariant::fromValue<qint64>(2));
    prefs.setValue(QStringLiteral("totalFocusTimeToday"), 3000.0);
    prefs.setValue(QStringLiteral("lastSessionDate"), localTime(kBerlin, 2026, 12, 9, 10, 0).toDateTime());
    const Instant lastTickDue = localTime(kBerlin, 2026, 12, 9, 23, 59, 59);
    clock.setNow(lastTickDue.addSeconds(-1501));
    timer().start(false);
    // The event loop was busy: the tick due at 23:59:59 runs at 00:00:01.
    clock.advance(1503s);
    timer().catchUpTicks();

    ASSERT_EQ(store().sessions().size(), 1u);
    EXPECT_EQ(store().sessions().front().date, lastTickDue);
    EXPECT_EQ(PreferenceValues::date(prefs.value(QStringLiteral("lastSessionDate"))), lastTickDue.toDateTime());
    EXPECT_EQ(PreferenceValues::integer(prefs.value(QStringLiteral("dailySessions"))), 3);
    EXPECT_EQ(PreferenceValues::real(prefs.value(QStringLiteral("totalFocusTimeToday"))), 3000.0 + timer().workDuration());
    // The 10th has begun with nothing done, as the history says.
    EXPECT_EQ(timer().dailySessions(), int(store().sessionsToday().size()));
    EXPECT_EQ(qint64(timer().totalFocusTimeToday()) / 60, store().todayFocusMinutes());
    EXPECT_EQ(timer().dailySessions(), 0);
}

TEST_F(TimerManagerTest, TheDayIsCheckedAgainAfterASuspendOrAClockChange)
{
    clock.setNow(localTime(kBerlin, 2026, 12, 9, 22, 0));
    timer().start(false);
    completeCurrent();
    timer().start(false);
    tick(60);
    // Asleep across midnight: the wall clock moved on, the steady clock stood still.
    clock.setNow(localTime(kBerlin, 2026, 12, 10, 7, 30));
    tick();
    EXPECT_EQ(timer().dailySessions(), 0);
    EXPECT_EQ(timer().totalFocusTimeToday(), 0.0);
    EXPECT_EQ(timer().timeRemaining(), 1500.0 - 61);

    // Idle, the next check (on resume, or the coarse timer) notices the wall clock being set forward.
    timer().reset();
    clock.setNow(localTime(kBerlin, 2026, 12, 10, 8, 0));
    timer().start(false);
    completeCurrent();
    EXPECT_EQ(timer().dailySessions(), 1);
    clock.setNow(localTime(kBerlin, 2026, 12, 11, 8, 0));
    QSignalSpy changes(&timer(), &TimerManager::dailySessionsChanged);
    timer().checkDay();
    EXPECT_EQ(timer().dailySessions(), 0);
    EXPECT_EQ(changes.count(), 1);
    timer().checkDay();
    EXPECT_EQ(changes.count(), 1);
}

TEST_F(TimerManagerTest, CompanionHearsPlayAndPauseOnlyWhileSyncIsOn)
{
    timer().start(false);
    timer().pause();
    timer().start(true);
    EXPECT_TRUE(companion.actions.isEmpty());
    timer().reset();

    timer().toggleCalmixSync(); // on while idle: nothing
    EXPECT_TRUE(companion.actions.isEmpty());
    EXPECT_TRUE(PreferenceValues::boolean(prefs.value(QStringLiteral("veltoCalmixSync"))));
    timer().start(false);
    EXPECT_EQ(companion.actions, kPlay);
    companion.actions.clear();

    timer().pause();
    timer().start(false);
    timer().skip();
    EXPECT_EQ(companion.actions, (QStringList { QStringLiteral("pause"), QStringLiteral("play"), QStringLiteral("pause") }));
    companion.actions.clear();

    timer().start(false); // a skipped focus leads to a break; starting it pauses the music
    EXPECT_EQ(companion.actions, QStringList { QStringLiteral("pause") });
    companion.actions.clear();
    timer().toggleCalmixSync(); // off: pause regardless
    timer().toggleCalmixSync(); // on during a running break: nothing
    EXPECT_EQ(companion.actions, QStringList { QStringLiteral("pause") });
    companion.actions.clear();

    timer().reset();
    timer().start(false);
    timer().toggleCalmixSync();
    timer().toggleCalmixSync(); // on during running focus: play
    EXPECT_EQ(companion.actions, (QStringList { QStringLiteral("pause"), QStringLiteral("play"), QStringLiteral("pause"),
                                                QStringLiteral("play") }));
}

TEST_F(TimerManagerTest, EndOfIntervalMessagesFollowAutoStart)
{
    prefs.setValue(QStringLiteral("veltoCalmixSync"), true);
    timer().start(false);
    companion.actions.clear();
    completeCurrent();
    EXPECT_EQ(companion.actions, (QStringList { QStringLiteral("pause"), QStringLiteral("pause") }));

    timer().toggleAutoStart();
    timer().start(true);
    companion.actions.clear();
    completeCurrent(); // break ends, focus follows
    EXPECT_EQ(companion.actions, (QStringList { QStringLiteral("pause"), QStringLiteral("play") }));
}

TEST_F(TimerManagerTest, ABlockedEventLoopDoesNotSlowTheInterval)
{
    timer().start(false);
    clock.advance(7500ms); // the GUI thread was blocked for seven and a half seconds
    timer().catchUpTicks();
    EXPECT_EQ(timer().timeRemaining(), 1500.0 - 7);
    clock.advance(500ms);
    timer().catchUpTicks();
    EXPECT_EQ(timer().timeRemaining(), 1500.0 - 8);

    // A stall across the end completes it on time and counts the rest into the auto-started break.
    timer().toggleAutoStart();
    clock.advance(std::chrono::seconds(1492 + 1 + 10));
    timer().catchUpTicks();
    ASSERT_EQ(store().sessions().size(), 1u);
    EXPECT_EQ(store().sessions().front().date, clock.now().addSeconds(-10));
    EXPECT_EQ(timer().currentState(), TimerState::shortBreak);
    EXPECT_EQ(timer().timeRemaining(), 300.0 - 10);
}

TEST_F(TimerManagerTest, TimeSpentSuspendedIsNotCounted)
{
    timer().start(false);
    tick(60);
    clock.setNow(clock.now().addSeconds(3 * 3600)); // wall clock moves, steady clock stopped while asleep
    timer().catchUpTicks();
    EXPECT_EQ(timer().timeRemaining(), 1440.0);
    tick();
    EXPECT_EQ(timer().timeRemaining(), 1439.0);
}

TEST_F(TimerManagerTest, TheTickTimerFiresOnTheEventLoop)
{
    timer().start(false);
    QSignalSpy ticks(&timer(), &TimerManager::timeRemainingChanged);
    clock.advance(5s); // meanwhile the event loop was blocked
    QTest::qWait(1200);
    // The timer, armed for one second, found five whole seconds due at once.
    EXPECT_EQ(timer().timeRemaining(), 1495.0);
    EXPECT_EQ(ticks.count(), 5);
}

TEST(TimerFormatting, TimeStringAndFocusText)
{
    QTemporaryDir dir;
    FakeClock clock;
    const Calendar calendar = berlinCalendar();
    MemoryPreferences prefs;
    TagManager tags(prefs);
    RecordingNotifier notifier;
    RecordingSound sound;
    RecordingCompanion companion;
    SessionStore store(dir.filePath(QStringLiteral("s.json")), clock, calendar);
    TimerManager timer({ prefs, clock, calendar, [&]() -> SessionStore& { return store; }, tags, notifier, sound, companion });
    const std::pair<double, const char*> times[] = { { 1500, "25:00" }, { 59, "00:59" }, { 59.9, "00:59" },
                                                     { 6000, "100:00" }, { 0, "00:00" }, { -3, "00:00" } };
    for (const auto& [seconds, text] : times) {
        timer.setTimeRemaining(seconds);
        EXPECT_EQ(timer.timeString(), QLatin1String(text)) << seconds;
    }
}

} // namespace
