#include "BoardSocket.h"

#include <cerrno>
#include <cstdint>

#include <sys/socket.h>
#include <sys/types.h>

namespace BoardSocket {

namespace {

// Moves the block a piece at a time until it is through; false at the end
// of the stream or on an error.
template <typename Byte, typename Move>
bool Whole(Byte* at, std::size_t size, Move move)
{
    while (size > 0) {
        const ssize_t moved = move(at, size);
        if (moved < 0 && errno == EINTR)
            continue;
        if (moved <= 0)
            return false;
        at += moved;
        size -= static_cast<std::size_t>(moved);
    }
    return true;
}

}  // namespace

bool ReadFully(int socket, void* block, std::size_t size)
{
    return Whole(static_cast<std::uint8_t*>(block), size,
                 [socket](std::uint8_t* at, std::size_t count) { return recv(socket, at, count, 0); });
}

bool WriteFully(int socket, const void* block, std::size_t size)
{
    return Whole(static_cast<const std::uint8_t*>(block), size, [socket](const std::uint8_t* at, std::size_t count) {
        return send(socket, at, count, MSG_NOSIGNAL);
    });
}

}  // namespace BoardSocket
