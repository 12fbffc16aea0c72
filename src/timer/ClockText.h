#pragma once

#include <QString>

/// "MM:SS" of whole seconds: minutes = seconds ÷ 60, seconds mod 60, each at least two
/// digits (1500 gives "25:00", 59 gives "00:59"). Negative or NaN durations read "00:00".
QString clockText(double seconds);

/// The whole minutes of a duration in seconds; negative or NaN durations give 0.
qint64 wholeMinutes(double seconds);

/// A whole number of minutes as people read it: "45m", "1h", "1h 5m".
QString durationText(qint64 minutes);
