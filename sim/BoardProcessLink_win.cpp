// Windows has no board process: the board stays in the host's process.

#include "BoardProcessLink.h"

#include <cstdio>

std::unique_ptr<BoardProcessLink> StartBoardProcess(const char* program, const char*, std::size_t)
{
    std::fprintf(stderr, "%s: KORVADEX_SIM_PROCESS is not supported on Windows; the board runs in-process\n", program);
    return nullptr;
}
