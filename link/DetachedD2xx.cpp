#include "DetachedD2xx.h"

// No handle is ever handed out, so every call but FT_Open names an invalid one.

FT_STATUS DetachedD2xx::FT_Open(int /*deviceNumber*/, FT_HANDLE* handle)
{
    if (handle != nullptr) {
        *handle = nullptr;
    }
    return FT_DEVICE_NOT_FOUND;
}

FT_STATUS DetachedD2xx::FT_Close(FT_HANDLE /*handle*/)
{
    return FT_INVALID_HANDLE;
}

FT_STATUS DetachedD2xx::FT_Read(FT_HANDLE, LPVOID, DWORD, LPDWORD bytesReturned)
{
    if (bytesReturned != nullptr) {
        *bytesReturned = 0;
    }
    return FT_INVALID_HANDLE;
}

FT_STATUS DetachedD2xx::FT_Write(FT_HANDLE, LPVOID, DWORD, LPDWORD bytesWritten)
{
    if (bytesWritten != nullptr) {
        *bytesWritten = 0;
    }
    return FT_INVALID_HANDLE;
}

FT_STATUS DetachedD2xx::FT_Purge(FT_HANDLE, ULONG)
{
    return FT_INVALID_HANDLE;
}

FT_STATUS DetachedD2xx::FT_GetQueueStatus(FT_HANDLE, DWORD* rxBytes)
{
    if (rxBytes != nullptr) {
        *rxBytes = 0;
    }
    return FT_INVALID_HANDLE;
}

FT_STATUS DetachedD2xx::FT_SetUSBParameters(FT_HANDLE, ULONG, ULONG)
{
    return FT_INVALID_HANDLE;
}
