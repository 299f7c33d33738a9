#include "FtdiD2xx.h"

#include "FtdiCatalogue.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <exception>
#include <utility>

FtdiD2xx::FtdiD2xx(UsbPortOpener opener, std::size_t receiveCapacity)
    : opener_(std::move(opener))
    , receiveCapacity_(receiveCapacity)
{
}

FtdiD2xx::FtdiD2xx(std::unique_ptr<UsbCatalogue> catalogue, std::size_t receiveCapacity)
    : catalogue_(std::move(catalogue))
    , opener_([this](int deviceNumber, FT_STATUS& status) { return catalogue_->OpenNumber(deviceNumber, status); })
    , receiveCapacity_(receiveCapacity)
{
}

FtdiD2xx::~FtdiD2xx()
{
    CloseDevice();
}

FT_STATUS FtdiD2xx::FT_Open(int deviceNumber, FT_HANDLE* handle)
{
    return OpenPort(handle, [&](FT_STATUS& status) { return opener_(deviceNumber, status); });
}

FT_STATUS FtdiD2xx::OpenPort(FT_HANDLE* handle, const std::function<std::unique_ptr<UsbPort>(FT_STATUS&)>& open)
{
    if (handle == nullptr)
        return FT_INVALID_PARAMETER;
    *handle = nullptr;
    if (port_)
        return FT_DEVICE_NOT_OPENED;
    FT_STATUS status = FT_DEVICE_NOT_FOUND;
    std::unique_ptr<UsbPort> port = open(status);
    if (!port)
        return status;
    try {
        queue_ = std::make_unique<ReceiveQueue>(*port, receiveCapacity_);
    } catch (const std::exception&) {
        // No memory for the ring or no thread for the reader: the device closes again.
        return FT_INSUFFICIENT_RESOURCES;
    }
    port_ = std::move(port);
    writeSideFailed_ = false;
    *handle = port_.get();
    return FT_OK;
}

FT_STATUS FtdiD2xx::FT_Close(FT_HANDLE handle)
{
    if (!IsOpenHandle(handle))
        return FT_INVALID_HANDLE;
    CloseDevice();
    return FT_OK;
}

FT_STATUS FtdiD2xx::FT_Read(FT_HANDLE handle, LPVOID buffer, DWORD bytesToRead, LPDWORD bytesReturned)
{
    const FT_STATUS status = StartTransfer(handle, buffer, bytesToRead, bytesReturned);
    if (status != FT_OK)
        return status;
    // Only what is queued already: the link asks for no more than the queue
    // count, and a read that waited would stall the window.
    *bytesReturned = static_cast<DWORD>(queue_->Take(static_cast<unsigned char*>(buffer), bytesToRead));
    return FT_OK;
}

FT_STATUS FtdiD2xx::FT_Write(FT_HANDLE handle, LPVOID buffer, DWORD bytesToWrite, LPDWORD bytesWritten)
{
    const FT_STATUS status = StartTransfer(handle, buffer, bytesToWrite, bytesWritten);
    if (status != FT_OK)
        return status;
    if (bytesToWrite > INT_MAX)
        return FT_INVALID_PARAMETER;
    const int written = port_->Write(static_cast<const unsigned char*>(buffer), static_cast<int>(bytesToWrite));
    if (written < 0) {
        writeSideFailed_ = true;
        return FT_IO_ERROR;
    }
    *bytesWritten = static_cast<DWORD>(written);
    return FT_OK;
}

FT_STATUS FtdiD2xx::FT_Purge(FT_HANDLE handle, ULONG mask)
{
    const FT_STATUS status = Usable(handle);
    if (status != FT_OK)
        return status;
    if ((mask & ~ULONG(FT_PURGE_RX | FT_PURGE_TX)) != 0)
        return FT_INVALID_PARAMETER;
    if ((mask & FT_PURGE_RX) != 0 && !queue_->Purge())
        return FT_IO_ERROR;
    if ((mask & FT_PURGE_TX) != 0)
        return PurgeTransmit();
    return FT_OK;
}

FT_STATUS FtdiD2xx::FT_GetQueueStatus(FT_HANDLE handle, DWORD* rxBytes)
{
    if (rxBytes != nullptr)
        *rxBytes = 0;
    const FT_STATUS status = Usable(handle);
    if (status != FT_OK)
        return status;
    if (rxBytes == nullptr)
        return FT_INVALID_PARAMETER;
    *rxBytes = static_cast<DWORD>(queue_->Queued());
    return FT_OK;
}

