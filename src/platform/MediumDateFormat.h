#pragma once

#include <QString>

/// Qt 6.4 has no medium date format; this derives one from a locale's long date
/// format ("dddd, MMMM d, yyyy" → "MMM d, yyyy"): the weekday goes with the
/// separator that joined it, and the month name is abbreviated.
QString mediumDateFormat(const QString& longFormat);
