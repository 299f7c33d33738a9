#pragma once

#include "Ft_fifo.h"

#include <cstdint>

// The board's command language over the USB FIFO link, and its sample stream:
// 3-byte codes, most significant byte first (mode 0 or 1), or 6-byte frames
// of CH0 then CH1 (mode 2). The board's controller drives the AD7175; this
// class never addresses the converter itself.
class TADC : public Tft_FIFO {
public:
    static constexpr std::int32_t DataBufSize = 7000;
    static constexpr std::int32_t NameLength = 10; // GetBoardName/GetVersion need NameLength + 1 bytes
    static constexpr std::int32_t HighestRateIndex = 16;
    static constexpr std::int32_t SampleBytes = 3;            // one channel's code, most significant byte first
    static constexpr std::int32_t FrameBytes = 2 * SampleBytes;  // a CH0/CH1 pair

    TADC(QObject* owner, D2xx& driver);

    bool OpenBoard();
    bool CheckBoard();
    bool GetBoardName(char* dest);
    bool GetVersion(char* dest);
    bool SetSinc3();
    bool SetSinc5();
    bool SetDataRate(int index);
    bool StartMeasure(int mode, int count);
    bool StopMeasure();
    void CloseBoard();

    // Never wait: with less than `count` samples (frames) queued they succeed
    // with got = 0 and consume nothing.
    bool ReadData1(std::int32_t* dest, std::int32_t& got, std::int32_t count);
    bool ReadData2(std::int32_t* ch0, std::int32_t* ch1, std::int32_t count, std::int32_t& got);

    std::int32_t GetGainDivisor() const;

    static std::int32_t Decode24(const std::uint8_t* bytes);
    // Five upper-case hex digits, no terminator; values outside 0..0xFFFFF give "00000".
    static void FormatHex5(std::int32_t value, char* dest);

private:
    bool SendSetCommand(const char* text);
    bool Query(const char* text, char* dest);
    bool ReadChunk(std::int32_t count, std::int32_t bytesPerUnit, std::int32_t& got);

    std::uint8_t DataBuf[DataBufSize];
    char CmdBuf[MaxCommandLength + 1];
    char ReplyBuf[24];
};
