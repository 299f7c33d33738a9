#include "GraphRig.h"
#include "PlotReadout.h"

#include <QImage>
#include <QPainter>
#include <QPoint>
#include <QVector>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstring>
#include <cstdint>
#include <random>
#include <vector>

namespace {

constexpr std::int32_t MidScale = 8388608;
constexpr std::int32_t RunLength = 100000;

// Keeps the shown picture in an image, a row at a time, as the window's
// paint area does.
class ImagePaintBox : public PaintBox {
public:
    int Left() const override { return 72; }
    int Top() const override { return 24; }
    int Width() const override { return Screen.width(); }
    int Height() const override { return Screen.height(); }
    void ShowPixels(const std::uint32_t* pixels, int, int, int stride, const PixelRect& target,
                    const PixelRect& source) override
    {
        const auto rowBytes = static_cast<std::size_t>(source.Right - source.Left) * sizeof(std::uint32_t);
        for (int y = source.Top; y < source.Bottom; ++y) {
            auto* line = reinterpret_cast<std::uint32_t*>(Screen.scanLine(target.Top + y - source.Top));
            std::memcpy(line + target.Left, pixels + y * stride + source.Left, rowBytes);
        }
    }

private:
    QImage Screen = QImage(528, 372, QImage::Format_RGB32);
};

// A slow sine of a few thousand codes with noise on it, as a real input
// gives; or, as the worst case, codes spread over the whole scale so that
// every segment crosses most of the plot.
enum class Signal { Noisy, FullScale };

// Two channels of 100000 samples on the graph tests' rig, shown on an image
// as the window shows them.
class BenchGraph {
public:
    explicit BenchGraph(Signal signal)
    {
        Rig.Settings.CHSel = ModeDual;
        std::mt19937 random(7175);
        std::uniform_int_distribution<std::int32_t> noise(-400, 400);
        std::uniform_int_distribution<std::int32_t> anywhere(0, 16777215);
        std::vector<std::int32_t> codes0(RunLength);
        std::vector<std::int32_t> codes1(RunLength);
        for (std::int32_t i = 0; i < RunLength; ++i) {
            const auto wave = static_cast<std::int32_t>(3000 * std::sin(i * 0.0003));
            codes0[i] = signal == Signal::Noisy ? MidScale + wave + noise(random) : anywhere(random);
            codes1[i] = signal == Signal::Noisy ? MidScale - wave + noise(random) : anywhere(random);
        }
        Rig.SetSamples(Rig.Ch0, codes0);
        Rig.SetSamples(Rig.Ch1, codes1);
    }

    // The trace points DrawAll draws in code mode, from the axis it labelled.
    QVector<QPoint> CodePoints(const ChannelData& channel)
    {
        Rig.Graph.DrawAll(false);
        const long double bottom = Rig.YLabel[TGraph_2CH::YLabelCount - 1].Caption().toLongLong();
        const long double span = Rig.YLabel[0].Caption().toLongLong() - bottom;
        const int plotHeight = Rig.Graph.PlotBitmap().Height();
        const float dx = static_cast<long double>(Rig.Graph.PlotBitmap().Width() - 2) / (RunLength - 1);
        QVector<QPoint> points;
        for (std::int32_t i = 0; i < channel.Count; ++i) {
            const auto x = static_cast<int>(i * static_cast<long double>(dx)) + 1;
            const auto y = static_cast<int>(plotHeight * (1 - (channel.Codes[i] - bottom) / span));
            points.append(QPoint(x, y));
        }
        return points;
    }

    ImagePaintBox Screen;
    GraphRig Rig{Screen};
    TGraph_2CH& Graph = Rig.Graph;
};

void DrawAllTwoChannels(benchmark::State& state, Signal signal, bool volt)
{
    BenchGraph bench(signal);
    for (auto _ : state) {
        bench.Graph.DrawAll(volt);
        benchmark::DoNotOptimize(bench.Graph.PlotBitmap().Pixels());
    }
    state.SetItemsProcessed(state.iterations() * 2 * (RunLength - 1));
}

void DrawBlockOfHundred(benchmark::State& state, bool volt)
{
    BenchGraph bench(Signal::Noisy);
    for (auto _ : state) {
        bench.Graph.DrawBlock(volt, 500, 599);
        benchmark::DoNotOptimize(bench.Graph.PlotBitmap().Pixels());
    }
}

// A stretch of both channels, zoomed from the whole run: a quarter of it
// (about 48 samples a column, drawn as bands), or 300 samples joined by
// lines; the value axis fitted to them or chosen.
void DrawZoomedTwoChannels(benchmark::State& state, std::int32_t first, std::int32_t last, bool valuesChosen)
{
    BenchGraph bench(Signal::Noisy);
    bench.Graph.ShowSamples(first, last);
    if (valuesChosen)
        bench.Graph.ShowValues(MidScale - 1000, MidScale + 1000);
    for (auto _ : state) {
        bench.Graph.DrawAll(false);
        benchmark::DoNotOptimize(bench.Graph.PlotBitmap().Pixels());
    }
}

// The window's work at each move of the mouse over the plot: the nearest
// sample, its column, both channels' values and the box's texts
// (PlotReadout), over every column in turn. Painting them is a repaint of the
// paint box from its kept picture; the graph does not draw.
void ReadoutPerMouseMove(benchmark::State& state, bool zoomed)
{
    BenchGraph bench(Signal::Noisy);
    if (zoomed)
        bench.Graph.ShowSamples(20000, 20300);
    bench.Graph.DrawAll(true);
    int x = 1;
    for (auto _ : state) {
        PlotOverlay readout = PlotReadout::At(bench.Graph, bench.Rig.Settings, true, QPoint(x, 100));
        benchmark::DoNotOptimize(readout.Lines.data());
        x = x % bench.Graph.PlotBitmap().Width() + 1;
    }
}

// Baseline: QPainter drawing the same two polylines of 100000 points into a
// QImage of the bitmap's size, after a white fill; no labels, grid or scans.
void QPainterPolylines(benchmark::State& state, Signal signal)
{
    BenchGraph bench(signal);
    const QVector<QPoint> red = bench.CodePoints(bench.Rig.Ch0);
    const QVector<QPoint> blue = bench.CodePoints(bench.Rig.Ch1);
    QImage image(bench.Graph.PlotBitmap().Width(), bench.Graph.PlotBitmap().Height(), QImage::Format_RGB32);
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setPen(QColor(255, 0, 0));
        painter.drawPolyline(red.constData(), static_cast<int>(red.size()));
        painter.setPen(QColor(0, 0, 255));
        painter.drawPolyline(blue.constData(), static_cast<int>(blue.size()));
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
    state.SetItemsProcessed(state.iterations() * 2 * (RunLength - 1));
}

} // namespace

BENCHMARK_CAPTURE(DrawAllTwoChannels, code_noisy, Signal::Noisy, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(DrawAllTwoChannels, volt_noisy, Signal::Noisy, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(DrawAllTwoChannels, code_full_scale, Signal::FullScale, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(DrawAllTwoChannels, volt_full_scale, Signal::FullScale, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(DrawBlockOfHundred, code, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(DrawBlockOfHundred, volt, true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(DrawZoomedTwoChannels, quarter_fitted, 25000, 49999, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(DrawZoomedTwoChannels, quarter_values_chosen, 25000, 49999, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(DrawZoomedTwoChannels, lines_of_300, 20000, 20299, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ReadoutPerMouseMove, whole_run, false)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(ReadoutPerMouseMove, zoomed, true)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(QPainterPolylines, noisy, Signal::Noisy)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(QPainterPolylines, full_scale, Signal::FullScale)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