FT_STATUS FtdiD2xx::FT_SetUSBParameters(FT_HANDLE handle, ULONG inTransferSize, ULONG /*outTransferSize*/)
{
    const FT_STATUS status = Usable(handle);
    if (status != FT_OK)
        return status;
    // The vendor's rule for the in-transfer size: a multiple of 64 from 64 bytes
    // to 64 KiB. The out-transfer size has no counterpart here.
    if (inTransferSize < 64 || inTransferSize > ReceiveQueue::MaxReadChunk || inTransferSize % 64 != 0)
        return FT_INVALID_PARAMETER;
    queue_->SetReadChunk(inTransferSize);
    return FT_OK;
}

D2xxDiscovery* FtdiD2xx::Discovery()
{
    if (catalogue_)
        return this;
    return nullptr;
}

FT_STATUS FtdiD2xx::FT_CreateDeviceInfoList(LPDWORD numDevs)
{
    if (numDevs == nullptr)
        return FT_INVALID_PARAMETER;
    snapshot_ = catalogue_->List();
    *numDevs = static_cast<DWORD>(snapshot_.size());
    return FT_OK;
}

FT_STATUS FtdiD2xx::FT_GetDeviceInfoDetail(DWORD index, LPDWORD flags, LPDWORD type, LPDWORD id, LPDWORD locId,
                                           LPVOID serialNumber, LPVOID description, FT_HANDLE* handle)
{
    if (index >= snapshot_.size())
        return FT_DEVICE_NOT_FOUND;
    const UsbListing& listing = snapshot_[index];
    if (flags != nullptr)
        *flags = listing.Note.State == DeviceState::Busy ? FT_FLAGS_OPENED : 0;
    if (type != nullptr)
        *type = listing.Type;
    if (id != nullptr)
        *id = listing.Id;
    if (locId != nullptr)
        *locId = listing.LocId;
    const auto copy = [](const std::string& text, LPVOID destination, DWORD size) {
        if (destination == nullptr)
            return;
        const std::size_t count = std::min<std::size_t>(text.size(), size - 1);
        std::memcpy(destination, text.data(), count);
        static_cast<char*>(destination)[count] = '\0';
    };
    copy(listing.Serial, serialNumber, FT_SerialNumberSize);
    copy(listing.Description, description, FT_DescriptionSize);
    if (handle != nullptr)
        *handle = nullptr;
    return FT_OK;
}

FT_STATUS FtdiD2xx::FT_OpenEx(LPVOID arg1, DWORD flags, FT_HANDLE* handle)
{
    if (arg1 == nullptr || flags != FT_OPEN_BY_SERIAL_NUMBER)
        return FT_INVALID_PARAMETER;
    const std::string serial(static_cast<const char*>(arg1));
    return OpenPort(handle, [&](FT_STATUS& status) { return catalogue_->OpenSerial(serial, status); });
}

bool FtdiD2xx::DescribeEntry(DWORD index, D2xxEntryNote& note)
{
    if (index >= snapshot_.size())
        return false;
    note = snapshot_[index].Note;
    return true;
}

bool FtdiD2xx::IsOpenHandle(FT_HANDLE handle) const
{
    return port_ && handle == static_cast<FT_HANDLE>(port_.get());
}

FT_STATUS FtdiD2xx::Usable(FT_HANDLE handle) const
{
    if (!IsOpenHandle(handle))
        return FT_INVALID_HANDLE;
    if (writeSideFailed_ || queue_->Failed())
        return FT_IO_ERROR;
    return FT_OK;
}

FT_STATUS FtdiD2xx::StartTransfer(FT_HANDLE handle, const void* buffer, DWORD count, LPDWORD done) const
{
    if (done != nullptr)
        *done = 0;
    const FT_STATUS status = Usable(handle);
    if (status != FT_OK)
        return status;
    if (done == nullptr || (buffer == nullptr && count > 0))
        return FT_INVALID_PARAMETER;
    return FT_OK;
}

FT_STATUS FtdiD2xx::PurgeTransmit()
{
    if (port_->DiscardTransmit())
        return FT_OK;
    writeSideFailed_ = true;
    return FT_IO_ERROR;
}

void FtdiD2xx::CloseDevice()
{
    queue_.reset();
    port_.reset();
}

std::unique_ptr<D2xx> CreateFtdiD2xx()
{
    return std::make_unique<FtdiD2xx>(std::make_unique<FtdiCatalogue>());
}
