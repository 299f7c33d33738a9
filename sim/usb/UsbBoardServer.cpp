#include "UsbBoardServer.h"

#include "BoardProcessProtocol.h"
#include "UsbCall.h"
#include "UsbEmulation.h"

#include <algorithm>
#include <chrono>

using namespace BoardProcessProtocol;

namespace {

constexpr std::size_t LongestString = 256;
constexpr std::size_t MostPorts = 8;

std::uint64_t Id(const void* pointer)
{
    return static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(pointer));
}

std::vector<std::uint8_t> Status(int result)
{
    ReplyMessage reply(0);
    reply.Head.Status = static_cast<std::uint32_t>(result);
    return reply.Finish(0);
}

bool IsIn(std::uint32_t endpoint)
{
    return (endpoint & LIBUSB_ENDPOINT_IN) != 0;
}

}  // namespace

struct UsbBoardServer::Twin {
    std::uint64_t Id = 0;
    libusb_transfer* Transfer = nullptr;
    std::vector<std::uint8_t> Buffer;
    bool InFlight = false;
};

UsbBoardServer::UsbBoardServer() = default;

// A twin in flight is the bus's until it comes back; it is left to the
// process's end.
UsbBoardServer::~UsbBoardServer()
{
    for (auto& twin : twins_) {
        if (!twin.second->InFlight)
            libusb_free_transfer(twin.second->Transfer);
    }
}

libusb_device* UsbBoardServer::Device(std::uint64_t id) const
{
    const auto it = std::find_if(devices_.begin(), devices_.end(), [id](libusb_device* d) { return Id(d) == id; });
    return it != devices_.end() ? *it : nullptr;
}

libusb_device_handle* UsbBoardServer::Handle(std::uint64_t id) const
{
    const auto it =
        std::find_if(handles_.begin(), handles_.end(), [id](libusb_device_handle* h) { return Id(h) == id; });
    return it != handles_.end() ? *it : nullptr;
}

std::optional<std::vector<std::uint8_t>> UsbBoardServer::Answer(const std::uint8_t* body, std::size_t size)
{
    std::optional<Request> request = ParseRequest(body, size);
    if (!request)
        return std::nullopt;
    const auto call = static_cast<UsbCall>(request->What);
    switch (call) {
    case UsbCall::GetDeviceList:
        return DeviceList();
    case UsbCall::UnrefDevices:
        return request->Bytes.size() % 8 == 0 ? std::optional(Unref(request->Bytes)) : std::nullopt;
    case UsbCall::Poll:
        return Poll();
    case UsbCall::Cancel:
        return Cancel(request->Other);
    case UsbCall::Forget:
        return Forget(request->Other);
    default:
        break;
    }
    if (call >= UsbCall::RefDevice && call <= UsbCall::Open) {
        libusb_device* device = Device(request->Handle);
        if (device == nullptr)
            return Status(LIBUSB_ERROR_NO_DEVICE);
        return call == UsbCall::Open ? Open(device) : OnDevice(request->What, device);
    }
    if (call < UsbCall::Close || call > UsbCall::Submit)
        return std::nullopt;
    libusb_device_handle* handle = Handle(request->Handle);
    if (handle == nullptr)
        return Status(LIBUSB_ERROR_NO_DEVICE);
    switch (call) {
    case UsbCall::GetStringDescriptor:
        return StringDescriptor(handle, request->A, request->B);
    case UsbCall::ControlTransfer:
        return Control(handle, request->A, request->B, request->C, request->Bytes);
    case UsbCall::BulkOut:
        return BulkOut(handle, request->A, request->Bytes);
    case UsbCall::Submit:
        return Submit(handle, request->Other, request->A, request->B, request->C, request->Bytes);
    default:
        return OnHandle(request->What, handle, request->A);
    }
}

// The host holds the list's references until it frees the list.
std::vector<std::uint8_t> UsbBoardServer::DeviceList()
{
    libusb_device** list = nullptr;
    const ssize_t count = libusb_get_device_list(nullptr, &list);
    if (count < 0)
        return Status(static_cast<int>(count));
    ReplyMessage reply(static_cast<std::size_t>(count) * 8);
    for (ssize_t i = 0; i < count; ++i) {
        devices_.insert(list[i]);
        PutHandle(Id(list[i]), reply.Bytes() + 8 * i);
    }
    libusb_free_device_list(list, 0);
    reply.Head.Status = static_cast<std::uint32_t>(count);
    return reply.Finish(static_cast<std::size_t>(count) * 8);
}

std::vector<std::uint8_t> UsbBoardServer::Unref(const std::vector<std::uint8_t>& ids)
{
    for (std::size_t i = 0; i < ids.size(); i += 8) {
        if (libusb_device* device = Device(ReadHandle(ids.data() + i)))
            libusb_unref_device(device);
    }
    return Status(LIBUSB_SUCCESS);
}

