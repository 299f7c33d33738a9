#include "BoardSocket.h"

#include <cerrno>
#include <cstdint>

#include <sys/socket.h>
#include <sys/types.h>

namespace BoardSocket {

bool ReadFully(int socket, void* block, std::size_t size)
{
    auto* at = static_cast<std::uint8_t*>(block);
    while (size > 0) {
        const ssize_t got = recv(socket, at, size, 0);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        at += got;
        size -= static_cast<std::size_t>(got);
    }
    return true;
}

bool WriteFully(int socket, const void* block, std::size_t size)
{
    const auto* at = static_cast<const std::uint8_t*>(block);
    while (size > 0) {
        const ssize_t sent = send(socket, at, size, MSG_NOSIGNAL);
        if (sent < 0 && errno == EINTR)
            continue;
        if (sent <= 0)
            return false;
        at += sent;
        size -= static_cast<std::size_t>(sent);
    }
    return true;
}

}  // namespace BoardSocket
