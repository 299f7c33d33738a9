#include "ProcessCapability.h"
#include "ResultsStore.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int Steps = 10;
constexpr int FiguresAStep = 50;

// A board's run of Steps steps of FiguresAStep figures each (the ten
// figures on five channels), every value inside its limits.
BoardRecord Run(int number)
{
    BoardRecord record;
    record.RunId = QStringLiteral("bench-%1").arg(number);
    record.Serial = QStringLiteral("KVX%1").arg(number % 100, 4, 10, QLatin1Char('0'));
    record.Identity = QStringLiteral("KORVADEX Board 2.1");
    record.Station = QStringLiteral("bench-1");
    record.Operator = QStringLiteral("tanaka");
    record.PlanName = QStringLiteral("production");
    record.PlanVersion = QStringLiteral("7");
    record.PlanHash = QByteArray(64, 'f');
    record.StartMs = 1772438400000 + number * 60000LL;
    record.EndMs = record.StartMs + 50000;
    for (int s = 0; s < Steps; ++s) {
        StepResult step;
        step.Step = QStringLiteral("step %1").arg(s);
        step.Settings = QStringLiteral("10 kSPS, 1000, CH0 + CH1, sinc5");
        step.RawFile = QStringLiteral("korvadex-raw/%1_%2.DTA").arg(record.RunId).arg(s);
        step.StartMs = record.StartMs + s * 5000;
        step.EndMs = step.StartMs + 5000;
        for (int f = 0; f < FiguresAStep; ++f) {
            Measurement m;
            m.Figure = static_cast<PlanFigure>(f % PlanFigures::Count);
            m.Channel = f / PlanFigures::Count;
            m.Value = 5.0 + 0.01 * ((number * 7 + f) % 100);
            m.Limit.Low = 1.0;
            m.Limit.High = 9.0;
            step.Measurements.push_back(m);
        }
        record.Steps.push_back(step);
    }
    return record;
}

std::unique_ptr<ResultsStore> OpenStore(benchmark::State& state, const QString& url)
{
    QString error;
    std::unique_ptr<ResultsStore> store = ResultsStore::Open(url, error);
    if (!store)
        state.SkipWithError(error.toStdString().c_str());
    return store;
}

void Store(benchmark::State& state, const QString& url)
{
    const std::unique_ptr<ResultsStore> store = OpenStore(state, url);
    if (!store)
        return;
    // A fresh run id each time, so that every iteration writes.
    static int next = 0;
    std::vector<BoardRecord> records;
    for (int i = 0; i < 64; ++i)
        records.push_back(Run(next++));
    std::size_t i = 0;
    for (auto _ : state) {
        state.PauseTiming();
        if (i == records.size()) {
            for (BoardRecord& record : records)
                record = Run(next++);
            i = 0;
        }
        state.ResumeTiming();
        if (!store->Store(records[i++]))
            state.SkipWithError(store->Error().toStdString().c_str());
    }
}

void StoreSqlite(benchmark::State& state)
{
    const QTemporaryDir folder;
    Store(state, QStringLiteral("sqlite:") + folder.filePath(QStringLiteral("bench.sqlite")));
}

// KORVADEX_BENCH_POSTGRES names the server's database (results_bench.sh).
void StorePostgres(benchmark::State& state)
{
    const QString url = qEnvironmentVariable("KORVADEX_BENCH_POSTGRES");
    if (url.isEmpty()) {
        state.SkipWithError("no KORVADEX_BENCH_POSTGRES: run bench/results/results_bench.sh");
        return;
    }
    Store(state, url);
}

// results --cpk's work over 100000 stored measurements (200 runs of 500).
void CpkOf100000(benchmark::State& state)
{
    const QTemporaryDir folder;
    const std::unique_ptr<ResultsStore> store =
        OpenStore(state, QStringLiteral("sqlite:") + folder.filePath(QStringLiteral("cpk.sqlite")));
    if (!store)
        return;
    for (int run = 0; run < 200; ++run)
        store->Store(Run(run));
    for (auto _ : state) {
        ResultsQuery query(*store, {});
        const auto samples = query.Samples();
        benchmark::DoNotOptimize(ProcessCapability::Of(*samples));
    }
}

} // namespace

BENCHMARK(StoreSqlite)->Unit(benchmark::kMillisecond);
BENCHMARK(StorePostgres)->Unit(benchmark::kMillisecond);
BENCHMARK(CpkOf100000)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
