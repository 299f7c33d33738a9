#include "BoardProcessServer.h"

#include "BoardProcessProtocol.h"
#include "D2xxCall.h"
#include "VirtualDevices.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>

using namespace BoardProcessProtocol;

namespace {

// A handle is the board process's own pointer; the library only carries it.
FT_HANDLE ToHandle(std::uint64_t value)
{
    return reinterpret_cast<FT_HANDLE>(static_cast<std::uintptr_t>(value));
}

std::uint64_t FromHandle(FT_HANDLE handle)
{
    return static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(handle));
}

bool Known(std::uint8_t call)
{
    return call >= static_cast<std::uint8_t>(D2xxCall::Open) && call <= static_cast<std::uint8_t>(D2xxCall::OpenEx);
}

// Bytes travel with a write whose buffer was given (exactly the count) and
// with an open by a given serial number; with nothing else.
bool BytesFit(const Request& request)
{
    switch (static_cast<D2xxCall>(request.What)) {
    case D2xxCall::Write:
        return request.Bytes.size() == (request.IsGiven(0) ? request.A : 0u);
    case D2xxCall::OpenEx:
        return request.IsGiven(0) || request.Bytes.empty();
    default:
        return request.Bytes.empty();
    }
}

template <typename Value>
Value* IfGiven(const Request& request, int argument, Value& value)
{
    return request.IsGiven(argument) ? &value : nullptr;
}

using Reply = ReplyMessage;

std::vector<std::uint8_t> Read(D2xx& devices, const Request& request)
{
    const DWORD room = std::min(request.A, LargestRead);
    Reply reply(room);
    DWORD count = 0;
    reply.Head.Status = devices.FT_Read(ToHandle(request.Handle), request.IsGiven(0) ? reply.Bytes() : nullptr, room,
                                        IfGiven(request, 1, count));
    reply.Head.Values[0] = count;
    return reply.Finish(reply.Head.Status == FT_OK ? std::min(count, room) : 0);
}

std::vector<std::uint8_t> Write(D2xx& devices, Request& request)
{
    Reply reply(0);
    DWORD count = 0;
    reply.Head.Status = devices.FT_Write(ToHandle(request.Handle), request.IsGiven(0) ? request.Bytes.data() : nullptr,
                                         request.A, IfGiven(request, 1, count));
    reply.Head.Values[0] = count;
    return reply.Finish(0);
}

std::vector<std::uint8_t> GetQueueStatus(D2xx& devices, const Request& request)
{
    Reply reply(0);
    DWORD queued = 0;
    reply.Head.Status = devices.FT_GetQueueStatus(ToHandle(request.Handle), IfGiven(request, 0, queued));
    reply.Head.Values[0] = queued;
    return reply.Finish(0);
}

// The stream's slot, if any, for a handle just opened.
using SlotGiver = std::function<std::uint32_t(FT_HANDLE)>;

std::vector<std::uint8_t> Opened(Reply& reply, FT_HANDLE handle, const SlotGiver& giveSlot)
{
    reply.Head.Handle = FromHandle(handle);
    if (reply.Head.Status == FT_OK && handle != nullptr)
        reply.Head.Values[1] = giveSlot(handle);
    return reply.Finish(0);
}

std::vector<std::uint8_t> Open(D2xx& devices, const Request& request, const SlotGiver& giveSlot)
{
    Reply reply(0);
    FT_HANDLE handle = nullptr;
    reply.Head.Status = devices.FT_Open(static_cast<int>(request.A), IfGiven(request, 0, handle));
    return Opened(reply, handle, giveSlot);
}

std::vector<std::uint8_t> OpenEx(D2xxDiscovery& discovery, const Request& request, const SlotGiver& giveSlot)
{
    Reply reply(0);
    std::string serial(request.Bytes.begin(), request.Bytes.end());
    FT_HANDLE handle = nullptr;
    reply.Head.Status =
        discovery.FT_OpenEx(request.IsGiven(0) ? serial.data() : nullptr, request.A, IfGiven(request, 1, handle));
    return Opened(reply, handle, giveSlot);
}

std::vector<std::uint8_t> CreateDeviceInfoList(D2xxDiscovery& discovery, const Request& request)
{
    Reply reply(0);
    DWORD count = 0;
    reply.Head.Status = discovery.FT_CreateDeviceInfoList(IfGiven(request, 0, count));
    reply.Head.Values[0] = count;
    return reply.Finish(0);
}

// The serial number's buffer, then the description's.
std::vector<std::uint8_t> GetDeviceInfoDetail(D2xxDiscovery& discovery, const Request& request)
{
    Reply reply(FT_SerialNumberSize + FT_DescriptionSize);
    DWORD* values = reply.Head.Values;
    FT_HANDLE handle = nullptr;
    reply.Head.Status = discovery.FT_GetDeviceInfoDetail(
        request.A, IfGiven(request, 0, values[0]), IfGiven(request, 1, values[1]), IfGiven(request, 2, values[2]),
        IfGiven(request, 3, values[3]), request.IsGiven(4) ? reply.Bytes() : nullptr,
        request.IsGiven(5) ? reply.Bytes() + FT_SerialNumberSize : nullptr, IfGiven(request, 6, handle));
    reply.Head.Handle = FromHandle(handle);
    return reply.Finish(FT_SerialNumberSize + FT_DescriptionSize);
}

std::vector<std::uint8_t> StatusOnly(FT_STATUS status)
{
    Reply reply(0);
    reply.Head.Status = status;
    return reply.Finish(0);
}

}  // namespace

BoardProcessServer::BoardProcessServer(D2xx& devices)
    : devices_(devices)
{
}

