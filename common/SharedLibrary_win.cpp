#include "SharedLibrary.h"

#include <algorithm>

#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

std::unique_ptr<SharedLibrary> SharedLibrary::Open(const char* path, std::string* reason)
{
    // LoadLibrary takes backslashes only.
    std::string windowsPath(path);
    std::replace(windowsPath.begin(), windowsPath.end(), '/', '\\');
    HMODULE module = LoadLibraryA(windowsPath.c_str());
    if (module == nullptr) {
        if (reason != nullptr)
            *reason = "Windows error " + std::to_string(GetLastError());
        return nullptr;
    }
    return std::unique_ptr<SharedLibrary>(new SharedLibrary(module));
}

const char* SharedLibrary::Suffix()
{
    return ".dll";
}

std::string SharedLibrary::FolderOf(const void* address)
{
    HMODULE module = nullptr;
    if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            static_cast<LPCSTR>(address), &module))
        return std::string();
    char file[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(module, file, MAX_PATH);
    if (length == 0 || length == MAX_PATH)
        return std::string();
    const std::string path(file, length);
    const std::size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
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
