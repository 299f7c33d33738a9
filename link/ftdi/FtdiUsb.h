#pragma once

#include "D2xx.h"
#include "UsbPort.h"

#include <memory>
#include <mutex>

struct ftdi_context;

// One FTDI device opened through libftdi1. libftdi's context is not safe for
// two threads at once, so every call into it holds mutex_: the reader
// thread's reads and the caller's writes and flushes take turns, a write
// waiting at most for one read (the bridge answers a read within its latency
// time, 16 ms unless set otherwise).
class FtdiUsb final : public UsbPort {
public:
    // The deviceNumber-th device among FTDI's standard product ids, with the
    // kernel's serial driver detached from it; or null and, in status,
    // FT_DEVICE_NOT_FOUND (none there) or FT_DEVICE_NOT_OPENED (no access, or
    // another program holds it).
    static std::unique_ptr<UsbPort> Open(int deviceNumber, FT_STATUS& status);
    ~FtdiUsb() override;

    FtdiUsb(const FtdiUsb&) = delete;
    FtdiUsb& operator=(const FtdiUsb&) = delete;

    int Read(unsigned char* buffer, int capacity) override;
    bool DiscardReceived() override;
    int Write(const unsigned char* data, int count) override;
    bool DiscardTransmit() override;

private:
    explicit FtdiUsb(ftdi_context* context);
    void FollowReadChunk(int capacity);

    std::mutex mutex_;
    ftdi_context* const context_;
    int libraryChunk_ = 0;              // libftdi's USB read request size
    bool libraryHoldsNothing_ = true;   // no received bytes kept back inside libftdi
};