BoardProcessServer::BoardProcessServer(VirtualDevices& devices, BoardStream::Region& stream)
    : devices_(devices)
    , streamed_(&devices)
    , stream_(&stream)
    , pump_([this] { Pump(); })
{
}

BoardProcessServer::~BoardProcessServer()
{
    if (!pump_.joinable())
        return;
    {
        const std::lock_guard<std::mutex> hold(turn_);
        stop_ = true;
    }
    stopping_.notify_all();
    pump_.join();
}

std::optional<std::vector<std::uint8_t>> BoardProcessServer::Answer(const std::uint8_t* body, std::size_t size)
{
    const std::lock_guard<std::mutex> hold(turn_);
    return AnswerOnDevices(body, size);
}

std::optional<std::vector<std::uint8_t>> BoardProcessServer::AnswerOnDevices(const std::uint8_t* body,
                                                                             std::size_t size)
{
    std::optional<Request> request = ParseRequest(body, size);
    if (!request || !Known(request->What) || !BytesFit(*request))
        return std::nullopt;
    const FT_HANDLE handle = ToHandle(request->Handle);
    D2xxDiscovery* discovery = devices_.Discovery();
    const SlotGiver giveSlot = [this](FT_HANDLE opened) { return GiveSlot(opened); };
    BoardStream::Slot* slot = SlotOf(handle);
    switch (static_cast<D2xxCall>(request->What)) {
    case D2xxCall::Open:
        return Open(devices_, *request, giveSlot);
    case D2xxCall::Close: {
        // The handle is gone however the call ends.
        const FT_STATUS status = devices_.FT_Close(handle);
        if (slot != nullptr)
            slot->Handle.store(0, std::memory_order_release);
        return StatusOnly(status);
    }
    case D2xxCall::Read:
        return Read(devices_, *request);
    case D2xxCall::Write:
        return Write(devices_, *request);
    case D2xxCall::Purge: {
        const FT_STATUS status = devices_.FT_Purge(handle, request->A);
        // The library waits for this answer, so its count stands still.
        if (status == FT_OK && slot != nullptr && (request->A & FT_PURGE_RX) != 0)
            slot->Taken.store(slot->Put.load(std::memory_order_relaxed), std::memory_order_release);
        return StatusOnly(status);
    }
    case D2xxCall::GetQueueStatus:
        return GetQueueStatus(devices_, *request);
    case D2xxCall::SetUSBParameters:
        return StatusOnly(devices_.FT_SetUSBParameters(handle, request->A, request->B));
    case D2xxCall::CreateDeviceInfoList:
        return discovery ? CreateDeviceInfoList(*discovery, *request) : StatusOnly(FT_NOT_SUPPORTED);
    case D2xxCall::GetDeviceInfoDetail:
        return discovery ? GetDeviceInfoDetail(*discovery, *request) : StatusOnly(FT_NOT_SUPPORTED);
    case D2xxCall::OpenEx:
        return discovery ? OpenEx(*discovery, *request, giveSlot) : StatusOnly(FT_NOT_SUPPORTED);
    }
    return std::nullopt;
}

std::uint32_t BoardProcessServer::GiveSlot(FT_HANDLE handle)
{
    if (stream_ == nullptr)
        return 0;
    for (std::size_t i = 0; i < BoardStream::SlotCount; ++i) {
        BoardStream::Slot& slot = stream_->Slots[i];
        if (slot.Handle.load(std::memory_order_relaxed) != 0)
            continue;
        slot.Put.store(0, std::memory_order_relaxed);
        slot.Taken.store(0, std::memory_order_relaxed);
        slot.Status.store(FT_OK, std::memory_order_relaxed);
        slot.Handle.store(FromHandle(handle), std::memory_order_release);
        streamed_->HostBufferHolds(handle, 0);
        return static_cast<std::uint32_t>(i + 1);
    }
    return 0;
}

BoardStream::Slot* BoardProcessServer::SlotOf(FT_HANDLE handle)
{
    if (stream_ == nullptr || handle == nullptr)
        return nullptr;
    for (BoardStream::Slot& slot : stream_->Slots) {
        if (slot.Handle.load(std::memory_order_relaxed) == FromHandle(handle))
            return &slot;
    }
    return nullptr;
}

void BoardProcessServer::Pump()
{
    std::unique_lock<std::mutex> hold(turn_);
    while (!stopping_.wait_for(hold, PumpPeriod, [this] { return stop_; })) {
        for (BoardStream::Slot& slot : stream_->Slots) {
            if (slot.Handle.load(std::memory_order_relaxed) != 0)
                Fill(slot);
        }
    }
}

// What the board queued goes into the slot while there is room, each read
// straight into the ring; what the slot then holds is told to the board.
void BoardProcessServer::Fill(BoardStream::Slot& slot)
{
    const FT_HANDLE handle = ToHandle(slot.Handle.load(std::memory_order_relaxed));
    streamed_->HostBufferHolds(handle, slot.Held());
    DWORD queued = 0;
    FT_STATUS status = devices_.FT_GetQueueStatus(handle, &queued);
    while (status == FT_OK && queued > 0) {
        std::size_t room = 0;
        std::uint8_t* space = slot.Space(room);
        if (room == 0)
            break;
        DWORD got = 0;
        status = devices_.FT_Read(handle, space, static_cast<DWORD>(std::min<std::size_t>(queued, room)), &got);
        if (status != FT_OK || got == 0)
            break;
        slot.Put.fetch_add(got, std::memory_order_release);
        queued -= got;
    }
    slot.Status.store(status, std::memory_order_release);
}
