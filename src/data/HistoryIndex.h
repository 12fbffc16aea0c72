#pragma once

#include <map>
#include <vector>

#include "SessionRecord.h"
#include "platform/Calendar.h"

/// Per-day facts about the history, kept beside the record list so that the
/// dashboard's questions do not convert every date to a calendar day each time.
class HistoryIndex {
public:
    struct DayTotals {
        qint64 focusMinutes = 0; ///< whole minutes of the day's completed focus records
        int qualifyingRecords = 0; ///< completed focus records; at least one makes the day active
    };

    explicit HistoryIndex(const Calendar& calendar) : m_calendar(calendar) { }

    void rebuild(const std::vector<SessionRecord>& records);
    void add(const SessionRecord& record);

    /// The calendar day of each record, in list order.
    const std::vector<qint64>& dayNumbers() const { return m_dayNumbers; }
    /// Days holding at least one record of any kind, oldest first.
    const std::map<qint64, DayTotals>& days() const { return m_days; }
    qint64 focusMinutesOnDay(qint64 day) const;

private:
    const Calendar& m_calendar;
    std::vector<qint64> m_dayNumbers;
    std::map<qint64, DayTotals> m_days;
};
