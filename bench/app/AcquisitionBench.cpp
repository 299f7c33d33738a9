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

#include "ComponentFactory.h"
#include "ConfirmPrompt.h"
#include "FileChooser.h"
#include "KORVADEX_Main.h"
#include "MessagePresenter.h"
#include "QtStatusBar.h"
#include "RealClock.h"
#include "VirtualBoard.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTextStream>

#include <sys/resource.h>

#include <chrono>
#include <cstdio>

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::int32_t Frames = 100000;
constexpr std::uint32_t RunBytes = Frames * 6;
constexpr std::uint32_t Ch1Offset = 0x800000;
constexpr std::uint32_t CodeMask = 0xFFFFFF;

double ProcessorSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec * 1e-6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

double Milliseconds(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

// Watches the driver's receive queue: when the whole run is first visible to
// the host, and when it was last looked at before that.
class ArrivalWatch : public D2xx {
public:
    explicit ArrivalWatch(D2xx& board)
        : board_(board)
    {
    }

    FT_STATUS FT_Open(int device, FT_HANDLE* handle) override { return board_.FT_Open(device, handle); }
    FT_STATUS FT_Close(FT_HANDLE handle) override { return board_.FT_Close(handle); }
    FT_STATUS FT_Write(FT_HANDLE handle, LPVOID buffer, DWORD count, LPDWORD written) override
    {
        if (count > 0 && static_cast<const char*>(buffer)[0] == 'A')
            Arm();
        return board_.FT_Write(handle, buffer, count, written);
    }
    FT_STATUS FT_Purge(FT_HANDLE handle, ULONG mask) override { return board_.FT_Purge(handle, mask); }
    FT_STATUS FT_SetUSBParameters(FT_HANDLE handle, ULONG in, ULONG out) override
    {
        return board_.FT_SetUSBParameters(handle, in, out);
    }

    FT_STATUS FT_Read(FT_HANDLE handle, LPVOID buffer, DWORD count, LPDWORD returned) override
    {
        const FT_STATUS status = board_.FT_Read(handle, buffer, count, returned);
        if (armed_ && status == FT_OK)
            read_ += *returned;
        return status;
    }

    FT_STATUS FT_GetQueueStatus(FT_HANDLE handle, DWORD* queued) override
    {
        const Clock::time_point now = Clock::now();
        const FT_STATUS status = board_.FT_GetQueueStatus(handle, queued);
        if (armed_ && !complete_ && status == FT_OK) {
            if (read_ + *queued >= RunBytes) {
                complete_ = true;
                seen_ = now;
                processorAtSeen_ = ProcessorSeconds();
            } else {
                lastMiss_ = now;
            }
        }
        return status;
    }

    bool Complete() const { return complete_; }
    Clock::time_point Started() const { return started_; }
    Clock::time_point Seen() const { return seen_; }
    Clock::time_point LastMiss() const { return lastMiss_; }
    double ProcessorAtStart() const { return processorAtStart_; }
    double ProcessorAtSeen() const { return processorAtSeen_; }

private:
    void Arm()
    {
        armed_ = true;
        started_ = lastMiss_ = Clock::now();
        processorAtStart_ = ProcessorSeconds();
    }

    D2xx& board_;
    bool armed_ = false;
    bool complete_ = false;
    std::uint64_t read_ = 0;
    Clock::time_point started_, seen_, lastMiss_;
    double processorAtStart_ = 0.0;
    double processorAtSeen_ = 0.0;
};

class PrintedBoxes : public MessagePresenter {
public:
    void ShowError(const QString& caption, const QString& text) override
    {
        std::printf("box: %s: %s\n", caption.toUtf8().constData(), text.toUtf8().constData());
        ++count;
    }
    int count = 0;
};

class Yes : public ConfirmPrompt {
public:
    bool AskYesNo(const QString&, const QString&) override { return true; }
};

class OneFile : public FileChooser {
public:
    explicit OneFile(QString path)
        : path_(std::move(path))
    {
    }
    QString ChooseSavePath(const QString&, const QString&) override { return path_; }
    QString ChooseOpenPath(const QString&, const QString&) override { return path_; }

private:
    QString path_;
};

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

    RealClock clock(1.0);
    BoardConfig config;
    config.Signals.CounterPattern = true;
    VirtualBoard board(clock, config);
    ArrivalWatch driver(board);
    PrintedBoxes boxes;
    Yes yes;
    OneFile files(saved);
    ComponentFactory components;
    TFormMain window(WindowServices{driver, boxes, yes, files, components});
    window.show();
    QCoreApplication::processEvents();

    window.findChild<QComboBox*>("ComboBox1")->setCurrentIndex(16); // 125ksps
    window.findChild<QComboBox*>("ComboBox2")->setCurrentIndex(9);  // 100000
    window.findChild<QComboBox*>("ComboBox3")->setCurrentIndex(2);  // CH0 + CH1
    auto* button = window.findChild<QPushButton*>("MeasureBtn");
    const auto* bar = window.findChild<QtStatusBar*>("StatusBar1");
    button->click();

    const auto finished = [&] {
        return driver.Complete() && button->text() == "測定開始" && bar->PanelText(2).startsWith("CH0 : ");
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

    const double acquiring = std::chrono::duration<double>(driver.Seen() - driver.Started()).count();
    const double share = 100.0 * (driver.ProcessorAtSeen() - driver.ProcessorAtStart()) / acquiring;
    const double latency = Milliseconds(done - driver.LastMiss());
    std::printf("acquisition: %d pairs CH0+CH1 at 125ksps in %.3f s (%.0f pairs/s)\n", Frames, acquiring,
                Frames / acquiring);
    std::printf("processor while acquiring: %.1f ms = %.2f %% of one core (target < 10 %%)\n",
                1000.0 * (driver.ProcessorAtSeen() - driver.ProcessorAtStart()), share);
    std::printf("last sample -> finished picture and statistics: at most %.2f ms (%.2f ms after the poll that saw "
                "it; %.1f ms of processor) (target < 50 ms)\n",
                latency, Milliseconds(done - driver.Seen()), 1000.0 * (processorAtDone - driver.ProcessorAtSeen()));

    window.findChild<QAction*>("Save1")->trigger();
    QString problem;
    const bool samplesGood = CheckSamples(saved, problem) && board.LostSamples() == 0;
    if (samplesGood)
        std::printf("samples: %d pairs in order, none lost, duplicated or reordered (board lost %llu)\n", Frames,
                    static_cast<unsigned long long>(board.LostSamples()));
    else
        std::printf("samples: WRONG: %s (board lost %llu)\n", problem.toUtf8().constData(),
                    static_cast<unsigned long long>(board.LostSamples()));
    QFile::remove(saved);
    return samplesGood && share < 10.0 && latency < 50.0 && boxes.count == 0 ? 0 : 1;
}
