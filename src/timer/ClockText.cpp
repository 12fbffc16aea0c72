#include "ClockText.h"

#include <QCoreApplication>

namespace {
/// Clamped so that absurd stored durations cannot overflow the integer maths.
qint64 wholeSeconds(double seconds)
{
    return !(seconds > 0) ? 0 : seconds > 9e15 ? qint64(9e15) : static_cast<qint64>(seconds);
}
} // namespace

QString clockText(double seconds)
{
    const qint64 whole = wholeSeconds(seconds);
    return QStringLiteral("%1:%2")
        .arg(whole / 60, 2, 10, QLatin1Char('0'))
        .arg(whole % 60, 2, 10, QLatin1Char('0'));
}

qint64 wholeMinutes(double seconds)
{
    return wholeSeconds(seconds) / 60;
}

QString durationText(qint64 minutes)
{
    if (minutes <= 59)
        return QCoreApplication::translate("DurationText", "%1m").arg(minutes);
    const qint64 hours = minutes / 60;
    const qint64 rest = minutes % 60;
    if (rest == 0)
        return QCoreApplication::translate("DurationText", "%1h").arg(hours);
    return QCoreApplication::translate("DurationText", "%1h %2m").arg(hours).arg(rest);
}
