#include "Ft_fifo.h"

#include <QCoreApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>

namespace {

constexpr char CR = '\r';
constexpr ULONG PurgeBothQueues = FT_PURGE_RX | FT_PURGE_TX;

// Replies are short; a line reader that has this many bytes and still no CR
// at the end gives up rather than wait for the time-out.
constexpr std::int32_t LongestReplyLine = 15;

// The length of `text`, looking at no more than `limit` + 1 characters; a
// text longer than `limit` gives -1.
std::int32_t BoundedLength(const char* text, std::int32_t limit)
{
    for (std::int32_t n = 0; n <= limit; ++n) {
        if (text[n] == '\0') {
            return n;
        }
    }
    return -1;
}

// The waiting events run, then the processor is left for a moment: a reply
// reaches the host only with a USB packet, which a short reply fills only
// when the bridge's latency timer runs out (16 ms unless set otherwise), and
// looking again and again meanwhile kept a core busy. The pauses grow from
// 1 ms to 4 ms (`looks` is how many came before): a quick reply is still
// read within a millisecond, and one that waits for the timer costs six
// looks rather than sixteen, read at most 4 ms late.
void LetUserInterfaceRun(int looks)
{
    QCoreApplication::processEvents();
    std::this_thread::sleep_for(std::chrono::milliseconds(1 << std::min(looks, 2)));
}

} // namespace

char HexDigit(int value)
{
    if (value >= 0 && value <= 9) {
        return static_cast<char>('0' + value);
    }
    if (value >= 10 && value <= 16) {
        return static_cast<char>('A' + (value - 10));
    }
    return 'X';
}

Tft_FIFO::Tft_FIFO(QObject* owner, D2xx& driver)
    : TimeOutTimer(new QTimer(owner))
    , driver(driver)
{
    TimeOutTimer->setSingleShot(true);
    // A coarse timer may fire up to 5 % early, cutting a reply wait short.
    TimeOutTimer->setTimerType(Qt::PreciseTimer);
    QObject::connect(TimeOutTimer, &QTimer::timeout, TimeOutTimer, [this] { OnTimeOut(); });
}

Tft_FIFO::~Tft_FIFO()
{
    if (ftHandle != nullptr) {
        Purge();
        CloseDevice();
    }
    delete TimeOutTimer.data();
}

bool Tft_FIFO::OpenDevice(ULONG inTransferSize)
{
    if (ftHandle != nullptr) {
        return true;
    }
    ftStatus = driver.FT_Open(0, &ftHandle);
    if (ftStatus != FT_OK || ftHandle == nullptr) {
        ftHandle = nullptr;
        return false;
    }
    ftStatus = driver.FT_SetUSBParameters(ftHandle, inTransferSize, 0);
    if (ftStatus != FT_OK) {
        CloseHandle();
        return false;
    }
    return Purge();
}

bool Tft_FIFO::Open()
{
    return OpenDevice(DefaultInTransferSize);
}

bool Tft_FIFO::Purge()
{
    RxCount = 0;
    unread_ = 0;
    if (ftHandle == nullptr) {
        return false;
    }
    ftStatus = driver.FT_Purge(ftHandle, PurgeBothQueues);
    if (ftStatus == FT_OK) {
        return true;
    }
    // A device that cannot be purged is in an unknown state; the caller has
    // to open it again.
    CloseHandle();
    return false;
}

void Tft_FIFO::CloseDevice()
{
    if (ftHandle == nullptr) {
        return;
    }
    Purge();
    if (ftHandle != nullptr) {
        CloseHandle();
    }
}

void Tft_FIFO::CloseHandle()
{
    ftStatus = driver.FT_Close(ftHandle);
    ftHandle = nullptr;
}

void Tft_FIFO::SetTimeOut(std::int32_t ms)
{
    StopTimer();
    fTimeOut = false;
    TimeOutMs = ms;
}

