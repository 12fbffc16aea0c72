#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimeZone>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "FileSizeLimit.h"

#include "platform/JsonFilePreferences.h"
#include "platform/PreferenceValues.h"
#include "platform/PreferencesCodec.h"

namespace {

class PreferencesFile : public ::testing::Test {
protected:
    QString path() const { return dir.filePath(QStringLiteral("velto/preferences.json")); }
    QByteArray contents() const
    {
        QFile f(path());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void write(const QByteArray& bytes) const
    {
        QDir().mkpath(QFileInfo(path()).absolutePath());
        QFile f(path());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QString folder() const { return QFileInfo(path()).absolutePath(); }
    QStringList setAsideFiles() const
    {
        return QDir(folder()).entryList(
            { QStringLiteral("preferences.json.unreadable-*") }, QDir::AllEntries | QDir::System);
    }
    QTemporaryDir dir;
};

TEST_F(PreferencesFile, EveryTypeSurvivesARestart)
{
    const QDateTime date(QDate(2026, 12, 7), QTime(9, 30, 15, 250), QTimeZone::utc());
    const QVariantMap colors { { QStringLiteral("Work"), 16622767 }, { QStringLiteral("$date"), 1 } };
    {
        JsonFilePreferences prefs(path());
        prefs.setValue(QStringLiteral("autoStartNext"), true);
        prefs.setValue(QStringLiteral("dailySessions"), QVariant::fromValue<qint64>(3));
        prefs.setValue(QStringLiteral("workDuration"), 1500.0);
        prefs.setValue(QStringLiteral("focusColorId"), QStringLiteral("slate"));
        prefs.setValue(QStringLiteral("lastSessionDate"), date);
        prefs.setValue(
            QStringLiteral("veltoCustomTags"), QStringList { QStringLiteral("Reading"), QString() });
        prefs.setValue(QStringLiteral("veltoTagColors"), colors);
    }
    JsonFilePreferences prefs(path());
    EXPECT_EQ(prefs.value(QStringLiteral("autoStartNext")).typeId(), QMetaType::Bool);
    EXPECT_EQ(prefs.value(QStringLiteral("dailySessions")).typeId(), QMetaType::LongLong);
    EXPECT_EQ(prefs.value(QStringLiteral("dailySessions")).toLongLong(), 3);
    // A whole double stays a double.
    EXPECT_EQ(prefs.value(QStringLiteral("workDuration")).typeId(), QMetaType::Double);
    EXPECT_EQ(prefs.value(QStringLiteral("workDuration")).toDouble(), 1500.0);
    EXPECT_EQ(prefs.value(QStringLiteral("focusColorId")).toString(), QStringLiteral("slate"));
    EXPECT_EQ(PreferenceValues::date(prefs.value(QStringLiteral("lastSessionDate"))), date);
    EXPECT_EQ(PreferenceValues::stringList(prefs.value(QStringLiteral("veltoCustomTags"))),
        (QStringList { QStringLiteral("Reading"), QString() }));
    // A map whose only key looks like a wrapper still reads back as a map.
    const QVariantMap single { { QStringLiteral("$date"), QStringLiteral("2026-01-01T00:00:00.000Z") } };
    prefs.setValue(QStringLiteral("odd"), single);
    EXPECT_EQ(PreferenceValues::map(JsonFilePreferences(path()).value(QStringLiteral("odd"))), single);
    const QVariantMap dollar { { QStringLiteral("$Work"), 1 } };
    prefs.setValue(QStringLiteral("odd"), dollar);
    EXPECT_EQ(PreferenceValues::map(JsonFilePreferences(path()).value(QStringLiteral("odd"))), dollar);
    const auto map = PreferenceValues::map(prefs.value(QStringLiteral("veltoTagColors")));
    ASSERT_TRUE(map);
    EXPECT_EQ(PreferenceValues::exactInteger(map->value(QStringLiteral("Work"))), 16622767);
}

TEST_F(PreferencesFile, RemovingAKeyIsSavedAndAbsentKeysReadInvalid)
{
    {
        JsonFilePreferences prefs(path());
        prefs.setValue(QStringLiteral("veltoCurrentSessionTag"), QStringLiteral("Work"));
        prefs.remove(QStringLiteral("veltoCurrentSessionTag"));
    }
    EXPECT_FALSE(JsonFilePreferences(path()).value(QStringLiteral("veltoCurrentSessionTag")).isValid());
    EXPECT_FALSE(contents().contains("veltoCurrentSessionTag"));
}

TEST_F(PreferencesFile, UnreadableFileIsMovedAsideNotOverwritten)
{
    const QByteArray broken = "{\"workDuration\": 3000, \"autoStart";
    write(broken);
    testing::internal::CaptureStderr();
    JsonFilePreferences prefs(path());
    const std::string log = testing::internal::GetCapturedStderr();
    EXPECT_NE(log.find("Cannot read preferences"), std::string::npos) << log;
    EXPECT_FALSE(prefs.value(QStringLiteral("workDuration")).isValid()); // defaults apply

    prefs.setValue(QStringLiteral("workDuration"), 600.0);
    const QStringList aside = setAsideFiles();
    ASSERT_EQ(aside.size(), 1);
    QFile kept(QFileInfo(path()).absolutePath() + QLatin1Char('/') + aside.first());
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), broken);
    EXPECT_EQ(JsonFilePreferences(path()).value(QStringLiteral("workDuration")).toDouble(), 600.0);
}

TEST_F(PreferencesFile, WhatCannotBeReadSafelyIsMovedAsideWithoutBlockingOrCrashing)
{
    const QByteArray file = QFile::encodeName(path());
    const QByteArray deep
        = QByteArray("{\"workDuration\":") + QByteArray(50000, '[') + QByteArray(50000, ']') + '}';
    const std::vector<std::pair<const char*, std::function<int()>>> cases {
        { "a FIFO", [&] { return mkfifo(file, 0600); } },
        { "a link to /dev/zero", [&] { return symlink("/dev/zero", file); } },
        { "a folder", [&] { return mkdir(file, 0700); } },
        { "a file over the limit",
            [&] {
                QFile sparse(path());
                return sparse.open(QIODevice::WriteOnly)
                        && sparse.resize(JsonFilePreferences::maxFileSize + 1)
                    ? 0
                    : -1;
            } },
        { "arrays nested 50000 deep",
            [&] {
                write(deep);
                return 0;
            } },
    };
    for (const auto& [what, make] : cases) {
        SCOPED_TRACE(what);
        QDir(folder()).removeRecursively();
        ASSERT_TRUE(QDir().mkpath(folder()));
        ASSERT_EQ(make(), 0);
        testing::internal::CaptureStderr();
        JsonFilePreferences prefs(path());
        const std::string log = testing::internal::GetCapturedStderr();
        EXPECT_NE(log.find("Cannot read preferences"), std::string::npos) << log;
        EXPECT_FALSE(prefs.value(QStringLiteral("workDuration")).isValid());
        EXPECT_EQ(setAsideFiles().size(), 1);
        prefs.setValue(QStringLiteral("workDuration"), 600.0);
        EXPECT_FALSE(prefs.hasUnsavedChanges());
        EXPECT_EQ(JsonFilePreferences(path()).value(QStringLiteral("workDuration")).toDouble(), 600.0);
    }
}

TEST_F(PreferencesFile, AFullDiskKeepsTheFileAsItWasAndTheChangesAreSavedOnceThereIsRoom)
{
    const QString reason = QString::fromLocal8Bit(std::strerror(EFBIG));
    {
        JsonFilePreferences first(path());
        first.setValue(QStringLiteral("workDuration"), 1500.0);
        first.setValue(QStringLiteral("veltoCustomTags"),
            QStringList { QStringLiteral("Reading"), QStringLiteral("Work") });
    }
    const QByteArray before = contents();
    JsonFilePreferences prefs(path());
    prefs.setRetryInterval(std::chrono::milliseconds(10));
    QSignalSpy failed(&prefs, &JsonFilePreferences::saveFailed);
    QSignalSpy stateChanged(&prefs, &JsonFilePreferences::saveStateChanged);
    {
        const FileSizeLimit full(rlim_t(before.size() / 2));
        prefs.setValue(QStringLiteral("workDuration"), 3000.0);
        prefs.setValue(QStringLiteral("autoStartNext"), true);
    }
    EXPECT_EQ(contents(), before);
    EXPECT_EQ(QDir(folder()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
        QStringList { QStringLiteral("preferences.json") });
    ASSERT_EQ(failed.count(), 2);
    EXPECT_EQ(failed.at(1).at(0).toString().toStdString(), reason.toStdString());
    EXPECT_TRUE(prefs.hasUnsavedChanges());
    EXPECT_EQ(prefs.saveError().toStdString(), reason.toStdString());
    EXPECT_EQ(stateChanged.count(), 1);

    // With room again, the periodic retry saves without waiting for another change.
    ASSERT_TRUE(stateChanged.wait(10000));
    EXPECT_FALSE(prefs.hasUnsavedChanges());
    EXPECT_TRUE(prefs.saveError().isEmpty());
    EXPECT_TRUE(prefs.flush());
    JsonFilePreferences reread(path());
    EXPECT_EQ(reread.value(QStringLiteral("workDuration")).toDouble(), 3000.0);
    EXPECT_EQ(reread.value(QStringLiteral("autoStartNext")), QVariant(true));
}

TEST_F(PreferencesFile, ValuesItDoesNotUnderstandAreWrittenBackUnchanged)
{
    const QByteArray stored = R"({"gone": null, "when": {"$date": "not a date"}, "later": {"$blob": [1, 2]},
        "veltoTagColors": {"Work": 16622767, "Odd": null}, "huge": 18446744073709551615, "workDuration": 1500.0})";
    write(stored);
    JsonFilePreferences prefs(path());
    for (const char* key : { "gone", "when", "later" })
        EXPECT_FALSE(prefs.value(QString::fromLatin1(key)).isValid()) << key;
    EXPECT_EQ(PreferenceValues::map(prefs.value(QStringLiteral("veltoTagColors"))),
        (QVariantMap { { QStringLiteral("Work"), QVariant::fromValue<qint64>(16622767) } }));

