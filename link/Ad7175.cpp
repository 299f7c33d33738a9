#include "Ad7175.h"

#include <cstdio>

namespace {

// Every command that waits for the board gives it this long to answer.
constexpr std::int32_t CommandTimeOutMs = 100;

constexpr int HighestMode = 2;

} // namespace

TADC::TADC(QObject* owner, D2xx& driver)
    : Tft_FIFO(owner, driver)
{
}

bool TADC::OpenBoard()
{
    return Open() && Purge();
}

void TADC::CloseBoard()
{
    if (ftHandle != nullptr) {
        Purge();
        CloseDevice();
    }
}

bool TADC::CheckBoard()
{
    return SendSetCommand("?");
}

bool TADC::SetSinc3()
{
    return SendSetCommand("S3");
}

bool TADC::SetSinc5()
{
    return SendSetCommand("S5");
}

// Comes right after SetSinc3/SetSinc5, which purged, so it does not purge.
bool TADC::SetDataRate(int index)
{
    if (index < 0 || index > HighestRateIndex) {
        return false;
    }
    std::snprintf(CmdBuf, sizeof CmdBuf, "F%c", HexDigit(index));
    SetTimeOut(CommandTimeOutMs);
    return SendAndWaitOK(CmdBuf);
}

bool TADC::SendSetCommand(const char* text)
{
    if (ftHandle == nullptr || !Purge()) {
        return false;
    }
    std::snprintf(CmdBuf, sizeof CmdBuf, "%s", text);
    SetTimeOut(CommandTimeOutMs);
    return SendAndWaitOK(CmdBuf);
}

bool TADC::GetBoardName(char* dest)
{
    return Query("U?", dest);
}

bool TADC::GetVersion(char* dest)
{
    return Query("V?", dest);
}

bool TADC::Query(const char* text, char* dest)
{
    if (dest == nullptr || ftHandle == nullptr || !Purge()) {
        return false;
    }
    std::snprintf(CmdBuf, sizeof CmdBuf, "%s", text);
    SetTimeOut(CommandTimeOutMs);
    if (!SendAndReadLine(CmdBuf, ReplyBuf, sizeof ReplyBuf)) {
        return false;
    }
    const bool refused = ReplyBuf[0] == 'N' || (ReplyBuf[0] != '\0' && ReplyBuf[1] == 'G');
    if (refused) {
        return false;
    }
    std::int32_t n = 0;
    for (; n < NameLength && ReplyBuf[n] != '\0'; ++n) {
        dest[n] = ReplyBuf[n];
    }
    dest[n] = '\0';
    return true;
}

// The board answers with the stream itself, so nothing is awaited.
bool TADC::StartMeasure(int mode, int count)
{
    if (mode < 0 || mode > HighestMode || ftHandle == nullptr || !Purge()) {
        return false;
    }
    CmdBuf[0] = 'A';
    CmdBuf[1] = static_cast<char>('0' + mode);
    FormatHex5(count, CmdBuf + 2);
    CmdBuf[7] = '\0';
    return SendCommand(CmdBuf);
}

// Bytes of the aborted run still on their way are dropped by the next purge.
bool TADC::StopMeasure()
{
    if (ftHandle == nullptr) {
        return false;
    }
    std::snprintf(CmdBuf, sizeof CmdBuf, "AX");
    return SendCommand(CmdBuf);
}

bool TADC::ReadData1(std::int32_t* dest, std::int32_t& got, std::int32_t count)
{
    if (!ReadChunk(count, SampleBytes, got)) {
        return false;
    }
    for (std::int32_t i = 0; i < got; ++i) {
        dest[i] = Decode24(DataBuf + SampleBytes * i);
    }
    return true;
}

bool TADC::ReadData2(std::int32_t* ch0, std::int32_t* ch1, std::int32_t count, std::int32_t& got)
{
    if (!ReadChunk(count, FrameBytes, got)) {
        return false;
    }
    for (std::int32_t i = 0; i < got; ++i) {
        const std::uint8_t* frame = DataBuf + FrameBytes * i;
        ch0[i] = Decode24(frame);
        ch1[i] = Decode24(frame + SampleBytes);
    }
    return true;
}

// A whole chunk of `count` units in one read into DataBuf; `got` becomes
// `count` once all of it is there, else 0. A closed link leaves `got` alone,
// and a chunk that would not fit in DataBuf is refused.
bool TADC::ReadChunk(std::int32_t count, std::int32_t bytesPerUnit, std::int32_t& got)
{
    if (ftHandle == nullptr) {
        return false;
    }
    got = 0;
    if (count < 1 || count > DataBufSize / bytesPerUnit) {
        return false;
    }
    std::int32_t bytes = 0;
    if (!ReadExact(DataBuf, count * bytesPerUnit, bytes)) {
        return false;
    }
    got = bytes == 0 ? 0 : count;
    return true;
}

std::int32_t TADC::GetGainDivisor() const
{
    return 1;
}

std::int32_t TADC::Decode24(const std::uint8_t* bytes)
{
    return (std::int32_t{bytes[0]} << 16) | (std::int32_t{bytes[1]} << 8) | std::int32_t{bytes[2]};
}

void TADC::FormatHex5(std::int32_t value, char* dest)
{
    std::uint32_t rest = value >= 0 && value <= 0xFFFFF ? static_cast<std::uint32_t>(value) : 0;
    for (int i = 4; i >= 0; --i) {
        dest[i] = HexDigit(static_cast<int>(rest & 0xF));
        rest >>= 4;
    }
}
