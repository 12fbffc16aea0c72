// The user's commands for timer events: what they are told, in which order, and how
// slow, noisy, missing and daemonising commands are handled without holding up the timer.
#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <csignal>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "MemoryPreferences.h"
#include "TestCalendars.h"
#include "services/HookRunner.h"

using namespace std::chrono_literals;

namespace {

/// Whether `pid` names a process that still runs (a zombie has ended).
bool isRunning(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (pid <= 0 || !stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray line = stat.readAll();
    const qsizetype state = line.lastIndexOf(')') + 2;
    return state < line.size() && line[state] != 'Z';
}

class HookRunnerTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    QString path(const char* name) const { return dir.filePath(QLatin1String(name)); }
    QByteArray read(const char* name) const
    {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    qint64 pidIn(const char* name) const { return read(name).trimmed().toLongLong(); }

    /// Runs `command` and waits for its result.
    HookResult runOnce(const QString& command, std::chrono::milliseconds wait = 10s)
    {
        QSignalSpy finished(&runner, &HookRunner::finished);
        runner.runCommand(command, HookPayload::sample(HookEvent::paused, now));
        if (!finished.wait(int(wait.count())))
            return HookResult { HookEvent::paused, command, HookResult::Outcome::failedToStart, -1,
                QStringLiteral("no result in time") };
        return finished.first().first().value<HookResult>();
    }

    QTemporaryDir dir;
    MemoryPreferences preferences;
    Calendar calendar = berlinCalendar();
    Instant now = localTime(QTimeZone("Europe/Berlin"), 2025, 12, 1, 10, 30);
    HookRunner runner { preferences, calendar };
};

TEST_F(HookRunnerTest, EachEventReachesItsCommandInOrderOnStandardInputAndInTheEnvironment)
{
    const QString command = QStringLiteral(
        "{ cat; printf '%s|%s|%s|%s|%s|%s\\n' \"$VELTO_EVENT\" \"$VELTO_STATE\" \"$VELTO_REMAINING\" "
        "\"$VELTO_TAG\" \"$VELTO_SESSIONS_TODAY\" \"$VELTO_TIMESTAMP\"; } >> '%1'")
                                .arg(path("events"));
    for (const HookEvent event : allHookEvents)
        runner.setCommand(event, command);
    runner.setCommand(HookEvent::resumed, QStringLiteral("  ")); // blank: nothing runs
    EXPECT_EQ(runner.command(HookEvent::resumed), QString());
    EXPECT_EQ(preferences.value(HookRunner::preferenceKey()).toMap().size(), 6);

    QSignalSpy finished(&runner, &HookRunner::finished);
    int sessions = 0;
    for (const HookEvent event : allHookEvents) { // all at once, as at the end of an interval
        HookPayload payload = HookPayload::sample(event, now);
        payload.tag
            = event == HookEvent::breakStarted ? std::nullopt : std::optional(QStringLiteral("Deep Work"));
        payload.sessionsToday = ++sessions;
        runner.run(payload);
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return runner.isIdle(); }, 10000));
    ASSERT_EQ(finished.size(), 6);

    const QList<QByteArray> lines = read("events").split('\n');
    ASSERT_EQ(lines.size(), 13) << read("events").toStdString(); // JSON and variables per event, then ""
    const char* expected[][6] = {
        { "focus-started", "work", "1500", "Deep Work", "1" },
        { "focus-ended", "idle", "0", "Deep Work", "2" },
        { "break-started", "shortBreak", "300", nullptr, "3" },
        { "break-ended", "idle", "0", "Deep Work", "4" },
        { "paused", "work", "1200", "Deep Work", "5" },
        { "interval-completed", "idle", "0", "Deep Work", "7" },
    };
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(expected[i][0]);
        const auto json = nlohmann::json::parse(lines[2 * i].toStdString());
        EXPECT_EQ(json["event"], expected[i][0]);
        EXPECT_EQ(json["state"], expected[i][1]);
        EXPECT_EQ(json["remaining"], std::stoi(expected[i][2]));
        EXPECT_EQ(json["tag"], expected[i][3] ? nlohmann::json(expected[i][3]) : nlohmann::json(nullptr));
        EXPECT_EQ(json["sessionsToday"], std::stoi(expected[i][4]));
        EXPECT_EQ(json["timestamp"], "2025-12-01T10:30:00.000+01:00");
        EXPECT_EQ(lines[2 * i + 1].toStdString(),
            QStringLiteral("%1|%2|%3|%4|%5|2025-12-01T10:30:00.000+01:00")
                .arg(QLatin1String(expected[i][0]), QLatin1String(expected[i][1]),
                    QLatin1String(expected[i][2]), QLatin1String(expected[i][3] ? expected[i][3] : ""),
                    QLatin1String(expected[i][4]))
                .toStdString());
    }
}

