// The processor time of the libftdi path: one 125 ksps CH0 + CH1 run of
// 100000 frames through the project's libftdi driver, the real libftdi1 and
// the libusb stand-in with the emulated bridge and the virtual board, all in
// this process, so the emulation's own work is counted too (the figure is an
// upper bound for a real board). Reads as the window does, 1000 frames a
// poll, but sleeps 1 ms when nothing is ready instead of spinning, so the
// caller's idle polling is not counted. Checks every frame of the counter
// pattern. Exits 1 when a frame is wrong or the share is above 10 % of a core.
//
//   bench/ftdi/ftdi_path_bench [FT232H]

#include "Ad7175.h"
#include "UsbEmulation.h"
#include "ftdi/FtdiD2xx.h"

#include <QCoreApplication>

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::int32_t Frames = 100000;
constexpr std::int32_t Chunk = 1000;
constexpr std::uint32_t CounterStart = 100;
constexpr std::uint32_t Ch1Offset = 0x800000;
constexpr int FullRate = 16;
constexpr double TargetShare = 0.10;

double ProcessorSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec * 1e-6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

UsbEmulationSetup CounterBridge(bool highSpeed)
{
    UsbEmulationSetup setup;
    setup.Usb.ProductId = highSpeed ? 0x6014 : 0x6001;
    setup.Board.Signals.CounterPattern = true;
    setup.Board.Signals.CounterStart = CounterStart;
    setup.Board.Signals.CounterCh1Offset = Ch1Offset;
    return setup;
}

// The index of the first wrong frame, or -1.
long FirstWrongFrame(const std::vector<std::int32_t>& ch0, const std::vector<std::int32_t>& ch1)
{
    for (std::size_t i = 0; i < ch0.size(); ++i) {
        const auto expected = static_cast<std::int32_t>((CounterStart + i) & 0xFFFFFF);
        if (ch0[i] != expected || ch1[i] != static_cast<std::int32_t>((expected + Ch1Offset) & 0xFFFFFF))
            return static_cast<long>(i);
    }
    return -1;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    const bool highSpeed = argc > 1 && std::strcmp(argv[1], "FT232H") == 0;
    UsbEmulation::Reset(CounterBridge(highSpeed));
    const std::unique_ptr<D2xx> driver = CreateFtdiD2xx();
    TADC adc(nullptr, *driver);
    char name[TADC::NameLength + 1] = "";
    if (!adc.OpenBoard() || !adc.CheckBoard() || !adc.GetBoardName(name) || !adc.SetSinc5() ||
        !adc.SetDataRate(FullRate)) {
        std::fprintf(stderr, "ftdi_path_bench: the emulated board did not connect\n");
        return 1;
    }

    std::vector<std::int32_t> ch0(Frames);
    std::vector<std::int32_t> ch1(Frames);
    const double cpuBefore = ProcessorSeconds();
    const Clock::time_point start = Clock::now();
    if (!adc.StartMeasure(2, Frames))
        return 1;
    std::int32_t done = 0;
    while (done < Frames) {
        std::int32_t got = 0;
        if (!adc.ReadData2(&ch0[done], &ch1[done], std::min(Chunk, Frames - done), got)) {
            std::fprintf(stderr, "ftdi_path_bench: read error after %d frames\n", done);
            return 1;
        }
        if (got == 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        done += got;
    }
    const double wall = std::chrono::duration<double>(Clock::now() - start).count();
    const double cpu = ProcessorSeconds() - cpuBefore;
    adc.CloseBoard();

    const long wrong = FirstWrongFrame(ch0, ch1);
    const double share = cpu / wall;
    std::printf("%s: %d frames in %.3f s, processor %.3f s = %.1f %% of a core (target <= %.0f %%), "
                "lost %llu, first wrong frame %ld\n",
                highSpeed ? "FT232H" : "FT245R", Frames, wall, cpu, share * 100.0, TargetShare * 100.0,
                static_cast<unsigned long long>(UsbEmulation::State().LostSamples), wrong);
    return wrong < 0 && share <= TargetShare ? 0 : 1;
}
