#include "BoardProcessClient.h"

#include "D2xxCall.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <initializer_list>

using namespace BoardProcessProtocol;

namespace {

std::uint64_t FromHandle(FT_HANDLE handle)
{
    return static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(handle));
}

FT_HANDLE ToHandle(std::uint64_t value)
{
    return reinterpret_cast<FT_HANDLE>(static_cast<std::uintptr_t>(value));
}

// Bit i for each pointer argument, in the prototype's order, that is not null.
std::uint8_t Given(std::initializer_list<const void*> arguments)
{
    std::uint8_t mask = 0;
    int bit = 0;
    for (const void* argument : arguments)
        mask = static_cast<std::uint8_t>(mask | (argument != nullptr ? 1 << bit : 0)), ++bit;
    return mask;
}

Request MakeRequest(D2xxCall what, std::uint8_t given, FT_HANDLE handle = nullptr, std::uint32_t a = 0,
                    std::uint32_t b = 0)
{
    Request request;
    request.What = static_cast<std::uint8_t>(what);
    request.Given = given;
    request.Handle = FromHandle(handle);
    request.A = a;
    request.B = b;
    return request;
}

template <typename Value>
void SetIfGiven(Value* destination, Value value)
{
    if (destination != nullptr)
        *destination = value;
}

}  // namespace

BoardProcessClient::BoardProcessClient(std::unique_ptr<BoardProcessLink> link)
    : link_(std::move(link))
    , stream_(static_cast<BoardStream::Region*>(link_->Shared()))
{
}

// Only while the board process lives: after that every call goes to the
// link, which fails it as a pulled cable.
BoardStream::Slot* BoardProcessClient::SlotOf(FT_HANDLE handle) const
{
    if (handle == nullptr || !link_->Alive())
        return nullptr;
    for (const Streamed& streamed : streamed_) {
        if (streamed.Handle == handle)
            return streamed.Slot;
    }
    return nullptr;
}

void BoardProcessClient::Remember(FT_HANDLE handle, std::uint32_t slotNumber)
{
    if (stream_ == nullptr || slotNumber == 0 || slotNumber > BoardStream::SlotCount)
        return;
    Forget(handle);
    for (Streamed& streamed : streamed_) {
        if (streamed.Handle == nullptr) {
            streamed = {handle, &stream_->Slots[slotNumber - 1]};
            return;
        }
    }
}

void BoardProcessClient::Forget(FT_HANDLE handle)
{
    for (Streamed& streamed : streamed_) {
        if (streamed.Handle == handle)
            streamed = Streamed();
    }
}

ReplyHead BoardProcessClient::Ask(const Request& request, FT_STATUS gone, void* bytes, std::size_t room,
                                  std::size_t* got)
{
    ReplyHead head;
    std::size_t received = 0;
    const auto into = [&](const ReplyHead&, std::size_t count) { return count <= room ? bytes : nullptr; };
    if (!link_->Exchange(EncodeRequest(request), head, into, received)) {
        head = ReplyHead();
        head.Status = gone;
    }
    if (got != nullptr)
        *got = received;
    return head;
}

FT_STATUS BoardProcessClient::FT_Open(int deviceNumber, FT_HANDLE* handle)
{
    const ReplyHead reply = Ask(MakeRequest(D2xxCall::Open, Given({handle}), nullptr, static_cast<std::uint32_t>(deviceNumber)),
                                FT_DEVICE_NOT_FOUND);
    if (reply.Status == FT_OK) {
        SetIfGiven(handle, ToHandle(reply.Handle));
        Remember(ToHandle(reply.Handle), reply.Values[1]);
    }
    return reply.Status;
}

FT_STATUS BoardProcessClient::FT_Close(FT_HANDLE handle)
{
    Forget(handle);
    return Ask(MakeRequest(D2xxCall::Close, 0, handle), FT_IO_ERROR).Status;
}

// The bytes come straight into the caller's buffer; the count is set on
// failure too, as the board sets it to 0.
FT_STATUS BoardProcessClient::FT_Read(FT_HANDLE handle, LPVOID buffer, DWORD bytesToRead, LPDWORD bytesReturned)
{
    if (BoardStream::Slot* slot = SlotOf(handle)) {
        SetIfGiven<DWORD>(bytesReturned, 0);
        const auto status = static_cast<FT_STATUS>(slot->Status.load(std::memory_order_acquire));
        if (status != FT_OK)
            return status;
        if (bytesReturned == nullptr || (buffer == nullptr && bytesToRead > 0))
            return FT_INVALID_PARAMETER;
        *bytesReturned = static_cast<DWORD>(slot->Take(static_cast<std::uint8_t*>(buffer), bytesToRead));
        return FT_OK;
    }
    const Request request = MakeRequest(D2xxCall::Read, Given({buffer, bytesReturned}), handle, bytesToRead);
    const std::size_t room = buffer != nullptr ? std::min(bytesToRead, LargestRead) : 0;
    std::size_t got = 0;
    const ReplyHead reply = Ask(request, FT_IO_ERROR, buffer, room, &got);
    SetIfGiven(bytesReturned, reply.Status == FT_OK ? static_cast<DWORD>(got) : reply.Values[0]);
    return reply.Status;
}

