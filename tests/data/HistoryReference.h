#pragma once

#include <QDateTime>
#include <QTimeZone>
#include <map>
#include <set>
#include <vector>

#include "data/SessionRecord.h"

/// A word-for-word reading of the history questions, converting every date with
/// QDateTime. Slow but obviously right: the store's answers must equal these.
struct HistoryReference {
    const std::vector<SessionRecord>& records;
    QTimeZone zone;
    QLocale locale;
    QDateTime now;

    QDate localDate(Instant i) const { return i.toDateTime().toTimeZone(zone).date(); }
    QDateTime startOfDay(Instant i) const { return localDate(i).startOfDay(zone); }

    static qint64 minutesOf(const std::vector<SessionRecord>& list)
    {
        qint64 total = 0;
        for (const SessionRecord& r : list)
            if (r.type == SessionType::focus && r.completedFully)
                total += static_cast<qint64>(r.duration / 60.0);
        return total;
    }
    std::vector<SessionRecord> today() const
    {
        std::vector<SessionRecord> out;
        for (const SessionRecord& r : records)
            if (startOfDay(r.date) == startOfDay(Instant::fromDateTime(now)))
                out.push_back(r);
        return out;
    }
    std::vector<SessionRecord> week() const
    {
        const QDate today = now.toTimeZone(zone).date();
        const int back = (today.dayOfWeek() - locale.firstDayOfWeek() + 7) % 7;
        const QDateTime start = today.addDays(-back).startOfDay(zone);
        std::vector<SessionRecord> out;
        for (const SessionRecord& r : records)
            if (r.date.toDateTime() >= start)
                out.push_back(r);
        return out;
    }
    qint64 minutesOnDay(const QDateTime& day) const
    {
        std::vector<SessionRecord> out;
        for (const SessionRecord& r : records)
            if (startOfDay(r.date) == startOfDay(Instant::fromDateTime(day)))
                out.push_back(r);
        return minutesOf(out);
    }
    qint64 average() const
    {
        const QDateTime cutoff = now.toTimeZone(zone).addDays(-30);
        std::vector<SessionRecord> window;
        std::set<QDateTime> days;
        for (const SessionRecord& r : records)
            if (r.type == SessionType::focus && r.completedFully && r.date.toDateTime() >= cutoff) {
                window.push_back(r);
                days.insert(startOfDay(r.date));
            }
        return days.empty() ? 0 : minutesOf(window) / qint64(days.size());
    }
    int streak() const
    {
        const QDate today = now.toTimeZone(zone).date();
        std::set<QDate, std::greater<>> days; // days after today do not count
        for (const SessionRecord& r : records)
            if (r.type == SessionType::focus && r.completedFully && localDate(r.date) <= today)
                days.insert(localDate(r.date));
        if (days.empty())
            return 0;
        QDate check = *days.begin();
        if (check != today && check != today.addDays(-1))
            return 0;
        int count = 0;
        for (const QDate& d : days) {
            if (d == check) {
                ++count;
                check = check.addDays(-1);
            } else if (d < check) {
                break;
            }
        }
        return count;
    }
    std::optional<int> bestWeekday() const // Qt weekday numbers
    {
        std::map<int, qint64> totals;
        for (const SessionRecord& r : records)
            if (r.type == SessionType::focus && r.completedFully)
                totals[localDate(r.date).dayOfWeek() % 7]
                    += static_cast<qint64>(r.duration / 60.0); // Sunday = 0
        if (totals.empty())
            return std::nullopt;
        auto best = totals.begin();
        for (auto it = totals.begin(); it != totals.end(); ++it)
            if (it->second > best->second)
                best = it;
        return best->first == 0 ? 7 : best->first;
    }
};
