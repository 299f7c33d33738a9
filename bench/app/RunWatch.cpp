#include "RunWatch.h"

#include <sys/resource.h>

double ProcessorSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec * 1e-6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

RunWatch::RunWatch(D2xx& board, std::uint64_t runBytes)
    : board_(board)
    , runBytes_(runBytes)
{
}

FT_STATUS RunWatch::FT_Open(int device, FT_HANDLE* handle)
{
    return board_.FT_Open(device, handle);
}

FT_STATUS RunWatch::FT_Close(FT_HANDLE handle)
{
    return board_.FT_Close(handle);
}

// The stop command "AX" begins with the same letter but starts nothing.
FT_STATUS RunWatch::FT_Write(FT_HANDLE handle, LPVOID buffer, DWORD count, LPDWORD written)
{
    const char* text = static_cast<const char*>(buffer);
    if (count > 1 && text[0] == 'A' && text[1] != 'X') {
        Run run;
        run.Started = run.LastMiss = Clock::now();
        run.ProcessorAtStart = ProcessorSeconds();
        runs_.push_back(run);
        read_ = 0;
    }
    return board_.FT_Write(handle, buffer, count, written);
}

FT_STATUS RunWatch::FT_Purge(FT_HANDLE handle, ULONG mask)
{
    return board_.FT_Purge(handle, mask);
}

FT_STATUS RunWatch::FT_SetUSBParameters(FT_HANDLE handle, ULONG in, ULONG out)
{
    return board_.FT_SetUSBParameters(handle, in, out);
}

FT_STATUS RunWatch::FT_Read(FT_HANDLE handle, LPVOID buffer, DWORD count, LPDWORD returned)
{
    const FT_STATUS status = board_.FT_Read(handle, buffer, count, returned);
    if (!runs_.empty() && status == FT_OK)
        read_ += *returned;
    return status;
}

FT_STATUS RunWatch::FT_GetQueueStatus(FT_HANDLE handle, DWORD* queued)
{
    const Clock::time_point now = Clock::now();
    const FT_STATUS status = board_.FT_GetQueueStatus(handle, queued);
    if (runs_.empty() || runs_.back().Complete || status != FT_OK)
        return status;
    Run& run = runs_.back();
    if (read_ + *queued >= runBytes_) {
        run.Complete = true;
        run.Seen = now;
        run.ProcessorAtSeen = ProcessorSeconds();
    } else {
        run.LastMiss = now;
    }
    return status;
}
