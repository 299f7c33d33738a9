#pragma once

#include "D2xx.h"
#include "ReceiveQueue.h"
#include "UsbCatalogue.h"
#include "UsbPort.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <vector>

// Opens FTDI device number deviceNumber, or gives null and says why in status.
using UsbPortOpener = std::function<std::unique_ptr<UsbPort>(int deviceNumber, FT_STATUS& status)>;

// The seven D2XX functions on an open-source USB layer, for machines without
// the vendor library. One device at a time; its handle is valid from FT_Open
// to FT_Close. Received bytes are answered from the driver's own queue, so
// FT_GetQueueStatus and FT_Read never wait for USB. After a USB error every
// call on the handle fails with FT_IO_ERROR, except FT_Close, which still
// releases the device. With a catalogue it also lists the devices on the bus
// and opens one by serial number (FT_OpenEx); device numbers then open
// through the catalogue too.
class FtdiD2xx final : public D2xx, private D2xxDiscovery {
public:
    // Holds a whole run of both channels (100000 frames of 6 bytes) with room to spare.
    static constexpr std::size_t ReceiveCapacity = std::size_t(1) << 20;

    explicit FtdiD2xx(UsbPortOpener opener, std::size_t receiveCapacity = ReceiveCapacity);
    FtdiD2xx(std::unique_ptr<UsbCatalogue> catalogue, std::size_t receiveCapacity = ReceiveCapacity);
    ~FtdiD2xx() override;

    FT_STATUS FT_Open(int deviceNumber, FT_HANDLE* handle) override;
    FT_STATUS FT_Close(FT_HANDLE handle) override;
    FT_STATUS FT_Read(FT_HANDLE handle, LPVOID buffer, DWORD bytesToRead, LPDWORD bytesReturned) override;
    FT_STATUS FT_Write(FT_HANDLE handle, LPVOID buffer, DWORD bytesToWrite, LPDWORD bytesWritten) override;
    FT_STATUS FT_Purge(FT_HANDLE handle, ULONG mask) override;
    FT_STATUS FT_GetQueueStatus(FT_HANDLE handle, DWORD* rxBytes) override;
    FT_STATUS FT_SetUSBParameters(FT_HANDLE handle, ULONG inTransferSize, ULONG outTransferSize) override;
    D2xxDiscovery* Discovery() override;

private:
    FT_STATUS FT_CreateDeviceInfoList(LPDWORD numDevs) override;
    FT_STATUS FT_GetDeviceInfoDetail(DWORD index, LPDWORD flags, LPDWORD type, LPDWORD id, LPDWORD locId,
                                     LPVOID serialNumber, LPVOID description, FT_HANDLE* handle) override;
    FT_STATUS FT_OpenEx(LPVOID arg1, DWORD flags, FT_HANDLE* handle) override;
    bool DescribeEntry(DWORD index, D2xxEntryNote& note) override;

    // Opens the port `open` gives as the one device of this driver.
    FT_STATUS OpenPort(FT_HANDLE* handle, const std::function<std::unique_ptr<UsbPort>(FT_STATUS&)>& open);
    bool IsOpenHandle(FT_HANDLE handle) const;
    // FT_OK for the open handle while USB works, else the status to return.
    FT_STATUS Usable(FT_HANDLE handle) const;
    // Usable, with the byte count zeroed and the buffer and count checked.
    FT_STATUS StartTransfer(FT_HANDLE handle, const void* buffer, DWORD count, LPDWORD done) const;
    FT_STATUS PurgeTransmit();
    void CloseDevice();

    std::unique_ptr<UsbCatalogue> catalogue_;   // null: no device list
    UsbPortOpener opener_;
    std::size_t receiveCapacity_;
    std::vector<UsbListing> snapshot_;   // the latest device list
    std::unique_ptr<UsbPort> port_;
    std::unique_ptr<ReceiveQueue> queue_;   // reads from port_: goes first, comes last
    bool writeSideFailed_ = false;
};

// The driver on libftdi1, as the D2XX loader uses it.
std::unique_ptr<D2xx> CreateFtdiD2xx();
