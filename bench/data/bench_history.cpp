// History load, append-and-save, and everything one rendering of the Insights
// page asks of the history, at 1,000, 10,000 and 100,000 records.
#include <benchmark/benchmark.h>
#include <memory>

#include "HistoryFixture.h"
#include "data/SessionStore.h"

namespace {

struct Scenario {
    QTemporaryDir dir;
    FrozenClock clock { benchNow() };
    Calendar calendar = benchCalendar();
    QString path = dir.filePath(QStringLiteral("sessions.json"));

    explicit Scenario(std::size_t records) { writeHistory(path, makeHistory(records, clock.now())); }
    std::unique_ptr<SessionStore> open() { return std::make_unique<SessionStore>(path, clock, calendar); }
};

SessionRecord newRecord(Instant now)
{
    return { QUuid::createUuid(), now, 1500, SessionType::focus, true, QStringLiteral("Work") };
}

void BM_HistoryLoad(benchmark::State& state)
{
    Scenario scenario(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        auto store = scenario.open();
        benchmark::DoNotOptimize(store->count());
    }
    state.counters["file_MB"] = double(QFileInfo(scenario.path).size()) / 1e6;
}

void BM_HistoryAppendSave(benchmark::State& state)
{
    Scenario scenario(static_cast<std::size_t>(state.range(0)));
    auto store = scenario.open();
    for (auto _ : state)
        store->addRecord(newRecord(scenario.clock.now()));
}

/// The first record appended after a load, which writes the whole file anew.
void BM_HistoryFirstAppendSave(benchmark::State& state)
{
    Scenario scenario(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        auto store = scenario.open();
        state.ResumeTiming();
        store->addRecord(newRecord(scenario.clock.now()));
        state.PauseTiming();
        store.reset();
        writeHistory(
            scenario.path, makeHistory(static_cast<std::size_t>(state.range(0)), scenario.clock.now()));
        state.ResumeTiming();
    }
}

void BM_InsightsPage(benchmark::State& state)
{
    Scenario scenario(static_cast<std::size_t>(state.range(0)));
    auto store = scenario.open();
    const Instant now = scenario.clock.now();
    for (auto _ : state) {
        benchmark::DoNotOptimize(store->sessionsToday());
        benchmark::DoNotOptimize(store->todayFocusMinutes());
        benchmark::DoNotOptimize(store->sessionsThisWeek());
        benchmark::DoNotOptimize(store->weekFocusMinutes());
        benchmark::DoNotOptimize(store->averageDailyFocusMinutes());
        benchmark::DoNotOptimize(store->mostProductiveDay());
        benchmark::DoNotOptimize(store->currentStreak());
        for (int daysAgo = 0; daysAgo < 84; ++daysAgo)
            benchmark::DoNotOptimize(store->focusMinutesOnDay(scenario.calendar.addDays(now, -daysAgo)));
    }
}

BENCHMARK(BM_HistoryLoad)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HistoryAppendSave)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HistoryFirstAppendSave)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);
BENCHMARK(BM_InsightsPage)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace
