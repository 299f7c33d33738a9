#pragma once

#include "BoardProcessProtocol.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

// The drop-in library's connection to its board process: a request goes
// out, its reply comes back. Once the board process is gone (it died, or
// answered out of form) every exchange fails at once, as calls to a board
// whose cable is out do.
class BoardProcessLink {
public:
    virtual ~BoardProcessLink() = default;

    // Where the bytes after a reply's head go, once the head is known; null
    // when that many bytes cannot be taken (the reply is then out of form).
    using Destination = std::function<void*(const BoardProcessProtocol::ReplyHead& head, std::size_t bytes)>;

    // Sends one request message and takes its reply: the head, and the bytes
    // after it straight where `destination` says (`got` says how many).
    // False when there is no board process to answer.
    virtual bool Exchange(const std::vector<std::uint8_t>& request, BoardProcessProtocol::ReplyHead& head,
                          const Destination& destination, std::size_t& got) = 0;

    // The memory shared with the board process (null when none was asked
    // for), and whether the board process is still there: once it is gone,
    // what it left in that memory is no longer its answer.
    virtual void* Shared() = 0;
    virtual bool Alive() const = 0;
};

// Starts the board process, the program named `program` beside this
// library (or at `builtAt`, where the build put it), with this process's
// environment, and ends it when the link is destroyed. With `sharedBytes`,
// memory of that size, zeroed, is shared with it (its descriptor the third
// argument). Null where the platform has no board process: the caller keeps
// the board in-process.
std::unique_ptr<BoardProcessLink> StartBoardProcess(const char* program, const char* builtAt,
                                                    std::size_t sharedBytes = 0);
