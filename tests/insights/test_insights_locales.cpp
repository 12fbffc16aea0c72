// The same history read in a Sunday-first and a Monday-first locale.
#include "InsightsFixture.h"
#include "insights/HeatmapModel.h"
#include "insights/InsightsModel.h"

namespace {

struct LocaleCase {
    const char* locale;
    int weekSessions;
    const char* weekFocusTime;
    QStringList rowLabels;
    const char* mostProductiveDay;
    const char* sundayTooltip;
    const char* emptyTooltip;
};

void PrintTo(const LocaleCase& c, std::ostream* out)
{
    *out << c.locale;
}

class InsightsLocaleTest : public InsightsFixture, public ::testing::WithParamInterface<LocaleCase> { };

TEST_P(InsightsLocaleTest, WeeksRowsAndTooltipsFollowTheLocale)
{
    const LocaleCase& c = GetParam();
    calendar = Calendar(kBerlin, QLocale(QLatin1String(c.locale)));
    // Now is Wednesday 2026-12-09.
    history({
        focus(at(2026, 12, 6, 20, 0), 40), // Sunday: this week in en_US, last week in de_DE
        focus(at(2026, 12, 7, 0, 30), 20), // Monday just after midnight
        focus(at(2026, 12, 9, 9, 0), 15),
    });
    InsightsModel insights(dependencies());
    EXPECT_EQ(insights.weekSessions(), c.weekSessions);
    EXPECT_EQ(insights.weekFocusTime(), QLatin1String(c.weekFocusTime));
    EXPECT_EQ(insights.insightList().front().plainText,
        QStringLiteral("Most productive day: %1").arg(QLatin1String(c.mostProductiveDay)));

    HeatmapModel heatmap(dependencies());
    EXPECT_EQ(heatmap.rowLabels(), c.rowLabels);
    // Row 0 is Sunday in every locale; the Sunday of this week is in the last column.
    const auto tooltip = [&](int week, int day) {
        return heatmap.data(heatmap.index(day * 12 + week), HeatmapModel::TooltipRole).toString();
    };
    EXPECT_EQ(tooltip(11, 0), QString::fromUtf8(c.sundayTooltip));
    EXPECT_EQ(tooltip(11, 6), QString::fromUtf8(c.emptyTooltip));
}

INSTANTIATE_TEST_SUITE_P(Locales, InsightsLocaleTest,
    ::testing::Values(LocaleCase { "en_US", 3, "1h 15m", { "", "M", "", "W", "", "F", "" }, "Sunday",
                          "40 min focused on Dec 6, 2026", "No focus time on Dec 12, 2026" },
        LocaleCase { "de_DE", 2, "35m", { "", "M", "", "M", "", "F", "" }, "Sonntag",
            "40 min focused on 6. Dez. 2026", "No focus time on 12. Dez. 2026" }),
    [](const auto& info) { return std::string(info.param.locale); });

} // namespace
