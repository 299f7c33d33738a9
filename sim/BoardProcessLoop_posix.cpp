#include "BoardProcessLoop.h"

#include "BoardProcessProtocol.h"
#include "BoardSocket.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>

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

}  // namespace

int Run(int argc, char** argv, const char* program, const std::function<Answer()>& start)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s SOCKET-DESCRIPTOR HOST-PID (started by the drop-in library)\n", program);
        return 2;
    }
    if (!StayWithHost(static_cast<pid_t>(std::atol(argv[2]))))
        return 0;
    return Serve(std::atoi(argv[1]), start(), program);
}

}  // namespace BoardProcessLoop
