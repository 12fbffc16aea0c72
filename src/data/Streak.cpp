#include "Streak.h"

int currentStreak(const std::vector<qint64>& activeDaysNewestFirst, qint64 today)
{
    if (activeDaysNewestFirst.empty())
        return 0;
    const qint64 yesterday = today - 1;
    const qint64 newest = activeDaysNewestFirst.front();
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
