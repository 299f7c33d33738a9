#include "BoardProcessProtocol.h"

#include <algorithm>

namespace BoardProcessProtocol {

namespace {

template <typename Number>
void Put(Number value, std::uint8_t* at)
{
    for (std::size_t i = 0; i < sizeof(Number); ++i)
        at[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

template <typename Number>
Number Take(const std::uint8_t* at)
{
    Number value = 0;
    for (std::size_t i = 0; i < sizeof(Number); ++i)
        value = static_cast<Number>(value | static_cast<Number>(at[i]) << (8 * i));
    return value;
}

// The reply's head written at the start of `message`, which holds the
// length, the head and room for `bytes` more after them.
void PutReplyHead(const ReplyHead& head, std::uint32_t bytes, std::uint8_t* message)
{
    Put(static_cast<std::uint32_t>(ReplyHeadSize + bytes), message);
    std::uint8_t* at = message + LengthSize;
    Put(head.Status, at);
    Put(head.Handle, at + 4);
    for (int i = 0; i < 4; ++i)
        Put(head.Values[i], at + 12 + 4 * i);
}

}  // namespace

std::uint32_t ReadLength(const std::uint8_t* at)
{
    return Take<std::uint32_t>(at);
}

void PutHandle(std::uint64_t handle, std::uint8_t* at)
{
    Put(handle, at);
}

std::uint64_t ReadHandle(const std::uint8_t* at)
{
    return Take<std::uint64_t>(at);
}

std::vector<std::uint8_t> EncodeRequest(const Request& request)
{
    std::vector<std::uint8_t> message(LengthSize + RequestHeadSize + request.Bytes.size());
    std::uint8_t* at = message.data();
    Put(static_cast<std::uint32_t>(message.size() - LengthSize), at);
    at += LengthSize;
    *at++ = request.What;
    *at++ = request.Given;
    Put(request.Handle, at);
    Put(request.Other, at + 8);
    Put(request.A, at + 16);
    Put(request.B, at + 20);
    Put(request.C, at + 24);
    std::copy(request.Bytes.begin(), request.Bytes.end(), at + 28);
    return message;
}

std::optional<Request> ParseRequest(const std::uint8_t* body, std::size_t size)
{
    if (size < RequestHeadSize || size > LargestBody)
        return std::nullopt;
    Request request;
    request.What = body[0];
    request.Given = body[1];
    request.Handle = Take<std::uint64_t>(body + 2);
    request.Other = Take<std::uint64_t>(body + 10);
    request.A = Take<std::uint32_t>(body + 18);
    request.B = Take<std::uint32_t>(body + 22);
    request.C = Take<std::uint32_t>(body + 26);
    request.Bytes.assign(body + RequestHeadSize, body + size);
    return request;
}

ReplyMessage::ReplyMessage(std::size_t room)
    : Message(LengthSize + ReplyHeadSize + room)
{
}

std::uint8_t* ReplyMessage::Bytes()
{
    return Message.data() + LengthSize + ReplyHeadSize;
}

std::vector<std::uint8_t> ReplyMessage::Finish(std::size_t bytes)
{
    Message.resize(LengthSize + ReplyHeadSize + bytes);
    PutReplyHead(Head, static_cast<std::uint32_t>(bytes), Message.data());
    return std::move(Message);
}

ReplyHead ParseReplyHead(const std::uint8_t* head)
{
    ReplyHead reply;
    reply.Status = Take<std::uint32_t>(head);
    reply.Handle = Take<std::uint64_t>(head + 4);
    for (int i = 0; i < 4; ++i)
        reply.Values[i] = Take<std::uint32_t>(head + 12 + 4 * i);
    return reply;
}

}  // namespace BoardProcessProtocol
