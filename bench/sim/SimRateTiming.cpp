// Times the virtual board against the wall clock: runs at the slowest and the
// fastest data rate (and the fastest two-channel frame rate) on the real
// monotonic clock, read the way the program reads them, and checks that each
// delivers its samples at the nominal rate within 1 %, without a loss. The
// rate is taken from the arrival of the sample at 10 % of the run to the one
// at 90 %: the first and the last partial packet wait for the bridge's 16 ms
// latency timer, which would otherwise count as a slower rate.
//
//   sim_rate_timing            all three runs (about 12 s)
//   sim_rate_timing --quick    fewer samples at 5 sps (about 4 s)

#include "ConverterModel.h"
#include "RealClock.h"
#include "VirtualBoard.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {

using WallClock = std::chrono::steady_clock;

struct RunPlan {
    const char* name;
    int rateIndex;
    int mode;
    long count;  // samples, or frames in mode 2
};

struct RunResult {
    double nominal = 0.0;
    double measured = 0.0;
    double firstDelayMs = 0.0;
    double lastDelayMs = 0.0;
    std::uint64_t lost = 0;
    long received = 0;
};

void Send(VirtualBoard& board, FT_HANDLE handle, const std::string& command)
{
    const std::string line = command + "\r";
    DWORD written = 0;
    board.FT_Write(handle, const_cast<char*>(line.data()), static_cast<DWORD>(line.size()), &written);
}

std::string HexCount(long count)
{
    char digits[8];
    std::snprintf(digits, sizeof digits, "%05lX", count);
    return digits;
}

RunResult Time(const RunPlan& plan)
{
    RealClock clock;
    VirtualBoard board(clock);
    FT_HANDLE handle = nullptr;
    board.FT_Open(0, &handle);
    const char rateDigit = "0123456789ABCDEFG"[plan.rateIndex];
    Send(board, handle, std::string("F") + rateDigit);
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    board.FT_Purge(handle, FT_PURGE_RX | FT_PURGE_TX);

    const long unitBytes = plan.mode == 2 ? 6 : 3;
    const long totalBytes = plan.count * unitBytes;
    std::vector<char> buffer(65536);
    long bytes = 0;
    const auto started = WallClock::now();
    Send(board, handle, std::string("A") + char('0' + plan.mode) + HexCount(plan.count));
    const long early = plan.count / 10;
    const long late = plan.count * 9 / 10;
    WallClock::time_point first{};
    WallClock::time_point atEarly{};
    WallClock::time_point atLate{};
    WallClock::time_point last{};
    while (bytes < totalBytes && WallClock::now() - started < std::chrono::seconds(60)) {
        DWORD queued = 0;
        board.FT_GetQueueStatus(handle, &queued);
        if (queued == 0) {
            std::this_thread::sleep_for(std::chrono::microseconds(200));
            continue;
        }
        DWORD got = 0;
        board.FT_Read(handle, buffer.data(), queued, &got);
        const auto now = WallClock::now();
        const long before = bytes / unitBytes;
        bytes += static_cast<long>(got);
        const long after = bytes / unitBytes;
        if (before < 1 && after >= 1)
            first = now;
        if (before <= early && after > early)
            atEarly = now;
        if (before <= late && after > late)
            atLate = now;
        last = now;
    }

    RunResult result;
    result.nominal = plan.mode == 2 ? TwoChannelFrameRate(plan.rateIndex) : SampleRate(plan.rateIndex);
    result.received = bytes / unitBytes;
    result.lost = board.LostSamples();
    result.firstDelayMs = std::chrono::duration<double, std::milli>(first - started).count();
    result.lastDelayMs = std::chrono::duration<double, std::milli>(last - started).count();
    const double span = std::chrono::duration<double>(atLate - atEarly).count();
    result.measured = span > 0.0 ? (late - early) / span : 0.0;
    board.FT_Close(handle);
    return result;
}

}  // namespace

int main(int argc, char** argv)
{
    const bool quick = argc > 1 && std::strcmp(argv[1], "--quick") == 0;
    const RunPlan runs[] = {
        {"5 sps, CH0", 0, 0, quick ? 11 : 26},
        {"125 ksps, CH0", 16, 0, 100000},
        {"125 ksps, CH0+CH1", 16, 2, 100000},
    };
    bool allWithin = true;
    std::printf("%-20s %8s %12s %12s %9s %10s %10s %6s\n", "run", "count", "nominal/s", "measured/s", "error %",
                "first ms", "last ms", "lost");
    for (const RunPlan& plan : runs) {
        const RunResult r = Time(plan);
        const double error = r.nominal > 0.0 ? 100.0 * (r.measured - r.nominal) / r.nominal : 100.0;
        const bool within = std::fabs(error) <= 1.0 && r.lost == 0 && r.received == plan.count;
        allWithin = allWithin && within;
        std::printf("%-20s %8ld %12.3f %12.3f %+9.4f %10.2f %10.2f %6llu%s\n", plan.name, r.received, r.nominal,
                    r.measured, error, r.firstDelayMs, r.lastDelayMs, static_cast<unsigned long long>(r.lost),
                    within ? "" : "  OUT OF LIMITS");
    }
    return allWithin ? 0 : 1;
}
