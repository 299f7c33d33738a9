// Feeds arbitrary bytes to a board process's server as its socket would: a
// run of messages (length, body), each answered by the server. Whatever the
// bytes, a request is either refused or answered with a well-formed reply,
// and a request that parses encodes back to the very bytes it came from.
// The same entry point serves the D2XX board and the libusb stand-in's bus,
// each with a board of its own (FuzzedBoard).
#include "BoardProcessProtocol.h"
#include "FuzzedBoard.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace BoardProcessProtocol;

namespace {

constexpr std::size_t HandleOffset = 2;  // after the call and the given arguments
constexpr std::uint64_t Placeholders = 2;

void Require(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "board request fuzz: %s\n", what);
        std::abort();
    }
}

void CheckReply(const std::vector<std::uint8_t>& reply)
{
    Require(reply.size() >= LengthSize + ReplyHeadSize, "a reply shorter than its head");
    Require(ReadLength(reply.data()) == reply.size() - LengthSize, "a reply's length is not its size");
}

void CheckRoundTrip(const std::uint8_t* body, std::size_t size)
{
    const std::optional<Request> request = ParseRequest(body, size);
    if (!request)
        return;
    const std::vector<std::uint8_t> again = EncodeRequest(*request);
    Require(again.size() == LengthSize + size && std::equal(body, body + size, again.begin() + LengthSize),
            "a parsed request encodes to other bytes");
}

// The body with a placeholder handle swapped for what it stands for.
std::vector<std::uint8_t> WithHandle(const std::uint8_t* body, std::size_t size, const FuzzedBoard& board)
{
    std::vector<std::uint8_t> request(body, body + size);
    if (size < RequestHeadSize)
        return request;
    const std::uint64_t placeholder = ReadHandle(request.data() + HandleOffset);
    const std::uint64_t handle = placeholder <= Placeholders ? board.HandleFor(placeholder) : 0;
    if (handle != 0)
        PutHandle(handle, request.data() + HandleOffset);
    return request;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::unique_ptr<FuzzedBoard> board = MakeFuzzedBoard();
    while (size >= LengthSize) {
        const std::uint32_t length = ReadLength(data);
        data += LengthSize;
        size -= LengthSize;
        if (length > size)
            break;
        CheckRoundTrip(data, length);
        const std::vector<std::uint8_t> body = WithHandle(data, length, *board);
        if (const std::optional<std::vector<std::uint8_t>> reply = board->Answer(body.data(), body.size()))
            CheckReply(*reply);
        data += length;
        size -= length;
    }
    return 0;
}
