#include <QSignalSpy>
#include <algorithm>

#include "InsightsFixture.h"
#include "insights/ColorText.h"
#include "insights/TagInsightsModel.h"

namespace {

using TagInsightsModelTest = InsightsFixture;

QVariant rowData(const TagInsightsModel& model, int row, TagInsightsModel::Role role)
{
    return model.data(model.index(row), role);
}

QStringList sortedTags(const TagInsightsModel& model)
{
    QStringList names;
    for (const TagStats& stats : model.stats())
        names.append(stats.tag);
    names.sort();
    return names;
}

TEST_F(TagInsightsModelTest, RowsAreLargestFirstWithTheirSlicesAndTexts)
{
    const Instant day = at(2026, 12, 1, 9, 0);
    history({
        focus(day, 25, QStringLiteral("Work")),
        focus(day, 25, QStringLiteral("Work")),
        focus(day, 150, QStringLiteral("Reading")),
        focus(day, 30), // untagged focus has no slice
        focus(day, 40, QStringLiteral("Work"), false), // incomplete
        shortBreak(day),
    });
    TagInsightsModel model(dependencies());
    ASSERT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.tagCount(), 2);
    EXPECT_FALSE(model.isEmpty());
    EXPECT_EQ(model.totalLabel(), QStringLiteral("3h 20m total"));

    const struct {
        const char* tag;
        qint64 minutes;
        int sessions;
        double start, end;
        const char* minutesText;
        const char* sessionsText;
    } rows[] = {
        { "Reading", 150, 1, -90, 180, "2h 30m", "1 session" },
        { "Work", 50, 2, 180, 270, "50m", "2 sessions" },
    };
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(rows[i].tag);
        const QString tag = QLatin1String(rows[i].tag);
        EXPECT_EQ(rowData(model, i, TagInsightsModel::TagRole).toString(), tag);
        EXPECT_EQ(rowData(model, i, TagInsightsModel::TotalMinutesRole).toLongLong(), rows[i].minutes);
        EXPECT_EQ(rowData(model, i, TagInsightsModel::SessionCountRole).toInt(), rows[i].sessions);
        EXPECT_DOUBLE_EQ(rowData(model, i, TagInsightsModel::StartAngleRole).toDouble(), rows[i].start);
        EXPECT_DOUBLE_EQ(rowData(model, i, TagInsightsModel::EndAngleRole).toDouble(), rows[i].end);
        EXPECT_EQ(rowData(model, i, TagInsightsModel::MinutesTextRole).toString(),
            QLatin1String(rows[i].minutesText));
        EXPECT_EQ(rowData(model, i, TagInsightsModel::SessionsTextRole).toString(),
            QLatin1String(rows[i].sessionsText));
        // The tag manager's colour; "Reading" is not a tag there and gets a lasting one.
        ASSERT_TRUE(tags.tagColorMap().contains(tag));
        EXPECT_EQ(
            rowData(model, i, TagInsightsModel::ColorRole).toString(), colorText(tags.tagColorMap()[tag]));
    }
    EXPECT_EQ(rowData(model, 1, TagInsightsModel::ColorRole).toString(), QStringLiteral("#FDA4AF"));
}

TEST_F(TagInsightsModelTest, NoTaggedFocusThenOneTagFillsTheRing)
{
    history({ focus(at(2026, 12, 8), 30), shortBreak(at(2026, 12, 8)) });
    TagInsightsModel model(dependencies());
    EXPECT_TRUE(model.isEmpty());
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(model.tagCount(), 0);
    EXPECT_EQ(model.tagCountCaption(), QStringLiteral("tags"));
    EXPECT_EQ(model.totalLabel(), QStringLiteral("0m total"));

    // 59 seconds: a session without a whole minute; with no minutes at all the slice collapses.
    store().addRecord(focus(at(2026, 12, 9, 9, 0), 59.0 / 60, QStringLiteral("Deep Work")));
    ASSERT_EQ(model.rowCount(), 1);
    EXPECT_EQ(model.tagCountCaption(), QStringLiteral("tag"));
    EXPECT_EQ(model.stats().front(), (TagStats { QStringLiteral("Deep Work"), 0, 1 }));
    EXPECT_EQ(model.tagRows().front().angles.start, -90.0);
    EXPECT_EQ(model.tagRows().front().angles.end, -90.0);
    EXPECT_EQ(model.totalLabel(), QStringLiteral("0m total"));

    store().addRecord(focus(at(2026, 12, 9, 10, 0), 45, QStringLiteral("Deep Work")));
    EXPECT_EQ(model.tagRows().front().angles.start, -90.0);
    EXPECT_EQ(model.tagRows().front().angles.end, 270.0);
    EXPECT_EQ(model.totalLabel(), QStringLiteral("45m total"));
    EXPECT_EQ(rowData(model, 0, TagInsightsModel::SessionsTextRole).toString(), QStringLiteral("2 sessions"));
}

