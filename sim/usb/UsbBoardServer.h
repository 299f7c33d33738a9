#pragma once

#include <libusb.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <unordered_map>
#include <vector>

// The board process's side of the libusb stand-in: each request is carried
// out with the emulated libusb of this process and answered with what the
// call returned. Only devices it listed and handles it opened are taken;
// anything else is refused as a device that is not there. A transfer of the
// host's has a twin here, with a buffer of its own, submitted for it; a poll
// handles events without waiting and gives back the one that finished, or
// when the next may finish, so that the host waits and nothing here blocks.
class UsbBoardServer {
public:
    UsbBoardServer();
    ~UsbBoardServer();
    UsbBoardServer(const UsbBoardServer&) = delete;
    UsbBoardServer& operator=(const UsbBoardServer&) = delete;

    // The whole reply message (length and body) to one request body;
    // nothing when the body is not a request.
    std::optional<std::vector<std::uint8_t>> Answer(const std::uint8_t* body, std::size_t size);

private:
    struct Twin;

    libusb_device* Device(std::uint64_t id) const;
    libusb_device_handle* Handle(std::uint64_t id) const;
    static void LIBUSB_CALL Finished(libusb_transfer* transfer);

    std::vector<std::uint8_t> DeviceList();
    std::vector<std::uint8_t> Unref(const std::vector<std::uint8_t>& ids);
    std::vector<std::uint8_t> OnDevice(std::uint8_t call, libusb_device* device);
    std::vector<std::uint8_t> Open(libusb_device* device);
    std::vector<std::uint8_t> OnHandle(std::uint8_t call, libusb_device_handle* handle, std::uint32_t number);
    std::vector<std::uint8_t> StringDescriptor(libusb_device_handle* handle, std::uint32_t index,
                                               std::uint32_t length);
    std::vector<std::uint8_t> Control(libusb_device_handle* handle, std::uint32_t a, std::uint32_t b,
                                      std::uint32_t length, const std::vector<std::uint8_t>& out);
    std::vector<std::uint8_t> BulkOut(libusb_device_handle* handle, std::uint32_t endpoint,
                                      std::vector<std::uint8_t>& out);
    std::optional<std::vector<std::uint8_t>> Submit(libusb_device_handle* handle, std::uint64_t id, std::uint32_t a,
                                                    std::uint32_t length, std::uint32_t timeout,
                                                    const std::vector<std::uint8_t>& out);
    std::vector<std::uint8_t> Cancel(std::uint64_t id);
    std::vector<std::uint8_t> Forget(std::uint64_t id);
    std::vector<std::uint8_t> Poll();

    std::set<libusb_device*> devices_;
    std::set<libusb_device_handle*> handles_;
    std::unordered_map<std::uint64_t, std::unique_ptr<Twin>> twins_;  // by the host's transfer
    Twin* finished_ = nullptr;
};