TEST_F(HookRunnerTest, ASlowCommandIsStoppedWithItsGroupWhileTheTimerKeepsTicking)
{
    EXPECT_EQ(runner.timeout(), 60s) << "commands get a minute unless told otherwise";
    runner.setTimeout(1500ms);

    QTimer tick;
    QElapsedTimer sinceTick;
    qint64 longestGap = 0;
    tick.setInterval(20);
    QObject::connect(
        &tick, &QTimer::timeout, [&] { longestGap = std::max(longestGap, sinceTick.restart()); });
    sinceTick.start();
    tick.start();
    QElapsedTimer elapsed;
    elapsed.start();
    const HookResult result = runOnce(
        QStringLiteral("sleep 120 & echo $! > '%1'; sleep 120; echo never").arg(path("background")));
    const qint64 took = elapsed.elapsed();
    tick.stop();

    EXPECT_EQ(result.outcome, HookResult::Outcome::timedOut) << result.firstErrorLine.toStdString();
    EXPECT_GE(took, 1500);
    EXPECT_LT(took, 1500 + 2000) << "stopped long before the command's two minutes";
    EXPECT_LT(longestGap, 500) << "the event loop was held up"; // held up, it would miss 1.5 s
    EXPECT_TRUE(QTest::qWaitFor([&] { return !isRunning(pidIn("background")); }, 2000))
        << "the background job of the command is stopped with it";

    // Quitting stops what still runs, group and all.
    {
        HookRunner quitting { preferences, calendar };
        quitting.runCommand(QStringLiteral("sleep 120 & echo $! > '%1'; sleep 120").arg(path("quitting")),
            HookPayload::sample(HookEvent::focusStarted, now));
        ASSERT_TRUE(QTest::qWaitFor([&] { return pidIn("quitting") > 0; }, 5000));
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return !isRunning(pidIn("quitting")); }, 2000));
}

TEST_F(HookRunnerTest, MissingNoisyAndDaemonisingCommands)
{
    HookResult missing = runOnce(QStringLiteral("velto-no-such-command --now"));
    EXPECT_EQ(missing.outcome, HookResult::Outcome::exited);
    EXPECT_EQ(missing.exitCode, 127);
    EXPECT_TRUE(missing.firstErrorLine.contains(QLatin1String("velto-no-such-command")))
        << missing.firstErrorLine.toStdString();

    // Megabytes on both outputs: drained and discarded, the first error line kept short.
    const HookResult noisy = runOnce(QStringLiteral(
        "head -c 20000000 /dev/zero; echo first >&2; head -c 5000000 /dev/zero | tr '\\0' x >&2; exit 3"));
    EXPECT_EQ(noisy.outcome, HookResult::Outcome::exited);
    EXPECT_EQ(noisy.exitCode, 3);
    EXPECT_EQ(noisy.firstErrorLine, QStringLiteral("first"));
    const HookResult oneLongLine = runOnce(QStringLiteral("head -c 3000000 /dev/zero | tr '\\0' y >&2"));
    EXPECT_EQ(oneLongLine.firstErrorLine.size(), HookRunner::errorLineLimit);

    // A job left in the background, even one holding the error output, does not hold up the
    // result; a daemon in a session of its own outlives the command.
    QElapsedTimer elapsed;
    elapsed.start();
    const HookResult daemons
        = runOnce(QStringLiteral("sleep 30 & echo $! > '%1'; setsid sleep 30 < /dev/null > /dev/null 2>&1 & "
                                 "echo $! > '%2'; echo started >&2")
                      .arg(path("job"), path("daemon")));
    EXPECT_LT(elapsed.elapsed(), 5000);
    EXPECT_EQ(daemons.outcome, HookResult::Outcome::exited);
    EXPECT_EQ(daemons.firstErrorLine, QStringLiteral("started"));
    EXPECT_TRUE(isRunning(pidIn("daemon")));
    for (const char* started : { "job", "daemon" }) {
        if (isRunning(pidIn(started)))
            ::kill(static_cast<pid_t>(pidIn(started)), SIGKILL);
    }

    // Nothing to run: no process, no result.
    QSignalSpy finished(&runner, &HookRunner::finished);
    runner.runCommand(QString(), HookPayload::sample(HookEvent::focusStarted, now));
    runner.run(HookPayload::sample(HookEvent::focusStarted, now));
    EXPECT_TRUE(runner.isIdle());
    EXPECT_FALSE(finished.wait(200));
}

} // namespace
