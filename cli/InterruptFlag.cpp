#include "InterruptFlag.h"

#include "Terminal.h"

#include <csignal>
#include <thread>

namespace {

volatile std::sig_atomic_t raised = 0;

extern "C" void OnInterrupt(int)
{
    raised = 1;
    std::signal(SIGINT, SIG_DFL);
}

} // namespace

void InterruptFlag::Install()
{
    std::signal(SIGINT, OnInterrupt);
}

void InterruptFlag::RaiseAtInputEnd()
{
    // Left waiting when the program ends first; the system reaps it.
    std::thread([] {
        Terminal::WaitForInputEnd();
        raised = 1;
    }).detach();
}

bool InterruptFlag::Raised()
{
    return raised != 0;
}
