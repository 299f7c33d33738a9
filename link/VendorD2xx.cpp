#include "VendorD2xx.h"

namespace {

template <typename Fn>
bool Bind(const SharedLibrary& library, const char* name, int ordinal, Fn& fn)
{
    fn = reinterpret_cast<Fn>(library.Find(name, ordinal));
    return fn != nullptr;
}

template <typename Fn>
bool BindByName(const SharedLibrary& library, const char* name, Fn& fn)
{
    fn = reinterpret_cast<Fn>(library.FindByName(name));
    return fn != nullptr;
}

} // namespace

std::unique_ptr<D2xx> VendorD2xx::Load(const char* path)
{
    std::unique_ptr<VendorD2xx> d2xx(new VendorD2xx);
    d2xx->library = SharedLibrary::Open(path);
    if (d2xx->library == nullptr || !d2xx->BindAll()) {
        return nullptr;
    }
    d2xx->discovery = d2xx->BindDiscovery();
    return d2xx;
}

// The vendor's export names, and the ordinals its Windows DLL is imported by.
bool VendorD2xx::BindAll()
{
    return Bind(*library, "FT_Open", 1, open)
        && Bind(*library, "FT_Close", 2, close)
        && Bind(*library, "FT_Read", 3, read)
        && Bind(*library, "FT_Write", 4, write)
        && Bind(*library, "FT_Purge", 16, purge)
        && Bind(*library, "FT_GetQueueStatus", 18, getQueueStatus)
        && Bind(*library, "FT_SetUSBParameters", 33, setUSBParameters);
}

// Not among the ordinals the program imports: by name on every platform.
bool VendorD2xx::BindDiscovery()
{
    return BindByName(*library, "FT_CreateDeviceInfoList", createDeviceInfoList)
        && BindByName(*library, "FT_GetDeviceInfoDetail", getDeviceInfoDetail)
        && BindByName(*library, "FT_OpenEx", openEx);
}

D2xxDiscovery* VendorD2xx::Discovery()
{
    return discovery ? this : nullptr;
}

FT_STATUS VendorD2xx::FT_CreateDeviceInfoList(LPDWORD numDevs)
{
    return createDeviceInfoList(numDevs);
}

FT_STATUS VendorD2xx::FT_GetDeviceInfoDetail(DWORD index, LPDWORD flags, LPDWORD type, LPDWORD id, LPDWORD locId,
                                             LPVOID serialNumber, LPVOID description, FT_HANDLE* handle)
{
    return getDeviceInfoDetail(index, flags, type, id, locId, serialNumber, description, handle);
}

FT_STATUS VendorD2xx::FT_OpenEx(LPVOID arg1, DWORD flags, FT_HANDLE* handle)
{
    return openEx(arg1, flags, handle);
}

FT_STATUS VendorD2xx::FT_Open(int deviceNumber, FT_HANDLE* handle)
{
    return open(deviceNumber, handle);
}

FT_STATUS VendorD2xx::FT_Close(FT_HANDLE handle)
{
    return close(handle);
}

FT_STATUS VendorD2xx::FT_Read(FT_HANDLE handle, LPVOID buffer, DWORD bytesToRead, LPDWORD bytesReturned)
{
    return read(handle, buffer, bytesToRead, bytesReturned);
}

FT_STATUS VendorD2xx::FT_Write(FT_HANDLE handle, LPVOID buffer, DWORD bytesToWrite, LPDWORD bytesWritten)
{
    return write(handle, buffer, bytesToWrite, bytesWritten);
}

FT_STATUS VendorD2xx::FT_Purge(FT_HANDLE handle, ULONG mask)
{
    return purge(handle, mask);
}

FT_STATUS VendorD2xx::FT_GetQueueStatus(FT_HANDLE handle, DWORD* rxBytes)
{
    return getQueueStatus(handle, rxBytes);
}

FT_STATUS VendorD2xx::FT_SetUSBParameters(FT_HANDLE handle, ULONG inTransferSize, ULONG outTransferSize)
{
    return setUSBParameters(handle, inTransferSize, outTransferSize);
}
