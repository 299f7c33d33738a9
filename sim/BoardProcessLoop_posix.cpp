#include "BoardProcessLoop.h"

#include "BoardProcessProtocol.h"
#include "BoardSocket.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>

#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#if defined(__linux__)
#include <sys/prctl.h>
#endif

namespace BoardProcessLoop {

namespace {

using namespace BoardProcessProtocol;

bool StayWithHost(pid_t host)
{
#if defined(__linux__)
    prctl(PR_SET_PDEATHSIG, SIGKILL);
#endif
    return getppid() == host;
}

int Serve(int socket, const Answer& answer, const char* program)
{
    std::vector<std::uint8_t> body;
    for (;;) {
        std::uint8_t length[LengthSize];
        if (!BoardSocket::ReadFully(socket, length, sizeof length))
            return 0;
        const std::uint32_t size = ReadLength(length);
        if (size > LargestBody) {
            std::fprintf(stderr, "%s: a request of %u bytes\n", program, static_cast<unsigned>(size));
            return 1;
        }
        body.resize(size);
        if (!BoardSocket::ReadFully(socket, body.data(), body.size()))
            return 0;
        const std::optional<std::vector<std::uint8_t>> reply = answer(body.data(), body.size());
        if (!reply) {
            std::fprintf(stderr, "%s: a request out of form\n", program);
            return 1;
        }
        if (!BoardSocket::WriteFully(socket, reply->data(), reply->size()))
            return 0;
    }
}

// The whole of the file at `descriptor`, shared with the library; empty
// (the library's calls then all come over the socket) when it cannot be
// mapped.
Shared MapShared(int descriptor, const char* program)
{
    struct stat file {};
    if (fstat(descriptor, &file) != 0 || file.st_size <= 0) {
        std::fprintf(stderr, "%s: no shared memory at descriptor %d\n", program, descriptor);
        return {};
    }
    const auto bytes = static_cast<std::size_t>(file.st_size);
    void* memory = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_SHARED, descriptor, 0);
    close(descriptor);
    if (memory == MAP_FAILED)
        return {};
    return {memory, bytes};
}

}  // namespace

int Run(int argc, char** argv, const char* program, const std::function<Answer(Shared shared)>& start)
{
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: %s SOCKET-DESCRIPTOR HOST-PID [SHARED-DESCRIPTOR] (started by the drop-in library)\n",
                     program);
        return 2;
    }
    if (!StayWithHost(static_cast<pid_t>(std::atol(argv[2]))))
        return 0;
    const Shared shared = argc == 4 ? MapShared(std::atoi(argv[3]), program) : Shared();
    return Serve(std::atoi(argv[1]), start(shared), program);
}

}  // namespace BoardProcessLoop
