// Feeds arbitrary bytes to the board process as its socket would: a run of
// messages (length, body), each answered by the server over a fresh set of
// virtual devices on a clock that moves at every reading. Whatever the
// bytes, a request is either refused or answered with a well-formed reply,
// and a request that parses encodes back to the very bytes it came from.
// Handles are the board process's pointers, which no input can know: a
// request's handle 1 stands for the one the latest open returned, so that
// the corpus reaches reads and writes.
#include "BoardConfig.h"
#include "BoardProcessProtocol.h"
#include "BoardProcessServer.h"
#include "ManualClock.h"
#include "VirtualDevices.h"

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace BoardProcessProtocol;

namespace {

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

constexpr std::size_t HandleOffset = 2;  // after the call and the given arguments

// The body with handle 1 swapped for the latest open's.
std::vector<std::uint8_t> WithHandle(const std::uint8_t* body, std::size_t size, std::uint64_t latest)
{
    std::vector<std::uint8_t> request(body, body + size);
    if (size < RequestHeadSize || request[HandleOffset] != 1 ||
        !std::all_of(request.begin() + HandleOffset + 1, request.begin() + HandleOffset + 8,
                     [](std::uint8_t byte) { return byte == 0; }))
        return request;
    for (std::size_t i = 0; i < 8; ++i)
        request[HandleOffset + i] = static_cast<std::uint8_t>(latest >> (8 * i));
    return request;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    ManualClock clock(std::chrono::milliseconds(1));
    BoardConfig board;
    board.Signals.CounterPattern = true;
    VirtualDevices devices(clock, {{"KVX0001", SimDevice::Kind::Board}, {"echo", SimDevice::Kind::EchoAdapter}},
                           board);
    BoardProcessServer server(devices);
    std::uint64_t latest = 0;
    while (size >= LengthSize) {
        const std::uint32_t length = ReadLength(data);
        data += LengthSize;
        size -= LengthSize;
        if (length > size)
            break;
        CheckRoundTrip(data, length);
        const std::vector<std::uint8_t> body = WithHandle(data, length, latest);
        const std::optional<std::vector<std::uint8_t>> reply = server.Answer(body.data(), body.size());
        if (reply) {
            CheckReply(*reply);
            const ReplyHead head = ParseReplyHead(reply->data() + LengthSize);
            if (head.Handle != 0)
                latest = head.Handle;
        }
        data += length;
        size -= length;
    }
    return 0;
}
