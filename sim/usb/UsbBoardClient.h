#pragma once

#include "BoardProcessLink.h"
#include "UsbCall.h"

#include <libusb.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>

// The libusb calls of the stand-in when its bus runs in the board process:
// each call goes there as one request and returns what the emulated bus
// there returned. Devices and handles are the board process's, carried as
// opaque pointers. A transfer's buffer stays here: what goes out travels
// with its submission, what comes in lands in it when the transfer comes
// back. Waiting for transfers happens here, between polls, so that calls
// from other threads go through meanwhile. Without a board process the bus
// is empty and every device is gone: calls fail with LIBUSB_ERROR_NO_DEVICE
// and transfers in flight come back with LIBUSB_TRANSFER_NO_DEVICE.
class UsbBoardClient {
public:
    explicit UsbBoardClient(std::unique_ptr<BoardProcessLink> link);

    ssize_t GetDeviceList(libusb_device*** list);
    void FreeDeviceList(libusb_device** list, int unrefDevices);
    void RefDevice(libusb_device* device);
    void UnrefDevice(libusb_device* device);
    uint8_t GetDeviceAddress(libusb_device* device);
    int GetPortNumbers(libusb_device* device, uint8_t* ports, int length);
    int GetDeviceDescriptor(libusb_device* device, libusb_device_descriptor* descriptor);
    int GetConfigDescriptor(libusb_device* device, uint8_t index, libusb_config_descriptor** config);
    int Open(libusb_device* device, libusb_device_handle** handle);
    void Close(libusb_device_handle* handle);
    int GetConfiguration(libusb_device_handle* handle, int* configuration);
    // SetConfiguration, KernelDriverActive, DetachKernelDriver,
    // ClaimInterface and ReleaseInterface: a handle and a number.
    int OnHandle(UsbCall call, libusb_device_handle* handle, int number);
    int GetStringDescriptor(libusb_device_handle* handle, uint8_t index, unsigned char* data, int length);
    int ControlTransfer(libusb_device_handle* handle, uint8_t requestType, uint8_t request, uint16_t value,
                        uint16_t index, unsigned char* data, uint16_t length);
    int BulkTransfer(libusb_device_handle* handle, unsigned char endpoint, unsigned char* data, int length,
                     int* transferred, unsigned int timeout);
    int Submit(libusb_transfer* transfer);
    int Cancel(libusb_transfer* transfer);
    void Forget(libusb_transfer* transfer);
    // Gives back one finished transfer (its callback run here, unlocked), or
    // none by the time-out or once *completed is set.
    int HandleEvents(const timeval* timeout, int* completed);

private:
    using Clock = std::chrono::steady_clock;

    // The reply's head; nothing when no board process answered.
    std::optional<BoardProcessProtocol::ReplyHead> Ask(const BoardProcessProtocol::Request& request,
                                                       const BoardProcessLink::Destination& destination = nullptr);
    // A finished transfer, with its status, length and bytes filled in, or
    // null; `next` is when the board process expects the next to finish.
    libusb_transfer* TakeFinished(Clock::time_point& next);
    int BulkIn(libusb_device_handle* handle, unsigned char endpoint, unsigned char* data, int length,
               int* transferred, unsigned int timeout);

    std::unique_ptr<BoardProcessLink> link_;
    std::mutex mutex_;
    // Another thread submitted, cancelled or wrote: a waiting poll looks again.
    std::condition_variable changed_;
    std::deque<libusb_transfer*> inFlight_;
};
