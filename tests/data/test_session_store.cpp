#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <cmath>
#include <cstring>
#include <functional>
#include <future>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "FakeClock.h"
#include "FileSizeLimit.h"
#include "HistoryReference.h"
#include "TestCalendars.h"
#include "data/SessionHistoryCodec.h"
#include "data/SessionStore.h"

namespace {

const QTimeZone kBerlin("Europe/Berlin");

SessionRecord record(Instant end, SessionType type = SessionType::focus, double duration = 1500,
    bool completed = true, std::optional<QString> tag = std::nullopt)
{
    return SessionRecord { QUuid::createUuid(), end, duration, type, completed, std::move(tag) };
}

class SessionStoreTest : public ::testing::Test {
protected:
    QString historyPath() const { return dir.filePath(QStringLiteral("Velto/sessions.json")); }
    std::unique_ptr<SessionStore> openStore()
    {
        return std::make_unique<SessionStore>(historyPath(), clock, calendar);
    }
    QByteArray fileBytes() const
    {
        QFile f(historyPath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void writeFile(const QByteArray& bytes) const
    {
        QDir().mkpath(QFileInfo(historyPath()).absolutePath());
        QFile f(historyPath());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    std::unique_ptr<SessionStore> storeWith(const std::vector<SessionRecord>& records)
    {
        writeFile(QByteArray::fromStdString(SessionHistoryCodec::encode(records)));
        return openStore();
    }

    QTemporaryDir dir;
    // Wednesday 2026-12-09, 15:00 in Berlin.
    FakeClock clock { localTime(kBerlin, 2026, 12, 9, 15, 0) };
    Calendar calendar = berlinCalendar("en_US");
};

TEST_F(SessionStoreTest, AppendedRecordsAreSavedAndReadBack)
{
    auto store = openStore();
    EXPECT_TRUE(store->sessions().empty());
    QSignalSpy changed(store.get(), &SessionStore::sessionsChanged);
    const SessionRecord first = record(clock.now(), SessionType::focus, 1500, true, QStringLiteral("Work"));
    const SessionRecord second = record(clock.now().addSeconds(400), SessionType::shortBreak, 300);
    store->addRecord(first);
    store->addRecord(second);
    EXPECT_EQ(changed.count(), 2);
    EXPECT_EQ(SessionHistoryCodec::decode(fileBytes().toStdString()), store->sessions());

    auto reopened = openStore();
    EXPECT_EQ(reopened->sessions(), (std::vector<SessionRecord> { first, second }));
    // Appending after a load extends the same file.
    const SessionRecord third = record(clock.now().addSeconds(2000));
    reopened->addRecord(third);
    // An interval of no length never ran: it is refused.
    for (const double duration : { 0.0, -5.0, std::nan("") })
        reopened->addRecord(record(clock.now(), SessionType::focus, duration));
    EXPECT_EQ(openStore()->sessions(), (std::vector<SessionRecord> { first, second, third }));
}

TEST_F(SessionStoreTest, MissingOrEmptyHistoryStartsEmptyWithoutAMessage)
{
    testing::internal::CaptureStdout();
    EXPECT_TRUE(openStore()->sessions().empty());
    writeFile("[]");
    EXPECT_TRUE(openStore()->sessions().empty());
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

TEST_F(SessionStoreTest, UnreadableHistoryIsSetAsideAndNeverOverwritten)
{
    const QByteArray unreadable
        = R"([{"id":"6A1F3C52-0B7E-4D9A-8E21-5C4B3A2F1E0D","date":1,"duration":1500,"type":"nap","completedFully":true}])";
    writeFile(unreadable);
    testing::internal::CaptureStdout();
    auto store = openStore();
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out.rfind("SessionStore: Failed to load sessions: ", 0), 0u) << out;
    EXPECT_TRUE(store->sessions().empty());

    store->addRecord(record(clock.now()));
    const QStringList aside = QDir(QFileInfo(historyPath()).absolutePath())
                                  .entryList({ QStringLiteral("sessions.json.unreadable-*") });
    ASSERT_EQ(aside.size(), 1);
    QFile kept(QFileInfo(historyPath()).absolutePath() + QLatin1Char('/') + aside.first());
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), unreadable);
    EXPECT_EQ(openStore()->sessions().size(), 1u);
}

TEST_F(SessionStoreTest, AHistoryReadOnAnotherThreadIsTakenAsIfReadHere)
{
    storeWith({ record(clock.now()), record(clock.now(), SessionType::shortBreak) });
    auto read = std::async(std::launch::async, &SessionStore::readFile, historyPath());
    SessionStore adopted(historyPath(), read.get(), clock, calendar);
    EXPECT_EQ(adopted.sessions(), openStore()->sessions());
    EXPECT_EQ(adopted.todayFocusMinutes(), 25);

    writeFile("[{]");
    SessionStore::FileRead broken = SessionStore::readFile(historyPath());
    EXPECT_TRUE(QFile::exists(historyPath())); // reading alone moves nothing
    testing::internal::CaptureStdout();
    SessionStore fresh(historyPath(), std::move(broken), clock, calendar);
    EXPECT_EQ(testing::internal::GetCapturedStdout().rfind("SessionStore: Failed to load sessions: ", 0), 0u);
    EXPECT_FALSE(QFile::exists(historyPath())); // set aside when taken, as a direct read does
}

TEST_F(SessionStoreTest, FailedSaveKeepsRecordsUntilTheNextSuccessfulSave)
{
    // A file where the data folder should be makes every save fail (even for root).
    const QString folder = QFileInfo(historyPath()).absolutePath();
    QFile blocker(folder);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    testing::internal::CaptureStdout();
    auto store = openStore();
    store->addRecord(record(clock.now()));
    store->addRecord(record(clock.now().addSeconds(60)));
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("SessionStore: Failed to save sessions: "), std::string::npos);
    EXPECT_EQ(store->sessions().size(), 2u);

