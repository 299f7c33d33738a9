// The sample path at full speed: one ReadData2 of 1000 frames (6000 bytes)
// from bytes the driver already has queued, as the idle handler calls it at
// 125 ksps, where those 1000 frames take 8 ms to arrive.

#include "Ad7175.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

namespace {

// A driver whose receive queue always holds one more chunk of a fixed stream.
class StreamingD2xx : public D2xx {
public:
    explicit StreamingD2xx(DWORD chunkBytes)
        : chunk(chunkBytes)
    {
        for (DWORD i = 0; i < chunkBytes; ++i) {
            chunk[i] = static_cast<std::uint8_t>(i * 7);
        }
    }

    FT_STATUS FT_Open(int, FT_HANDLE* handle) override
    {
        *handle = this;
        return FT_OK;
    }
    FT_STATUS FT_Close(FT_HANDLE) override { return FT_OK; }
    FT_STATUS FT_Read(FT_HANDLE, LPVOID buffer, DWORD bytesToRead, LPDWORD bytesReturned) override
    {
        std::memcpy(buffer, chunk.data(), bytesToRead);
        *bytesReturned = bytesToRead;
        return FT_OK;
    }
    FT_STATUS FT_Write(FT_HANDLE, LPVOID, DWORD bytesToWrite, LPDWORD bytesWritten) override
    {
        *bytesWritten = bytesToWrite;
        return FT_OK;
    }
    FT_STATUS FT_Purge(FT_HANDLE, ULONG) override { return FT_OK; }
    FT_STATUS FT_GetQueueStatus(FT_HANDLE, DWORD* rxBytes) override
    {
        *rxBytes = static_cast<DWORD>(chunk.size());
        return FT_OK;
    }
    FT_STATUS FT_SetUSBParameters(FT_HANDLE, ULONG, ULONG) override { return FT_OK; }

private:
    std::vector<std::uint8_t> chunk;
};

void ReadData2Of1000Frames(benchmark::State& state)
{
    constexpr std::int32_t frames = 1000;
    StreamingD2xx driver(frames * 6);
    TADC adc(nullptr, driver);
    if (!adc.OpenBoard()) {
        state.SkipWithError("the board did not open");
        return;
    }
    std::vector<std::int32_t> ch0(frames);
    std::vector<std::int32_t> ch1(frames);
    for (auto _ : state) {
        std::int32_t got = 0;
        if (!adc.ReadData2(ch0.data(), ch1.data(), frames, got) || got != frames) {
            state.SkipWithError("the read failed");
            break;
        }
        benchmark::DoNotOptimize(ch0.data());
        benchmark::DoNotOptimize(ch1.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * frames);
    state.SetBytesProcessed(state.iterations() * frames * 6);
}

} // namespace

BENCHMARK(ReadData2Of1000Frames)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
