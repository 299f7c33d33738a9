#pragma once

#include "D2xx.h"

#include <chrono>
#include <cstdint>
#include <vector>

// Processor time of this process so far, user and system, in seconds.
double ProcessorSeconds();

// Watches the driver's receive queue run by run: each start command ("A"
// and a mode digit) begins a run of runBytes, and the run is complete when
// all its bytes have been visible to the host. Kept per run: when it was
// started, when it was first seen whole, when it was last looked at before
// that, and the processor time at start and when seen.
class RunWatch : public D2xx {
public:
    using Clock = std::chrono::steady_clock;

    struct Run {
        Clock::time_point Started, Seen, LastMiss;
        double ProcessorAtStart = 0.0;
        double ProcessorAtSeen = 0.0;
        bool Complete = false;
    };

    RunWatch(D2xx& board, std::uint64_t runBytes);

    FT_STATUS FT_Open(int device, FT_HANDLE* handle) override;
    FT_STATUS FT_Close(FT_HANDLE handle) override;
    FT_STATUS FT_Write(FT_HANDLE handle, LPVOID buffer, DWORD count, LPDWORD written) override;
    FT_STATUS FT_Purge(FT_HANDLE handle, ULONG mask) override;
    FT_STATUS FT_SetUSBParameters(FT_HANDLE handle, ULONG in, ULONG out) override;
    FT_STATUS FT_Read(FT_HANDLE handle, LPVOID buffer, DWORD count, LPDWORD returned) override;
    FT_STATUS FT_GetQueueStatus(FT_HANDLE handle, DWORD* queued) override;

    const std::vector<Run>& Runs() const { return runs_; }

private:
    D2xx& board_;
    const std::uint64_t runBytes_;
    std::uint64_t read_ = 0;  // of the latest run
    std::vector<Run> runs_;
};
