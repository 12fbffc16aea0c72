#include "Streak.h"

#include <algorithm>

int currentStreak(const std::vector<qint64>& activeDaysNewestFirst, qint64 today)
{
    // Days after today (a record dated in the future, a clock set back) neither count
    // nor hide the run that ends today.
    const auto firstNotAfterToday = std::find_if(activeDaysNewestFirst.begin(), activeDaysNewestFirst.end(),
        [today](qint64 day) { return day <= today; });
    if (firstNotAfterToday == activeDaysNewestFirst.end())
        return 0;
    const qint64 yesterday = today - 1;
    const qint64 newest = *firstNotAfterToday;
    // A run that ended yesterday still counts until today is over.
    if (newest != today && newest != yesterday)
        return 0;
    qint64 checkDay = newest;
    int count = 0;
    for (const qint64 day : activeDaysNewestFirst) {
        if (day == checkDay) {
            ++count;
            --checkDay;
        } else if (day < checkDay) {
            break; // a gap ends the run
        }
    }
    return count;
}
