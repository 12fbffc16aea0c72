#include "ClockText.h"

QString clockText(double seconds)
{
    // Clamped so that absurd stored durations cannot overflow the integer maths.
    const qint64 whole = !(seconds > 0) ? 0 : seconds > 9e15 ? qint64(9e15) : static_cast<qint64>(seconds);
    return QStringLiteral("%1:%2").arg(whole / 60, 2, 10, QLatin1Char('0')).arg(whole % 60, 2, 10, QLatin1Char('0'));
}
