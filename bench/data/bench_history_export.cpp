// `velto export` of 100,000 records: the document alone in CSV and JSON, and the whole
// command (read, decode, format, write) without the process start.
#include <benchmark/benchmark.h>
#include <cstdio>

#include "HistoryFixture.h"
#include "cli/CliArguments.h"
#include "cli/ExportCommand.h"
#include "data/HistoryExport.h"

namespace {

void BM_ExportDocument(benchmark::State& state, HistoryExport::Format format)
{
    const auto records = makeHistory(static_cast<std::size_t>(state.range(0)), benchNow());
    const Calendar calendar = benchCalendar();
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::string document = HistoryExport::write(records, format, calendar);
        bytes = document.size();
        benchmark::DoNotOptimize(document.data());
    }
    state.counters["output_MB"] = double(bytes) / 1e6;
}

void BM_ExportCommandCsv(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString history = dir.filePath(QStringLiteral("sessions.json"));
    writeHistory(history, makeHistory(static_cast<std::size_t>(state.range(0)), benchNow()));
    const Calendar calendar = benchCalendar();
    std::FILE* sink = std::fopen("/dev/null", "w");
    for (auto _ : state) {
        QString error;
        if (Cli::runExport(Cli::ExportOptions {}, history, calendar, sink, &error) != 0)
            state.SkipWithError(qPrintable(error));
    }
    std::fclose(sink);
}

} // namespace

BENCHMARK_CAPTURE(BM_ExportDocument, csv, HistoryExport::Format::csv)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ExportDocument, json, HistoryExport::Format::json)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportCommandCsv)->Arg(100000)->Unit(benchmark::kMillisecond);
