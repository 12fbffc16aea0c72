// The model work behind one rendering of the Insights page, the heat map and
// each range of the tag chart, at 1,000, 10,000 and 100,000 records: the
// history changes, and the view reads everything it draws.
#include <benchmark/benchmark.h>
#include <memory>

#include "HistoryFixture.h"
#include "data/SessionStore.h"
#include "data/TagManager.h"
#include "data/ThemeManager.h"
#include "insights/DayWatcher.h"
#include "insights/HeatmapModel.h"
#include "insights/InsightsModel.h"
#include "insights/TagInsightsModel.h"
#include "platform/Preferences.h"
#include "timer/DailyGoal.h"

namespace {

class BenchPreferences final : public Preferences {
public:
    QVariant value(const QString& key) const override { return m_values.value(key); }
    void setValue(const QString& key, const QVariant& value) override { m_values.insert(key, value); }
    void remove(const QString& key) override { m_values.remove(key); }

private:
    QVariantMap m_values;
};

struct Scenario {
    QTemporaryDir dir;
    FrozenClock clock { benchNow() };
    Calendar calendar = benchCalendar();
    QString path = dir.filePath(QStringLiteral("sessions.json"));
    BenchPreferences preferences;
    ThemeManager theme { preferences };
    TagManager tags { preferences };
    DayWatcher days { clock, calendar };
    DailyGoal goal { preferences };
    std::unique_ptr<SessionStore> store;

    explicit Scenario(std::size_t records)
    {
        writeHistory(path, makeHistory(records, clock.now()));
        store = std::make_unique<SessionStore>(path, clock, calendar);
    }
    InsightsDependencies dependencies()
    {
        return { [this]() -> SessionStore& { return *store; }, theme, tags, clock, calendar, days, goal };
    }
    /// What a recorded session does to the models, without writing the file.
    void historyChanged() { emit store->sessionsChanged(); }
};

void readAll(const QAbstractListModel& model)
{
    const QList<int> roles = model.roleNames().keys();
    for (int row = 0; row < model.rowCount(); ++row) {
        const QModelIndex index = model.index(row);
        for (const int role : roles)
            benchmark::DoNotOptimize(model.data(index, role));
    }
}

void BM_InsightsModelPage(benchmark::State& state)
{
    Scenario scenario(static_cast<std::size_t>(state.range(0)));
    InsightsModel model(scenario.dependencies());
    for (auto _ : state) {
        scenario.historyChanged();
        benchmark::DoNotOptimize(model.todaySessions());
        benchmark::DoNotOptimize(model.todayFocusTime());
        benchmark::DoNotOptimize(model.todayBreaks());
        benchmark::DoNotOptimize(model.weekSessions());
        benchmark::DoNotOptimize(model.weekFocusTime());
        benchmark::DoNotOptimize(model.weekDailyAverage());
        benchmark::DoNotOptimize(model.streak());
        benchmark::DoNotOptimize(model.hasStreak());
        benchmark::DoNotOptimize(model.insightItems());
        benchmark::DoNotOptimize(model.isEmpty());
    }
}

void BM_HeatmapModel(benchmark::State& state)
{
    Scenario scenario(static_cast<std::size_t>(state.range(0)));
    HeatmapModel model(scenario.dependencies());
    for (auto _ : state) {
        scenario.historyChanged();
        readAll(model);
        benchmark::DoNotOptimize(model.rowLabels());
        benchmark::DoNotOptimize(model.legendColors());
    }
}

/// Range 0 is all time, then 7, 30 and 90 days.
void BM_TagInsightsModel(benchmark::State& state)
{
    Scenario scenario(static_cast<std::size_t>(state.range(0)));
    TagInsightsModel model(scenario.dependencies());
    model.selectSegment(TagInsightsModel::segments().at(static_cast<int>(state.range(1))));
    readAll(model); // tags seen for the first time get their colours once
    for (auto _ : state) {
        scenario.historyChanged();
        readAll(model);
        benchmark::DoNotOptimize(model.totalLabel());
        benchmark::DoNotOptimize(model.tagCount());
    }
    state.SetLabel(model.selectedSegment().toStdString());
}

BENCHMARK(BM_InsightsModelPage)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HeatmapModel)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TagInsightsModel)
    ->ArgsProduct({ { 1000, 10000, 100000 }, { 0, 1, 2, 3 } })
    ->Unit(benchmark::kMillisecond);

} // namespace
