#pragma once

#include "D2xx.h"

#include <array>
#include <chrono>
#include <deque>
#include <map>
#include <string>
#include <vector>

// A scripted D2XX driver standing in for the board. Bytes from the board
// arrive after a number of queue polls or after some time; a command written
// by the program can trigger the board's answer; any call can be made to fail
// by kind and number. Everything written is recorded.
//
// It behaves like a driver that tells the truth about its queue: FT_Purge
// empties what has arrived (bytes still on their way arrive later), calls on
// a closed handle fail, and a failing call scribbles over whatever it was
// given to write into, so a caller that trusts a failed call's output or
// passes a wrong size is caught.
class FakeD2xx : public D2xx {
public:
    enum Call { Open, Close, Read, Write, Purge, GetQueueStatus, SetUSBParameters, CallKinds };
    static const char* CallName(Call call);

    // Bytes that become visible once `afterPolls` more FT_GetQueueStatus
    // calls have been made (0 = now). Bytes never overtake earlier ones.
    void Arrive(const std::string& bytes, int afterPolls = 0);
    // Bytes that become visible once `delay` has passed.
    void ArriveAfter(std::chrono::milliseconds delay, const std::string& bytes);
    // Each time exactly `command` is written the board answers with
    // `packets`: the first at once, each further one a poll later.
    void Answer(const std::string& command, std::vector<std::string> packets);

    // The `nth` call (counted from 1 since construction) of `call` fails.
    void FailCall(Call call, int nth, FT_STATUS status = FT_IO_ERROR);
    void FailEveryCall(Call call, FT_STATUS status = FT_IO_ERROR);
    // FT_Read hands over at most `bytes` a call, whatever was queued.
    void LimitReadsTo(DWORD bytes);

    int Calls(Call call) const;
    int TotalCalls() const;
    const std::string& Written() const;           // every byte written, in order
    const std::vector<std::string>& Writes() const; // one entry per FT_Write
    std::size_t Queued() const;                    // bytes the program could read now
    bool IsOpen() const;
    // FT_Read calls that asked for more than was queued: a real driver would
    // block there, freezing the window.
    int BlockingReads() const;

    int openedDevice = -1;
    ULONG purgeMask = 0;
    ULONG inTransferSize = 0;
    ULONG outTransferSize = 0;

    FT_STATUS FT_Open(int deviceNumber, FT_HANDLE* handle) override;
    FT_STATUS FT_Close(FT_HANDLE handle) override;
    FT_STATUS FT_Read(FT_HANDLE handle, LPVOID buffer, DWORD bytesToRead, LPDWORD bytesReturned) override;
    FT_STATUS FT_Write(FT_HANDLE handle, LPVOID buffer, DWORD bytesToWrite, LPDWORD bytesWritten) override;
    FT_STATUS FT_Purge(FT_HANDLE handle, ULONG mask) override;
    FT_STATUS FT_GetQueueStatus(FT_HANDLE handle, DWORD* rxBytes) override;
    FT_STATUS FT_SetUSBParameters(FT_HANDLE handle, ULONG inTransferSize, ULONG outTransferSize) override;

private:
    using Clock = std::chrono::steady_clock;
    struct Packet {
        std::string bytes;
        long readyAtPoll;
        Clock::time_point readyAt;
    };

    FT_STATUS Begin(Call call);
    FT_STATUS Begin(Call call, FT_HANDLE handle);
    FT_STATUS CheckHandle(FT_HANDLE handle) const;
    void Schedule(const std::string& bytes, long readyAtPoll, Clock::time_point readyAt);
    void DeliverDue();

    std::array<int, CallKinds> calls{};
    std::map<std::pair<Call, int>, FT_STATUS> failures;
    std::array<bool, CallKinds> failEvery{};
    std::array<FT_STATUS, CallKinds> failEveryStatus{};
    std::map<std::string, std::vector<std::string>> answers;
    std::deque<Packet> pending;
    std::string visible;
    std::string written;
    std::vector<std::string> writes;
    DWORD readLimit = ~DWORD{0};
    long polls = 0;
    bool open = false;
    int blockingReads = 0;
};
