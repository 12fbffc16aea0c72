#include "HistoryIndex.h"

#include <algorithm>

void HistoryIndex::rebuild(const std::vector<SessionRecord>& records)
{
    m_dayNumbers.clear();
    m_days.clear();
    m_tagTotals.clear();
    m_dayNumbers.reserve(records.size());
    for (const SessionRecord& record : records)
        add(record);
}

void HistoryIndex::add(const SessionRecord& record)
{
    const qint64 day = m_calendar.dayNumber(record.date);
    m_dayNumbers.push_back(day);
    DayTotals& totals = m_days[day];
    if (record.type == SessionType::focus)
        ++totals.focusRecords;
    else
        ++totals.breakRecords;
    if (!record.isQualifying())
        return;
    const qint64 minutes = record.wholeMinutes();
    totals.focusMinutes = addMinutes(totals.focusMinutes, minutes);
    ++totals.qualifyingRecords;
    if (!record.tag)
        return;
    std::vector<TagTotals>& tags = m_tagTotals[day];
    auto it
        = std::find_if(tags.begin(), tags.end(), [&](const TagTotals& t) { return t.tag == *record.tag; });
    if (it == tags.end())
        it = tags.insert(tags.end(), TagTotals { *record.tag });
    it->focusMinutes = addMinutes(it->focusMinutes, minutes);
    ++it->records;
}

qint64 HistoryIndex::focusMinutesOnDay(qint64 day) const
{
    return totalsOnDay(day).focusMinutes;
}

HistoryIndex::DayTotals HistoryIndex::totalsOnDay(qint64 day) const
{
    const auto it = m_days.find(day);
    return it == m_days.end() ? DayTotals {} : it->second;
}

HistoryIndex::DayTotals HistoryIndex::totalsFrom(qint64 firstDay) const
{
    DayTotals sum;
    for (auto it = m_days.lower_bound(firstDay); it != m_days.end(); ++it) {
        sum.focusMinutes = addMinutes(sum.focusMinutes, it->second.focusMinutes);
        sum.qualifyingRecords += it->second.qualifyingRecords;
        sum.focusRecords += it->second.focusRecords;
        sum.breakRecords += it->second.breakRecords;
    }
    return sum;
}
