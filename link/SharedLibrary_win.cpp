#include "SharedLibrary.h"

#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

std::unique_ptr<SharedLibrary> SharedLibrary::Open(const char* path)
{
    HMODULE module = LoadLibraryA(path);
    if (module == nullptr) {
        return nullptr;
    }
    return std::unique_ptr<SharedLibrary>(new SharedLibrary(module));
}

SharedLibrary::SharedLibrary(void* handle)
    : handle(handle)
{
}

SharedLibrary::~SharedLibrary()
{
    FreeLibrary(static_cast<HMODULE>(handle));
}

SharedLibrary::Function SharedLibrary::Find(const char* /*name*/, int ordinal) const
{
    FARPROC address = GetProcAddress(static_cast<HMODULE>(handle), MAKEINTRESOURCEA(ordinal));
    return reinterpret_cast<Function>(address);
}

SharedLibrary::Function SharedLibrary::FindByName(const char* name) const
{
    FARPROC address = GetProcAddress(static_cast<HMODULE>(handle), name);
    return reinterpret_cast<Function>(address);
}

std::vector<const char*> D2xxLibraryNames()
{
    return {"FTD2XX.DLL"};
}
