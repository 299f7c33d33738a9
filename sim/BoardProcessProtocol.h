#pragma once

#include "D2xx.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

// The messages between the drop-in library and the board process: one
// request per D2XX call, one reply to each, in order. A message is its
// body's length (4 bytes, little-endian) and the body. A request body is
// the call, the pointer arguments the caller gave (bit i set: the i-th
// pointer argument of the vendor's prototype was not null), the handle, two
// numbers and the bytes written or the serial number opened; a reply body
// is the status, a handle, four numbers and the bytes read or the device's
// serial number and description. Fixed fields first, so a reader takes the
// head of a reply and then its bytes straight into the caller's buffer.
namespace BoardProcessProtocol {

enum class Call : std::uint8_t {
    Open = 1,
    Close,
    Read,
    Write,
    Purge,
    GetQueueStatus,
    SetUSBParameters,
    CreateDeviceInfoList,
    GetDeviceInfoDetail,
    OpenEx,
};

constexpr std::size_t LengthSize = 4;
constexpr std::size_t RequestHeadSize = 1 + 1 + 8 + 4 + 4;
constexpr std::size_t ReplyHeadSize = 4 + 8 + 4 * 4;
// No read asks the board for more than its queue can hold (64 KiB), so a
// larger request is cut to this without changing the answer.
constexpr std::uint32_t LargestRead = 1u << 20;
// A write or a read of more is refused rather than framed.
constexpr std::uint32_t LargestBody = (16u << 20) + RequestHeadSize;

struct Request {
    Call What = Call::Open;
    std::uint8_t Given = 0;  // bit i: pointer argument i was not null
    std::uint64_t Handle = 0;
    std::uint32_t A = 0;  // the device number or index, bytes to read or write, mask, sizes, flags
    std::uint32_t B = 0;
    std::vector<std::uint8_t> Bytes;  // written bytes, or the serial number (no NUL)

    bool IsGiven(int argument) const { return (Given >> argument & 1) != 0; }
};

struct ReplyHead {
    FT_STATUS Status = FT_OK;
    std::uint64_t Handle = 0;
    std::uint32_t Values[4] = {0, 0, 0, 0};  // counts, or the flags, type, id and location of a listed device
};

// A whole message (length and body).
std::vector<std::uint8_t> EncodeRequest(const Request& request);
// A request body; nothing when it is not one this protocol makes.
std::optional<Request> ParseRequest(const std::uint8_t* body, std::size_t size);

// The reply's head written at the start of `message`, which holds the
// length, the head and room for `bytes` more after them.
void PutReplyHead(const ReplyHead& head, std::uint32_t bytes, std::uint8_t* message);
// A reply body's fixed part.
ReplyHead ParseReplyHead(const std::uint8_t* head);

void PutLength(std::uint32_t length, std::uint8_t* at);
std::uint32_t ReadLength(const std::uint8_t* at);

}  // namespace BoardProcessProtocol
