#include "ChosenD2xx.h"

ChosenD2xx::ChosenD2xx(D2xx& driver)
    : driver_(driver)
{
}

bool ChosenD2xx::Choose(const std::string& serial)
{
    serial_.clear();
    if (serial.empty())
        return true;
    if (driver_.Discovery() == nullptr)
        return false;
    serial_ = serial;
    return true;
}

FT_STATUS ChosenD2xx::FT_Open(int deviceNumber, FT_HANDLE* handle)
{
    if (serial_.empty())
        return driver_.FT_Open(deviceNumber, handle);
    if (deviceNumber != 0)
        return FT_DEVICE_NOT_FOUND;
    // The driver takes the serial number as a plain NUL-terminated text.
    return driver_.Discovery()->FT_OpenEx(serial_.data(), FT_OPEN_BY_SERIAL_NUMBER, handle);
}

FT_STATUS ChosenD2xx::FT_Close(FT_HANDLE handle)
{
    return driver_.FT_Close(handle);
}

FT_STATUS ChosenD2xx::FT_Read(FT_HANDLE handle, LPVOID buffer, DWORD bytesToRead, LPDWORD bytesReturned)
{
    return driver_.FT_Read(handle, buffer, bytesToRead, bytesReturned);
}

FT_STATUS ChosenD2xx::FT_Write(FT_HANDLE handle, LPVOID buffer, DWORD bytesToWrite, LPDWORD bytesWritten)
{
    return driver_.FT_Write(handle, buffer, bytesToWrite, bytesWritten);
}

FT_STATUS ChosenD2xx::FT_Purge(FT_HANDLE handle, ULONG mask)
{
    return driver_.FT_Purge(handle, mask);
}

FT_STATUS ChosenD2xx::FT_GetQueueStatus(FT_HANDLE handle, DWORD* rxBytes)
{
    return driver_.FT_GetQueueStatus(handle, rxBytes);
}

FT_STATUS ChosenD2xx::FT_SetUSBParameters(FT_HANDLE handle, ULONG inTransferSize, ULONG outTransferSize)
{
    return driver_.FT_SetUSBParameters(handle, inTransferSize, outTransferSize);
}

D2xxDiscovery* ChosenD2xx::Discovery()
{
    return driver_.Discovery();
}
