// Saving and loading a two-channel run of 100000 sample pairs (about 1.7 MB of
// file text), next to plain standard-library streams over the same bytes.
// The rates are by the process's CPU time, which other work on a shared
// machine does not inflate; the Time column is the wall clock, and for a save
// it includes waiting for the disk flush that makes replacing the earlier
// file safe. The files go to the temporary folder (TMPDIR).
#include "DataDoubles.h"
#include "Myfile.h"

#include <benchmark/benchmark.h>

#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr std::int32_t Pairs = 100000;

// One run as the window holds it, saved once to a file the benchmarks share.
struct Run {
    Run()
    {
        std::mt19937 noise(7);
        std::uniform_int_distribution<std::int32_t> spread(-200, 200);
        for (std::int32_t i = 0; i < Pairs; ++i) {
            arrays.Codes0[static_cast<std::size_t>(i)] = 8388608 + spread(noise);
            arrays.Codes1[static_cast<std::size_t>(i)] = 8388608 + spread(noise);
        }
        arrays.Ch0.Count = arrays.Ch1.Count = Pairs;
        settings.CHSel = ModeDual;
        file.SaveFile2CH(path, &settings, &arrays.Ch0, &arrays.Ch1);
        bytes = QFileInfo(path).size();
    }

    SampleArrays arrays;
    MeasureSettings settings;
    ScriptedPrompt prompt;  // answers yes
    TmyFile file{prompt};
    QTemporaryDir dir;
    QString path = dir.filePath("run.DTA");
    std::int64_t bytes = 0;
};

Run& TheRun()
{
    static Run run;
    return run;
}

void SaveFile2CH(benchmark::State& state)
{
    Run& run = TheRun();
    const QString target = run.dir.filePath("saved.DTA");
    for (auto _ : state) {
        if (!run.file.SaveFile2CH(target, &run.settings, &run.arrays.Ch0, &run.arrays.Ch1))
            state.SkipWithError("save failed");
    }
    state.SetBytesProcessed(state.iterations() * run.bytes);
}

void LoadFile(benchmark::State& state)
{
    Run& run = TheRun();
    SampleArrays loaded;
    for (auto _ : state) {
        MeasureSettings settings;
        if (!run.file.LoadFile(run.path, &settings, &loaded.Ch0, &loaded.Ch1) || loaded.Ch0.Count != Pairs)
            state.SkipWithError("load failed");
        benchmark::DoNotOptimize(loaded.Codes0.data());
    }
    state.SetBytesProcessed(state.iterations() * run.bytes);
}

// The floor for loading: every line of the same file through getline.
void BaselineIfstreamGetline(benchmark::State& state)
{
    Run& run = TheRun();
    const std::string path = run.path.toStdString();
    for (auto _ : state) {
        std::ifstream in(path);
        std::string line;
        std::size_t total = 0;
        while (std::getline(in, line))
            total += line.size();
        benchmark::DoNotOptimize(total);
    }
    state.SetBytesProcessed(state.iterations() * run.bytes);
}

// The floor for saving: the same bytes written with one ofstream call.
void BaselineOfstreamWrite(benchmark::State& state)
{
    Run& run = TheRun();
    std::ifstream in(run.path.toStdString(), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::string path = run.dir.filePath("baseline.DTA").toStdString();
    for (auto _ : state) {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    state.SetBytesProcessed(state.iterations() * run.bytes);
}

} // namespace

BENCHMARK(SaveFile2CH)->Unit(benchmark::kMillisecond);
BENCHMARK(LoadFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BaselineIfstreamGetline)->Unit(benchmark::kMillisecond);
BENCHMARK(BaselineOfstreamWrite)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