void Tft_FIFO::StartTimeOut()
{
    fTimeOut = false;
    if (TimeOutTimer != nullptr) {
        TimeOutTimer->setInterval(TimeOutMs);
        TimeOutTimer->start();
    }
    // Without an event loop, with a negative interval or with the timer gone
    // along with its owner, no time-out would ever come: end the wait at once
    // instead of spinning for ever.
    fTimeOut = TimeOutTimer == nullptr || !TimeOutTimer->isActive();
}

void Tft_FIFO::StopTimeOut()
{
    StopTimer();
    fTimeOut = false;
}

void Tft_FIFO::OnTimeOut()
{
    StopTimer();
    fTimeOut = true;
}

void Tft_FIFO::StopTimer()
{
    if (TimeOutTimer != nullptr) {
        TimeOutTimer->stop();
    }
}

bool Tft_FIFO::SendCommand(const char* text)
{
    if (ftHandle == nullptr || text == nullptr) {
        return false;
    }
    const std::int32_t length = BoundedLength(text, MaxCommandLength);
    if (length < 0) {
        return false;
    }
    char line[MaxCommandLength + 1];
    std::memcpy(line, text, static_cast<std::size_t>(length));
    line[length] = CR;
    DWORD written = 0;
    ftStatus = driver.FT_Write(ftHandle, line, static_cast<DWORD>(length + 1), &written);
    return ftStatus == FT_OK;
}

bool Tft_FIFO::QueryQueue()
{
    DWORD queued = 0;
    ftStatus = driver.FT_GetQueueStatus(ftHandle, &queued);
    RxQueue = ftStatus == FT_OK ? queued : 0;
    unread_ = RxQueue;
    return ftStatus == FT_OK;
}

// FT_Read of `count` bytes; a driver that claims to have delivered more than
// it was asked for is treated as failed, so no count beyond `dest` is trusted.
bool Tft_FIFO::ReadDriver(std::uint8_t* dest, DWORD count, DWORD& got)
{
    DWORD returned = 0;
    ftStatus = driver.FT_Read(ftHandle, dest, count, &returned);
    got = returned;
    unread_ -= std::min(unread_, returned);
    if (ftStatus == FT_OK && returned > count) {
        ftStatus = FT_IO_ERROR;
    }
    if (ftStatus != FT_OK) {
        got = 0;
        return false;
    }
    return true;
}

bool Tft_FIFO::ReadAvailable(std::uint8_t* dest, DWORD capacity, DWORD& got)
{
    got = 0;
    if (ftHandle == nullptr || !QueryQueue()) {
        return false;
    }
    const DWORD wanted = std::min(RxQueue, capacity);
    if (wanted == 0) {
        return true;
    }
    return ReadDriver(dest, wanted, got);
}

bool Tft_FIFO::ReadExact(std::uint8_t* dest, std::int32_t count, std::int32_t& got)
{
    got = 0;
    if (ftHandle == nullptr || count < 1) {
        return false;
    }
    if (RxCount >= count) {
        TakeCarried(dest, count);
        got = count;
        return true;
    }
    if (!QueryQueue()) {
        return false;
    }
    if (std::int64_t{RxCount} + RxQueue < count) {
        return true; // not all there yet: the caller polls again
    }
    const std::int32_t carried = RxCount;
    std::memcpy(dest, RxBuf, static_cast<std::size_t>(carried));
    const DWORD needed = static_cast<DWORD>(count - carried);
    DWORD read = 0;
    if (!ReadDriver(dest + carried, needed, read)) {
        return false;
    }
    if (read < needed) {
        return KeepShortRead(dest, std::int64_t{carried} + read);
    }
    RxCount = 0;
    if (carried > 0 && !CarrySurplus(needed)) {
        return false;
    }
    got = count;
    return true;
}

// Hands out the first `count` carried-over bytes and keeps the rest, in order.
void Tft_FIFO::TakeCarried(std::uint8_t* dest, std::int32_t count)
{
    std::memcpy(dest, RxBuf, static_cast<std::size_t>(count));
    RxCount -= count;
    std::memmove(RxBuf, RxBuf + count, static_cast<std::size_t>(RxCount));
}