std::vector<std::uint8_t> UsbBoardServer::OnDevice(std::uint8_t call, libusb_device* device)
{
    ReplyMessage reply(std::max(sizeof(libusb_device_descriptor), MostPorts));
    int result = LIBUSB_SUCCESS;
    std::size_t bytes = 0;
    switch (static_cast<UsbCall>(call)) {
    case UsbCall::RefDevice:
        libusb_ref_device(device);
        break;
    case UsbCall::GetDeviceAddress:
        reply.Head.Values[0] = libusb_get_device_address(device);
        break;
    case UsbCall::GetPortNumbers:
        result = libusb_get_port_numbers(device, reply.Bytes(), static_cast<int>(MostPorts));
        bytes = result > 0 ? static_cast<std::size_t>(result) : 0;
        break;
    case UsbCall::GetDeviceDescriptor:
        result = libusb_get_device_descriptor(device, reinterpret_cast<libusb_device_descriptor*>(reply.Bytes()));
        bytes = result == LIBUSB_SUCCESS ? sizeof(libusb_device_descriptor) : 0;
        break;
    default: {
        libusb_config_descriptor* config = nullptr;
        result = libusb_get_config_descriptor(device, 0, &config);
        if (result == LIBUSB_SUCCESS) {
            const libusb_interface_descriptor& setting = config->interface->altsetting[0];
            reply.Head.Values[0] = setting.endpoint[0].wMaxPacketSize;
            reply.Head.Values[1] = setting.endpoint[0].bEndpointAddress;
            reply.Head.Values[2] = setting.endpoint[1].bEndpointAddress;
            libusb_free_config_descriptor(config);
        }
    }
    }
    reply.Head.Status = static_cast<std::uint32_t>(result);
    return reply.Finish(bytes);
}

std::vector<std::uint8_t> UsbBoardServer::Open(libusb_device* device)
{
    ReplyMessage reply(0);
    libusb_device_handle* handle = nullptr;
    const int result = libusb_open(device, &handle);
    if (result == LIBUSB_SUCCESS) {
        handles_.insert(handle);
        reply.Head.Handle = Id(handle);
    }
    reply.Head.Status = static_cast<std::uint32_t>(result);
    return reply.Finish(0);
}

std::vector<std::uint8_t> UsbBoardServer::OnHandle(std::uint8_t call, libusb_device_handle* handle,
                                                   std::uint32_t number)
{
    ReplyMessage reply(0);
    const int value = static_cast<int>(number);
    int result = LIBUSB_SUCCESS;
    switch (static_cast<UsbCall>(call)) {
    case UsbCall::Close:
        handles_.erase(handle);
        libusb_close(handle);
        break;
    case UsbCall::GetConfiguration: {
        int configuration = 0;
        result = libusb_get_configuration(handle, &configuration);
        reply.Head.Values[0] = static_cast<std::uint32_t>(configuration);
        break;
    }
    case UsbCall::SetConfiguration:
        result = libusb_set_configuration(handle, value);
        break;
    case UsbCall::KernelDriverActive:
        result = libusb_kernel_driver_active(handle, value);
        break;
    case UsbCall::DetachKernelDriver:
        result = libusb_detach_kernel_driver(handle, value);
        break;
    case UsbCall::ClaimInterface:
        result = libusb_claim_interface(handle, value);
        break;
    default:
        result = libusb_release_interface(handle, value);
        break;
    }
    reply.Head.Status = static_cast<std::uint32_t>(result);
    return reply.Finish(0);
}

// The text and its NUL.
std::vector<std::uint8_t> UsbBoardServer::StringDescriptor(libusb_device_handle* handle, std::uint32_t index,
                                                           std::uint32_t length)
{
    const std::size_t room = std::min<std::size_t>(length, LongestString);
    ReplyMessage reply(room);
    const int result = libusb_get_string_descriptor_ascii(handle, static_cast<uint8_t>(index), reply.Bytes(),
                                                          static_cast<int>(room));
    reply.Head.Status = static_cast<std::uint32_t>(result);
    return reply.Finish(result >= 0 ? static_cast<std::size_t>(result) + 1 : 0);
}

// The request type and request in `a`, the value and index in `b`.
std::vector<std::uint8_t> UsbBoardServer::Control(libusb_device_handle* handle, std::uint32_t a, std::uint32_t b,
                                                  std::uint32_t length, const std::vector<std::uint8_t>& out)
{
    const auto requestType = static_cast<std::uint8_t>(a);
    const std::uint16_t size = static_cast<std::uint16_t>(length);
    ReplyMessage reply(size);
    if (!IsIn(requestType))
        std::copy_n(out.begin(), std::min<std::size_t>(out.size(), size), reply.Bytes());
    const int result = libusb_control_transfer(handle, requestType, static_cast<std::uint8_t>(a >> 8),
                                               static_cast<std::uint16_t>(b), static_cast<std::uint16_t>(b >> 16),
                                               reply.Bytes(), size, 0);
    reply.Head.Status = static_cast<std::uint32_t>(result);
    return reply.Finish(IsIn(requestType) && result > 0 ? static_cast<std::size_t>(result) : 0);
}

