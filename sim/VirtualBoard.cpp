#include "VirtualBoard.h"

#include <algorithm>
#include <fstream>

namespace {

constexpr ULONG MinTransferSize = 64;
constexpr ULONG MaxTransferSize = 65536;

}  // namespace

VirtualBoard::VirtualBoard(SimClock& clock, const BoardConfig& config)
    : clock_(clock)
    , config_(config)
    , firmware_(config)
    , bridge_(config.LatencyTimer)
{
    bridge_.PullCableAfter(config.Faults.CablePullAfterBytes);
}

// Runs the board up to the clock's present, in time order: the samples due
// before a latency flush, then the flush, and so on.
void VirtualBoard::CatchUp()
{
    now_ = std::max(clock_.Now(), now_);
    if (!bridge_.CablePulled())
        Produce();
    else if (pulledAt_ && config_.Faults.ReplugAfter && now_ - *pulledAt_ >= *config_.Faults.ReplugAfter)
        PowerUp();
    // The host learns of the pull at its next call; this one is close enough.
    if (bridge_.CablePulled() && !pulledAt_)
        pulledAt_ = now_;
}

void VirtualBoard::Produce()
{
    for (;;) {
        const std::optional<BoardTime> flush = bridge_.NextFlushTime();
        const BoardTime until = flush && *flush < now_ ? *flush : now_;
        firmware_.Produce(until, bridge_);
        // The samples may have completed that packet and begun a younger one,
        // whose time has not come yet.
        const std::optional<BoardTime> due = bridge_.NextFlushTime();
        if (due && *due <= until)
            bridge_.FlushPartialPacket();
        else if (until == now_)
            return;
    }
}

FT_STATUS VirtualBoard::Enter(FT_HANDLE handle)
{
    CatchUp();
    if (bridge_.CablePulled())
        return FT_IO_ERROR;
    if (!open_ || handle != this)
        return FT_INVALID_HANDLE;
    return FT_OK;
}

FT_STATUS VirtualBoard::FT_Open(int deviceNumber, FT_HANDLE* handle)
{
    if (handle == nullptr)
        return FT_INVALID_PARAMETER;
    CatchUp();
    if (config_.Faults.Absent || bridge_.CablePulled() || deviceNumber != 0)
        return FT_DEVICE_NOT_FOUND;
    if (open_)
        return FT_DEVICE_NOT_OPENED;
    open_ = true;
    bridge_.Attach();
    *handle = this;
    return FT_OK;
}

FT_STATUS VirtualBoard::FT_Close(FT_HANDLE handle)
{
    const FT_STATUS status = Enter(handle);
    // After the cable came out the call fails, but the handle is gone all
    // the same, so the device can be opened again once it is back.
    if (status == FT_OK || (status == FT_IO_ERROR && open_ && handle == this)) {
        open_ = false;
        bridge_.Detach();
    }
    return status;
}

// The common part of a read and a write: the count is 0 unless the transfer
// happens, and both need somewhere to put it and a buffer for any bytes.
FT_STATUS VirtualBoard::EnterTransfer(FT_HANDLE handle, const void* buffer, DWORD bytes, LPDWORD counted)
{
    if (counted != nullptr)
        *counted = 0;
    const FT_STATUS status = Enter(handle);
    if (status != FT_OK)
        return status;
    if (counted == nullptr || (buffer == nullptr && bytes > 0))
        return FT_INVALID_PARAMETER;
    return FT_OK;
}

FT_STATUS VirtualBoard::FT_Read(FT_HANDLE handle, LPVOID buffer, DWORD bytesToRead, LPDWORD bytesReturned)
{
    const FT_STATUS status = EnterTransfer(handle, buffer, bytesToRead, bytesReturned);
    if (status == FT_OK) {
        *bytesReturned = static_cast<DWORD>(bridge_.Read(static_cast<std::uint8_t*>(buffer), bytesToRead));
        MarkStallTaken();
    }
    return status;
}

void VirtualBoard::MarkStallTaken()
{
    if (config_.StallMark.empty() || stallMarked_ || !firmware_.StreamStalled() || !bridge_.Drained())
        return;
    std::ofstream(config_.StallMark).put('\n');
    stallMarked_ = true;
}

FT_STATUS VirtualBoard::FT_Write(FT_HANDLE handle, LPVOID buffer, DWORD bytesToWrite, LPDWORD bytesWritten)
{
    const FT_STATUS status = EnterTransfer(handle, buffer, bytesToWrite, bytesWritten);
    if (status == FT_OK) {
        firmware_.Receive(static_cast<const std::uint8_t*>(buffer), bytesToWrite, now_, bridge_);
        *bytesWritten = bytesToWrite;
    }
    return status;
}

FT_STATUS VirtualBoard::FT_Purge(FT_HANDLE handle, ULONG mask)
{
    const FT_STATUS status = Enter(handle);
    if (status != FT_OK)
        return status;
    if ((mask & ~static_cast<ULONG>(FT_PURGE_RX | FT_PURGE_TX)) != 0)
        return FT_INVALID_PARAMETER;
    if ((mask & FT_PURGE_RX) != 0)
        bridge_.PurgeReceive();
    return FT_OK;
}

FT_STATUS VirtualBoard::FT_GetQueueStatus(FT_HANDLE handle, DWORD* rxBytes)
{
    const FT_STATUS status = Enter(handle);
    if (status != FT_OK)
        return status;
    if (rxBytes == nullptr)
        return FT_INVALID_PARAMETER;
    *rxBytes = static_cast<DWORD>(bridge_.Queued());
    return FT_OK;
}

// The in-transfer size must be a multiple of 64 from 64 to 64 KiB; the
// out-transfer size is ignored, as the vendor's driver ignores it.
FT_STATUS VirtualBoard::FT_SetUSBParameters(FT_HANDLE handle, ULONG inTransferSize, ULONG)
{
    const FT_STATUS status = Enter(handle);
    if (status != FT_OK)
        return status;
    if (inTransferSize < MinTransferSize || inTransferSize > MaxTransferSize || inTransferSize % MinTransferSize != 0)
        return FT_INVALID_PARAMETER;
    return FT_OK;
}

void VirtualBoard::SetSignals(const SignalConfig& inputs)
{
    CatchUp();
    config_.Signals = inputs;
    firmware_.SetSignals(inputs);
}

void VirtualBoard::SetFaults(const BoardFaults& faults)
{
    CatchUp();
    config_.Faults = faults;
    firmware_.SetFaults(faults);
    if (!bridge_.CablePulled())
        bridge_.PullCableAfter(faults.CablePullAfterBytes);
}

void VirtualBoard::ReplugCable()
{
    CatchUp();
    PowerUp();
}

void VirtualBoard::PowerUp()
{
    if (!config_.Faults.ReplugRepeats)
        config_.Faults.CablePullAfterBytes.reset();
    firmware_ = BoardFirmware(config_);
    bridge_.Reset();
    bridge_.PullCableAfter(config_.Faults.CablePullAfterBytes);
    open_ = false;
    pulledAt_.reset();
}

void VirtualBoard::HostBufferHolds(std::size_t bytes)
{
    CatchUp();
    bridge_.HostBufferHolds(bytes);
    MarkStallTaken();
}

bool VirtualBoard::CableIn()
{
    CatchUp();
    return !bridge_.CablePulled();
}

bool VirtualBoard::Running() const
{
    return firmware_.Running();
}

std::uint64_t VirtualBoard::LostSamples() const
{
    return firmware_.LostSamples();
}
