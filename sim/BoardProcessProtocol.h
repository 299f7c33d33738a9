#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

// The messages between a drop-in library (the D2XX one, or the libusb
// stand-in) and its board process: one request per call, one reply to each,
// in order. A message is its body's length (4 bytes, little-endian) and the
// body. A request body is the call, the pointer arguments the caller gave
// (bit i set: the i-th pointer argument was not null), two 64-bit and three
// 32-bit numbers (handles, counts, flags, as the call has them) and the
// bytes that go out with it; a reply body is the status, a 64-bit number
// (a handle), four 32-bit numbers and the bytes that come back. Fixed fields
// first, so a reader takes the head of a reply and then its bytes straight
// into the caller's buffer. Which calls there are is the two servers' own.
namespace BoardProcessProtocol {

constexpr std::size_t LengthSize = 4;
constexpr std::size_t RequestHeadSize = 1 + 1 + 8 + 8 + 4 * 3;
constexpr std::size_t ReplyHeadSize = 4 + 8 + 4 * 4;
// No read asks the board for more than its queue or a transfer holds, so a
// larger request is cut to this (D2XX) or refused (USB).
constexpr std::uint32_t LargestRead = 1u << 20;
// A write or a read of more is refused rather than framed.
constexpr std::uint32_t LargestBody = (16u << 20) + RequestHeadSize;

struct Request {
    std::uint8_t What = 0;  // the call
    std::uint8_t Given = 0;  // bit i: pointer argument i was not null
    std::uint64_t Handle = 0;
    std::uint64_t Other = 0;  // a second handle or a transfer
    std::uint32_t A = 0;  // counts, indexes, masks, sizes, flags
    std::uint32_t B = 0;
    std::uint32_t C = 0;
    std::vector<std::uint8_t> Bytes;  // what goes out: written bytes, a serial number

    bool IsGiven(int argument) const { return (Given >> argument & 1) != 0; }
};

struct ReplyHead {
    std::uint32_t Status = 0;  // FT_STATUS, or libusb's result as two's complement
    std::uint64_t Handle = 0;
    std::uint32_t Values[4] = {0, 0, 0, 0};  // counts, or the flags, type, id and location of a listed device
};

// A reply message made in place: the bytes written where Bytes() points,
// then the head filled in and the message finished with the count of bytes.
struct ReplyMessage {
    explicit ReplyMessage(std::size_t room);

    std::uint8_t* Bytes();
    std::vector<std::uint8_t> Finish(std::size_t bytes);

    ReplyHead Head;
    std::vector<std::uint8_t> Message;
};

// A whole message (length and body).
std::vector<std::uint8_t> EncodeRequest(const Request& request);
// A request body; nothing when it is too short or too long.
std::optional<Request> ParseRequest(const std::uint8_t* body, std::size_t size);

// A reply body's fixed part.
ReplyHead ParseReplyHead(const std::uint8_t* head);

std::uint32_t ReadLength(const std::uint8_t* at);
// A list of handles in a message's bytes, eight bytes each.
void PutHandle(std::uint64_t handle, std::uint8_t* at);
std::uint64_t ReadHandle(const std::uint8_t* at);

}  // namespace BoardProcessProtocol
