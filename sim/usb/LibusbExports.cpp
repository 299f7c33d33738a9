// The libusb-1.0 functions that libftdi1 and the project's libftdi driver
// call, answered by the emulated bus and its FTDI devices. Contexts,
// handles and transfers are plain records here, and a libusb_device is the
// emulated device itself; every call takes the bus's lock. Asynchronous transfers complete inside libusb_handle_events_*, on the
// calling thread, with their callbacks run after the lock is let go, as
// libusb does. A synchronous bulk-in transfer waits on the bus the same way.
// With KORVADEX_SIM_PROCESS=1 each call goes to the board process instead.

#include "ConfigurationDescriptor.h"
#include "EmulatedBus.h"
#include "UsbBoardClient.h"
#include "UsbCall.h"

#include <libusb.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <memory>
#include <new>
#include <unordered_map>
#include <vector>

#define KORVADEX_USB_EXPORT __attribute__((visibility("default")))

struct libusb_context {
};

struct libusb_device_handle {
    EmulatedDevice* device = nullptr;
    bool claimed = false;
};

namespace {

using Clock = std::chrono::steady_clock;

// KORVADEX_SIM_PROCESS=1 moves the bus and its boards out of the measured
// process: every call then goes to the board process, which runs this
// library's own emulation (without the variable).
std::unique_ptr<UsbBoardClient> StartRemote()
{
    const char* value = std::getenv("KORVADEX_SIM_PROCESS");
    if (value == nullptr || std::strcmp(value, "1") != 0)
        return nullptr;
    std::unique_ptr<BoardProcessLink> link =
        StartBoardProcess("korvadex-sim-usb-board", KORVADEX_SIM_USB_BOARD_PROGRAM);
    return link ? std::make_unique<UsbBoardClient>(std::move(link)) : nullptr;
}

UsbBoardClient* Remote()
{
    static const std::unique_ptr<UsbBoardClient> remote = StartRemote();
    return remote.get();
}

// A synchronous call never waits longer than this without a time-out of its own.
constexpr std::chrono::hours LongestWait{1};

// libusb's device is opaque to its callers: it is the emulated device.
EmulatedDevice& DeviceOf(libusb_device* device)
{
    return *reinterpret_cast<EmulatedDevice*>(device);
}

libusb_device* UsbDevice(EmulatedDevice* device)
{
    return reinterpret_cast<libusb_device*>(device);
}

struct TransferRecord {
    InRequest request;  // bulk-in transfers
    EmulatedDevice* device = nullptr;
    bool inFlight = false;
};

// Keyed by the transfer; guarded by the bus's lock.
std::unordered_map<libusb_transfer*, TransferRecord>& Records()
{
    static std::unordered_map<libusb_transfer*, TransferRecord> records;
    return records;
}

// The transfers in flight, in the order submitted. Every context handles
// them all, whichever device they are for.
std::deque<libusb_transfer*>& InFlight()
{
    static std::deque<libusb_transfer*> inFlight;
    return inFlight;
}

bool IsIn(unsigned char endpoint)
{
    return (endpoint & LIBUSB_ENDPOINT_IN) != 0;
}

std::optional<BoardTime> DeadlineAfter(EmulatedBus& bus, unsigned int timeoutMs)
{
    if (timeoutMs == 0)
        return std::nullopt;
    return bus.Now() + std::chrono::milliseconds(timeoutMs);
}

libusb_transfer_status TransferStatus(InRequest::State state)
{
    switch (state) {
    case InRequest::State::Stalled:
        return LIBUSB_TRANSFER_STALL;
    case InRequest::State::Overflow:
        return LIBUSB_TRANSFER_OVERFLOW;
    case InRequest::State::NoDevice:
        return LIBUSB_TRANSFER_NO_DEVICE;
    case InRequest::State::Cancelled:
        return LIBUSB_TRANSFER_CANCELLED;
    case InRequest::State::TimedOut:
        return LIBUSB_TRANSFER_TIMED_OUT;
    case InRequest::State::Completed:
    case InRequest::State::Pending:
        break;
    }
    return LIBUSB_TRANSFER_COMPLETED;
}

int SyncError(InRequest::State state)
{
    switch (state) {
    case InRequest::State::Stalled:
        return LIBUSB_ERROR_PIPE;
    case InRequest::State::Overflow:
        return LIBUSB_ERROR_OVERFLOW;
    case InRequest::State::NoDevice:
        return LIBUSB_ERROR_NO_DEVICE;
    case InRequest::State::TimedOut:
        return LIBUSB_ERROR_TIMEOUT;
    case InRequest::State::Cancelled:
        return LIBUSB_ERROR_INTERRUPTED;
    case InRequest::State::Completed:
    case InRequest::State::Pending:
        break;
    }
    return LIBUSB_SUCCESS;
}

// Takes the finished transfers off the list, oldest first, with their
// status and length filled in.
// One finished transfer per event pass at most: a host controller gives
// cancelled transfers back one by one, so a caller must go on handling
// events until the transfer it waits for is back.
libusb_transfer* TakeFinished()
{
    auto& inFlight = InFlight();
    for (auto it = inFlight.begin(); it != inFlight.end(); ++it) {
        libusb_transfer* transfer = *it;
        TransferRecord& record = Records()[transfer];
        const bool in = IsIn(transfer->endpoint);
        if (in && record.request.Status == InRequest::State::Pending)
            continue;
        transfer->status = in ? TransferStatus(record.request.Status) : LIBUSB_TRANSFER_COMPLETED;
        transfer->actual_length = in ? static_cast<int>(record.request.Actual) : transfer->length;
        record.inFlight = false;
        inFlight.erase(it);
        return transfer;
    }
    return nullptr;
}

int SubmitBulk(EmulatedBus& bus, libusb_transfer* transfer, TransferRecord& record)
{
    record.device = transfer->dev_handle->device;
    FtdiBridgeChip& chip = record.device->Chip();
    if (IsIn(transfer->endpoint)) {
        if (transfer->endpoint != FtdiBridgeChip::InEndpoint)
            return LIBUSB_ERROR_NOT_FOUND;
        record.request = InRequest();
        record.request.Buffer = transfer->buffer;
        record.request.Length = static_cast<std::size_t>(std::max(transfer->length, 0));
        record.request.Deadline = DeadlineAfter(bus, transfer->timeout);
        chip.SubmitIn(record.request, bus.Now());
    } else {
        if (transfer->endpoint != FtdiBridgeChip::OutEndpoint)
            return LIBUSB_ERROR_NOT_FOUND;
        chip.ReceiveOut(transfer->buffer, static_cast<std::size_t>(std::max(transfer->length, 0)), bus.Now());
    }
    return LIBUSB_SUCCESS;
}

}  // namespace