    ASSERT_TRUE(QFile::remove(folder));
    ASSERT_TRUE(QDir().mkpath(folder));
    store->addRecord(record(clock.now().addSeconds(120)));
    EXPECT_EQ(openStore()->sessions(), store->sessions());
}

TEST_F(SessionStoreTest, AFullDiskKeepsTheFileAsItWasAndEveryRecordIsSavedOnceThereIsRoom)
{
    const QString reason = QString::fromLocal8Bit(std::strerror(EFBIG));
    for (const int existing : { 5, 5000 }) { // a file under 4 KiB and one of about 600 KiB
        SCOPED_TRACE(existing);
        std::vector<SessionRecord> records;
        for (int i = 0; i < existing; ++i)
            records.push_back(record(clock.now().addSeconds(-1800.0 * (i + 1))));
        auto store = storeWith(records);
        store->setRetryInterval(std::chrono::milliseconds(10));
        const QByteArray before = fileBytes();
        QSignalSpy failed(store.get(), &SessionStore::saveFailed);
        QSignalSpy stateChanged(store.get(), &SessionStore::saveStateChanged);

        testing::internal::CaptureStdout();
        {
            const FileSizeLimit full(rlim_t(before.size() / 2));
            store->addRecord(record(clock.now()));
            store->addRecord(record(clock.now().addSeconds(60))); // tried again with the next record
            EXPECT_FALSE(store->flush());
        }
        const QString out = QString::fromStdString(testing::internal::GetCapturedStdout());
        EXPECT_EQ(out.toStdString(),
            QStringLiteral("SessionStore: Failed to save sessions: %1\n")
                .arg(reason)
                .repeated(3)
                .toStdString());
        EXPECT_EQ(fileBytes(), before);
        EXPECT_EQ(QDir(QFileInfo(historyPath()).absolutePath())
                      .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            QStringList { QStringLiteral("sessions.json") });
        ASSERT_EQ(failed.count(), 3);
        EXPECT_EQ(failed.at(0).at(0).toString().toStdString(), reason.toStdString());
        EXPECT_TRUE(store->hasUnsavedRecords());
        EXPECT_EQ(store->saveError().toStdString(), reason.toStdString());
        EXPECT_EQ(stateChanged.count(), 1);

        // With room again, the periodic retry saves without waiting for another record.
        ASSERT_TRUE(stateChanged.wait(10000));
        EXPECT_FALSE(store->hasUnsavedRecords());
        EXPECT_TRUE(store->saveError().isEmpty());
        EXPECT_EQ(store->sessions().size(), records.size() + 2);
        EXPECT_EQ(openStore()->sessions(), store->sessions());
        EXPECT_TRUE(store->flush());
    }
}

TEST_F(SessionStoreTest, WhatIsNotARegularFileIsSetAsideWithoutBlockingOrReadingIt)
{
    const QByteArray path = QFile::encodeName(historyPath());
    const QString tooLarge
        = QStringLiteral("larger than %1 MB").arg(SessionStore::maxFileSize / (1024 * 1024));
    const std::vector<std::tuple<const char*, std::function<int()>, QString>> cases {
        { "a FIFO", [&] { return mkfifo(path, 0600); }, QStringLiteral("not a regular file") },
        { "a link to /dev/zero", [&] { return symlink("/dev/zero", path); },
            QStringLiteral("not a regular file") },
        { "a folder", [&] { return mkdir(path, 0700); }, QStringLiteral("not a regular file") },
        { "a file over the limit",
            [&] {
                QFile sparse(historyPath());
                return sparse.open(QIODevice::WriteOnly) && sparse.resize(SessionStore::maxFileSize + 1) ? 0
                                                                                                         : -1;
            },
            tooLarge },
    };
    for (const auto& [what, make, message] : cases) {
        SCOPED_TRACE(what);
        const QString folder = QFileInfo(historyPath()).absolutePath();
        QDir(folder).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(folder));
        ASSERT_EQ(make(), 0);
        testing::internal::CaptureStdout();
        auto store = openStore();
        const QString out = QString::fromStdString(testing::internal::GetCapturedStdout());
        EXPECT_TRUE(out.startsWith(QStringLiteral("SessionStore: Failed to load sessions: "))
            && out.contains(message))
            << out.toStdString();
        EXPECT_TRUE(store->sessions().empty());
        EXPECT_EQ(
            QDir(folder)
                .entryList({ QStringLiteral("sessions.json.unreadable-*") }, QDir::AllEntries | QDir::System)
                .size(),
            1);
        store->addRecord(record(clock.now()));
        EXPECT_FALSE(store->hasUnsavedRecords());
        EXPECT_EQ(openStore()->sessions(), store->sessions());
    }
}

