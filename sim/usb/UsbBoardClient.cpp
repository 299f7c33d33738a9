#include "UsbBoardClient.h"

#include "ConfigurationDescriptor.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

using namespace BoardProcessProtocol;

namespace {

// A synchronous call never waits longer than this without a time-out of its own.
constexpr std::chrono::hours LongestWait{1};

std::uint64_t Id(const void* pointer)
{
    return static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(pointer));
}

template <typename Object>
Object* As(std::uint64_t id)
{
    return reinterpret_cast<Object*>(static_cast<std::uintptr_t>(id));
}

Request MakeRequest(UsbCall call, const void* handle = nullptr, const void* other = nullptr, std::uint32_t a = 0,
                    std::uint32_t b = 0, std::uint32_t c = 0)
{
    Request request;
    request.What = static_cast<std::uint8_t>(call);
    request.Handle = Id(handle);
    request.Other = Id(other);
    request.A = a;
    request.B = b;
    request.C = c;
    return request;
}

int Result(const std::optional<ReplyHead>& reply, int gone = LIBUSB_ERROR_NO_DEVICE)
{
    return reply ? static_cast<int>(static_cast<std::int32_t>(reply->Status)) : gone;
}

// The caller's buffer, when the bytes fit in it.
BoardProcessLink::Destination Into(void* buffer, std::size_t room)
{
    return [buffer, room](const ReplyHead&, std::size_t bytes) { return bytes <= room ? buffer : nullptr; };
}

int SyncResult(libusb_transfer_status status)
{
    switch (status) {
    case LIBUSB_TRANSFER_STALL:
        return LIBUSB_ERROR_PIPE;
    case LIBUSB_TRANSFER_OVERFLOW:
        return LIBUSB_ERROR_OVERFLOW;
    case LIBUSB_TRANSFER_NO_DEVICE:
        return LIBUSB_ERROR_NO_DEVICE;
    case LIBUSB_TRANSFER_TIMED_OUT:
        return LIBUSB_ERROR_TIMEOUT;
    case LIBUSB_TRANSFER_CANCELLED:
        return LIBUSB_ERROR_INTERRUPTED;
    case LIBUSB_TRANSFER_ERROR:
        return LIBUSB_ERROR_IO;
    case LIBUSB_TRANSFER_COMPLETED:
        break;
    }
    return LIBUSB_SUCCESS;
}

bool IsIn(unsigned char endpoint)
{
    return (endpoint & LIBUSB_ENDPOINT_IN) != 0;
}

}  // namespace

UsbBoardClient::UsbBoardClient(std::unique_ptr<BoardProcessLink> link)
    : link_(std::move(link))
{
}

std::optional<ReplyHead> UsbBoardClient::Ask(const Request& request, const BoardProcessLink::Destination& destination)
{
    ReplyHead head;
    std::size_t received = 0;
    if (!link_->Exchange(EncodeRequest(request), head, destination, received))
        return std::nullopt;
    return head;
}

// Without a board process the bus is empty.
ssize_t UsbBoardClient::GetDeviceList(libusb_device*** list)
{
    const std::lock_guard<std::mutex> guard(mutex_);
    std::vector<std::uint8_t> ids;
    const auto into = [&ids](const ReplyHead&, std::size_t bytes) {
        ids.resize(bytes);
        return static_cast<void*>(ids.data());
    };
    const int count = Result(Ask(MakeRequest(UsbCall::GetDeviceList), into), 0);
    if (count < 0)
        return count;
    const std::size_t listed = std::min<std::size_t>(static_cast<std::size_t>(count), ids.size() / 8);
    auto* devices = static_cast<libusb_device**>(std::calloc(listed + 1, sizeof(libusb_device*)));
    if (devices == nullptr)
        return LIBUSB_ERROR_NO_MEM;
    for (std::size_t i = 0; i < listed; ++i)
        devices[i] = As<libusb_device>(ReadHandle(ids.data() + 8 * i));
    *list = devices;
    return static_cast<ssize_t>(listed);
}

void UsbBoardClient::FreeDeviceList(libusb_device** list, int unrefDevices)
{
    if (list == nullptr)
        return;
    if (unrefDevices != 0) {
        Request request = MakeRequest(UsbCall::UnrefDevices);
        for (libusb_device** device = list; *device != nullptr; ++device) {
            request.Bytes.resize(request.Bytes.size() + 8);
            PutHandle(Id(*device), request.Bytes.data() + request.Bytes.size() - 8);
        }
        const std::lock_guard<std::mutex> guard(mutex_);
        Ask(request);
    }
    std::free(list);
}

void UsbBoardClient::RefDevice(libusb_device* device)
{
    const std::lock_guard<std::mutex> guard(mutex_);
    Ask(MakeRequest(UsbCall::RefDevice, device));
}

void UsbBoardClient::UnrefDevice(libusb_device* device)
{
    if (device == nullptr)
        return;
    Request request = MakeRequest(UsbCall::UnrefDevices);
    request.Bytes.resize(8);
    PutHandle(Id(device), request.Bytes.data());
    const std::lock_guard<std::mutex> guard(mutex_);
    Ask(request);
}

