// The models' figures, read from the per-day index, against a plain reading of
// the rules over the record list, on random histories around daylight-saving changes.
#include <QHash>
#include <QRandomGenerator>

#include "InsightsFixture.h"
#include "insights/InsightsModel.h"
#include "insights/TagInsightsModel.h"
#include "timer/ClockText.h"

namespace {

class InsightsReferenceTest : public InsightsFixture, public ::testing::WithParamInterface<Instant> { };

std::vector<SessionRecord> randomHistory(const Instant now)
{
    static const QString names[] = { QStringLiteral("Work"), QStringLiteral("Reading"), QString(),
        QStringLiteral("Cafe\u0301"), QStringLiteral("Caf\u00e9") };
    QRandomGenerator random(20261209);
    std::vector<SessionRecord> records;
    for (int i = 0; i < 3000; ++i) {
        // Mostly the last 100 days, some a few days ahead; not in date order.
        const double daysBack = random.generateDouble() * 104 - 4;
        SessionRecord r = focus(now.addSeconds(-daysBack * 86400), 1 + random.bounded(120));
        const int kind = random.bounded(10);
        r.type = kind < 7 ? SessionType::focus : kind < 9 ? SessionType::shortBreak : SessionType::longBreak;
        r.completedFully = random.bounded(8) != 0;
        if (const int tag = random.bounded(6); tag < 5)
            r.tag = names[tag];
        records.push_back(r);
    }
    return records;
}

std::vector<TagStats> straightforwardTagStats(
    const std::vector<SessionRecord>& records, std::optional<Instant> cutoff)
{
    QHash<QString, TagStats> groups;
    for (const SessionRecord& r : records) {
        if (r.type != SessionType::focus || !r.completedFully || !r.tag || (cutoff && r.date < *cutoff))
            continue;
        TagStats& stats = groups[*r.tag];
        stats.tag = *r.tag;
        stats.totalMinutes += static_cast<qint64>(r.duration / 60);
        ++stats.sessionCount;
    }
    std::vector<TagStats> rows(groups.begin(), groups.end());
    std::sort(rows.begin(), rows.end(), [](const TagStats& a, const TagStats& b) { return a.tag < b.tag; });
    return rows;
}

TEST_P(InsightsReferenceTest, FiguresAgreeWithAPlainReadingOfTheHistory)
{
    const Instant now = GetParam();
    clock.setNow(now);
    history(randomHistory(now));
    InsightsModel insights(dependencies());
    TagInsightsModel tagInsights(dependencies());
    const auto focusCount = [](const std::vector<SessionRecord>& records) {
        return int(std::count_if(records.begin(), records.end(),
            [](const SessionRecord& r) { return r.type == SessionType::focus; }));
    };
    const std::vector<SessionRecord> today = store().sessionsToday();
    EXPECT_EQ(insights.todaySessions(), focusCount(today));
    EXPECT_EQ(insights.todayBreaks(), int(today.size()) - focusCount(today));
    EXPECT_EQ(insights.todayFocusTime(), durationText(store().todayFocusMinutes()));
    EXPECT_EQ(insights.weekSessions(), focusCount(store().sessionsThisWeek()));
    EXPECT_EQ(insights.weekFocusTime(), durationText(store().weekFocusMinutes()));

    for (const QString& segment : TagInsightsModel::segments()) {
        SCOPED_TRACE(segment.toStdString());
        tagInsights.selectSegment(QStringLiteral("All"));
        tagInsights.selectSegment(segment);
        std::optional<Instant> cutoff;
        if (const auto range = tagInsights.selectedTimeRange())
            cutoff = calendar.addDays(now, dayOffset(*range));
        std::vector<TagStats> rows = tagInsights.stats();
        EXPECT_TRUE(std::is_sorted(rows.begin(), rows.end(),
            [](const TagStats& a, const TagStats& b) { return a.totalMinutes > b.totalMinutes; }));
        std::sort(
            rows.begin(), rows.end(), [](const TagStats& a, const TagStats& b) { return a.tag < b.tag; });
        EXPECT_EQ(rows, straightforwardTagStats(store().sessions(), cutoff));
    }
}

// After the change to summer time, and just after midnight after the change to winter time.
INSTANTIATE_TEST_SUITE_P(Times, InsightsReferenceTest,
    ::testing::Values(localTime(kBerlin, 2026, 4, 2, 15, 0), localTime(kBerlin, 2026, 10, 26, 0, 5)));

} // namespace
