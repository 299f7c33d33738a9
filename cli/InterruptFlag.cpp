#include "InterruptFlag.h"

#include <csignal>

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

bool InterruptFlag::Raised()
{
    return raised != 0;
}
