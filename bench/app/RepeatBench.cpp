// Repeated runs ("連続測定") of 1000 CH0 samples at 1 ksps, in this process,
// against the virtual board at real speed. It measures:
//   - the gap between runs: from the host first holding the whole of a run
//     to the next run's start command leaving it (target under 50 ms),
//     bounded from above by the last poll that did not yet see the whole run;
//     the end of the run (picture, statistics) and the next configuration
//     ("S3", "F8", each answered by the board) lie in it;
//   - the processor time the program takes per second while repeating; the
//     virtual board's own work is counted too, so the figure is an upper
//     bound.
// Exits 1 when the gap target is missed, a run does not follow, or a box
// appears.
//
//   bench/app/repeat_bench [runs]

#include "BenchWindow.h"

#include <QApplication>
#include <QCheckBox>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

using Clock = RunWatch::Clock;

constexpr std::uint32_t RunBytes = 1000 * 3;

double Milliseconds(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int runs = argc > 1 ? std::max(2, std::atoi(argv[1])) : 10;

    auto bench = std::make_unique<BenchWindow>(RunBytes, QString());
    const RunWatch& driver = bench->driver;
    const PrintedBoxes& boxes = bench->boxes;
    QPushButton* button = bench->MeasureBtn();
    bench->window.findChild<QCheckBox*>("Repeat_CB")->setChecked(true);
    bench->Start(8, 3, 0); // 1ksps, 1000, CH0

    // Until the run after the last one measured has started.
    const auto started = [&] { return static_cast<int>(driver.Runs().size()) > runs; };
    const Clock::time_point deadline = Clock::now() + std::chrono::seconds(5 + 2 * runs);
    while (!started() && boxes.count == 0 && Clock::now() < deadline)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const std::vector<RunWatch::Run> watched = driver.Runs();
    button->click();  // stops the run in progress
    if (!started()) {
        std::printf("only %zu runs started\n", watched.size());
        return 1;
    }

    double widest = 0.0;
    double sum = 0.0;
    for (int i = 1; i <= runs; ++i) {
        const double bound = Milliseconds(watched[i].Started - watched[i - 1].LastMiss);
        widest = std::max(widest, bound);
        sum += Milliseconds(watched[i].Started - watched[i - 1].Seen);
    }
    const RunWatch::Run& first = watched.front();
    const RunWatch::Run& last = watched[static_cast<std::size_t>(runs)];
    const double seconds = std::chrono::duration<double>(last.Started - first.Started).count();
    const double share = 100.0 * (last.ProcessorAtStart - first.ProcessorAtStart) / seconds;
    std::printf("repeat: %d runs of 1000 CH0 samples at 1ksps in %.3f s\n", runs, seconds);
    std::printf("gap, whole run at the host -> next start command: mean %.2f ms after the poll that saw it, "
                "at most %.2f ms (target < 50 ms)\n",
                sum / runs, widest);
    std::printf("processor while repeating: %.1f ms = %.2f %% of one core\n",
                1000.0 * (last.ProcessorAtStart - first.ProcessorAtStart), share);
    return widest < 50.0 && boxes.count == 0 ? 0 : 1;
}
