#include "IsoDateTime.h"

#include <QDate>
#include <cmath>
#include <cstdlib>

namespace IsoDateTime {
namespace {
constexpr qint64 kMsPerDay = 86'400'000;
// 0001-01-01 and 10000-01-01 in seconds since 1970, with two days to spare for the offset.
constexpr double kFirstUnixSeconds = -62'135'596'800.0 - 2 * 86'400;
constexpr double kEndUnixSeconds = 253'402'300'800.0 + 2 * 86'400;

void appendDigits(std::string& out, qint64 value, int width)
{
    char digits[8];
    for (int i = width - 1; i >= 0; --i) {
        digits[i] = static_cast<char>('0' + value % 10);
        value /= 10;
    }
    out.append(digits, static_cast<std::size_t>(width));
}

qint64 floorDiv(qint64 a, qint64 b)
{
    const qint64 q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}
} // namespace

bool append(std::string& out, Instant instant, const Calendar& calendar)
{
    const double unixSeconds = instant.unixSeconds();
    if (!(unixSeconds >= kFirstUnixSeconds && unixSeconds < kEndUnixSeconds))
        return false;
    const qint64 utcMs = std::llround(unixSeconds * 1000.0);
    const int offset
        = calendar.utcOffsetSeconds(Instant::fromUnixSeconds(static_cast<double>(utcMs) / 1000.0));
    const qint64 localMs = utcMs + qint64(offset) * 1000;
    const qint64 day = floorDiv(localMs, kMsPerDay);
    const qint64 msOfDay = localMs - day * kMsPerDay;
    int year = 0, month = 0, dayOfMonth = 0;
    QDate(1970, 1, 1).addDays(day).getDate(&year, &month, &dayOfMonth);
    if (year < 1 || year > 9999)
        return false;

    appendDigits(out, year, 4);
    out.push_back('-');
    appendDigits(out, month, 2);
    out.push_back('-');
    appendDigits(out, dayOfMonth, 2);
    out.push_back('T');
    appendDigits(out, msOfDay / 3'600'000, 2);
    out.push_back(':');
    appendDigits(out, msOfDay / 60'000 % 60, 2);
    out.push_back(':');
    appendDigits(out, msOfDay / 1000 % 60, 2);
    out.push_back('.');
    appendDigits(out, msOfDay % 1000, 3);
    out.push_back(offset < 0 ? '-' : '+');
    const int magnitude = std::abs(offset);
    appendDigits(out, magnitude / 3600, 2);
    out.push_back(':');
    appendDigits(out, magnitude / 60 % 60, 2);
    if (magnitude % 60 != 0) { // the local mean time of old dates; Python's fromisoformat reads it
        out.push_back(':');
        appendDigits(out, magnitude % 60, 2);
    }
    return true;
}

std::string format(Instant instant, const Calendar& calendar)
{
    std::string out;
    append(out, instant, calendar);
    return out;
}

} // namespace IsoDateTime
