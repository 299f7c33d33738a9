#include "FakeD2xx.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr unsigned char Scribble = 0xEE;
const auto BogusHandle = reinterpret_cast<FT_HANDLE>(static_cast<std::uintptr_t>(0xDEAD));

} // namespace

const char* FakeD2xx::CallName(Call call)
{
    static const char* const names[CallKinds] = {
        "FT_Open", "FT_Close", "FT_Read", "FT_Write", "FT_Purge", "FT_GetQueueStatus", "FT_SetUSBParameters",
    };
    return names[call];
}

void FakeD2xx::Arrive(const std::string& bytes, int afterPolls)
{
    Schedule(bytes, polls + afterPolls, Clock::time_point::min());
}

void FakeD2xx::ArriveAfter(std::chrono::milliseconds delay, const std::string& bytes)
{
    Schedule(bytes, polls, Clock::now() + delay);
}

void FakeD2xx::Answer(const std::string& command, std::vector<std::string> packets)
{
    answers[command] = std::move(packets);
}

void FakeD2xx::FailCall(Call call, int nth, FT_STATUS status)
{
    failures[{call, nth}] = status;
}

void FakeD2xx::FailEveryCall(Call call, FT_STATUS status)
{
    failEvery[call] = true;
    failEveryStatus[call] = status;
}

void FakeD2xx::LimitReadsTo(DWORD bytes)
{
    readLimit = bytes;
}

int FakeD2xx::Calls(Call call) const
{
    return calls[call];
}

int FakeD2xx::TotalCalls() const
{
    int total = 0;
    for (int n : calls) {
        total += n;
    }
    return total;
}

const std::string& FakeD2xx::Written() const
{
    return written;
}

const std::vector<std::string>& FakeD2xx::Writes() const
{
    return writes;
}

std::size_t FakeD2xx::Queued() const
{
    return visible.size();
}

bool FakeD2xx::IsOpen() const
{
    return open;
}

int FakeD2xx::BlockingReads() const
{
    return blockingReads;
}

void FakeD2xx::Schedule(const std::string& bytes, long readyAtPoll, Clock::time_point readyAt)
{
    pending.push_back({bytes, readyAtPoll, readyAt});
    DeliverDue();
}

void FakeD2xx::DeliverDue()
{
    const auto now = Clock::now();
    while (!pending.empty() && pending.front().readyAtPoll <= polls && pending.front().readyAt <= now) {
        visible += pending.front().bytes;
        pending.pop_front();
    }
}

// Counts the call and tells whether it is scripted to fail.
FT_STATUS FakeD2xx::Begin(Call call)
{
    const int nth = ++calls[call];
    if (failEvery[call]) {
        return failEveryStatus[call];
    }
    const auto failure = failures.find({call, nth});
    return failure == failures.end() ? FT_OK : failure->second;
}

FT_STATUS FakeD2xx::CheckHandle(FT_HANDLE handle) const
{
    return open && handle == this ? FT_OK : FT_INVALID_HANDLE;
}

// A call on a device: scripted to fail, or given a handle that is not open.
FT_STATUS FakeD2xx::Begin(Call call, FT_HANDLE handle)
{
    const FT_STATUS failure = Begin(call);
    return failure != FT_OK ? failure : CheckHandle(handle);
}

FT_STATUS FakeD2xx::FT_Open(int deviceNumber, FT_HANDLE* handle)
{
    if (const FT_STATUS failure = Begin(Open); failure != FT_OK) {
        *handle = BogusHandle;
        return failure;
    }
    if (open || deviceNumber != 0) {
        return FT_DEVICE_NOT_OPENED;
    }
    open = true;
    openedDevice = deviceNumber;
    *handle = this;
    return FT_OK;
}

FT_STATUS FakeD2xx::FT_Close(FT_HANDLE handle)
{
    const FT_STATUS failure = Begin(Close);
    if (const FT_STATUS status = CheckHandle(handle); status != FT_OK) {
        return status;
    }
    // A failed close still leaves the device unusable through that handle.
    open = false;
    return failure;
}

FT_STATUS FakeD2xx::FT_Read(FT_HANDLE handle, LPVOID buffer, DWORD bytesToRead, LPDWORD bytesReturned)
{
    const FT_STATUS status = Begin(Read, handle);
    if (status != FT_OK) {
        std::memset(buffer, Scribble, bytesToRead);
        *bytesReturned = bytesToRead;
        return status;
    }
    if (bytesToRead > visible.size()) {
        ++blockingReads;
    }
    const DWORD n = std::min({bytesToRead, static_cast<DWORD>(visible.size()), readLimit});
    std::memcpy(buffer, visible.data(), n);
    visible.erase(0, n);
    *bytesReturned = n;
    return FT_OK;
}

FT_STATUS FakeD2xx::FT_Write(FT_HANDLE handle, LPVOID buffer, DWORD bytesToWrite, LPDWORD bytesWritten)
{
    const FT_STATUS status = Begin(Write, handle);
    if (status != FT_OK) {
        *bytesWritten = 0xFFFFFFFF;
        return status;
    }
    const std::string bytes(static_cast<const char*>(buffer), bytesToWrite);
    written += bytes;
    writes.push_back(bytes);
    *bytesWritten = bytesToWrite;
    const auto answer = answers.find(bytes);
    if (answer != answers.end()) {
        for (std::size_t i = 0; i < answer->second.size(); ++i) {
            Arrive(answer->second[i], static_cast<int>(i));
        }
    }
    return FT_OK;
}

FT_STATUS FakeD2xx::FT_Purge(FT_HANDLE handle, ULONG mask)
{
    const FT_STATUS status = Begin(Purge, handle);
    if (status != FT_OK) {
        return status;
    }
    purgeMask = mask;
    if (mask & FT_PURGE_RX) {
        visible.clear();
    }
    return FT_OK;
}

FT_STATUS FakeD2xx::FT_GetQueueStatus(FT_HANDLE handle, DWORD* rxBytes)
{
    const FT_STATUS status = Begin(GetQueueStatus, handle);
    if (status != FT_OK) {
        *rxBytes = 0xFFFFFFFF;
        return status;
    }
    ++polls;
    DeliverDue();
    *rxBytes = static_cast<DWORD>(visible.size());
    return FT_OK;
}

FT_STATUS FakeD2xx::FT_SetUSBParameters(FT_HANDLE handle, ULONG inSize, ULONG outSize)
{
    const FT_STATUS status = Begin(SetUSBParameters, handle);
    if (status != FT_OK) {
        return status;
    }
    inTransferSize = inSize;
    outTransferSize = outSize;
    return FT_OK;
}
