#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

// The main loop of a board process: started by a drop-in library with its
// end of a socket pair as a descriptor and the library's pid as arguments
// (and, when the library shares memory with it, that memory's descriptor),
// it ends with the host (on Linux the parent-death signal; a host gone
// before that was armed leaves it adopted by another, and it ends at once)
// and answers one request after another until the socket reads end-of-file.
namespace BoardProcessLoop {

// The whole reply message to one request body; nothing when the body is not
// a request of this board's.
using Answer = std::function<std::optional<std::vector<std::uint8_t>>(const std::uint8_t* body, std::size_t size)>;

// The memory the library shares, mapped here; empty when there is none.
struct Shared {
    void* Memory = nullptr;
    std::size_t Bytes = 0;
};

// The program's exit status: 0 once the host let go, 1 on a request out of
// form, 2 on arguments not understood. `start` makes the devices and their
// server, after the host is known to be there.
int Run(int argc, char** argv, const char* program, const std::function<Answer(Shared shared)>& start);

}  // namespace BoardProcessLoop
