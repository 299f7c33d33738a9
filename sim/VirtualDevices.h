#pragma once

#include "BoardConfig.h"
#include "SimClock.h"

#include "D2xx.h"

#include <cstddef>
#include <memory>
#include <vector>

// The FTDI devices on one computer, as the drop-in library presents them:
// KORVADEX Boards (each its own VirtualBoard on the shared clock) and
// USB-serial adapters, listed by FT_CreateDeviceInfoList and
// FT_GetDeviceInfoDetail, opened by index or by serial number. A device
// marked busy is listed as opened and cannot be opened. A board whose cable
// is out is off the bus: not listed, not opened, the others' indexes closing
// up, until its cable goes back in. Every handle is the device's own, so the
// calls on it go to that device alone.
class VirtualDevices : public D2xx, private D2xxDiscovery {
public:
    // Boards are made from `board` with each device's own offset and noise; a
    // board whose faults say absent is not on the bus. The clock must outlive
    // the devices.
    VirtualDevices(SimClock& clock, const std::vector<SimDevice>& devices, const BoardConfig& board);
    ~VirtualDevices() override;

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

    // What the host's driver holds of what it read from the device with
    // this handle (a board's; nothing for another device).
    void HostBufferHolds(FT_HANDLE handle, std::size_t bytes);

private:
    struct Device;

    Device* Holding(FT_HANDLE handle);
    // The devices on the bus now, in index order.
    std::vector<Device*> OnTheBus();

    std::vector<std::unique_ptr<Device>> devices_;
};