TEST_F(TagInsightsModelTest, RangesReachBackWholeCalendarDaysFromNow)
{
    // Now is 2026-12-09 15:00; 90 days back crosses the change to winter time.
    history({
        focus(at(2026, 12, 2, 15, 0), 10, QStringLiteral("in7")),
        focus(at(2026, 12, 2, 14, 59), 10, QStringLiteral("out7")),
        focus(at(2026, 11, 9, 15, 0), 10, QStringLiteral("in30")),
        focus(at(2026, 11, 9, 14, 59), 10, QStringLiteral("out30")),
        focus(at(2026, 9, 10, 15, 0), 10, QStringLiteral("in90")),
        focus(at(2026, 9, 10, 14, 59), 10, QStringLiteral("out90")),
        focus(at(2026, 12, 20, 9, 0), 10, QStringLiteral("future")), // no upper bound
    });
    TagInsightsModel model(dependencies());
    const struct {
        const char* segment;
        QStringList tags;
    } cases[] = {
        { "All", { "future", "in30", "in7", "in90", "out30", "out7", "out90" } },
        { "7d", { "future", "in7" } },
        { "30d", { "future", "in30", "in7", "out7" } },
        { "90d", { "future", "in30", "in7", "in90", "out30", "out7" } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.segment);
        model.selectSegment(QLatin1String(c.segment));
        EXPECT_EQ(model.selectedSegment(), QLatin1String(c.segment));
        EXPECT_EQ(sortedTags(model), c.tags);
    }
}

TEST_F(TagInsightsModelTest, SelectingTheSelectedRangeReturnsToAllTime)
{
    history({ focus(at(2026, 12, 9, 9, 0), 10, QStringLiteral("Work")),
        focus(at(2026, 10, 1, 9, 0), 10, QStringLiteral("Old")) });
    TagInsightsModel model(dependencies());
    QSignalSpy rangeChanged(&model, &TagInsightsModel::selectedTimeRangeChanged);
    EXPECT_EQ(model.selectedSegment(), QStringLiteral("All"));
    EXPECT_EQ(model.selectedTimeRangeText(), QString());
    EXPECT_EQ(model.rowCount(), 2);

    const struct {
        const char* tap;
        const char* selected;
        int rows;
    } taps[] = {
        { "7d", "7d", 1 },
        { "7d", "All", 2 },
        { "30d", "30d", 1 },
        { "All", "All", 2 },
        { "90d", "90d", 2 },
        { "30d", "30d", 1 },
        { "14d", "30d", 1 },
        { "All", "All", 2 },
    };
    for (const auto& tap : taps) {
        SCOPED_TRACE(tap.tap);
        model.selectSegment(QLatin1String(tap.tap));
        EXPECT_EQ(model.selectedSegment(), QLatin1String(tap.selected));
        EXPECT_EQ(model.rowCount(), tap.rows);
    }
    EXPECT_EQ(rangeChanged.count(), 7); // the unknown segment changed nothing
    EXPECT_EQ(model.selectedTimeRange(), std::nullopt);
}

TEST_F(TagInsightsModelTest, RecordsKeepTheNameOfADeletedOrRenamedTag)
{
    tags.addTag(QStringLiteral("Spanish"));
    tags.addTag(QStringLiteral("Old name"));
    history({ focus(at(2026, 12, 9, 9, 0), 30, QStringLiteral("Spanish")),
        focus(at(2026, 12, 9, 10, 0), 20, QStringLiteral("Old name")) });
    TagInsightsModel model(dependencies());
    ASSERT_EQ(model.rowCount(), 2);
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);

    tags.deleteTag(QStringLiteral("Spanish"));
    tags.renameTag(QStringLiteral("Old name"), QStringLiteral("New name"));
    EXPECT_EQ(reset.count(), 1);
    EXPECT_EQ(sortedTags(model), (QStringList { "Old name", "Spanish" }));
    // Asking for their colours gave both names a colour again, without another reset.
    EXPECT_TRUE(tags.tagColorMap().contains(QStringLiteral("Spanish")));
    EXPECT_TRUE(tags.tagColorMap().contains(QStringLiteral("Old name")));
    EXPECT_EQ(reset.count(), 1);

    store().addRecord(focus(clock.now(), 5, QStringLiteral("New name")));
    EXPECT_EQ(reset.count(), 2);
    EXPECT_EQ(model.rowCount(), 3);
}

TEST_F(TagInsightsModelTest, ManyLongAndUnusualTagNames)
{
    std::vector<SessionRecord> records;
    for (int i = 0; i < 500; ++i) {
        const QString name = QStringLiteral("%1 🍅 عمل ").arg(i).leftJustified(200, QLatin1Char('x'));
        records.push_back(focus(at(2026, 12, 9, 9, 0).addSeconds(-i * 3600.0), 1 + i % 7, name));
    }
    records.push_back(focus(at(2027, 6, 1), 5, QStringLiteral("from the future")));
    history(records);
    TagInsightsModel model(dependencies());
    for (const char* segment : { "All", "30d" }) {
        SCOPED_TRACE(segment);
        model.selectSegment(QLatin1String(segment));
        ASSERT_EQ(model.rowCount(), 501);
        double previousEnd = -90.0;
        qint64 previousMinutes = std::numeric_limits<qint64>::max();
        for (const TagInsightsModel::Row& row : model.tagRows()) {
            EXPECT_TRUE(row.stats.tag.size() == 200 || row.stats.tag == QLatin1String("from the future"))
                << row.stats.tag.size();
            EXPECT_DOUBLE_EQ(row.angles.start, previousEnd);
            EXPECT_GE(row.angles.end, row.angles.start);
            EXPECT_LE(row.stats.totalMinutes, previousMinutes);
            previousEnd = row.angles.end;
            previousMinutes = row.stats.totalMinutes;
        }
        EXPECT_DOUBLE_EQ(previousEnd, 270.0);
    }
    EXPECT_GE(tags.tagColorMap().size(), 501);
}

} // namespace