extern "C" {

KORVADEX_USB_EXPORT int libusb_init(libusb_context** context)
{
    if (context != nullptr)
        *context = new (std::nothrow) libusb_context;
    return context != nullptr && *context == nullptr ? LIBUSB_ERROR_NO_MEM : LIBUSB_SUCCESS;
}

KORVADEX_USB_EXPORT void libusb_exit(libusb_context* context)
{
    delete context;
}

KORVADEX_USB_EXPORT ssize_t libusb_get_device_list(libusb_context*, libusb_device*** list)
{
    if (UsbBoardClient* remote = Remote())
        return remote->GetDeviceList(list);
    EmulatedBus& bus = EmulatedBus::Instance();
    const auto lock = bus.Lock();
    bus.Advance();
    const std::vector<EmulatedDevice*> listed = bus.Listed();
    auto* devices = static_cast<libusb_device**>(std::calloc(listed.size() + 1, sizeof(libusb_device*)));
    if (devices == nullptr)
        return LIBUSB_ERROR_NO_MEM;
    for (std::size_t i = 0; i < listed.size(); ++i)
        devices[i] = UsbDevice(listed[i]);
    bus.deviceReferences += static_cast<int>(listed.size());
    *list = devices;
    return static_cast<ssize_t>(listed.size());
}

KORVADEX_USB_EXPORT void libusb_free_device_list(libusb_device** list, int unrefDevices)
{
    if (UsbBoardClient* remote = Remote())
        return remote->FreeDeviceList(list, unrefDevices);
    if (list == nullptr)
        return;
    if (unrefDevices != 0) {
        EmulatedBus& bus = EmulatedBus::Instance();
        const auto lock = bus.Lock();
        for (libusb_device** device = list; *device != nullptr; ++device)
            --bus.deviceReferences;
    }
    std::free(list);
}

KORVADEX_USB_EXPORT libusb_device* libusb_ref_device(libusb_device* device)
{
    if (UsbBoardClient* remote = Remote()) {
        remote->RefDevice(device);
        return device;
    }
    EmulatedBus& bus = EmulatedBus::Instance();
    const auto lock = bus.Lock();
    ++bus.deviceReferences;
    return device;
}

KORVADEX_USB_EXPORT void libusb_unref_device(libusb_device* device)
{
    if (UsbBoardClient* remote = Remote())
        return remote->UnrefDevice(device);
    if (device == nullptr)
        return;
    EmulatedBus& bus = EmulatedBus::Instance();
    const auto lock = bus.Lock();
    --bus.deviceReferences;
}

KORVADEX_USB_EXPORT uint8_t libusb_get_bus_number(libusb_device*)
{
    return 1;
}

KORVADEX_USB_EXPORT uint8_t libusb_get_device_address(libusb_device* device)
{
    if (UsbBoardClient* remote = Remote())
        return remote->GetDeviceAddress(device);
    EmulatedBus& bus = EmulatedBus::Instance();
    const auto lock = bus.Lock();
    return DeviceOf(device).Address();
}

// Every device sits on a hub in port 1 of bus 1: "1-1.<port>".
KORVADEX_USB_EXPORT int libusb_get_port_numbers(libusb_device* device, uint8_t* ports, int length)
{
    if (UsbBoardClient* remote = Remote())
        return remote->GetPortNumbers(device, ports, length);
    if (length < 2)
        return LIBUSB_ERROR_OVERFLOW;
    EmulatedBus& bus = EmulatedBus::Instance();
    const auto lock = bus.Lock();
    ports[0] = 1;
    ports[1] = DeviceOf(device).Port();
    return 2;
}

KORVADEX_USB_EXPORT int libusb_get_device_descriptor(libusb_device* device, libusb_device_descriptor* descriptor)
{
    if (UsbBoardClient* remote = Remote())
        return remote->GetDeviceDescriptor(device, descriptor);
    EmulatedBus& bus = EmulatedBus::Instance();
    const auto lock = bus.Lock();
    const FtdiBridgeChip& chip = DeviceOf(device).Chip();
    *descriptor = libusb_device_descriptor();
    descriptor->bLength = LIBUSB_DT_DEVICE_SIZE;
    descriptor->bDescriptorType = LIBUSB_DT_DEVICE;
    descriptor->bcdUSB = 0x0200;
    descriptor->bMaxPacketSize0 = chip.PacketSize() == 512 ? 64 : 8;
    descriptor->idVendor = FtdiBridgeChip::VendorId;
    descriptor->idProduct = chip.ProductId();
    descriptor->bcdDevice = chip.DeviceRelease();
    descriptor->iManufacturer = 1;
    descriptor->iProduct = 2;
    descriptor->iSerialNumber = 3;
    descriptor->bNumConfigurations = 1;
    return LIBUSB_SUCCESS;
}

KORVADEX_USB_EXPORT int libusb_get_config_descriptor(libusb_device* device, uint8_t index,
                                                     libusb_config_descriptor** config)
{
    if (UsbBoardClient* remote = Remote())
        return remote->GetConfigDescriptor(device, index, config);
    if (index != 0)
        return LIBUSB_ERROR_NOT_FOUND;
    EmulatedBus& bus = EmulatedBus::Instance();
    const auto lock = bus.Lock();
    *config = ConfigurationDescriptor::Make(static_cast<std::uint16_t>(DeviceOf(device).Chip().PacketSize()),
                                            FtdiBridgeChip::InEndpoint, FtdiBridgeChip::OutEndpoint);
    return *config != nullptr ? LIBUSB_SUCCESS : LIBUSB_ERROR_NO_MEM;
}

KORVADEX_USB_EXPORT void libusb_free_config_descriptor(libusb_config_descriptor* config)
{
    ConfigurationDescriptor::Free(config);
}

KORVADEX_USB_EXPORT int libusb_open(libusb_device* usbDevice, libusb_device_handle** handle)
{
    if (UsbBoardClient* remote = Remote())
        return remote->Open(usbDevice, handle);
    EmulatedBus& bus = EmulatedBus::Instance();
    const auto lock = bus.Lock();
    bus.Advance();
    EmulatedDevice& device = DeviceOf(usbDevice);
    const std::vector<EmulatedDevice*> listed = bus.Listed();
    if (std::find(listed.begin(), listed.end(), &device) == listed.end())
        return LIBUSB_ERROR_NO_DEVICE;
    if (device.accessDenied)
        return LIBUSB_ERROR_ACCESS;
    *handle = new (std::nothrow) libusb_device_handle{&device, false};
    if (*handle == nullptr)
        return LIBUSB_ERROR_NO_MEM;
    ++device.openHandles;
    ++bus.deviceReferences;
    return LIBUSB_SUCCESS;
}

KORVADEX_USB_EXPORT void libusb_close(libusb_device_handle* handle)
{
    if (UsbBoardClient* remote = Remote())
        return remote->Close(handle);
    if (handle == nullptr)
        return;
    EmulatedBus& bus = EmulatedBus::Instance();
    const auto lock = bus.Lock();
    if (handle->claimed)
        handle->device->interfaceClaimed = false;
    --handle->device->openHandles;
    --bus.deviceReferences;
    delete handle;
}

KORVADEX_USB_EXPORT int libusb_get_configuration(libusb_device_handle* handle, int* configuration)
{
    if (UsbBoardClient* remote = Remote())
        return remote->GetConfiguration(handle, configuration);
    EmulatedBus& bus = EmulatedBus::Instance();
    const auto lock = bus.Lock();
    if (handle->device->Chip().Removed())
        return LIBUSB_ERROR_NO_DEVICE;
    *configuration = 1;
    return LIBUSB_SUCCESS;
}

KORVADEX_USB_EXPORT int libusb_set_configuration(libusb_device_handle* handle, int configuration)
{
    if (UsbBoardClient* remote = Remote())
        return remote->OnHandle(UsbCall::SetConfiguration, handle, configuration);
    EmulatedBus& bus = EmulatedBus::Instance();
    const auto lock = bus.Lock();
    if (handle->device->Chip().Removed())
        return LIBUSB_ERROR_NO_DEVICE;
    return configuration == 1 ? LIBUSB_SUCCESS : LIBUSB_ERROR_NOT_FOUND;
}

KORVADEX_USB_EXPORT int libusb_kernel_driver_active(libusb_device_handle* handle, int interfaceNumber)
{
    if (UsbBoardClient* remote = Remote())
        return remote->OnHandle(UsbCall::KernelDriverActive, handle, interfaceNumber);
    EmulatedBus& bus = EmulatedBus::Instance();
    const auto lock = bus.Lock();
    if (handle->device->Chip().Removed())
        return LIBUSB_ERROR_NO_DEVICE;
    return interfaceNumber == 0 && handle->device->kernelDriverBound ? 1 : 0;
}

KORVADEX_USB_EXPORT int libusb_detach_kernel_driver(libusb_device_handle* handle, int interfaceNumber)
{
    if (UsbBoardClient* remote = Remote())
        return remote->OnHandle(UsbCall::DetachKernelDriver, handle, interfaceNumber);
    EmulatedBus& bus = EmulatedBus::Instance();
    const auto lock = bus.Lock();
    EmulatedDevice& device = *handle->device;
    if (device.Chip().Removed())
        return LIBUSB_ERROR_NO_DEVICE;
    if (interfaceNumber != 0 || !device.kernelDriverBound)
        return LIBUSB_ERROR_NOT_FOUND;
    if (device.kernelDriverStays)
        return LIBUSB_ERROR_OTHER;
    device.kernelDriverBound = false;
    return LIBUSB_SUCCESS;
}

KORVADEX_USB_EXPORT int libusb_set_auto_detach_kernel_driver(libusb_device_handle*, int)
{
    return LIBUSB_SUCCESS;
}

KORVADEX_USB_EXPORT int libusb_claim_interface(libusb_device_handle* handle, int interfaceNumber)
{
    if (UsbBoardClient* remote = Remote())
        return remote->OnHandle(UsbCall::ClaimInterface, handle, interfaceNumber);
    EmulatedBus& bus = EmulatedBus::Instance();
    const auto lock = bus.Lock();
    EmulatedDevice& device = *handle->device;
    if (device.Chip().Removed())
        return LIBUSB_ERROR_NO_DEVICE;
    if (interfaceNumber != 0)
        return LIBUSB_ERROR_NOT_FOUND;
    if (handle->claimed)
        return LIBUSB_SUCCESS;
    if (device.busyElsewhere || device.kernelDriverBound || device.interfaceClaimed)
        return LIBUSB_ERROR_BUSY;
    handle->claimed = true;
    device.interfaceClaimed = true;
    return LIBUSB_SUCCESS;
}

KORVADEX_USB_EXPORT int libusb_release_interface(libusb_device_handle* handle, int interfaceNumber)
{
    if (UsbBoardClient* remote = Remote())
        return remote->OnHandle(UsbCall::ReleaseInterface, handle, interfaceNumber);
    EmulatedBus& bus = EmulatedBus::Instance();
    const auto lock = bus.Lock();
    if (interfaceNumber != 0 || !handle->claimed)
        return LIBUSB_ERROR_NOT_FOUND;
    handle->claimed = false;
    handle->device->interfaceClaimed = false;
    return handle->device->Chip().Removed() ? LIBUSB_ERROR_NO_DEVICE : LIBUSB_SUCCESS;
}

KORVADEX_USB_EXPORT int libusb_get_string_descriptor_ascii(libusb_device_handle* handle, uint8_t index,
                                                           unsigned char* data, int length)
{
    if (UsbBoardClient* remote = Remote())
        return remote->GetStringDescriptor(handle, index, data, length);
    EmulatedBus& bus = EmulatedBus::Instance();
    const auto lock = bus.Lock();
    const FtdiBridgeChip& chip = handle->device->Chip();
    if (chip.Removed())
        return LIBUSB_ERROR_NO_DEVICE;
    const std::string text = chip.StringDescriptor(index);
    if (text.empty())
        return LIBUSB_ERROR_PIPE;
    if (length <= 0)
        return LIBUSB_ERROR_INVALID_PARAM;
    const int n = std::min(static_cast<int>(text.size()), length - 1);
    std::memcpy(data, text.data(), static_cast<std::size_t>(n));
    data[n] = 0;
    return n;
}

KORVADEX_USB_EXPORT int libusb_control_transfer(libusb_device_handle* handle, uint8_t requestType, uint8_t request,
                                                uint16_t value, uint16_t index, unsigned char* data,
                                                uint16_t length, unsigned int)
{
    if (UsbBoardClient* remote = Remote())
        return remote->ControlTransfer(handle, requestType, request, value, index, data, length);
    EmulatedBus& bus = EmulatedBus::Instance();
    const auto lock = bus.Lock();
    bus.Advance();
    FtdiBridgeChip& chip = handle->device->Chip();
    if (chip.Removed())
        return LIBUSB_ERROR_NO_DEVICE;
    const std::optional<std::size_t> answered = chip.Control(requestType, request, value, index, data, length);
    bus.Notify();
    return answered ? static_cast<int>(*answered) : LIBUSB_ERROR_PIPE;
}

KORVADEX_USB_EXPORT int libusb_bulk_transfer(libusb_device_handle* handle, unsigned char endpoint,
                                             unsigned char* data, int length, int* transferred, unsigned int timeout)
{
    if (UsbBoardClient* remote = Remote())
        return remote->BulkTransfer(handle, endpoint, data, length, transferred, timeout);
    EmulatedBus& bus = EmulatedBus::Instance();
    auto lock = bus.Lock();
    bus.Advance();
    if (transferred != nullptr)
        *transferred = 0;
    FtdiBridgeChip& chip = handle->device->Chip();
    if (chip.Removed())
        return LIBUSB_ERROR_NO_DEVICE;
    if (!IsIn(endpoint)) {
        if (endpoint != FtdiBridgeChip::OutEndpoint)
            return LIBUSB_ERROR_NOT_FOUND;
        chip.ReceiveOut(data, static_cast<std::size_t>(std::max(length, 0)), bus.Now());
        bus.Notify();
        if (transferred != nullptr)
            *transferred = length;
        return LIBUSB_SUCCESS;
    }
    if (endpoint != FtdiBridgeChip::InEndpoint)
        return LIBUSB_ERROR_NOT_FOUND;
    InRequest request;
    request.Buffer = data;
    request.Length = static_cast<std::size_t>(std::max(length, 0));
    request.Deadline = DeadlineAfter(bus, timeout);
    chip.SubmitIn(request, bus.Now());
    while (request.Status == InRequest::State::Pending) {
        bus.Wait(lock, Clock::now() + LongestWait);
        bus.Advance();
    }
    if (transferred != nullptr)
        *transferred = static_cast<int>(request.Actual);
    return SyncError(request.Status);
}

KORVADEX_USB_EXPORT libusb_transfer* libusb_alloc_transfer(int isoPackets)
{
    if (isoPackets < 0)
        return nullptr;
    const std::size_t size =
        sizeof(libusb_transfer) + static_cast<std::size_t>(isoPackets) * sizeof(libusb_iso_packet_descriptor);
    auto* transfer = static_cast<libusb_transfer*>(std::calloc(1, size));
    if (transfer == nullptr)
        return nullptr;
    transfer->num_iso_packets = isoPackets;
    if (Remote() != nullptr)
        return transfer;
    EmulatedBus& bus = EmulatedBus::Instance();
    const auto lock = bus.Lock();
    Records()[transfer];
    return transfer;
}

KORVADEX_USB_EXPORT void libusb_free_transfer(libusb_transfer* transfer)
{
    if (transfer == nullptr)
        return;
    if (UsbBoardClient* remote = Remote()) {
        remote->Forget(transfer);
    } else {
        EmulatedBus& bus = EmulatedBus::Instance();
        const auto lock = bus.Lock();
        Records().erase(transfer);
    }
    if ((transfer->flags & LIBUSB_TRANSFER_FREE_BUFFER) != 0)
        std::free(transfer->buffer);
    std::free(transfer);
}

KORVADEX_USB_EXPORT int libusb_submit_transfer(libusb_transfer* transfer)
{
    if (UsbBoardClient* remote = Remote())
        return remote->Submit(transfer);
    EmulatedBus& bus = EmulatedBus::Instance();
    const auto lock = bus.Lock();
    bus.Advance();
    TransferRecord& record = Records()[transfer];
    if (record.inFlight)
        return LIBUSB_ERROR_BUSY;
    if (transfer->dev_handle == nullptr)
        return LIBUSB_ERROR_INVALID_PARAM;
    if (transfer->dev_handle->device->Chip().Removed())
        return LIBUSB_ERROR_NO_DEVICE;
    if (transfer->type != LIBUSB_TRANSFER_TYPE_BULK)
        return LIBUSB_ERROR_NOT_SUPPORTED;
    const int result = SubmitBulk(bus, transfer, record);
    if (result != LIBUSB_SUCCESS)
        return result;
    record.inFlight = true;
    InFlight().push_back(transfer);
    bus.Notify();
    return LIBUSB_SUCCESS;
}

KORVADEX_USB_EXPORT int libusb_cancel_transfer(libusb_transfer* transfer)
{
    if (UsbBoardClient* remote = Remote())
        return remote->Cancel(transfer);
    EmulatedBus& bus = EmulatedBus::Instance();
    const auto lock = bus.Lock();
    TransferRecord& record = Records()[transfer];
    if (!record.inFlight || !IsIn(transfer->endpoint) || !record.device->Chip().Cancel(record.request))
        return LIBUSB_ERROR_NOT_FOUND;
    bus.Notify();
    return LIBUSB_SUCCESS;
}

KORVADEX_USB_EXPORT int libusb_handle_events_timeout_completed(libusb_context*, struct timeval* tv,
                                                               int* completed)
{
    if (UsbBoardClient* remote = Remote())
        return remote->HandleEvents(tv, completed);
    const Clock::time_point deadline =
        tv == nullptr ? Clock::now() + LongestWait
                      : Clock::now() + std::chrono::seconds(tv->tv_sec) + std::chrono::microseconds(tv->tv_usec);
    libusb_transfer* finished = nullptr;
    {
        EmulatedBus& bus = EmulatedBus::Instance();
        auto lock = bus.Lock();
        for (;;) {
            bus.Advance();
            finished = TakeFinished();
            if (finished != nullptr || (completed != nullptr && *completed != 0) || Clock::now() >= deadline)
                break;
            bus.Wait(lock, deadline);
        }
    }
    if (finished != nullptr && finished->callback != nullptr)
        finished->callback(finished);
    return LIBUSB_SUCCESS;
}

KORVADEX_USB_EXPORT const char* libusb_error_name(int code)
{
    switch (code) {
    case LIBUSB_SUCCESS:
        return "LIBUSB_SUCCESS";
    case LIBUSB_ERROR_IO:
        return "LIBUSB_ERROR_IO";
    case LIBUSB_ERROR_ACCESS:
        return "LIBUSB_ERROR_ACCESS";
    case LIBUSB_ERROR_NO_DEVICE:
        return "LIBUSB_ERROR_NO_DEVICE";
    case LIBUSB_ERROR_NOT_FOUND:
        return "LIBUSB_ERROR_NOT_FOUND";
    case LIBUSB_ERROR_BUSY:
        return "LIBUSB_ERROR_BUSY";
    case LIBUSB_ERROR_PIPE:
        return "LIBUSB_ERROR_PIPE";
    case LIBUSB_ERROR_NO_MEM:
        return "LIBUSB_ERROR_NO_MEM";
    case LIBUSB_ERROR_OTHER:
        return "LIBUSB_ERROR_OTHER";
    default:
        return "**UNKNOWN**";
    }
}

KORVADEX_USB_EXPORT int libusb_handle_events_timeout(libusb_context* context, struct timeval* tv)
{
    return libusb_handle_events_timeout_completed(context, tv, nullptr);
}

}  // extern "C"
