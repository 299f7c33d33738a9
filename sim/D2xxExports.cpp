// The drop-in driver library: the seven D2XX functions with the vendor's C
// prototypes, and the device list with FT_OpenEx, answered by the virtual
// devices of one process (by default one board). They are made on the first
// call, from the KORVADEX_SIM_* variables, running on the machine's monotonic
// clock, here or, with KORVADEX_SIM_PROCESS=1, in the board process.

#include "BoardProcessClient.h"
#include "BoardStream.h"
#include "DevicesOnRealClock.h"

#include "D2xx.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>

#if defined(_WIN32)
#define KORVADEX_SIM_EXPORT __declspec(dllexport)
#else
#define KORVADEX_SIM_EXPORT __attribute__((visibility("default")))
#endif

namespace {

// KORVADEX_SIM_PROCESS=1 moves the board out of the measured process, so
// that the process's own CPU is its own.
bool BoardInAProcessOfItsOwn()
{
    const char* value = std::getenv("KORVADEX_SIM_PROCESS");
    return value != nullptr && std::strcmp(value, "1") == 0;
}

// The devices in this process, or the board process's, whichever answers.
struct Simulator {
    Simulator()
    {
        std::unique_ptr<BoardProcessLink> link = BoardInAProcessOfItsOwn() ? StartBoardProcess("korvadex-sim-board", KORVADEX_SIM_BOARD_PROGRAM, sizeof(BoardStream::Region)) : nullptr;
        if (link) {
            remote = std::make_unique<BoardProcessClient>(std::move(link));
            devices = remote.get();
        } else {
            local = std::make_unique<DevicesOnRealClock>();
            devices = &local->Devices();
        }
    }

    std::unique_ptr<DevicesOnRealClock> local;
    std::unique_ptr<BoardProcessClient> remote;
    D2xx* devices = nullptr;
    // The vendor's library may be called from any thread.
    std::mutex lock;
};

Simulator& TheSimulator()
{
    static Simulator simulator;
    return simulator;
}

template <typename Call>
FT_STATUS WithBoard(Call call)
{
    Simulator& simulator = TheSimulator();
    const std::lock_guard<std::mutex> guard(simulator.lock);
    return call(*simulator.devices);
}

}  // namespace

extern "C" {

KORVADEX_SIM_EXPORT FT_STATUS FTD2XX_CALL FT_Open(int deviceNumber, FT_HANDLE* handle)
{
    return WithBoard([&](D2xx& board) { return board.FT_Open(deviceNumber, handle); });
}

KORVADEX_SIM_EXPORT FT_STATUS FTD2XX_CALL FT_Close(FT_HANDLE handle)
{
    return WithBoard([&](D2xx& board) { return board.FT_Close(handle); });
}

KORVADEX_SIM_EXPORT FT_STATUS FTD2XX_CALL FT_Read(FT_HANDLE handle, LPVOID buffer, DWORD bytesToRead,
                                                  LPDWORD bytesReturned)
{
    return WithBoard([&](D2xx& board) { return board.FT_Read(handle, buffer, bytesToRead, bytesReturned); });
}

KORVADEX_SIM_EXPORT FT_STATUS FTD2XX_CALL FT_Write(FT_HANDLE handle, LPVOID buffer, DWORD bytesToWrite,
                                                   LPDWORD bytesWritten)
{
    return WithBoard([&](D2xx& board) { return board.FT_Write(handle, buffer, bytesToWrite, bytesWritten); });
}

KORVADEX_SIM_EXPORT FT_STATUS FTD2XX_CALL FT_Purge(FT_HANDLE handle, ULONG mask)
{
    return WithBoard([&](D2xx& board) { return board.FT_Purge(handle, mask); });
}

KORVADEX_SIM_EXPORT FT_STATUS FTD2XX_CALL FT_GetQueueStatus(FT_HANDLE handle, DWORD* rxBytes)
{
    return WithBoard([&](D2xx& board) { return board.FT_GetQueueStatus(handle, rxBytes); });
}

KORVADEX_SIM_EXPORT FT_STATUS FTD2XX_CALL FT_SetUSBParameters(FT_HANDLE handle, ULONG inTransferSize,
                                                              ULONG outTransferSize)
{
    return WithBoard([&](D2xx& board) {
        return board.FT_SetUSBParameters(handle, inTransferSize, outTransferSize);
    });
}

KORVADEX_SIM_EXPORT FT_STATUS FTD2XX_CALL FT_CreateDeviceInfoList(LPDWORD numDevs)
{
    return WithBoard([&](D2xx& devices) { return devices.Discovery()->FT_CreateDeviceInfoList(numDevs); });
}

KORVADEX_SIM_EXPORT FT_STATUS FTD2XX_CALL FT_GetDeviceInfoDetail(DWORD index, LPDWORD flags, LPDWORD type, LPDWORD id,
                                                                 LPDWORD locId, LPVOID serialNumber,
                                                                 LPVOID description, FT_HANDLE* handle)
{
    return WithBoard([&](D2xx& devices) {
        return devices.Discovery()->FT_GetDeviceInfoDetail(index, flags, type, id, locId, serialNumber, description, handle);
    });
}

KORVADEX_SIM_EXPORT FT_STATUS FTD2XX_CALL FT_OpenEx(LPVOID arg1, DWORD flags, FT_HANDLE* handle)
{
    return WithBoard([&](D2xx& devices) { return devices.Discovery()->FT_OpenEx(arg1, flags, handle); });
}

}  // extern "C"
