#include "RunData.h"

#include <new>

#include <sys/mman.h>

// Every page at once, zeroed by the kernel in one call, instead of a page
// fault for each 4 KiB a run's samples reach (400 of them for a run of
// 100000 pairs), which a virtual machine makes dear.
void* RunData::operator new(std::size_t size)
{
    void* data = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
    if (data == MAP_FAILED)
        throw std::bad_alloc();
    return data;
}

void RunData::operator delete(void* data, std::size_t size) noexcept
{
    munmap(data, size);
}
