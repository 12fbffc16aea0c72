#include "beacon/BeaconApiDateFormatter.h"

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

} // namespace beacon
