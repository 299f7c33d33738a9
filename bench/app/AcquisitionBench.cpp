// One 100000-pair CH0 + CH1 run at 125 ksps, in this process, against the
// virtual board at real speed on its counter pattern. It measures:
//   - the processor time the program takes per second of acquisition
//     (target under 10 % of one core); the virtual board's own work is
//     counted too, so the figure is an upper bound;
//   - the time from the arrival of the last sample to the finished end-of-run
//     picture and statistics (target under 50 ms), bounded from above by the
//     last poll that did not yet see the whole run;
// and checks every sample of the saved run: nothing lost, duplicated or
// reordered. Exits 1 when a target is missed or a sample is wrong.
//
//   bench/app/acquisition_bench [output.DTA]

#include "BenchWindow.h"
#include "QtStatusBar.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTextStream>

#include <chrono>
#include <cstdio>
#include <memory>

namespace {

using Clock = RunWatch::Clock;

constexpr std::int32_t Frames = 100000;
constexpr std::uint32_t RunBytes = Frames * 6;
constexpr std::uint32_t Ch1Offset = 0x800000;
constexpr std::uint32_t CodeMask = 0xFFFFFF;

double Milliseconds(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

// The saved data block must be the counter, pair by pair.
bool CheckSamples(const QString& path, QString& problem)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        problem = "cannot read " + path;
        return false;
    }
    QTextStream in(&file);
    while (!in.atEnd() && in.readLine() != "D:") {
    }
    for (std::uint32_t i = 0; i < static_cast<std::uint32_t>(Frames); ++i) {
        const QString expected = QString("%1,%2").arg(i & CodeMask).arg((i + Ch1Offset) & CodeMask);
        const QString line = in.readLine();
        if (line != expected) {
            problem = QString("pair %1 is \"%2\", expected \"%3\"").arg(i).arg(line, expected);
            return false;
        }
    }
    if (in.readLine() != "DEND:") {
        problem = "more pairs than the run had";
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const QString saved = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::temp().filePath("acquisition_bench.DTA");

    auto bench = std::make_unique<BenchWindow>(RunBytes, saved);
    const RunWatch& driver = bench->driver;
    const PrintedBoxes& boxes = bench->boxes;
    QPushButton* button = bench->MeasureBtn();
    const auto* bar = bench->window.findChild<QtStatusBar*>("StatusBar1");
    bench->Start(16, 9, 2); // 125ksps, 100000, CH0 + CH1

    const auto complete = [&] { return !driver.Runs().empty() && driver.Runs().front().Complete; };
    const auto finished = [&] {
        return complete() && button->text() == "測定開始" && bar->PanelText(2).startsWith("CH0 : ");
    };
    const Clock::time_point deadline = Clock::now() + std::chrono::seconds(30);
    while (!finished() && boxes.count == 0 && Clock::now() < deadline)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const Clock::time_point done = Clock::now();
    const double processorAtDone = ProcessorSeconds();
    if (!finished()) {
        std::printf("the run did not finish (panel 2: %s)\n", bar->PanelText(2).toUtf8().constData());
        return 1;
    }

    const RunWatch::Run& run = driver.Runs().front();
    const double acquiring = std::chrono::duration<double>(run.Seen - run.Started).count();
    const double share = 100.0 * (run.ProcessorAtSeen - run.ProcessorAtStart) / acquiring;
    const double latency = Milliseconds(done - run.LastMiss);
    std::printf("acquisition: %d pairs CH0+CH1 at 125ksps in %.3f s (%.0f pairs/s)\n", Frames, acquiring,
                Frames / acquiring);
    std::printf("processor while acquiring: %.1f ms = %.2f %% of one core (target < 10 %%)\n",
                1000.0 * (run.ProcessorAtSeen - run.ProcessorAtStart), share);
    std::printf("last sample -> finished picture and statistics: at most %.2f ms (%.2f ms after the poll that saw "
                "it; %.1f ms of processor) (target < 50 ms)\n",
                latency, Milliseconds(done - run.Seen), 1000.0 * (processorAtDone - run.ProcessorAtSeen));

    bench->window.findChild<QAction*>("Save1")->trigger();
    QString problem;
    const bool samplesGood = CheckSamples(saved, problem) && bench->board.LostSamples() == 0;
    if (samplesGood)
        std::printf("samples: %d pairs in order, none lost, duplicated or reordered (board lost %llu)\n", Frames,
                    static_cast<unsigned long long>(bench->board.LostSamples()));
    else
        std::printf("samples: WRONG: %s (board lost %llu)\n", problem.toUtf8().constData(),
                    static_cast<unsigned long long>(bench->board.LostSamples()));
    QFile::remove(saved);
    return samplesGood && share < 10.0 && latency < 50.0 && boxes.count == 0 ? 0 : 1;
}
