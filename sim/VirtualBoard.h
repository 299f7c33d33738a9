#pragma once

#include "BoardConfig.h"
#include "BoardFirmware.h"
#include "SimClock.h"
#include "UsbBridge.h"

#include "D2xx.h"

#include <cstddef>
#include <cstdint>
#include <optional>

// The KORVADEX Board, its USB bridge and the host driver, behind the seven
// D2XX functions. Nothing runs in the background: every call first works out
// from the clock what the board has done since the previous call (samples
// converted and sent, packets flushed), then does what was asked.
//
// Departures from the vendor's driver, all on paths the program never takes:
// FT_Read returns at once with what is queued when asked for more (the vendor
// would wait for its read time-out), and purging the transmit side has nothing
// to purge because written bytes reach the board at once.
class VirtualBoard : public D2xx {
public:
    // The clock must outlive the board.
    explicit VirtualBoard(SimClock& clock, const BoardConfig& config = BoardConfig());

    FT_STATUS FT_Open(int deviceNumber, FT_HANDLE* handle) override;
    FT_STATUS FT_Close(FT_HANDLE handle) override;
    FT_STATUS FT_Read(FT_HANDLE handle, LPVOID buffer, DWORD bytesToRead, LPDWORD bytesReturned) override;
    FT_STATUS FT_Write(FT_HANDLE handle, LPVOID buffer, DWORD bytesToWrite, LPDWORD bytesWritten) override;
    FT_STATUS FT_Purge(FT_HANDLE handle, ULONG mask) override;
    FT_STATUS FT_GetQueueStatus(FT_HANDLE handle, DWORD* rxBytes) override;
    FT_STATUS FT_SetUSBParameters(FT_HANDLE handle, ULONG inTransferSize, ULONG outTransferSize) override;

    // Take effect from the next call on. A run in progress keeps going with
    // the new signals. A pulled cable stays out until ReplugCable.
    void SetSignals(const SignalConfig& inputs);
    void SetFaults(const BoardFaults& faults);

    // A good cable goes in: the board powers up afresh (idle, default
    // settings) and any open handle is gone.
    void ReplugCable();
    // Whether the cable is in, once a replug that fell due (ReplugAfter) is done.
    bool CableIn();

    // What the host's driver holds of what it read, in a buffer of its own
    // (see UsbBridge::HostBufferHolds).
    void HostBufferHolds(std::size_t bytes);

    bool Running() const;
    // Samples (frames in mode 2) lost because the host did not read in time.
    std::uint64_t LostSamples() const;

private:
    void CatchUp();
    void Produce();
    // Makes the StallMark file once the host has taken all a stalled run sent.
    void MarkStallTaken();
    void PowerUp();
    FT_STATUS Enter(FT_HANDLE handle);
    FT_STATUS EnterTransfer(FT_HANDLE handle, const void* buffer, DWORD bytes, LPDWORD counted);

    SimClock& clock_;
    BoardConfig config_;
    BoardFirmware firmware_;
    UsbBridge bridge_;
    bool open_ = false;
    BoardTime now_{0};
    std::optional<BoardTime> pulledAt_;  // when the cable was seen to come out
    bool stallMarked_ = false;
};
