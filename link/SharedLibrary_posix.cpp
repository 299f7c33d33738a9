#include "SharedLibrary.h"

#include <dlfcn.h>

std::unique_ptr<SharedLibrary> SharedLibrary::Open(const char* path)
{
    void* handle = dlopen(path, RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        return nullptr;
    }
    return std::unique_ptr<SharedLibrary>(new SharedLibrary(handle));
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

std::vector<const char*> D2xxLibraryNames()
{
    return {"libftd2xx.so", "libftd2xx.so.1"};
}
