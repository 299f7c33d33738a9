#pragma once

#include <cstddef>

// Whole blocks over a stream socket between the drop-in library and its
// board process: a read or write that the system cuts short, or that a
// signal interrupts, is carried on until the block is through. Writing to a
// socket whose other end is gone fails rather than raising SIGPIPE.
namespace BoardSocket {

// False at the end of the stream or on an error, with part of the block
// possibly read.
bool ReadFully(int socket, void* block, std::size_t size);
bool WriteFully(int socket, const void* block, std::size_t size);

}  // namespace BoardSocket