// The driver delivered fewer bytes than it had reported. They are the front
// of the stream, so they are kept for the next poll rather than lost; only if
// they cannot be kept does the read fail.
bool Tft_FIFO::KeepShortRead(const std::uint8_t* bytes, std::int64_t count)
{
    if (count > RxBufSize) {
        RxCount = 0;
        ftStatus = FT_IO_ERROR;
        return false;
    }
    std::memmove(RxBuf, bytes, static_cast<std::size_t>(count));
    RxCount = static_cast<std::int32_t>(count);
    return true;
}

// After a read that began with carried-over bytes, what else is queued (as
// much as RxBuf holds) moves into RxBuf for the following reads.
bool Tft_FIFO::CarrySurplus(DWORD alreadyTaken)
{
    const DWORD surplus = std::min<DWORD>(RxQueue - alreadyTaken, RxBufSize);
    if (surplus == 0) {
        return true;
    }
    DWORD read = 0;
    if (!ReadDriver(RxBuf, surplus, read)) {
        return false;
    }
    RxCount = static_cast<std::int32_t>(read);
    return true;
}

bool Tft_FIFO::SendAndWaitOK(const char* text)
{
    std::snprintf(settingFault_, sizeof settingFault_, "%s could not be sent", text);
    if (!SendCommand(text)) {
        return false;
    }
    StartTimeOut();
    std::uint8_t reply[4];
    DWORD collected = 0;
    for (int looks = 0;; ++looks) {
        // The time-out ends the wait only after one more look: a reply that
        // came while the program was held past it (a busy machine) is read.
        const bool lastLook = fTimeOut;
        DWORD got = 0;
        if (!ReadAvailable(reply + collected, sizeof reply - collected, got)) {
            break;
        }
        collected += got;
        if (lastLook || collected >= 3) {
            break;
        }
        LetUserInterfaceRun(looks);
    }
    StopTimeOut();
    const bool ok = collected >= 3 && reply[0] == 'O' && reply[1] == 'K' && reply[2] == CR;
    DescribeSettingFault(text, ok, reply, collected);
    return ok;
}

void Tft_FIFO::DescribeSettingFault(const char* command, bool ok, const std::uint8_t* reply, DWORD count)
{
    if (ok) {
        settingFault_[0] = '\0';
    } else if (count == 0) {
        std::snprintf(settingFault_, sizeof settingFault_, "no reply to %s within %d ms", command, TimeOutMs);
    } else {
        // The bytes as read, control bytes and bit-7 bytes as \xNN.
        char shown[4 * 4 + 1] = {};
        int at = 0;
        const auto room = [&] { return sizeof shown - static_cast<std::size_t>(at); };
        for (DWORD i = 0; i < count; ++i) {
            const std::uint8_t byte = reply[i];
            at += byte == CR ? std::snprintf(shown + at, room(), "\\r")
                : byte >= 0x20 && byte < 0x7F ? std::snprintf(shown + at, room(), "%c", byte)
                                              : std::snprintf(shown + at, room(), "\\x%02X", byte);
        }
        std::snprintf(settingFault_, sizeof settingFault_, "%s answered \"%s\"", command, shown);
    }
}

bool Tft_FIFO::SendAndReadLine(const char* text, char* dest, std::int32_t capacity)
{
    if (capacity < 1 || !SendCommand(text)) {
        return false;
    }
    StartTimeOut();
    std::int32_t collected = 0;
    bool done = false;
    bool lastLook = false;
    for (int looks = 0; !done && !lastLook; ++looks) {
        // As in SendAndWaitOK, the time-out is followed by one more look.
        lastLook = fTimeOut;
        if (!lastLook) {
            LetUserInterfaceRun(looks);
        }
        DWORD got = 0;
        auto* free = reinterpret_cast<std::uint8_t*>(dest + collected);
        if (!ReadAvailable(free, static_cast<DWORD>(capacity - collected), got)) {
            break;
        }
        collected += static_cast<std::int32_t>(got);
        done = collected > 0
            && (dest[collected - 1] == CR || collected > LongestReplyLine || collected == capacity);
    }
    StopTimeOut();
    if (collected == 0 || dest[collected - 1] != CR) {
        return false;
    }
    dest[collected - 1] = '\0';
    return true;
}
