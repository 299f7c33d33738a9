#include "ScriptedBoard.h"

#include <algorithm>

ScriptedBoard::ScriptedBoard()
    : Replies{{"?", "OK\r"}, {"U?", "KORVADEX\r"}, {"V?", "V9.99\r"}, {"S3", "OK\r"}, {"S5", "OK\r"}}
{
    for (int rate = 0; rate <= 16; ++rate)
        Replies["F" + std::string(1, "0123456789ABCDEFG"[rate])] = "OK\r";
}

FT_STATUS ScriptedBoard::FT_Open(int, FT_HANDLE* handle)
{
    *handle = &handle_;
    return FT_OK;
}

FT_STATUS ScriptedBoard::FT_Close(FT_HANDLE)
{
    return FT_OK;
}

FT_STATUS ScriptedBoard::FT_Read(FT_HANDLE, LPVOID buffer, DWORD bytesToRead, LPDWORD bytesReturned)
{
    if (streaming_)
        StreamReadSizes.push_back(bytesToRead);
    const DWORD n = std::min<DWORD>(bytesToRead, static_cast<DWORD>(queue_.size()));
    auto* bytes = static_cast<std::uint8_t*>(buffer);
    for (DWORD i = 0; i < n; ++i) {
        bytes[i] = queue_.front();
        queue_.pop_front();
    }
    *bytesReturned = n;
    return FT_OK;
}

FT_STATUS ScriptedBoard::FT_Write(FT_HANDLE, LPVOID buffer, DWORD bytesToWrite, LPDWORD bytesWritten)
{
    const auto* bytes = static_cast<const char*>(buffer);
    for (DWORD i = 0; i < bytesToWrite; ++i) {
        if (bytes[i] != '\r') {
            pending_ += bytes[i];
            continue;
        }
        Commands.push_back(pending_);
        Answer(pending_);
        pending_.clear();
    }
    *bytesWritten = bytesToWrite;
    return FT_OK;
}

FT_STATUS ScriptedBoard::FT_Purge(FT_HANDLE, ULONG)
{
    queue_.clear();
    return FT_OK;
}

FT_STATUS ScriptedBoard::FT_GetQueueStatus(FT_HANDLE, DWORD* rxBytes)
{
    *rxBytes = static_cast<DWORD>(queue_.size());
    return FT_OK;
}

FT_STATUS ScriptedBoard::FT_SetUSBParameters(FT_HANDLE, ULONG, ULONG)
{
    return FT_OK;
}

void ScriptedBoard::Answer(const std::string& command)
{
    streaming_ = false;
    if (command.size() == 7 && command[0] == 'A') {
        Stream(command[1] - '0', static_cast<std::int32_t>(std::stoi(command.substr(2), nullptr, 16)));
        return;
    }
    const auto reply = Replies.find(command);
    if (reply != Replies.end())
        queue_.insert(queue_.end(), reply->second.begin(), reply->second.end());
}

void ScriptedBoard::Stream(int mode, std::int32_t count)
{
    streaming_ = true;
    const std::int32_t sent = StallAfter < 0 ? count : std::min(count, StallAfter);
    for (std::int32_t i = 0; i < sent; ++i) {
        PutCode((mode == 1 ? Ch1Base : Ch0Base) + i);
        if (mode == 2)
            PutCode(Ch1Base + i);
    }
}

void ScriptedBoard::PutCode(std::int32_t code)
{
    queue_.push_back(static_cast<std::uint8_t>(code >> 16));
    queue_.push_back(static_cast<std::uint8_t>(code >> 8));
    queue_.push_back(static_cast<std::uint8_t>(code));
}
