// Which of the timer's operations tell the user's commands what, in which order, and with
// which figures; and what the timer says when an interval is over.
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "TimerSurroundings.h"
#include "data/SessionStore.h"
#include "services/TimerHooks.h"

using namespace std::chrono_literals;

namespace {

class TimerHooksTest : public ::testing::Test, protected TimerSurroundings {
protected:
    void tick(int seconds)
    {
        for (int i = 0; i < seconds; ++i) {
            clock.advance(1s);
            timer->catchUpTicks();
        }
    }
    /// Ticks until the running interval has ended.
    void runOut()
    {
        const TimerState state = timer->currentState();
        tick(int(timer->timeRemaining()) + 1);
        ASSERT_TRUE(timer->currentState() != state || timer->timeRemaining() == timer->durationFor(state));
    }
    QStringList eventNames() const
    {
        QStringList names;
        for (const HookPayload& payload : sent)
            names << hookEventName(payload.event);
        return names;
    }
    /// What the timer said about finished intervals: "focus 1500 completed", "shortBreak 12 skipped".
    QStringList finishedText() const
    {
        QStringList texts;
        for (const SessionRecord& session : finished)
            texts << QStringLiteral("%1 %2 %3")
                         .arg(QLatin1String(rawValue(session.type).data()))
                         .arg(session.duration)
                         .arg(session.completedFully ? "completed" : "skipped");
        return texts;
    }
    void restart()
    {
        timer.reset();
        prefs.remove(QStringLiteral("autoStartNext"));
        timer
            = std::make_unique<TimerManager>(timerDependencies([this]() -> SessionStore& { return store; }));
        hooks = std::make_unique<TimerHooks>(TimerHooks::Dependencies {
            *timer, tags, clock, [this](const HookPayload& payload) { sent.push_back(payload); } });
        QObject::connect(timer.get(), &TimerManager::sessionFinished,
            [this](const SessionRecord& session) { finished.push_back(session); });
    }
    void SetUp() override { restart(); }

    SessionStore store { dir.filePath(QStringLiteral("sessions.json")), clock, calendar };
    std::unique_ptr<TimerManager> timer;
    std::unique_ptr<TimerHooks> hooks;
    std::vector<HookPayload> sent;
    std::vector<SessionRecord> finished;
};

TEST_F(TimerHooksTest, EachOperationSendsItsEventsInOrder)
{
    struct Row {
        const char* what;
        std::function<void(TimerManager&)> before;
        std::function<void(TimerManager&)> operation;
        QStringList events;
        /// The timer after the first event: state and seconds left.
        const char* state;
        qint64 remaining;
        QStringList finished;
    };
    const auto focusRunning = [this](TimerManager& t) {
        t.start(false);
        tick(10);
    };
    const auto breakRunning = [this](TimerManager& t) {
        t.start(true);
        tick(10);
    };
    const auto focusPaused = [&](TimerManager& t) {
        focusRunning(t);
        t.pause();
    };
    const auto nothing = [](TimerManager&) {};
    const Row rows[] = {
        { "start from idle", nothing, [](TimerManager& t) { t.start(false); }, { "focus-started" }, "work",
            1500, {} },
        { "a break from idle", nothing, [](TimerManager& t) { t.start(true); }, { "break-started" },
            "shortBreak", 300, {} },
        { "pause", focusRunning, &TimerManager::pause, { "paused" }, "work", 1490, {} },
        { "resume", focusPaused, &TimerManager::playPause, { "resumed" }, "work", 1490, {} },
        { "start what runs", focusRunning, [](TimerManager& t) { t.start(false); }, {}, "", 0, {} },
        { "pause what is paused", focusPaused, &TimerManager::pause, {}, "", 0, {} },
        { "focus runs out", focusRunning, [this](TimerManager&) { runOut(); },
            { "focus-ended", "interval-completed" }, "idle", 0, { "focus 1500 completed" } },
        { "focus runs out, auto-start",
            [&](TimerManager& t) {
                t.toggleAutoStart();
                focusRunning(t);
            },
            [this](TimerManager&) { runOut(); }, { "focus-ended", "interval-completed", "break-started" },
            "shortBreak", 300, { "focus 1500 completed" } },
        { "break runs out, auto-start",
            [&](TimerManager& t) {
                t.toggleAutoStart();
                breakRunning(t);
            },
            [this](TimerManager&) { runOut(); }, { "break-ended", "interval-completed", "focus-started" },
            "work", 1500, { "shortBreak 300 completed" } },
        { "skip a running focus", focusRunning, &TimerManager::skip, { "focus-ended" }, "shortBreak", 300,
            { "focus 10 skipped" } },
        { "skip a paused focus", focusPaused, &TimerManager::skip, { "focus-ended" }, "shortBreak", 300,
            { "focus 10 skipped" } },
        { "run what a skip armed", [&](TimerManager& t) { focusRunning(t), t.skip(); },
            &TimerManager::playPause, { "break-started" }, "shortBreak", 300, {} },
        { "skip what never ran", [&](TimerManager& t) { focusRunning(t), t.skip(); }, &TimerManager::skip, {},
            "", 0, {} },
        { "reset", focusRunning, &TimerManager::reset, { "focus-ended" }, "idle", 0, {} },
        { "reset a paused break",
            [&](TimerManager& t) {
                breakRunning(t);
                t.pause();
            },
            &TimerManager::reset, { "break-ended" }, "idle", 0, {} },
        { "tab switch", focusRunning, [](TimerManager& t) { t.selectTab(false); }, { "focus-ended" }, "idle",
            0, {} },
        { "undo, then run", [&](TimerManager& t) { focusRunning(t), t.selectTab(false); },
            [](TimerManager& t) {
                t.undoDiscard();
                t.playPause();
            },
            { "focus-started" }, "work", 1490, {} },
        { "the other kind", focusRunning, [](TimerManager& t) { t.start(true); },
            { "focus-ended", "break-started" }, "idle", 0, {} },
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        restart();
        row.before(*timer);
        sent.clear();
        finished.clear();
        row.operation(*timer);
        EXPECT_EQ(eventNames(), row.events);
        EXPECT_EQ(finishedText(), row.finished);
        if (sent.empty())
            continue;
        EXPECT_EQ(sent.front().state, QLatin1String(row.state));
        EXPECT_EQ(sent.front().remainingSeconds, row.remaining);
        EXPECT_EQ(sent.front().timestamp, clock.now());
    }
}

TEST_F(TimerHooksTest, ThePayloadCarriesTheTagAndTodaysCount)
{
    tags.chooseCurrentTag(QStringLiteral("Deep Work"));
    timer->start(false);
    runOut();
    ASSERT_EQ(sent.size(), 3u);
    for (const HookPayload& payload : sent)
        EXPECT_EQ(payload.tag, QStringLiteral("Deep Work"));
    EXPECT_EQ(sent.front().sessionsToday, 0); // "focus-started"
    EXPECT_EQ(sent.back().sessionsToday, 1); // "interval-completed": counted by then
    EXPECT_EQ(finished.back().tag, QStringLiteral("Deep Work"));

    tags.chooseCurrentTag(QString());
    timer->start(false);
    tick(61);
    timer->skip();
    EXPECT_EQ(finishedText().last(), QStringLiteral("focus 61 skipped"));
    EXPECT_FALSE(finished.back().tag);
    EXPECT_FALSE(sent.back().tag);
}

} // namespace