uint8_t UsbBoardClient::GetDeviceAddress(libusb_device* device)
{
    const std::lock_guard<std::mutex> guard(mutex_);
    const std::optional<ReplyHead> reply = Ask(MakeRequest(UsbCall::GetDeviceAddress, device));
    return reply ? static_cast<uint8_t>(reply->Values[0]) : 0;
}

int UsbBoardClient::GetPortNumbers(libusb_device* device, uint8_t* ports, int length)
{
    if (length < 2)
        return LIBUSB_ERROR_OVERFLOW;
    const std::lock_guard<std::mutex> guard(mutex_);
    return Result(Ask(MakeRequest(UsbCall::GetPortNumbers, device), Into(ports, static_cast<std::size_t>(length))));
}

int UsbBoardClient::GetDeviceDescriptor(libusb_device* device, libusb_device_descriptor* descriptor)
{
    const std::lock_guard<std::mutex> guard(mutex_);
    return Result(Ask(MakeRequest(UsbCall::GetDeviceDescriptor, device), Into(descriptor, sizeof *descriptor)));
}

int UsbBoardClient::GetConfigDescriptor(libusb_device* device, uint8_t index, libusb_config_descriptor** config)
{
    if (index != 0)
        return LIBUSB_ERROR_NOT_FOUND;
    const std::lock_guard<std::mutex> guard(mutex_);
    const std::optional<ReplyHead> reply = Ask(MakeRequest(UsbCall::GetPacketSize, device));
    const int result = Result(reply);
    if (result != LIBUSB_SUCCESS)
        return result;
    *config = ConfigurationDescriptor::Make(static_cast<std::uint16_t>(reply->Values[0]),
                                            static_cast<std::uint8_t>(reply->Values[1]),
                                            static_cast<std::uint8_t>(reply->Values[2]));
    return *config != nullptr ? LIBUSB_SUCCESS : LIBUSB_ERROR_NO_MEM;
}

int UsbBoardClient::Open(libusb_device* device, libusb_device_handle** handle)
{
    const std::lock_guard<std::mutex> guard(mutex_);
    const std::optional<ReplyHead> reply = Ask(MakeRequest(UsbCall::Open, device));
    const int result = Result(reply);
    if (result == LIBUSB_SUCCESS)
        *handle = As<libusb_device_handle>(reply->Handle);
    return result;
}

void UsbBoardClient::Close(libusb_device_handle* handle)
{
    if (handle == nullptr)
        return;
    const std::lock_guard<std::mutex> guard(mutex_);
    Ask(MakeRequest(UsbCall::Close, handle));
}

int UsbBoardClient::GetConfiguration(libusb_device_handle* handle, int* configuration)
{
    const std::lock_guard<std::mutex> guard(mutex_);
    const std::optional<ReplyHead> reply = Ask(MakeRequest(UsbCall::GetConfiguration, handle));
    const int result = Result(reply);
    if (result == LIBUSB_SUCCESS)
        *configuration = static_cast<int>(reply->Values[0]);
    return result;
}

int UsbBoardClient::OnHandle(UsbCall call, libusb_device_handle* handle, int number)
{
    const std::lock_guard<std::mutex> guard(mutex_);
    return Result(Ask(MakeRequest(call, handle, nullptr, static_cast<std::uint32_t>(number))));
}

int UsbBoardClient::GetStringDescriptor(libusb_device_handle* handle, uint8_t index, unsigned char* data, int length)
{
    const std::lock_guard<std::mutex> guard(mutex_);
    return Result(Ask(MakeRequest(UsbCall::GetStringDescriptor, handle, nullptr, index,
                                  static_cast<std::uint32_t>(std::max(length, 0))),
                      Into(data, static_cast<std::size_t>(std::max(length, 0)))));
}

int UsbBoardClient::ControlTransfer(libusb_device_handle* handle, uint8_t requestType, uint8_t request,
                                    uint16_t value, uint16_t index, unsigned char* data, uint16_t length)
{
    Request control = MakeRequest(UsbCall::ControlTransfer, handle, nullptr,
                                  static_cast<std::uint32_t>(requestType | request << 8),
                                  static_cast<std::uint32_t>(value | index << 16), length);
    if (!IsIn(requestType) && data != nullptr)
        control.Bytes.assign(data, data + length);
    const std::lock_guard<std::mutex> guard(mutex_);
    const int result = Result(Ask(control, Into(data, IsIn(requestType) && data != nullptr ? length : 0)));
    changed_.notify_all();
    return result;
}

int UsbBoardClient::BulkTransfer(libusb_device_handle* handle, unsigned char endpoint, unsigned char* data,
                                 int length, int* transferred, unsigned int timeout)
{
    if (transferred != nullptr)
        *transferred = 0;
    if (IsIn(endpoint))
        return BulkIn(handle, endpoint, data, length, transferred, timeout);
    Request out = MakeRequest(UsbCall::BulkOut, handle, nullptr, endpoint);
    out.Bytes.assign(data, data + std::max(length, 0));
    const std::lock_guard<std::mutex> guard(mutex_);
    const std::optional<ReplyHead> reply = Ask(out);
    if (reply && transferred != nullptr)
        *transferred = static_cast<int>(reply->Values[0]);
    changed_.notify_all();
    return Result(reply);
}

