#include "RunData.h"

#include <cstdlib>
#include <new>

void* RunData::operator new(std::size_t size)
{
    void* data = std::calloc(1, size);
    if (data == nullptr)
        throw std::bad_alloc();
    return data;
}

void RunData::operator delete(void* data, std::size_t) noexcept
{
    std::free(data);
}
