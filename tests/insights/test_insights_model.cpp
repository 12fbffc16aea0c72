#include <QSignalSpy>

#include "InsightsFixture.h"
#include "insights/HeatmapModel.h"
#include "insights/InsightsModel.h"
#include "insights/TagInsightsModel.h"

namespace {

using InsightsModelTest = InsightsFixture;

std::vector<QString> richTexts(const InsightsModel& model)
{
    std::vector<QString> texts;
    for (const Insight& insight : model.insightList())
        texts.push_back(insight.richText);
    return texts;
}

TEST_F(InsightsModelTest, FreshHistoryShowsZerosAndOnlyTheFirstSessionSentence)
{
    InsightsModel model(dependencies());
    EXPECT_EQ(model.todaySessions(), 0);
    EXPECT_EQ(model.todayFocusTime(), QStringLiteral("0m"));
    EXPECT_EQ(model.todayBreaks(), 0);
    EXPECT_EQ(model.weekSessions(), 0);
    EXPECT_EQ(model.weekFocusTime(), QStringLiteral("0m"));
    EXPECT_EQ(model.weekDailyAverage(), QStringLiteral("0m"));
    EXPECT_EQ(model.streak(), 0);
    EXPECT_FALSE(model.hasStreak());
    EXPECT_TRUE(model.isEmpty());
    const Insight expected { QStringLiteral("firstSession"), QStringLiteral("sparkles"),
        QStringLiteral("#D8B4FE"), QStringLiteral("Complete your first focus session to see insights!"),
        QStringLiteral("Complete your first focus session to see insights!") };
    EXPECT_EQ(model.insightList(), std::vector<Insight> { expected });

    const QVariantMap item = model.insightItems().value(0).toMap();
    EXPECT_EQ(item.value(QStringLiteral("symbol")).toString(), expected.symbol);
    EXPECT_EQ(item.value(QStringLiteral("text")).toString(), expected.richText);
}

TEST_F(InsightsModelTest, SingleBreakCountsAsABreakAndGivesNoSentence)
{
    history({ shortBreak(at(2026, 12, 9, 10, 0)) });
    InsightsModel model(dependencies());
    EXPECT_EQ(model.todayBreaks(), 1);
    EXPECT_EQ(model.todaySessions(), 0);
    // The captions take the count's plural form.
    EXPECT_EQ(model.todayBreaksCaption(), QStringLiteral("Break"));
    EXPECT_EQ(model.todaySessionsCaption(), QStringLiteral("Sessions"));
    EXPECT_FALSE(model.isEmpty());
    EXPECT_TRUE(model.insightList().empty());
}

TEST_F(InsightsModelTest, TodaySaysHowMuchOfTheDailyGoalIsDone)
{
    history({
        focus(at(2026, 12, 9, 9, 0), 25), focus(at(2026, 12, 9, 10, 0), 25),
        focus(at(2026, 12, 9, 11, 0), 25, std::nullopt, false), shortBreak(at(2026, 12, 9, 11, 30)),
        focus(at(2026, 12, 8, 14, 0), 50), // yesterday
    });
    InsightsModel model(dependencies());
    EXPECT_EQ(model.todayGoalText(), QString()) << "no goal: nothing to say";
    EXPECT_EQ(model.todayGoalProgress(), 0.0);

    QSignalSpy changed(&model, &InsightsModel::figuresChanged);
    goal.setOn(true);
    EXPECT_EQ(changed.size(), 1);
    EXPECT_EQ(model.todayGoalText(), QStringLiteral("3 of 8 sessions"));
    EXPECT_DOUBLE_EQ(model.todayGoalProgress(), 3.0 / 8);
    goal.setSessions(1);
    EXPECT_EQ(model.todayGoalText(), QStringLiteral("3 of 1 session"));
    EXPECT_DOUBLE_EQ(model.todayGoalProgress(), 1.0);

    goal.setSessions(4);
    store().addRecord(focus(clock.now(), 25));
    EXPECT_EQ(model.todayGoalText(), QStringLiteral("4 of 4 sessions"));
    // The next day starts from nothing.
    clock.setNow(at(2026, 12, 10, 8, 0));
    days.check();
    EXPECT_EQ(model.todayGoalText(), QStringLiteral("0 of 4 sessions"));
    EXPECT_EQ(model.todayGoalProgress(), 0.0);
}

TEST_F(InsightsModelTest, FiguresFollowTheHistory)
{
    history({
        focus(at(2026, 12, 9, 9, 0), 25, QStringLiteral("Work")),
        focus(at(2026, 12, 9, 10, 0), 25, std::nullopt, false), // counts as a session, adds no time
        shortBreak(at(2026, 12, 9, 10, 30)),
        { QUuid::createUuid(), at(2026, 12, 9, 11, 0), 900, SessionType::longBreak, true, {} },
        focus(at(2026, 12, 8, 14, 0), 50), // yesterday
        focus(at(2026, 12, 6, 14, 0), 30), // Sunday: the first day of this week in en_US
        focus(at(2026, 12, 5, 14, 0), 90), // Saturday: last week, but within the last 30 days
        focus(at(2026, 11, 1, 14, 0), 100), // a Sunday more than 30 days ago
    });
    InsightsModel model(dependencies());
    EXPECT_EQ(model.todaySessions(), 2);
    EXPECT_EQ(model.todayFocusTime(), QStringLiteral("25m"));
    EXPECT_EQ(model.todayBreaks(), 2);
    EXPECT_EQ(model.weekSessions(), 4);
    EXPECT_EQ(model.weekFocusTime(), QStringLiteral("1h 45m")); // 25 + 50 + 30
    EXPECT_EQ(model.weekDailyAverage(), QStringLiteral("48m")); // (25 + 50 + 30 + 90) / 4 active days
    EXPECT_EQ(model.streak(), 2); // today and yesterday; Monday has no focus
    EXPECT_TRUE(model.hasStreak());
    EXPECT_FALSE(model.isEmpty());
    // Sunday: 30 + 100 minutes, more than Saturday's 90.
    EXPECT_EQ(richTexts(model),
        (std::vector<QString> { QStringLiteral("Most productive day: <b>Sunday</b>"),
            QStringLiteral("You're on a <b>2-day</b> streak!"),
            QStringLiteral("Average daily focus: <b>48m</b>") }));
    const auto& list = model.insightList();
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].symbol, QStringLiteral("star.fill"));
    EXPECT_EQ(list[1].symbol, QStringLiteral("flame.fill"));
    EXPECT_EQ(list[1].plainText, QStringLiteral("You're on a 2-day streak!"));
    EXPECT_EQ(list[2].symbol, QStringLiteral("chart.bar.fill"));
    EXPECT_EQ(list[2].color, model.focusColor());
    EXPECT_EQ(model.focusColor(), QStringLiteral("#FDA4AF"));
}

