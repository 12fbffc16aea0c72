#pragma once

#include <QString>

/// A whole number of minutes as the dashboard shows it: "45m", "1h", "1h 5m".
QString durationText(qint64 minutes);
/// The total of the tag chart: "2h 0m total", "45m total".
QString totalDurationText(qint64 minutes);