// Only towards the device: a synchronous read would hold up every other call.
std::vector<std::uint8_t> UsbBoardServer::BulkOut(libusb_device_handle* handle, std::uint32_t endpoint,
                                                  std::vector<std::uint8_t>& out)
{
    if (IsIn(endpoint))
        return Status(LIBUSB_ERROR_INVALID_PARAM);
    ReplyMessage reply(0);
    int transferred = 0;
    const int result = libusb_bulk_transfer(handle, static_cast<unsigned char>(endpoint), out.data(),
                                            static_cast<int>(out.size()), &transferred, 0);
    reply.Head.Status = static_cast<std::uint32_t>(result);
    reply.Head.Values[0] = static_cast<std::uint32_t>(transferred);
    return reply.Finish(0);
}

// The endpoint and type in `a`; the bytes going out travel with it.
std::optional<std::vector<std::uint8_t>> UsbBoardServer::Submit(libusb_device_handle* handle, std::uint64_t id,
                                                                std::uint32_t a, std::uint32_t length,
                                                                std::uint32_t timeout,
                                                                const std::vector<std::uint8_t>& out)
{
    const auto endpoint = static_cast<unsigned char>(a);
    if (length > LargestRead || (!IsIn(endpoint) && out.size() != length))
        return std::nullopt;
    std::unique_ptr<Twin>& twin = twins_[id];
    if (!twin) {
        twin = std::make_unique<Twin>();
        twin->Id = id;
        twin->Transfer = libusb_alloc_transfer(0);
    }
    if (twin->InFlight)
        return Status(LIBUSB_ERROR_BUSY);
    twin->Buffer = IsIn(endpoint) ? std::vector<std::uint8_t>(length) : out;
    libusb_fill_bulk_transfer(twin->Transfer, handle, endpoint, twin->Buffer.data(), static_cast<int>(length),
                              &UsbBoardServer::Finished, this, timeout);
    twin->Transfer->type = static_cast<unsigned char>(a >> 8);
    const int result = libusb_submit_transfer(twin->Transfer);
    twin->InFlight = result == LIBUSB_SUCCESS;
    return Status(result);
}

std::vector<std::uint8_t> UsbBoardServer::Cancel(std::uint64_t id)
{
    const auto it = twins_.find(id);
    return Status(it == twins_.end() ? LIBUSB_ERROR_NOT_FOUND : libusb_cancel_transfer(it->second->Transfer));
}

// A twin in flight stays: its transfer is still the bus's.
std::vector<std::uint8_t> UsbBoardServer::Forget(std::uint64_t id)
{
    const auto it = twins_.find(id);
    if (it == twins_.end() || it->second->InFlight)
        return Status(LIBUSB_ERROR_NOT_FOUND);
    libusb_free_transfer(it->second->Transfer);
    twins_.erase(it);
    return Status(LIBUSB_SUCCESS);
}

void LIBUSB_CALL UsbBoardServer::Finished(libusb_transfer* transfer)
{
    auto* server = static_cast<UsbBoardServer*>(transfer->user_data);
    for (auto& twin : server->twins_) {
        if (twin.second->Transfer == transfer)
            server->finished_ = twin.second.get();
    }
}

// One pass of event handling that does not wait: the transfer that finished
// (its bytes, when it read), else the moment the next may finish (0: none
// pending) in nanoseconds of the machine's monotonic clock.
std::vector<std::uint8_t> UsbBoardServer::Poll()
{
    finished_ = nullptr;
    timeval now{0, 0};
    libusb_handle_events_timeout_completed(nullptr, &now, nullptr);
    if (finished_ == nullptr) {
        ReplyMessage reply(0);
        const std::optional<std::chrono::steady_clock::time_point> next = UsbEmulation::NextCompletion();
        reply.Head.Handle =
            next ? static_cast<std::uint64_t>(
                       std::chrono::duration_cast<std::chrono::nanoseconds>(next->time_since_epoch()).count())
                 : 0;
        return reply.Finish(0);
    }
    Twin& twin = *finished_;
    twin.InFlight = false;
    libusb_transfer& transfer = *twin.Transfer;
    const std::size_t bytes = IsIn(transfer.endpoint) ? static_cast<std::size_t>(transfer.actual_length) : 0;
    ReplyMessage reply(bytes);
    std::copy_n(twin.Buffer.begin(), bytes, reply.Bytes());
    reply.Head.Handle = twin.Id;
    reply.Head.Values[0] = 1;
    reply.Head.Values[1] = static_cast<std::uint32_t>(transfer.status);
    reply.Head.Values[2] = static_cast<std::uint32_t>(transfer.actual_length);
    return reply.Finish(bytes);
}
