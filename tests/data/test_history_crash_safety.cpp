// A process killed in the middle of a save must leave the previous or the new
// history, never a half-written or empty one, and no copy beside it for ever.
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "FakeClock.h"
#include "TestCalendars.h"
#include "data/SessionHistoryCodec.h"
#include "data/SessionStore.h"

namespace {

/// Appends and saves without end, writing a byte to `savedPipe` after each save.
[[noreturn]] void saveForever(const QString& path, int savedPipe)
{
    FakeClock clock;
    const Calendar calendar = berlinCalendar();
    SessionStore store(path, clock, calendar);
    for (;;) {
        clock.advance(std::chrono::minutes(30));
        store.addRecord(
            { QUuid::createUuid(), clock.now(), 1500, SessionType::focus, true, QStringLiteral("Work") });
        const char saved = 1;
        if (write(savedPipe, &saved, 1) != 1)
            _exit(1);
    }
}

TEST(HistoryCrashSafety, KilledDuringSavesLeavesAWholeHistory)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sessions.json"));
    {
        // Start from a history big enough that a save takes a while.
        std::vector<SessionRecord> seed;
        for (int i = 0; i < 5000; ++i)
            seed.push_back({ QUuid::createUuid(), Instant::fromReferenceSeconds(7e8 + i * 1800), 1500,
                SessionType::focus, true, std::nullopt });
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray::fromStdString(SessionHistoryCodec::encode(seed)));
    }
    QRandomGenerator random(99);
    std::size_t lastCount = 5000;
    for (int round = 0; round < 25; ++round) {
        int pipeEnds[2];
        ASSERT_EQ(pipe(pipeEnds), 0);
        const pid_t child = fork();
        ASSERT_NE(child, -1);
        if (child == 0) {
            close(pipeEnds[0]);
            saveForever(path, pipeEnds[1]);
        }
        close(pipeEnds[1]);
        // Wait for the first save, then strike at a random moment of the following ones.
        char saved = 0;
        ASSERT_EQ(read(pipeEnds[0], &saved, 1), 1);
        usleep(random.bounded(60000));
        kill(child, SIGKILL);
        close(pipeEnds[0]);
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status));

        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << "round " << round;
        const QByteArray bytes = f.readAll();
        QString error;
        const auto records = SessionHistoryCodec::decode(bytes.toStdString(), &error);
        ASSERT_TRUE(records) << "round " << round << ": " << error.toStdString();
        ASSERT_GE(records->size(), lastCount) << "round " << round;
        lastCount = records->size();
    }

    // The next save clears what the killed saves left, and only that.
    const QDir folder(dir.path());
    const QDir::Filters everything = QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;
    QFile(folder.filePath(QStringLiteral(".sessions.json.Ab12Cd"))).open(QIODevice::WriteOnly);
    QFile(folder.filePath(QStringLiteral("sessions.json.backup"))).open(QIODevice::WriteOnly);
    FakeClock clock;
    const Calendar calendar = berlinCalendar();
    SessionStore store(path, clock, calendar);
    store.addRecord({ QUuid::createUuid(), clock.now(), 1500, SessionType::focus, true, std::nullopt });
    EXPECT_EQ(folder.entryList(everything),
        (QStringList { QStringLiteral("sessions.json"), QStringLiteral("sessions.json.backup") }));
}

} // namespace
