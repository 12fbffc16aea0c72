// What quitting does with history records and settings that could not be saved: one more try,
// and when the disk is still full, a line on standard error, a notification and `false`.
#include <QFile>
#include <QTemporaryDir>
#include <QUuid>
#include <gtest/gtest.h>

#include "FakeClock.h"
#include "FileSizeLimit.h"
#include "RecordingDesktop.h"
#include "TestCalendars.h"
#include "app/SaveBeforeQuit.h"
#include "app/SaveFailureReporter.h"
#include "data/SessionStore.h"
#include "platform/JsonFilePreferences.h"

namespace {

class SaveBeforeQuitTest : public ::testing::Test {
protected:
    SessionRecord record(double secondsAgo) const
    {
        return { QUuid::createUuid(), clock.now().addSeconds(-secondsAgo), 1500, SessionType::focus, true,
            QStringLiteral("Work") };
    }

    /// Quits with standard error captured.
    bool quit(std::string* errorOutput)
    {
        testing::internal::CaptureStderr();
        const bool saved = saveBeforeQuit(&store, preferences, reporter);
        *errorOutput = testing::internal::GetCapturedStderr();
        return saved;
    }

    QTemporaryDir dir;
    FakeClock clock;
    Calendar calendar = berlinCalendar();
    RecordingNotifier notifier;
    SaveFailureReporter reporter { notifier };
    SessionStore store { dir.filePath(QStringLiteral("sessions.json")), clock, calendar };
    JsonFilePreferences preferences { dir.filePath(QStringLiteral("preferences.json")) };
};

TEST_F(SaveBeforeQuitTest, NothingUnsavedQuitsSilently)
{
    store.addRecord(record(60));
    preferences.setValue(QStringLiteral("key"), 1);
    std::string errors;

    EXPECT_TRUE(quit(&errors));
    EXPECT_TRUE(errors.empty()) << errors;
    EXPECT_TRUE(notifier.notifications.isEmpty());
    // Without a history read, only the settings are saved.
    EXPECT_TRUE(saveBeforeQuit(nullptr, preferences, reporter));
}

TEST_F(SaveBeforeQuitTest, ARecordStillUnsavedAtQuitIsReportedLostAndOneSavedByTheLastTryIsNot)
{
    for (int i = 0; i < 200; ++i) // a file of about 25 KB
        store.addRecord(record(1800.0 * (i + 1)));
    const qint64 saved = QFileInfo(store.filePath()).size();
    testing::internal::CaptureStdout();
    {
        const FileSizeLimit full(rlim_t(saved / 2)); // room for the lines below, not for the history
        store.addRecord(record(0));
        ASSERT_TRUE(store.hasUnsavedRecords());
        std::string errors;
        EXPECT_FALSE(quit(&errors));
        EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
        EXPECT_NE(errors.find("Velto quit without saving its newest history records"), std::string::npos)
            << errors;
        EXPECT_NE(errors.find(std::strerror(EFBIG)), std::string::npos) << errors;
    }
    testing::internal::GetCapturedStdout();
    ASSERT_EQ(notifier.notifications.size(), 1);
    EXPECT_EQ(notifier.notifications[0].first, QStringLiteral("Velto could not save your history"));
    EXPECT_TRUE(notifier.notifications[0].second.startsWith(QString::fromLocal8Bit(std::strerror(EFBIG))));
    EXPECT_EQ(QFileInfo(store.filePath()).size(), saved);

    // With room again, the last try saves it and nothing is said.
    notifier.notifications.clear();
    std::string errors;
    EXPECT_TRUE(quit(&errors));
    EXPECT_TRUE(errors.empty()) << errors;
    EXPECT_TRUE(notifier.notifications.isEmpty());
    EXPECT_EQ(SessionStore(store.filePath(), clock, calendar).count(), 201);
}

TEST_F(SaveBeforeQuitTest, SettingsStillUnsavedAtQuitAreReportedLost)
{
    preferences.setValue(QStringLiteral("padding"), QString(4000, QLatin1Char('x')));
    const qint64 saved = QFileInfo(preferences.filePath()).size();
    std::string errors;
    {
        const FileSizeLimit full(rlim_t(saved / 2));
        preferences.setValue(QStringLiteral("key"), 2);
        EXPECT_FALSE(quit(&errors));
    }
    EXPECT_NE(errors.find("Velto quit without saving its latest settings"), std::string::npos) << errors;
    ASSERT_EQ(notifier.notifications.size(), 1);
    EXPECT_EQ(notifier.notifications[0].first, QStringLiteral("Velto could not save its settings"));
}

TEST_F(SaveBeforeQuitTest, WhileRunningTheNotificationPromisesOnlyWhatIsTrue)
{
    reporter.reportFailure(SaveFailureReporter::What::history, QStringLiteral("No space left on device"));
    reporter.reportFailure(SaveFailureReporter::What::history, QStringLiteral("No space left on device"));
    reporter.reportFailure(SaveFailureReporter::What::settings, QStringLiteral("No space left on device"));
    ASSERT_EQ(notifier.notifications.size(), 2) << "once per file and run";
    for (const auto& [title, body] : notifier.notifications) {
        EXPECT_TRUE(body.contains(QStringLiteral("kept while Velto runs"))) << body.toStdString();
        EXPECT_FALSE(body.contains(QStringLiteral("Nothing is lost"))) << body.toStdString();
    }
}

} // namespace