TEST_F(SessionStoreTest, TheHistoryIsPrivateAndAModeTheUserChoseIsKept)
{
    const mode_t previousMask = umask(022);
    const auto modeOf = [](const QString& path) {
        struct stat info { };
        return stat(QFile::encodeName(path), &info) == 0 ? info.st_mode & 07777 : 0;
    };
    auto store = openStore();
    store->addRecord(record(clock.now()));
    EXPECT_EQ(modeOf(QFileInfo(historyPath()).absolutePath()), 0700u);
    EXPECT_EQ(modeOf(historyPath()), 0600u);
    ASSERT_EQ(chmod(QFile::encodeName(historyPath()), 0640), 0);
    store->addRecord(record(clock.now().addSeconds(60)));
    EXPECT_EQ(modeOf(historyPath()), 0640u);
    umask(previousMask);
}

TEST_F(SessionStoreTest, EmptyHistoryAnswersZeroAndNothing)
{
    auto store = openStore();
    EXPECT_EQ(store->todayFocusMinutes(), 0);
    EXPECT_EQ(store->weekFocusMinutes(), 0);
    EXPECT_EQ(store->averageDailyFocusMinutes(), 0);
    EXPECT_TRUE(store->sessionsToday().empty());
    EXPECT_TRUE(store->sessionsThisWeek().empty());
    EXPECT_FALSE(store->mostProductiveDay());
    EXPECT_EQ(store->currentStreak(), 0);
}

TEST_F(SessionStoreTest, TodayCountsWholeMinutesOfCompletedFocusOnly)
{
    auto store = storeWith({
        record(localTime(kBerlin, 2026, 12, 9, 0, 10)), // 25 minutes ending just after midnight: today
        record(localTime(kBerlin, 2026, 12, 9, 9, 0), SessionType::focus, 90),
        record(localTime(kBerlin, 2026, 12, 9, 9, 30), SessionType::focus, 90),
        record(localTime(kBerlin, 2026, 12, 9, 10, 0), SessionType::focus, 1500, false),
        record(localTime(kBerlin, 2026, 12, 9, 10, 30), SessionType::shortBreak, 300),
        record(localTime(kBerlin, 2026, 12, 8, 23, 59)),
    });
    EXPECT_EQ(store->sessionsToday().size(), 5u);
    EXPECT_EQ(store->todayFocusMinutes(), 25 + 1 + 1); // minutes truncated per record
    EXPECT_EQ(store->focusMinutesOnDay(localTime(kBerlin, 2026, 12, 8, 3, 0)), 25);
}

