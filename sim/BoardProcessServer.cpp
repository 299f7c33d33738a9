#include "BoardProcessServer.h"

#include "BoardProcessProtocol.h"
#include "D2xxCall.h"

#include <algorithm>
#include <cstdint>
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

std::vector<std::uint8_t> Open(D2xx& devices, const Request& request)
{
    Reply reply(0);
    FT_HANDLE handle = nullptr;
    reply.Head.Status = devices.FT_Open(static_cast<int>(request.A), IfGiven(request, 0, handle));
    reply.Head.Handle = FromHandle(handle);
    return reply.Finish(0);
}

std::vector<std::uint8_t> OpenEx(D2xxDiscovery& discovery, const Request& request)
{
    Reply reply(0);
    std::string serial(request.Bytes.begin(), request.Bytes.end());
    FT_HANDLE handle = nullptr;
    reply.Head.Status =
        discovery.FT_OpenEx(request.IsGiven(0) ? serial.data() : nullptr, request.A, IfGiven(request, 1, handle));
    reply.Head.Handle = FromHandle(handle);
    return reply.Finish(0);
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

std::optional<std::vector<std::uint8_t>> BoardProcessServer::Answer(const std::uint8_t* body, std::size_t size)
{
    std::optional<Request> request = ParseRequest(body, size);
    if (!request || !Known(request->What) || !BytesFit(*request))
        return std::nullopt;
    const FT_HANDLE handle = ToHandle(request->Handle);
    D2xxDiscovery* discovery = devices_.Discovery();
    switch (static_cast<D2xxCall>(request->What)) {
    case D2xxCall::Open:
        return Open(devices_, *request);
    case D2xxCall::Close:
        return StatusOnly(devices_.FT_Close(handle));
    case D2xxCall::Read:
        return Read(devices_, *request);
    case D2xxCall::Write:
        return Write(devices_, *request);
    case D2xxCall::Purge:
        return StatusOnly(devices_.FT_Purge(handle, request->A));
    case D2xxCall::GetQueueStatus:
        return GetQueueStatus(devices_, *request);
    case D2xxCall::SetUSBParameters:
        return StatusOnly(devices_.FT_SetUSBParameters(handle, request->A, request->B));
    case D2xxCall::CreateDeviceInfoList:
        return discovery ? CreateDeviceInfoList(*discovery, *request) : StatusOnly(FT_NOT_SUPPORTED);
    case D2xxCall::GetDeviceInfoDetail:
        return discovery ? GetDeviceInfoDetail(*discovery, *request) : StatusOnly(FT_NOT_SUPPORTED);
    case D2xxCall::OpenEx:
        return discovery ? OpenEx(*discovery, *request) : StatusOnly(FT_NOT_SUPPORTED);
    }
    return std::nullopt;
}
