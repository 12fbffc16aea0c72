#include "beacon/BeaconApiDateFormatter.h"

#include <charconv>
#include <cstdio>

namespace beacon {

std::string BeaconApiDateFormatter::formatWithMilliseconds(std::chrono::system_clock::time_point time)
{
    using namespace std::chrono;
    // floor, not truncation toward zero, keeps instants before 1970 on the right day and second.
    const auto milliseconds = floor<std::chrono::milliseconds>(time);
    const auto day = floor<days>(milliseconds);
    const year_month_day date { day };
    const hh_mm_ss clock { milliseconds - day };
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02d.%03dZ", static_cast<int>(date.year()),
        static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
        static_cast<int>(clock.hours().count()), static_cast<int>(clock.minutes().count()),
        static_cast<int>(clock.seconds().count()), static_cast<int>(clock.subseconds().count()));
    return text;
}

std::string BeaconApiDateFormatter::formatWithSeconds(std::chrono::system_clock::time_point time)
{
    std::string text = formatWithMilliseconds(time);
    text.erase(text.size() - 5, 4); // ".SSS" before the "Z"
    return text;
}

namespace {
/// Reads exactly `width` decimal digits at `pos`.
std::optional<int> digits(std::string_view text, std::size_t pos, std::size_t width)
{
    if (pos + width > text.size())
        return std::nullopt;
    int value = 0;
    for (std::size_t i = pos; i < pos + width; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return std::nullopt;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}
} // namespace

std::optional<std::chrono::system_clock::time_point> BeaconApiDateFormatter::parse(std::string_view text)
{
    using namespace std::chrono;
    // yyyy-MM-ddTHH:mm:ss then either "Z" or ".SSSZ"
    if (text.size() != 20 && text.size() != 24)
        return std::nullopt;
    const auto separatorsOk = text[4] == '-' && text[7] == '-' && text[10] == 'T' && text[13] == ':'
        && text[16] == ':' && text.back() == 'Z' && (text.size() == 20 || text[19] == '.');
    const auto y = digits(text, 0, 4), mo = digits(text, 5, 2), d = digits(text, 8, 2);
    const auto h = digits(text, 11, 2), mi = digits(text, 14, 2), s = digits(text, 17, 2);
    const auto ms = text.size() == 24 ? digits(text, 20, 3) : std::optional<int>(0);
    if (!separatorsOk || !y || !mo || !d || !h || !mi || !s || !ms || *h > 23 || *mi > 59 || *s > 59)
        return std::nullopt;
    const year_month_day date { year(*y), month(static_cast<unsigned>(*mo)), day(static_cast<unsigned>(*d)) };
    if (!date.ok())
        return std::nullopt;
    const sys_time<milliseconds> instant
        = sys_days(date) + hours(*h) + minutes(*mi) + seconds(*s) + milliseconds(*ms);
    // The system clock counts nanoseconds in 64 bits (about 1677 to 2262): converting a date outside
    // that range would overflow into a wrong time.
    if (instant < ceil<milliseconds>(system_clock::time_point::min())
        || instant > floor<milliseconds>(system_clock::time_point::max()))
        return std::nullopt;
    return time_point_cast<system_clock::duration>(instant);
}

} // namespace beacon