TEST_F(SessionStoreTest, WeekFollowsTheLocalesFirstDayAndIncludesTheFuture)
{
    const std::vector<SessionRecord> records {
        record(localTime(kBerlin, 2026, 12, 6, 10, 0)), // Sunday
        record(localTime(kBerlin, 2026, 12, 7, 10, 0)), // Monday
        record(localTime(kBerlin, 2026, 12, 20, 10, 0)), // future
        record(localTime(kBerlin, 2026, 12, 5, 23, 0)), // Saturday before
    };
    auto store = storeWith(records);
    EXPECT_EQ(store->sessionsThisWeek().size(), 3u);
    EXPECT_EQ(store->weekFocusMinutes(), 75);

    calendar = berlinCalendar("de_DE");
    auto german = openStore();
    EXPECT_EQ(german->sessionsThisWeek().size(), 2u);
    EXPECT_EQ(german->weekFocusMinutes(), 50);
}

TEST_F(SessionStoreTest, AverageCountsActiveDaysOfTheLastThirtyDays)
{
    const Instant now = clock.now();
    auto store = storeWith({
        record(calendar.addDays(now, -2), SessionType::focus, 6000), // 100 minutes
        record(calendar.addDays(now, -5), SessionType::focus, 3000), // 50 minutes
        record(calendar.addDays(now, -30), SessionType::focus, 59), // exactly 30 days: inside, 0 minutes
        record(calendar.addDays(now, -30).addSeconds(-60), SessionType::focus, 6000), // outside
        record(calendar.addDays(now, -1), SessionType::focus, 6000, false), // incomplete: no active day
    });
    EXPECT_EQ(store->averageDailyFocusMinutes(), 150 / 3);

    auto single = storeWith({ record(calendar.addDays(now, -20), SessionType::focus, 6000) });
    EXPECT_EQ(single->averageDailyFocusMinutes(), 100);
}

TEST_F(SessionStoreTest, AverageWindowStartsAfterTheGapWhenItsWallTimeWasSkipped)
{
    const QTimeZone newYork("America/New_York");
    calendar = Calendar(newYork, QLocale(QStringLiteral("en_US")));
    // 30 days back from 02:30 is 2025-03-09 02:30, which the clocks skipped: the window opens at 03:30.
    clock.setNow(localTime(newYork, 2025, 4, 8, 2, 30));
    auto store = storeWith({
        record(localTime(newYork, 2025, 3, 9, 1, 45), SessionType::focus, 6000), // outside
        record(localTime(newYork, 2025, 3, 9, 3, 30), SessionType::focus, 3000), // the first moment inside
    });
    EXPECT_EQ(store->averageDailyFocusMinutes(), 50);
}

TEST_F(SessionStoreTest, MostProductiveDayIsNamedInTheLocale)
{
    const std::vector<SessionRecord> records {
        record(localTime(kBerlin, 2026, 12, 2, 10, 0), SessionType::focus, 3000), // Wednesday 50
        record(localTime(kBerlin, 2026, 11, 25, 10, 0), SessionType::focus, 1500), // Wednesday 25
        record(localTime(kBerlin, 2026, 12, 7, 10, 0), SessionType::focus, 3600), // Monday 60
        record(localTime(kBerlin, 2026, 12, 8, 10, 0), SessionType::longBreak, 90000),
    };
    EXPECT_EQ(storeWith(records)->mostProductiveDay(), QStringLiteral("Wednesday"));
    calendar = berlinCalendar("de_DE");
    EXPECT_EQ(openStore()->mostProductiveDay(), QStringLiteral("Mittwoch"));
}

