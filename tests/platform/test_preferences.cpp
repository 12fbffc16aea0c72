#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimeZone>
#include <gtest/gtest.h>

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
    QStringList setAsideFiles() const
    {
        return QDir(QFileInfo(path()).absolutePath()).entryList({ QStringLiteral("preferences.json.unreadable-*") });
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
        prefs.setValue(QStringLiteral("veltoCustomTags"), QStringList { QStringLiteral("Reading"), QString() });
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

TEST_F(PreferencesFile, DocumentsThatAreNotAnObjectAreUnreadable)
{
    for (const QByteArray& bad : { QByteArray("[1,2]"), QByteArray(""), QByteArray("null"), QByteArray("\"x\"") }) {
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
    EXPECT_EQ(stringList(QVariant(QVariantList { QStringLiteral("a") })), QStringList { QStringLiteral("a") });
    EXPECT_FALSE(map(QVariant(QStringList())));
}

} // namespace
