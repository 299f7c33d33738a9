#include "ExportCommand.h"
#include "ReportAnalysis.h"
#include "ReportCommand.h"
#include "RunData.h"

#include "DataFileLoader.h"
#include "ConsoleMessages.h"
#include "WindowTexts.h"

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <random>

namespace {

const double Pi = std::acos(-1.0);

constexpr int Pairs = 100000;
constexpr std::int32_t Zero = 8388608;

// A CH0 + CH1 run at 125 ksps: noise of a few codes, 50 Hz hum on CH0 and
// a slow drift on CH1, so the spectrum has lines and a slope to find.
QByteArray PairFile()
{
    std::mt19937 random(7175);
    std::normal_distribution<double> noise(0.0, 30.0);
    QByteArray text("AD7175_DataFile:\r\nM:\r\nspsSel:16\r\nDataCountSel:9\r\nCHSel:2\r\nGainSel:0\r\n"
                    "fSinc5:1\r\nfBUF_ON:0\r\nMEND:\r\nD:\r\n");
    for (int i = 0; i < Pairs; ++i) {
        const double t = i / 62500.0;
        const auto ch0 = static_cast<std::int32_t>(std::lround(3355.0 + 60.0 * std::sin(2 * Pi * 50.0 * t) + noise(random)));
        const auto ch1 = static_cast<std::int32_t>(std::lround(-6710.0 + 200.0 * t + noise(random)));
        text += QByteArray::number(Zero + ch0) + ',' + QByteArray::number(Zero + ch1) + "\r\n";
    }
    return text + "DEND:\r\n";
}

class Files {
public:
    Files()
    {
        QFile file(Input());
        if (file.open(QIODevice::WriteOnly))
            file.write(PairFile());
    }
    QString Input() const { return dir_.filePath(QStringLiteral("pairs.DTA")); }
    QString Output(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }

private:
    QTemporaryDir dir_;
};

const Files& SharedFiles()
{
    static const Files files;
    return files;
}

void RunCommand(benchmark::State& state, int (*command)(const QStringList&), const char* output)
{
    const Files& files = SharedFiles();
    const QStringList words = {files.Input(), QStringLiteral("-o"), files.Output(output)};
    for (auto _ : state) {
        if (command(words) != 0)
            state.SkipWithError("the command failed");
    }
}

// Load, convert and write 100000 pairs as CSV.
void BM_Export(benchmark::State& state)
{
    RunCommand(state, &ExportCommand::Run, "pairs.csv");
}
BENCHMARK(BM_Export)->Unit(benchmark::kMillisecond);

// Load, statistics, histograms, both spectra, the page drawn and saved.
void BM_ReportPng(benchmark::State& state)
{
    RunCommand(state, &ReportCommand::Run, "pairs.png");
}
BENCHMARK(BM_ReportPng)->Unit(benchmark::kMillisecond);

void BM_ReportPdf(benchmark::State& state)
{
    RunCommand(state, &ReportCommand::Run, "pairs.pdf");
}
BENCHMARK(BM_ReportPdf)->Unit(benchmark::kMillisecond);

// The figures alone: statistics, histograms, Welch spectra and spurs.
void BM_ReportAnalysis(benchmark::State& state)
{
    ConsoleMessages console;
    WindowTexts texts(console);
    const auto run = std::make_unique<RunData>();
    if (!DataFileLoader::Load(SharedFiles().Input(), *run, texts))
        state.SkipWithError("the file did not load");
    run->ConvertAll();
    for (auto _ : state)
        benchmark::DoNotOptimize(
            ReportAnalysis::Of(QStringLiteral("pairs"), run->Settings, run->Ch0Data, run->Ch1Data));
}
BENCHMARK(BM_ReportAnalysis)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
