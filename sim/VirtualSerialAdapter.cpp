#include "VirtualSerialAdapter.h"

#include <algorithm>
#include <cstring>

VirtualSerialAdapter::VirtualSerialAdapter(bool echo)
    : echo_(echo)
{
}

FT_STATUS VirtualSerialAdapter::Enter(FT_HANDLE handle) const
{
    return open_ && handle == this ? FT_OK : FT_INVALID_HANDLE;
}

FT_STATUS VirtualSerialAdapter::FT_Open(int deviceNumber, FT_HANDLE* handle)
{
    if (handle == nullptr)
        return FT_INVALID_PARAMETER;
    if (deviceNumber != 0)
        return FT_DEVICE_NOT_FOUND;
    if (open_)
        return FT_DEVICE_NOT_OPENED;
    open_ = true;
    queue_.clear();
    *handle = this;
    return FT_OK;
}

FT_STATUS VirtualSerialAdapter::FT_Close(FT_HANDLE handle)
{
    const FT_STATUS status = Enter(handle);
    if (status == FT_OK)
        open_ = false;
    return status;
}

FT_STATUS VirtualSerialAdapter::FT_Read(FT_HANDLE handle, LPVOID buffer, DWORD bytesToRead, LPDWORD bytesReturned)
{
    const FT_STATUS status = Enter(handle);
    if (status != FT_OK)
        return status;
    if (bytesReturned == nullptr || (buffer == nullptr && bytesToRead > 0))
        return FT_INVALID_PARAMETER;
    const std::size_t count = std::min<std::size_t>(bytesToRead, queue_.size());
    std::memcpy(buffer, queue_.data(), count);
    queue_.erase(0, count);
    *bytesReturned = static_cast<DWORD>(count);
    return FT_OK;
}

FT_STATUS VirtualSerialAdapter::FT_Write(FT_HANDLE handle, LPVOID buffer, DWORD bytesToWrite, LPDWORD bytesWritten)
{
    const FT_STATUS status = Enter(handle);
    if (status != FT_OK)
        return status;
    if (bytesWritten == nullptr || (buffer == nullptr && bytesToWrite > 0))
        return FT_INVALID_PARAMETER;
    if (echo_)
        queue_.append(static_cast<const char*>(buffer), bytesToWrite);
    *bytesWritten = bytesToWrite;
    return FT_OK;
}

FT_STATUS VirtualSerialAdapter::FT_Purge(FT_HANDLE handle, ULONG mask)
{
    const FT_STATUS status = Enter(handle);
    if (status != FT_OK)
        return status;
    if ((mask & FT_PURGE_RX) != 0)
        queue_.clear();
    return FT_OK;
}

FT_STATUS VirtualSerialAdapter::FT_GetQueueStatus(FT_HANDLE handle, DWORD* rxBytes)
{
    const FT_STATUS status = Enter(handle);
    if (status != FT_OK)
        return status;
    if (rxBytes == nullptr)
        return FT_INVALID_PARAMETER;
    *rxBytes = static_cast<DWORD>(queue_.size());
    return FT_OK;
}

FT_STATUS VirtualSerialAdapter::FT_SetUSBParameters(FT_HANDLE handle, ULONG, ULONG)
{
    return Enter(handle);
}
