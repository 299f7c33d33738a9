// The log window on a long HDF5 log with its summaries (made by
// log_window_bench.sh): the first picture, each zoom and pan step, the peak
// memory, and the exact figures of a stretch, as plain timings of the
// window's own calls. Never run by CI.
//
// usage: log_window_bench LOG.h5 [STRETCH_SAMPLES]

#include "LogAnalysis.h"
#include "LogPlot.h"
#include "LogSource.h"
#include "LogWindow.h"

#include <QApplication>
#include <QElapsedTimer>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr std::int64_t HourSamples = 450000000;  // an hour at 125 ksps

double Ms(const QElapsedTimer& timer)
{
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

// One view of the plot, drawn and painted: its milliseconds.
double Step(LogPlot& plot, std::int64_t first, std::int64_t last)
{
    QElapsedTimer timer;
    timer.start();
    plot.ShowSamples(first, last);
    plot.grab();
    return Ms(timer);
}

void Report(const char* what, std::vector<double> ms)
{
    std::string each;
    for (const double step : ms)
        each += " " + std::to_string(static_cast<int>(step + 0.5));
    std::sort(ms.begin(), ms.end());
    std::printf("log_window_bench: %s: %zu steps, median %.1f ms, slowest %.1f ms (target < 50 ms); in order, ms:%s\n", what,
                ms.size(), ms[ms.size() / 2], ms.back(), each.c_str());
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: log_window_bench LOG.h5 [STRETCH_SAMPLES]\n");
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    const std::int64_t stretch = argc > 2 ? std::atoll(argv[2]) : HourSamples;

    LogWindow window;
    window.resize(1000, 560);
    window.show();
    QElapsedTimer timer;
    timer.start();
    QString error;
    if (!window.Open(path, error)) {
        std::fprintf(stderr, "log_window_bench: %s\n", qPrintable(error));
        return 1;
    }
    window.grab();
    std::printf("log_window_bench: first picture of %s in %.1f ms (target < 300 ms)\n", qPrintable(window.Summary()), Ms(timer));

    // Zoom in by four at a time about a point two fifths in, down to a
    // thousand samples, then pan by half a view at a few of those zooms.
    LogPlot& plot = *window.Plot();
    const std::int64_t samples = plot.View().Last() + 1;
    const std::int64_t centre = samples / 5 * 2;
    std::vector<double> zooms;
    std::vector<double> pans;
    for (std::int64_t span = samples / 4; span >= 1000; span /= 4) {
        const std::int64_t first = std::max<std::int64_t>(0, centre - span / 2);
        zooms.push_back(Step(plot, first, first + span - 1));
        if (zooms.size() % 3 == 1) {
            for (int pan = 1; pan <= 4; ++pan)
                pans.push_back(Step(plot, first + pan * span / 2, first + pan * span / 2 + span - 1));
        }
    }
    zooms.push_back(Step(plot, 0, samples - 1));
    Report("zoom", zooms);
    Report("pan", pans);

    QString error2;
    std::unique_ptr<LogSource> log = LogSource::Open(path, error2);
    RunAnalysis analysis;
    const std::int64_t from = std::min(samples / 3, samples - std::min(stretch, samples));
    const std::int64_t count = std::min(stretch, samples - from);
    timer.restart();
    if (!log || !LogAnalysis::Of(path, *log, {{from, count}}, true, analysis, error2)) {
        std::fprintf(stderr, "log_window_bench: %s\n", qPrintable(error2));
        return 1;
    }
    const double seconds = Ms(timer) / 1000.0;
    std::printf("log_window_bench: figures of %lld samples in %.2f s = %.1f M samples/s (target >= 20)\n",
                static_cast<long long>(count), seconds, static_cast<double>(count) / seconds / 1e6);

    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("log_window_bench: peak RSS %.1f MB (target < 300 MB)\n", static_cast<double>(usage.ru_maxrss) / 1024.0);
    return 0;
}