    prefs.setValue(QStringLiteral("autoStartNext"), true);
    const QJsonObject original = QJsonDocument::fromJson(stored).object();
    const QJsonObject saved = QJsonDocument::fromJson(contents()).object();
    for (const QString& key : original.keys())
        EXPECT_EQ(saved.value(key), original.value(key)) << key.toStdString();
    EXPECT_TRUE(contents().contains("18446744073709551615"));

    // A value set by the app replaces what was kept.
    const QDateTime date(QDate(2026, 12, 7), QTime(9, 30), QTimeZone::utc());
    prefs.setValue(QStringLiteral("when"), date);
    prefs.remove(QStringLiteral("gone"));
    JsonFilePreferences reread(path());
    EXPECT_EQ(PreferenceValues::date(reread.value(QStringLiteral("when"))), date);
    EXPECT_FALSE(QJsonDocument::fromJson(contents()).object().contains(QStringLiteral("gone")));
}

TEST_F(PreferencesFile, TheFileAndItsFolderArePrivate)
{
    const mode_t previousMask = umask(022);
    JsonFilePreferences(path()).setValue(QStringLiteral("autoStartNext"), true);
    struct stat info { };
    ASSERT_EQ(stat(QFile::encodeName(folder()), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0700u);
    ASSERT_EQ(stat(QFile::encodeName(path()), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0600u);
    umask(previousMask);
}

TEST_F(PreferencesFile, DocumentsThatAreNotAnObjectAreUnreadable)
{
    for (const QByteArray& bad :
        { QByteArray("[1,2]"), QByteArray(""), QByteArray("null"), QByteArray("\"x\"") }) {
        QString error;
        EXPECT_FALSE(PreferencesCodec::decode(bad, &error)) << bad.constData();
        EXPECT_FALSE(error.isEmpty());
    }
}

TEST(PreferenceValues, ReadingRulesRejectWrongTypes)
{
    using namespace PreferenceValues;
    EXPECT_EQ(number(QVariant(1500.0)), 1500.0);
    EXPECT_EQ(number(QVariant::fromValue<qint64>(900)), 900.0);
    EXPECT_FALSE(number(QVariant(true)));
    EXPECT_FALSE(number(QVariant(QStringLiteral("1500"))));
    EXPECT_FALSE(number(QVariant()));

    EXPECT_TRUE(boolean(QVariant(true)));
    EXPECT_TRUE(boolean(QVariant::fromValue<qint64>(2)));
    EXPECT_FALSE(boolean(QVariant(QStringLiteral("true"))));
    EXPECT_FALSE(boolean(QVariant()));

    EXPECT_EQ(integer(QVariant(3.9)), 3);
    EXPECT_EQ(integer(QVariant(QStringLiteral("7"))), 0);
    EXPECT_EQ(integer(QVariant(1e300)), 0);
    EXPECT_FALSE(exactInteger(QVariant(3.0)));
    EXPECT_FALSE(exactInteger(QVariant(false)));

    EXPECT_FALSE(date(QVariant(QStringLiteral("2026-12-07"))));
    EXPECT_FALSE(string(QVariant::fromValue<qint64>(5)));
    EXPECT_FALSE(stringList(QVariant(QVariantList { QStringLiteral("a"), 1 })));
    EXPECT_EQ(
        stringList(QVariant(QVariantList { QStringLiteral("a") })), QStringList { QStringLiteral("a") });
    EXPECT_FALSE(map(QVariant(QStringList())));
}

} // namespace
