#include "HistoryIndex.h"

void HistoryIndex::rebuild(const std::vector<SessionRecord>& records)
{
    m_dayNumbers.clear();
    m_days.clear();
    m_dayNumbers.reserve(records.size());
    for (const SessionRecord& record : records)
        add(record);
}

void HistoryIndex::add(const SessionRecord& record)
{
    const qint64 day = m_calendar.dayNumber(record.date);
    m_dayNumbers.push_back(day);
    DayTotals& totals = m_days[day];
    if (record.isQualifying()) {
        totals.focusMinutes = addMinutes(totals.focusMinutes, record.wholeMinutes());
        ++totals.qualifyingRecords;
    }
}

qint64 HistoryIndex::focusMinutesOnDay(qint64 day) const
{
    const auto it = m_days.find(day);
    return it == m_days.end() ? 0 : it->second.focusMinutes;
}
