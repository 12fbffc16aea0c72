#pragma once

#include <QDateTime>
#include <QTimeZone>

#include "platform/Calendar.h"

/// Calendars and local times the tests pin down.
inline Calendar berlinCalendar(const char* locale = "en_US")
{
    return Calendar(QTimeZone("Europe/Berlin"), QLocale(QString::fromLatin1(locale)));
}

/// A local time in `zone` as an instant.
inline Instant localTime(const QTimeZone& zone, int y, int mo, int d, int h = 12, int mi = 0, int s = 0)
{
    return Instant::fromDateTime(QDateTime(QDate(y, mo, d), QTime(h, mi, s), zone));
}
