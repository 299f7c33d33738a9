#include "SharedLibrary.h"

#include <dlfcn.h>
#include <unistd.h>

std::unique_ptr<SharedLibrary> SharedLibrary::Open(const char* path, std::string* reason)
{
    void* handle = dlopen(path, RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        if (reason != nullptr)
            *reason = dlerror();
        return nullptr;
    }
    return std::unique_ptr<SharedLibrary>(new SharedLibrary(handle));
}

const char* SharedLibrary::Suffix()
{
    return ".so";
}

std::string SharedLibrary::FolderOf(const void* address)
{
    Dl_info info{};
    if (dladdr(address, &info) == 0 || info.dli_fname == nullptr)
        return std::string();
    std::string file = info.dli_fname;
    // The program itself is named as it was started, perhaps relative to
    // a folder since left; the kernel knows its whole path.
    if (file.empty() || file.front() != '/') {
        char whole[4096] = {};
        const ssize_t length = readlink("/proc/self/exe", whole, sizeof whole - 1);
        if (length <= 0)
            return std::string();
        file.assign(whole, static_cast<std::size_t>(length));
    }
    const std::size_t slash = file.rfind('/');
    return slash == std::string::npos ? std::string(".") : file.substr(0, slash);
}

SharedLibrary::SharedLibrary(void* handle)
    : handle(handle)
{
}

SharedLibrary::~SharedLibrary()
{
    dlclose(handle);
}

SharedLibrary::Function SharedLibrary::Find(const char* name, int /*ordinal*/) const
{
    return FindByName(name);
}

SharedLibrary::Function SharedLibrary::FindByName(const char* name) const
{
    return reinterpret_cast<Function>(dlsym(handle, name));
}
