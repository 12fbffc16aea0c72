#include "HistoryIndex.h"

#include <algorithm>

void HistoryIndex::rebuild(const std::vector<SessionRecord>& records)
{
    m_dayNumbers.clear();
    m_days.clear();
    m_tagTotals.clear();
    m_current = {};
    m_dayNumbers.reserve(records.size());
    for (const SessionRecord& record : records)
        add(record);
}

HistoryIndex::CurrentDay& HistoryIndex::dayOf(Instant instant)
{
    if (m_current.totals && m_current.span.holds(instant))
        return m_current;
    const Calendar::DaySpan span = m_calendar.daySpan(instant);
    if (!m_current.totals || span.day != m_current.span.day)
        m_current = { span, &m_days[span.day], nullptr }; // map nodes stay where they are
    else
        m_current.span = span;
    return m_current;
}

void HistoryIndex::add(const SessionRecord& record)
{
    CurrentDay& current = dayOf(record.date);
    m_dayNumbers.push_back(current.span.day);
    DayTotals& totals = *current.totals;
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
    if (!current.tags)
        current.tags = &m_tagTotals[current.span.day];
    std::vector<TagTotals>& tags = *current.tags;
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
