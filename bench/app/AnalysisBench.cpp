// The analysis window refreshed for a 100000-pair CH0 + CH1 run at 125 ksps:
// figures, histograms, Welch spectra and spurs worked out, the tables filled
// and the charts drawn at the window's default size (target under 100 ms).
//
//   bench/app/analysis_bench

#include "AnalysisWindow.h"
#include "MeasureSettings.h"

#include <QApplication>
#include <QPixmap>

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <random>
#include <vector>

namespace {

constexpr int Pairs = 100000;
constexpr std::int32_t Zero = 8388608;
// One code in microvolts, as the window converts.
constexpr double CodeMicrovolts = 2500000.0 / 8388607.0;

// Noise of a few codes, 50 Hz hum on CH0 and a slow drift on CH1.
struct PairRun {
    PairRun()
        : codes0(Pairs), codes1(Pairs), microvolts0(Pairs), microvolts1(Pairs)
    {
        const double pi = std::acos(-1.0);
        std::mt19937 random(7175);
        std::normal_distribution<double> noise(0.0, 30.0);
        for (int i = 0; i < Pairs; ++i) {
            const double t = i / 62500.0;
            codes0[i] = Zero + static_cast<std::int32_t>(std::lround(3355.0 + 60.0 * std::sin(2 * pi * 50.0 * t) + noise(random)));
            codes1[i] = Zero + static_cast<std::int32_t>(std::lround(-6710.0 + 200.0 * t + noise(random)));
            microvolts0[i] = static_cast<float>((codes0[i] - Zero) * CodeMicrovolts);
            microvolts1[i] = static_cast<float>((codes1[i] - Zero) * CodeMicrovolts);
        }
        settings.spsSel = 16;
        settings.DataCountSel = 9;
        settings.CHSel = ModeDual;
    }

    std::vector<std::int32_t> codes0, codes1;
    std::vector<float> microvolts0, microvolts1;
    MeasureSettings settings;
};

void BM_AnalysisWindowRefresh(benchmark::State& state)
{
    PairRun run;
    const ChannelData ch0{Pairs, run.codes0.data(), run.microvolts0.data()};
    const ChannelData ch1{Pairs, run.codes1.data(), run.microvolts1.data()};
    AnalysisWindow window(nullptr);
    window.show();
    for (auto _ : state) {
        window.ShowRun(QStringLiteral("pairs.DTA"), run.settings, ch0, ch1);
        benchmark::DoNotOptimize(window.grab());
    }
}
BENCHMARK(BM_AnalysisWindowRefresh)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
