// A process killed in the middle of a save must leave the previous or the new
// history, never a half-written or empty one.
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

[[noreturn]] void saveForever(const QString& path)
{
    FakeClock clock;
    const Calendar calendar = berlinCalendar();
    SessionStore store(path, clock, calendar);
    for (;;) {
        clock.advance(std::chrono::minutes(30));
        store.addRecord({ QUuid::createUuid(), clock.now(), 1500, SessionType::focus, true, QStringLiteral("Work") });
    }
}

TEST(HistoryCrashSafety, KilledDuringSavesLeavesAWholeHistory)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sessions.json"));
    {
        // Start from a history big enough that a save takes a while.
        std::vector<SessionRecord> seed;
        for (int i = 0; i < 20000; ++i)
            seed.push_back({ QUuid::createUuid(), Instant::fromReferenceSeconds(7e8 + i * 1800), 1500,
                             SessionType::focus, true, std::nullopt });
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray::fromStdString(SessionHistoryCodec::encode(seed)));
    }
    QRandomGenerator random(99);
    std::size_t lastCount = 20000;
    for (int round = 0; round < 25; ++round) {
        const pid_t child = fork();
        ASSERT_NE(child, -1);
        if (child == 0)
            saveForever(path);
        usleep(20000 + random.bounded(80000));
        kill(child, SIGKILL);
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
    EXPECT_GT(lastCount, 20000u) << "the children never completed a save";
}

} // namespace
