#include <QSignalSpy>

#include "InsightsFixture.h"
#include "insights/HeatmapModel.h"

namespace {

using HeatmapModelTest = InsightsFixture;

QVariant cellData(const HeatmapModel& model, int week, int day, HeatmapModel::Role role)
{
    return model.data(model.index(day * model.columns() + week), role);
}

TEST(HeatmapLevel, MinuteBoundaries)
{
    const struct {
        qint64 minutes;
        int level;
    } cases[] = { { -5, 0 }, { 0, 0 }, { 1, 1 }, { 24, 1 }, { 25, 2 }, { 49, 2 }, { 50, 3 }, { 89, 3 },
        { 90, 4 }, { 1000, 4 } };
    for (const auto& c : cases)
        EXPECT_EQ(Heatmap::level(c.minutes), c.level) << c.minutes;
}

TEST_F(HeatmapModelTest, OnAWednesdayTheLastColumnEndsWithThreeFutureDays)
{
    HeatmapModel model(dependencies());
    ASSERT_EQ(model.rowCount(), 84);
    const Instant now = clock.now();
    for (int day = 0; day < 7; ++day) {
        for (int week = 0; week < 12; ++week) {
            SCOPED_TRACE(QStringLiteral("week %1 day %2").arg(week).arg(day).toStdString());
            const QDateTime date = cellData(model, week, day, HeatmapModel::DateRole).toDateTime();
            const HeatmapCell& cell = model.cells()[std::size_t(day * 12 + week)];
            EXPECT_EQ(cell.week, week);
            EXPECT_EQ(cell.day, day);
            EXPECT_EQ(calendar.weekday(cell.date), day + 1); // row 0 is Sunday
            EXPECT_EQ(
                date.time(), QTime(15, 0)); // the time of day is kept, also across the change to winter time
            const bool future = week == 11 && day > 3;
            EXPECT_EQ(cellData(model, week, day, HeatmapModel::IsFutureRole).toBool(), future);
            EXPECT_EQ(cell.date > now, future);
            if (future) {
                EXPECT_EQ(cellData(model, week, day, HeatmapModel::FillColorRole).toString(), "transparent");
                EXPECT_EQ(
                    cellData(model, week, day, HeatmapModel::BorderColorRole).toString(), "transparent");
            } else {
                EXPECT_EQ(cellData(model, week, day, HeatmapModel::BorderColorRole).toString(), "#4D18181B");
            }
        }
    }
    EXPECT_EQ(model.cells()[3 * 12 + 11].date, now);
    EXPECT_EQ(model.cells()[0].date, at(2026, 9, 20, 15, 0)); // 11 weeks and 3 days back
    EXPECT_EQ(cellData(model, 11, 4, HeatmapModel::TooltipRole).toString(),
        QStringLiteral("No focus time on Dec 10, 2026"));
    EXPECT_EQ(cellData(model, 11, 6, HeatmapModel::TooltipRole).toString(),
        QStringLiteral("No focus time on Dec 12, 2026"));
    EXPECT_EQ(model.rowLabels(), (QStringList { "", "M", "", "W", "", "F", "" }));
}

TEST_F(HeatmapModelTest, DaysAreShadedByCompletedFocusMinutes)
{
    history({
        focus(at(2026, 12, 8, 9, 0), 24), // Tuesday, this week
        focus(at(2026, 12, 7, 9, 0), 20), // Monday: 20 + 5 = 25
        focus(at(2026, 12, 7, 23, 59), 5),
        focus(at(2026, 12, 2, 9, 0), 89), // Wednesday, last week
        focus(at(2026, 12, 1, 9, 0), 90), // Tuesday, last week
        focus(at(2026, 12, 6, 9, 0), 60, std::nullopt, false), // Sunday: incomplete focus and a break only
        shortBreak(at(2026, 12, 6, 10, 0)),
    });
    HeatmapModel model(dependencies());
    const struct {
        int week, day, level;
        qint64 minutes;
        const char* tooltip;
        const char* fill;
    } cases[] = {
        { 11, 2, 1, 24, "24 min focused on Dec 8, 2026", "#40FDA4AF" },
        { 11, 1, 2, 25, "25 min focused on Dec 7, 2026", "#80FDA4AF" },
        { 10, 3, 3, 89, "89 min focused on Dec 2, 2026", "#BFFDA4AF" },
        { 10, 2, 4, 90, "90 min focused on Dec 1, 2026", "#FDA4AF" },
        { 11, 0, 0, 0, "No focus time on Dec 6, 2026", "#0D18181B" },
        { 11, 3, 0, 0, "No focus time on Dec 9, 2026", "#0D18181B" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tooltip);
        EXPECT_EQ(cellData(model, c.week, c.day, HeatmapModel::LevelRole).toInt(), c.level);
        EXPECT_EQ(cellData(model, c.week, c.day, HeatmapModel::FocusMinutesRole).toLongLong(), c.minutes);
        EXPECT_EQ(
            cellData(model, c.week, c.day, HeatmapModel::TooltipRole).toString(), QLatin1String(c.tooltip));
        EXPECT_EQ(
            cellData(model, c.week, c.day, HeatmapModel::FillColorRole).toString(), QLatin1String(c.fill));
    }
    EXPECT_EQ(model.legendColors(),
        (QStringList { "#0D18181B", "#40FDA4AF", "#80FDA4AF", "#BFFDA4AF", "#FDA4AF" }));
}

TEST_F(HeatmapModelTest, FollowsTheHistoryTheFocusColourAndTheDay)
{
    HeatmapModel model(dependencies());
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    QSignalSpy colour(&model, &HeatmapModel::focusColorChanged);
    EXPECT_EQ(cellData(model, 11, 3, HeatmapModel::LevelRole).toInt(), 0);

    store().addRecord(focus(clock.now(), 50));
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.at(0).at(0).toModelIndex().row(), 0);
    EXPECT_EQ(changed.at(0).at(1).toModelIndex().row(), 83);
    EXPECT_EQ(cellData(model, 11, 3, HeatmapModel::LevelRole).toInt(), 3);

    theme.setFocusColorId(QStringLiteral("slate"));
    EXPECT_EQ(colour.count(), 1);
    EXPECT_EQ(changed.count(), 2);
    EXPECT_EQ(cellData(model, 11, 3, HeatmapModel::FillColorRole).toString(), QStringLiteral("#BFCBD5E1"));
    EXPECT_EQ(model.focusColor(), QStringLiteral("#CBD5E1"));
    theme.setFocusColorId(QStringLiteral("Coral")); // ids match exactly: unknown, so the fallback
    EXPECT_EQ(model.legendColors().last(), QStringLiteral("#FDA4AF"));
    EXPECT_EQ(cellData(model, 11, 3, HeatmapModel::FillColorRole).toString(), QStringLiteral("#BFFDA4AF"));

    // On Thursday today's cell moves down a row and Wednesday's minutes stay with Wednesday.
    clock.setNow(at(2026, 12, 10, 8, 0));
    days.check();
    EXPECT_EQ(changed.count(), 4);
    EXPECT_EQ(cellData(model, 11, 3, HeatmapModel::LevelRole).toInt(), 3);
    EXPECT_FALSE(cellData(model, 11, 4, HeatmapModel::IsFutureRole).toBool());
    EXPECT_TRUE(cellData(model, 11, 5, HeatmapModel::IsFutureRole).toBool());
}

} // namespace