// As libusb itself does: a transfer of its own, and events handled until it
// is back.
int UsbBoardClient::BulkIn(libusb_device_handle* handle, unsigned char endpoint, unsigned char* data, int length,
                           int* transferred, unsigned int timeout)
{
    int done = 0;
    libusb_transfer transfer{};
    libusb_fill_bulk_transfer(
        &transfer, handle, endpoint, data, length,
        [](libusb_transfer* finished) { *static_cast<int*>(finished->user_data) = 1; }, &done, timeout);
    const int submitted = Submit(&transfer);
    if (submitted != LIBUSB_SUCCESS)
        return submitted;
    while (done == 0)
        HandleEvents(nullptr, &done);
    Forget(&transfer);
    if (transferred != nullptr)
        *transferred = transfer.actual_length;
    return SyncResult(transfer.status);
}

int UsbBoardClient::Submit(libusb_transfer* transfer)
{
    Request submit = MakeRequest(UsbCall::Submit, transfer->dev_handle, transfer,
                                 static_cast<std::uint32_t>(transfer->endpoint | transfer->type << 8),
                                 static_cast<std::uint32_t>(std::max(transfer->length, 0)), transfer->timeout);
    if (!IsIn(transfer->endpoint) && transfer->buffer != nullptr)
        submit.Bytes.assign(transfer->buffer, transfer->buffer + std::max(transfer->length, 0));
    const std::lock_guard<std::mutex> guard(mutex_);
    const int result = Result(Ask(submit));
    if (result == LIBUSB_SUCCESS)
        inFlight_.push_back(transfer);
    changed_.notify_all();
    return result;
}

int UsbBoardClient::Cancel(libusb_transfer* transfer)
{
    const std::lock_guard<std::mutex> guard(mutex_);
    const int result = Result(Ask(MakeRequest(UsbCall::Cancel, nullptr, transfer)), LIBUSB_ERROR_NOT_FOUND);
    changed_.notify_all();
    return result;
}

void UsbBoardClient::Forget(libusb_transfer* transfer)
{
    const std::lock_guard<std::mutex> guard(mutex_);
    Ask(MakeRequest(UsbCall::Forget, nullptr, transfer));
}

int UsbBoardClient::HandleEvents(const timeval* timeout, int* completed)
{
    const Clock::time_point deadline =
        timeout == nullptr
            ? Clock::now() + LongestWait
            : Clock::now() + std::chrono::seconds(timeout->tv_sec) + std::chrono::microseconds(timeout->tv_usec);
    libusb_transfer* finished = nullptr;
    {
        std::unique_lock<std::mutex> lock(mutex_);
        for (;;) {
            Clock::time_point next = deadline;
            finished = TakeFinished(next);
            if (finished != nullptr || (completed != nullptr && *completed != 0) || Clock::now() >= deadline)
                break;
            changed_.wait_until(lock, std::min(next, deadline));
        }
    }
    if (finished != nullptr && finished->callback != nullptr)
        finished->callback(finished);
    return LIBUSB_SUCCESS;
}

// The board process names the finished transfer and sends its bytes, which
// land in the transfer's buffer; without a board process every transfer in
// flight comes back, oldest first, as from a device that is gone.
libusb_transfer* UsbBoardClient::TakeFinished(Clock::time_point& next)
{
    const auto flying = [this](std::uint64_t id) {
        return std::find_if(inFlight_.begin(), inFlight_.end(), [id](libusb_transfer* t) { return Id(t) == id; });
    };
    const auto into = [&](const ReplyHead& head, std::size_t bytes) -> void* {
        const auto it = flying(head.Handle);
        return it != inFlight_.end() && bytes <= static_cast<std::size_t>(std::max((*it)->length, 0)) ? (*it)->buffer
                                                                                                     : nullptr;
    };
    const std::optional<ReplyHead> reply = Ask(MakeRequest(UsbCall::Poll), into);
    if (!reply) {
        if (inFlight_.empty())
            return nullptr;
        libusb_transfer* gone = inFlight_.front();
        inFlight_.pop_front();
        gone->status = LIBUSB_TRANSFER_NO_DEVICE;
        gone->actual_length = 0;
        return gone;
    }
    if (reply->Values[0] == 0) {
        if (reply->Handle != 0)
            next = Clock::time_point(std::chrono::nanoseconds(reply->Handle));
        return nullptr;
    }
    const auto it = flying(reply->Handle);
    if (it == inFlight_.end())
        return nullptr;
    libusb_transfer* transfer = *it;
    inFlight_.erase(it);
    transfer->status = static_cast<libusb_transfer_status>(reply->Values[1]);
    transfer->actual_length = static_cast<int>(reply->Values[2]);
    return transfer;
}
