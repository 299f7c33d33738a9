#pragma once

#include "D2xx.h"

#include <QPointer>
#include <QTimer>

#include <cstdint>

// The hex digit of a value 0..16: '0'-'9', then 'A'-'G' (so 0..15 are the
// usual upper-case digits and 16, the top data rate, is 'G'); anything else 'X'.
char HexDigit(int value);

// The USB FIFO link to the board: the first FTDI device, reached through the
// seven D2XX calls of `driver`. It sends command texts ended by CR and
// receives bytes without waiting (sample data) or waiting up to TimeOutMs for
// an "OK" CR or a reply line. The waits run the Qt event loop, so the window
// keeps painting and its handlers may run inside them; they need a
// QCoreApplication. The driver must outlive the link; nothing is allocated
// after construction.
class Tft_FIFO {
public:
    static constexpr std::int32_t RxBufSize = 10001;
    static constexpr std::int32_t MaxCommandLength = 19;
    static constexpr ULONG DefaultInTransferSize = 4096;

    // The time-out timer is a child of `owner` (which may be null).
    Tft_FIFO(QObject* owner, D2xx& driver);
    ~Tft_FIFO();
    Tft_FIFO(const Tft_FIFO&) = delete;
    Tft_FIFO& operator=(const Tft_FIFO&) = delete;

    bool OpenDevice(ULONG inTransferSize);
    bool Open();
    bool Purge();
    void CloseDevice();

    void SetTimeOut(std::int32_t ms);
    void StartTimeOut();
    void StopTimeOut();
    void OnTimeOut();

    bool SendCommand(const char* text);
    bool ReadAvailable(std::uint8_t* dest, DWORD capacity, DWORD& got);
    bool ReadExact(std::uint8_t* dest, std::int32_t count, std::int32_t& got);
    bool SendAndWaitOK(const char* text);
    bool SendAndReadLine(const char* text, char* dest, std::int32_t capacity);
    // How the last SendAndWaitOK failed, in words ("no reply to F1 within
    // 100 ms", "F1 answered "NG\r"", "F1 could not be sent"); empty after
    // one that succeeded. A board that works never refuses a setting, so
    // these tell a silent board from a garbled line from a real refusal.
    const char* LastSettingFault() const { return settingFault_; }
    // Bytes known to be there without asking the driver again: those carried
    // over, and those it had queued at its last look less what has been read
    // since. A reader that finds fewer than it wants can sleep at once.
    std::int64_t Waiting() const { return std::int64_t{RxCount} + unread_; }

protected:
    FT_HANDLE ftHandle = nullptr;
    FT_STATUS ftStatus = FT_OK;
    DWORD RxQueue = 0;
    QPointer<QTimer> TimeOutTimer; // the owner may have deleted it before us
    bool fTimeOut = false;
    std::uint8_t RxBuf[RxBufSize];
    std::int32_t RxCount = 0;
    DWORD unread_ = 0;  // of the driver's queue at its last look
    std::int32_t TimeOutMs = 500;
    char settingFault_[64] = {};

private:
    void DescribeSettingFault(const char* command, bool ok, const std::uint8_t* reply, DWORD count);
    void CloseHandle();
    void StopTimer();
    bool QueryQueue();
    bool ReadDriver(std::uint8_t* dest, DWORD count, DWORD& got);
    void TakeCarried(std::uint8_t* dest, std::int32_t count);
    bool KeepShortRead(const std::uint8_t* bytes, std::int64_t count);
    bool CarrySurplus(DWORD alreadyTaken);

    D2xx& driver;
};
