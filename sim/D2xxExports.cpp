// The drop-in driver library: the seven D2XX functions with the vendor's C
// prototypes, and the device list with FT_OpenEx, answered by the virtual
// devices of one process (by default one board). They are made on the first
// call, from the KORVADEX_SIM_* variables, running on the machine's monotonic
// clock.

#include "EnvironmentSettings.h"
#include "RealClock.h"
#include "VirtualDevices.h"

#include "D2xx.h"

#include <cstdio>
#include <cstdlib>
#include <mutex>

#if defined(_WIN32)
#define KORVADEX_SIM_EXPORT __declspec(dllexport)
#else
#define KORVADEX_SIM_EXPORT __attribute__((visibility("default")))
#endif

namespace {

SimSettings LoadSettings()
{
    SimSettings settings = SettingsFromEnvironment([](const char* name) { return std::getenv(name); });
    for (const std::string& warning : settings.Warnings)
        std::fprintf(stderr, "libftd2xx (virtual board): %s\n", warning.c_str());
    return settings;
}

struct Simulator {
    explicit Simulator(const SimSettings& settings)
        : clock(settings.Speed)
        , devices(clock, settings.Devices, settings.Board)
    {
    }

    RealClock clock;
    VirtualDevices devices;
    // The vendor's library may be called from any thread.
    std::mutex lock;
};

Simulator& TheSimulator()
{
    static Simulator simulator(LoadSettings());
    return simulator;
}

template <typename Call>
FT_STATUS WithBoard(Call call)
{
    Simulator& simulator = TheSimulator();
    const std::lock_guard<std::mutex> guard(simulator.lock);
    return call(simulator.devices);
}

}  // namespace

extern "C" {

KORVADEX_SIM_EXPORT FT_STATUS FTD2XX_CALL FT_Open(int deviceNumber, FT_HANDLE* handle)
{
    return WithBoard([&](VirtualDevices& board) { return board.FT_Open(deviceNumber, handle); });
}

KORVADEX_SIM_EXPORT FT_STATUS FTD2XX_CALL FT_Close(FT_HANDLE handle)
{
    return WithBoard([&](VirtualDevices& board) { return board.FT_Close(handle); });
}

KORVADEX_SIM_EXPORT FT_STATUS FTD2XX_CALL FT_Read(FT_HANDLE handle, LPVOID buffer, DWORD bytesToRead,
                                                  LPDWORD bytesReturned)
{
    return WithBoard([&](VirtualDevices& board) { return board.FT_Read(handle, buffer, bytesToRead, bytesReturned); });
}

KORVADEX_SIM_EXPORT FT_STATUS FTD2XX_CALL FT_Write(FT_HANDLE handle, LPVOID buffer, DWORD bytesToWrite,
                                                   LPDWORD bytesWritten)
{
    return WithBoard([&](VirtualDevices& board) { return board.FT_Write(handle, buffer, bytesToWrite, bytesWritten); });
}

KORVADEX_SIM_EXPORT FT_STATUS FTD2XX_CALL FT_Purge(FT_HANDLE handle, ULONG mask)
{
    return WithBoard([&](VirtualDevices& board) { return board.FT_Purge(handle, mask); });
}

KORVADEX_SIM_EXPORT FT_STATUS FTD2XX_CALL FT_GetQueueStatus(FT_HANDLE handle, DWORD* rxBytes)
{
    return WithBoard([&](VirtualDevices& board) { return board.FT_GetQueueStatus(handle, rxBytes); });
}

KORVADEX_SIM_EXPORT FT_STATUS FTD2XX_CALL FT_SetUSBParameters(FT_HANDLE handle, ULONG inTransferSize,
                                                              ULONG outTransferSize)
{
    return WithBoard([&](VirtualDevices& board) {
        return board.FT_SetUSBParameters(handle, inTransferSize, outTransferSize);
    });
}

KORVADEX_SIM_EXPORT FT_STATUS FTD2XX_CALL FT_CreateDeviceInfoList(LPDWORD numDevs)
{
    return WithBoard([&](VirtualDevices& devices) { return devices.FT_CreateDeviceInfoList(numDevs); });
}

KORVADEX_SIM_EXPORT FT_STATUS FTD2XX_CALL FT_GetDeviceInfoDetail(DWORD index, LPDWORD flags, LPDWORD type, LPDWORD id,
                                                                 LPDWORD locId, LPVOID serialNumber,
                                                                 LPVOID description, FT_HANDLE* handle)
{
    return WithBoard([&](VirtualDevices& devices) {
        return devices.FT_GetDeviceInfoDetail(index, flags, type, id, locId, serialNumber, description, handle);
    });
}

KORVADEX_SIM_EXPORT FT_STATUS FTD2XX_CALL FT_OpenEx(LPVOID arg1, DWORD flags, FT_HANDLE* handle)
{
    return WithBoard([&](VirtualDevices& devices) { return devices.FT_OpenEx(arg1, flags, handle); });
}

}  // extern "C"
