#pragma once

#include "ftdi/UsbPort.h"

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <vector>

// A scripted FTDI device: the test plays the board (packets, a USB error, a
// read that never answers) and watches what the driver asked of USB. Safe to
// drive from the test thread while the reader thread reads.
class FakeUsbPort final : public UsbPort {
public:
    explicit FakeUsbPort(bool* destroyed = nullptr);
    ~FakeUsbPort() override;

    // The board's side.
    void Arrive(std::vector<unsigned char> packet);
    void ArriveError();                 // the read after the packets so far fails
    void HoldReads(bool hold);          // a held read does not return until released
    void FailWrites();
    void FailDiscards();

    // What the driver did.
    std::size_t Delivered() const;      // bytes handed to the reader so far
    std::size_t Pending() const;        // bytes the board sent that nobody read yet
    int ReadCalls() const;
    int LastReadCapacity() const;
    int DiscardReceivedCalls() const;
    int DiscardTransmitCalls() const;
    std::vector<unsigned char> Written() const;

    int Read(unsigned char* buffer, int capacity) override;
    bool DiscardReceived() override;
    int Write(const unsigned char* data, int count) override;
    bool DiscardTransmit() override;

private:
    struct Packet {
        std::vector<unsigned char> bytes;
        std::size_t offset = 0;
        bool error = false;
    };

    bool* destroyed_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Packet> packets_;
    std::vector<unsigned char> written_;
    std::size_t delivered_ = 0;
    int readCalls_ = 0;
    int lastReadCapacity_ = 0;
    int discardReceivedCalls_ = 0;
    int discardTransmitCalls_ = 0;
    bool held_ = false;
    bool failWrites_ = false;
    bool failDiscards_ = false;
};