TEST_F(SessionStoreTest, StreakEndsTodayOrYesterday)
{
    const auto focusOn = [&](int daysAgo) { return record(calendar.addDays(clock.now(), -daysAgo)); };
    EXPECT_EQ(storeWith({ focusOn(0) })->currentStreak(), 1);
    EXPECT_EQ(storeWith({ focusOn(1) })->currentStreak(), 1);
    EXPECT_EQ(storeWith({ focusOn(0), focusOn(1), focusOn(2) })->currentStreak(), 3);
    EXPECT_EQ(storeWith({ focusOn(1), focusOn(2) })->currentStreak(), 2);
    EXPECT_EQ(storeWith({ focusOn(2), focusOn(3) })->currentStreak(), 0);
    EXPECT_EQ(storeWith({ focusOn(0), focusOn(2) })->currentStreak(), 1);
    EXPECT_EQ(storeWith({ focusOn(0), focusOn(0), focusOn(0), focusOn(0), focusOn(0) })->currentStreak(), 1);
    // A record dated in the future neither counts nor ends the run.
    EXPECT_EQ(storeWith({ focusOn(0), focusOn(1), focusOn(-3) })->currentStreak(), 2);
    EXPECT_EQ(storeWith({ focusOn(-1) })->currentStreak(), 0);
    EXPECT_EQ(storeWith({ record(clock.now(), SessionType::shortBreak),
                            record(clock.now(), SessionType::focus, 1500, false) })
                  ->currentStreak(),
        0);
    // An interval from 23:50 to 00:15 makes the new day active.
    clock.setNow(localTime(kBerlin, 2026, 12, 10, 12, 0));
    EXPECT_EQ(storeWith({ record(localTime(kBerlin, 2026, 12, 10, 0, 15)) })->currentStreak(), 1);
    EXPECT_EQ(storeWith({ record(localTime(kBerlin, 2026, 12, 8, 0, 15)) })->currentStreak(), 0);
}

TEST_F(SessionStoreTest, StreakCountsCalendarDaysAcrossDaylightSaving)
{
    clock.setNow(localTime(kBerlin, 2026, 3, 30, 0, 30));
    auto store = storeWith({ record(localTime(kBerlin, 2026, 3, 28, 23, 30)),
        record(localTime(kBerlin, 2026, 3, 29, 23, 30)), record(localTime(kBerlin, 2026, 3, 30, 0, 20)) });
    EXPECT_EQ(store->currentStreak(), 3);
}

TEST_F(SessionStoreTest, AnswersMatchAStraightforwardReadingOnRandomHistories)
{
    QRandomGenerator random(2026);
    for (int round = 0; round < 12; ++round) {
        const QTimeZone zone(round % 3 == 0 ? "America/Sao_Paulo"
                : round % 3 == 1            ? "Europe/Berlin"
                                            : "Australia/Lord_Howe");
        const QLocale locale(round % 2 ? QStringLiteral("de_DE") : QStringLiteral("en_US"));
        calendar = Calendar(zone, locale);
        clock.setNow(Instant::fromUnixSeconds(1700000000.0 + random.bounded(100000000)));
        std::vector<SessionRecord> records;
        const int count = 200 + random.bounded(400);
        for (int i = 0; i < count; ++i) {
            const double daysBack = random.generateDouble() * (i % 4 ? 120 : 3) - 1; // some in the future
            SessionRecord r = record(clock.now().addSeconds(-daysBack * 86400),
                static_cast<SessionType>(random.bounded(3) == 0 ? random.bounded(3) : 0),
                random.bounded(1, 7200), random.bounded(10) != 0);
            records.push_back(r);
        }
        auto store = storeWith(records);
        const HistoryReference reference { store->sessions(), zone, locale, clock.now().toDateTime() };
        SCOPED_TRACE(round);
        EXPECT_EQ(store->sessionsToday(), reference.today());
        EXPECT_EQ(store->todayFocusMinutes(), HistoryReference::minutesOf(reference.today()));
        EXPECT_EQ(store->sessionsThisWeek(), reference.week());
        EXPECT_EQ(store->weekFocusMinutes(), HistoryReference::minutesOf(reference.week()));
        EXPECT_EQ(store->averageDailyFocusMinutes(), reference.average());
        EXPECT_EQ(store->currentStreak(), reference.streak());
        const auto best = reference.bestWeekday();
        EXPECT_EQ(store->mostProductiveDay(), best ? std::optional(locale.dayName(*best)) : std::nullopt);
        for (int d = 0; d < 84; ++d) {
            const QDateTime day = clock.now().toDateTime().toTimeZone(zone).addDays(-d);
            ASSERT_EQ(store->focusMinutesOnDay(Instant::fromDateTime(day)), reference.minutesOnDay(day)) << d;
        }
    }
}

} // namespace
