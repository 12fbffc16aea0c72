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
        int focusRecords = 0; ///< focus records, complete or not
        int breakRecords = 0; ///< short and long breaks, complete or not
    };
    /// The completed focus records of one day that carry one tag.
    struct TagTotals {
        QString tag;
        qint64 focusMinutes = 0;
        int records = 0;
    };

    explicit HistoryIndex(const Calendar& calendar)
        : m_calendar(calendar)
    { }
    HistoryIndex(const HistoryIndex&) = delete; // holds pointers into its own maps
    HistoryIndex& operator=(const HistoryIndex&) = delete;

    void rebuild(const std::vector<SessionRecord>& records);
    void add(const SessionRecord& record);

    /// The calendar day of each record, in list order.
    const std::vector<qint64>& dayNumbers() const { return m_dayNumbers; }
    /// Days holding at least one record of any kind, oldest first.
    const std::map<qint64, DayTotals>& days() const { return m_days; }
    qint64 focusMinutesOnDay(qint64 day) const;
    DayTotals totalsOnDay(qint64 day) const;
    /// Sum over `firstDay` and every later day.
    DayTotals totalsFrom(qint64 firstDay) const;
    /// Days with tagged completed focus, oldest first; per day the tags in order of first appearance.
    const std::map<qint64, std::vector<TagTotals>>& tagTotalsByDay() const { return m_tagTotals; }

private:
    /// The records come nearly in time order, so most fall into the day of the record before:
    /// the calendar is asked once per day, not once per record, and so are the day's totals.
    struct CurrentDay {
        Calendar::DaySpan span;
        DayTotals* totals = nullptr;
        std::vector<TagTotals>* tags = nullptr;
    };
    CurrentDay& dayOf(Instant instant);

    const Calendar& m_calendar;
    CurrentDay m_current;
    std::vector<qint64> m_dayNumbers;
    std::map<qint64, DayTotals> m_days;
    std::map<qint64, std::vector<TagTotals>> m_tagTotals;
};
