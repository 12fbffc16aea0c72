#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include "RawFiles.h"
#include "TimerSurroundings.h"
#include "data/SessionStore.h"
#include "data/TagManager.h"
#include "platform/JsonFilePreferences.h"
#include "platform/PreferenceValues.h"
#include "timer/ClockText.h"
#include "timer/DailyGoal.h"
#include "timer/DailyGoalNotice.h"
#include "timer/EndAlerts.h"
#include "timer/TimerManager.h"

using namespace std::chrono_literals;

namespace {

const QTimeZone kBerlin("Europe/Berlin");
const QStringList kPlay { QStringLiteral("play") };

class TimerManagerTest : public ::testing::Test, protected TimerSurroundings {
protected:
    TimerManager& timer()
    {
        if (!m_timer)
            m_timer = std::make_unique<TimerManager>(
                timerDependencies([this]() -> SessionStore& { return store(); }));
        return *m_timer;
    }
    SessionStore& store()
    {
        if (!m_store)
            m_store = std::make_unique<SessionStore>(
                dir.filePath(QStringLiteral("sessions.json")), clock, calendar);
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
    EXPECT_EQ(
        PreferenceValues::date(prefs.value(QStringLiteral("lastSessionDate"))), clock.now().toDateTime());
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

/// The cycle under auto-start: which break follows each focus interval, and how long a long one is.
TEST_F(TimerManagerTest, ALongBreakFollowsEveryNthFocusInterval)
{
    struct Row {
        const char* what;
        QVariant stored; ///< "veltoIntervalsBeforeLongBreak" in the file
        int chosen; ///< what the user picks; 0 for nothing
        int longMinutes; ///< the long break the user picks; 0 for nothing
        const char* breaks; ///< after each focus interval: s(hort) or l(ong)
        double longSeconds;
    };
    const Row rows[] = {
        { "the defaults", {}, 0, 0, "sssls", 900 },
        { "two, with a long break of 20 minutes", {}, 2, 20, "slsls", 1200 },
        { "three", {}, 3, 0, "sslss", 900 },
        { "eight", {}, 8, 0, "ssssssslss", 900 },
        { "below the limit picked", {}, 1, 0, "slsl", 900 },
        { "above the limit picked", {}, 9, 0, "ssssssslss", 900 },
        { "stored below the limit", QVariant::fromValue<qint64>(1), 0, 0, "slsl", 900 },
        { "stored above the limit", 1e12, 0, 0, "ssssssslss", 900 },
        { "stored as text", QStringLiteral("2"), 0, 0, "sssls", 900 },
        { "stored as a fraction", 2.9, 0, 0, "slsl", 900 },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        m_timer.reset();
        prefs.remove(QStringLiteral("veltoIntervalsBeforeLongBreak"));
        prefs.setValue(QStringLiteral("longBreakDuration"), 900.0);
        prefs.setValue(QStringLiteral("autoStartNext"), true);
        if (row.stored.isValid())
            prefs.setValue(QStringLiteral("veltoIntervalsBeforeLongBreak"), row.stored);
        const int writesBefore = prefs.totalWrites();
        if (row.chosen)
            timer().setIntervalsBeforeLongBreak(row.chosen);
        if (row.longMinutes)
            timer().setLongBreakDuration(row.longMinutes);
        if (!row.chosen && !row.longMinutes) {
            EXPECT_EQ(prefs.totalWrites(), writesBefore) << "only a choice of the user is written";
        }
        timer().start(false);
        QString breaks;
        for (std::size_t i = 0; i < std::strlen(row.breaks); ++i) {
            completeCurrent(); // focus
            const bool isLong = timer().currentState() == TimerState::longBreak;
            breaks += isLong ? QLatin1Char('l') : QLatin1Char('s');
            EXPECT_TRUE(timer().isRunning());
            EXPECT_EQ(timer().timeRemaining(), isLong ? row.longSeconds : 300.0);
            completeCurrent(); // the break
            EXPECT_EQ(store().sessions().back().duration, isLong ? row.longSeconds : 300.0);
            EXPECT_EQ(
                store().sessions().back().type, isLong ? SessionType::longBreak : SessionType::shortBreak);
            EXPECT_EQ(timer().currentState(), TimerState::work);
        }
        EXPECT_EQ(breaks, QLatin1String(row.breaks));
    }
}

TEST_F(TimerManagerTest, TheLongBreakFollowsTheShortOneUntilTheUserChoosesItsLength)
{
    timer().setBreakDuration(10);
    EXPECT_EQ(timer().longBreakDuration(), 1800.0);
    EXPECT_TRUE(timer().longBreakFollowsShortBreak());

    timer().setLongBreakDuration(20);
    EXPECT_EQ(timer().longBreakDuration(), 1200.0);
    EXPECT_FALSE(timer().longBreakFollowsShortBreak());
    timer().setBreakDuration(7);
    EXPECT_EQ(timer().shortBreakDuration(), 420.0);
    EXPECT_EQ(timer().longBreakDuration(), 1200.0) << "a chosen long break is kept";
    EXPECT_EQ(prefs.value(QStringLiteral("longBreakDuration")), QVariant(1200.0));

    // Chosen at exactly three short breaks, it follows again; a new start reads the same from the file.
    timer().setLongBreakDuration(21);
    m_timer.reset();
    EXPECT_TRUE(timer().longBreakFollowsShortBreak());
    timer().setBreakDuration(5);
    EXPECT_EQ(timer().longBreakDuration(), 900.0);

    for (const auto& [minutes, seconds] : { std::pair { 0, 60.0 }, { 181, 10800.0 }, { 45, 2700.0 } }) {
        timer().setLongBreakDuration(minutes);
        EXPECT_EQ(timer().longBreakDuration(), seconds) << minutes;
    }
    timer().start(false);
    timer().pause();
    timer().setLongBreakDuration(30); // an interval is under way
    EXPECT_EQ(timer().longBreakDuration(), 2700.0);
}

TEST_F(TimerManagerTest, ResetAndSkipRecordNothing)
{
    timer().start(false);
    tick(30);
    timer().reset();
    timer().start(false);
    tick(30);
    timer().skip(); // to a paused break, which does not run out
    tick(400);
    EXPECT_TRUE(store().sessions().empty());
    EXPECT_EQ(timer().sessionsCompleted(), 0);
}

TEST_F(TimerManagerTest, DurationsChangeOnlyWhileIdleAndWithinLimits)
{
    const int writesBefore = prefs.totalWrites();
    timer().start(false);
    tick(750);
    EXPECT_DOUBLE_EQ(timer().progress(), 0.5);
    EXPECT_FALSE(timer().durationsEditable());
    timer().setWorkDuration(50);
    timer().pause();
    timer().setWorkDuration(50); // paused: the interval keeps the length it ran with
    timer().setBreakDuration(10);
    EXPECT_EQ(timer().workDuration(), 1500.0);
    EXPECT_EQ(timer().shortBreakDuration(), 300.0);
    EXPECT_DOUBLE_EQ(timer().progress(), 0.5);
    EXPECT_EQ(prefs.totalWrites(), writesBefore);

    timer().reset();
    EXPECT_TRUE(timer().durationsEditable());
    timer().setBreakDuration(10);
    EXPECT_EQ(prefs.value(QStringLiteral("shortBreakDuration")), QVariant(600.0));
    EXPECT_EQ(prefs.value(QStringLiteral("longBreakDuration")), QVariant(1800.0));
    for (const auto& [minutes, seconds] :
        { std::pair { 0, 60.0 }, { -5, 60.0 }, { 181, 10800.0 }, { 50, 3000.0 } }) {
        timer().setWorkDuration(minutes);
        EXPECT_EQ(timer().workDuration(), seconds) << minutes;
        EXPECT_EQ(prefs.value(QStringLiteral("workDuration")), QVariant(seconds)) << minutes;
    }
}

TEST_F(TimerManagerTest, StoredSettingsOfTheWrongTypeAreIgnoredAndNumbersBounded)
{
    prefs.setValue(QStringLiteral("workDuration"), QStringLiteral("3000"));
    prefs.setValue(QStringLiteral("shortBreakDuration"), QVariant::fromValue<qint64>(0));
    prefs.setValue(QStringLiteral("longBreakDuration"), true);
    prefs.setValue(QStringLiteral("autoStartNext"), QStringLiteral("yes"));
    prefs.setValue(QStringLiteral("veltoCalmixSync"), true);
    EXPECT_EQ(timer().workDuration(), 1500.0);
    EXPECT_EQ(timer().shortBreakDuration(), 60.0);
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
    EXPECT_EQ(timer().focusTimeTodayText(), QStringLiteral("1h"));

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
    EXPECT_EQ(
        PreferenceValues::date(prefs.value(QStringLiteral("lastSessionDate"))), lastTickDue.toDateTime());
    EXPECT_EQ(PreferenceValues::integer(prefs.value(QStringLiteral("dailySessions"))), 3);
    EXPECT_EQ(PreferenceValues::real(prefs.value(QStringLiteral("totalFocusTimeToday"))),
        3000.0 + timer().workDuration());
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
    // Which operation says what is in the table above; with sync off nothing is said.
    timer().start(false);
    timer().pause();
    timer().start(true);
    EXPECT_TRUE(companion.actions.isEmpty());

    timer().toggleCalmixSync(); // on during a running break: nothing
    EXPECT_TRUE(companion.actions.isEmpty());
    EXPECT_TRUE(PreferenceValues::boolean(prefs.value(QStringLiteral("veltoCalmixSync"))));
    timer().toggleCalmixSync(); // off: pause regardless
    timer().start(false);
    timer().toggleCalmixSync(); // on during running focus: play
    EXPECT_EQ(companion.actions, (QStringList { QStringLiteral("pause"), QStringLiteral("play") }));
    companion.actions.clear();
    timer().reset();
    timer().toggleCalmixSync();
    timer().toggleCalmixSync(); // on while idle: nothing
    EXPECT_EQ(companion.actions, (QStringList { QStringLiteral("pause"), QStringLiteral("pause") }));
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

/// Every operation the bus, the command line and the popover can ask for, in every state: each
/// caller only passes it on, so this table is what all of them do.
TEST_F(TimerManagerTest, EveryOperationInEveryStateEndsWhereTheTableSays)
{
    enum class From { idle, focusRunning, focusPaused, breakRunning, breakPaused };
    enum class Op { startFocus, startBreak, pause, toggle, skip, reset };
    struct Row {
        From from;
        Op op;
        TimerState state;
        double left;
        bool running;
        bool focusTab;
        const char* music; ///< what Calmix hears, in order: p(lay) or (pau)s(e)
    };
    const std::function<void(TimerManager&)> operations[]
        = { [](TimerManager& t) { t.start(false); }, [](TimerManager& t) { t.start(true); },
              &TimerManager::pause, &TimerManager::playPause, &TimerManager::skip, &TimerManager::reset };
    const TimerState W = TimerState::work, B = TimerState::shortBreak, I = TimerState::idle;
    const Row rows[] = {
        { From::idle, Op::startFocus, W, 1500, true, true, "p" },
        { From::idle, Op::startBreak, B, 300, true, false, "s" },
        { From::idle, Op::pause, I, 0, false, true, "" },
        { From::idle, Op::toggle, W, 1500, true, true, "p" },
        { From::idle, Op::skip, I, 0, false, true, "" },
        { From::idle, Op::reset, I, 0, false, true, "" },
        { From::focusRunning, Op::startFocus, W, 1490, true, true, "" },
        { From::focusRunning, Op::startBreak, B, 300, true, false, "s" },
        { From::focusRunning, Op::pause, W, 1490, false, true, "s" },
        { From::focusRunning, Op::toggle, W, 1490, false, true, "s" },
        { From::focusRunning, Op::skip, B, 300, false, true, "s" },
        { From::focusRunning, Op::reset, I, 0, false, true, "s" },
        { From::focusPaused, Op::startFocus, W, 1490, true, true, "p" },
        { From::focusPaused, Op::startBreak, B, 300, true, false, "s" },
        { From::focusPaused, Op::pause, W, 1490, false, true, "" },
        { From::focusPaused, Op::toggle, W, 1490, true, true, "p" },
        { From::focusPaused, Op::skip, B, 300, false, true, "s" },
        { From::focusPaused, Op::reset, I, 0, false, true, "s" },
        { From::breakRunning, Op::startFocus, W, 1500, true, true, "p" },
        { From::breakRunning, Op::startBreak, B, 290, true, false, "" },
        { From::breakRunning, Op::pause, B, 290, false, false, "s" },
        { From::breakRunning, Op::toggle, B, 290, false, false, "s" },
        { From::breakRunning, Op::skip, W, 1500, false, false, "s" },
        { From::breakRunning, Op::reset, I, 0, false, false, "s" },
        { From::breakPaused, Op::startFocus, W, 1500, true, true, "p" },
        { From::breakPaused, Op::startBreak, B, 290, true, false, "s" },
        { From::breakPaused, Op::pause, B, 290, false, false, "" },
        { From::breakPaused, Op::toggle, B, 290, true, false, "s" },
        { From::breakPaused, Op::skip, W, 1500, false, false, "s" },
        { From::breakPaused, Op::reset, I, 0, false, false, "s" },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "from " << int(row.from) << ", operation " << int(row.op));
        m_timer.reset();
        prefs.setValue(QStringLiteral("veltoCalmixSync"), true);
        if (row.from != From::idle) {
            timer().start(row.from == From::breakRunning || row.from == From::breakPaused);
            tick(10);
            if (row.from == From::focusPaused || row.from == From::breakPaused)
                timer().pause();
        }
        companion.actions.clear();
        QSignalSpy cues(&timer(), &TimerManager::musicCue);
        operations[int(row.op)](timer());
        EXPECT_EQ(timer().currentState(), row.state);
        EXPECT_EQ(timer().timeRemaining(), row.left);
        EXPECT_EQ(timer().isRunning(), row.running);
        EXPECT_EQ(timer().selectedModeIsFocus(), row.focusTab);
        EXPECT_EQ(timer().canSkipOrReset(), row.state != TimerState::idle);
        QString heard;
        for (const QString& action : std::as_const(companion.actions))
            heard += action == QLatin1String("play") ? QLatin1Char('p') : QLatin1Char('s');
        EXPECT_EQ(heard, QLatin1String(row.music));
        EXPECT_EQ(cues.size(), heard.size()); // the players follow the same moments
        tick(2); // running means counting, and only then
        EXPECT_EQ(timer().timeRemaining(), row.running ? row.left - 2 : row.left);
    }
}

TEST_F(TimerManagerTest, UnderAutoStartTheTabFollowsTheState)
{
    timer().setWorkDuration(1);
    timer().start(false);
    tick(61);
    EXPECT_TRUE(timer().selectedModeIsFocus()); // auto-start off: back to idle, tab unchanged

    timer().toggleAutoStart();
    timer().start(false);
    tick(61);
    EXPECT_EQ(timer().currentState(), TimerState::shortBreak);
    EXPECT_FALSE(timer().selectedModeIsFocus());
    timer().skip();
    EXPECT_EQ(timer().currentState(), TimerState::work);
    EXPECT_TRUE(timer().selectedModeIsFocus());
}

TEST_F(TimerManagerTest, ADiscardedIntervalComesBackPausedWithinFiveSeconds)
{
    tags.addTag(QStringLiteral("Reading"));
    tags.chooseCurrentTag(QStringLiteral("Reading"));
    prefs.setValue(QStringLiteral("veltoCalmixSync"), true);
    timer().start(false);
    tick(100);
    QSignalSpy discard(&timer(), &TimerManager::discardChanged);
    timer().selectTab(false);
    EXPECT_EQ(timer().currentState(), TimerState::idle);
    EXPECT_EQ(timer().discardedState(), TimerState::work);
    EXPECT_EQ(discard.size(), 1);
    tags.chooseCurrentTag(QStringLiteral("Work"));
    clock.advance(4900ms);
    companion.actions.clear();
    timer().undoDiscard();
    EXPECT_EQ(timer().currentState(), TimerState::work);
    EXPECT_EQ(timer().timeRemaining(), 1400.0);
    EXPECT_FALSE(timer().isRunning());
    EXPECT_TRUE(timer().selectedModeIsFocus());
    EXPECT_EQ(tags.currentSessionTag(), QStringLiteral("Reading"));
    EXPECT_FALSE(timer().canUndoDiscard());
    EXPECT_TRUE(companion.actions.isEmpty()); // the music was paused and stays so
    timer().playPause();
    completeCurrent();
    EXPECT_EQ(store().sessions().back().tag, QStringLiteral("Reading"));

    // Too late, or something else armed since: nothing comes back.
    timer().selectTab(false);
    timer().playPause(); // the Break tab's kind
    timer().selectTab(true);
    EXPECT_EQ(timer().discardedState(), TimerState::shortBreak);
    clock.advance(5s);
    EXPECT_FALSE(timer().canUndoDiscard());
    timer().undoDiscard();
    EXPECT_EQ(timer().currentState(), TimerState::idle);
    for (const auto& meanwhile : { std::function<void()>([this] { timer().start(false); }),
             std::function<void()>([this] { timer().setBreakDuration(10); }) }) {
        timer().reset();
        timer().start(true);
        timer().selectTab(true);
        meanwhile();
        EXPECT_FALSE(timer().canUndoDiscard());
        const TimerState before = timer().currentState();
        timer().undoDiscard();
        EXPECT_EQ(timer().currentState(), before);
    }
}

TEST_F(TimerManagerTest, StoredLengthsAndCountersAreBoundedAndTheFileKeepsThem)
{
    const QString path = dir.filePath(QStringLiteral("preferences.json"));
    writeRaw(path.toStdString(), R"({"workDuration": 2.5, "shortBreakDuration": -5, "longBreakDuration": 1e12,
        "dailySessions": 1e12, "totalFocusTimeToday": 1e12, "lastSessionDate": {"$date": "2026-12-09T08:00:00.000Z"},
        "veltoIntervalsBeforeLongBreak": -3})");
    {
        JsonFilePreferences stored(path);
        TimerManager timer({ stored, clock, calendar, [this]() -> SessionStore& { return store(); }, tags,
            notifier, sound, companion });
        EXPECT_EQ(timer.workDuration(), 60.0);
        EXPECT_EQ(timer.shortBreakDuration(), 60.0);
        EXPECT_EQ(timer.longBreakDuration(), 3 * 180 * 60.0);
        EXPECT_EQ(timer.dailySessions(), 1500); // a day of 25 hours holds no more one-minute intervals
        EXPECT_EQ(timer.totalFocusTimeToday(), 25 * 3600.0);
        EXPECT_EQ(timer.intervalsBeforeLongBreak(), 2);
        timer.start(false);
        for (int second = 0; second < 61; ++second) {
            clock.advance(1s);
            timer.catchUpTicks();
        }
        ASSERT_EQ(store().sessions().size(), 1u);
        EXPECT_EQ(store().sessions().back().duration, 60.0);
        timer.toggleAutoStart();
        timer.setWorkDuration(30);
    }
    // Only what the user changed is written; the other values stay as they were.
    const QVariantMap written
        = QJsonDocument::fromJson(QByteArray::fromStdString(readRaw(path.toStdString())))
              .object()
              .toVariantMap();
    EXPECT_EQ(written.value(QStringLiteral("workDuration")).toDouble(), 1800.0);
    EXPECT_EQ(written.value(QStringLiteral("shortBreakDuration")).toDouble(), -5.0);
    EXPECT_EQ(written.value(QStringLiteral("longBreakDuration")).toDouble(), 1e12);
    EXPECT_EQ(written.value(QStringLiteral("veltoIntervalsBeforeLongBreak")).toInt(), -3);
}

TEST_F(TimerManagerTest, ReachingTheDailyGoalIsSaidOnceADayEvenAcrossRestarts)
{
    prefs.setValue(QStringLiteral("veltoDailyGoal"), 2.0);
    const auto completeFocus = [this] {
        timer().start(false);
        completeCurrent();
    };
    const auto goalNotices = [this] {
        return std::count_if(notifier.notifications.begin(), notifier.notifications.end(),
            [](const auto& n) { return n.first == QLatin1String("Daily goal reached"); });
    };
    auto goal = std::make_unique<DailyGoal>(prefs);
    auto notice = std::make_unique<DailyGoalNotice>(
        DailyGoalNotice::Dependencies { *goal, timer(), notifier, prefs, clock, calendar });
    completeFocus();
    completeFocus();
    EXPECT_EQ(goalNotices(), 0) << "the goal is off";

    goal->setOn(true);
    completeFocus(); // three done, goal two: reached with this one
    EXPECT_EQ(goalNotices(), 1);
    EXPECT_EQ(notifier.notifications.last().second, QStringLiteral("3 focus sessions today. Well done!"));
    goal->setSessions(4);
    completeFocus();
    EXPECT_EQ(goalNotices(), 1) << "once a day";

    // A restart the same day says nothing again; the next day it does.
    notice.reset();
    goal = std::make_unique<DailyGoal>(prefs);
    m_timer.reset();
    notice = std::make_unique<DailyGoalNotice>(
        DailyGoalNotice::Dependencies { *goal, timer(), notifier, prefs, clock, calendar });
    EXPECT_EQ(timer().dailySessions(), 4);
    completeFocus();
    EXPECT_EQ(goalNotices(), 1);
    clock.setNow(localTime(kBerlin, 2026, 12, 10, 9, 0));
    for (int i = 0; i < 4; ++i)
        completeFocus();
    EXPECT_EQ(goalNotices(), 2);
    EXPECT_EQ(timer().dailySessions(), 4);
    EXPECT_EQ(goal->progressText(3), QStringLiteral("3 of 4 sessions"));
    EXPECT_DOUBLE_EQ(goal->progress(3), 0.75);
    EXPECT_DOUBLE_EQ(goal->progress(9), 1.0);
}

TEST_F(TimerManagerTest, AStoredGoalIsBoundedAndTheFileKeepsIt)
{
    const std::tuple<QVariant, QVariant, bool, int> rows[] = {
        { {}, {}, false, 8 },
        { true, QVariant::fromValue<qint64>(3), true, 3 },
        { true, 0.0, true, 1 },
        { true, 1e12, true, 20 },
        { QStringLiteral("true"), QStringLiteral("5"), false, 8 },
        { QVariant::fromValue<qint64>(1), std::nan(""), false, 8 },
    };
    for (const auto& [on, sessions, expectedOn, expectedSessions] : rows) {
        MemoryPreferences stored;
        if (on.isValid())
            stored.setValue(QStringLiteral("veltoDailyGoalOn"), on);
        if (sessions.isValid())
            stored.setValue(QStringLiteral("veltoDailyGoal"), sessions);
        const int writes = stored.totalWrites();
        DailyGoal goal(stored);
        EXPECT_EQ(goal.isOn(), expectedOn) << on.toString().toStdString();
        EXPECT_EQ(goal.sessions(), expectedSessions) << sessions.toString().toStdString();
        EXPECT_EQ(stored.totalWrites(), writes);
        EXPECT_EQ(goal.progressText(0).isEmpty(), !expectedOn);
    }
    DailyGoal goal(prefs);
    for (const auto& [chosen, kept] : { std::pair { 0, 1 }, { 21, 20 }, { 12, 12 } }) {
        goal.setSessions(chosen);
        EXPECT_EQ(goal.sessions(), kept);
        EXPECT_EQ(PreferenceValues::integer(prefs.value(QStringLiteral("veltoDailyGoal"))), kept);
    }
}

TEST(TimeTexts, ClockAndDuration)
{
    const std::pair<double, const char*> clocks[] = { { 1500, "25:00" }, { 59, "00:59" }, { 59.9, "00:59" },
        { 6000, "100:00" }, { 0, "00:00" }, { -3, "00:00" }, { std::nan(""), "00:00" } };
    for (const auto& [seconds, text] : clocks)
        EXPECT_EQ(clockText(seconds), QLatin1String(text)) << seconds;

    const std::pair<qint64, const char*> durations[]
        = { { 0, "0m" }, { 59, "59m" }, { 60, "1h" }, { 61, "1h 1m" }, { 150, "2h 30m" }, { 6000, "100h" } };
    for (const auto& [minutes, text] : durations)
        EXPECT_EQ(durationText(minutes), QLatin1String(text)) << minutes;
    EXPECT_EQ(wholeMinutes(3599.9), 59);
    EXPECT_EQ(wholeMinutes(-60), 0);
}

} // namespace

TEST_F(TimerManagerTest, ExtendAddsToTheCurrentIntervalAndItsRecord)
{
    struct Row {
        const char* name;
        bool running; ///< else paused; with minutes 0 and no start, idle
        bool started;
        int minutes;
        bool added;
    };
    const Row rows[] = {
        { "running, 5", true, true, 5, true },
        { "paused, 1", false, true, 1, true },
        { "running, 60", true, true, 60, true },
        { "idle", false, false, 5, false },
        { "zero", true, true, 0, false },
        { "negative", true, true, -3, false },
        { "above an hour", true, true, 61, false },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        m_timer.reset();
        if (row.started) {
            timer().start(false);
            tick(10);
            if (!row.running)
                timer().pause();
        }
        const double left = timer().timeRemaining();
        EXPECT_EQ(timer().extend(row.minutes), row.added);
        EXPECT_EQ(timer().timeRemaining(), left + (row.added ? row.minutes * 60.0 : 0.0));
        EXPECT_EQ(timer().isRunning(), row.running);
        if (!row.added || !row.started)
            continue;
        if (!timer().isRunning())
            timer().playPause();
        EXPECT_NEAR(timer().progress(), 10.0 / (1500.0 + row.minutes * 60.0), 1e-9);
        completeCurrent();
        EXPECT_EQ(store().sessions().back().duration, 1500.0 + row.minutes * 60.0);
    }
}

TEST_F(TimerManagerTest, PausingAtAPastMomentGivesBackTheSecondsCountedSince)
{
    timer().start(false);
    tick(100);
    const Instant lockBegan = clock.now().addSeconds(-30.4);
    timer().pauseAt(lockBegan);
    EXPECT_FALSE(timer().isRunning());
    // The ticks at 70…100 s into the run fell after 69.6 s.
    EXPECT_EQ(timer().timeRemaining(), 1400.0 + 31.0);

    // A moment before the run began gives back only this run's seconds.
    timer().playPause();
    tick(5);
    timer().pauseAt(clock.now().addSeconds(-3600));
    EXPECT_EQ(timer().timeRemaining(), 1431.0);
    timer().pauseAt(clock.now().addSeconds(-5)); // paused already: nothing
    EXPECT_EQ(timer().timeRemaining(), 1431.0);

    // Kept: the time away counts as if the interval had run on.
    timer().playPause();
    tick(10);
    timer().pauseAt(clock.now().addSeconds(-4));
    EXPECT_EQ(timer().timeRemaining(), 1421.0 + 4.0);
    clock.advance(120s);
    timer().resumeCountingPause();
    EXPECT_TRUE(timer().isRunning());
    EXPECT_EQ(timer().timeRemaining(), 1425.0 - 124.0);

    // Kept for longer than the interval had left: it ends when it would have, and is recorded.
    timer().pauseAt(clock.now());
    clock.advance(std::chrono::seconds(1400));
    timer().resumeCountingPause();
    ASSERT_EQ(store().sessions().size(), 1u);
    EXPECT_EQ(store().sessions().front().duration, 1500.0);
    EXPECT_LT(store().sessions().front().date, clock.now());
    EXPECT_EQ(timer().currentState(), TimerState::idle);
}

TEST_F(TimerManagerTest, TheEndNotificationsButtonsStartWhatFollows)
{
    struct Row {
        bool afterBreak;
        const char* key;
        TimerState state;
        double left;
        bool running;
    };
    const Row rows[] = {
        { false, "break", TimerState::shortBreak, 300, true },
        { false, "extend", TimerState::work, 300, true },
        { false, "default", TimerState::idle, 0, false },
        { true, "focus", TimerState::work, 1500, true },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.key);
        m_timer.reset();
        timer().start(row.afterBreak);
        completeCurrent();
        const QStringList expected = row.afterBreak ? QStringList { "default", "focus", "skip" }
                                                    : QStringList { "default", "break", "extend" };
        EXPECT_EQ(notifier.lastActions, expected);
        QSignalSpy opened(&timer(), &TimerManager::endNotificationOpened);
        notifier.lastHandler(QString::fromLatin1(row.key));
        EXPECT_EQ(timer().currentState(), row.state);
        EXPECT_EQ(timer().timeRemaining(), row.left);
        EXPECT_EQ(timer().isRunning(), row.running);
        EXPECT_EQ(opened.size(), row.key == std::string("default") ? 1 : 0);
    }
    // Five more minutes of focus are recorded as such.
    m_timer.reset();
    timer().start(false);
    completeCurrent();
    notifier.lastHandler(QStringLiteral("extend"));
    completeCurrent();
    EXPECT_EQ(store().sessions().back().duration, 300.0);
}
