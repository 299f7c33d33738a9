#include "RunData.h"

#include <new>

#include <sys/mman.h>

// Every page at once, zeroed by the kernel in one call: a fault for each
// 4 KiB page a run's samples reach costs more than the samples themselves
// on a virtual machine (400 of them for a run of 100000 pairs).
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
