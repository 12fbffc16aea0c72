#include <QRandomGenerator>
#include <gtest/gtest.h>

#include "TestCalendars.h"
#include "platform/Calendar.h"

namespace {

TEST(Calendar, DayNumbersAndDaySpansMatchQtLocalDatesAcrossZoneTransitions)
{
    // Zones with daylight saving, changes at midnight, half-hour shifts and a skipped day.
    const char* zones[] = { "Europe/Berlin", "America/Sao_Paulo", "Australia/Lord_Howe", "Pacific/Apia",
        "America/New_York", "America/Santiago", "UTC", "Asia/Kolkata" };
    QRandomGenerator random(42);
    const QDate epoch(1970, 1, 1);
    for (const char* zoneId : zones) {
        const QTimeZone zone(zoneId);
        ASSERT_TRUE(zone.isValid()) << zoneId;
        const Calendar calendar(zone, QLocale(QStringLiteral("en_US")));
        for (int i = 0; i < 4000; ++i) {
            // 1995 … 2040, with many samples right around midnight.
            const double unix = 788918400.0 + random.generateDouble() * 1420070400.0;
            const Instant instant
                = Instant::fromUnixSeconds(i % 2 ? unix : std::floor(unix / 3600) * 3600 - 0.25);
            const QDate expected = instant.toDateTime().toTimeZone(zone).date();
            ASSERT_EQ(calendar.dayNumber(instant), epoch.daysTo(expected))
                << zoneId << " at " << instant.toDateTime().toString(Qt::ISODateWithMs).toStdString();
            // The span holds the instant, and reads as its day up to both of its ends.
            const Calendar::DaySpan span = calendar.daySpan(instant);
            ASSERT_TRUE(span.holds(instant));
            ASSERT_EQ(span.day, calendar.dayNumber(instant));
            const double first = std::max(span.firstSecond, span.firstMs / 1000.0);
            const double end = std::min(span.endSecond, span.endMs / 1000.0);
            for (const double edge : { first - 0.0005, first, end - 0.0005, end }) {
                const Instant probe = Instant::fromUnixSeconds(edge);
                if (span.holds(probe)) {
                    ASSERT_EQ(calendar.dayNumber(probe), span.day) << zoneId << " at " << edge;
                }
            }
        }
    }
}

TEST(Calendar, StartOfDayIsLocalMidnightEvenOnShortDays)
{
    const QTimeZone berlin("Europe/Berlin");
    const Calendar calendar = berlinCalendar();
    // 2026-03-29 has 23 hours in Berlin.
    const Instant evening = localTime(berlin, 2026, 3, 29, 22, 30);
    EXPECT_EQ(calendar.startOfDay(evening), localTime(berlin, 2026, 3, 29, 0, 0));
    EXPECT_EQ(
        calendar.startOfDay(localTime(berlin, 2026, 3, 30, 0, 0)), localTime(berlin, 2026, 3, 30, 0, 0));
}

TEST(Calendar, WeekStartsOnTheLocalesFirstWeekday)
{
    const QTimeZone berlin("Europe/Berlin");
    const Instant wednesday = localTime(berlin, 2026, 12, 9, 15, 0);
    EXPECT_EQ(berlinCalendar("en_US").startOfWeek(wednesday), localTime(berlin, 2026, 12, 6, 0, 0)); // Sunday
    EXPECT_EQ(berlinCalendar("de_DE").startOfWeek(wednesday), localTime(berlin, 2026, 12, 7, 0, 0)); // Monday
    // On the first weekday itself the week starts that midnight.
    const Instant sunday = localTime(berlin, 2026, 12, 6, 0, 0);
    EXPECT_EQ(berlinCalendar("en_US").startOfWeek(sunday), sunday);
    EXPECT_EQ(berlinCalendar("de_DE").startOfWeek(sunday), localTime(berlin, 2026, 11, 30, 0, 0));
}

TEST(Calendar, WeekdaysAreGregorianWithSundayFirst)
{
    const QTimeZone berlin("Europe/Berlin");
    const Calendar calendar = berlinCalendar();
    EXPECT_EQ(calendar.weekday(localTime(berlin, 2026, 12, 6)), 1); // Sunday
    EXPECT_EQ(calendar.weekday(localTime(berlin, 2026, 12, 9)), 4); // Wednesday
    EXPECT_EQ(calendar.weekday(localTime(berlin, 2026, 12, 12, 23, 59)), 7); // Saturday
    EXPECT_EQ(Calendar::weekdayOfDayNumber(0), 5); // 1970-01-01 was a Thursday
    EXPECT_EQ(Calendar::weekdayOfDayNumber(-1), 4);
}

TEST(Calendar, AddDaysKeepsTheTimeOfDayAcrossDaylightSaving)
{
    const QTimeZone berlin("Europe/Berlin");
    const Calendar calendar = berlinCalendar();
    const Instant beforeSpring = localTime(berlin, 2026, 3, 28, 10, 15);
    const Instant afterSpring = calendar.addDays(beforeSpring, 1);
    EXPECT_EQ(afterSpring, localTime(berlin, 2026, 3, 29, 10, 15));
    EXPECT_DOUBLE_EQ(afterSpring.secondsSince(beforeSpring), 23 * 3600.0);
    const Instant autumn = localTime(berlin, 2026, 10, 26, 10, 15);
    EXPECT_EQ(calendar.addDays(autumn, -30), localTime(berlin, 2026, 9, 26, 10, 15));
    // A sub-millisecond fraction survives the move.
    const Instant precise = beforeSpring.addSeconds(0.0004);
    EXPECT_NEAR(calendar.addDays(precise, 2).secondsSince(calendar.addDays(beforeSpring, 2)), 0.0004, 1e-6);
}

TEST(Calendar, AddDaysMovesASkippedWallTimeForwardByTheGapAndTakesTheFirstOfARepeatedOne)
{
    struct Case {
        const char* zone;
        QDateTime from; // in the zone
        int days;
        QDateTime expected; // at the offset the zone has then
    };
    const auto at = [](const char* zone, int y, int mo, int d, int h, int mi) {
        return QDateTime(QDate(y, mo, d), QTime(h, mi), QTimeZone(zone));
    };
    const auto offset = [](int y, int mo, int d, int h, int mi, int minutesEastOfUtc) {
        return QDateTime(QDate(y, mo, d), QTime(h, mi), QTimeZone(minutesEastOfUtc * 60));
    };
    const Case cases[] = {
        // 02:00 EST jumps to 03:00 EDT.
        { "America/New_York", at("America/New_York", 2025, 3, 8, 2, 30), 1, offset(2025, 3, 9, 3, 30, -240) },
        { "America/New_York", at("America/New_York", 2025, 4, 8, 2, 30), -30,
            offset(2025, 3, 9, 3, 30, -240) },
        // 01:30 happens twice: first in EDT.
        { "America/New_York", at("America/New_York", 2025, 11, 1, 1, 30), 1,
            offset(2025, 11, 2, 1, 30, -240) },
        { "America/New_York", at("America/New_York", 2025, 11, 3, 1, 30), -1,
            offset(2025, 11, 2, 1, 30, -240) },
        // 2018-11-04 began at 01:00: there was no midnight.
        { "America/Sao_Paulo", at("America/Sao_Paulo", 2018, 11, 3, 0, 30), 1,
            offset(2018, 11, 4, 1, 30, -120) },
        // A gap of 30 minutes, 02:00 to 02:30.
        { "Australia/Lord_Howe", at("Australia/Lord_Howe", 2025, 10, 4, 2, 15), 1,
            offset(2025, 10, 5, 2, 45, 660) },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(
            c.from.toString(Qt::ISODate).toStdString() + " " + c.zone + " " + std::to_string(c.days));
        ASSERT_TRUE(c.from.isValid());
        const Calendar calendar(QTimeZone(c.zone), QLocale(QStringLiteral("en_US")));
        const Instant moved = calendar.addDays(Instant::fromDateTime(c.from), c.days);
        const auto utc
            = [](const QDateTime& t) { return t.toUTC().toString(Qt::ISODateWithMs).toStdString(); };
        EXPECT_EQ(utc(moved.toDateTime()), utc(c.expected));
    }
}

TEST(Calendar, MediumDatesFollowTheLocaleAndTheLocalDate)
{
    // 2026-12-05 23:30 UTC is already the 6th in Berlin.
    const Instant instant
        = Instant::fromDateTime(QDateTime(QDate(2026, 12, 5), QTime(23, 30), QTimeZone::utc()));
    EXPECT_EQ(berlinCalendar("en_US").mediumDate(instant), QStringLiteral("Dec 6, 2026"));
    EXPECT_EQ(berlinCalendar("de_DE").mediumDate(instant), QStringLiteral("6. Dez. 2026"));
}

TEST(Calendar, WeekdayNamesFollowTheLocale)
{
    EXPECT_EQ(berlinCalendar("en_US").weekdayName(4), QStringLiteral("Wednesday"));
    EXPECT_EQ(berlinCalendar("de_DE").weekdayName(4), QStringLiteral("Mittwoch"));
    EXPECT_EQ(berlinCalendar("en_US").weekdayName(1), QStringLiteral("Sunday"));
    EXPECT_TRUE(berlinCalendar().weekdayName(0).isEmpty());
}

} // namespace
