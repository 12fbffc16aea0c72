#pragma once

#include <QtGlobal>
#include <vector>

/// Number of consecutive active days ending today or yesterday.
/// `activeDaysNewestFirst` holds distinct day numbers sorted newest first.
int currentStreak(const std::vector<qint64>& activeDaysNewestFirst, qint64 today);
