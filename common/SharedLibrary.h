#pragma once

#include <memory>
#include <string>

// A shared library opened at run time and closed again when destroyed. The
// operating system's part lives in SharedLibrary_posix.cpp and
// SharedLibrary_win.cpp; CMake builds the one that fits.
class SharedLibrary {
public:
    using Function = void (*)();

    // Null when the library cannot be loaded, with the system's reason in
    // `reason` when one is given.
    static std::unique_ptr<SharedLibrary> Open(const char* path, std::string* reason = nullptr);
    // The file-name ending of a shared library: ".so" or ".dll".
    static const char* Suffix();
    // The folder of the program or library that holds `address`; empty
    // when the system cannot tell.
    static std::string FolderOf(const void* address);
    ~SharedLibrary();
    SharedLibrary(const SharedLibrary&) = delete;
    SharedLibrary& operator=(const SharedLibrary&) = delete;

    // The export called `name` (POSIX) or numbered `ordinal` (Windows, whose
    // D2XX library is imported by number); null when it is missing.
    Function Find(const char* name, int ordinal) const;
    // The export called `name` on every platform; null when it is missing.
    Function FindByName(const char* name) const;

private:
    explicit SharedLibrary(void* handle);

    void* handle;
};
