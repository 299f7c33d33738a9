// korvadex-sim-board: the virtual devices in a process of their own, for
// the drop-in library with KORVADEX_SIM_PROCESS=1. The library starts it
// with its end of a socket pair as a descriptor and its own pid, and it
// answers one request after another until that socket reads end-of-file
// (the library let go, or its process died) or the host is gone.

#include "BoardProcessProtocol.h"
#include "BoardProcessServer.h"
#include "BoardSocket.h"
#include "DevicesOnRealClock.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

#include <csignal>
#include <unistd.h>
#if defined(__linux__)
#include <sys/prctl.h>
#endif

namespace {

using namespace BoardProcessProtocol;

// Ends with the host: on Linux the kernel sends a signal when the host goes;
// a host already gone before that was asked for leaves this process
// adopted by another.
bool HostStillThere(pid_t host)
{
#if defined(__linux__)
    prctl(PR_SET_PDEATHSIG, SIGKILL);
#endif
    return getppid() == host;
}

// 0 once the host let go, 1 on a request out of form.
int Serve(int socket, BoardProcessServer& server)
{
    std::vector<std::uint8_t> body;
    for (;;) {
        std::uint8_t length[LengthSize];
        if (!BoardSocket::ReadFully(socket, length, sizeof length))
            return 0;
        const std::uint32_t size = ReadLength(length);
        if (size > LargestBody) {
            std::fprintf(stderr, "korvadex-sim-board: a request of %u bytes\n", static_cast<unsigned>(size));
            return 1;
        }
        body.resize(size);
        if (!BoardSocket::ReadFully(socket, body.data(), body.size()))
            return 0;
        const std::optional<std::vector<std::uint8_t>> reply = server.Answer(body.data(), body.size());
        if (!reply) {
            std::fprintf(stderr, "korvadex-sim-board: a request out of form\n");
            return 1;
        }
        if (!BoardSocket::WriteFully(socket, reply->data(), reply->size()))
            return 0;
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: korvadex-sim-board SOCKET-DESCRIPTOR HOST-PID (started by the drop-in library)\n");
        return 2;
    }
    if (!HostStillThere(static_cast<pid_t>(std::atol(argv[2]))))
        return 0;
    DevicesOnRealClock board;
    BoardProcessServer server(board.Devices());
    return Serve(std::atoi(argv[1]), server);
}
