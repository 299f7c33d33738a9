// A host for the board process tests: loads the drop-in library named on
// the command line, lists its devices (with KORVADEX_SIM_PROCESS=1 this
// starts the board process), writes how many on standard output and waits
// to be killed.

#include "D2xx.h"

#include <cstdio>

#include <dlfcn.h>
#include <unistd.h>

int main(int argc, char** argv)
{
    void* library = argc == 2 ? dlopen(argv[1], RTLD_NOW) : nullptr;
    const auto list =
        library ? reinterpret_cast<FT_CreateDeviceInfoListFn>(dlsym(library, "FT_CreateDeviceInfoList")) : nullptr;
    DWORD count = 0;
    if (list == nullptr || list(&count) != FT_OK)
        return 1;
    std::printf("%u\n", static_cast<unsigned>(count));
    std::fflush(stdout);
    for (;;)
        pause();
}
