#include "FtdiD2xx.h"

#include "FtdiUsb.h"

#include <climits>
#include <exception>
#include <utility>

FtdiD2xx::FtdiD2xx(UsbPortOpener opener, std::size_t receiveCapacity)
    : opener_(std::move(opener))
    , receiveCapacity_(receiveCapacity)
{
}

FtdiD2xx::~FtdiD2xx()
{
    CloseDevice();
}

FT_STATUS FtdiD2xx::FT_Open(int deviceNumber, FT_HANDLE* handle)
{
    if (handle == nullptr)
        return FT_INVALID_PARAMETER;
    *handle = nullptr;
    if (port_)
        return FT_DEVICE_NOT_OPENED;
    FT_STATUS status = FT_DEVICE_NOT_FOUND;
    std::unique_ptr<UsbPort> port = opener_(deviceNumber, status);
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
    return std::make_unique<FtdiD2xx>(&FtdiUsb::Open);
}