FT_STATUS BoardProcessClient::FT_Write(FT_HANDLE handle, LPVOID buffer, DWORD bytesToWrite, LPDWORD bytesWritten)
{
    if (bytesToWrite > LargestBody - RequestHeadSize)
        return FT_INSUFFICIENT_RESOURCES;
    Request request = MakeRequest(D2xxCall::Write, Given({buffer, bytesWritten}), handle, bytesToWrite);
    if (buffer != nullptr) {
        const auto* bytes = static_cast<const std::uint8_t*>(buffer);
        request.Bytes.assign(bytes, bytes + bytesToWrite);
    }
    const ReplyHead reply = Ask(request, FT_IO_ERROR);
    SetIfGiven(bytesWritten, reply.Values[0]);
    return reply.Status;
}

FT_STATUS BoardProcessClient::FT_Purge(FT_HANDLE handle, ULONG mask)
{
    return Ask(MakeRequest(D2xxCall::Purge, 0, handle, mask), FT_IO_ERROR).Status;
}

FT_STATUS BoardProcessClient::FT_GetQueueStatus(FT_HANDLE handle, DWORD* rxBytes)
{
    if (const BoardStream::Slot* slot = SlotOf(handle)) {
        const auto status = static_cast<FT_STATUS>(slot->Status.load(std::memory_order_acquire));
        if (status != FT_OK)
            return status;
        if (rxBytes == nullptr)
            return FT_INVALID_PARAMETER;
        *rxBytes = static_cast<DWORD>(slot->Held());
        return FT_OK;
    }
    const ReplyHead reply = Ask(MakeRequest(D2xxCall::GetQueueStatus, Given({rxBytes}), handle), FT_IO_ERROR);
    if (reply.Status == FT_OK)
        SetIfGiven(rxBytes, reply.Values[0]);
    return reply.Status;
}

FT_STATUS BoardProcessClient::FT_SetUSBParameters(FT_HANDLE handle, ULONG inTransferSize, ULONG outTransferSize)
{
    return Ask(MakeRequest(D2xxCall::SetUSBParameters, 0, handle, inTransferSize, outTransferSize), FT_IO_ERROR).Status;
}

// Without a board process the list is empty.
FT_STATUS BoardProcessClient::FT_CreateDeviceInfoList(LPDWORD numDevs)
{
    const ReplyHead reply = Ask(MakeRequest(D2xxCall::CreateDeviceInfoList, Given({numDevs})), FT_OK);
    if (reply.Status == FT_OK)
        SetIfGiven(numDevs, reply.Values[0]);
    return reply.Status;
}

FT_STATUS BoardProcessClient::FT_GetDeviceInfoDetail(DWORD index, LPDWORD flags, LPDWORD type, LPDWORD id,
                                                     LPDWORD locId, LPVOID serialNumber, LPVOID description,
                                                     FT_HANDLE* handle)
{
    const Request request = MakeRequest(D2xxCall::GetDeviceInfoDetail,
                                        Given({flags, type, id, locId, serialNumber, description, handle}), nullptr,
                                        index);
    std::uint8_t texts[FT_SerialNumberSize + FT_DescriptionSize] = {};
    std::size_t got = 0;
    const ReplyHead reply = Ask(request, FT_DEVICE_NOT_FOUND, texts, sizeof texts, &got);
    if (reply.Status != FT_OK)
        return reply.Status;
    LPDWORD values[4] = {flags, type, id, locId};
    for (int i = 0; i < 4; ++i)
        SetIfGiven(values[i], reply.Values[i]);
    SetIfGiven(handle, ToHandle(reply.Handle));
    if (serialNumber != nullptr && got == sizeof texts)
        std::memcpy(serialNumber, texts, FT_SerialNumberSize);
    if (description != nullptr && got == sizeof texts)
        std::memcpy(description, texts + FT_SerialNumberSize, FT_DescriptionSize);
    return reply.Status;
}

FT_STATUS BoardProcessClient::FT_OpenEx(LPVOID arg1, DWORD flags, FT_HANDLE* handle)
{
    Request request = MakeRequest(D2xxCall::OpenEx, Given({arg1, handle}), nullptr, flags);
    // Only a serial number is understood: anything else is refused there
    // without being read.
    if (arg1 != nullptr && flags == FT_OPEN_BY_SERIAL_NUMBER) {
        const char* serial = static_cast<const char*>(arg1);
        request.Bytes.assign(serial, serial + std::strlen(serial));
    }
    const ReplyHead reply = Ask(request, FT_DEVICE_NOT_FOUND);
    if (reply.Status == FT_OK) {
        SetIfGiven(handle, ToHandle(reply.Handle));
        Remember(ToHandle(reply.Handle), reply.Values[1]);
    }
    return reply.Status;
}
