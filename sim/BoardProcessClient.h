#pragma once

#include "BoardProcessLink.h"
#include "BoardStream.h"

#include "D2xx.h"

#include <memory>

// The D2XX calls of the drop-in library when the board runs in a process of
// its own: each call goes to the board process as one request and returns
// what the devices there returned. Without a board process every device is
// gone, as when a cable is pulled: calls on a handle fail with FT_IO_ERROR,
// opening finds no device, the list is empty. Calls are not serialised
// here; the caller takes one at a time.
//
// When the link shares a stream (BoardStream) with the board process, a
// handle given a slot of it is read and counted from there, without a
// request, while the board process lives.
class BoardProcessClient : public D2xx, private D2xxDiscovery {
public:
    explicit BoardProcessClient(std::unique_ptr<BoardProcessLink> link);

    FT_STATUS FT_Open(int deviceNumber, FT_HANDLE* handle) override;
    FT_STATUS FT_Close(FT_HANDLE handle) override;
    FT_STATUS FT_Read(FT_HANDLE handle, LPVOID buffer, DWORD bytesToRead, LPDWORD bytesReturned) override;
    FT_STATUS FT_Write(FT_HANDLE handle, LPVOID buffer, DWORD bytesToWrite, LPDWORD bytesWritten) override;
    FT_STATUS FT_Purge(FT_HANDLE handle, ULONG mask) override;
    FT_STATUS FT_GetQueueStatus(FT_HANDLE handle, DWORD* rxBytes) override;
    FT_STATUS FT_SetUSBParameters(FT_HANDLE handle, ULONG inTransferSize, ULONG outTransferSize) override;
    D2xxDiscovery* Discovery() override { return this; }

    FT_STATUS FT_CreateDeviceInfoList(LPDWORD numDevs) override;
    FT_STATUS FT_GetDeviceInfoDetail(DWORD index, LPDWORD flags, LPDWORD type, LPDWORD id, LPDWORD locId,
                                     LPVOID serialNumber, LPVOID description, FT_HANDLE* handle) override;
    FT_STATUS FT_OpenEx(LPVOID arg1, DWORD flags, FT_HANDLE* handle) override;

private:
    // The open handles given a slot of the stream, and their slots.
    struct Streamed {
        FT_HANDLE Handle = nullptr;
        BoardStream::Slot* Slot = nullptr;
    };

    BoardStream::Slot* SlotOf(FT_HANDLE handle) const;
    void Remember(FT_HANDLE handle, std::uint32_t slotNumber);
    void Forget(FT_HANDLE handle);

    // The reply's head, or `gone` as the status when no board process answered.
    BoardProcessProtocol::ReplyHead Ask(const BoardProcessProtocol::Request& request, FT_STATUS gone,
                                        void* bytes = nullptr, std::size_t room = 0, std::size_t* got = nullptr);

    std::unique_ptr<BoardProcessLink> link_;
    BoardStream::Region* stream_ = nullptr;
    Streamed streamed_[BoardStream::SlotCount];
};
