#pragma once

#include "BulkReader.h"
#include "D2xx.h"
#include "UsbPort.h"

#include <functional>
#include <memory>
#include <mutex>

struct ftdi_context;
struct ftdi_device_list;
struct libusb_device;

// One FTDI device opened through libftdi1. libftdi opens, configures, writes
// and flushes; the bulk-in endpoint is read by a BulkReader on libusb
// directly, because libftdi's own read (ftdi_read_data) returns only once its
// whole request is filled or a packet without data arrives, so a slow
// stream that brings a little data in every latency period would sit in it
// for seconds. libftdi's context is not safe for two threads at once, so the
// calls into it hold mutex_; the reader needs no part of it.
class FtdiUsb final : public UsbPort {
public:
    // The device `pick` chooses from libftdi's list of FTDI devices (null:
    // none of them), opened with the kernel's serial driver detached from it;
    // or null and, in status, FT_DEVICE_NOT_FOUND (not there) or
    // FT_DEVICE_NOT_OPENED (no access, another program holds it, or the
    // kernel's driver would not go). When libftdi cannot open it, `refused`
    // is told which device it was while the list still holds it.
    using Pick = std::function<libusb_device*(ftdi_context*, ftdi_device_list*)>;
    using Refusal = std::function<void(libusb_device*)>;
    static std::unique_ptr<UsbPort> Open(const Pick& pick, const Refusal& refused, FT_STATUS& status);
    ~FtdiUsb() override;

    FtdiUsb(const FtdiUsb&) = delete;
    FtdiUsb& operator=(const FtdiUsb&) = delete;

    int Read(unsigned char* buffer, int capacity) override;
    bool DiscardReceived() override;
    int Write(const unsigned char* data, int count) override;
    bool DiscardTransmit() override;

private:
    explicit FtdiUsb(ftdi_context* context);
    bool StartReading();

    std::mutex mutex_;
    ftdi_context* const context_;
    std::unique_ptr<BulkReader> reader_;   // goes before the device closes
    std::size_t transferBytes_ = 0;
};
