#include "ForkedProbe.h"

#include <cerrno>
#include <csignal>
#include <chrono>
#include <thread>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// A head's few texts take milliseconds, even on a loaded machine.
constexpr auto TimeLimit = std::chrono::seconds(3);
constexpr auto Look = std::chrono::milliseconds(2);

} // namespace

bool ForkedProbe::Survives(const std::function<void()>& read)
{
    const pid_t child = fork();
    if (child < 0)
        return true;  // no copy to be had: the caller reads as it would have
    if (child == 0) {
        // The copy dies by the signal itself, not through the handlers a
        // sanitizer or a fuzzer set in this process, which would report a
        // crash of the program.
        for (const int signal : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT})
            std::signal(signal, SIG_DFL);
        read();
        _exit(0);  // nothing of the parent's (buffers, exit handlers) is run twice
    }
    const auto end = std::chrono::steady_clock::now() + TimeLimit;
    int status = 0;
    for (;;) {
        const pid_t done = waitpid(child, &status, WNOHANG);
        if (done == child)
            return WIFEXITED(status) && WEXITSTATUS(status) == 0;
        if (done < 0 && errno != EINTR)
            return false;
        if (std::chrono::steady_clock::now() >= end)
            break;
        std::this_thread::sleep_for(Look);
    }
    kill(child, SIGKILL);
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return false;
}
