#include "DurationText.h"

#include <QCoreApplication>

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

QString totalDurationText(qint64 minutes)
{
    const qint64 hours = minutes / 60;
    const qint64 rest = minutes % 60;
    if (hours != 0)
        return QCoreApplication::translate("DurationText", "%1h %2m total").arg(hours).arg(rest);
    return QCoreApplication::translate("DurationText", "%1m total").arg(rest);
}
