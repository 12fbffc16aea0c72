#include "TagStatistics.h"

#include <QHash>
#include <algorithm>

#include "data/SessionStore.h"
#include "platform/Calendar.h"

namespace {
class Grouping {
public:
    void add(const QString& tag, qint64 minutes, int records)
    {
        auto it = m_rowOfTag.constFind(tag);
        if (it == m_rowOfTag.cend()) {
            it = m_rowOfTag.insert(tag, m_rows.size());
            m_rows.push_back(TagStats { tag });
        }
        TagStats& row = m_rows[*it];
        row.totalMinutes = addMinutes(row.totalMinutes, minutes);
        row.sessionCount += records;
    }
    std::vector<TagStats> take() { return std::move(m_rows); }

private:
    QHash<QString, std::size_t> m_rowOfTag;
    std::vector<TagStats> m_rows;
};
} // namespace

std::vector<TagStats> tagStatistics(
    const SessionStore& store, const Calendar& calendar, std::optional<Instant> cutoff)
{
    const HistoryIndex& index = store.historyIndex();
    const auto& byDay = index.tagTotalsByDay();
    Grouping grouping;
    auto firstWholeDay = byDay.begin();
    if (cutoff) {
        // Days after the cutoff's day count whole; on that day each record is checked.
        const qint64 cutoffDay = calendar.dayNumber(*cutoff);
        firstWholeDay = byDay.upper_bound(cutoffDay);
        if (byDay.contains(cutoffDay)) {
            const std::vector<SessionRecord>& records = store.sessions();
            const std::vector<qint64>& days = index.dayNumbers();
            for (std::size_t i = 0; i < records.size(); ++i) {
                const SessionRecord& r = records[i];
                if (days[i] == cutoffDay && r.isQualifying() && r.tag && r.date >= *cutoff)
                    grouping.add(*r.tag, r.wholeMinutes(), 1);
            }
        }
    }
    for (auto day = firstWholeDay; day != byDay.end(); ++day) {
        for (const HistoryIndex::TagTotals& totals : day->second)
            grouping.add(totals.tag, totals.focusMinutes, totals.records);
    }
    std::vector<TagStats> rows = grouping.take();
    std::sort(rows.begin(), rows.end(), [](const TagStats& a, const TagStats& b) {
        if (a.totalMinutes != b.totalMinutes)
            return a.totalMinutes > b.totalMinutes;
        if (a.sessionCount != b.sessionCount)
            return a.sessionCount > b.sessionCount;
        return a.tag < b.tag;
    });
    return rows;
}

qint64 totalMinutes(const std::vector<TagStats>& rows)
{
    qint64 total = 0;
    for (const TagStats& row : rows)
        total = addMinutes(total, row.totalMinutes);
    return total;
}

std::vector<SliceAngles> sliceAngles(const std::vector<TagStats>& rows)
{
    const qint64 total = totalMinutes(rows);
    std::vector<SliceAngles> slices(rows.size());
    if (total <= 0)
        return slices;
    qint64 before = 0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const qint64 through = addMinutes(before, rows[i].totalMinutes);
        slices[i] = { double(before) / double(total) * 360.0 - 90.0,
            double(through) / double(total) * 360.0 - 90.0 };
        before = through;
    }
    return slices;
}
