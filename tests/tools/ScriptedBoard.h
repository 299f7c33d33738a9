#pragma once

#include "D2xx.h"

#include <cstdint>
#include <deque>
#include <map>
#include <string>
#include <vector>

// A board behind the seven D2XX calls that answers commands from a script
// and streams a run at once on "A": sample i of CH0 carries the code
// Ch0Base + i, of CH1 Ch1Base + i. It records every command and the size of
// every read made while a run streams.
class ScriptedBoard : public D2xx {
public:
    static constexpr std::int32_t Ch0Base = 0x800000;
    static constexpr std::int32_t Ch1Base = 0x100000;

    ScriptedBoard();

    std::map<std::string, std::string> Replies;  // command (without CR) → reply bytes
    std::vector<std::string> Commands;
    std::vector<DWORD> StreamReadSizes;
    // Samples (frames) a run sends before it falls silent; -1 = all.
    std::int32_t StallAfter = -1;

    FT_STATUS FT_Open(int deviceNumber, FT_HANDLE* handle) override;
    FT_STATUS FT_Close(FT_HANDLE handle) override;
    FT_STATUS FT_Read(FT_HANDLE handle, LPVOID buffer, DWORD bytesToRead, LPDWORD bytesReturned) override;
    FT_STATUS FT_Write(FT_HANDLE handle, LPVOID buffer, DWORD bytesToWrite, LPDWORD bytesWritten) override;
    FT_STATUS FT_Purge(FT_HANDLE handle, ULONG mask) override;
    FT_STATUS FT_GetQueueStatus(FT_HANDLE handle, DWORD* rxBytes) override;
    FT_STATUS FT_SetUSBParameters(FT_HANDLE handle, ULONG inTransferSize, ULONG outTransferSize) override;

private:
    void Answer(const std::string& command);
    void Stream(int mode, std::int32_t count);
    void PutCode(std::int32_t code);

    std::deque<std::uint8_t> queue_;
    std::string pending_;
    bool streaming_ = false;
    int handle_ = 0;
};
