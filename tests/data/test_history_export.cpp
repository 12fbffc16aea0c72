// The history as CSV and JSON: local times with their offsets across daylight-saving changes,
// RFC 4180 quoting, inclusive local days, and the day format the command line accepts.
#include <QDateTime>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "TestCalendars.h"
#include "data/HistoryExport.h"

namespace {

using HistoryExport::DayRange;
using HistoryExport::Format;

Instant utc(int y, int mo, int d, int h, int mi, double s = 0)
{
    const QDateTime at(QDate(y, mo, d), QTime(h, mi), QTimeZone::utc());
    return Instant::fromUnixSeconds(double(at.toSecsSinceEpoch()) + s);
}

SessionRecord record(const char* id, Instant end, double duration, SessionType type, bool completed,
    std::optional<QString> tag = std::nullopt)
{
    return SessionRecord { QUuid(QLatin1String(id)), end, duration, type, completed, std::move(tag) };
}

const QString kAwkwardTag = QStringLiteral("Deep, \"Work\"\n\U0001F680");

/// Berlin's spring and autumn changes of 2025 and a record with sub-second times.
std::vector<SessionRecord> sampleHistory()
{
    return {
        // Ends 03:10 summer time, started 01:45 winter time: the hour between did not exist.
        record("6a1f3c52-0b7e-4d9a-8e21-5c4b3a2f1e0d", utc(2025, 3, 30, 1, 10), 1500, SessionType::focus,
            true, kAwkwardTag),
        // Ends 02:10 winter time, started 02:55 summer time: the wall clock went back in between.
        record("00000000-0000-4000-8000-000000000002", utc(2025, 10, 26, 1, 10), 900, SessionType::longBreak,
            false),
        record("00000000-0000-4000-8000-000000000003", utc(2025, 12, 1, 9, 30, 0.25), 59.5,
            SessionType::shortBreak, true, QStringLiteral("plain")),
    };
}

TEST(HistoryExport, CsvFollowsRfc4180WithLocalTimesAcrossDaylightSaving)
{
    const std::string csv = HistoryExport::write(sampleHistory(), Format::csv, berlinCalendar());
    EXPECT_EQ(csv,
        "id,start,end,type,minutes,tag,completedFully\r\n"
        "6A1F3C52-0B7E-4D9A-8E21-5C4B3A2F1E0D,2025-03-30T01:45:00.000+01:00,2025-03-30T03:10:00.000+02:00,"
        "focus,25,\"Deep, \"\"Work\"\"\n\xF0\x9F\x9A\x80\",true\r\n"
        "00000000-0000-4000-8000-000000000002,2025-10-26T02:55:00.000+02:00,2025-10-26T02:10:00.000+01:00,"
        "longBreak,15,,false\r\n"
        "00000000-0000-4000-8000-000000000003,2025-12-01T10:29:00.750+01:00,2025-12-01T10:30:00.250+01:00,"
        "shortBreak,0,plain,true\r\n");

    EXPECT_EQ(HistoryExport::write({}, Format::csv, berlinCalendar()),
        "id,start,end,type,minutes,tag,completedFully\r\n");
}

TEST(HistoryExport, JsonIsAnArrayOfObjectsOnePerLine)
{
    const std::string json = HistoryExport::write(sampleHistory(), Format::json, berlinCalendar());
    const auto lines = QString::fromStdString(json).split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 6) << json; // "[", three objects, "]" and the final line feed
    EXPECT_EQ(lines[2].toStdString(),
        R"({"id":"00000000-0000-4000-8000-000000000002","start":"2025-10-26T02:55:00.000+02:00",)"
        R"("end":"2025-10-26T02:10:00.000+01:00","type":"longBreak","minutes":15,"tag":null,)"
        R"("completedFully":false},)");

    const auto parsed = nlohmann::json::parse(json);
    ASSERT_EQ(parsed.size(), 3u);
    EXPECT_EQ(parsed[0]["tag"].get<std::string>(), kAwkwardTag.toStdString());
    EXPECT_EQ(parsed[0]["start"], "2025-03-30T01:45:00.000+01:00");
    EXPECT_EQ(parsed[2]["minutes"], 0);
    EXPECT_EQ(HistoryExport::write({}, Format::json, berlinCalendar()), "[]\n");
}

TEST(HistoryExport, DaysAreLocalAndInclusive)
{
    const std::vector<SessionRecord> history {
        record("00000000-0000-4000-8000-00000000000a", utc(2025, 11, 30, 22, 30), 1500, SessionType::focus,
            true),
        record("00000000-0000-4000-8000-00000000000b", utc(2025, 12, 1, 22, 59, 59.9), 1500,
            SessionType::focus, true),
        // Midnight in Berlin, still December 1st in UTC.
        record(
            "00000000-0000-4000-8000-00000000000c", utc(2025, 12, 1, 23, 0), 1500, SessionType::focus, true),
    };
    const auto ids = [&](std::optional<QDate> first, std::optional<QDate> last) {
        const std::string csv
            = HistoryExport::write(history, Format::csv, berlinCalendar(), DayRange { first, last });
        std::string found;
        for (std::size_t at = csv.find("\r\n"); at != std::string::npos && at + 2 < csv.size();
             at = csv.find("\r\n", at + 2))
            found.push_back(csv[at + 2 + 35]); // the last digit of each row's id
        return found;
    };
    const QDate first(2025, 12, 1);
    EXPECT_EQ(ids(first, first), "B");
    EXPECT_EQ(ids(first.addDays(1), std::nullopt), "C");
    EXPECT_EQ(ids(std::nullopt, first.addDays(-1)), "A");
    EXPECT_EQ(ids(first.addDays(-1), first.addDays(1)), "ABC");
    EXPECT_EQ(ids(std::nullopt, std::nullopt), "ABC");
}

TEST(HistoryExport, TimesNoCalendarCanWriteAreLeftEmpty)
{
    // Only a damaged history holds such a date; the row is still there.
    const std::vector<SessionRecord> history { record("00000000-0000-4000-8000-000000000001",
        Instant::fromReferenceSeconds(1e15), 1500, SessionType::focus, true) };
    EXPECT_EQ(HistoryExport::write(history, Format::csv, berlinCalendar()),
        "id,start,end,type,minutes,tag,completedFully\r\n"
        "00000000-0000-4000-8000-000000000001,,,focus,25,,true\r\n");
    const auto parsed = nlohmann::json::parse(HistoryExport::write(history, Format::json, berlinCalendar()));
    EXPECT_TRUE(parsed[0]["start"].is_null());
    EXPECT_TRUE(parsed[0]["end"].is_null());
    EXPECT_TRUE(HistoryExport::write(history, Format::csv, berlinCalendar(),
        DayRange { QDate(2025, 1, 1),
            {} }).ends_with("completedFully\r\n"));
}

TEST(HistoryExport, DaysAreWrittenYearMonthDay)
{
    EXPECT_EQ(HistoryExport::parseDay(u"2025-12-01"), QDate(2025, 12, 1));
    EXPECT_EQ(HistoryExport::parseDay(u"2024-02-29"), QDate(2024, 2, 29));
    for (const char16_t* text :
        { u"2025-02-29", u"2025-13-01", u"2025-1-01", u"20251201", u"2025-12-01T00:00", u" 2025-12-01",
            u"01.12.2025", u"", u"yesterday", u"0000-01-01", u"\u0662\u0660\u0662\u0665-12-01" })
        EXPECT_FALSE(HistoryExport::parseDay(text)) << QString::fromUtf16(text).toStdString();
}

} // namespace