TEST_F(InsightsModelTest, FocusTimeTextsAndTheOneDayStreak)
{
    InsightsModel model(dependencies());
    const Instant today = at(2026, 12, 9, 9, 0);
    const struct {
        double addMinutes;
        const char* text;
    } steps[] = { { 59, "59m" }, { 1, "1h" }, { 1, "1h 1m" }, { 89, "2h 30m" } };
    for (const auto& step : steps) {
        store().addRecord(focus(today, step.addMinutes));
        EXPECT_EQ(model.todayFocusTime(), QLatin1String(step.text));
    }
    EXPECT_EQ(model.streak(), 1);
    EXPECT_EQ(model.insightList().at(1).richText, QStringLiteral("You're on a <b>1-day</b> streak!"));
}

TEST_F(InsightsModelTest, NothingIsReadUntilAViewAsksAndChangesSignalOnce)
{
    InsightsModel insights(dependencies());
    HeatmapModel heatmap(dependencies());
    TagInsightsModel tagInsights(dependencies());
    // What does not depend on the history is there without it.
    EXPECT_EQ(heatmap.rowCount(), 84);
    EXPECT_EQ(heatmap.rowLabels().size(), 7);
    EXPECT_EQ(tagInsights.segments().size(), 4);
    EXPECT_EQ(storeOpenings, 0);
    EXPECT_FALSE(days.isStarted());

    QSignalSpy changed(&insights, &InsightsModel::figuresChanged);
    EXPECT_EQ(insights.todaySessions(), 0);
    EXPECT_EQ(storeOpenings, 1);
    EXPECT_TRUE(days.isStarted());

    // Two records while nobody reads: one notification, and the next read sees both.
    store().addRecord(focus(clock.now(), 25));
    store().addRecord(focus(clock.now(), 25));
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(insights.todaySessions(), 2);
    store().addRecord(shortBreak(clock.now()));
    EXPECT_EQ(changed.count(), 2);
    EXPECT_EQ(insights.todayBreaks(), 1);
}

TEST_F(InsightsModelTest, FollowsTheFocusColourAndTheDay)
{
    history({ focus(at(2026, 12, 9, 9, 0), 30) });
    InsightsModel model(dependencies());
    QSignalSpy changed(&model, &InsightsModel::figuresChanged);
    EXPECT_EQ(model.insightList().back().color, QStringLiteral("#FDA4AF"));

    theme.setFocusColorId(QStringLiteral("slate"));
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(model.focusColor(), QStringLiteral("#CBD5E1"));
    EXPECT_EQ(model.insightList().back().color, QStringLiteral("#CBD5E1"));
    theme.setFocusColorId(QStringLiteral("no-such-colour"));
    EXPECT_EQ(model.insightList().back().color, QStringLiteral("#FDA4AF"));

    // Shortly before midnight nothing changes; just after it, today is empty and the streak holds.
    clock.setNow(at(2026, 12, 9, 23, 59));
    days.check();
    EXPECT_EQ(changed.count(), 2);
    EXPECT_EQ(model.todaySessions(), 1);
    clock.setNow(at(2026, 12, 10, 0, 1));
    days.check();
    EXPECT_EQ(changed.count(), 3);
    EXPECT_EQ(model.todaySessions(), 0);
    EXPECT_EQ(model.todayFocusTime(), QStringLiteral("0m"));
    EXPECT_EQ(model.streak(), 1);
}

TEST_F(InsightsModelTest, DayWatcherLooksAgainJustAfterMidnightOrWithinAMinute)
{
    days.start();
    EXPECT_EQ(days.nextCheckIn(), std::chrono::minutes(1));
    clock.setNow(at(2026, 12, 9, 23, 59).addSeconds(30));
    EXPECT_GT(days.nextCheckIn(), std::chrono::seconds(30));
    EXPECT_LT(days.nextCheckIn(), std::chrono::seconds(31));
    QSignalSpy changed(&days, &DayWatcher::dayChanged);
    days.check();
    EXPECT_EQ(changed.count(), 0);
    clock.setNow(at(2026, 12, 10, 0, 0));
    days.check();
    EXPECT_EQ(changed.count(), 1);
    // A clock set back a day is a change of day as well.
    clock.setNow(at(2026, 12, 9, 12, 0));
    days.check();
    EXPECT_EQ(changed.count(), 2);
}

} // namespace
